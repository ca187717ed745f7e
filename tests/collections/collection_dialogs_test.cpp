// The save and organise dialogs' decisions on real files.
#include "collections/collection_dialogs.h"

#include <gtest/gtest.h>

#include "kvl_test_util.h"

namespace kv {
namespace {

using namespace testing;

class CollectionDialogsTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  CollectionState state_{folder_.File("new.kvl"), -1, -1};
  CurrentProblem problem_;
  Board board_{};
};

TEST_F(CollectionDialogsTest, SavingAsIntoANewFile) {
  // Save as: a new file, the problem waiting at -1.
  SaveDialog dialog;
  ASSERT_TRUE(OpenSaveDialog(state_, dialog));
  EXPECT_EQ(ReadBytes(state_.currentFileName).size(), 0u);  // created empty
  EXPECT_EQ(dialog.lastIndex, -1);
  EXPECT_EQ(dialog.number, 1);
  EXPECT_EQ(dialog.Size(), 0);
  // While the file is empty, Cancel is refused.
  EXPECT_FALSE(CancelSaveDialog(state_, dialog));

  FileResult result;
  EXPECT_FALSE(AcceptSaveDialog(state_, dialog, 2, problem_, board_, result));
  problem_.authors = "Smith";
  ASSERT_TRUE(AcceptSaveDialog(state_, dialog, 1, problem_, board_, result));
  ASSERT_TRUE(result);
  EXPECT_EQ(state_.currentIndex, 0);
  EXPECT_EQ(state_.lastIndex, 0);
  EXPECT_EQ(ReadBytes(state_.currentFileName).size(), 101u + 8u);
}

TEST_F(CollectionDialogsTest, SavingAtAnExistingNumberOverwritesAndPastTheEndAppends) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PrepareAppend(state_));
  state_.currentIndex = -1;
  SaveDialog dialog;
  ASSERT_TRUE(OpenSaveDialog(state_, dialog));
  EXPECT_EQ(dialog.number, 4);  // the appending number
  EXPECT_EQ(dialog.MaxNumber(), 4);
  FileResult result;
  EXPECT_FALSE(AcceptSaveDialog(state_, dialog, 5, problem_, board_, result));
  EXPECT_FALSE(AcceptSaveDialog(state_, dialog, 0, problem_, board_, result));

  problem_.source = "Overwritten";
  ASSERT_TRUE(AcceptSaveDialog(state_, dialog, 2, problem_, board_, result));
  EXPECT_EQ(state_.lastIndex, 2);
  problem_.source = "Appended";
  ASSERT_TRUE(AcceptSaveDialog(state_, dialog, 4, problem_, board_, result));
  EXPECT_EQ(state_.lastIndex, 3);

  CollectionReader reader;
  ASSERT_TRUE(reader.Open(state_.currentFileName));
  std::string text;
  ASSERT_TRUE(reader.ReadString(1, SlotSource, text));
  EXPECT_EQ(text, "Overwritten");
  ASSERT_TRUE(reader.ReadString(3, SlotSource, text));
  EXPECT_EQ(text, "Appended");

  // Cancel with the problem still waiting past the end brings it back to 0.
  state_.currentIndex = 7;
  EXPECT_TRUE(CancelSaveDialog(state_, dialog));
  EXPECT_EQ(state_.currentIndex, 0);
}

TEST_F(CollectionDialogsTest, OrganiseAnswers) {
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(PrepareAppend(state_));
  const Bytes before = ReadBytes(state_.currentFileName);
  state_.currentIndex = 1;
  ASSERT_TRUE(ApplyOrganiseAnswer(state_, OrganiseCancel));
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);
  EXPECT_FALSE(ApplyOrganiseAnswer(state_, 1000));
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);

  ASSERT_TRUE(ApplyOrganiseAnswer(state_, 2));
  EXPECT_EQ(state_.lastIndex, 5);
  // Deleting 9 from the second of six records deletes the five to the end.
  ASSERT_TRUE(ApplyOrganiseAnswer(state_, -9));
  EXPECT_EQ(state_.lastIndex, 0);
  state_.currentIndex = 0;
  EXPECT_EQ(ApplyOrganiseAnswer(state_, -1).status, FileStatus::NoRecord);
  ASSERT_TRUE(ApplyOrganiseAnswer(state_, OrganiseCompact));
  EXPECT_EQ(ReadBytes(state_.currentFileName).size(), 2u + 96u + 4u);
}

}  // namespace
}  // namespace kv
