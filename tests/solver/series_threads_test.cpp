// The series search on two threads: the same solutions, in the same order,
// with the same count and length as on one, and a user break that stops
// both threads. Built under ThreadSanitizer too, for the table and the
// bound caches the two walks share.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "series_rows.h"
#include "solver/series_search.h"

namespace kv {
namespace {

using test::DataLines;
using test::SeriesTypeOf;

struct Solved {
  SeriesResult result;
  bool boardKept = true;  // the search left the board as it found it
};

Solved Solve(const std::string& fen, const std::string& stipulation, int threads,
             const UiCallbacks* ui = nullptr) {
  Solved solved;
  Position pos{};
  std::string error;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, &error)) << fen << ": " << error;
  ProblemType type;
  EXPECT_TRUE(SeriesTypeOf(stipulation, type)) << stipulation;
  const SeriesRules rules = SeriesRulesOf(type);
  // A position the driver refuses (the side not to move in check) is not
  // searched.
  if (IsInvalidFinding(JudgePosition(pos, BlackPlaysSeries(rules)).code)) return solved;
  const Position before = pos;
  // A memory of its own for each solve: nothing carries over from the
  // other thread count's search.
  auto memory = std::make_unique<SeriesMemory>();
  solved.result = SearchSeries(pos, rules, type.moves, *memory, ui, threads);
  solved.boardKept = pos.board == before.board;
  return solved;
}

// Everything a reader of the result sees, in order.
void ExpectSameResult(const Solved& one, const Solved& two, const std::string& what) {
  EXPECT_TRUE(two.boardKept) << what;
  EXPECT_FALSE(two.result.broken) << what;
  EXPECT_EQ(two.result.length, one.result.length) << what;
  EXPECT_EQ(two.result.count, one.result.count) << what;
  EXPECT_EQ(DataLines(two.result), DataLines(one.result)) << what;
}

// The published rows that one thread solves within a second or so even
// under the sanitizers: every family, lengths 2 to 65.
TEST(SeriesThreads, PublishedRowsGiveTheSameLinesInTheSameOrder) {
  const std::set<std::string> slow = {"st008_ser-hs11", "st013_ser-hs14", "st020_ser-hs12",
                                      "st036_ser-hs18", "st041_ser-hs10", "st047_ser-hm8"};
  int compared = 0;
  int withSolutions = 0;
  for (const test::SeriesRow& row : test::LoadSeriesRows()) {
    if (slow.count(row.id) != 0) continue;
    const Solved one = Solve(row.board, row.stipulation, 1);
    const Solved two = Solve(row.board, row.stipulation, 2);
    ExpectSameResult(one, two, row.id);
    ++compared;
    if (one.result.count > 0) ++withSolutions;
  }
  EXPECT_GE(compared, 10);
  EXPECT_GE(withSolutions, 8);
}

// Many solutions of one length, spread over many first and second moves:
// the two walks find them in an order of their own, and the result is
// still gathered in the order of one walk. Short solutions too: a longer
// stipulation stops at the first length that has any.
TEST(SeriesThreads, ManySolutionsKeepTheOrderOfOneThread) {
  struct Case {
    const char* fen;
    const char* stipulation;
    std::uint64_t atLeast;  // solutions the case must have to mean something
  };
  const Case cases[] = {
      {"7k/8/8/8/8/8/8/KQ6", "ser-#7", 20},     {"7k/8/8/8/8/8/8/KQ6", "ser-#8", 20},
      {"7k/8/8/8/8/8/8/KQ6", "ser-=8", 1},      {"4k3/8/4K3/8/8/8/8/7R", "ser-h#4", 1},
      {"4k3/4p3/4K3/8/8/8/8/7Q", "ser-h=3", 1},
  };

  for (const Case& c : cases) {
    const std::string what = std::string(c.stipulation) + " " + c.fen;
    const Solved one = Solve(c.fen, c.stipulation, 1);
    const Solved two = Solve(c.fen, c.stipulation, 2);
    EXPECT_GE(one.result.count, c.atLeast) << what;
    ExpectSameResult(one, two, what);
  }
}

// The break is asked of the user on the search's own thread; the helper
// hears it through the walks' shared flag and stops too, and the search
// returns what it found, marked broken.
TEST(SeriesThreads, AUserBreakEndsBothWalks) {
  UiCallbacks ui;
  std::atomic<int> polls{0};
  ui.breakPoll = [&polls] { return ++polls > 3; };
  const Solved broken = Solve("R2bk3/4p1q1/4P3/2K5/1P6/2P5/1B6/8", "ser-h=10", 2, &ui);
  EXPECT_TRUE(broken.result.broken);
  EXPECT_EQ(broken.result.length, 0);
  EXPECT_TRUE(broken.boardKept);
  EXPECT_GT(polls.load(), 3);
}

}  // namespace
}  // namespace kv
