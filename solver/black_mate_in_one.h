// Whether Black, to move, can mate at once, asked without generating
// Black's moves: the position is turned over (ranks mirrored, colours
// swapped) and White's mate-in-one scan answers for it. That scan hands only
// the moves able to give check to the mate test, so a position in which
// Black has no mate (the common case after most white moves of a reflexmate)
// costs a look at Black's few men instead of every move and its check test.
#pragma once

#include "core/position.h"

namespace kv {

// The position with its ranks mirrored and its colours swapped: the men,
// the king squares, the sets of men, the castling counters and the force
// flags of the side that is now Black. A square s of `pos` is
// TurnedSquare(s) of the result.
void TurnOver(const Position& pos, Position& turned);
int TurnedSquare(int square);

// -1 when a black man attacks the white king (White's last move
// lastFrom-lastTo was illegal); 1 when some legal black move mates White;
// else 0, also without a white king. `hint` is the turned square pair of
// the last mate found, which steers the next scan (its value changes only
// the speed).
int FindBlackMateInOne(const Position& pos, int lastFrom, int lastTo, Move& hint);

}  // namespace kv
