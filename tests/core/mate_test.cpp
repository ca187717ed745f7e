// The mate-in-one test, the candidate scan, and their agreement with brute
// force over positions reached by random legal play.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/attacks.h"
#include "core/mate_detail.h"
#include "core/perft.h"
#include "core/tables.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::Sq;

Move Quiet(Position& pos, const char* from, const char* to) {
  const int f = Sq(from);
  const int t = Sq(to);
  return Move{static_cast<std::int8_t>(f),
              static_cast<std::int8_t>(t),
              static_cast<std::int8_t>(t),
              pos.board[f],
              pos.board[f],
              pos.board[t]};
}

int Probe(Position& pos, const Move& move) {
  pos.probeMove = move;
  const Position before = pos;
  const int result = TestMateMove(pos);
  EXPECT_TRUE(testing::SameState(pos, before));
  return result;
}

TEST(MateTest, LineChecksMaskTheSquaresOnTheCheckLine) {
  // Rd4-d1 uncovers Ba1's check: h8, behind the king on that diagonal, is no
  // flight even though the king hides it from the attack test.
  Position pos = FromFen("K4br1/5bkp/6pp/8/3R4/8/8/B7");
  const Move move = Quiet(pos, "d4", "d1");
  EXPECT_EQ(Probe(pos, move), 100);
  EXPECT_EQ(pos.lastMate.from, move.from);
  EXPECT_TRUE(MatesByBruteForce(pos, move));
}

TEST(MateTest, DoubleStepAndEnPassant) {
  // b2-b4+ would mate, but c4xb3 e.p. takes the checker.
  Position pos = FromFen("1N6/8/2K5/k7/2p5/P1N5/1P6/8");
  const Move doubleStep = Quiet(pos, "b2", "b4");
  EXPECT_EQ(Probe(pos, doubleStep), 1);
  EXPECT_FALSE(MatesByBruteForce(pos, doubleStep));
  pos.board[Sq("c4")] = Empty;
  EXPECT_EQ(Probe(pos, doubleStep), 100);

  // A double step that uncovers a bishop: taking the pawn en passant does not
  // lift that check, so the move mates (the test must not stop at the
  // capture and report no check).
  Position discovered = FromFen("6bk/7p/8/8/p7/8/1P6/B3K3");
  const Move uncover = Quiet(discovered, "b2", "b4");
  EXPECT_TRUE(MatesByBruteForce(discovered, uncover));
  EXPECT_EQ(Probe(discovered, uncover), 100);
  EXPECT_EQ(FindMateInOne(discovered, 0, 0), 1);
}

TEST(MateTest, DoubleCheckAndBareKing) {
  // Sd8-f7 checks with the knight and uncovers Ra8: the black rook could take
  // the knight, but a double check leaves only king moves.
  Position pos = FromFen("R2N3k/6pp/8/8/8/8/5r2/4K3");
  EXPECT_EQ(Probe(pos, Quiet(pos, "d8", "f7")), 100);

  // With the black king alone, the escapes decide.
  Position bare = FromFen("7k/8/6K1/8/8/8/8/R7");
  ASSERT_EQ(bare.blackForce, 0);
  EXPECT_EQ(Probe(bare, Quiet(bare, "a1", "a8")), 100);
  EXPECT_EQ(Probe(bare, Quiet(bare, "a1", "h1")), 1);
  EXPECT_EQ(Probe(bare, Quiet(bare, "a1", "b1")), 0);
}

TEST(MateTest, MateThatExposesTheWhiteKingIsNoMate) {
  Position pos = FromFen("6k1/5ppp/8/8/3b4/8/1R6/K7");
  const Move move = Quiet(pos, "b2", "b8");
  pos.lastMate = Move{};
  EXPECT_EQ(Probe(pos, move), 0);
  EXPECT_EQ(pos.lastMate.from, 0);
  pos.board[Sq("d4")] = Empty;
  EXPECT_EQ(Probe(pos, move), 100);
}

TEST(MateTest, ParrySquareOnTheCheckLine) {
  Position pos = FromFen("7k/8/6K1/8/8/8/8/R7");
  const Move move = Quiet(pos, "a1", "a8");
  pos.parrySquare = static_cast<std::int16_t>(Sq("e8"));
  pos.blackForce = ForcePawn;  // the lifted man keeps the defence search on
  EXPECT_EQ(Probe(pos, move), 1);
  pos.parrySquare = static_cast<std::int16_t>(Sq("e7"));
  EXPECT_EQ(Probe(pos, move), 100);
}

