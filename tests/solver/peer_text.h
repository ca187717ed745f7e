// The independent solver's texts of the checked problem set
// (tests/solver/peer/) and this program's text in the peer's notation, for
// the tests that compare the two.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv::test {

inline std::string Trim(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' ');
  const std::size_t b = s.find_last_not_of(" \r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// The peer's whole text; a missing or empty file fails the test, so that no
// comparison passes for want of anything to compare.
inline std::string PeerText(const std::string& id) {
  const std::string path = KESTROVALE_SOURCE_DIR "/tests/solver/peer/" + id + ".txt";
  std::ifstream in(path);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (text.str().empty()) ADD_FAILURE() << "no peer text " << path;
  return text.str();
}

// The moves of a group as the writer joins them ("Rf6-f7/f8/*f2, Bb5-d3")
// into whole moves, each then put into the form the caller compares.
inline std::vector<std::string> ExpandGroup(const std::string& group,
                                            std::string (*compared)(std::string)) {
  std::vector<std::string> moves;
  std::stringstream tokens(group);
  std::string token;
  while (std::getline(tokens, token, ',')) {
    std::stringstream parts(Trim(token));
    std::string part, prefix;
    while (std::getline(parts, part, '/')) {
      if (prefix.empty()) {
        // The man's letter (not for a pawn) and its from square.
        prefix = part.substr(0, std::string("KQRBS").find(part[0]) != std::string::npos ? 3 : 2);
        moves.push_back(compared(part));
      } else {
        std::string move = prefix;
        if (part[0] != '*') move += '-';
        moves.push_back(compared(move + part));
      }
    }
  }
  return moves;
}

// The option digits that bring this program's text nearest the peer's
// layout: actual play, variations with duals and separators, long notation,
// "1..." and "*" for captures.
inline constexpr char kPeerLayout[] = "001111001110000012";

// This program's text of a problem, solved with the options the digits give
// for its kind.
inline std::string SolveWithDigits(const char* fen, const char* stip, const char* digits) {
  auto pos = std::make_unique<Position>();
  EXPECT_TRUE(ParseFenBoard(fen, pos->board, nullptr)) << fen;
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stip, type)) << stip;
  SolveOptions options;
  for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
  options[Option::Kind] = type.kind;
  SwitchOptionsToKind(options, type.kind);
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{*pos, type, options, "", language, ui};
  return SolveEntry(*solver, env, type.moves);
}

}  // namespace kv::test
