// The searches against a plain enumeration (brute_force.h) over random
// legal positions with few men: for every kind, both goals and the
// maximummer, the keys (battle play) or the solution lines (help play) that
// "Search solution" writes are exactly those the enumeration finds, and so
// are the shorter solutions and their absence.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "brute_force.h"
#include "core/fen.h"
#include "core/validation.h"
#include "tree_solutions.h"

namespace kv {
namespace {

using test::BruteForce;
using test::BruteGoal;
using test::BruteKind;
using test::BruteRules;

// Random positions near a few small published problems: each is a seed
// problem with one to three men moved to random squares, taken off or put
// on, so that mates, stalemates and their near misses are common. Neither
// king is in check and the validation refuses nothing; or, for play that
// Black begins, Black's king is in check (Black answers it).
class RandomPositions {
 public:
  RandomPositions(unsigned seed, std::vector<const char*> seeds, bool blackInCheck = false)
      : random_(seed), seeds_(std::move(seeds)), blackInCheck_(blackInCheck) {}

  Position Next() {
    static constexpr PieceCode kMen[] = {WhiteQueen,  WhiteRook,  WhiteBishop, WhiteKnight,
                                         WhitePawn,   BlackQueen, BlackRook,   BlackBishop,
                                         BlackKnight, BlackPawn};
    for (;;) {
      Position pos;
      ClearBoard(pos.board);
      EXPECT_TRUE(ParseFenBoard(seeds_[random_() % seeds_.size()], pos.board, nullptr));
      const int changes = 1 + static_cast<int>(random_() % 3);
      for (int i = 0; i < changes; ++i) {
        const int from = Square();
        const int to = Square();
        switch (random_() % 3) {
          case 0:  // a man moves (a king too)
            if (pos.board[from] != Empty && pos.board[to] == Empty) {
              pos.board[to] = pos.board[from];
              pos.board[from] = Empty;
            }
            break;
          case 1:  // a man is taken off
            if (pos.board[from] != WhiteKing && pos.board[from] != BlackKing)
              pos.board[from] = Empty;
            break;
          default:  // a man is put on
            if (pos.board[to] == Empty) pos.board[to] = kMen[random_() % std::size(kMen)];
            break;
        }
      }
      const PositionFinding finding = JudgePosition(pos, true);
      const bool inCheck = AttackedByWhite(pos, pos.blackKingSquare) != 0;
      if (IsInvalidFinding(finding.code) || inCheck != blackInCheck_) continue;
      return pos;
    }
  }

 private:
  int Square() {
    const int row = static_cast<int>(random_() % 8);
    const int column = static_cast<int>(random_() % 8);
    return 10 * (row + 2) + column + 2;
  }
  std::mt19937 random_;
  std::vector<const char*> seeds_;
  bool blackInCheck_;
};

// Small published problems (the checked sets) and a few plain endings.
const std::vector<const char*> kDirectSeeds = {
    "k3N3/P7/K7/8/8/8/8/8",  // #1
    "k7/8/1K6/8/8/8/8/6Q1",  // the queen mates or stalemates
    "7k/8/6K1/8/8/8/8/R7",   // rook ending
    "8/8/8/8/8/2K5/8/k1B5",  // bishop, king in the corner
    "8/8/8/8/8/k7/p1K5/8",   // a pawn to stalemate
};
const std::vector<const char*> kSelfSeeds = {
    "8/8/8/2p5/8/kpR5/p7/K7",    // s#1
    "8/8/8/8/2R1P3/kp1B4/8/K7",  // s#1
    "8/8/8/8/8/k6P/p7/K3n3",     // r#1
    "8/6B1/8/8/p7/kp6/p7/K7",    // r#1, no solution
    "8/8/8/8/8/1q6/P7/K1k5",     // White's king in the corner
    "K7/P1k5/8/8/8/8/8/1r6",     // White's king and pawn without a move
    "7K/5k1P/8/8/8/8/8/6r1",     // White's king boxed in
};
const std::vector<const char*> kHelpSeeds = {
    "8/8/7N/5K2/4B3/2Qbk3/4p3/8",  // h#0.5
    "8/8/8/8/8/8/1K1np3/1Rnk4",    // h#0.5
    "8/8/8/pp6/k1P5/1p6/pK6/8",    // h=2
    "k7/8/1K6/8/8/8/8/6Q1",       "8/8/8/8/8/k7/p1K5/8",
};
const std::vector<const char*> kSmallHelpSeeds = {
    "8/8/8/8/8/8/1K1np3/1Rnk4",  // h#0.5
    "8/8/8/pp6/k1P5/1p6/pK6/8",  // h=2
    "8/8/8/8/8/k7/p1K5/8",
};

// A move of the tree named as the enumeration names it.
std::string Name(const TreeMove& m) {
  std::string text = m.from + m.to;
  if (m.promotion != 0)
    text += static_cast<char>(m.promotion == 'S' ? 'n' : std::tolower(m.promotion));
  return text;
}

// What "Search solution" wrote for the diagram under the stipulation.
test::TreeSolutions SolveWithDriver(const Position& diagram, const std::string& stipulation) {
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stipulation, type)) << stipulation;
  test::TreeSolutions written = test::SolveToTree(diagram, type, Name);
  EXPECT_EQ(written.stop, SolveStop::None) << stipulation;
  return written;
}

