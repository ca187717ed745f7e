// A count of the moves a helpmate needs at least. In the mating position
// the black king stands on some square, a white man checks it, and each
// square next to it holds a black man or is attacked by White. On an empty
// board every man needs at least a known number of moves to reach the square
// it stands on then, and attacks at most what it attacks there; if no
// choice of king square, checking man, guards and blockers fits in the moves
// left to each side, no helpmate is possible. The fast helpmate search asks
// it before walking a position's moves.
#pragma once

#include "core/position.h"

namespace kv {

// Whether the position may still lead to White mating Black's king with
// `whiteMoves` white moves and `blackMoves` black moves left (in either
// order). False proves there is no such helpmate; true proves nothing.
// Nothing is ruled out while White may castle.
bool HelpMatePossible(const Position& pos, int whiteMoves, int blackMoves);

// The same count for a stalemate: the king need not be checked, but every
// square round it must still be attacked by White or held by Black. False
// proves there is no helpstalemate; true proves nothing.
bool HelpStalematePossible(const Position& pos, int whiteMoves, int blackMoves);

}  // namespace kv
