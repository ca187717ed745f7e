// The result table of battle play: its answers by depth, its keys, and the
// proof that it changes no text: every problem of the test data and of the
// bench suite solved with the table off, on, and so small that it must
// replace entries, with several option sets, gives the same whole text; the
// runs with the table on search every hit again and abort on a difference.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "solver/problem_type.h"
#include "solver/search_internal.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "tests/common/case_share.h"

namespace kv {
namespace {

TEST(ResultTable, AnswersByDepth) {
  ResultTable table(64);
  table.Store(7, 3, 3);  // mate in three
  EXPECT_EQ(table.Find(7, 2).known, true);
  EXPECT_EQ(table.Find(7, 2).result, 0);  // none within two
  EXPECT_EQ(table.Find(7, 3).result, 3);
  EXPECT_EQ(table.Find(7, 5).result, 3);

  table.Store(9, 3, 0);  // nothing within three
  EXPECT_EQ(table.Find(9, 2).result, 0);
  EXPECT_TRUE(table.Find(9, 3).known);
  EXPECT_FALSE(table.Find(9, 4).known);  // deeper is unknown
  table.Store(9, 2, 0);                  // a shallower failure keeps the deeper one
  EXPECT_TRUE(table.Find(9, 3).known);

  table.Store(11, 4, -1);
  table.Store(13, 2, -2);
  EXPECT_EQ(table.Find(11, 6).result, -1);
  EXPECT_EQ(table.Find(13, 5).result, -2);
  EXPECT_FALSE(table.Find(7 + 64, 3).known);  // same slot, other position
}

// Keys 1, 65 and 129 share a pair of slots in a table of 64. The first slot
// keeps the deepest search; the second takes the newest answer.
TEST(ResultTable, ReplacesKeepingTheDeepestAndTurnsOff) {
  ResultTable table(100);  // rounded down to 64 slots
  table.Store(1, 5, 0);    // nothing within five: the deep answer
  table.Store(1 + 64, 2, 1);
  EXPECT_EQ(table.replacements.load(), 0u);
  EXPECT_TRUE(table.Find(1, 5).known);
  EXPECT_EQ(table.Find(1 + 64, 2).result, 1);
  table.Store(1 + 128, 3, 0);  // shallower than the first slot: replaces the second
  EXPECT_EQ(table.replacements.load(), 1u);
  EXPECT_TRUE(table.Find(1, 5).known);
  EXPECT_FALSE(table.Find(1 + 64, 2).known);
  EXPECT_TRUE(table.Find(1 + 128, 3).known);
  table.Store(1 + 64, 6, 2);  // as deep as any: takes the first slot
  EXPECT_EQ(table.replacements.load(), 2u);
  EXPECT_FALSE(table.Find(1, 5).known);
  EXPECT_EQ(table.Find(1 + 64, 6).result, 2);
  EXPECT_TRUE(table.Find(1 + 128, 3).known);
  table.Store(1 + 128, 2, 0);  // a shallower failure of a stored position keeps the deeper one
  EXPECT_TRUE(table.Find(1 + 128, 3).known);
  table.Clear();
  EXPECT_FALSE(table.Find(1 + 64, 6).known);
  ResultTable one(1);  // a single slot always takes the newest answer
  one.Store(3, 5, 0);
  one.Store(4, 2, 1);
  EXPECT_FALSE(one.Find(3, 5).known);
  EXPECT_EQ(one.Find(4, 2).result, 1);
  table.Resize(0);
  EXPECT_FALSE(table.Enabled());
  table.Store(5, 2, 1);
  EXPECT_FALSE(table.Find(5, 2).known);
}

Position PositionOf(const char* fen) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
  DerivePositionState(pos);
  return pos;
}

// Positions with the same men that differ in what may still happen must not
// share a key.
TEST(ResultTable, KeysTellRightsEnPassantMenAndModeApart) {
  using search_detail::ResultKey;
  Position castle = PositionOf("4k3/8/8/8/8/8/8/R3K2R");
  const std::uint64_t both = ResultKey(castle, SelfMode::None, 0, 0);
  castle.castlingCounters[A1Moves] = 1;
  EXPECT_NE(ResultKey(castle, SelfMode::None, 0, 0), both);
  castle.castlingCounters[A1Moves] = 0;
  castle.castlingCounters[WhiteKingMoves] = 2;
  EXPECT_NE(ResultKey(castle, SelfMode::None, 0, 0), both);

  // Black's pawn on d5 after a double step d7-d5 and after a single d6-d5.
  const Position ep = PositionOf("4k3/8/8/3pP3/8/8/8/4K3");
  const int d7 = 35, d6 = 45, d5 = 55;
  EXPECT_NE(ResultKey(ep, SelfMode::None, d7, d5), ResultKey(ep, SelfMode::None, d6, d5));
  // Another last move without a double step keys as none.
  EXPECT_EQ(ResultKey(ep, SelfMode::None, d6, d5), ResultKey(ep, SelfMode::None, 0, 0));

  const Position queen = PositionOf("3Q4/4k3/8/8/8/8/8/4K3");
  const Position knight = PositionOf("3N4/4k3/8/8/8/8/8/4K3");
  EXPECT_NE(ResultKey(queen, SelfMode::None, 0, 0), ResultKey(knight, SelfMode::None, 0, 0));

  EXPECT_NE(ResultKey(queen, SelfMode::None, 0, 0), ResultKey(queen, SelfMode::Self, 0, 0));
  EXPECT_NE(ResultKey(queen, SelfMode::Self, 0, 0), ResultKey(queen, SelfMode::Reflex, 0, 0));
}

struct Problem {
  std::string id;
  std::string stipulation;
  std::string fen;
};

// Reads the id, stipulation and board columns of a problem table; a missing
// or empty file fails the test.
std::vector<Problem> LoadProblems(const std::string& relative) {
  const std::string path = KESTROVALE_SOURCE_DIR "/" + relative;
  std::ifstream in(path);
  std::vector<Problem> problems;
  if (!in) {
    ADD_FAILURE() << "cannot read " << path;
    return problems;
  }
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::stringstream fields(line);
    Problem p;
    std::getline(fields, p.id, '\t');
    std::getline(fields, p.stipulation, '\t');
    std::getline(fields, p.fen, '\t');
    problems.push_back(p);
  }
  if (problems.empty()) ADD_FAILURE() << "no problems in " << path;
  return problems;
}

