// Duplicate information over the selected problems of a real collection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "collections/duplicate_information.h"
#include "search_test_util.h"

namespace kv {
namespace {

using testing::ScratchFolder;

class DuplicateInformationTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string path_ = folder_.File("problems.kvl");
  Language language_;
  std::vector<std::string> messages_;
  UiCallbacks ui_;
  CollectionState state_;
  std::unique_ptr<CurrentProblem> problem_ = std::make_unique<CurrentProblem>();
  Board board_{};

  DuplicateInformationTest() {
    ui_.messageBox = [this](const std::string& text, const std::string&, int) {
      messages_.push_back(text);
      return IdOk;
    };
  }

  // Problems "Author 1" ... "Author n", each with source "Old", comment "Keep".
  void AddProblems(int count) {
    for (int i = 0; i < count; ++i) {
      CollectionState state{path_, -1, -1};
      ASSERT_TRUE(PrepareAppend(state));
      CurrentProblem problem;
      problem.authors = "Author " + std::to_string(i + 1);
      problem.source = "Old";
      problem.comment = "Keep";
      problem.solutionText = "\r\nSolution: 1. Qd4!";
      ASSERT_TRUE(SaveProblem(state, problem, testing::BoardOf(testing::KingsOnly)));
    }
  }

  DuplicateOutcome Run(const DuplicateInformation& info, const std::vector<int>& records) {
    ProblemList list;
    list.files = {path_};
    for (int r : records) list.entries.push_back({0, static_cast<std::uint16_t>(r)});
    return RunDuplicateInformation(info, list, list.entries, state_, *problem_, board_, language_,
                                   ui_);
  }

  CurrentProblem Stored(int number) {
    CurrentProblem stored;
    Board board{};
    EXPECT_TRUE(LoadProblemNumber(path_, number, stored, board));
    return stored;
  }
};

TEST_F(DuplicateInformationTest, NumbersFollowTheListOrder) {
  AddProblems(3);
  DuplicateInformation info;
  info.ticked[DuplicateSource] = true;
  info.texts[DuplicateSource] = "Tourney ";
  info.ticked[DuplicateSecondSource] = true;
  info.texts[DuplicateSecondSource] = "Book\\";
  info.startNumber = 10;
  const DuplicateOutcome outcome = Run(info, {3, 1, 2});
  EXPECT_EQ(outcome.saved, 3);
  EXPECT_EQ(Stored(3).source, "Tourney 10");
  EXPECT_EQ(Stored(1).source, "Tourney 11");
  EXPECT_EQ(Stored(2).source, "Tourney 12");
  // A backslash would cut the second source when read back: it becomes "/".
  EXPECT_EQ(Stored(1).extraStrings[ExtraSecondSource], "Book/11");
  // Unticked fields, the position and the stored solution stay.
  const CurrentProblem first = Stored(1);
  EXPECT_EQ(first.authors, "Author 1");
  EXPECT_EQ(first.comment, "Keep");
  EXPECT_EQ(first.solutionText, "\r\nSolution: 1. Qd4!");
  EXPECT_EQ(first.storedBoard[4], 0x2A);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(DuplicateInformationTest, WithoutAStartNumberEveryProblemGetsTheSameTexts) {
  AddProblems(2);
  DuplicateInformation info;
  info.ticked = {true, false, true, true, false};
  info.texts = {"Loyd, Sam", "ignored", "Prize", "New", "ignored"};
  EXPECT_EQ(Run(info, {1, 2}).saved, 2);
  for (int n = 1; n <= 2; ++n) {
    const CurrentProblem stored = Stored(n);
    EXPECT_EQ(stored.authors, "Loyd, Sam");
    EXPECT_EQ(stored.source, "Old");
    EXPECT_EQ(stored.award, "Prize");
    EXPECT_EQ(stored.comment, "New");
    EXPECT_EQ(stored.extraStrings[ExtraSecondSource], "");
  }
}

TEST_F(DuplicateInformationTest, TextsAreCutToTheirFields) {
  CurrentProblem problem;
  DuplicateInformation info;
  info.ticked[DuplicateSource] = true;
  info.texts[DuplicateSource] = std::string(200, 's');
  info.startNumber = 99;
  ApplyDuplicateInformation(info, 1, problem);
  // 127 characters of text, then the number, within the source's 128.
  EXPECT_EQ(problem.source, std::string(127, 's') + "1");
}

TEST_F(DuplicateInformationTest, AMissingProblemIsReportedOnceAndTheOthersAreSaved) {
  AddProblems(2);
  DuplicateInformation info;
  info.ticked[DuplicateComment] = true;
  info.texts[DuplicateComment] = "Done";
  const DuplicateOutcome outcome = Run(info, {5, 1, 7, 2});
  EXPECT_EQ(outcome.saved, 2);
  EXPECT_EQ(outcome.failed, 2);
  EXPECT_EQ(outcome.firstFailure.status, FileStatus::NoRecord);
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(Stored(1).comment, "Done");
  EXPECT_EQ(Stored(2).comment, "Done");
}

}  // namespace
}  // namespace kv
