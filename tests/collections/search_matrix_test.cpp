// The position pattern of the search: anchored and shifted matching, the
// orientations of Symmetry and Rotation, and the stored 64-byte form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/search_matrix.h"
#include "search_test_util.h"

namespace kv {
namespace {

using testing::BoardOf;

PositionBytes Position(const std::string& forsyth) {
  return BoardToPositionBytes(BoardOf(forsyth));
}

bool AnyMatches(const std::vector<MatrixPattern>& patterns, const std::string& forsyth) {
  for (const MatrixPattern& pattern : patterns)
    if (MatchesPattern(pattern, Position(forsyth))) return true;
  return false;
}

constexpr const char* KingE1 = "8/8/8/8/8/8/8/4K3";
constexpr const char* KingE1RookH1 = "8/8/8/8/8/8/8/4K2R";

TEST(MatrixAnchored, MatchesTheMenOnTheirSquaresWhateverElseStands) {
  const MatrixPattern king = PatternFromBoard(BoardOf(KingE1), false);
  EXPECT_TRUE(MatchesPattern(king, Position(KingE1)));
  EXPECT_TRUE(MatchesPattern(king, Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR")));
  EXPECT_FALSE(MatchesPattern(king, Position("8/8/8/8/8/8/8/3K4")));  // d1
  EXPECT_FALSE(MatchesPattern(king, Position("8/8/8/8/8/8/8/4k3")));  // black king on e1
  EXPECT_FALSE(MatchesPattern(king, Position("4K3/8/8/8/8/8/8/8")));  // e8
}

TEST(MatrixAnchored, NeedsEveryManOfThePattern) {
  const MatrixPattern pattern = PatternFromBoard(BoardOf("r7/8/8/3p4/8/8/8/4K2R"), false);
  EXPECT_TRUE(MatchesPattern(pattern, Position("r6k/8/8/3p4/8/8/3P4/4K2R")));
  EXPECT_FALSE(MatchesPattern(pattern, Position("r7/8/8/8/8/8/8/4K2R")));
  EXPECT_FALSE(MatchesPattern(pattern, Position("8/8/8/3p4/8/8/8/4K2R")));
}

TEST(MatrixShifted, FollowsThePatternAnywhereItFitsOnTheBoard) {
  const MatrixPattern pattern = PatternFromBoard(BoardOf(KingE1RookH1), true);
  ASSERT_TRUE(pattern.shifted());
  EXPECT_TRUE(MatchesPattern(pattern, Position(KingE1RookH1)));
  EXPECT_TRUE(MatchesPattern(pattern, Position("8/8/8/8/8/3K2R1/8/8")));  // d3, g3
  EXPECT_TRUE(MatchesPattern(pattern, Position("K2R4/8/8/8/8/8/8/8")));   // a8, d8
  EXPECT_TRUE(MatchesPattern(pattern, Position("8/8/8/8/8/K7/8/4K2R")));  // a second king first
  EXPECT_FALSE(MatchesPattern(pattern, Position("8/8/8/8/8/8/8/5K2")));  // f1: the rook would leave
  EXPECT_FALSE(MatchesPattern(pattern, Position("8/8/8/8/8/7K/2R5/8")));   // h3 and c2 do not wrap
  EXPECT_FALSE(MatchesPattern(pattern, Position("8/8/8/8/8/8/8/4K1R1")));  // wrong distance
}

TEST(MatrixShifted, KeepsTheColumnsOfAWidePattern) {
  // The first man (the rook on c8) has a king two files to its left, one
  // rank down: six squares on in square order.
  const MatrixPattern pattern = PatternFromBoard(BoardOf("2r5/K7/8/8/8/8/8/8"), true);
  EXPECT_TRUE(MatchesPattern(pattern, Position("8/8/8/7r/5K2/8/8/8")));
  // Rook b8 and king h8 are six squares apart too, but the king would need column -1.
  EXPECT_FALSE(MatchesPattern(pattern, Position("1r5K/8/8/8/8/8/8/8")));
}

TEST(MatrixEmpty, AnEmptyBoardMatchesEveryRecord) {
  for (bool shifted : {false, true}) {
    const MatrixPattern pattern = PatternFromBoard(BoardOf("8/8/8/8/8/8/8/8"), shifted);
    EXPECT_TRUE(pattern.men.empty());
    EXPECT_TRUE(MatchesPattern(pattern, Position("8/8/8/8/8/8/8/8")));
    EXPECT_TRUE(MatchesPattern(pattern, Position(KingE1RookH1)));
  }
}

struct OrientationCase {
  const char* name;
  int flags;
  std::vector<const char*> matching;
  std::vector<const char*> notMatching;
};

TEST(MatrixOrientations, EachFlagAddsItsTurnsAndMirrors) {
  // A white king on b1: turned a quarter it stands on a7, half on g8, three
  // quarters on h2; mirrored it stands on g1 (files) and b8 (ranks); the
  // diagonal reflections put it on a2 and h7.
  const char* b1 = "8/8/8/8/8/8/8/1K6";
  const char* a7 = "8/K7/8/8/8/8/8/8";
  const char* g8 = "6K1/8/8/8/8/8/8/8";
  const char* h2 = "8/8/8/8/8/8/7K/8";
  const char* g1 = "8/8/8/8/8/8/8/6K1";
  const char* b8 = "1K6/8/8/8/8/8/8/8";
  const char* a2 = "8/8/8/8/8/8/K7/8";
  const char* h7 = "8/7K/8/8/8/8/8/8";
  const std::vector<OrientationCase> cases = {
      {"identity", MatrixIdentity, {b1}, {a7, g8, h2, g1, b8, a2, h7}},
      {"rotation", MatrixIdentity | MatrixRotation, {b1, a7, g8, h2}, {g1, b8, a2, h7}},
      {"symmetry", MatrixIdentity | MatrixSymmetry, {b1, g8, g1, b8}, {a7, h2, a2, h7}},
      {"both",
       MatrixIdentity | MatrixSymmetry | MatrixRotation,
       {b1, a7, g8, h2, g1, b8, a2, h7},
       {"8/8/8/8/8/8/8/2K5"}},
  };
  const Board board = BoardOf(b1);
  for (const OrientationCase& c : cases) {
    const std::vector<MatrixPattern> patterns = SearchPatterns(board, c.flags);
    for (const char* forsyth : c.matching)
      EXPECT_TRUE(AnyMatches(patterns, forsyth)) << c.name << " " << forsyth;
    for (const char* forsyth : c.notMatching)
      EXPECT_FALSE(AnyMatches(patterns, forsyth)) << c.name << " " << forsyth;
  }
  EXPECT_EQ(BoardOf(b1), board);
}

TEST(MatrixOrientations, SymmetryOfACornerKingFindsTheOtherCorners) {
  const std::vector<MatrixPattern> patterns =
      SearchPatterns(BoardOf("8/8/8/8/8/8/8/K7"), MatrixIdentity | MatrixSymmetry);
  for (const char* corner :
       {"8/8/8/8/8/8/8/K7", "8/8/8/8/8/8/8/7K", "K7/8/8/8/8/8/8/8", "7K/8/8/8/8/8/8/8"})
    EXPECT_TRUE(AnyMatches(patterns, corner)) << corner;
  EXPECT_FALSE(AnyMatches(patterns, "8/8/8/8/8/8/8/k7"));  // colours are not swapped
  EXPECT_EQ(patterns.size(), 4u);                          // every orientation once
}

TEST(MatrixStoredForm, SpellsTheBytesOfTheLayout) {
  const auto anchored = PatternBytes(PatternFromBoard(BoardOf(KingE1RookH1), false));
  // e1 is square 60, h1 three squares on; columns 4 and 7.
  const std::vector<int> expected = {0, 4, 0, 60, 0x26, 3, 0x21, 0, 0};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(anchored[i], expected[i]) << i;
  const auto shifted = PatternBytes(PatternFromBoard(BoardOf(KingE1RookH1), true));
  EXPECT_EQ(shifted[3], 0xFF);  // the first gap is -1
  EXPECT_EQ(shifted[2], 61);    // 63 - (-1 + 3)
}

TEST(MatrixStoredForm, ReadsBackWhatItWrote) {
  for (const char* forsyth :
       {KingE1RookH1, "r3k2r/pp3ppp/8/8/8/8/PPP2PPP/R3K2R", "8/8/8/8/8/8/8/8"}) {
    for (bool shifted : {false, true}) {
      const MatrixPattern pattern = PatternFromBoard(BoardOf(forsyth), shifted);
      MatrixPattern back;
      EXPECT_TRUE(PatternFromBytes(PatternBytes(pattern), back)) << forsyth;
      EXPECT_EQ(back, pattern) << forsyth << " shifted " << shifted;
    }
  }
}

TEST(MatrixStoredForm, DropsMenThatLeaveTheBoardOrAreNoMen) {
  std::array<std::uint8_t, MatrixPatternBytes> bytes{};
  bytes[1] = 7;
  bytes[2] = 3;
  bytes[3] = 60;  // e1
  bytes[4] = 0x26;
  bytes[5] = 10;  // beyond h1
  bytes[6] = 0x21;
  MatrixPattern pattern;
  EXPECT_FALSE(PatternFromBytes(bytes, pattern));
  ASSERT_EQ(pattern.men.size(), 1u);
  bytes[5] = 1;
  bytes[6] = 0x28;  // no man
  EXPECT_FALSE(PatternFromBytes(bytes, pattern));
  EXPECT_EQ(pattern.men.size(), 1u);
  bytes[0] = 9;  // a shifted pattern with a column range off the board
  bytes[3] = 0xFF;
  EXPECT_FALSE(PatternFromBytes(bytes, pattern));
  EXPECT_TRUE(pattern.men.empty());
}

TEST(MatrixStoredForm, AFullBoardKeepsThirtyMenButTheSearchTestsAll) {
  const Board full = BoardOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  const MatrixPattern pattern = PatternFromBoard(full, false);
  EXPECT_EQ(pattern.men.size(), 32u);
  EXPECT_FALSE(MatchesPattern(pattern, Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1")));
  MatrixPattern stored;
  EXPECT_TRUE(PatternFromBytes(PatternBytes(pattern), stored));
  EXPECT_EQ(stored.men.size(), static_cast<std::size_t>(MaxStoredPatternMen));
}

TEST(MatrixRecover, PutsTheMenBackOnAnEmptyBoard) {
  Board board = BoardOf("8/8/8/3q4/8/8/8/8");
  RecoverMatrix(PatternFromBoard(BoardOf(KingE1RookH1), false), board);
  EXPECT_EQ(BoardToForsyth(board, true), "8/8/8/8/8/8/8/4K2R");
  // A shifted pattern starts from the first square its byte 0 allows.
  RecoverMatrix(PatternFromBoard(BoardOf(KingE1RookH1), true), board);
  EXPECT_EQ(BoardToForsyth(board, true), "K2R4/8/8/8/8/8/8/8");
  RecoverMatrix(PatternFromBoard(BoardOf("2r5/K7/8/8/8/8/8/8"), true), board);
  EXPECT_EQ(BoardToForsyth(board, true), "2r5/K7/8/8/8/8/8/8");
}

}  // namespace
}  // namespace kv
