// The board field of a FEN line ("rnbqkbnr/pppppppp/8/..."), read into the
// padded board, and written back from it.
#pragma once

#include <string>
#include <string_view>

#include "core/position.h"

namespace kv {

// Clears `board` and places the men of a FEN board field: eight ranks from
// the eighth down, separated by '/', letters KQRBNP for White and kqrbnp for
// Black, digits 1..8 for empty squares. On failure returns false, leaves the
// board cleared and, when `error` is given, says what is wrong.
bool ParseFenBoard(std::string_view field, Board& board, std::string* error);

// A FEN line: the board field, then optionally the side to move ("w" or "b";
// White when absent). Further fields are ignored.
bool ParseFen(std::string_view line, Board& board, bool& whiteToMove, std::string* error);

// The board field of the position.
std::string FenBoardField(const Board& board);

}  // namespace kv