std::string FirstMove(const std::string& line) {
  return line.substr(0, line.find(' '));
}

// The position as a FEN board, for the failure messages.
std::string Fen(const Position& pos) {
  return FenBoardField(pos.board);
}

BruteRules RulesOf(const ProblemType& type) {
  BruteRules rules;
  rules.kind = static_cast<BruteKind>(type.kind);
  rules.goal = (type.flags & FlagStalemate) ? BruteGoal::Stalemate : BruteGoal::Mate;
  rules.maximummer = (type.flags & FlagMaximum) != 0;
  return rules;
}

// Keys at the shortest length within the stipulation, and whether that is
// shorter than stated.
void CompareBattlePlay(const Position& pos, const std::string& stipulation, int& compared,
                       bool& hasSolution) {
  ProblemType type;
  ASSERT_TRUE(ParseProblemType(stipulation, type));
  BruteForce brute(pos, RulesOf(type));
  std::set<std::string> keys;
  const int shortest = brute.Keys(type.moves, keys);
  const test::TreeSolutions written = SolveWithDriver(pos, stipulation);
  EXPECT_EQ(written.keys, keys) << stipulation << " " << Fen(pos);
  EXPECT_EQ(written.shortNote, shortest != 0 && shortest < type.moves)
      << stipulation << " " << Fen(pos);
  ++compared;
  hasSolution = !keys.empty();
}

// Help play: each first move at its shortest length, the others under the
// shorter solutions' note.
void CompareHelpPlay(const Position& pos, const std::string& stipulation, int& compared,
                     bool& hasSolution) {
  ProblemType type;
  ASSERT_TRUE(ParseProblemType(stipulation, type));
  const bool whiteFirst = (type.flags & FlagWhiteBegins) != 0;
  BruteForce brute(pos, RulesOf(type));
  const int n = type.moves;
  const auto halfMoves = [whiteFirst](int moves) { return whiteFirst ? 2 * moves - 1 : 2 * moves; };
  std::vector<std::set<std::string>> byLength(static_cast<std::size_t>(n + 1));
  for (int m = 1; m <= n; ++m) byLength[m] = brute.HelpLines(halfMoves(m), whiteFirst);
  const test::TreeSolutions written = SolveWithDriver(pos, stipulation);
  bool anyShorter = false;
  for (int m = 1; m < n; ++m) anyShorter = anyShorter || !byLength[m].empty();
  hasSolution = !byLength[n].empty() || anyShorter;
  if (whiteFirst) {
    // With White first the shortest length with a solution is written,
    // every solution of it, under the note when shorter than stated.
    EXPECT_EQ(written.shortNote, anyShorter) << stipulation << " " << Fen(pos);
    int shortest = n;
    for (int m = n - 1; m >= 1; --m)
      if (!byLength[m].empty()) shortest = m;
    std::set<std::string> lines = written.lines;
    lines.insert(written.shortLines.begin(), written.shortLines.end());
    EXPECT_EQ(lines, byLength[shortest]) << stipulation << " " << Fen(pos);
    ++compared;
    return;
  }
  // Black first: each first black move at its own shortest length.
  std::map<std::string, int> shortest;
  for (int m = n - 1; m >= 1; --m)
    for (const std::string& line : byLength[m]) shortest[FirstMove(line)] = m;
  std::set<std::string> expectedShort;
  for (int m = 1; m < n; ++m)
    for (const std::string& line : byLength[m])
      if (shortest[FirstMove(line)] == m) expectedShort.insert(line);
  std::set<std::string> expectedFull;
  for (const std::string& line : byLength[n])
    if (shortest.count(FirstMove(line)) == 0) expectedFull.insert(line);
  EXPECT_EQ(written.lines, expectedFull) << stipulation << " " << Fen(pos);
  EXPECT_EQ(written.shortLines, expectedShort) << stipulation << " " << Fen(pos);
  ++compared;
}

