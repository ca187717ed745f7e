// The series search against a plain enumeration written here from the
// rules alone: every sequence of legal moves of the series side, lengths
// 1, 2, 3 in turn, each judged at its end. Random legal positions with few
// men, every family, both goals, with and without the maximummer.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/rules.h"
#include "core/validation.h"
#include "series_rows.h"
#include "solver/series_search.h"
#include "tests/common/case_share.h"

namespace kv {
namespace {

using test::DataMoveText;

class BruteForce {
 public:
  BruteForce(Position& pos, const SeriesRules& rules) : pos_(pos), rules_(rules) {}

  // The lines of the shortest length up to `moves` that has any.
  std::multiset<std::string> Solve(int moves) {
    for (int length = 1; length <= moves; ++length) {
      lines_.clear();
      Series(length, "");
      if (!lines_.empty()) return lines_;
    }
    return {};
  }

 private:
  bool InCheck(bool white) {
    return white ? AttackedByBlack(pos_, pos_.whiteKingSquare) != 0
                 : AttackedByWhite(pos_, pos_.blackKingSquare) != 0;
  }

  // The legal moves of a side; a maximummer Black keeps the longest only
  // (a castling counts as the king's two steps).
  std::vector<Move> Legal(bool white, const Move& last) {
    MoveList list;
    if (white) {
      GenerateWhiteMoves(pos_, last.from, last.to, list);
    } else {
      GenerateBlackMoves(pos_, last.from, last.to, list);
    }
    std::vector<Move> legal;
    for (int i = 0; list.moves[i].from != 0; ++i) {
      MakeMove(pos_, list.moves[i]);
      if (!InCheck(white)) legal.push_back(list.moves[i]);
      UnmakeMove(pos_, list.moves[i]);
    }
    if (!white && rules_.maximum && !legal.empty()) {
      auto length = [](const Move& m) {
        const int dr = m.to / 10 - m.from / 10;
        const int dc = m.to % 10 - m.from % 10;
        return dr * dr + dc * dc;
      };
      int longest = 0;
      for (const Move& m : legal) longest = std::max(longest, length(m));
      std::vector<Move> kept;
      for (const Move& m : legal)
        if (length(m) == longest) kept.push_back(m);
      legal = kept;
    }
    return legal;
  }

  // The side to move (white or not) is mated, or stalemated, after `last`.
  bool AtGoal(bool white, const Move& last) {
    const bool check = InCheck(white);
    if (check == rules_.stalemate) return false;
    MoveList list;
    if (white) {
      GenerateWhiteMoves(pos_, last.from, last.to, list);
    } else {
      GenerateBlackMoves(pos_, last.from, last.to, list);
    }
    for (int i = 0; list.moves[i].from != 0; ++i) {
      MakeMove(pos_, list.moves[i]);
      const bool legal = !InCheck(white);
      UnmakeMove(pos_, list.moves[i]);
      if (legal) return false;
    }
    return true;
  }

  void Series(int left, const std::string& line) {
    const bool white = rules_.family != SeriesFamily::Help;
    if (rules_.family == SeriesFamily::Reflex) {
      // White must reach the goal when it can: a line may not pass here.
      for (const Move& w : Legal(true, Move{})) {
        MakeMove(pos_, w);
        const bool goal = AtGoal(false, w);
        UnmakeMove(pos_, w);
        if (goal) return;
      }
    }
    for (const Move& m : Legal(white, Move{})) {
      const std::string text = (line.empty() ? "" : line + " ") + DataMoveText(m);
      MakeMove(pos_, m);
      const bool checks = InCheck(!white);
      if (left == 1) {
        End(m, text);
      } else if (!checks) {
        Series(left - 1, text);
      }
      UnmakeMove(pos_, m);
    }
  }

  // The last move of the series is played.
  void End(const Move& last, const std::string& line) {
    switch (rules_.family) {
      case SeriesFamily::Direct:
        if (AtGoal(false, last)) lines_.insert(line);
        return;
      case SeriesFamily::Help:
        for (const Move& w : Legal(true, last)) {
          MakeMove(pos_, w);
          if (AtGoal(false, w)) lines_.insert(line + " " + DataMoveText(w));
          UnmakeMove(pos_, w);
        }
        return;
      default: {
        const std::vector<Move> replies = Legal(false, last);
        std::vector<std::string> goals;
        for (const Move& b : replies) {
          MakeMove(pos_, b);
          if (AtGoal(true, b)) goals.push_back(line + " " + DataMoveText(b));
          UnmakeMove(pos_, b);
        }
        const bool self = rules_.family == SeriesFamily::Self;
        if (goals.empty() || (self && goals.size() != replies.size())) return;
        lines_.insert(goals.begin(), goals.end());
      }
    }
  }