// Problems of four and more moves take minutes under the sanitizers: the
// Debug run stops at three-movers, the optimised one at five-movers (the
// six-mover alone takes a minute per run). KESTROVALE_IDENTITY_DEEP sets
// the deepest length (4, 5 or 6).
int DeepestMoves() {
  const char* deep = std::getenv("KESTROVALE_IDENTITY_DEEP");
#ifdef NDEBUG
  if (deep == nullptr) return 5;
#else
  if (deep == nullptr) return 3;
#endif
  const int moves = std::atoi(deep);
  return moves >= 6 ? 6 : moves <= 3 ? 3 : moves;
}

// A table configuration of the identity runs: its slots (0 off), whether
// every hit is searched again, and the threads of the key searches.
struct TableSetup {
  const char* name;
  std::size_t slots;
  bool verify;
  int threads;
};

constexpr TableSetup kSetups[] = {
    {"off", 0, false, 1},
    {"on", DefaultResultTableSlots, true, 1},
    {"tiny", 16, true, 1},
    {"two threads", DefaultResultTableSlots, true, 2},
    {"two threads, tiny", 16, true, 2},
};
constexpr int kCompared = static_cast<int>(std::size(kSetups)) - 1;

// The option sets: tries and set play as the bench solves; the kind's
// defaults; two refutations per try with dualized and non-defensive
// variations shown.
void ApplyOptionSet(int set, SolveOptions& options, int kind) {
  SwitchOptionsToKind(options, kind);
  if (set == 0) {
    options[Option::SetPlay] = 1;
    if (kind != KindHelp) {
      options[Option::TryRefutations] = 1;
      options[Option::ActualPlay] = 1;
    }
  } else if (set == 2 && kind != KindHelp) {
    options[Option::TryRefutations] = 2;
    options[Option::ActualPlay] = 1;
    options[Option::DualizedVariations] = 1;
    options[Option::NonDefensiveMoves] = 1;
    options.Of(OptionGroup::Tries, Option::DualizedVariations) = 1;
  }
}

