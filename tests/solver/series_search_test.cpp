// The series search against published series movers whose solutions an
// independent solver listed, and on positions made for the rules a series
// follows: shortest solutions first, no check before the last move, the
// reflex obligation, the maximummer, every order of the same moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "series_rows.h"
#include "solver/series_bound.h"
#include "solver/series_search.h"

namespace kv {
namespace {

using test::DataLines;
using test::LoadSeriesRows;
using test::SeriesRow;
using test::SeriesTypeOf;

// Solves a board under a series type; a position the driver would refuse
// (the side not to move in check, no king) has no solution.
SeriesResult Solve(const std::string& fen, const ProblemType& type, SeriesMemory& memory) {
  Position pos{};
  std::string error;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, &error)) << fen << ": " << error;
  const SeriesRules rules = SeriesRulesOf(type);
  const PositionFinding finding = JudgePosition(pos, BlackPlaysSeries(rules));
  if (IsInvalidFinding(finding.code)) return {};
  const Position before = pos;
  SeriesResult result = SearchSeries(pos, rules, type.moves, memory, nullptr);
  EXPECT_EQ(pos.board, before.board) << "the search leaves the board as it found it";
  return result;
}

std::multiset<std::string> Sorted(const std::vector<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

// The rows that take more than a second in an optimised build (series
// helpstalemates with several free black men, a series helpmate in 8): the
// bench solves them (kestrovale-cli bench --suite); here they are only
// counted, so that the test stays quick under the sanitizers.
const std::set<std::string> kSlowRows = {"st008_ser-hs11", "st013_ser-hs14", "st020_ser-hs12",
                                         "st041_ser-hs10", "st047_ser-hm8"};

TEST(SeriesSearch, EveryPublishedSeriesMoverHasExactlyTheListedSolutions) {
  const std::vector<SeriesRow> rows = LoadSeriesRows();
  auto memory = std::make_unique<SeriesMemory>();
  int solved = 0;
  int slow = 0;
  for (const SeriesRow& row : rows) {
    if (kSlowRows.count(row.id) != 0) {
      ++slow;
      continue;
    }
    ProblemType type;
    ASSERT_TRUE(SeriesTypeOf(row.stipulation, type));
    const SeriesResult result = Solve(row.board, type, *memory);
    EXPECT_FALSE(result.broken);
    const std::vector<std::string> lines = DataLines(result);
    EXPECT_EQ(Sorted(lines), Sorted(row.solutions)) << row.id << " " << row.stipulation;
    EXPECT_EQ(static_cast<int>(lines.size()), row.count) << row.id;
    // The listed solutions have the stated length: none is short.
    if (row.count > 0) {
      EXPECT_EQ(result.length, type.moves) << row.id;
    }
    ++solved;
  }
  EXPECT_EQ(slow, static_cast<int>(kSlowRows.size()));
  EXPECT_EQ(solved + slow, static_cast<int>(test::SeriesRowCount));
  // The long rows (ser-=14, ser-=65, ser-h=18) were solved with the deep table.
  EXPECT_EQ(memory->table.Slots(), DeepSeriesTableSlots);
}

// A stipulation longer than the solutions: they are found as short
// solutions, the same lines; one move shorter: no solution at all.
TEST(SeriesSearch, LongerStipulationsGiveShortSolutionsAndShorterOnesNone) {
  int checked = 0;
  auto memory = std::make_unique<SeriesMemory>();
  for (const SeriesRow& row : LoadSeriesRows()) {
    if (kSlowRows.count(row.id) != 0 || row.count == 0) continue;
    ProblemType type;
    ASSERT_TRUE(SeriesTypeOf(row.stipulation, type));
    if (type.moves > 20) continue;  // the 65-mover is proved once above
    ProblemType longer = type;
    longer.moves = static_cast<std::uint8_t>(type.moves + 2);
    const SeriesResult shortResult = Solve(row.board, longer, *memory);
    EXPECT_EQ(shortResult.length, type.moves) << row.id;
    EXPECT_EQ(Sorted(DataLines(shortResult)), Sorted(row.solutions)) << row.id;
    ProblemType shorter = type;
    shorter.moves = static_cast<std::uint8_t>(type.moves - 1);
    if (shorter.moves >= 1) {
      const SeriesResult none = Solve(row.board, shorter, *memory);
      EXPECT_EQ(none.length, 0) << row.id;
      EXPECT_TRUE(none.solutions.empty()) << row.id;
      EXPECT_EQ(none.count, 0u) << row.id;
    }
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

// The helpmate count of moves and the helpstalemate count never rule out a
// position on the way of a known solution.
TEST(SeriesSearch, BoundsNeverRuleOutAPositionOfAKnownSolution) {
  int positions = 0;
  for (const SeriesRow& row : LoadSeriesRows()) {
    ProblemType type;
    ASSERT_TRUE(SeriesTypeOf(row.stipulation, type));
    const SeriesRules rules = SeriesRulesOf(type);
    for (const std::string& line : row.solutions) {
      Position pos{};
      std::string error;
      ASSERT_TRUE(ParseFenBoard(row.board, pos.board, &error));
      DerivePositionState(pos);
      std::stringstream moves(line);
      std::string text;
      for (int left = type.moves; left >= 1 && moves >> text; --left) {
        EXPECT_TRUE(SeriesGoalPossible(pos, rules, left)) << row.id << " before " << text;
        ++positions;
        MoveList list;
        if (BlackPlaysSeries(rules)) {
          GenerateBlackMoves(pos, 0, 0, list);
        } else {
          GenerateWhiteMoves(pos, 0, 0, list);
        }
        Move played{};
        for (int i = 0; list.moves[i].from != 0; ++i)
          if (test::DataMoveText(list.moves[i]) == text) played = list.moves[i];
        ASSERT_NE(played.from, 0) << row.id << ": no move " << text;
        MakeMove(pos, played);
      }
    }
  }
  EXPECT_GT(positions, 200);
}

// Long series get the deep table and bound cache; only a search that keeps
// its bounds (a series helpstalemate) makes the cache; a table sized on
// purpose stays as it is.
TEST(SeriesSearch, OnlyLongSeriesGrowTheTableAndOnlyHelpstalematesMakeTheCache) {
  auto memory = std::make_unique<SeriesMemory>();
  EXPECT_TRUE(memory->boundCache.empty());
  memory->PrepareFor(DeepSeriesMoves - 1, false);
  EXPECT_EQ(memory->table.Slots(), DefaultSeriesTableSlots);
  EXPECT_TRUE(memory->boundCache.empty());
  memory->PrepareFor(DeepSeriesMoves - 1, true);
  EXPECT_EQ(memory->boundCache.size(), 2 * DefaultSeriesCacheSlots);
  memory->PrepareFor(DeepSeriesMoves, true);
  EXPECT_EQ(memory->table.Slots(), DeepSeriesTableSlots);
  EXPECT_EQ(memory->boundCache.size(), 2 * DeepSeriesCacheSlots);
  // The grown table starts empty.
  EXPECT_FALSE(memory->table.ProvedNone(0x123456789ABCDEF0ull, 1));

  auto sized = std::make_unique<SeriesMemory>(std::size_t{1} << 14);
  sized->PrepareFor(40, true);
  EXPECT_EQ(sized->table.Slots(), std::size_t{1} << 14);
  EXPECT_EQ(sized->boundCache.size(), 2 * DefaultSeriesCacheSlots);

  // The searches themselves: a series helpmate leaves the cache unmade, a
  // series helpstalemate of the same position makes and uses it.
  Position pos{};
  std::string error;
  ASSERT_TRUE(ParseFenBoard("R2bk3/4p1q1/4P3/2K5/1P6/2P5/1B6/8", pos.board, &error));
  DerivePositionState(pos);
  for (const char* text : {"ser-h#3", "ser-h=3"}) {
    SCOPED_TRACE(text);
    const bool stalemate = std::string_view(text) == "ser-h=3";
    auto fresh = std::make_unique<SeriesMemory>();
    ProblemType type;
    ASSERT_TRUE(SeriesTypeOf(text, type));
    Position searched = pos;
    static_cast<void>(SearchSeries(searched, SeriesRulesOf(type), type.moves, *fresh, nullptr));
    EXPECT_EQ(fresh->boundCache.empty(), !stalemate);
    const bool used = std::any_of(fresh->boundCache.begin(), fresh->boundCache.end(),
                                  [](std::uint64_t word) { return word != 0; });
    EXPECT_EQ(used, stalemate);
  }
}

TEST(SeriesSearch, AUserBreakStopsTheSearch) {
  UiCallbacks ui;
  int polls = 0;
  ui.breakPoll = [&polls] { return ++polls > 1; };
  Position pos{};
  std::string error;
  ASSERT_TRUE(ParseFenBoard("R2bk3/4p1q1/4P3/2K5/1P6/2P5/1B6/8", pos.board, &error));
  DerivePositionState(pos);
  auto memory = std::make_unique<SeriesMemory>();
  ProblemType type;
  ASSERT_TRUE(SeriesTypeOf("ser-h=10", type));
  const SeriesResult result = SearchSeries(pos, SeriesRulesOf(type), type.moves, *memory, &ui);
  EXPECT_TRUE(result.broken);
  EXPECT_EQ(result.length, 0);
  EXPECT_GT(polls, 1);
}

}  // namespace
}  // namespace kv
