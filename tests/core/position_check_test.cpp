// The Debug builds' consistency check of the position: each kind of fault
// it must catch, and the positions it must let pass.
#ifdef KESTROVALE_POSITION_CHECKS

#include "core/position_check.h"

#include <gtest/gtest.h>

#include "core/tables.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::Sq;

TEST(PositionCheck, FindsEachKindOfInconsistency) {
  const Position start = FromFen("r3k2r/8/8/8/8/8/8/R3K2R");
  ASSERT_EQ(PositionFault(start), "");
  struct Case {
    const char* name;
    void (*spoil)(Position&);
  };
  const Case cases[] = {
      {"man on a border cell", [](Position& p) { p.board[21] = WhitePawn; }},
      {"invalid code", [](Position& p) { p.board[Sq("d4")] = 7; }},
      {"white man outside the set", [](Position& p) { p.board[Sq("d4")] = WhitePawn; }},
      {"black man outside the set", [](Position& p) { p.board[Sq("d4")] = BlackPawn; }},
      {"two stale black squares",
       [](Position& p) { p.blackMen |= SquareBit[Sq("d4")] | SquareBit[Sq("d5")]; }},
      {"king square elsewhere", [](Position& p) { p.whiteKingSquare = Sq("d1"); }},
      {"a second king",
       [](Position& p) {
         p.board[Sq("d5")] = BlackKing;
         p.blackMen |= SquareBit[Sq("d5")];
       }},
      {"king square without a king",
       [](Position& p) {
         p.board[Sq("e8")] = Empty;
         p.blackMen &= ~SquareBit[Sq("e8")];
       }},
      {"king moved without its counter",
       [](Position& p) {
         p.board[Sq("e1")] = Empty;
         p.board[Sq("f1")] = WhiteKing;
         p.whiteKingSquare = Sq("f1");
         p.whiteMen = WhiteMenOf(p.board);
       }},
      {"rook gone without its counter",
       [](Position& p) {
         p.board[Sq("h8")] = Empty;
         p.blackMen &= ~SquareBit[Sq("h8")];
       }},
      {"counter below 0", [](Position& p) { p.castlingCounters[A1Moves] = -1; }},
  };
  for (const Case& c : cases) {
    Position pos = start;
    c.spoil(pos);
    EXPECT_NE(PositionFault(pos), "") << c.name;
  }

  // One lifted black man is allowed; so is a rook gone once its king moved.
  Position lifted = start;
  lifted.board[Sq("a8")] = Empty;
  lifted.castlingCounters[BlackKingMoves] = 1;
  EXPECT_EQ(PositionFault(lifted), "");
}

TEST(PositionCheck, MovesMustMatchTheBoard) {
  const Position pos = FromFen("4k3/8/8/3pP3/8/8/8/4K3");
  const Move enPassant{Sq("e5"), Sq("d6"), Sq("d5"), WhitePawn, WhitePawn, BlackPawn};
  EXPECT_EQ(MoveFault(pos, enPassant), "");
  struct Case {
    const char* name;
    Move move;
  };
  const Case cases[] = {
      {"wrong mover", {Sq("e5"), Sq("e6"), Sq("e6"), WhiteKnight, WhiteKnight, 0}},
      {"captured man not there", {Sq("e5"), Sq("e6"), Sq("e6"), WhitePawn, WhitePawn, BlackPawn}},
      {"own man taken", {Sq("e5"), Sq("e1"), Sq("e1"), WhitePawn, WhitePawn, WhiteKing}},
      {"en passant from the wrong rank",
       {Sq("e1"), Sq("d2"), Sq("d5"), WhiteKing, WhiteKing, BlackPawn}},
      {"off the board", {Sq("e1"), 21, 21, WhiteKing, WhiteKing, 0}},
  };
  for (const Case& c : cases) EXPECT_NE(MoveFault(pos, c.move), "") << c.name;
}

TEST(PositionCheckDeathTest, MakeMoveStopsOnAMoveThatDoesNotFit) {
  Position pos = FromFen("4k3/8/8/8/8/8/8/4K3");
  const Move ghost{Sq("d2"), Sq("d4"), Sq("d4"), WhitePawn, WhitePawn, 0};
  EXPECT_DEATH(MakeMove(pos, ghost), "the moving man is not on its square");
}

}  // namespace
}  // namespace kv

#endif
