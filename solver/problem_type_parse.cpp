// Reading a type text back: the inverse of FormatProblemType.
#include "solver/problem_type.h"

namespace kv {

bool ParseProblemType(std::string_view text, ProblemType& type) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text == "+" || text == "=") {
    type.moves = 0;
    type.kind = KindDirect;
    type.flags = text == "=" ? FlagStalemate : 0;
    return true;
  }
  std::uint8_t flags = 0;
  // The written form of a series play: "ser-h#5".
  const bool writtenSeries = text.substr(0, 4) == "ser-";
  if (writtenSeries) {
    flags |= FlagSeries;
    text.remove_prefix(4);
  }
  const std::size_t goal = text.find_first_of("#=");
  if (goal == std::string_view::npos || goal > (writtenSeries ? 1u : 2u)) return false;
  std::string_view prefix = text.substr(0, goal);
  // Two characters: the series mark, then the kind letter (blank: direct).
  if (prefix.size() == 2) {
    if (prefix[0] != 's') return false;
    flags |= FlagSeries;
    prefix.remove_prefix(1);
  }
  int kind = KindDirect;
  if (!prefix.empty()) {
    switch (prefix[0]) {
      case ' ':
      case 'd':
        kind = KindDirect;
        break;
      case 'h':
        kind = KindHelp;
        break;
      case 's':
        kind = KindSelf;
        break;
      case 'r':
        kind = KindReflex;
        break;
      default:
        return false;
    }
  }
  if (text[goal] == '=') flags |= FlagStalemate;
  std::size_t pos = goal + 1;
  int moves = 0;
  const std::size_t digitsStart = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - digitsStart < 3) {
    moves = moves * 10 + (text[pos] - '0');
    ++pos;
  }
  if (pos == digitsStart) return false;
  // The written form of a helpmate in which White begins: "h#2.5" is three
  // white moves and two black ones, "h#0.5" White's mate alone.
  if (text.substr(pos, 2) == ".5") {
    if (kind != KindHelp || (flags & FlagSeries)) return false;
    flags |= FlagWhiteBegins;
    ++moves;
    pos += 2;
  }
  if (moves < 1 || moves > 255) return false;
  // The marks that may follow, each after a blank.
  std::string_view rest = text.substr(pos);
  while (!rest.empty()) {
    if (rest.front() != ' ') return false;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.substr(0, 3) == "max" && !(flags & FlagMaximum)) {
      flags |= FlagMaximum;
      rest.remove_prefix(3);
    } else if ((rest.substr(0, 1) == "W" || rest.substr(0, 1) == "w") && kind == KindHelp &&
               !(flags & FlagWhiteBegins)) {
      flags |= FlagWhiteBegins;
      rest.remove_prefix(1);
    } else {
      return false;
    }
  }
  type.moves = static_cast<std::uint8_t>(moves);
  type.kind = static_cast<std::uint8_t>(kind);
  type.flags = flags;
  return true;
}

}  // namespace kv
