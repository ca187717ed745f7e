// A helpmate solution as the checked data writes it ("1.Kd4-c4 d2*e3
// 2.d5-d4 Se4-d2 + 3.Kc4-d5 e3-e4 #", White first after "1...") turned into
// this program's long texts in playing order: no move numbers, no check or
// mate signs, "x" for "*", castling with letters. Shared by the tests that
// compare solutions with the checked data.
#pragma once

#include <sstream>
#include <string>

namespace kv::testing {

inline std::string PlainSolution(const std::string& solution) {
  std::stringstream tokens(solution);
  std::string token, plain;
  while (tokens >> token) {
    const std::size_t start = token.find_first_not_of("0123456789.");
    if (start == std::string::npos || token == "+" || token == "#") continue;
    // Castling is written with zeros, which the number prefix would eat.
    if (token.find("0-0") != std::string::npos)
      token = token.find("0-0-0") != std::string::npos ? "O-O-O" : "O-O";
    else
      token = token.substr(start);
    for (char& c : token)
      if (c == '*') c = 'x';
    plain += (plain.empty() ? "" : " ") + token;
  }
  return plain;
}

}  // namespace kv::testing
