// The backward helpmate walk: it answers as the plain walk does, position by
// position, and the helpmate and helpstalemate texts are the same with it on
// and off, on one thread and two, with a full table and one of a few slots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/tables.h"
#include "core/validation.h"
#include "help_walks.h"
#include "search_fixture.h"
#include "solver/help_backward.h"
#include "solver/help_fast.h"

namespace kv {
namespace {

using test::Helpmate;
using test::SearchWorld;
using test::VisitBlackWhiteBlack;

// Every helpmate of the checked set, of the deep set and of the bench suite
// (under the sanitizers, only those the plain search solves at once).
// A helpmate the walks solve in a moment even without their tables: the
// two-movers and those the other solver's plain mode took 0.2 s or less for.
bool IsQuick(const Helpmate& row) {
  return row.stipulation.rfind("h#2", 0) == 0 || (row.plainSeconds > 0 && row.plainSeconds <= 0.2);
}

std::vector<Helpmate> EveryHelpmate() {
  std::vector<Helpmate> rows;
  std::set<std::string> ids;
  const auto add = [&](const std::vector<Helpmate>& more) {
    for (const Helpmate& row : more) {
#ifndef NDEBUG
      if (!IsQuick(row)) continue;
#endif
      if (ids.insert(row.id).second) rows.push_back(row);
    }
  };
  add(test::ReadHelpmates("search_problems.tsv"));
  add(test::ReadHelpmates("helpmates-deep.tsv"));
  add(test::ReadHelpmates("suite.tsv", "bench/problems/"));
  return rows;
}

// The helpstalemates of the test data (id, stipulation, who begins, board,
// solutions), those in which Black begins or all.
std::vector<Helpmate> ReadHelpstalemates(bool blackBeginsOnly) {
  std::vector<Helpmate> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/helpstalemates.tsv");
  EXPECT_TRUE(in.good());
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    const std::vector<std::string> cells = test::TabFields(line);
    if (cells.size() < 5) continue;
    const bool whiteBegins = cells[2] == "white";
    if (whiteBegins && blackBeginsOnly) continue;
    rows.push_back({cells[0], cells[1] + (whiteBegins ? " W" : ""), cells[3], 0, {}});
  }
  EXPECT_FALSE(rows.empty());
  return rows;
}

// Every position after Black's first move and, below the first few, after
// one more pair of moves: the backward walk's answer with the moves left
// against the plain walk's, for the goal of the row. Returns the number of
// positions compared.
int CompareWithThePlainWalk(const Helpmate& row) {
  const int moves = std::atoi(row.stipulation.c_str() + 2);
  const Goal goal = row.stipulation[1] == '=' ? Goal::Stalemate : Goal::Mate;
  SearchWorld world(row.fen);
  Position& pos = world.pos;
  HelpFast& backward = world.state->helpFast;
  backward.goal = goal;
  HelpFast plain;
  plain.backwardEnabled = false;
  plain.goal = goal;
  int compared = 0;
  VisitBlackWhiteBlack(
      pos, 3, std::numeric_limits<int>::max(),
      [&](const Move& last, int pairsPlayed, const std::string& line) {
        const int left = moves - pairsPlayed;
        EXPECT_EQ(HelpMateWithin(backward, pos, last, left), HelpMateWithin(plain, pos, last, left))
            << row.id << " after " << line;
        ++compared;
      });
  return compared;
}

TEST(BackwardHelpmate, AnswersAsThePlainWalk) {
  // White with few men (king and knight; king and pawns), castling on both
  // sides, promotions of both colours, a checking knight.
#ifdef NDEBUG
  const char* const ids[] = {"hm_ex1b", "hm_ex35",      "hm_ex98", "hm_castling_6a", "hm_ex41b",
                             "hm_ex27", "hm_hpint_51a", "hm_ex59", "hm_ex7a"};
#else
  const char* const ids[] = {"hm_castling_6a", "hm_hpint_51a", "hm_ex59"};
#endif
  int compared = 0;
  int problems = 0;
  for (const Helpmate& row : test::ReadHelpmates("helpmates-deep.tsv")) {
    if (row.stipulation.find(' ') != std::string::npos) continue;  // White begins
    for (const char* id : ids) {
      if (row.id != id) continue;
      ++problems;
      compared += CompareWithThePlainWalk(row);
    }
  }
  EXPECT_EQ(problems, static_cast<int>(std::size(ids)));
  EXPECT_GT(compared, 1000);
}

TEST(BackwardHelpmate, StalemateAnswersAsThePlainWalk) {
  // Promotions of both colours, a king that walks into its stalemate, a
  // knight and a king as White's only men.
#ifdef NDEBUG
  const char* const ids[] = {"st003_hs3", "st010_hs3", "st012_hs4", "st022_hs5", "st031_hs3"};
#else
  const char* const ids[] = {"st003_hs3", "st012_hs4"};
#endif
  int compared = 0;
  int problems = 0;
  for (const Helpmate& row : ReadHelpstalemates(true)) {
    for (const char* id : ids) {
      if (row.id != id) continue;
      ++problems;
      compared += CompareWithThePlainWalk(row);
    }
  }
  EXPECT_EQ(problems, static_cast<int>(std::size(ids)));
  EXPECT_GT(compared, 200);
}

TEST(BackwardHelpmate, TheTargetsOfOneGoalServeNoQuestionOfTheOther) {
  // The same position asked for a mate, then a stalemate, then a mate
  // again, by one walk: each answer is the plain walk's of its goal.
  SearchWorld world("8/2P5/3p4/2pP2p1/2P1K1k1/8/1p5P/8");
  HelpFast& fast = world.state->helpFast;
  for (const Goal goal : {Goal::Mate, Goal::Stalemate, Goal::Mate}) {
    HelpFast plain;
    plain.backwardEnabled = false;
    plain.goal = goal;
    fast.goal = goal;
    PrepareHelpTargets(fast, world.pos, 3, 3);
    MoveList black;
    GenerateBlackMoves(world.pos, 0, 0, black);
    for (int i = 0; black.moves[i].from != 0; ++i) {
      const Move b = black.moves[i];
      MakeMove(world.pos, b);
      EXPECT_EQ(HelpMateWithin(fast, world.pos, b, 3), HelpMateWithin(plain, world.pos, b, 3))
          << test::LongText(b) << (goal == Goal::Mate ? " mate" : " stalemate");
      UnmakeMove(world.pos, b);
    }
  }
}

// A random legal-looking position with White to move: the kings, one to
// three more white men and one to three black men, pawns off the last
// rows, neither king attacked.
Position RandomPosition(std::mt19937& random) {
  constexpr std::int8_t kWhite[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight, WhitePawn};
  constexpr std::int8_t kBlack[] = {BlackQueen, BlackRook, BlackBishop, BlackKnight, BlackPawn};
  for (;;) {
    Position pos;
    ClearBoard(pos.board);
    const auto put = [&](std::int8_t man) {
      for (;;) {
        const int square =
            FirstSquare + static_cast<int>(random() % 8) * 10 + static_cast<int>(random() % 8);
        const bool lastRow = square < 30 || square > 90;
        if (pos.board[square] != Empty || ((man == WhitePawn || man == BlackPawn) && lastRow))
          continue;
        pos.board[square] = man;
        return;
      }
    };
    put(WhiteKing);
    put(BlackKing);
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i) put(kWhite[random() % 5]);
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i) put(kBlack[random() % 5]);
    DerivePositionState(pos);
    if (AttackedByWhite(pos, pos.blackKingSquare) == 0 &&
        AttackedByBlack(pos, pos.whiteKingSquare) == 0)
      return pos;
  }
}

