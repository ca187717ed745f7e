// The duplicate scan over real files: what it appends to the stored solution
// text, what it leaves alone, and how it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collections/duplicate_scan.h"
#include "collections/problem_file.h"
#include "search_test_util.h"

namespace kv {
namespace {

using namespace testing;

constexpr const char* Howard = "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6";
constexpr const char* Miniature = "8/8/8/8/8/2k5/8/K1Q5";
constexpr const char* MiniatureShifted = "8/8/8/8/3k4/8/1K1Q4/8";

std::string StoredSolution(const std::string& file, int record) {
  CollectionReader reader;
  std::string text;
  EXPECT_TRUE(reader.Open(file));
  EXPECT_TRUE(reader.ReadString(record - 1, SlotSolution, text, MaxHeapStringLength));
  return text;
}

class DuplicateScanTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string scanned_ = folder_.File("mine.kvl");
  std::string other_ = folder_.File("other.kvl");
  std::string third_ = folder_.File("third.kvl");
  std::vector<std::string> files_ = {other_, scanned_, third_};
  UiCallbacks ui_;

  void SetUp() override {
    WriteCollection(scanned_, {{Howard, {}, "Howard", "", "", "", "", "1. Qd4!\r\n"},
                               {Miniature},
                               {"8/8/8/8/8/8/8/8"},
                               {Howard}});
    WriteCollection(other_, {{"8/8/8/8/8/8/8/K7"}, {Howard}, {Miniature}});
    WriteCollection(third_, {{MiniatureShifted}, {Howard, {}, "", "", "", "", "", "kept"}});
  }

  DuplicateScanOutcome Scan(int from, bool shifted) {
    return ScanDuplicates({scanned_, from, -1}, files_, shifted, ui_);
  }
};

TEST_F(DuplicateScanTest, AppendsTheDuplicatesToTheStoredSolution) {
  const DuplicateScanOutcome outcome = Scan(0, false);
  EXPECT_FALSE(outcome.broken);
  EXPECT_TRUE(outcome.failure);
  EXPECT_EQ(outcome.scanned, 4);
  const std::string howardLines = other_ +
                                  " n\xB0"
                                  "2\r\n" +
                                  third_ +
                                  " n\xB0"
                                  "2\r\n";
  EXPECT_EQ(StoredSolution(scanned_, 1), "1. Qd4!\r\n" + howardLines);
  EXPECT_EQ(StoredSolution(scanned_, 2), other_ +
                                             " n\xB0"
                                             "3\r\n");
  EXPECT_EQ(StoredSolution(scanned_, 3), "");  // an empty board is not looked for
  EXPECT_EQ(StoredSolution(scanned_, 4), howardLines);
  ASSERT_EQ(outcome.notes.size(), 3u);
  EXPECT_EQ(outcome.notes[0].record, 1);
  EXPECT_EQ(outcome.notes[0].lines, howardLines);
  // The other collections are only read.
  EXPECT_EQ(StoredSolution(third_, 2), "kept");
}

TEST_F(DuplicateScanTest, ASecondScanAddsNothingNew) {
  ASSERT_TRUE(Scan(0, false).failure.ok());
  const Bytes once = ReadBytes(scanned_);
  const DuplicateScanOutcome again = Scan(0, false);
  EXPECT_TRUE(again.notes.empty());
  EXPECT_EQ(ReadBytes(scanned_), once);
}

TEST_F(DuplicateScanTest, StartsAtTheCurrentRecordAndShiftsWithGap) {
  const DuplicateScanOutcome outcome = Scan(1, true);
  EXPECT_EQ(outcome.scanned, 3);
  EXPECT_EQ(StoredSolution(scanned_, 1), "1. Qd4!\r\n");
  EXPECT_EQ(StoredSolution(scanned_, 2), other_ +
                                             " n\xB0"
                                             "3\r\n" +
                                             third_ +
                                             " n\xB0"
                                             "1\r\n");
}

TEST_F(DuplicateScanTest, TheBreakStopsBeforeTheNextRecord) {
  int polls = 0;
  ui_.breakPoll = [&polls] { return ++polls > 1; };
  const Bytes before = ReadBytes(scanned_);
  const DuplicateScanOutcome outcome = Scan(1, false);
  EXPECT_TRUE(outcome.broken);
  EXPECT_EQ(outcome.scanned, 1);
  EXPECT_EQ(StoredSolution(scanned_, 2), other_ +
                                             " n\xB0"
                                             "3\r\n");
  EXPECT_EQ(StoredSolution(scanned_, 4), "");
}

TEST_F(DuplicateScanTest, UnreadableCollectionsAreNotedOnce) {
  files_.push_back(folder_.File("gone.kvl"));
  std::vector<std::string> shown;
  ui_.statusText = [&shown](int part, const std::string& text) {
    if (part == 4) shown.push_back(text);
  };
  const DuplicateScanOutcome outcome = Scan(0, false);
  ASSERT_EQ(outcome.unreadFiles.size(), 1u);
  EXPECT_EQ(outcome.unreadFiles[0].path, folder_.File("gone.kvl"));
  EXPECT_NE(std::find(shown.begin(), shown.end(), third_), shown.end());
  EXPECT_EQ(std::find(shown.begin(), shown.end(), scanned_), shown.end());
}

TEST_F(DuplicateScanTest, LinesThatDoNotFitTheStoredTextAreLeftOutWhole) {
  // Room for one more line of the other file, not for two.
  const std::size_t room = (other_ +
                            " n\xB0"
                            "2\r\n")
                               .size() +
                           5;
  const std::string full(MaxHeapStringLength - room - 2, 'x');
  WriteCollection(scanned_, {{Howard, {}, "", "", "", "", "", full + "\r\n"}});
  const DuplicateScanOutcome outcome = Scan(0, false);
  ASSERT_EQ(outcome.notes.size(), 1u);
  EXPECT_EQ(outcome.notes[0].lines, other_ +
                                        " n\xB0"
                                        "2\r\n");
  EXPECT_EQ(StoredSolution(scanned_, 1), full + "\r\n" + outcome.notes[0].lines);
}

TEST(DuplicateLines, AppendOnALineOfTheirOwnWithoutRepeating) {
  std::string added;
  EXPECT_EQ(AppendDuplicateLines("1. Qd4!",
                                 "a n\xB0"
                                 "1\r\nb n\xB0"
                                 "2\r\n",
                                 added),
            "1. Qd4!\r\na n\xB0"
            "1\r\nb n\xB0"
            "2\r\n");
  EXPECT_EQ(added,
            "a n\xB0"
            "1\r\nb n\xB0"
            "2\r\n");
  EXPECT_EQ(AppendDuplicateLines("x\r\na n\xB0"
                                 "1\r\n",
                                 "a n\xB0"
                                 "1\r\nc n\xB0"
                                 "3\r\n",
                                 added),
            "x\r\na n\xB0"
            "1\r\nc n\xB0"
            "3\r\n");
  EXPECT_EQ(added,
            "c n\xB0"
            "3\r\n");
  EXPECT_EQ(AppendDuplicateLines("x", "", added), "x");
  EXPECT_TRUE(added.empty());
}

}  // namespace
}  // namespace kv
