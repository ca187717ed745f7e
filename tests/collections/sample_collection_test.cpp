// The sample collection that ships with the program: every problem in it is
// a published one of the checked sets, and the program solves each as those
// sets say (the key of a direct mate or selfmate, every solution of a
// helpmate).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "collections/problem_file.h"
#include "collections/soundness_run.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "tests/solver/plain_solution.h"
#include "tests/solver/search_fixture.h"
#include "tests/solver/tab_fields.h"

namespace kv {
namespace {

using test::LongText;
using test::SearchWorld;

constexpr const char* kSamplePath = KESTROVALE_SOURCE_DIR "/resources/samples/sample.kvl";

struct SampleProblem {
  int number = 0;
  std::string fen, stipulation, authors, source;
};

std::vector<SampleProblem> LoadSample() {
  std::vector<SampleProblem> problems;
  for (int number = 1;; ++number) {
    CurrentProblem problem;
    Board board{};
    if (!LoadProblemNumber(kSamplePath, number, problem, board)) break;
    std::string stipulation = FormatProblemType(problem.type);
    stipulation.erase(0, stipulation.find_first_not_of(' '));
    problems.push_back(
        {number, FenBoardField(board), stipulation, problem.authors, problem.source});
  }
  EXPECT_GE(problems.size(), 30u) << "problems of " << kSamplePath;
  return problems;
}

// What the checked sets say of one board: the stipulation, the key (direct
// mates and selfmates) or the helpmate solutions, and the notation of those
// solutions (short for the first set, long for the deeper helpmates).
struct Expected {
  std::string id, stipulation, key;
  std::set<std::string> solutions;
  bool longNotation = false;
};

std::vector<std::vector<std::string>> ReadRows(const std::string& path, std::size_t columns) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells = kv::test::TabFields(line);
    if (cells.size() < columns) continue;
    rows.push_back(cells);
  }
  EXPECT_FALSE(rows.empty()) << path;
  return rows;
}

std::set<std::string> SplitOn(const std::string& field, char separator) {
  std::set<std::string> parts;
  std::stringstream in(field);
  std::string part;
  while (std::getline(in, part, separator)) {
    while (!part.empty() && part.front() == ' ') part.erase(0, 1);
    if (!part.empty()) parts.insert(part);
  }
  return parts;
}

using testing::PlainSolution;

std::map<std::string, Expected> LoadExpected() {
  std::map<std::string, Expected> byBoard;
  for (const auto& row : ReadRows(KESTROVALE_SOURCE_DIR "/tests/collections/data/checked.tsv", 4)) {
    Expected& e = byBoard[row[2]];
    e.id = row[0];
    e.stipulation = row[1];
    e.key = row[3];
    if (row.size() > 5) e.solutions = SplitOn(row[5], ';');
  }
  for (const auto& row :
       ReadRows(KESTROVALE_SOURCE_DIR "/tests/solver/data/helpmates-deep.tsv", 4)) {
    if (byBoard.count(row[2]) != 0) continue;
    Expected& e = byBoard[row[2]];
    e.id = row[0];
    e.stipulation = row[1];
    e.longNotation = true;
    for (const std::string& solution : SplitOn(row[3], ';'))
      e.solutions.insert(PlainSolution(solution));
  }
  return byBoard;
}

// Black's replies and White's answers of level k, walked down to the mates
// as the solve driver writes them.
void WalkSolutions(SearchWorld& world, int k, bool longNotation, const std::string& prefix,
                   std::set<std::string>& out) {
  const VariationRecords lines = world.state->VariationList(k);
  for (int i = 0; lines.records[i].reply.move.from != 0; ++i) {
    const Move reply = lines.records[i].reply.move;
    const Move answer = lines.records[i].continuation.move;
    std::string text = prefix + (longNotation ? LongText(reply) : world.ShortText(reply, false));
    MakeMove(world.pos, reply);
    text += " " + (longNotation ? LongText(answer) : world.ShortText(answer, true));
    MakeMove(world.pos, answer);
    if (k == 2) {
      out.insert(text);
    } else {
      AnalyseMove(world.ctx, k - 1, answer, true);
      WalkSolutions(world, k - 1, longNotation, text + " ", out);
    }
    UnmakeMove(world.pos, answer);
    UnmakeMove(world.pos, reply);
  }
}