TEST(BackwardHelpmate, BothWalksAnswerAsThePlainRecursionOnRandomPositions) {
  // Two white moves and one black between: mates by promotions, captures
  // and uncovered lines of every kind turn up among a few thousand.
  std::mt19937 random(20240611);
#ifdef NDEBUG
  constexpr int kPositions = 4000;
#else
  constexpr int kPositions = 400;
#endif
  int mates = 0;
  for (int i = 0; i < kPositions; ++i) {
    Position pos = RandomPosition(random);
    const int plain = test::PlainHelpMate(pos, Move{}, 2);
    if (plain == HelpMate) ++mates;
    for (const bool backward : {false, true}) {
      HelpFast fast(1024);
      fast.backwardEnabled = backward;
      EXPECT_EQ(HelpMateWithin(fast, pos, Move{}, 2), plain)
          << FenBoardField(pos.board) << (backward ? " backward" : " plain walk");
    }
  }
  EXPECT_GT(mates, kPositions / 10);
}

TEST(BackwardHelpmate, TargetsMadeWithoutCastlingServeNoPositionThatMayCastle) {
  // 1.h3 h6 2.O-O-O#: only the castled king and rook mate in time. The
  // targets of the same men with castling gone and a move more fit this
  // position by their counts, but they were counted without castling.
  const char* const fen = "8/7p/8/8/2ppp3/2pkp1N1/7P/R3K3";
  SearchWorld castled(fen);
  SearchWorld kingMoved(fen);
  kingMoved.pos.castlingCounters[WhiteKingMoves] = 1;
  ASSERT_EQ(test::PlainHelpMate(castled.pos, Move{}, 2), HelpMate);
  ASSERT_EQ(test::PlainHelpMate(kingMoved.pos, Move{}, 2), HelpNoMate);
  HelpFast fast(1024);
  HelpMateWithin(fast, kingMoved.pos, Move{}, 3);
  EXPECT_EQ(HelpMateWithin(fast, castled.pos, Move{}, 2), HelpMate);
}

