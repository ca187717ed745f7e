// Stalemate tests and the maximummer's filter.
#include "core/goals.h"

#include "core/rules.h"

namespace kv {
namespace {

bool LeavesOwnKingAttacked(Position& pos, const Move& move, bool white) {
  MakeMove(pos, move);
  const bool attacked = white ? AttackedByBlack(pos, pos.whiteKingSquare) != 0
                              : AttackedByWhite(pos, pos.blackKingSquare) != 0;
  UnmakeMove(pos, move);
  return attacked;
}

bool AnyLegal(Position& pos, const MoveList& list, bool white) {
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    if (!LeavesOwnKingAttacked(pos, *m, white)) return true;
  }
  return false;
}

}  // namespace

bool WhiteHasLegalMove(Position& pos, int lastFrom, int lastTo) {
  MoveList list;
  // The generator refuses a position whose black king stands attacked; the
  // question is then moot for the caller, and White has a move (the capture).
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, list) < 0) return true;
  return AnyLegal(pos, list, true);
}

bool BlackHasLegalMove(Position& pos, int lastFrom, int lastTo) {
  MoveList list;
  if (GenerateBlackMoves(pos, lastFrom, lastTo, list) != 0) return true;
  return AnyLegal(pos, list, false);
}

bool WhiteIsStalemated(Position& pos, int lastFrom, int lastTo) {
  return AttackedByBlack(pos, pos.whiteKingSquare) == 0 &&
         !WhiteHasLegalMove(pos, lastFrom, lastTo);
}

bool BlackIsStalemated(Position& pos, int lastFrom, int lastTo) {
  return AttackedByWhite(pos, pos.blackKingSquare) == 0 &&
         !BlackHasLegalMove(pos, lastFrom, lastTo);
}

int TestStalemateMove(Position& pos) {
  const Move move = pos.probeMove;
  MakeMove(pos, move);
  const bool stalemates = AttackedByBlack(pos, pos.whiteKingSquare) == 0 &&
                          AttackedByWhite(pos, pos.blackKingSquare) == 0 &&
                          !BlackHasLegalMove(pos, move.from, move.to);
  UnmakeMove(pos, move);
  return stalemates ? 100 : 0;
}

int FindStalemateInOne(Position& pos, int lastFrom, int lastTo) {
  MoveList list;
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, list) < 0) return -1;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    pos.probeMove = *m;
    if (TestStalemateMove(pos) == 100) return 1;
  }
  return 0;
}

int MoveLengthSquared(const Move& move) {
  // 10 cells to a row on the padded board.
  const int rows = move.to / 10 - move.from / 10;
  const int columns = move.to % 10 - move.from % 10;
  return rows * rows + columns * columns;
}

int KeepLongestBlackMoves(Position& pos, MoveList& list) {
  int longest = -1;
  int kept = 0;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    if (LeavesOwnKingAttacked(pos, *m, false)) continue;
    const int length = MoveLengthSquared(*m);
    if (length < longest) continue;
    if (length > longest) {
      longest = length;
      kept = 0;
    }
    list.moves[static_cast<std::size_t>(kept++)] = *m;
  }
  list.moves[static_cast<std::size_t>(kept)] = Move{};
  return kept;
}

}  // namespace kv