// The helpmate solutions, Black beginning: the null move first, as the
// driver plays it.
std::set<std::string> HelpmateSolutions(const std::string& fen, int moves, bool longNotation) {
  SearchWorld world(fen);
  world.options[Option::Variations] = 1;
  world.options[Option::DualizedVariations] = 1;
  SearchState& state = *world.state;
  state.helpMode = HelpMode::BlackBegins;
  state.topMoves = moves + 1;
  MakeMove(world.pos, NullMove);
  AnalyseMove(world.ctx, moves + 1, NullMove, true);
  std::set<std::string> solutions;
  WalkSolutions(world, moves + 1, longNotation, "", solutions);
  UnmakeMove(world.pos, NullMove);
  return solutions;
}

// The keys of a direct mate or selfmate, as the root search finds them.
std::vector<std::string> Keys(const std::string& fen, const ProblemType& type) {
  SearchWorld world(fen);
  int n = type.moves;
  if (type.kind == KindSelf) {
    world.state->selfMode = SelfMode::Self;
    ++n;  // Black's forced mate is one more white move
  }
  if (world.RootSearch(n, 0) != n) return {};
  return world.Texts(world.state->KeyList(n));
}

TEST(SampleCollection, EveryProblemIsCheckedPublishedAndAttributed) {
  const std::map<std::string, Expected> expected = LoadExpected();
  std::set<std::string> kinds;
  for (const SampleProblem& problem : LoadSample()) {
    const auto found = expected.find(problem.fen);
    ASSERT_NE(found, expected.end())
        << "problem " << problem.number << " " << problem.fen << " is in no checked set";
    EXPECT_EQ(problem.stipulation, found->second.stipulation) << found->second.id;
    EXPECT_FALSE(problem.authors.empty()) << found->second.id;
    EXPECT_FALSE(problem.source.empty()) << found->second.id;
    kinds.insert(problem.stipulation.substr(0, problem.stipulation.find('#')));
  }
  // Direct mates, helpmates and selfmates.
  EXPECT_EQ(kinds, (std::set<std::string>{"", "h", "s"}));
}

TEST(SampleCollection, EveryProblemSolvesAsTheCheckedSetsSay) {
  const std::map<std::string, Expected> expected = LoadExpected();
  int solved = 0;
  for (const SampleProblem& problem : LoadSample()) {
    const auto found = expected.find(problem.fen);
    if (found == expected.end()) continue;  // reported by the test above
    const Expected& e = found->second;
    ProblemType type;
    ASSERT_TRUE(ParseProblemType(e.stipulation, type)) << e.id;
    if (type.kind == KindHelp) {
      ASSERT_FALSE(e.solutions.empty()) << e.id;
      EXPECT_EQ(HelpmateSolutions(problem.fen, type.moves, e.longNotation), e.solutions) << e.id;
    } else {
      ASSERT_FALSE(e.key.empty()) << e.id;
      EXPECT_EQ(Keys(problem.fen, type), std::vector<std::string>{e.key}) << e.id;
    }
    ++solved;
  }
  EXPECT_GE(solved, 30);
}

TEST(SampleCollection, PlainSolutionDropsNumbersAndSigns) {
  EXPECT_EQ(PlainSolution("1.Sg4-f2 Bf3-h5 2.Bc8-d7 Bh5-f7 3.Bd7-a4 Re6-e3 #"),
            "Sg4-f2 Bf3-h5 Bc8-d7 Bh5-f7 Bd7-a4 Re6-e3");
  EXPECT_EQ(PlainSolution("1.Re2-e6 Re1*e6 2.Rg5-g7 +"), "Re2-e6 Re1xe6 Rg5-g7");
}

// The soundness check of the program reads a helpmate with more than one
// solution as cooked unless its texts state how many: every helpmate of the
// sample states its count, so the check calls all of them sound.
TEST(SampleCollection, EveryHelpmateIsSoundForTheSoundnessCheck) {
  std::vector<CheckItem> all;
  ASSERT_TRUE(LoadCheckItems(kSamplePath, 1, 0, 1, 1, all)) << kSamplePath;
  std::vector<CheckItem> helpmates;
  for (const CheckItem& item : all)
    if (item.input.type.kind == KindHelp) helpmates.push_back(item);
  ASSERT_GE(helpmates.size(), 8u);
  const std::vector<CheckReport> reports = RunSoundnessCheck(helpmates, 1, 0, {});
  ASSERT_EQ(reports.size(), helpmates.size());
  int stated = 0;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i].verdict.verdict, Verdict::Sound)
        << "problem " << helpmates[i].number << ": " << reports[i].verdict.detail;
    if (helpmates[i].input.statedSolutions > 1) ++stated;
  }
  EXPECT_GE(stated, 2);  // Garai (both twins) and Feather
}

}  // namespace
}  // namespace kv
