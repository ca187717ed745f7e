// Fixed geometry of the padded board: direction lists, square colours and the
// line tables the attack and mate tests index by square difference.
#pragma once

#include <array>
#include <cstdint>

#include "core/position.h"

namespace kv {

// Direction lists. The generation order of moves follows their order, so the
// values and their order are part of every move list the program writes.
inline constexpr std::array<int, 8> KnightOffsets = {-21, -19, -12, -8, 8, 12, 19, 21};
inline constexpr std::array<int, 8> QueenOffsets = {-1, -10, 1, 10, 11, 9, -11, -9};
inline constexpr std::array<int, 4> RookOffsets = {-1, -10, 1, 10};
inline constexpr std::array<int, 4> BishopOffsets = {11, 9, -11, -9};

// True for the 64 cells that are squares of the chess board.
constexpr bool IsSquare(int index) {
  return index >= FirstSquare && index <= LastSquare && index % 10 >= 2;
}

// SquareBit: the bit of a square in a set of squares (bit 0 a8 .. bit 63 h1,
// so that bit order is square order); 0 for the cells off the board.
inline constexpr std::array<std::uint64_t, BoardCells> SquareBit = [] {
  std::array<std::uint64_t, BoardCells> bit{};
  for (int i = 0; i < BoardCells; ++i)
    if (IsSquare(i)) bit[i] = std::uint64_t{1} << ((i / 10 - 2) * 8 + (i % 10 - 2));
  return bit;
}();

// The square of bit `n` of a set of squares.
constexpr int BitSquare(int n) {
  return FirstSquare + (n / 8) * 10 + n % 8;
}

// The squares holding White's men.
inline std::uint64_t WhiteMenOf(const Board& b) {
  std::uint64_t men = 0;
  for (int s = FirstSquare; s <= LastSquare; ++s)
    if (b[s] > Empty && b[s] < OffBoard) men |= SquareBit[s];
  return men;
}

// The squares holding Black's men.
inline std::uint64_t BlackMenOf(const Board& b) {
  std::uint64_t men = 0;
  for (int s = FirstSquare; s <= LastSquare; ++s)
    if (b[s] > OffBoard) men |= SquareBit[s];
  return men;
}

// SquareColour: 1 dark, 2 light, 0 off the board. a1 and h8 are dark.
inline constexpr int DarkSquare = 1;
inline constexpr int LightSquare = 2;
inline constexpr std::array<std::uint8_t, BoardCells> SquareColour = [] {
  std::array<std::uint8_t, BoardCells> colour{};
  for (int i = 0; i < BoardCells; ++i) {
    if (!IsSquare(i)) continue;
    // a8 (row 2, column 2) is light; colours alternate along rows and files.
    colour[i] = ((i / 10 + i % 10) % 2 == 0) ? LightSquare : DarkSquare;
  }
  return colour;
}();

// LineStep: the unit step of the line on which two squares `d` apart can lie,
// for d in -77..77, else 0. Some differences are ambiguous on a 10-column
// board; every scan that uses the step stops at the first non-empty cell, so
// a wrong line ends on an OffBoard cell and never gives a false result.
inline constexpr int MaxLineDifference = 77;
inline constexpr std::array<std::int8_t, 2 * MaxLineDifference + 1> LineStepTable = [] {
  std::array<std::int8_t, 2 * MaxLineDifference + 1> step{};
  auto set = [&](int d, int s) {
    step[MaxLineDifference + d] = static_cast<std::int8_t>(s);
    step[MaxLineDifference - d] = static_cast<std::int8_t>(-s);
  };
  for (int k = 1; k <= 7; ++k) set(k, 1);
  for (int k = 1; k <= 7; ++k) set(10 * k, 10);
  for (int k = 1; k <= 8; ++k) set(9 * k, 9);
  for (int k = 1; k <= 7; ++k) set(11 * k, 11);
  return step;
}();

constexpr int LineStep(int difference) {
  if (difference < -MaxLineDifference || difference > MaxLineDifference) return 0;
  return LineStepTable[MaxLineDifference + difference];
}

// LineKind: for a step or a raw difference in -21..21: 1 rank or file step,
// 3 diagonal step, 4 knight jump, 0 otherwise (the white code of the man that
// moves that way).
inline constexpr int LineRankFile = 1;
inline constexpr int LineDiagonal = 3;
inline constexpr int LineKnight = 4;
inline constexpr int MaxKindVector = 21;
inline constexpr std::array<std::int8_t, 2 * MaxKindVector + 1> LineKindTable = [] {
  std::array<std::int8_t, 2 * MaxKindVector + 1> kind{};
  auto set = [&](int v, int k) {
    kind[MaxKindVector + v] = static_cast<std::int8_t>(k);
    kind[MaxKindVector - v] = static_cast<std::int8_t>(k);
  };
  set(1, LineRankFile);
  set(10, LineRankFile);
  set(9, LineDiagonal);
  set(11, LineDiagonal);
  for (int v : {8, 12, 19, 21}) set(v, LineKnight);
  return kind;
}();

constexpr int LineKind(int vector) {
  if (vector < -MaxKindVector || vector > MaxKindVector) return 0;
  return LineKindTable[MaxKindVector + vector];
}

// KingNeighbourBit: one bit of an eight-bit mask for each king step.
inline constexpr std::array<std::uint8_t, 23> KingNeighbourBitTable = [] {
  std::array<std::uint8_t, 23> bit{};
  bit[11 - 11] = 1;
  bit[11 - 10] = 2;
  bit[11 - 9] = 4;
  bit[11 - 1] = 8;
  bit[11 + 1] = 16;
  bit[11 + 9] = 32;
  bit[11 + 10] = 64;
  bit[11 + 11] = 128;
  return bit;
}();

constexpr int KingNeighbourBit(int step) {
  if (step < -11 || step > 11) return 0;
  return KingNeighbourBitTable[11 + step];
}

// Piece classification by code value, as every rules operation reads cells.
constexpr bool IsWhiteMan(int code) {
  return code > 0 && code < 7;
}
constexpr bool IsPawnCode(int code) {
  return code == WhitePawn || code == BlackPawn;
}

// The cell of the first man (or border cell) from `square` along `step`.
inline int FirstMan(const Board& b, int square, int step) {
  int p = square + step;
  while (b[p] == Empty) p += step;
  return p;
}

// File letter and rank digit of a square.
inline constexpr char FileLetters[] = "  abcdefgh";
constexpr char FileLetter(int square) {
  return FileLetters[square % 10];
}
constexpr char RankDigit(int square) {
  return static_cast<char>(':' - square / 10);
}

}  // namespace kv
