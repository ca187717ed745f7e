// The problem record's text conventions.
#include "collections/current_problem.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(AwardTest, OrdinalPrefixSplitsAndRebuilds) {
  AwardParts parts = SplitAward("12\xB0 Prize");
  EXPECT_EQ(parts.ordinal, 12);
  EXPECT_EQ(parts.text, "Prize");
  parts = SplitAward("3\xB0 Place");
  EXPECT_EQ(parts.ordinal, 3);
  EXPECT_EQ(parts.text, "Place");
  parts = SplitAward("Commendation");
  EXPECT_EQ(parts.ordinal, 0);
  EXPECT_EQ(parts.text, "Commendation");

  EXPECT_EQ(BuildAward(0, "Commendation"), "Commendation");
  EXPECT_EQ(BuildAward(12, "Prize"), "12\xB0 Prize");
  EXPECT_EQ(BuildAward(99, std::string(200, 'x')).size(), 127u);
}

TEST(AuthorsTest, ListLinesAndPaneDisplay) {
  EXPECT_EQ(SplitAuthors("Smith, John;Brown"), (std::vector<std::string>{"Smith, John", "Brown"}));
  EXPECT_TRUE(SplitAuthors("").empty());
  EXPECT_EQ(AuthorsDisplayText("Smith, John;Brown"), "John Smith, Brown");
  // A line break comes before an author whose line would pass 32 characters.
  EXPECT_EQ(AuthorsDisplayText("Loyd, Samuel;Shinkman, William A.;Mansfield, Comins"),
            "Samuel Loyd, \r\nWilliam A. Shinkman, \r\nComins Mansfield");
}

TEST(AuthorsTest, JoiningStopsBeforePassing256Characters) {
  const std::vector<std::string> lines = {std::string(200, 'a'), std::string(55, 'b'),
                                          std::string(10, 'c')};
  EXPECT_EQ(JoinAuthors(lines), std::string(200, 'a') + ";" + std::string(55, 'b'));
  EXPECT_EQ(JoinAuthors({"Smith, John", "Brown"}), "Smith, John;Brown");
}

TEST(ExtraStringsTest, TagsSplitAndJoin) {
  const auto extra = SplitExtraStrings("\\deAnn\\s2Die Schwalbe\\avBob");
  EXPECT_EQ(extra[ExtraDedication], "Ann");
  EXPECT_EQ(extra[ExtraAfter], "");
  EXPECT_EQ(extra[ExtraSecondSource], "Die Schwalbe");
  EXPECT_EQ(extra[ExtraVersionAuthor], "Bob");
  EXPECT_EQ(JoinExtraStrings(extra), "\\deAnn\\s2Die Schwalbe\\avBob");
  // Stored by another program with a backslash inside: cut there on reading.
  EXPECT_EQ(SplitExtraStrings("\\deA\\B")[ExtraDedication], "A");
  // Typed with a backslash: kept as "/", so what is shown is what is stored.
  EXPECT_EQ(CleanExtraString("A\\B"), "A/B");
  EXPECT_EQ(SplitExtraStrings(JoinExtraStrings({"A\\B", "", "", "", ""}))[0], "A/B");
  EXPECT_EQ(SplitExtraStrings("\\de" + std::string(300, 'x'))[0].size(), 127u);
}

TEST(CurrentProblemTest, ModifiedWhenBoardOrInformationChanged) {
  CurrentProblem problem;
  Board board{};
  for (int n = 0; n < 64; ++n) board[StoredSquare(n)] = Empty;
  EXPECT_FALSE(IsProblemModified(problem, board));
  board[StoredSquare(10)] = WhiteQueen;
  EXPECT_TRUE(IsProblemModified(problem, board));
  problem.storedBoard = BoardToPositionBytes(board);
  EXPECT_FALSE(IsProblemModified(problem, board));
  problem.infoModified = true;
  EXPECT_TRUE(IsProblemModified(problem, board));

  problem.authors = "x";
  problem.twins = "\x7F!!!!";
  problem.extraStrings[2] = "y";
  problem.type = ProblemType{5, KindSelf, FlagSeries, 0, 0};
  problem.solutionText = "kept";
  ClearProblemInformation(problem);
  EXPECT_TRUE(problem.authors.empty());
  EXPECT_TRUE(problem.twins.empty());
  EXPECT_TRUE(problem.extraStrings[2].empty());
  EXPECT_EQ(problem.type.kind, KindDirect);
  EXPECT_EQ(problem.type.moves, 2);
  EXPECT_EQ(problem.solutionText, "kept");
}

}  // namespace
}  // namespace kv
