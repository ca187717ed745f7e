// The keys of the fast helpmate walks' table: the position key with the
// side to move, its men's part kept move by move.
#pragma once

#include <cstdint>

#include "core/position.h"
#include "solver/position_key.h"

namespace kv::help_keys {

using position_key_detail::kKeyTables;

// Told apart from the keys of positions with White to move.
inline constexpr std::uint64_t BlackToMoveKey = 0x510E527FADE682D1ull;

// The part of the key the men make, after `move` was played on a position
// whose men gave `men`. A castling moves the rook too.
inline std::uint64_t MenAfter(std::uint64_t men, const Move& move) {
  const auto& squares = kKeyTables.men;
  men ^= squares[move.moved & 15][move.from] ^ squares[move.placed & 15][move.to];
  if (move.captured != Empty) men ^= squares[move.captured & 15][move.capture];
  if (move.moved == WhiteKing && move.from == 96 && (move.to == 98 || move.to == 94)) {
    const int rookFrom = move.to == 98 ? 99 : 92;
    const int rookTo = move.to == 98 ? 97 : 95;
    men ^= squares[WhiteRook][rookFrom] ^ squares[WhiteRook][rookTo];
  }
  if (move.moved == BlackKing && move.from == 26 && (move.to == 28 || move.to == 24)) {
    const int rookFrom = move.to == 28 ? 29 : 22;
    const int rookTo = move.to == 28 ? 27 : 25;
    men ^= squares[BlackRook & 15][rookFrom] ^ squares[BlackRook & 15][rookTo];
  }
  return men;
}

// The men's part of PositionKey, for the start of a walk.
inline std::uint64_t MenKey(const Position& pos) {
  std::uint64_t men = 0;
  for (int row = 20; row < 100; row += 10)
    for (int square = row + 2; square < row + 10; ++square)
      if (const int man = pos.board[square]; man != Empty) men ^= kKeyTables.men[man & 15][square];
  return men;
}

// The whole key: the men, the castlings the counters still allow, the en
// passant square of a double step just played, and the side to move.
inline std::uint64_t FullKey(const Position& pos, std::uint64_t men, const Move& last,
                             bool whiteToMove) {
  std::uint64_t key = men ^ (whiteToMove ? WhiteToMoveKey : BlackToMoveKey);
  for (int i = 0; i < 6; ++i)
    if (pos.castlingCounters[i] == 0) key ^= kKeyTables.castling[i];
  const int step = last.to - last.from;
  if ((last.moved == WhitePawn || last.moved == BlackPawn) && (step == 20 || step == -20))
    key ^= kKeyTables.enPassant[last.to];
  return key;
}

}  // namespace kv::help_keys
