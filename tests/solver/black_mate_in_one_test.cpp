// Black's mate in one found on the turned board against the plain test:
// every black move played, its legality asked and White's every answer
// tried. They are compared at every position of a walk from published
// reflexmates and selfmates and from positions built for the rare mates
// (castling, en passant, promotion, double check, pins), where a turned
// square, a swapped counter or a lost force flag would lose or invent a
// mate and so change a reflexmate's solution.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fen.h"
#include "core/tables.h"
#include "search_fixture.h"
#include "solver/black_mate_in_one.h"

namespace kv {
namespace {

using test::SearchWorld;

const std::vector<const char*> kWalkSeeds = {
    // The reflexmates and selfmates of the bench suite.
    "8/P1Nr3P/1PpR2rq/6p1/1p3p2/1Nk5/2P5/1K1R4",
    "2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/3R4",
    "KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b",
    "8/8/r2N3b/1R3PB1/1p3Q2/ppkP2R1/2p2ppq/2K2br1",
    // Black mates by castling; by taking en passant, opening a rank; by a
    // knight promotion; by a discovered double check; past pinned men.
    "r3k2r/8/8/8/8/8/3PPP2/3QKB2",
    "7k/8/8/8/2p4r/8/1P1P4/K7",
    "8/8/8/8/8/8/1p1PPPPP/3RK1R1",
    "3k4/8/8/8/q2B1r2/8/2N5/3K2n1",
    "4k3/3p4/8/4P3/5K2/8/2b5/r3R3",
    "7K/5k1P/8/8/8/8/8/6r1",
};

std::string Fen(const Position& pos) {
  return FenBoardField(pos.board);
}

// After White's move lastFrom-lastTo: -1 when a black man attacks White's
// king, 1 when a legal black move leaves White in check without a legal
// answer, else 0; every move played in full.
int PlainBlackMateInOne(Position& pos, int lastFrom, int lastTo) {
  MoveList replies;
  if (GenerateBlackMoves(pos, lastFrom, lastTo, replies) != 0) return -1;
  for (int i = 0; replies.moves[i].from != 0; ++i) {
    const Move b = replies.moves[i];
    MakeMove(pos, b);
    bool mate = false;
    const bool legal =
        !IsSquare(pos.blackKingSquare) || AttackedByWhite(pos, pos.blackKingSquare) == 0;
    if (legal && IsSquare(pos.whiteKingSquare) && AttackedByBlack(pos, pos.whiteKingSquare) != 0) {
      MoveList answers;
      GenerateWhiteMoves(pos, b.from, b.to, answers);
      mate = true;
      for (int j = 0; mate && answers.moves[j].from != 0; ++j) {
        MakeMove(pos, answers.moves[j]);
        mate = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
        UnmakeMove(pos, answers.moves[j]);
      }
    }
    UnmakeMove(pos, b);
    if (mate) return 1;
  }
  return 0;
}

struct Counts {
  int positions = 0;
  int mates = 0;
};

// White to move: after each white move, the turned board's answer against
// the plain one; then each legal black reply and, `depth` times, on.
void Walk(Position& pos, int lastFrom, int lastTo, int depth, Move& hint, Counts& counts) {
  MoveList moves;
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, moves) != 0) return;
  for (int i = 0; moves.moves[i].from != 0; ++i) {
    const Move w = moves.moves[i];
    MakeMove(pos, w);
    const int plain = PlainBlackMateInOne(pos, w.from, w.to);
    ASSERT_EQ(FindBlackMateInOne(pos, w.from, w.to, hint), plain)
        << Fen(pos) << " after white's move " << i;
    ++counts.positions;
    counts.mates += plain == 1;
    if (plain == 0 && depth > 0) {
      MoveList replies;
      GenerateBlackMoves(pos, w.from, w.to, replies);
      for (int j = 0; replies.moves[j].from != 0; ++j) {
        const Move b = replies.moves[j];
        MakeMove(pos, b);
        if (!IsSquare(pos.blackKingSquare) || AttackedByWhite(pos, pos.blackKingSquare) == 0)
          Walk(pos, b.from, b.to, depth - 1, hint, counts);
        UnmakeMove(pos, b);
        if (::testing::Test::HasFatalFailure()) break;
      }
    }
    UnmakeMove(pos, w);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(BlackMateInOne, AgreesWithThePlainTestAtEveryPositionOfAWalk) {
  Counts counts;
  int seeds = 0;
  for (const char* fen : kWalkSeeds) {
    SearchWorld world(fen);
    Move hint{};
    Walk(world.pos, 0, 0, 1, hint, counts);
    ASSERT_FALSE(::testing::Test::HasFatalFailure()) << fen;
    ++seeds;
  }
  EXPECT_EQ(seeds, static_cast<int>(kWalkSeeds.size()));
  EXPECT_GT(counts.positions, 20000);
  EXPECT_GT(counts.mates, 500);
}

TEST(BlackMateInOne, SaysWhenWhitesLastMoveWasIllegal) {
  SearchWorld attacked("7k/8/8/8/8/8/8/r3K3");
  Move hint{};
  EXPECT_EQ(FindBlackMateInOne(attacked.pos, 0, 0, hint), -1);
  // Kings side by side: the black king attacks too.
  SearchWorld kings("8/8/8/8/8/8/8/4Kk2");
  EXPECT_EQ(FindBlackMateInOne(kings.pos, 0, 0, hint), -1);
}

TEST(BlackMateInOne, TurningTwiceGivesThePositionBack) {
  for (const char* fen : kWalkSeeds) {
    SearchWorld world(fen);
    world.pos.castlingCounters = {0, 1, 2, 3, 4, 5};
    Position turned;
    Position back;
    TurnOver(world.pos, turned);
    TurnOver(turned, back);
    EXPECT_EQ(back.board, world.pos.board) << fen;
    EXPECT_EQ(back.whiteKingSquare, world.pos.whiteKingSquare) << fen;
    EXPECT_EQ(back.blackKingSquare, world.pos.blackKingSquare) << fen;
    EXPECT_EQ(back.whiteMen, world.pos.whiteMen) << fen;
    EXPECT_EQ(back.blackMen, world.pos.blackMen) << fen;
    EXPECT_EQ(back.castlingCounters, world.pos.castlingCounters) << fen;
    // The turned side's force is that of the men it has.
    Position derived = turned;
    DerivePositionState(derived);
    EXPECT_EQ(turned.blackForce, derived.blackForce) << fen;
  }
}

}  // namespace
}  // namespace kv
