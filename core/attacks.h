// Attack tests that look only at one side's men, through the sets of men
// that MakeMove/UnmakeMove keep. A side has at most sixteen men, usually
// far fewer, so asking each man whether it reaches the square (a table of
// square differences, then one walk along the single line between them)
// costs less than walking all eight lines and the knight jumps from the
// square. The searches call these where the sets are known to be current;
// the plain tests of rules.h read the board alone.
#pragma once

#include <bit>
#include <cstdint>

#include "core/position.h"
#include "core/tables.h"

namespace kv {

// Per square difference (target minus the man's square, -77..77): the men
// codes, as bits, that can reach the target by that difference on an open
// board, and the unit step a line piece takes along it.
struct AttackGeometry {
  std::uint16_t men = 0;
  std::int8_t step = 0;
};

inline constexpr std::uint16_t LinePieceCodes = (1u << WhiteRook) | (1u << WhiteQueen) |
                                                (1u << WhiteBishop) | (1u << BlackBishop) |
                                                (1u << BlackQueen) | (1u << BlackRook);

inline constexpr std::array<AttackGeometry, 2 * MaxLineDifference + 1> AttackTable = [] {
  std::array<AttackGeometry, 2 * MaxLineDifference + 1> table{};
  for (int d = -MaxLineDifference; d <= MaxLineDifference; ++d) {
    AttackGeometry& g = table[MaxLineDifference + d];
    const int step = LineStep(d);
    g.step = static_cast<std::int8_t>(step);
    const int kind = LineKind(step);
    if (step != 0 && kind == LineRankFile)
      g.men |= (1u << WhiteRook) | (1u << WhiteQueen) | (1u << BlackRook) | (1u << BlackQueen);
    if (step != 0 && kind == LineDiagonal)
      g.men |= (1u << WhiteBishop) | (1u << WhiteQueen) | (1u << BlackBishop) | (1u << BlackQueen);
    if (LineKind(d) == LineKnight) g.men |= (1u << WhiteKnight) | (1u << BlackKnight);
    if (d != 0 && step == d) g.men |= (1u << WhiteKing) | (1u << BlackKing);
    // A white pawn takes upwards (towards rank 8, lower cells), a black one downwards.
    if (d == -9 || d == -11) g.men |= 1u << WhitePawn;
    if (d == 9 || d == 11) g.men |= 1u << BlackPawn;
  }
  return table;
}();

inline constexpr std::uint16_t WhiteCodes = 0x7E;    // 1..6
inline constexpr std::uint16_t BlackCodes = 0xFC00;  // 10..15

// Whether the man on `from`, when its code is one of `side` (WhiteCodes or
// BlackCodes), attacks `square` (both squares of the board). A line that
// wraps round the board edge meets a border cell before it could reach the
// square, so a difference shared by two lines is harmless.
inline bool ManAttacks(const Board& b, int from, int square, std::uint16_t side) {
  const int d = square - from;
  if (d < -MaxLineDifference || d > MaxLineDifference) return false;
  const AttackGeometry& g = AttackTable[MaxLineDifference + d];
  const int man = b[from];
  if ((((g.men & side) >> man) & 1u) == 0) return false;
  if (((LinePieceCodes >> man) & 1u) == 0) return true;
  for (int p = from + g.step; p != square; p += g.step)
    if (b[p] != Empty) return false;
  return true;
}

// AttackedByWhite from the set of White's men: 100 or 0. `square` must be a
// square of the board.
inline int AttackedByWhiteMen(const Position& pos, int square) {
  for (std::uint64_t men = pos.whiteMen; men != 0; men &= men - 1)
    if (ManAttacks(pos.board, BitSquare(std::countr_zero(men)), square, WhiteCodes)) return 100;
  return 0;
}

// AttackedByBlack from the set of Black's men: the check mark or 0. A square
// of the set a caller has lifted the man off may stand empty or receive a
// white man; only black codes are read there. `square` must be a square of
// the board.
inline int AttackedByBlackMen(const Position& pos, int square) {
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1)
    if (ManAttacks(pos.board, BitSquare(std::countr_zero(men)), square, BlackCodes))
      return CheckMark;
  return 0;
}

}  // namespace kv