TEST(ResultTable, SolutionTextsAreIdenticalWithAndWithoutTheTable) {
  std::vector<Problem> problems = LoadProblems("tests/solver/data/search_problems.tsv");
  const std::vector<Problem> suite = LoadProblems("bench/problems/suite.tsv");
  problems.insert(problems.end(), suite.begin(), suite.end());
  const test::CaseShare share(12);
  problems = share.Of(problems);

  const Language language;
  const UiCallbacks ui;
  // One solver per table setup, kept across all problems as the program keeps it.
  std::vector<std::unique_ptr<Solver>> solvers;
  for (const TableSetup& setup : kSetups) {
    solvers.push_back(std::make_unique<Solver>());
    solvers.back()->search.resultTable.Resize(setup.slots);
    solvers.back()->search.resultTable.verifyHits = setup.verify;
    solvers.back()->search.threads = setup.threads;
  }
  int compared = 0;
  int battle = 0;
  int solved = 0;
  for (const Problem& p : problems) {
    ProblemType type;
    ASSERT_TRUE(ParseProblemType(p.stipulation, type)) << p.id;
    if (type.moves > DeepestMoves()) continue;
    if (type.kind != KindHelp) ++battle;
    // Deeper problems take the first option set only, to keep the run short.
    const int sets = type.moves <= 2 || DeepestMoves() > 3 ? 3 : 1;
    solved += sets;
    for (int set = 0; set < sets; ++set) {
      std::string reference;
      for (std::size_t s = 0; s < solvers.size(); ++s) {
        Position pos;
        ASSERT_TRUE(ParseFenBoard(p.fen, pos.board, nullptr)) << p.id;
        ProblemType solveType = type;
        SolveOptions options;
        ApplyOptionSet(set, options, type.kind);
        std::string twins;
        SolveEnvironment env{pos, solveType, options, twins, language, ui};
        solvers[s]->solutionStale = true;
        const std::string text = SolveEntry(*solvers[s], env, type.moves);
        if (s == 0) {
          reference = text;
          EXPECT_FALSE(reference.empty()) << p.id;
        } else {
          EXPECT_EQ(text, reference)
              << p.id << " option set " << set << " table " << kSetups[s].name;
          ++compared;
        }
      }
    }
  }
  EXPECT_GE(battle, share.AtLeast(40));
  EXPECT_EQ(compared, solved * kCompared);
  const ResultTable& on = solvers[1]->search.resultTable;
  const ResultTable& tiny = solvers[2]->search.resultTable;
  EXPECT_GT(on.hits.load(), 0u);
  EXPECT_GT(tiny.replacements.load(), 0u);
  EXPECT_GT(solvers[3]->search.resultTable.hits.load(), 0u);
}

// Two threads storing and looking up the same few slots: a lookup finds the
// answer stored for its own key or nothing, never another key's answer or
// half of one.
TEST(ResultTable, ThreadsSharingTheTableReadOnlyWholeAnswers) {
  ResultTable table(64);
  std::atomic<int> wrong{0};
  auto keyOf = [](std::uint64_t n) { return (n % 4096 + 1) * 0x9E3779B97F4A7C15ull; };
  auto mateOf = [](std::uint64_t key) { return static_cast<int>(key >> 61) % 6 + 1; };
  auto work = [&](std::uint64_t seed) {
    for (std::uint64_t i = 0; i < 200000; ++i) {
      const std::uint64_t key = keyOf(seed + i * 7919);
      table.Store(key, 6, mateOf(key));
      const std::uint64_t probe = keyOf(i * 31 + seed);
      const ResultTable::Answer answer = table.Find(probe, 6);
      if (answer.known && answer.result != mateOf(probe)) ++wrong;
    }
  };
  std::thread helper(work, 1);
  work(2);
  helper.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(table.replacements.load(), 0u);
}

Problem ProblemById(const std::string& id) {
  for (const Problem& p : LoadProblems("bench/problems/suite.tsv"))
    if (p.id == id) return p;
  ADD_FAILURE() << "no problem " << id << " in the suite";
  return {};
}

