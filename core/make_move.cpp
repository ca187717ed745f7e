// Playing a move in place and taking it back.
//
// MakeMove changes: the from, capture and to cells; the rook's cells of a
// castling; the king square of a king move; one castling counter when a king
// moves or a rook leaves its corner. UnmakeMove restores exactly these from
// the same record: the record holds the moved and the captured man, so no
// other undo state is kept. BlackForce is not touched: it only ever grows.
#include "core/rules.h"

namespace kv {
namespace {

// Counts a move that leaves a corner or moves a king; delta is +1 or -1.
// Castling moves the rook as well.
void UpdateCastlingState(Position& pos, const Move& move, int delta) {
  Board& b = pos.board;
  auto& counters = pos.castlingCounters;
  switch (move.placed) {
    case WhiteRook:
      if (move.from == 99) counters[H1Moves] += delta;
      if (move.from == 92) counters[A1Moves] += delta;
      break;
    case BlackRook:
      if (move.from == 29) counters[H8Moves] += delta;
      if (move.from == 22) counters[A8Moves] += delta;
      break;
    case WhiteKing:
      pos.whiteKingSquare = delta > 0 ? move.to : move.from;
      counters[WhiteKingMoves] += delta;
      if (move.from == 96 && move.to == 98) {
        b[97] = delta > 0 ? WhiteRook : Empty;
        b[99] = delta > 0 ? Empty : WhiteRook;
      } else if (move.from == 96 && move.to == 94) {
        b[95] = delta > 0 ? WhiteRook : Empty;
        b[92] = delta > 0 ? Empty : WhiteRook;
      }
      break;
    case BlackKing:
      pos.blackKingSquare = delta > 0 ? move.to : move.from;
      counters[BlackKingMoves] += delta;
      if (move.from == 26 && move.to == 28) {
        b[27] = delta > 0 ? BlackRook : Empty;
        b[29] = delta > 0 ? Empty : BlackRook;
      } else if (move.from == 26 && move.to == 24) {
        b[25] = delta > 0 ? BlackRook : Empty;
        b[22] = delta > 0 ? Empty : BlackRook;
      }
      break;
    default:
      break;
  }
}

}  // namespace

void MakeMove(Position& pos, const Move& move) {
  Board& b = pos.board;
  b[move.from] = Empty;
  b[move.capture] = Empty;
  b[move.to] = move.placed;
  UpdateCastlingState(pos, move, +1);
}

void UnmakeMove(Position& pos, const Move& move) {
  Board& b = pos.board;
  b[move.from] = move.moved;
  b[move.to] = Empty;
  b[move.capture] = move.captured;
  UpdateCastlingState(pos, move, -1);
}

}  // namespace kv
