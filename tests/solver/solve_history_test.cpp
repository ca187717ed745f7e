// A solve's text depends on the problem and the options alone: a solver that
// has just solved other problems (as the window's solver has, and each worker
// of a collection check) writes the same bytes as a fresh one. The searches
// keep killers between calls; a new solve must not start from the last one's.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "tab_fields.h"
#include "tests/common/case_share.h"

namespace kv {
namespace {

struct Problem {
  std::string id, stipulation, fen;
};

// Every problem of the search test data, and helpmates with shorter
// solutions, whose text is the one that depends on the order of the replies
// a search tries first.
std::vector<Problem> Problems() {
  std::vector<Problem> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/search_problems.tsv");
  EXPECT_TRUE(in.good());
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells = kv::test::TabFields(line);
    // Two- and three-movers but the slow h#3s, which keeps the test short
    // under the sanitizers; the constructed helpmates below stand for them.
    if (cells.size() < 3 || cells[1].find_first_of("456") != std::string::npos) continue;
    if (cells[1].rfind("h#3", 0) == 0) continue;
    rows.push_back({cells[0], cells[1], cells[2]});
  }
  rows.push_back({"cooked h#2", "h#2", "n5Q1/8/8/8/6N1/K7/8/k7"});
  rows.push_back({"short h#3", "h#3", "k7/8/1K6/8/8/8/8/6Q1"});
  rows.push_back({"short h#3 W", "h#3 W", "n5Q1/8/8/8/6N1/K7/8/1k6"});
  return rows;
}

std::string Solve(Solver& solver, const Problem& problem) {
  Position pos;
  ProblemType type;
  SolveOptions options{};
  Language language;
  UiCallbacks ui;
  ui.messageBox = [](const std::string&, const std::string&, int) { return IdOk; };
  EXPECT_TRUE(ParseFenBoard(problem.fen.c_str(), pos.board, nullptr)) << problem.id;
  EXPECT_TRUE(ParseProblemType(problem.stipulation.c_str(), type)) << problem.id;
  SwitchOptionsToKind(options, type.kind);
  options[Option::SetPlay] = 1;
  SolveEnvironment env{pos, type, options, "", language, ui};
  return SolveEntry(solver, env, type.moves);
}

TEST(SolveHistory, AUsedSolverWritesWhatAFreshOneWrites) {
  const std::vector<Problem> all = Problems();
  ASSERT_GT(all.size(), 10u);
  const std::vector<Problem> problems = test::CaseShare(2).Of(all);
  // Each problem after every other one, in both orders through the list.
  auto used = std::make_unique<Solver>();
  int compared = 0;
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < problems.size(); ++i) {
      const Problem& problem = problems[round == 0 ? i : problems.size() - 1 - i];
      auto fresh = std::make_unique<Solver>();
      EXPECT_EQ(Solve(*used, problem), Solve(*fresh, problem)) << problem.id << ", round " << round;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 2 * static_cast<int>(problems.size()));
}

}  // namespace
}  // namespace kv
