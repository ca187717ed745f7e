// Position validation: derives the state the rules need from the board and
// judges whether the position can be solved.
#pragma once

#include "core/position.h"

namespace kv {

// Derives from the board alone: the king squares (with several kings of a
// colour the last one from a8 to h1 stays; 0 when there is none), the six
// castling counters (a king and a rook on their home squares may castle,
// whatever the problem's history: 0 allows, otherwise the king counter is 1
// and a corner counter 15) and BlackForce. Also restores OffBoard in every
// cell that is not a square, so that no scan can run off the array whatever
// was loaded into it.
void DerivePositionState(Position& pos);

}  // namespace kv
