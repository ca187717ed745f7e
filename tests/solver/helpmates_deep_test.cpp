// Deeper helpmates of the checked set (tests/solver/data/helpmates-deep.tsv,
// with every solution an independent solver found): the solutions the
// search gives are exactly those. Only the problems that take well under a
// second in an optimised build are run here, so that the test stays quick
// under the sanitizers; an optimised build also runs every three-mover, and
// the deeper ones are left to the command-line tool.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "plain_solution.h"
#include "search_fixture.h"
#include "solver/problem_type.h"
#include "tab_fields.h"

namespace kv {
namespace {

using test::LongText;
using test::SearchWorld;

// The problems run, by id: those that take a tenth of a second or less in
// an optimised build.
constexpr std::array<std::string_view, 7> kQuickProblems = {
    "hm_ex54",       // h#3, a white queen promotion
    "hm_hpint_41a",  // h#4, two promotions on g8
    "hm_ex59",       // h#3, a checking knight
    "hm_hpint_51a",  // h#3, black bishop promotion, white queen promotion by capture
    "hm_ex22",       // h#3
    "hm_ex24",       // h#3
    "hm_ex84a",      // h#3
};

struct DeepHelpmate {
  std::string id, stipulation, fen, solutions;
};

std::vector<DeepHelpmate> LoadDeepHelpmates() {
  std::vector<DeepHelpmate> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/helpmates-deep.tsv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells = kv::test::TabFields(line);
    if (cells.size() < 4) continue;
    rows.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return rows;
}

using testing::PlainSolution;

std::set<std::string> ListedSolutions(const std::string& field) {
  std::set<std::string> solutions;
  std::stringstream parts(field);
  std::string part;
  while (std::getline(parts, part, ';'))
    if (!PlainSolution(part).empty()) solutions.insert(PlainSolution(part));
  return solutions;
}

// Every line of the variations of level k and below, as the driver walks
// them: each reply and White's answer, then the answer analysed one level
// lower, down to the mates.
void WalkSolutions(SearchWorld& world, int k, const std::string& prefix,
                   std::set<std::string>& out) {
  const VariationRecords lines = world.state->VariationList(k);
  for (int i = 0; i < lines.Count(); ++i) {
    const Move reply = lines.records[i].reply.move;
    const Move answer = lines.records[i].continuation.move;
    const std::string text = prefix + LongText(reply) + " " + LongText(answer);
    MakeMove(world.pos, reply);
    MakeMove(world.pos, answer);
    if (k == 2) {
      out.insert(text);
    } else {
      AnalyseMove(world.ctx, k - 1, answer, true);
      WalkSolutions(world, k - 1, text + " ", out);
    }
    UnmakeMove(world.pos, answer);
    UnmakeMove(world.pos, reply);
  }
}

std::set<std::string> Solve(const DeepHelpmate& problem) {
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(problem.stipulation, type)) << problem.id;
  SearchWorld world(problem.fen);
  SearchState& state = *world.state;
  world.options[Option::Variations] = 1;
  world.options[Option::DualizedVariations] = 1;
  std::set<std::string> solutions;
  if (type.flags & FlagWhiteBegins) {
    state.helpMode = HelpMode::WhiteBegins;
    if (world.RootSearch(type.moves, EveryReply) != type.moves) return solutions;
    const MoveRecords keys = state.KeyList(type.moves);
    for (int i = 0; i < keys.Count(); ++i) {
      MakeMove(world.pos, keys.records[i]);
      AnalyseMove(world.ctx, type.moves, keys.records[i], true);
      WalkSolutions(world, type.moves, LongText(keys.records[i]) + " ", solutions);
      UnmakeMove(world.pos, keys.records[i]);
    }
  } else {
    // Black begins: the null move first, as the driver plays it.
    state.helpMode = HelpMode::BlackBegins;
    state.topMoves = type.moves + 1;
    MakeMove(world.pos, NullMove);
    AnalyseMove(world.ctx, type.moves + 1, NullMove, true);
    WalkSolutions(world, type.moves + 1, "", solutions);
    UnmakeMove(world.pos, NullMove);
  }
  return solutions;
}

TEST(DeepHelpmates, TheDataReadsAsSolutions) {
  const std::vector<DeepHelpmate> problems = LoadDeepHelpmates();
  ASSERT_EQ(problems.size(), 68u);
  EXPECT_EQ(PlainSolution("1...Kf4-e4 2.Qh8-h2 Ke4-d5 3.0-0-0 + Kd5-c6 4.Qh2-b8 Sf5-e7 #"),
            "Kf4-e4 Qh8-h2 Ke4-d5 O-O-O Kd5-c6 Qh2-b8 Sf5-e7");
  EXPECT_EQ(PlainSolution("1.e7*f6 h6-h7 2.f6*e5 h7-h8=Q 3.e5*f4 Qh8-d4 #"),
            "e7xf6 h6-h7 f6xe5 h7-h8=Q e5xf4 Qh8-d4");
  EXPECT_EQ(ListedSolutions("1.a2-a1=S b2-b3 #;1.Kb4-c4 Sd2-b3 #").size(), 2u);
}

TEST(DeepHelpmates, EverySolutionOfTheQuickProblemsIsFound) {
  int run = 0;
  for (const DeepHelpmate& problem : LoadDeepHelpmates()) {
    bool quick = false;
    for (std::string_view id : kQuickProblems) quick = quick || id == problem.id;
    if (!quick) continue;
    ++run;
    EXPECT_EQ(Solve(problem), ListedSolutions(problem.solutions)) << problem.id;
  }
  EXPECT_EQ(run, static_cast<int>(kQuickProblems.size()));
}

#ifdef NDEBUG
// With the fast helpmate search every problem of the set takes a few
// seconds at most in an optimised build.
TEST(DeepHelpmates, EverySolutionOfEveryProblemIsFound) {
  int run = 0;
  for (const DeepHelpmate& problem : LoadDeepHelpmates()) {
    ++run;
    EXPECT_EQ(Solve(problem), ListedSolutions(problem.solutions)) << problem.id;
  }
  EXPECT_EQ(run, 68);
}
#endif

}  // namespace
}  // namespace kv
