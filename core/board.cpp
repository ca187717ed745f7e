#include "core/rules.h"
#include "core/tables.h"

namespace kv {

void ClearBoard(Board& board) {
  board.fill(OffBoard);
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    if (IsSquare(s)) board[s] = Empty;
  }
}

}  // namespace kv
