#include "core/fen.h"

#include "core/rules.h"

namespace kv {
namespace {

constexpr std::string_view kFenLetters = " RQBNPK   kpnbqr";

int CodeOfLetter(char c) {
  if (c == ' ') return -1;
  const auto at = kFenLetters.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool Fail(Board& board, std::string* error, std::string message) {
  ClearBoard(board);
  if (error) *error = std::move(message);
  return false;
}

}  // namespace

bool ParseFenBoard(std::string_view field, Board& board, std::string* error) {
  ClearBoard(board);
  int rank = 0;  // 0 is the eighth rank
  int file = 0;
  auto overfull = [&] {
    return Fail(board, error, "rank " + std::to_string(8 - rank) + " holds more than 8 squares");
  };
  for (char c : field) {
    if (c == '/') {
      if (file != 8) {
        return Fail(board, error, "rank " + std::to_string(8 - rank) + " does not hold 8 squares");
      }
      if (++rank > 7) return Fail(board, error, "more than 8 ranks");
      file = 0;
      continue;
    }
    if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return overfull();
      continue;
    }
    const int code = CodeOfLetter(c);
    if (code < 0) return Fail(board, error, std::string("unexpected character '") + c + "'");
    if (file >= 8) return overfull();
    board[22 + 10 * rank + file] = static_cast<std::int8_t>(code);
    ++file;
  }
  if (rank != 7 || file != 8)
    return Fail(board, error, "the board field needs 8 ranks of 8 squares");
  return true;
}

bool ParseFen(std::string_view line, Board& board, bool& whiteToMove, std::string* error) {
  auto skipBlanks = [&line] {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  };
  auto takeField = [&line] {
    const auto end = line.find_first_of(" \t");
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(field.size());
    return field;
  };
  skipBlanks();
  const std::string_view boardField = takeField();
  if (!ParseFenBoard(boardField, board, error)) return false;
  skipBlanks();
  const std::string_view side = takeField();
  if (side.empty() || side == "w") {
    whiteToMove = true;
  } else if (side == "b") {
    whiteToMove = false;
  } else {
    return Fail(board, error, "side to move must be 'w' or 'b', not '" + std::string(side) + "'");
  }
  return true;
}

std::string FenBoardField(const Board& board) {
  std::string text;
  for (int row = 2; row <= 9; ++row) {
    int empty = 0;
    for (int column = 2; column <= 9; ++column) {
      const int code = board[10 * row + column];
      const char letter = code > 0 && code < 16 ? kFenLetters[code] : ' ';
      if (letter == ' ') {
        ++empty;
        continue;
      }
      if (empty > 0) text += static_cast<char>('0' + empty);
      empty = 0;
      text += letter;
    }
    if (empty > 0) text += static_cast<char>('0' + empty);
    if (row < 9) text += '/';
  }
  return text;
}

}  // namespace kv