  Position& pos_;
  const SeriesRules& rules_;
  std::multiset<std::string> lines_;
};

// A random legal position: both kings and 2..4 other men, no pawn on the
// first or last rank, the side that does not play the series not in check.
// The king that the goal wants mated or stalemated stands on its edge's two
// ranks, where goals are near.
bool RandomPosition(std::mt19937& random, const SeriesRules& rules, Position& pos) {
  const bool blackPlays = BlackPlaysSeries(rules);
  const bool whiteKingTarget =
      rules.family == SeriesFamily::Self || rules.family == SeriesFamily::Reflex;
  constexpr std::int8_t kMen[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight, WhitePawn,
                                  BlackQueen, BlackRook, BlackBishop, BlackKnight, BlackPawn};
  pos = Position{};
  ClearBoard(pos.board);
  std::uniform_int_distribution<int> square(0, 63);
  auto cell = [](int n) { return 22 + (n / 8) * 10 + n % 8; };
  std::uniform_int_distribution<int> edge(0, 15);
  const int white = cell(whiteKingTarget ? 48 + edge(random) : square(random));
  const int black = cell(whiteKingTarget ? square(random) : edge(random));
  if (white == black) return false;
  pos.board[white] = WhiteKing;
  pos.board[black] = BlackKing;
  const int extra = 2 + static_cast<int>(random() % 3);
  for (int i = 0; i < extra; ++i) {
    const int c = cell(square(random));
    const std::int8_t man = kMen[random() % 10];
    if (pos.board[c] != Empty) continue;
    const bool firstOrLastRank = c < 30 || c > 90;
    if ((man == WhitePawn || man == BlackPawn) && firstOrLastRank) continue;
    pos.board[c] = man;
  }
  const PositionFinding finding = JudgePosition(pos, blackPlays);
  if (finding.code != FindingNone) return false;
  // The series side may stand in check; the other may not (refused above
  // when Black plays; with White to play the judge refuses Black in check).
  return true;
}

constexpr int kRounds = 40;

// Every position is drawn in every build, so that a Debug build compares a
// share of the same cases as the optimised one; one in 7, a stride prime to
// the 4 variants and 4 families, meets each of them.
TEST(SeriesBruteForce, EverySearchAgreesWithAPlainEnumeration) {
  const test::CaseShare share(7);
  int drawn = 0;
  std::mt19937 random(20261207);
  auto memory = std::make_unique<SeriesMemory>();
  int cases = 0;
  int withSolutions = 0;
  const SeriesFamily families[] = {SeriesFamily::Direct, SeriesFamily::Help, SeriesFamily::Self,
                                   SeriesFamily::Reflex};
  for (int round = 0; round < kRounds; ++round) {
    for (SeriesFamily family : families) {
      for (int variant = 0; variant < 4; ++variant) {
        SeriesRules rules;
        rules.family = family;
        rules.stalemate = (variant & 1) != 0;
        rules.maximum = (variant & 2) != 0;
        Position pos;
        while (!RandomPosition(random, rules, pos)) {
        }
        if (!share.Runs(drawn++)) continue;
        const int moves = 1 + (round + variant) % 3;
        Position brutePos = pos;
        const std::multiset<std::string> expected = BruteForce(brutePos, rules).Solve(moves);
        const SeriesResult result = SearchSeries(pos, rules, moves, *memory, nullptr);
        const std::vector<std::string> lines = test::DataLines(result);
        const std::multiset<std::string> found(lines.begin(), lines.end());
        EXPECT_EQ(found, expected) << "family " << static_cast<int>(family) << " variant "
                                   << variant << " moves " << moves;
        ++cases;
        if (!expected.empty()) ++withSolutions;
      }
    }
  }
  EXPECT_EQ(cases, share.Of(kRounds * 16));
  // Enough of them have solutions for the comparison to mean something.
  EXPECT_GE(withSolutions, share.AtLeast(15));
}

// A position near a stalemate: the black king in a corner with 2..4 black
// men within three squares of it, the white king and one or two other
// white men anywhere. Black is not in check (the judge refuses it).
bool NearStalemate(std::mt19937& random, Position& pos) {
  constexpr std::int8_t kBlack[] = {BlackQueen, BlackRook, BlackBishop, BlackKnight, BlackPawn};
  return test::CornerPosition(random, pos, 3, kBlack);
}

// Series helpstalemates where stalemates are near: White's last move must
// take away the king's flights and the other men's moves, which the search
// judges with its own shortcuts and the enumeration by the rules alone.
TEST(SeriesBruteForce, HelpstalematesNearTheCornerAgreeWithAPlainEnumeration) {
  // One round in 3 meets both lengths and the maximummer (every 4th round).
  const test::CaseShare share(3);
  std::mt19937 random(7122027);
  auto memory = std::make_unique<SeriesMemory>();
  constexpr int kCases = 1500;
  int withSolutions = 0;
  for (int round = 0; round < kCases; ++round) {
    SeriesRules rules;
    rules.family = SeriesFamily::Help;
    rules.stalemate = true;
    rules.maximum = round % 4 == 3;
    Position pos;
    while (!NearStalemate(random, pos)) {
    }
    if (!share.Runs(round)) continue;
    const int moves = 1 + round % 2;
    Position brutePos = pos;
    const std::multiset<std::string> expected = BruteForce(brutePos, rules).Solve(moves);
    const SeriesResult result = SearchSeries(pos, rules, moves, *memory, nullptr);
    const std::vector<std::string> lines = test::DataLines(result);
    EXPECT_EQ(std::multiset<std::string>(lines.begin(), lines.end()), expected)
        << "round " << round;
    if (!expected.empty()) ++withSolutions;
  }
  EXPECT_GE(withSolutions, share.AtLeast(25));
}

}  // namespace
}  // namespace kv
