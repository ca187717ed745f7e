// The problem list without its dialog: filling, moving entries, the kept
// selection and the line each entry shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/problem_list.h"

namespace kv {
namespace {

std::vector<int> Records(const ProblemList& list) {
  std::vector<int> records;
  for (const ProblemListEntry& e : list.entries) records.push_back(e.record);
  return records;
}

TEST(ProblemListFill, TakesEveryRecordOfTheCurrentFile) {
  ProblemList list;
  list.keptSelection = {3, 4};
  AddListEntry(list, "/x/other.kvl", 7);
  FillListWithCurrentFile(list, "/c/set.kvl", 4, 2);
  EXPECT_EQ(Records(list), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(list.files, (std::vector<std::string>{"/c/set.kvl"}));
  EXPECT_EQ(list.position, 2);
  EXPECT_TRUE(list.keptSelection.empty());
  FillListWithCurrentFile(list, "/c/empty.kvl", -1, 0);
  EXPECT_EQ(list.count(), 0);
}

TEST(ProblemListMoves, AnEntryMovesOnePlaceAndStopsAtTheEnds) {
  ProblemList list;
  FillListWithCurrentFile(list, "/c/set.kvl", 4, 3);
  EXPECT_EQ(MoveEntryDown(list, 3), 4);  // the fourth entry becomes the fifth
  EXPECT_EQ(Records(list), (std::vector<int>{1, 2, 3, 5, 4}));
  EXPECT_EQ(list.position, 4);           // the position follows the entry
  EXPECT_EQ(MoveEntryDown(list, 4), 4);  // the last entry does not move down
  EXPECT_EQ(Records(list), (std::vector<int>{1, 2, 3, 5, 4}));
  EXPECT_EQ(MoveEntryUp(list, 0), 0);  // nor the first up
  EXPECT_EQ(MoveEntryUp(list, 1), 0);
  EXPECT_EQ(Records(list), (std::vector<int>{2, 1, 3, 5, 4}));
  EXPECT_EQ(list.position, 4);
}

TEST(ProblemListMoves, EntriesOfSeveralFilesKeepTheirFile) {
  ProblemList list;
  ASSERT_TRUE(AddListEntry(list, "/a/one.kvl", 3));
  ASSERT_TRUE(AddListEntry(list, "/b/two.kvl", 9));
  MoveEntryUp(list, 1);
  EXPECT_EQ(list.FileOf(list.entries[0]), "/b/two.kvl");
  EXPECT_EQ(list.entries[0].record, 9);
  EXPECT_EQ(list.FileOf(list.entries[1]), "/a/one.kvl");
}

TEST(ProblemListEntries, AddingStopsAtTheLimit) {
  ProblemList list;
  for (int i = 0; i < MaxProblemListEntries; ++i) ASSERT_TRUE(AddListEntry(list, "/a.kvl", 1));
  EXPECT_FALSE(AddListEntry(list, "/a.kvl", 1));
  EXPECT_EQ(list.count(), MaxProblemListEntries);
  EXPECT_EQ(list.files.size(), 1u);
  ClearProblemList(list);
  EXPECT_FALSE(AddListEntry(list, "/a.kvl", 0));  // records count from 1
  EXPECT_EQ(list.count(), 0);
}

TEST(ProblemListSelection, KeepsAtMost2000AndNotesAWholeFile) {
  ProblemList list;
  FillListWithCurrentFile(list, "/c/set.kvl", 2999, 0);
  std::vector<int> all(3000);
  for (int i = 0; i < 3000; ++i) all[i] = i;
  KeepSelection(list, all, "/c/set.kvl", 2999);
  EXPECT_EQ(list.keptSelection.size(), static_cast<std::size_t>(MaxKeptSelection));
  EXPECT_EQ(list.keptSelection.back(), 1999);
  EXPECT_TRUE(list.wholeFileSelected);
  KeepSelection(list, {0, 1, 2}, "/c/set.kvl", 2999);
  EXPECT_FALSE(list.wholeFileSelected);
  KeepSelection(list, all, "/c/other.kvl", 2999);
  EXPECT_FALSE(list.wholeFileSelected);
}

TEST(ProblemListSelection, OpeningSelectsTheKeptEntriesAndThePosition) {
  ProblemList list;
  FillListWithCurrentFile(list, "/c/set.kvl", 9, 5);
  KeepSelection(list, {7, 2, 40}, "/c/set.kvl", 9);
  EXPECT_EQ(SelectionAtOpening(list), (std::vector<int>{2, 5, 7}));
  EXPECT_EQ(SelectionStatusText(3, 10), " Select : 3 / 10 ");
}

TEST(ProblemListLine, FileNameWithoutFolderAndExtensionThenTheRecord) {
  ProblemList list;
  AddListEntry(list, "/home/me/Problems/Loyd.kvl", 7);
  AddListEntry(list, "/home/me/Problems/Zweiz\xC3\xBCger 1990.kvl", 1234);  // UTF-8 ü
  AddListEntry(list, "/home/me/v1.0/plain", 12345);
  EXPECT_EQ(ListEntryLine(list, 0), "Loyd       7");
  EXPECT_EQ(ListEntryLine(list, 1), "Zweiz\xFCger 19901234");
  EXPECT_EQ(ListEntryLine(list, 2), "plain   12345");
  EXPECT_EQ(ListEntryLine(list, 3), "");
}

}  // namespace
}  // namespace kv
