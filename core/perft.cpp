#include "core/perft.h"

#include "core/rules.h"
#include "core/tables.h"

namespace kv {
namespace {

// A side without a king has no king to expose.
bool MoverKingSafe(const Position& pos, bool white) {
  const int king = white ? pos.whiteKingSquare : pos.blackKingSquare;
  if (!IsSquare(king)) return true;
  return white ? AttackedByBlack(pos, king) == 0 : AttackedByWhite(pos, king) == 0;
}

}  // namespace

std::uint64_t Perft(Position& pos, int depth, bool whiteToMove, int lastFrom, int lastTo) {
  if (depth <= 0) return 1;
  MoveList list;
  const int result = whiteToMove ? GenerateWhiteMoves(pos, lastFrom, lastTo, list)
                                 : GenerateBlackMoves(pos, lastFrom, lastTo, list);
  if (result != 0) return 0;  // the side not to move stands in check
  std::uint64_t nodes = 0;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    MakeMove(pos, *m);
    if (MoverKingSafe(pos, whiteToMove)) {
      nodes += depth == 1 ? 1 : Perft(pos, depth - 1, !whiteToMove, m->from, m->to);
    }
    UnmakeMove(pos, *m);
  }
  return nodes;
}

bool MatesByBruteForce(Position& pos, const Move& move) {
  MakeMove(pos, move);
  bool mate = IsSquare(pos.whiteKingSquare) && AttackedByBlack(pos, pos.whiteKingSquare) == 0 &&
              AttackedByWhite(pos, pos.blackKingSquare) != 0;
  if (mate) {
    MoveList replies;
    GenerateBlackMoves(pos, move.from, move.to, replies);
    for (const Move* r = replies.moves.data(); mate && r->from != 0; ++r) {
      MakeMove(pos, *r);
      if (AttackedByWhite(pos, pos.blackKingSquare) == 0) mate = false;
      UnmakeMove(pos, *r);
    }
  }
  UnmakeMove(pos, move);
  return mate;
}

}  // namespace kv