TEST(MateTest, PromotionUncoversEitherKindOfLine) {
  // e7-e8=R leaves the seventh rank to the rook on h7: a mate, and the
  // promoted rook checks along no diagonal.
  Position pos = FromFen("8/k3P2R/8/1K6/8/8/8/8");
  Move promotion = Quiet(pos, "e7", "e8");
  promotion.placed = WhiteRook;
  EXPECT_TRUE(MatesByBruteForce(pos, promotion));
  EXPECT_EQ(Probe(pos, promotion), 100);
  // Looking only along diagonals, as for a rook move, would call it no check.
  pos.probeMove = promotion;
  EXPECT_EQ(detail::TestMateMove(pos, false), 0);
  promotion.placed = WhiteBishop;  // the bishop uncovers the rank just as well
  EXPECT_EQ(Probe(pos, promotion), 1);
}

TEST(FindMateInOne, ResultsAndStartSquare) {
  Position pos = FromFen("7k/8/6K1/8/8/8/8/RR6");
  EXPECT_EQ(FindMateInOne(pos, 0, 0), 1);
  EXPECT_EQ(pos.lastMate.from, Sq("a1"));
  // The scan starts at the last mating man's square.
  pos.lastMate.from = static_cast<std::int8_t>(Sq("b1"));
  EXPECT_EQ(FindMateInOne(pos, 0, 0), 1);
  EXPECT_EQ(pos.lastMate.from, Sq("b1"));
  // Black's last move left its king attacked.
  pos.board[Sq("b1")] = Empty;
  pos.board[Sq("h2")] = WhiteRook;
  DerivePositionState(pos);
  EXPECT_EQ(FindMateInOne(pos, 0, 0), -1);
  Position none = FromFen("7k/8/6K1/8/8/8/8/8");
  EXPECT_EQ(FindMateInOne(none, 0, 0), 0);

  // Castling is examined for a king that uncovers nothing; the king comes
  // before the rook in the scan.
  Position castle = FromFen("4rkr1/4p1p1/8/8/8/8/8/4K2R");
  castle.lastMate = Move{};
  EXPECT_EQ(FindMateInOne(castle, 0, 0), 1);
  EXPECT_EQ(castle.lastMate.from, Sq("e1"));
  EXPECT_EQ(castle.lastMate.to, Sq("g1"));
  castle.probeMove = castle.lastMate;
  EXPECT_EQ(TestMateMove(castle), 100);
}

// Starting points for random play: game positions, perft positions and the
// diagrams of real problems.
const char* const kStarts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R",
    "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3",
    "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2",
    "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6",
    "5Q2/2pbpN2/3p4/8/3kP1R1/2R5/1K6/6b1",
    "1QK5/3B4/3N4/1R1Pk3/4Np1R/4Pq2/8/8",
    "3Q1b2/7b/3npN2/2p5/2P2P1R/2P1k3/1N6/3BK3",
    "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q",
    "2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8",
    "8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8",
    "8/2N2qPQ/4R1p1/1R1BNk1p/K2p1p1B/3P1p2/1p2r1P1/8",
    "8/7Q/8/8/6p1/6N1/6kP/4K2R",
    "2B5/7q/pR2pr1n/K1N1k2P/2PR2b1/2P2rn1/3B3N/1Q6",
    "6R1/b1NN4/1p5K/1B1P4/3kp3/1R1pn3/6b1/1n4Q1",
    "3br3/Q4Rp1/1nNp2K1/R6N/3r2kB/6P1/B5P1/8",
    "2B1N1q1/2N1Pb2/1pP3rn/b3k1p1/r2p2R1/BR1p2K1/5Q2/8",
    "8/4p2K/3P4/5kP1/2R1Np2/1B3Q2/8/8",
    "1r2NbK1/8/6R1/2n1p3/1Qp1k1P1/2P1N1p1/q1P1BrP1/2B1R3",
    "5kNK/3pRp2/r5pp/1n2NB2/5R2/7q/p2rp3/1b5Q",
    "K7/1Q6/3pk2p/2pR4/1N6/8/6P1/8",
    "8/P7/8/5R2/4p3/8/2K1kB2/8",
    "4r1b1/1p4B1/pN2pR2/RB2k3/1P2N2p/2p3b1/n2P1p1r/5K1n",
    "7k/5Q2/8/6p1/8/7P/8/1n2K2R",
    "8/7B/1N6/ppB1p3/8/Pk6/8/R3K3",
    "8/4Q3/2k5/5B2/pK6/1p6/8/7b",
    "q1b1n1K1/2P1P3/8/3k4/8/8/8/8",
    "2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4",
    "2b2Knq/RP1BP1rr/7b/4p1p1/1N2k1P1/3n2P1/1pQPP3/NR4B1",
    "8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4",
};

struct DifferentialStats {
  int positions = 0;
  int mates = 0;
};

