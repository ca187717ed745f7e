// The mate test with its one open choice exposed, for the tests that show
// what the choice changes.
#pragma once

#include "core/position.h"

namespace kv::detail {

// TestMateMove; promotionLinesBothKinds: whether a pawn promoting to a rook
// or bishop may uncover a check along either kind of line (TestMateMove
// passes true) or only along the kind a rook or bishop move could uncover.
int TestMateMove(Position& pos, bool promotionLinesBothKinds);

}  // namespace kv::detail
