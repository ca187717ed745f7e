#include "solver/black_mate_in_one.h"

#include <array>
#include <bit>

#include "core/rules.h"
#include "core/tables.h"

namespace kv {

namespace {

// The empty board with its border: the start of every turned position.
constexpr Board EmptyBoard = [] {
  Board board{};
  for (int i = 0; i < BoardCells; ++i) board[i] = IsSquare(i) ? Empty : OffBoard;
  return board;
}();

constexpr std::array<std::int8_t, BoardCells> MirroredSquare = [] {
  std::array<std::int8_t, BoardCells> mirrored{};
  for (int i = 0; i < BoardCells; ++i)
    if (IsSquare(i)) mirrored[i] = static_cast<std::int8_t>((11 - i / 10) * 10 + i % 10);
  return mirrored;
}();

// The force flag a white man gives the side it becomes Black of.
constexpr std::uint8_t ForceOf(std::int8_t whiteMan) {
  switch (whiteMan) {
    case WhiteRook:
      return ForceRankFile;
    case WhiteQueen:
      return ForceRankFile | ForceDiagonal;
    case WhiteBishop:
      return ForceDiagonal;
    case WhiteKnight:
      return ForceKnight;
    case WhitePawn:
      return ForcePawn;
    default:
      return 0;
  }
}

}  // namespace

int TurnedSquare(int square) {
  return square >= 0 && square < BoardCells ? MirroredSquare[square] : 0;
}

void TurnOver(const Position& pos, Position& turned) {
  turned.board = EmptyBoard;
  std::uint64_t whiteMen = 0;
  std::uint64_t blackMen = 0;
  std::uint8_t force = 0;
  // The sets may name a lifted man's empty square: the board decides.
  for (std::uint64_t men = pos.whiteMen | pos.blackMen; men != 0; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    const std::int8_t man = pos.board[square];
    if (man == Empty) continue;
    const int to = MirroredSquare[square];
    const auto swapped = static_cast<std::int8_t>(16 - man);
    turned.board[to] = swapped;
    if (swapped < OffBoard) {
      whiteMen |= SquareBit[to];
    } else {
      blackMen |= SquareBit[to];
      force |= ForceOf(man);
    }
  }
  turned.whiteMen = whiteMen;
  turned.blackMen = blackMen;
  turned.blackForce = force;
  turned.whiteKingSquare = static_cast<std::int16_t>(TurnedSquare(pos.blackKingSquare));
  turned.blackKingSquare = static_cast<std::int16_t>(TurnedSquare(pos.whiteKingSquare));
  const auto& counters = pos.castlingCounters;
  auto& swappedCounters = turned.castlingCounters;
  swappedCounters[WhiteKingMoves] = counters[BlackKingMoves];
  swappedCounters[BlackKingMoves] = counters[WhiteKingMoves];
  swappedCounters[A1Moves] = counters[A8Moves];
  swappedCounters[A8Moves] = counters[A1Moves];
  swappedCounters[H1Moves] = counters[H8Moves];
  swappedCounters[H8Moves] = counters[H1Moves];
  turned.probeMove = Move{};
  turned.lastMate = Move{};
  turned.parrySquare = 0;
  turned.listOverflows = 0;
}

int FindBlackMateInOne(const Position& pos, int lastFrom, int lastTo, Move& hint) {
  Position turned;
  TurnOver(pos, turned);
  turned.lastMate = hint;
  const int result = FindMateInOne(turned, TurnedSquare(lastFrom), TurnedSquare(lastTo));
  hint = turned.lastMate;
  return result;
}

}  // namespace kv
