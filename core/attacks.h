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
#include "core/rules.h"
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

// Whether Black's `move` leaves the white king attacked, as MakeMove, then
// AttackedByBlackMen on the king's square, then UnmakeMove would find, but
// with only the move's cells changed for the while: the sets of men, the
// counters and the king squares stay as they are. The man the move places
// is asked directly, since the set still names its old square. A castling
// moves a rook as well and is played in full.
inline bool BlackMoveAttacksWhiteKing(Position& pos, const Move& move) {
  const int king = pos.whiteKingSquare;
  if (!IsSquare(king)) return false;
  if (move.moved == BlackKing && (move.to - move.from == 2 || move.from - move.to == 2)) {
    MakeMove(pos, move);
    const bool attacked = AttackedByBlackMen(pos, king) != 0;
    UnmakeMove(pos, move);
    return attacked;
  }
  Board& b = pos.board;
  const std::int8_t atFrom = b[move.from];
  const std::int8_t atCapture = b[move.capture];
  const std::int8_t atTo = b[move.to];
  b[move.from] = Empty;
  b[move.capture] = Empty;
  b[move.to] = move.placed;
  const bool attacked =
      ManAttacks(b, move.to, king, BlackCodes) || AttackedByBlackMen(pos, king) != 0;
  b[move.to] = atTo;
  b[move.capture] = atCapture;
  b[move.from] = atFrom;
  return attacked;
}

}  // namespace kv
