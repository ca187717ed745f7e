// Cheap bounds of a series search: counts of the moves the goal needs at
// least, asked before a position's moves are walked. Each answer false
// proves that no series of the moves left reaches the goal; true proves
// nothing.
#pragma once

#include "core/position.h"
#include "solver/series_search.h"

namespace kv {

// Whether the series side, to move in `pos` with `movesLeft` series moves
// (1..255), may still reach the goal of `rules`.
bool SeriesGoalPossible(const Position& pos, const SeriesRules& rules, int movesLeft);

// Series helpstalemate: whether Black, to move with `blackMoves` moves left
// before White's one move, may still be stalemated. In the end every square
// next to the black king holds a black man or is attacked by White; White
// attacks no more than its men attack on an empty board, one of them after
// one move, and each square to be blocked costs the fewest moves of some
// black man to reach it. The king's own steps are counted too.
bool HelpStalematePossible(const Position& pos, int blackMoves);
// The count itself: the fewest black moves it finds (255 for none), or
// limit + 1 when that is more than `limit` (a count that stops there looks
// at the squares near the king only).
int HelpStalemateMoves(const Position& pos, int limit = 254);

// Series helpstalemate, a second test: in the stalemate every black man is
// stuck. Each man free now moves (a move of its own), or stays walled in
// (black men arrive on the squares it could go to, and on those its
// neighbours leave), or is the one man White's last move takes or stops,
// or one pinned by a white line man; the king walks to a square whose free
// neighbours White may attack or black men fill. Whether some such choice
// fits in `blackMoves` moves; false proves that no stalemate does.
bool HelpStalemateStuckMenFit(const Position& pos, int blackMoves);

}  // namespace kv
