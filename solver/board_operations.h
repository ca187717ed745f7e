// The whole-board operations of the board window and of twins: clear and
// restore, one-step shifts (plain and toroidal), mirrors, the quarter turn
// and the colour swap. They work on the 64 squares in place and leave the
// border cells alone (except Clear, which rebuilds them).
#pragma once

#include "core/position.h"

namespace kv {

inline constexpr int OpClear = 0;
inline constexpr int OpRestore = 1;
inline constexpr int OpShiftDown = 2;
inline constexpr int OpMirrorFiles = 3;  // a <-> h
inline constexpr int OpShiftLeft = 4;
inline constexpr int OpRotate90 = 5;  // clockwise: a1 -> a8 -> h8
inline constexpr int OpShiftRight = 6;
inline constexpr int OpSwapColours = 7;
inline constexpr int OpShiftUp = 8;
inline constexpr int OpMirrorRanks = 9;  // rank 8 <-> rank 1
inline constexpr int OpToroidal = 10;    // added to 2, 4, 6, 8: the leaving line re-enters opposite

// Applies operation n (0..9, 12, 14, 16, 18). Clear first copies the board to
// `backup`; Restore copies `backup` back. Returns false, board untouched, for
// any other n. Redrawing and marking the solution stale are the caller's.
bool BoardOperation(Board& board, Board& backup, int operation);

// The board's square at column c (0 = file a) and row r (0 = rank 8).
constexpr SquareIndex SquareAt(int column, int row) {
  return (row + 2) * 10 + column + 2;
}

}  // namespace kv