TEST(BackwardHelpmate, ASearchWithTooManyTargetsIsLeftToThePlainWalk) {
  // Eleven white men with three moves each: more targets than the limit
  // where the search starts, so none are made again after its first moves,
  // and the text is the plain walk's.
  const Helpmate row{"many white men", "h#3", "4k3/3ppp2/8/8/2B1Q3/2N2N2/1PP2PP1/R3KB1R", 0, {}};
  SearchWorld world(row.fen);
  PrepareHelpTargets(world.state->helpFast, world.pos, 3, 3);
  ASSERT_TRUE(world.state->helpFast.backward);
  EXPECT_TRUE(world.state->helpFast.backward->plainSearch);
  EXPECT_FALSE(world.state->helpFast.backward->targets.complete);
  test::HelpSolveSetup setup;
  setup.setPlay = false;
  setup.backward = false;
  const std::string plain = test::SolveText(row, setup);
  setup.backward = true;
  EXPECT_EQ(test::SolveText(row, setup), plain);
}

TEST(BackwardHelpmate, ManyTargetsAreMadeOnceThePlainWalkHasWorkedLongEnough) {
  // 28 160 targets where this h#3 starts: more than are made first, fewer
  // than the limit. The plain walk answers until it has reached enough
  // positions, then the targets are made in full and the walk takes over.
  SearchWorld world("2rR2BK/p1n1q1pp/1nPrb3/3kb3/8/1p1p4/3PP3/8");
  HelpFast& fast = world.state->helpFast;
  PrepareHelpTargets(fast, world.pos, 3, 3);
  ASSERT_TRUE(fast.backward);
  const HelpBackwardMemory& memory = *fast.backward;
  EXPECT_TRUE(memory.plainSearch);
  MoveList black;
  GenerateBlackMoves(world.pos, 0, 0, black);
  // The first few black moves: the plain walk is slow here.
  constexpr int kCompared = 4;
  int compared = 0;
  for (int i = 0; black.moves[i].from != 0 && i < kCompared; ++i) {
    const Move move = black.moves[i];
    MakeMove(world.pos, move);
    HelpFast plain;
    plain.backwardEnabled = false;
    const int expected = HelpMateWithin(plain, world.pos, move, 3);
    if (i == 0) {
      EXPECT_EQ(HelpMateBackward(fast, fast.table, world.pos, move, 3, nullptr, nullptr),
                HelpDeclined);
      fast.nodes = memory.retryAt;
    }
    EXPECT_EQ(HelpMateWithin(fast, world.pos, move, 3), expected) << test::LongText(move);
    UnmakeMove(world.pos, move);
    ++compared;
  }
  EXPECT_EQ(compared, kCompared);
  EXPECT_FALSE(memory.plainSearch);
  EXPECT_TRUE(memory.targets.complete);
  EXPECT_GT(memory.targets.targets.size(), HelpFirstTargetLimit);
}

