#include "app/board_editing.h"

#include <algorithm>

#include "core/rules.h"
#include "solver/board_operations.h"

namespace kv::app {

PieceCode CyclePiece(PieceCode code, int step) {
  const auto it = std::find(BoxMen.begin(), BoxMen.end(), code);
  const int n = static_cast<int>(BoxMen.size());
  if (it == BoxMen.end()) return step > 0 ? BoxMen.front() : BoxMen.back();
  const int i = static_cast<int>(it - BoxMen.begin());
  return BoxMen[(i + step % n + n) % n];
}

bool TypedLetterPiece(std::string_view boardLetters, char letter, PieceCode code,
                      PieceCode& result) {
  const std::size_t limit = std::min<std::size_t>(boardLetters.size(), 16);
  const std::size_t i = boardLetters.substr(0, limit).find(letter);
  if (i == std::string_view::npos) return false;
  // The blank is found at position 0 before the blanks between the colours.
  if (i == 0) {
    result = Empty;
    return true;
  }
  const auto typed = static_cast<PieceCode>(i);
  result = code == typed ? static_cast<PieceCode>(16 - typed) : typed;
  return true;
}

BoardCursor MoveCursor(BoardCursor c, CursorKey key) {
  switch (key) {
    case CursorKey::Up:
      --c.row;
      break;
    case CursorKey::Down:
      ++c.row;
      break;
    case CursorKey::Left:
      --c.column;
      break;
    case CursorKey::Right:
      ++c.column;
      break;
    case CursorKey::Home:
      return {0, 0};
    case CursorKey::End:
      return {7, 7};
  }
  if (c.row < 0) {
    c.row = 7;
    c.column = c.column == 0 ? 7 : c.column - 1;
  } else if (c.column < 0) {
    c.column = 7;
    c.row = c.row == 0 ? 7 : c.row - 1;
  } else if (c.row > 7) {
    c.row = 0;
    c.column = c.column == 7 ? 0 : c.column + 1;
  } else if (c.column > 7) {
    c.column = 0;
    c.row = c.row == 7 ? 0 : c.row + 1;
  }
  return c;
}

MenCount CountMen(const Board& board) {
  MenCount count;
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const PieceCode code = board[SquareAt(column, row)];
      if (code >= 1 && code <= 7) ++count.white;
      if (code > 8) ++count.black;
    }
  }
  return count;
}

Board EmptyBoard() {
  Board board{};
  ClearBoard(board);
  return board;
}

}  // namespace kv::app
