// Stalemate tests and the maximummer's filter on positions where a
// shortcut would go wrong: pins, en passant, a longer illegal move.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/goals.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::MoveNames;
using testing::Sq;

TEST(StalemateTest, KingWithoutFlightAndNotInCheckIsStalemated) {
  Position pos = FromFen("k7/2Q5/8/8/8/8/8/7K");
  EXPECT_TRUE(BlackIsStalemated(pos, 0, 0));
  // In check with no move is mate, not stalemate.
  Position mated = FromFen("k7/1Q6/1K6/8/8/8/8/8");
  EXPECT_FALSE(BlackIsStalemated(mated, 0, 0));
  EXPECT_FALSE(BlackHasLegalMove(mated, 0, 0));
}

TEST(StalemateTest, OnlyMovesOfAPinnedManDoNotCount) {
  // The bishop on b7 is pinned on the long diagonal and cannot leave it.
  Position pos = FromFen("k7/1b6/2Q5/8/8/8/8/7K");
  EXPECT_FALSE(BlackIsStalemated(pos, 0, 0));  // ...Bxc6 stays on the line
  Position rookPinned = FromFen("k7/1r1N4/1PB5/8/8/8/8/7K");
  EXPECT_TRUE(BlackIsStalemated(rookPinned, 0, 0));
}

TEST(StalemateTest, EnPassantAfterTheDoubleStepIsALegalMove) {
  const char* fen = "k7/2Q5/8/8/1pP5/1P6/8/7K";
  Position afterDoubleStep = FromFen(fen);
  EXPECT_FALSE(BlackIsStalemated(afterDoubleStep, Sq("c2"), Sq("c4")));
  Position otherwise = FromFen(fen);
  EXPECT_TRUE(BlackIsStalemated(otherwise, 0, 0));
}

TEST(StalemateTest, WhiteSideIsTestedWithBlackAttacks) {
  Position pos = FromFen("7K/5q2/8/8/8/8/8/k7");
  EXPECT_TRUE(WhiteIsStalemated(pos, 0, 0));
  Position withPawn = FromFen("7K/5q2/8/8/8/8/P7/k7");
  EXPECT_FALSE(WhiteIsStalemated(withPawn, 0, 0));
}

MoveList BlackMoves(Position& pos) {
  MoveList list;
  EXPECT_EQ(GenerateBlackMoves(pos, 0, 0, list), 0);
  return list;
}

TEST(MaximummerTest, KeepsOnlyTheLongestMoves) {
  Position pos = FromFen("q6k/8/8/8/8/8/8/1K6");
  MoveList list = BlackMoves(pos);
  EXPECT_EQ(KeepLongestBlackMoves(pos, list), 1);
  EXPECT_EQ(MoveNames(list), std::vector<std::string>{"a8h1"});
}

TEST(MaximummerTest, ALongerIllegalMoveDoesNotHideTheLegalOnes) {
  // The queen is pinned by the bishop: of its moves only those on the pin
  // line are legal, and the longest of them is the capture on b5.
  Position pos = FromFen("4k3/3q4/8/1B6/8/8/8/K7");
  MoveList list = BlackMoves(pos);
  EXPECT_EQ(KeepLongestBlackMoves(pos, list), 1);
  EXPECT_EQ(MoveNames(list), std::vector<std::string>{"d7b5"});
}

TEST(MaximummerTest, CastlingCountsAsTheKingsTwoSteps) {
  Move castling{};
  castling.from = static_cast<std::int8_t>(Sq("e8"));
  castling.to = static_cast<std::int8_t>(Sq("g8"));
  EXPECT_EQ(MoveLengthSquared(castling), 4);
  Move knight{};
  knight.from = static_cast<std::int8_t>(Sq("g8"));
  knight.to = static_cast<std::int8_t>(Sq("f6"));
  EXPECT_EQ(MoveLengthSquared(knight), 5);  // a knight's jump is longer than castling
  // The castling ties with the rook's and the pawn's two-square moves.
  Position pos = FromFen("4k2r/7p/8/8/8/8/8/K7");
  MoveList list = BlackMoves(pos);
  KeepLongestBlackMoves(pos, list);
  std::vector<std::string> names = MoveNames(list);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"e8g8", "h7h5", "h8f8"}));
}

}  // namespace
}  // namespace kv
