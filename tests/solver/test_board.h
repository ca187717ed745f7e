// A board from the piece field of a FEN line, for the solver's tests.
#pragma once

#include <cctype>
#include <string_view>

#include "core/position.h"

namespace kv::test {

inline Board BoardFromFen(std::string_view fen) {
  Board board;
  board.fill(OffBoard);
  for (int row = 2; row <= 9; ++row)
    for (int col = 2; col <= 9; ++col) board[row * 10 + col] = Empty;
  int row = 2;
  int col = 2;
  for (char ch : fen) {
    if (ch == ' ') break;
    if (ch == '/') {
      ++row;
      col = 2;
    } else if (std::isdigit(static_cast<unsigned char>(ch))) {
      col += ch - '0';
    } else {
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      const std::string_view kinds = " rqbnpk";
      const int white = static_cast<int>(kinds.find(lower));
      const bool black = std::islower(static_cast<unsigned char>(ch));
      if (white > 0 && row <= 9 && col <= 9)
        board[row * 10 + col] = static_cast<std::int8_t>(black ? 16 - white : white);
      ++col;
    }
  }
  return board;
}

// A square from its name, "e4".
constexpr int Sq(const char* name) {
  return (10 - (name[1] - '0')) * 10 + (name[0] - 'a') + 2;
}

}  // namespace kv::test
