// The board window's edits without the window: the "+"/"-" cycle, typed
// letters, keyboard moves with wrapping and the men count. Columns count
// from file a, rows from rank 8, as the board is drawn.
#pragma once

#include <array>
#include <string_view>

#include "core/position.h"

namespace kv::app {

// The piece box's twelve men, row by row (K Q R N B P, k q r n b p); the
// same order is the cycle of the "+" and "-" keys.
inline constexpr std::array<PieceCode, 12> BoxMen = {
    WhiteKing, WhiteQueen, WhiteRook, WhiteKnight, WhiteBishop, WhitePawn,
    BlackKing, BlackQueen, BlackRook, BlackKnight, BlackBishop, BlackPawn};

// The man after "+" (step 1) or "-" (step -1). An empty square, or any code
// outside the cycle, becomes K for "+" and p for "-".
PieceCode CyclePiece(PieceCode code, int step);

// The man after typing `letter` on a square holding `code`, looked up
// case-sensitively in the board letters (16 characters by PieceCode). The
// blank empties the square; a man's letter puts that man, or the same man of
// the other colour when it is there already. False: not a board letter.
bool TypedLetterPiece(std::string_view boardLetters, char letter, PieceCode code,
                      PieceCode& result);

// A square of the board as the keyboard moves over it.
struct BoardCursor {
  int column = 0;
  int row = 0;
  bool operator==(const BoardCursor&) const = default;
};

enum class CursorKey { Up, Down, Left, Right, Home, End };

// One keyboard step. Leaving the board wraps: above the top row to the
// bottom of the column to the left, left of file a to file h of the row
// above, below the bottom row to the top of the column to the right, right
// of file h to file a of the row below (each from the opposite corner at the
// ends), so that Up from a8 reaches h1.
BoardCursor MoveCursor(BoardCursor cursor, CursorKey key);

// The men on the 64 squares: white codes 1..7, black above 8.
struct MenCount {
  int white = 0;
  int black = 0;
};
MenCount CountMen(const Board& board);

// An empty board with its border intact.
Board EmptyBoard();

}  // namespace kv::app
