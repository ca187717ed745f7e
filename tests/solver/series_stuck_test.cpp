// The stuck-men test of the series helpstalemate: it may only rule out
// positions that have no stalemate in the moves left, so the search finds
// the same solutions, in the same order, with it and without it; and it
// does rule positions out that the other counts let through.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "series_rows.h"
#include "solver/series_bound.h"
#include "solver/series_search.h"

namespace kv {
namespace {

Position Board(const std::string& fen) {
  Position pos{};
  std::string error;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, &error)) << fen << ": " << error;
  DerivePositionState(pos);
  return pos;
}

// The search of a position with the stuck-men test on or off (the other
// bounds on), or with no bound at all.
enum class Pruning { Stuck, NoStuck, None };

SeriesResult Search(Position pos, const SeriesRules& rules, int moves, Pruning pruning) {
  auto memory = std::make_unique<SeriesMemory>(std::size_t{1} << 14);
  memory->bounds = pruning != Pruning::None;
  memory->stuckMenBound = pruning == Pruning::Stuck;
  return SearchSeries(pos, rules, moves, *memory, nullptr);
}

// The same solutions in the same order (the order the text lists them).
void ExpectSameAnswer(const SeriesResult& a, const SeriesResult& b, const std::string& what) {
  EXPECT_EQ(a.length, b.length) << what;
  EXPECT_EQ(a.count, b.count) << what;
  EXPECT_EQ(test::DataLines(a), test::DataLines(b)) << what;
  EXPECT_EQ(a.broken, b.broken) << what;
}

SeriesRules HelpStalemate(bool maximum = false) {
  SeriesRules rules;
  rules.family = SeriesFamily::Help;
  rules.stalemate = true;
  rules.maximum = maximum;
  return rules;
}

// The rows that take too long without the test under the sanitizers.
bool SlowWithout(const std::string& id) {
  return id == "st008_ser-hs11" || id == "st013_ser-hs14" || id == "st020_ser-hs12" ||
         id == "st041_ser-hs10";
}

TEST(SeriesStuckMen, PublishedHelpstalematesGiveTheSameSolutionsWithAndWithoutIt) {
  int compared = 0;
  for (const test::SeriesRow& row : test::LoadSeriesRows()) {
    ProblemType type;
    ASSERT_TRUE(test::SeriesTypeOf(row.stipulation, type));
    const SeriesRules rules = SeriesRulesOf(type);
    if (rules.family != SeriesFamily::Help || !rules.stalemate || SlowWithout(row.id)) continue;
    const Position pos = Board(row.board);
    const SeriesResult with = Search(pos, rules, type.moves, Pruning::Stuck);
    ExpectSameAnswer(with, Search(pos, rules, type.moves, Pruning::NoStuck), row.id);
    EXPECT_EQ(static_cast<int>(test::DataLines(with).size()), row.count) << row.id;
    ++compared;
    // Two moves more: the same lines as short solutions.
    if (type.moves > 5) continue;
    ExpectSameAnswer(Search(pos, rules, type.moves + 2, Pruning::Stuck),
                     Search(pos, rules, type.moves + 2, Pruning::NoStuck), row.id + " longer");
  }
  EXPECT_GE(compared, 6);
}

// Every position on the way of a published solution passes the test with
// the moves it has left, and the stalemate's last black move too.
TEST(SeriesStuckMen, NeverRulesOutAPositionOfAKnownSolution) {
  int positions = 0;
  for (const test::SeriesRow& row : test::LoadSeriesRows()) {
    ProblemType type;
    ASSERT_TRUE(test::SeriesTypeOf(row.stipulation, type));
    const SeriesRules rules = SeriesRulesOf(type);
    if (rules.family != SeriesFamily::Help || !rules.stalemate) continue;
    for (const std::string& line : row.solutions) {
      Position pos = Board(row.board);
      std::stringstream moves(line);
      std::string text;
      for (int left = type.moves; left >= 1 && moves >> text; --left) {
        EXPECT_TRUE(HelpStalemateStuckMenFit(pos, left)) << row.id << " before " << text;
        ++positions;
        MoveList list;
        GenerateBlackMoves(pos, 0, 0, list);
        Move played{};
        for (int i = 0; list.moves[i].from != 0; ++i)
          if (test::DataMoveText(list.moves[i]) == text) played = list.moves[i];
        ASSERT_NE(played.from, 0) << row.id << ": no move " << text;
        MakeMove(pos, played);
      }
    }
  }
  EXPECT_GT(positions, 100);
}

