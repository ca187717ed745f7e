// Appending a problem in one operation writes the bytes that a blank record
// appended and then saved into would give; a new file appears complete or
// not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "collections/problem_file.h"
#include "search_test_util.h"

namespace kv {
namespace {

using namespace testing;

CurrentProblem FullProblem() {
  CurrentProblem problem;
  problem.type.kind = KindSelf;
  problem.type.moves = 4;
  problem.authors = "Smith, John;Brown, Alan";
  problem.source = "The Problemist";
  problem.award = "1\xB0 Prize";
  problem.comment = std::string(300, 'c');  // cut at its field
  problem.solutionText = "1.Qd4! zz";
  problem.twins =
      "\x7F"
      "abcd";
  problem.extraStrings[ExtraDedication] = "J. Doe";
  return problem;
}

// A file with texts, dead space and a long solution, written by the two steps.
Bytes FileWithTexts(ScratchFolder& folder) {
  CollectionState state{folder.File("texts.kvl"), -1, -1};
  CurrentProblem problem = FullProblem();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(PrepareAppend(state));
    problem.solutionText = std::string(5000 + i, 's');
    EXPECT_TRUE(SaveProblem(state, problem, BoardOf(KingsOnly)));
  }
  problem.authors = "Doe";  // leaves dead space behind
  EXPECT_TRUE(SaveProblem(state, problem, BoardOf(KingsOnly)));
  return ReadBytes(state.currentFileName);
}

TEST(KvlAppendTest, OneOperationWritesTheBytesOfAppendingThenSaving) {
  ScratchFolder folder;
  const Bytes headerOnly = Spell().U16(-1).Repeat(0, 3).bytes();
  const Bytes blankFile =
      Spell().U16(0).Record(0x00, 2, AllSlots(98), EmptySquares()).Repeat(0, 3).bytes();
  const std::vector<std::pair<const char*, Bytes>> starts = {
      {"missing", {}},          {"empty", Bytes{}},
      {"one byte", Bytes{7}},   {"no record", headerOnly},
      {"one blank", blankFile}, {"texts and dead space", FileWithTexts(folder)}};
  for (const auto& [name, start] : starts) {
    SCOPED_TRACE(name);
    CollectionState twoSteps{folder.File("two.kvl"), -1, -1};
    CollectionState oneStep{folder.File("one.kvl"), -1, -1};
    std::filesystem::remove(twoSteps.currentFileName);
    std::filesystem::remove(oneStep.currentFileName);
    if (std::string(name) != "missing") {
      WriteBytes(twoSteps.currentFileName, start);
      WriteBytes(oneStep.currentFileName, start);
    }
    CurrentProblem saved = FullProblem();
    CurrentProblem appended = FullProblem();
    saved.infoModified = appended.infoModified = true;
    ASSERT_TRUE(PrepareAppend(twoSteps));
    ASSERT_TRUE(SaveProblem(twoSteps, saved, BoardOf(KingsOnly)));
    ASSERT_TRUE(AppendProblem(oneStep, appended, BoardOf(KingsOnly)));

    EXPECT_EQ(ReadBytes(oneStep.currentFileName), ReadBytes(twoSteps.currentFileName));
    EXPECT_EQ(oneStep.currentIndex, twoSteps.currentIndex);
    EXPECT_EQ(oneStep.lastIndex, twoSteps.lastIndex);
    EXPECT_EQ(appended.storedBoard, saved.storedBoard);
    EXPECT_FALSE(appended.infoModified);
  }
}

TEST(KvlAppendTest, AFailedAppendLeavesTheFileAsItWas) {
  ScratchFolder folder;
  CollectionState state{folder.File("full.kvl"), -1, -1};
  // 32768 records are the most a file holds.
  Spell full;
  full.U16(32767);
  for (int i = 0; i < 32768; ++i) full.Record(0x00, 2, AllSlots(2 + 96 * 32768), EmptySquares());
  full.Repeat(0, 3);
  WriteBytes(state.currentFileName, full.bytes());
  CurrentProblem problem = FullProblem();
  problem.infoModified = true;
  EXPECT_EQ(AppendProblem(state, problem, BoardOf(KingsOnly)).status, FileStatus::Full);
  EXPECT_EQ(ReadBytes(state.currentFileName), full.bytes());
  EXPECT_TRUE(problem.infoModified);
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(KvlAppendTest, CreatingACollectionNeverTakesAnExistingName) {
  ScratchFolder folder;
  CollectionState state{folder.File("new.kvl"), -1, -1};
  ASSERT_TRUE(CreateCollection(state));
  const Bytes created = ReadBytes(state.currentFileName);
  EXPECT_EQ(created.size(), static_cast<std::size_t>(NewFileSize));
  EXPECT_EQ(state.lastIndex, 0);

  const FileResult again = CreateCollection(state);
  EXPECT_EQ(again.status, FileStatus::CannotOpen);
  EXPECT_EQ(again.detail, "the file already exists");
  EXPECT_EQ(ReadBytes(state.currentFileName), created);

  state.currentFileName = folder.File("no/such/folder.kvl");
  EXPECT_EQ(CreateCollection(state).status, FileStatus::CannotOpen);
  CurrentProblem problem;
  EXPECT_EQ(AppendProblem(state, problem, BoardOf(KingsOnly)).status, FileStatus::CannotOpen);
  EXPECT_EQ(folder.EntryCount(), 1u);
}

}  // namespace
}  // namespace kv