std::string SolveText(Solver& solver, const Problem& p, const UiCallbacks& ui) {
  const Language language;
  Position pos;
  EXPECT_TRUE(ParseFenBoard(p.fen, pos.board, nullptr)) << p.id;
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(p.stipulation, type)) << p.id;
  SolveOptions options;
  ApplyOptionSet(0, options, type.kind);
  std::string twins;
  SolveEnvironment env{pos, type, options, twins, language, ui};
  solver.solutionStale = true;
  return SolveEntry(solver, env, type.moves);
}

// A break during a key search with two threads stops both, and what the
// table holds afterwards is exact: the same solver, asked again with every
// hit searched again, writes the text of a fresh single-threaded solver.
TEST(ResultTable, BreakStopsBothThreadsAndLeavesOnlyExactAnswers) {
  const Problem p = ProblemById("dm4_speckmann1967");
  const UiCallbacks quiet;
  Solver reference;
  reference.search.resultTable.Resize(0);
  const std::string expected = SolveText(reference, p, quiet);

  Solver solver;
  solver.search.threads = 2;
  int polls = 0;
  UiCallbacks breaking;
  breaking.breakPoll = [&polls] { return ++polls > 300; };
  SolveText(solver, p, breaking);
  EXPECT_EQ(solver.stop, SolveStop::UserBreak);
  const std::uint64_t stored = solver.search.resultTable.stores.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(solver.search.resultTable.stores.load(), stored) << "the helper still stores";

  solver.search.resultTable.verifyHits = true;
  EXPECT_EQ(SolveText(solver, p, quiet), expected);
}

// A solve's state makes its tables when a search first needs them: a solve
// of a two-mover or a helpmate neither allocates nor touches the table of
// the other kind (32 MB in all), and a table turned off stays off.
TEST(ResultTable, EachTableIsMadeByTheFirstSearchThatUsesIt) {
  const UiCallbacks quiet;
  Solver solver;
  solver.search.threads = 1;
  EXPECT_FALSE(solver.search.resultTable.Made());
  EXPECT_FALSE(solver.search.helpFast.table.Made());

  EXPECT_FALSE(SolveText(solver, ProblemById("hm2_forsberg1935"), quiet).empty());
  EXPECT_EQ(solver.search.helpFast.table.Slots(), DefaultHelpTableSlots);
  EXPECT_FALSE(solver.search.resultTable.Made());

  const Problem threeMover = ProblemById("dm3_giegold1932");
  const std::string text = SolveText(solver, threeMover, quiet);
  EXPECT_TRUE(solver.search.resultTable.Made());
  EXPECT_GT(solver.search.resultTable.stores.load(), 0u);

  Solver without;
  without.search.threads = 2;
  without.search.resultTable.Resize(0);
  EXPECT_EQ(SolveText(without, threeMover, quiet), text);
  EXPECT_FALSE(without.search.resultTable.Enabled());
  EXPECT_EQ(without.search.resultTable.stores.load(), 0u);

  // Before it is made a table knows nothing and keeps nothing.
  ResultTable deferred(DefaultResultTableSlots, ResultTable::Deferred{});
  deferred.Store(12345, 3, 2);
  EXPECT_FALSE(deferred.Find(12345, 3).known);
  HelpTable help(DefaultHelpTableSlots, HelpTable::Deferred{});
  help.Store(12345, 3, true);
  help.StoreIllegal(678);
  EXPECT_EQ(help.Find(12345, 3), HelpTable::Known::Nothing);
  // Made for a short walk its pages are written as used; a walk two
  // threads share then has them all written, the answers kept.
  help.Make(false);
  EXPECT_EQ(help.Slots(), DefaultHelpTableSlots);
  help.Store(12345, 3, true);
  help.Store(DefaultHelpTableSlots - 1, 2, false);
  help.Make(true);
  EXPECT_EQ(help.Slots(), DefaultHelpTableSlots);
  EXPECT_EQ(help.Find(12345, 3), HelpTable::Known::Mate);
  EXPECT_EQ(help.Find(DefaultHelpTableSlots - 1, 2), HelpTable::Known::NoMate);
}

}  // namespace
}  // namespace kv
