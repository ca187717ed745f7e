// Attack tests and the pin test against the black king.
#include "core/rules.h"
#include "core/tables.h"

namespace kv {
namespace {

// Cells whose every neighbour and knight jump lies inside the array; a king
// square of 0 (no king) must never send a scan outside it.
inline bool ScanSafe(int square) {
  return square >= FirstSquare && square <= LastSquare;
}

}  // namespace
int AttackedByWhite(const Position& pos, int square) {
  constexpr int kHit = 100;
  const Board& b = pos.board;
  if (!ScanSafe(square)) return 0;
  for (int d : {-10, 10, -1, 1}) {
    if (b[square + d] == WhiteKing) return kHit;
    const int man = b[FirstMan(b, square, d)];
    if (man == WhiteRook || man == WhiteQueen) return kHit;
  }
  for (int d : {-9, -11}) {
    if (b[square + d] == WhiteKing) return kHit;
    const int man = b[FirstMan(b, square, d)];
    if (man == WhiteQueen || man == WhiteBishop) return kHit;
  }
  for (int d : {9, 11}) {
    // A white pawn below the square takes towards it.
    if (b[square + d] == WhitePawn || b[square + d] == WhiteKing) return kHit;
    const int man = b[FirstMan(b, square, d)];
    if (man == WhiteQueen || man == WhiteBishop) return kHit;
  }
  for (int o : {-19, -8, 12, 21, 19, 8, -12, -21}) {
    if (b[square + o] == WhiteKnight) return kHit;
  }
  return 0;
}

int AttackedByBlack(const Position& pos, int square) {
  constexpr int kCheck = CheckMark;  // a check found here is written as this mark
  const Board& b = pos.board;
  const int force = pos.blackForce;
  if (!ScanSafe(square)) return 0;
  if (force & ForceRankFile) {
    for (int d : {-1, 1, -10, 10}) {
      const int man = b[FirstMan(b, square, d)];
      if (man == BlackQueen || man == BlackRook) return kCheck;
    }
  }
  if (force & ForceDiagonal) {
    for (int d : {-9, 9, -11, 11}) {
      const int man = b[FirstMan(b, square, d)];
      if (man == BlackBishop || man == BlackQueen) return kCheck;
    }
  }
  if (force & ForceKnight) {
    for (int o : KnightOffsets) {
      if (b[square + o] == BlackKnight) return kCheck;
    }
  }
  for (int o : QueenOffsets) {
    if (b[square + o] == BlackKing) return kCheck;
  }
  if (b[square - 11] == BlackPawn || b[square - 9] == BlackPawn) return kCheck;
  return 0;
}

int ScreenTest(const Position& pos, int square) {
  const Board& b = pos.board;
  if (!ScanSafe(square) || !ScanSafe(pos.blackKingSquare)) return 1;
  const int d = LineStep(square - pos.blackKingSquare);
  if (d == 0) return 1;
  if (FirstMan(b, pos.blackKingSquare, d) != square) return 1;
  const int man = b[FirstMan(b, square, d)];
  if (LineKind(d) == LineDiagonal) return (man == WhiteQueen || man == WhiteBishop) ? 0 : 1;
  return (man == WhiteRook || man == WhiteQueen) ? 0 : 1;
}

}  // namespace kv
