// Castling conditions shared by the white generator and the mate-in-one scan.
#pragma once

#include "core/position.h"

namespace kv {

// Whether White may castle on that side now: king on e1 and its counter 0,
// the rook home with its counter 0, the squares between empty, and neither
// e1 nor the squares the king passes or reaches attacked by Black (b1 may be
// attacked).
bool WhiteMayCastle(const Position& pos, bool queenSide);

}  // namespace kv
