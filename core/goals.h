// The goal tests beside mate: whether a side to move is stalemated, and the
// maximummer's choice of moves. Built on the pseudo-legal generators: a move
// is legal when, played, it does not leave the mover's king attacked.
#pragma once

#include "core/position.h"

namespace kv {

// Whether White, to move after Black's move lastFrom-lastTo, has a legal move.
bool WhiteHasLegalMove(Position& pos, int lastFrom, int lastTo);
// Whether Black, to move after White's move lastFrom-lastTo, has a legal move.
bool BlackHasLegalMove(Position& pos, int lastFrom, int lastTo);

// Stalemate: the side to move is not in check and has no legal move.
bool WhiteIsStalemated(Position& pos, int lastFrom, int lastTo);
bool BlackIsStalemated(Position& pos, int lastFrom, int lastTo);

// The length of a move for a maximummer: the square of the distance between
// the centres of its squares (a castling counts as the king's two steps, 4).
int MoveLengthSquared(const Move& move);

// A maximummer may play only the longest of its legal moves. Keeps, of
// Black's pseudo-legal moves in `list` (generated after White's move), the
// legal ones of the greatest length, in their order, and returns how many
// are left. The illegal ones are dropped: one of them may be longer than
// every legal move and must not hide them.
int KeepLongestBlackMoves(Position& pos, MoveList& list);

}  // namespace kv
