// The shortcuts of the searches' inner loops, against the full generators:
// the sets of men that MakeMove keeps and the generators walk, and the test
// whether a killer taken from another position is one of Black's moves here.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "core/tables.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::MoveName;
using testing::MoveNames;
using testing::Moves;

// Castlings, en passant and promotions of both colours, captures of men of
// every kind.
const char* const kFens[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1",
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R",
    "4k3/1P1p4/8/4P3/2p5/8/3P2p1/4K3",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8",
};

// Plays every line of three plies, White first, and calls `visit` after
// each move played, with the last move.
template <typename Visit>
void WalkThreePlies(Position& pos, bool white, int depth, int lastFrom, int lastTo, Visit visit) {
  if (depth == 0) return;
  MoveList list;
  const int code = white ? GenerateWhiteMoves(pos, lastFrom, lastTo, list)
                         : GenerateBlackMoves(pos, lastFrom, lastTo, list);
  if (code != 0) return;
  for (const Move& m : Moves(list)) {
    MakeMove(pos, m);
    visit(pos, m, white);
    WalkThreePlies(pos, !white, depth - 1, m.from, m.to, visit);
    UnmakeMove(pos, m);
  }
}

TEST(MenSets, MakeAndUnmakeKeepTheSetsOfBothSides) {
  int checked = 0;
  for (const char* fen : kFens) {
    Position pos = FromFen(fen);
    ASSERT_EQ(pos.whiteMen, WhiteMenOf(pos.board)) << fen;
    ASSERT_EQ(pos.blackMen, BlackMenOf(pos.board)) << fen;
    const Position start = pos;
    WalkThreePlies(pos, true, 3, 0, 0, [&](const Position& p, const Move& m, bool) {
      ASSERT_EQ(p.whiteMen, WhiteMenOf(p.board)) << fen << " " << MoveName(m);
      ASSERT_EQ(p.blackMen, BlackMenOf(p.board)) << fen << " " << MoveName(m);
      ++checked;
    });
    EXPECT_EQ(pos.whiteMen, start.whiteMen) << fen;
    EXPECT_EQ(pos.blackMen, start.blackMen) << fen;
  }
  EXPECT_GT(checked, 50000);
}

// The searches lift a black man off the board for a while without touching
// the sets; Black's list must then be the list of the board as it stands.
TEST(MenSets, LiftedBlackManIsPassedOver) {
  int checked = 0;
  for (const char* fen : kFens) {
    const Position start = FromFen(fen);
    for (int s = FirstSquare; s <= LastSquare; ++s) {
      if (start.board[s] <= OffBoard || start.board[s] == BlackKing) continue;
      Position lifted = start;
      lifted.board[s] = Empty;
      Position derived = lifted;
      derived.blackMen = BlackMenOf(derived.board);
      MoveList got, want;
      const int code = GenerateBlackMoves(lifted, 0, 0, got);
      ASSERT_EQ(code, GenerateBlackMoves(derived, 0, 0, want)) << fen << " " << s;
      EXPECT_EQ(MoveNames(got), MoveNames(want)) << fen << " without " << s;
      ++checked;
    }
  }
  EXPECT_GT(checked, 30);
}

TEST(WhiteMen, SquareBitsFollowSquareOrder) {
  int previous = -1;
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    if (!IsSquare(s)) {
      EXPECT_EQ(SquareBit[s], 0u) << s;
      continue;
    }
    const int bit = std::countr_zero(SquareBit[s]);
    EXPECT_EQ(bit, previous + 1) << s;
    EXPECT_EQ(BitSquare(bit), s);
    previous = bit;
  }
  EXPECT_EQ(previous, 63);
  EXPECT_EQ(SquareBit[0], 0u);
  EXPECT_EQ(SquareBit[100], 0u);  // the null move's cells
}

bool SameRecord(const Move& a, const Move& b) {
  return a.from == b.from && a.to == b.to && a.capture == b.capture && a.moved == b.moved &&
         a.placed == b.placed && a.captured == b.captured;
}

// Every black move met anywhere in the walks, offered as a killer in every
// position with Black to move: it fits exactly when the generator writes it
// there (castling never), and then as the generator writes it.
TEST(BlackMoveFits, AgreesWithTheGeneratorForKillersFromOtherPositions) {
  int positions = 0;
  int fits = 0;
  for (const char* fen : kFens) {
    Position pos = FromFen(fen);
    std::vector<Move> pool;
    WalkThreePlies(pos, false, 1, 0, 0,
                   [&](const Position&, const Move& m, bool) { pool.push_back(m); });
    WalkThreePlies(pos, true, 3, 0, 0, [&](const Position&, const Move& m, bool white) {
      if (!white && pool.size() < 400) pool.push_back(m);
    });
    WalkThreePlies(pos, true, 1, 0, 0, [&](Position& p, const Move& last, bool) {
      MoveList list;
      if (GenerateBlackMoves(p, last.from, last.to, list) != 0) return;
      const std::vector<Move> generated = Moves(list);
      ++positions;
      for (const Move& killer : pool) {
        const Move* written = nullptr;
        for (const Move& g : generated)
          if (g.from == killer.from && g.to == killer.to && g.capture == killer.capture &&
              g.moved == killer.moved && g.placed == killer.placed)
            written = &g;
        const bool castling = killer.moved == BlackKing &&
                              (killer.to - killer.from == 2 || killer.from - killer.to == 2);
        Move out{};
        const bool fitted = BlackMoveFits(p, killer, last.from, last.to, out);
        ASSERT_EQ(fitted, written != nullptr && !castling)
            << fen << " after " << MoveName(last) << ": " << MoveName(killer);
        if (fitted) {
          EXPECT_TRUE(SameRecord(out, *written)) << fen << " " << MoveName(killer);
          ++fits;
        }
      }
    });
  }
  EXPECT_GT(positions, 70);
  EXPECT_GT(fits, 1000);
}

TEST(BlackMoveFits, EnPassantOnlyRightAfterTheDoubleStep) {
  Position pos = FromFen("4k3/8/8/8/3p4/8/4P3/4K3");
  const int e2 = testing::Sq("e2"), e3 = testing::Sq("e3"), e4 = testing::Sq("e4");
  const int d4 = testing::Sq("d4");
  const Move doubleStep{static_cast<std::int8_t>(e2),
                        static_cast<std::int8_t>(e4),
                        static_cast<std::int8_t>(e4),
                        WhitePawn,
                        WhitePawn,
                        0};
  MakeMove(pos, doubleStep);
  const Move enPassant{static_cast<std::int8_t>(d4),
                       static_cast<std::int8_t>(e3),
                       static_cast<std::int8_t>(e4),
                       BlackPawn,
                       BlackPawn,
                       WhitePawn};
  Move out{};
  EXPECT_TRUE(BlackMoveFits(pos, enPassant, e2, e4, out));
  EXPECT_EQ(out.captured, WhitePawn);
  EXPECT_FALSE(BlackMoveFits(pos, enPassant, e3, e4, out));  // a single step
  EXPECT_FALSE(BlackMoveFits(pos, enPassant, 0, 0, out));
}

}  // namespace
}  // namespace kv