// Each stipulation is compared on this many random positions, of which
// some must have a solution.
#ifdef NDEBUG
constexpr int kPositions = 40;
#else
constexpr int kPositions = 8;
#endif
// Fewer for three-movers, near the seeds without a queen, whose
// enumeration takes some tenths of a second each.
#ifdef NDEBUG
constexpr int kDeepPositions = 6;
#else
constexpr int kDeepPositions = 1;
#endif

using Compare = void (*)(const Position&, const std::string&, int&, bool&);

// Returns the positions that had a solution.
int CompareOnPositions(const char* stipulation, Compare compare,
                       const std::vector<const char*>& seeds, unsigned seed,
                       bool blackInCheck = false, int count = kPositions) {
  RandomPositions positions(seed, seeds, blackInCheck);
  int compared = 0;
  int solved = 0;
  for (int i = 0; i < count && !::testing::Test::HasFailure(); ++i) {
    bool hasSolution = false;
    compare(positions.Next(), stipulation, compared, hasSolution);
    if (hasSolution) ++solved;
  }
  EXPECT_EQ(compared, count) << stipulation;
  return solved;
}

TEST(Differential, DirectPlayOfBothGoalsAgreesWithTheEnumeration) {
  unsigned seed = 100;
  int solved = 0;
  for (const char* stipulation : {"#1", "#2", "=1", "=2", "#2 max", "=2 max"})
    solved += CompareOnPositions(stipulation, CompareBattlePlay, kDirectSeeds, ++seed);
  EXPECT_GE(solved, kPositions);  // one in six compares a solution
}

TEST(Differential, SelfAndReflexPlayAgreeWithTheEnumeration) {
  unsigned seed = 200;
  int solved = 0;
  for (const char* stipulation :
       {"s#1", "s#2", "s=1", "s=2", "r#1", "r#2", "r=1", "r=2", "s#2 max", "r=2 max"})
    solved += CompareOnPositions(stipulation, CompareBattlePlay, kSelfSeeds, ++seed);
  EXPECT_GE(solved, kPositions);
}

// Three moves reach what the two-movers do not: a reflexmate's killer tried
// before Black's list, and the turned board's test of Black's mate in one
// at every level below the root.
TEST(Differential, SelfAndReflexThreeMoversAgreeWithTheEnumeration) {
  unsigned seed = 400;
  int solved = 0;
  for (const char* stipulation : {"s#3", "r#3"})
    solved += CompareOnPositions(stipulation, CompareBattlePlay, kSelfSeeds, ++seed);
  EXPECT_GE(solved, kPositions / 4);
}

TEST(Differential, HelpPlayAgreesWithTheEnumeration) {
  unsigned seed = 300;
  int solved = 0;
  for (const char* stipulation :
       {"h#1", "h#2", "h=1", "h=2", "h#1 W", "h#2 W", "h=2 W", "h#2 max", "h=2 max"})
    solved += CompareOnPositions(stipulation, CompareHelpPlay, kHelpSeeds, ++seed);
  EXPECT_GE(solved, kPositions);
}

// Black begins in check: its first moves are those that answer it, and no
// search may assume a quiet start.
TEST(Differential, HelpPlayBegunInCheckAgreesWithTheEnumeration) {
  unsigned seed = 500;
  int solved = 0;
  for (const char* stipulation : {"h#1", "h#2", "h=1", "h=2", "h#2 max"})
    solved += CompareOnPositions(stipulation, CompareHelpPlay, kHelpSeeds, ++seed, true);
  EXPECT_GE(solved, kPositions / 2);
}

// Three moves reach the shorter searches below a helpmate's first move: a
// reply with a shorter play is written at that length only, and a
// White-begins helpmate with a shorter solution lists those.
TEST(Differential, HelpPlayOfThreeMovesAgreesWithTheEnumeration) {
  unsigned seed = 600;
  int solved = 0;
  for (const bool inCheck : {false, true})
    for (const char* stipulation : {"h#3", "h#3 W"}) {
      if (inCheck && stipulation[3] == ' ') continue;  // White cannot begin in check
      solved += CompareOnPositions(stipulation, CompareHelpPlay, kSmallHelpSeeds, ++seed, inCheck,
                                   kDeepPositions);
    }
  EXPECT_GE(solved, kDeepPositions);
}

}  // namespace
}  // namespace kv
