#include "collections/problem_type_text.h"

namespace kv {
namespace {

constexpr std::string_view KindLetters = "dhsr";

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool ParseProblemType(std::string_view text, ProblemType& type) {
  text = Trim(text);
  ProblemType parsed;
  parsed.kind = KindDirect;
  parsed.flags = 0;
  if (text == "+" || text == "=") {
    parsed.moves = 0;
    if (text == "=") parsed.flags = FlagStalemate;
    type = parsed;
    return true;
  }
  const std::size_t goal = text.find_first_of("#=");
  if (goal == std::string_view::npos || goal > 2) return false;
  // Before the goal: an optional series "s", then an optional kind letter.
  std::string_view prefix = text.substr(0, goal);
  if (prefix.size() == 2) {
    if (prefix[0] != 's') return false;
    parsed.flags |= FlagSeries;
    prefix.remove_prefix(1);
  }
  if (prefix.size() == 1) {
    const std::size_t kind = KindLetters.find(prefix[0]);
    if (kind == std::string_view::npos) return false;
    parsed.kind = static_cast<std::uint8_t>(kind);
  }
  if (text[goal] == '=') parsed.flags |= FlagStalemate;
  std::string_view rest = text.substr(goal + 1);
  int moves = 0;
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && moves <= 255) {
    moves = moves * 10 + (rest[digits] - '0');
    ++digits;
  }
  if (digits == 0 || moves < 1 || moves > 255) return false;
  parsed.moves = static_cast<std::uint8_t>(moves);
  rest.remove_prefix(digits);
  // The marks, each after a blank.
  while (!rest.empty()) {
    if (rest.front() != ' ') return false;
    rest = Trim(rest);
    const std::size_t end = rest.find(' ');
    const std::string_view mark = rest.substr(0, end);
    if (mark == "max" && !(parsed.flags & FlagMaximum)) {
      parsed.flags |= FlagMaximum;
    } else if (mark == "W" && parsed.kind == KindHelp && !(parsed.flags & FlagWhiteBegins)) {
      parsed.flags |= FlagWhiteBegins;
    } else {
      return false;
    }
    rest.remove_prefix(mark.size());
  }
  type = parsed;
  return true;
}

}  // namespace kv
