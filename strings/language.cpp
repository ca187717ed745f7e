// Placeholder tables until the full string tables land: enough for the rules
// core and the solver to run in English, with the letter strings of all four
// built-in languages.
#include "strings/language.h"

#include <array>
#include <string_view>

namespace kv {
namespace {

constexpr std::array<std::string_view, 17> kEnglishParts = {
    "threat",       "waiting",     "But",         "Mate:",
    "But Draw!",    " Mate in 1",  "Solution:",   "Try:",
    "Set Play:",    "No solution", "Searching solution", "Search completed",
    "Analyzing",    "User break",  "Changed position",   "Dubious position",
    "Invalid position"};

std::string_view Letters(int base, int n) {
  const int index = base / 256;
  constexpr std::array<std::string_view, 4> board = {
      " TDFCPR   rpcfdt", " RQBSPK   kpsbqr", " TDACPR   rpcadt", " TDACPR   rpcadt"};
  constexpr std::array<std::string_view, 4> notation = {
      " TDFCPR   RPCFDT", " RQBSPK   KPSBQR", " TDACPR   RPCADT", " TDACPR   RPCADT"};
  if (index < 0 || index > 3) return n == 41 ? board[1] : notation[1];
  return n == 41 ? board[index] : notation[index];
}

}  // namespace

std::string LoadMessage(const Language& language, int n) {
  if (n == 41 || n == 42) return std::string(Letters(language.base, n));
  return {};
}

std::string MessagePart(const Language&, int position) {
  if (position < 0 || position >= static_cast<int>(kEnglishParts.size())) return {};
  return std::string(kEnglishParts[position]);
}

}  // namespace kv
