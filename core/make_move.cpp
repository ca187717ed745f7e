// Playing a move in place and taking it back.
//
// MakeMove changes: the from, capture and to cells; the rook's cells of a
// castling; the king square of a king move; one castling counter when a king
// moves or a rook leaves its corner. UnmakeMove restores exactly these from
// the same record: the record holds the moved and the captured man, so no
// other undo state is kept. A rook taken on its corner counts as a move of
// that corner's rook. BlackForce is not touched: it only ever grows.
#include "core/position_check.h"
#include "core/rules.h"
#include "core/squares.h"
#include "core/tables.h"

namespace kv {
namespace {

// The rook of a castling: on `rookTo` after the move (delta +1), back on
// `rookFrom` when it is taken back (delta -1).
void MoveCastlingRook(Board& b, int rookFrom, int rookTo, int rook, int delta) {
  b[rookTo] = delta > 0 ? rook : Empty;
  b[rookFrom] = delta > 0 ? Empty : rook;
}

// Keeps the sets of men: the mover's man leaves `from` and stands on `to`,
// and a captured man leaves the other side's set (a castling rook is moved
// by MoveCastlingRook's caller). The null move's cells are off the board,
// whose bits are 0. XOR makes the same update undo itself.
void UpdateMen(Position& pos, const Move& move) {
  // Two plain read-modify-writes: the sets are often written just before,
  // and one wide load of both would wait on those stores.
  const std::uint64_t path = SquareBit[move.from] | SquareBit[move.to];
  if (move.moved > OffBoard) {
    pos.blackMen ^= path;
    if (move.captured != Empty) pos.whiteMen ^= SquareBit[move.capture];
  } else {
    pos.whiteMen ^= path;
    if (move.captured != Empty) pos.blackMen ^= SquareBit[move.capture];
  }
}

// A rook taken on its corner has lost its castling for good: a rook that
// reaches the corner later is another one and may not castle.
void CountCornerCapture(std::array<std::int16_t, 6>& counters, const Move& move, int delta) {
  if (move.captured == WhiteRook) {
    if (move.capture == sq::H1) counters[H1Moves] += delta;
    if (move.capture == sq::A1) counters[A1Moves] += delta;
  } else if (move.captured == BlackRook) {
    if (move.capture == sq::H8) counters[H8Moves] += delta;
    if (move.capture == sq::A8) counters[A8Moves] += delta;
  }
}

// Counts a move that leaves a corner, moves a king or takes a rook on its
// corner; delta is +1 or -1. Castling moves the rook as well.
void UpdateCastlingState(Position& pos, const Move& move, int delta) {
  Board& b = pos.board;
  auto& counters = pos.castlingCounters;
  CountCornerCapture(counters, move, delta);
  switch (move.placed) {
    case WhiteRook:
      if (move.from == sq::H1) counters[H1Moves] += delta;
      if (move.from == sq::A1) counters[A1Moves] += delta;
      break;
    case BlackRook:
      if (move.from == sq::H8) counters[H8Moves] += delta;
      if (move.from == sq::A8) counters[A8Moves] += delta;
      break;
    case WhiteKing:
      pos.whiteKingSquare = delta > 0 ? move.to : move.from;
      counters[WhiteKingMoves] += delta;
      if (move.from == sq::E1 && move.to == sq::G1) {
        MoveCastlingRook(b, sq::H1, sq::F1, WhiteRook, delta);
        pos.whiteMen ^= SquareBit[sq::H1] | SquareBit[sq::F1];
      }
      if (move.from == sq::E1 && move.to == sq::C1) {
        MoveCastlingRook(b, sq::A1, sq::D1, WhiteRook, delta);
        pos.whiteMen ^= SquareBit[sq::A1] | SquareBit[sq::D1];
      }
      break;
    case BlackKing:
      pos.blackKingSquare = delta > 0 ? move.to : move.from;
      counters[BlackKingMoves] += delta;
      if (move.from == sq::E8 && move.to == sq::G8) {
        MoveCastlingRook(b, sq::H8, sq::F8, BlackRook, delta);
        pos.blackMen ^= SquareBit[sq::H8] | SquareBit[sq::F8];
      }
      if (move.from == sq::E8 && move.to == sq::C8) {
        MoveCastlingRook(b, sq::A8, sq::D8, BlackRook, delta);
        pos.blackMen ^= SquareBit[sq::A8] | SquareBit[sq::D8];
      }
      break;
    default:
      break;
  }
}

}  // namespace

void MakeMove(Position& pos, const Move& move) {
#ifdef KESTROVALE_POSITION_CHECKS
  StopOnFault(MoveFault(pos, move), "MakeMove: before", move);
#endif
  Board& b = pos.board;
  b[move.from] = Empty;
  b[move.capture] = Empty;
  b[move.to] = move.placed;
  UpdateMen(pos, move);
  UpdateCastlingState(pos, move, +1);
#ifdef KESTROVALE_POSITION_CHECKS
  StopOnFault(PositionFault(pos), "MakeMove", move);
#endif
}

void UnmakeMove(Position& pos, const Move& move) {
  Board& b = pos.board;
  b[move.from] = move.moved;
  b[move.to] = Empty;
  b[move.capture] = move.captured;
  UpdateMen(pos, move);
  UpdateCastlingState(pos, move, -1);
#ifdef KESTROVALE_POSITION_CHECKS
  StopOnFault(PositionFault(pos), "UnmakeMove", move);
#endif
}

}  // namespace kv
