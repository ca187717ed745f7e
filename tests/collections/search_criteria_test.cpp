// The search criteria: the memorized form in both directions, hostile
// memorized values, and the text criterion of the detail dialog.
#include <gtest/gtest.h>

#include <string>

#include "collections/search_criteria.h"
#include "search_test_util.h"

namespace kv {
namespace {

using testing::BoardOf;

SearchCriteria SomeCriteria() {
  SearchCriteria c;
  c.total = {MaterialAtLeast, 10};
  c.white = {MaterialExactly, 1};
  c.black = {MaterialAtMost, 12};
  c.aristocratic = true;
  c.twins = true;
  c.materialActive = 10 + 1 + 12 + 1;
  c.scope = ScopeDirectory;
  c.matrixFlags = MatrixGap | MatrixSymmetry;
  c.pattern = PatternFromBoard(BoardOf("8/8/8/8/8/8/8/4K2R"), true);
  c.text = "Loyd\\Times\\\\";
  return c;
}

TEST(MemorizedCriteria, SpellsEachValuePlusZero) {
  const std::string memorized = MemorizeCriteria(SomeCriteria());
  ASSERT_EQ(memorized.size(), 86u + 12u);
  EXPECT_EQ(memorized.substr(0, 8), "1:012<11");  // modes and counts, aristocratic, twins
  EXPECT_EQ(memorized.substr(8, 8), "00000000");  // reserved
  EXPECT_EQ(memorized[16], static_cast<char>('0' + 24));
  EXPECT_EQ(memorized[17], '1');
  EXPECT_EQ(memorized[19], static_cast<char>('0' + 6));
  // Pattern: bytes 0..2, then the first gap -1 as '/', the king as 0x26 + '0'.
  EXPECT_EQ(memorized.substr(22, 5), std::string("04m/V"));
  EXPECT_EQ(memorized.substr(86), "Loyd\\Times\\\\");
}

TEST(MemorizedCriteria, ReloadsWhatWasMemorized) {
  SearchCriteria reloaded;
  reloaded.type = {3, 2, FlagSeries};  // not part of the memorized form: kept
  ASSERT_TRUE(ReloadCriteria(MemorizeCriteria(SomeCriteria()), reloaded));
  SearchCriteria expected = SomeCriteria();
  EXPECT_EQ(MemorizeCriteria(reloaded), MemorizeCriteria(expected));
  EXPECT_EQ(reloaded.pattern, expected.pattern);
  EXPECT_EQ(reloaded.total.mode, MaterialAtLeast);
  EXPECT_EQ(reloaded.black.count, 12);
  EXPECT_EQ(reloaded.type.moves, 3);
  EXPECT_EQ(reloaded.text, expected.text);
}

TEST(MemorizedCriteria, AShortValueClearsEverything) {
  SearchCriteria c = SomeCriteria();
  EXPECT_TRUE(ReloadCriteria("1:01", c));
  EXPECT_EQ(c.total.count, 0);
  EXPECT_EQ(c.matrixFlags, 0);
  EXPECT_TRUE(c.pattern.men.empty());
  EXPECT_TRUE(c.text.empty());
  EXPECT_EQ(CriteriaDialogResult(c), 0);
}

TEST(MemorizedCriteria, ValuesOutOfRangeFallBackToNotUsed) {
  std::string memorized = MemorizeCriteria(SomeCriteria());
  memorized[0] = '7';   // total mode 7
  memorized[3] = 'z';   // white count 74
  memorized[17] = '9';  // scope 9
  memorized[19] = '3';  // Identity with Gap
  SearchCriteria c;
  EXPECT_FALSE(ReloadCriteria(memorized, c));
  EXPECT_EQ(c.total.count, 0);
  EXPECT_EQ(c.white.count, 0);
  EXPECT_EQ(c.black.count, 12);  // good values stay
  EXPECT_EQ(c.scope, ScopeFile);
  EXPECT_EQ(c.matrixFlags, 0);
  EXPECT_TRUE(c.pattern.men.empty());  // a shifted pattern without Gap means nothing
}

TEST(MemorizedCriteria, AGarbledPatternKeepsOnlyItsSoundStart) {
  SearchCriteria c = SomeCriteria();
  c.matrixFlags = MatrixIdentity;
  c.pattern = PatternFromBoard(BoardOf("8/8/8/8/8/8/8/4K2R"), false);
  std::string memorized = MemorizeCriteria(c);
  memorized[22 + 5] = static_cast<char>('0' + 40);  // the rook 40 squares on: off the board
  SearchCriteria reloaded;
  EXPECT_FALSE(ReloadCriteria(memorized, reloaded));
  ASSERT_EQ(reloaded.pattern.men.size(), 1u);
  EXPECT_EQ(reloaded.pattern.men[0].gap, 60);
}

TEST(SearchText, TheDetailDialogBuildsAndSplitsIt) {
  EXPECT_EQ(BuildSearchText("Loyd", "", "", ""), "Loyd\\\\\\");
  EXPECT_EQ(BuildSearchText("Loyd", "Times", "Prize", "x"), "Loyd\\Times\\Prize\\x");
  // Author and source reach 32: nothing after the author.
  EXPECT_EQ(BuildSearchText(std::string(28, 'a'), "Ties", "P", "c"), std::string(28, 'a') + "\\");
  // The award no longer fits: the text stops after the source.
  EXPECT_EQ(BuildSearchText("Loyd", "Times", std::string(23, 'p'), "c"), "Loyd\\Times\\");
  EXPECT_EQ(BuildSearchText(std::string(40, 'a'), "", "", "").size(), 32u);

  const auto fields = SearchTextFields("Loyd\\Times\\Prize\\x");
  EXPECT_EQ(fields[0], "Loyd");
  EXPECT_EQ(fields[3], "x");
}

TEST(SearchText, FewerThanThreeBackslashesUseTheAuthorOnly) {
  EXPECT_EQ(SplitSearchText("Loyd")[0], "Loyd");
  const auto two = SplitSearchText("Loyd\\Times\\");
  EXPECT_EQ(two[0], "Loyd");
  EXPECT_EQ(two[1], "");
  const auto all = SplitSearchText("\\Times\\\\1900");
  EXPECT_EQ(all[0], "");
  EXPECT_EQ(all[1], "Times");
  EXPECT_EQ(all[3], "1900");
}

TEST(CriteriaDialog, IsNonZeroExactlyWhenACriterionIsSet) {
  SearchCriteria c;
  EXPECT_EQ(CriteriaDialogResult(c), 0);
  c.scope = ScopeDisk;  // the scope alone is no criterion
  EXPECT_EQ(CriteriaDialogResult(c), 0);
  c.text = "x";
  EXPECT_EQ(CriteriaDialogResult(c), 100);
  c = {};
  c.type.kindPlusOne = KindHelp + 1;
  EXPECT_NE(CriteriaDialogResult(c), 0);
  c = {};
  c.aristocratic = true;
  EXPECT_TRUE(MaterialTestActive(c));
}

}  // namespace
}  // namespace kv
