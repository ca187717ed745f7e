// Twins that change the stipulation: each twin is solved as the problem of
// its own type would be alone, with the options of its own kind, whatever
// the twins before it were. A helpmate twin used to leave the actual play
// off, and a selfmate twin after it showed no solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/twins.h"

namespace kv {
namespace {

// A sound selfmate (1. e8=B!) that is also a direct mate, a helpmate and a
// helpstalemate in two.
constexpr const char* kBoard = "7n/2p1Pp2/2PppRp1/2pk2P1/B1Np4/3Kp3/4P3/8";

std::string Solve(const char* stipulation, const std::string& twins) {
  auto pos = std::make_unique<Position>();
  EXPECT_TRUE(ParseFenBoard(kBoard, pos->board, nullptr));
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stipulation, type)) << stipulation;
  // As the program has the options when the problem is shown.
  SolveOptions options;
  SwitchOptionsToKind(options, type.kind);
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{*pos, type, options, twins, language, ui};
  return SolveEntry(*solver, env, type.moves);
}

TwinEntry TypeChange(const char* stipulation) {
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stipulation, type)) << stipulation;
  return {TwinChangeType, false, type.kind | type.flags, type.moves, 0};
}

std::string Heading(int letter, const std::string& stipulation) {
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stipulation, type));
  return std::string(1, static_cast<char>('a' + letter)) + ") " + FormatProblemType(type);
}

TEST(TwinSequence, EveryOrderOfKindsSolvesEachTwinAsAlone) {
  std::vector<std::string> kinds = {"#2", "h#2", "h=2", "s#2"};  // in sorted order
  std::map<std::string, std::string> alone;
  for (const std::string& kind : kinds) alone[kind] = Solve(kind.c_str(), "");
  // The selfmate is sound: its key is there when it is solved alone.
  EXPECT_NE(alone["s#2"].find("Solution: 1. e8=B!"), std::string::npos) << alone["s#2"];
  int orders = 0;
  do {
    std::vector<TwinEntry> entries;
    std::string expected;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      entries.push_back(TypeChange(kinds[i].c_str()));
      expected += "\r\n" + Heading(static_cast<int>(i), kinds[i]) + alone[kinds[i]];
    }
    const std::string twins = BuildTwinsField(false, entries.data(), 4);
    // The problem's own type is the first twin's; the others change it.
    EXPECT_EQ(Solve(kinds[0].c_str(), twins), expected)
        << kinds[0] << " " << kinds[1] << " " << kinds[2] << " " << kinds[3];
    ++orders;
  } while (std::next_permutation(kinds.begin(), kinds.end()));
  EXPECT_EQ(orders, 24);
}

}  // namespace
}  // namespace kv