// Checks one position with White to move against brute force.
void CompareWithBruteForce(Position& pos, int lastFrom, int lastTo, DifferentialStats& stats) {
  MoveList list;
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, list) != 0) return;
  ++stats.positions;
  bool anyMate = false;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    const bool mates = MatesByBruteForce(pos, *m);
    anyMate = anyMate || mates;
    pos.probeMove = *m;
    const int result = TestMateMove(pos);
    ASSERT_EQ(result == 100, mates) << FenBoardField(pos.board) << " " << testing::MoveName(*m);
    // Counting both kinds of uncovered lines changes nothing but the rook
    // and bishop promotions.
    if (!(m->placed != m->moved && (m->placed == WhiteRook || m->placed == WhiteBishop))) {
      ASSERT_EQ(detail::TestMateMove(pos, false), result)
          << FenBoardField(pos.board) << " " << testing::MoveName(*m);
    }
  }
  stats.mates += anyMate;
  const Position before = pos;
  ASSERT_EQ(FindMateInOne(pos, lastFrom, lastTo), anyMate ? 1 : 0) << FenBoardField(pos.board);
  ASSERT_TRUE(testing::SameState(pos, before));
}

// The attack tests over the sets of men against the tests that walk the
// board from the square, on every square of the board; and the check test
// of each of Black's moves against playing it.
void CompareAttackTests(Position& pos, int lastFrom, int lastTo, int& squaresCompared) {
  MoveList black;
  if (GenerateBlackMoves(pos, lastFrom, lastTo, black) == 0 && IsSquare(pos.whiteKingSquare)) {
    const Position before = pos;
    for (const Move* m = black.moves.data(); m->from != 0; ++m) {
      MakeMove(pos, *m);
      const bool attacked = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
      UnmakeMove(pos, *m);
      ASSERT_EQ(BlackMoveAttacksWhiteKing(pos, *m), attacked)
          << FenBoardField(pos.board) << " " << testing::MoveName(*m);
      ASSERT_TRUE(testing::SameState(pos, before));
    }
  }
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    if (!IsSquare(s)) continue;
    ASSERT_EQ(AttackedByWhiteMen(pos, s), AttackedByWhite(pos, s))
        << FenBoardField(pos.board) << " " << testing::SquareName(s);
    ASSERT_EQ(AttackedByBlackMen(pos, s), AttackedByBlack(pos, s))
        << FenBoardField(pos.board) << " " << testing::SquareName(s);
    ++squaresCompared;
  }
}

std::vector<Move> LegalMoves(Position& pos, bool white, int lastFrom, int lastTo) {
  MoveList list;
  std::vector<Move> legal;
  const int result = white ? GenerateWhiteMoves(pos, lastFrom, lastTo, list)
                           : GenerateBlackMoves(pos, lastFrom, lastTo, list);
  if (result != 0) return legal;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    MakeMove(pos, *m);
    const bool safe = white ? AttackedByBlack(pos, pos.whiteKingSquare) == 0
                            : AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, *m);
    if (safe) legal.push_back(*m);
  }
  return legal;
}

TEST(FindMateInOne, AgreesWithBruteForceOverRandomPlay) {
#ifdef NDEBUG
  constexpr int kGamesPerStart = 40;
#else
  constexpr int kGamesPerStart = 8;
#endif
  constexpr int kMaxPlies = 60;
  std::mt19937 random(20261206);
  DifferentialStats stats;
  int squaresCompared = 0;
  for (const char* fen : kStarts) {
    for (int game = 0; game < kGamesPerStart; ++game) {
      Position pos = FromFen(fen);
      bool white = true;
      int lastFrom = 0;
      int lastTo = 0;
      for (int ply = 0; ply < kMaxPlies; ++ply) {
        CompareAttackTests(pos, lastFrom, lastTo, squaresCompared);
        if (::testing::Test::HasFatalFailure()) return;
        if (white) {
          CompareWithBruteForce(pos, lastFrom, lastTo, stats);
          if (::testing::Test::HasFatalFailure()) return;
        }
        const std::vector<Move> legal = LegalMoves(pos, white, lastFrom, lastTo);
        if (legal.empty()) break;
        const Move m = legal[random() % legal.size()];
        MakeMove(pos, m);
        lastFrom = m.from;
        lastTo = m.to;
        white = !white;
      }
    }
  }
  RecordProperty("positions", stats.positions);
  RecordProperty("mates", stats.mates);
  EXPECT_GT(stats.positions, 2000);
  EXPECT_GT(stats.mates, 50) << "too few mates to mean anything";
  EXPECT_GT(squaresCompared, 64 * 4000);
}

}  // namespace
}  // namespace kv
