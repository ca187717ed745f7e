// A 64-bit key of a position for the helpmate memo: the men on the 64
// squares, which castlings the counters still allow, and the square of a
// pawn that has just made a double step (en passant).
#pragma once

#include <array>
#include <cstdint>

#include "core/position.h"

namespace kv {

namespace position_key_detail {

constexpr std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// One random number per (piece code, cell), per castling counter and per
// en-passant square; fixed at compile time so keys are reproducible.
struct KeyTables {
  std::array<std::array<std::uint64_t, BoardCells>, 16> men{};
  std::array<std::uint64_t, 6> castling{};
  std::array<std::uint64_t, BoardCells> enPassant{};
};

constexpr KeyTables MakeKeyTables() {
  KeyTables tables;
  std::uint64_t state = 0x4B6573747276616Cull;
  for (auto& row : tables.men)
    for (auto& value : row) value = SplitMix(state);
  for (auto& value : tables.castling) value = SplitMix(state);
  for (auto& value : tables.enPassant) value = SplitMix(state);
  return tables;
}

inline constexpr KeyTables kKeyTables = MakeKeyTables();

}  // namespace position_key_detail

// Told apart from the keys of positions with Black to move: the key of a
// position with White to move, for the helpmate memo of mate-in-two results.
inline constexpr std::uint64_t WhiteToMoveKey = 0xA5F1523C6D2B7E09ull;

// The key of the position after `last`, the move just played.
inline std::uint64_t PositionKey(const Position& pos, const Move& last) {
  const auto& tables = position_key_detail::kKeyTables;
  std::uint64_t key = 0;
  for (int row = 20; row < 100; row += 10)
    for (int square = row + 2; square < row + 10; ++square) {
      const int man = pos.board[square];
      if (man != Empty) key ^= tables.men[man & 15][square];
    }
  for (int i = 0; i < 6; ++i)
    if (pos.castlingCounters[i] == 0) key ^= tables.castling[i];
  const int step = last.to - last.from;
  if ((last.moved == WhitePawn || last.moved == BlackPawn) && (step == 20 || step == -20))
    key ^= tables.enPassant[last.to];
  return key;
}

}  // namespace kv
