// The quick tests of the selfmate and reflexmate searches against the plain
// ones they stand for: whether a black reply checks, whether it is legal,
// and whether White stands mated or stalemated. They are compared at every
// position of a walk three plies deep from published selfmates and from
// positions built for the rare cases (en passant, castling, promotion,
// double check, pins), where a shortcut that misses one way out or one
// line of attack would change a solution.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fen.h"
#include "search_fixture.h"
#include "solver/search_goal.h"
#include "tests/common/case_share.h"

namespace kv {
namespace {

using test::SearchWorld;

const std::vector<const char*> kWalkSeeds = {
    // Published selfmates and the reflexmate of the checked set.
    "8/8/r2N3b/1R3PB1/1p3Q2/ppkP2R1/2p2ppq/2K2br1",
    "8/RQ4p1/2NpBpP1/2k2Kp1/1Np3rr/B3p2b/qp1P2p1/1n6",
    "8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4",
    "KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b",
    // Black takes en passant and opens the rank of its rook onto the king,
    // or the diagonal of its bishop through the square of the pawn taken.
    "7k/8/8/8/K1p4r/8/3P4/8",
    "7k/b7/8/8/2p5/8/3P4/6K1",
    // White takes a checking pawn en passant; pinned men on both sides.
    "4k3/3p4/8/4P3/5K2/8/2b5/r3R3",
    // Black castles with check; White's king boxed in by its own men.
    "r3k2r/8/8/8/8/8/3PPP2/3QKB2",
    // White's king with few squares: stalemates as well as mates.
    "K7/P1k5/8/8/8/8/8/1r6",
    // Promotions with and without check, double checks by discovery.
    "8/8/8/8/1k6/8/1p1p4/R2K3q",
    "3k4/8/8/8/q2B1r2/8/2N5/3K2n1",
};

std::string Fen(const Position& pos) {
  return FenBoardField(pos.board);
}

// What the quick tests must agree with: each reply played in full and the
// kings' squares asked by the plain attack tests.
bool PlainChecks(Position& pos, const Move& reply) {
  MakeMove(pos, reply);
  const bool check = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
  UnmakeMove(pos, reply);
  return check;
}

bool PlainLegal(Position& pos, const Move& reply) {
  MakeMove(pos, reply);
  const bool legal =
      !IsSquare(pos.blackKingSquare) || AttackedByWhite(pos, pos.blackKingSquare) == 0;
  UnmakeMove(pos, reply);
  return legal;
}

bool PlainAtGoal(Position& pos, const MoveList& list, Goal goal) {
  const bool inCheck = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
  if (inCheck != (goal == Goal::Mate)) return false;
  for (int i = 0; list.moves[i].from != 0; ++i) {
    MakeMove(pos, list.moves[i]);
    const bool attacked = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
    UnmakeMove(pos, list.moves[i]);
    if (!attacked) return false;
  }
  return true;
}

struct Counts {
  int replies = 0;
  int checks = 0;
  int illegal = 0;
  int mates = 0;
  int stalemates = 0;
};

// Black to move after White's legal move `w`: every reply's check and
// legality, and after each legal reply White's standing at both goals.
void CompareReplies(SearchWorld& world, const Move& w, int depth, Counts& counts) {
  Position& pos = world.pos;
  MoveList replies;
  if (GenerateBlackMoves(pos, w.from, w.to, replies) != 0) return;
  const bool inCheck =
      IsSquare(pos.blackKingSquare) && AttackedByWhite(pos, pos.blackKingSquare) != 0;
  for (int i = 0; replies.moves[i].from != 0; ++i) {
    const Move b = replies.moves[i];
    const bool checks = PlainChecks(pos, b);
    const bool legal = PlainLegal(pos, b);
    ASSERT_EQ(search_detail::BlackReplyChecks(pos, b), checks) << Fen(pos) << " reply " << i;
    ASSERT_EQ(search_detail::BlackReplyLegal(pos, b, inCheck), legal) << Fen(pos) << " reply " << i;
    ++counts.replies;
    counts.checks += checks;
    if (!legal) {
      ++counts.illegal;
      continue;
    }
    MakeMove(pos, b);
    MoveList answers;
    GenerateWhiteMoves(pos, b.from, b.to, answers);
    for (const Goal goal : {Goal::Mate, Goal::Stalemate}) {
      world.state->goal = goal;
      const bool plain = PlainAtGoal(pos, answers, goal);
      ASSERT_EQ(search_detail::WhiteAtGoal(*world.state, pos, answers), plain)
          << Fen(pos) << (goal == Goal::Mate ? " mate" : " stalemate");
      if (plain) ++(goal == Goal::Mate ? counts.mates : counts.stalemates);
    }
    if (depth > 1) {
      for (int j = 0; answers.moves[j].from != 0; ++j) {
        const Move w2 = answers.moves[j];
        MakeMove(pos, w2);
        if (AttackedByBlack(pos, pos.whiteKingSquare) == 0)
          CompareReplies(world, w2, depth - 1, counts);
        UnmakeMove(pos, w2);
        if (::testing::Test::HasFatalFailure()) break;
      }
    }
    UnmakeMove(pos, b);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// The published selfmates, the first seeds, give most of the positions: a
// Debug build walks from a share of their first moves, and from every move
// of the constructed seeds, which hold the rare cases.
constexpr std::size_t kPublishedSeeds = 4;

TEST(QuickGoalTests, AgreeWithThePlainTestsAtEveryPositionOfAWalk) {
  const test::CaseShare share(10);
  Counts counts;
  int seeds = 0;
  for (const char* fen : kWalkSeeds) {
    const bool published = seeds < static_cast<int>(kPublishedSeeds);
    SearchWorld world(fen);
    MoveList moves;
    ASSERT_EQ(GenerateWhiteMoves(world.pos, 0, 0, moves), 0) << fen;
    for (int i = 0; moves.moves[i].from != 0; ++i) {
      if (published && !share.Runs(i)) continue;
      const Move w = moves.moves[i];
      MakeMove(world.pos, w);
      if (AttackedByBlack(world.pos, world.pos.whiteKingSquare) == 0)
        CompareReplies(world, w, 2, counts);
      UnmakeMove(world.pos, w);
      ASSERT_FALSE(::testing::Test::HasFatalFailure()) << fen;
    }
    ++seeds;
  }
  EXPECT_EQ(seeds, static_cast<int>(kWalkSeeds.size()));
  // The walk must have met every case the shortcuts decide.
  EXPECT_GT(counts.replies, share.AtLeast(1000000));
  EXPECT_GT(counts.checks, share.AtLeast(100000));
  EXPECT_GT(counts.illegal, share.AtLeast(100000));
  EXPECT_GT(counts.mates, share.AtLeast(10000));
  EXPECT_GT(counts.stalemates, 10);
}

// Squares of the padded board: a8 is 22, h1 is 99.
constexpr int Square(char file, int rank) {
  return 10 * (10 - rank) + (file - 'a') + 2;
}

// The checks the quick test must not miss: the two squares an en passant
// capture empties, the rook of a castling, the man a promotion places.
TEST(QuickGoalTests, SeeChecksByEnPassantCastlingAndPromotion) {
  // c4xd3 en passant empties c4 and d4: the rook on h4 checks the king on a4.
  SearchWorld passant("7k/8/8/8/K1pP3r/8/8/8");
  const Move enPassant{Square('c', 4), Square('d', 3), Square('d', 4),
                       BlackPawn,      BlackPawn,      WhitePawn};
  EXPECT_TRUE(PlainChecks(passant.pos, enPassant));
  EXPECT_TRUE(search_detail::BlackReplyChecks(passant.pos, enPassant));
  // The same capture opens the diagonal a7-g1 through d4 alone.
  SearchWorld diagonal("7k/b7/8/8/2pP4/8/8/6K1");
  EXPECT_TRUE(PlainChecks(diagonal.pos, enPassant));
  EXPECT_TRUE(search_detail::BlackReplyChecks(diagonal.pos, enPassant));
  // Black's short castling puts the rook on f8, on the file of the king on f1.
  SearchWorld castles("r3k2r/8/8/8/8/8/8/5K2");
  const Move shortCastling{Square('e', 8), Square('g', 8), Square('g', 8),
                           BlackKing,      BlackKing,      Empty};
  EXPECT_TRUE(PlainChecks(castles.pos, shortCastling));
  EXPECT_TRUE(search_detail::BlackReplyChecks(castles.pos, shortCastling));
  // bxc1 checks the king on d3 as a knight, not as a queen.
  SearchWorld promotes("8/8/8/8/8/3K4/1p6/2R4k");
  const int b2 = Square('b', 2);
  const int c1 = Square('c', 1);
  const Move toKnight{static_cast<std::int8_t>(b2),
                      static_cast<std::int8_t>(c1),
                      static_cast<std::int8_t>(c1),
                      BlackPawn,
                      BlackKnight,
                      WhiteRook};
  const Move toQueen{static_cast<std::int8_t>(b2),
                     static_cast<std::int8_t>(c1),
                     static_cast<std::int8_t>(c1),
                     BlackPawn,
                     BlackQueen,
                     WhiteRook};
  EXPECT_TRUE(search_detail::BlackReplyChecks(promotes.pos, toKnight));
  EXPECT_FALSE(search_detail::BlackReplyChecks(promotes.pos, toQueen));
  EXPECT_FALSE(PlainChecks(promotes.pos, toQueen));
}

// In check on the back rank White escapes only by interposing or taking;
// with no such move it is mated although it has other moves.
TEST(QuickGoalTests, MateNeedsEveryWayOutClosed) {
  SearchWorld interposes("3R4/8/7k/8/8/8/5PPP/r5K1");
  interposes.state->goal = Goal::Mate;
  MoveList moves;
  GenerateWhiteMoves(interposes.pos, 0, 0, moves);
  EXPECT_FALSE(search_detail::WhiteAtGoal(*interposes.state, interposes.pos, moves));
  SearchWorld mated("8/8/7k/8/8/8/5PPP/r5K1");
  mated.state->goal = Goal::Mate;
  GenerateWhiteMoves(mated.pos, 0, 0, moves);
  EXPECT_TRUE(search_detail::WhiteAtGoal(*mated.state, mated.pos, moves));
  // The same king out of check with pawn moves left is not stalemated.
  mated.state->goal = Goal::Stalemate;
  EXPECT_FALSE(search_detail::WhiteAtGoal(*mated.state, mated.pos, moves));
}

}  // namespace
}  // namespace kv