// Solves each row with the backward walk off, then on with one thread and
// two, a full table and (on the quick rows) a tiny one: the texts must be
// the same. `solved` tells a text with a solution.
template <typename Solved>
void CompareTextsOnAndOff(const std::vector<Helpmate>& rows, const Solved& solved) {
  constexpr std::size_t kTinyTable = 4;
  for (const Helpmate& row : rows) {
    test::HelpSolveSetup setup;
    setup.backward = false;
    const std::string plain = test::SolveText(row, setup);
    EXPECT_TRUE(solved(plain)) << row.id;
    setup.backward = true;
    for (const int threads : {1, 2}) {
      for (const std::size_t slots : {DefaultHelpTableSlots, kTinyTable}) {
        // Without its table a deep helpmate takes minutes: the tiny table is
        // tried on the quick ones, which still make it evict and refill.
        if (slots == kTinyTable && !IsQuick(row)) continue;
        setup.threads = threads;
        setup.tableSlots = slots;
        EXPECT_EQ(test::SolveText(row, setup), plain)
            << row.id << ", " << threads << " thread(s), " << slots << " slots";
      }
    }
  }
}

TEST(BackwardHelpmate, TextsAreTheSameWithTheBackwardWalkOnAndOff) {
  const std::vector<Helpmate> rows = EveryHelpmate();
#ifdef NDEBUG
  EXPECT_EQ(rows.size(), 85u);
#else
  EXPECT_EQ(rows.size(), 10u);
#endif
  // Solved: a mating line, or an h#1 with White beginning, written as a
  // mate in one.
  CompareTextsOnAndOff(rows, [](const std::string& text) {
    return text.find('#') != std::string::npos || text.find("Mate in 1") != std::string::npos;
  });
}

TEST(BackwardHelpmate, StalemateTextsAreTheSameWithTheBackwardWalkOnAndOff) {
  // The helpstalemates of three moves or more that the plain walk solves
  // in a moment (under the sanitizers, two of them); the tiny table on
  // those of three moves (the file has no plain times, which IsQuick
  // reads).
#ifdef NDEBUG
  const std::set<std::string> ids = {"st003_hs3", "st010_hs3", "st012_hs4", "st019_hs3",
                                     "st022_hs5", "st031_hs3", "st035_hs3", "st016_hs3"};
#else
  const std::set<std::string> ids = {"st003_hs3", "st035_hs3"};
#endif
  std::vector<Helpmate> rows;
  for (Helpmate row : ReadHelpstalemates(false)) {
    if (ids.count(row.id) == 0) continue;
    row.plainSeconds = row.stipulation.rfind("h=3", 0) == 0 ? 0.1 : 1;
    rows.push_back(row);
  }
  EXPECT_EQ(rows.size(), ids.size());
  CompareTextsOnAndOff(rows, [](const std::string& text) {
    return text.find('=') != std::string::npos && text.find("No solution") == std::string::npos;
  });
}

}  // namespace
}  // namespace kv
