// A consistency check of the Position for Debug builds: the sets of men and
// the king squares against the board, the castling counters against the men
// on their squares, and a move's record against the cells it changes. Debug
// builds (KESTROVALE_POSITION_CHECKS) run it after every MakeMove and
// UnmakeMove and stop at the first fault with its description; other builds
// hold no code of it, so the search runs at full speed.
#pragma once

#ifdef KESTROVALE_POSITION_CHECKS

#include <string>

#include "core/position.h"

namespace kv {

// "" when the position is consistent, else what is wrong with it. The set of
// Black's men may hold one square more than the board: a caller may lift a
// black man off the board for a while (see Position::blackMen).
std::string PositionFault(const Position& pos);

// "" when `move` can be played here: its from and capture cells hold the men
// the record names, the square it goes to is free of the mover's men, and an
// en-passant capture takes an enemy pawn beside it on the fifth rank.
std::string MoveFault(const Position& pos, const Move& move);

// Prints `where`, the move and the fault to stderr and aborts when `fault`
// is not empty.
void StopOnFault(const std::string& fault, const char* where, const Move& move);

}  // namespace kv

#endif