TEST(SeriesStuckMen, RulesOutWhatTheKingCountLetsThrough) {
  // A lone white king: the queen and both bishops must all end walled in
  // by black men, which takes far more than a few moves.
  const Position pos = Board("2k5/2bb4/8/6p1/6p1/5qp1/8/4K3");
  EXPECT_LE(HelpStalemateMoves(pos), 4);
  EXPECT_FALSE(HelpStalemateStuckMenFit(pos, 4));
  EXPECT_TRUE(HelpStalemateStuckMenFit(pos, 14));
  // One black move from the published stalemate.
  EXPECT_TRUE(HelpStalemateStuckMenFit(Board("8/8/8/6p1/8/6pb/6pb/4K1kq"), 1));
  // A black knight in the open beside a lone king: it cannot be walled in
  // by one move of the king's.
  EXPECT_FALSE(HelpStalemateStuckMenFit(Board("7k/8/8/3n4/8/8/8/K7"), 1));
  // 1. Sh7 Rh1=: the rook pins the knight to its king along the file, the
  // one line on which the count lets the knight end pinned.
  EXPECT_TRUE(HelpStalemateStuckMenFit(Board("7k/5K2/5n2/8/8/8/8/R7"), 1));
}

// Random positions with several black men (those the test weighs) round
// their king in a corner, where stalemates are near, and a few white men:
// the search with the test agrees with the search with no bound at all.
bool RandomPosition(std::mt19937& random, Position& pos) {
  constexpr std::int8_t kBlack[] = {BlackQueen,  BlackRook, BlackBishop,
                                    BlackKnight, BlackPawn, BlackPawn};
  return test::CornerPosition(random, pos, 4, kBlack);
}

// The king count asked to stop at a number of moves looks at the squares
// near the king only: it must answer the whole count, or one more than the
// limit where that is more.
TEST(SeriesKingCount, StoppedAtTheMovesLeftItAgreesWithTheWholeCount) {
  std::vector<Position> positions;
  for (const test::SeriesRow& row : test::LoadSeriesRows()) positions.push_back(Board(row.board));
  std::mt19937 random(8122026);
  for (int round = 0; round < 300; ++round) {
    Position pos;
    while (!RandomPosition(random, pos)) {
    }
    positions.push_back(pos);
  }
  int below = 0;
  int beyond = 0;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const int whole = HelpStalemateMoves(positions[i]);
    for (int limit = 0; limit <= 9; ++limit) {
      ASSERT_EQ(HelpStalemateMoves(positions[i], limit), std::min(whole, limit + 1))
          << "position " << i << ", limit " << limit;
      (whole <= limit ? below : beyond)++;
    }
  }
  // Both answers are met often.
  EXPECT_GT(below, 300);
  EXPECT_GT(beyond, 300);
}

TEST(SeriesStuckMen, RandomPositionsAgreeWithTheSearchWithoutBounds) {
  std::mt19937 random(7122026);
  constexpr int kCases = 200;
  int withSolutions = 0;
  std::uint64_t nodesWith = 0;
  std::uint64_t nodesWithout = 0;
  for (int round = 0; round < kCases; ++round) {
    Position pos;
    while (!RandomPosition(random, pos)) {
    }
    const SeriesRules rules = HelpStalemate(round % 5 == 4);
    const int moves = 1 + round % 3;
    const SeriesResult with = Search(pos, rules, moves, Pruning::Stuck);
    const SeriesResult without = Search(pos, rules, moves, Pruning::None);
    ExpectSameAnswer(with, without, "round " + std::to_string(round));
    if (with.length > 0) ++withSolutions;
    nodesWith += with.nodes;
    nodesWithout += without.nodes;
  }
  // Enough of them have solutions, and the bounds cut enough, for the
  // comparison to mean something.
  EXPECT_GE(withSolutions, 5);
  EXPECT_LT(nodesWith * 2, nodesWithout);
}

}  // namespace
}  // namespace kv
