// Stalemate tests and the maximummer's filter on positions where a
// shortcut would go wrong: pins, en passant, a longer illegal move.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/goals.h"
#include "tests/common/case_share.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::MoveName;
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

// White's moves that leave Black stalemated, found by playing each.
std::vector<std::string> StalematingMoves(Position& pos) {
  MoveList list;
  std::vector<std::string> names;
  if (GenerateWhiteMoves(pos, 0, 0, list) != 0) return names;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    MakeMove(pos, *m);
    const bool stalemate =
        AttackedByBlack(pos, pos.whiteKingSquare) == 0 && BlackIsStalemated(pos, m->from, m->to);
    UnmakeMove(pos, *m);
    if (stalemate) names.push_back(MoveName(*m));
  }
  return names;
}

// Random positions of the two kings and one to four (or `mostMen`) men, Black's king in
// a corner half of the time; none with Black in check.
std::vector<Position> RandomPositions(int count, int mostMen = 4) {
  static constexpr PieceCode kMen[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight,
                                       WhitePawn,  BlackRook, BlackBishop, BlackKnight,
                                       BlackPawn,  BlackPawn, WhitePawn,   BlackQueen};
  std::mt19937 random(7);
  const auto square = [&random] {
    return 10 * static_cast<int>(2 + random() % 8) + static_cast<int>(2 + random() % 8);
  };
  std::vector<Position> positions;
  while (static_cast<int>(positions.size()) < count) {
    Position pos;
    ClearBoard(pos.board);
    pos.board[square()] = WhiteKing;
    const int corners[] = {22, 29, 92, 99};
    const int king = random() % 2 == 0 ? corners[random() % 4] : square();
    if (pos.board[king] != Empty) continue;
    pos.board[king] = BlackKing;
    for (int i = 0, n = 1 + static_cast<int>(random() % mostMen); i < n; ++i) {
      const int s = square();
      if (pos.board[s] == Empty) pos.board[s] = kMen[random() % std::size(kMen)];
    }
    if (IsInvalidFinding(JudgePosition(pos).code)) continue;
    positions.push_back(pos);
  }
  return positions;
}

// FindStalemateInOne and TestStalemateMove find what playing every move
// finds, and the filter of White's moves never turns a stalemating one away.
TEST(StalemateTest, TheOneMoveTestsFindWhatPlayingEveryMoveFinds) {
  int stalemating = 0;
  for (Position& position : RandomPositions(3000)) {
    const std::vector<std::string> expected = StalematingMoves(position);
    stalemating += static_cast<int>(expected.size());
    EXPECT_EQ(FindStalemateInOne(position, 0, 0), expected.empty() ? 0 : 1);
    const StalemateFilter filter = MakeStalemateFilter(position);
    MoveList list;
    GenerateWhiteMoves(position, 0, 0, list);
    for (const Move* m = list.moves.data(); m->from != 0; ++m) {
      position.probeMove = *m;
      const bool stalemates = TestStalemateMove(position) == 100;
      EXPECT_EQ(stalemates,
                std::find(expected.begin(), expected.end(), MoveName(*m)) != expected.end())
          << MoveName(*m);
      if (stalemates) {
        EXPECT_TRUE(filter.Admits(*m)) << MoveName(*m);
      }
    }
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GE(stalemating, 50);
}

// Whether some black move (legal, after White's `last`) lets White
// stalemate at once.
bool BlackLetsWhiteStalemate(Position& pos, const Move& last, const StalemateNeeds* needs,
                             bool& admitted) {
  MoveList list;
  if (GenerateBlackMoves(pos, last.from, last.to, list) != 0) return false;
  bool any = false;
  for (const Move* b = list.moves.data(); b->from != 0; ++b) {
    MakeMove(pos, *b);
    const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
    const bool lets = legal && !StalematingMoves(pos).empty();
    UnmakeMove(pos, *b);
    if (!lets) continue;
    any = true;
    if (needs != nullptr && b->moved != BlackKing && !needs->Admits(*b)) admitted = false;
  }
  return any;
}

// The counts of the men a stalemate must deal with never rule out one that
// playing the moves finds: Black's last move before White's, and two white
// moves with Black's between.
TEST(StalemateTest, TheCountsOfMenToDealWithKeepEveryStalemate) {
  const test::CaseShare share(2);
  int lastMoves = 0;
  int withinTwo = 0;
  // More men, so that several must be dealt with.
  for (Position& pos : share.Of(RandomPositions(700, 7))) {
    // Black to move (as after a white move that passes): its moves that let
    // White stalemate are all admitted.
    const StalemateNeeds needs = BlackStalemateNeeds(pos);
    bool admitted = true;
    if (BlackLetsWhiteStalemate(pos, Move{}, &needs, admitted)) ++lastMoves;
    EXPECT_TRUE(admitted);
    // White to move: a stalemate within White, Black, White.
    bool possible = !StalematingMoves(pos).empty();
    MoveList white;
    if (!possible && GenerateWhiteMoves(pos, 0, 0, white) == 0) {
      for (const Move* w = white.moves.data(); w->from != 0 && !possible; ++w) {
        MakeMove(pos, *w);
        bool unused = true;
        if (AttackedByBlack(pos, pos.whiteKingSquare) == 0)
          possible = BlackLetsWhiteStalemate(pos, *w, nullptr, unused);
        UnmakeMove(pos, *w);
      }
    }
    if (possible) {
      ++withinTwo;
      EXPECT_TRUE(StalemateWithinTwoPossible(pos));
    }
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GE(lastMoves, share.AtLeast(8));
  EXPECT_GE(withinTwo, share.AtLeast(30));
}

}  // namespace
}  // namespace kv
