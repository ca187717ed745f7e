// The collection file operations on real files, compared byte for byte with
// files written out by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "collections/problem_file.h"
#include "search_test_util.h"

namespace kv {
namespace {

using namespace testing;

Board EmptyBoard() {
  return BoardOf(NoMen);
}

Board KingsBoard() {
  return BoardOf(KingsOnly);
}

std::array<std::uint8_t, 64> KingsSquares() {
  std::array<std::uint8_t, 64> squares = EmptySquares();
  squares[4] = 0x2A;   // e8, black king
  squares[60] = 0x26;  // e1, white king
  return squares;
}

// The 101-byte file of one blank record.
Bytes NewFile() {
  return Spell().U16(0).Record(0x00, 2, AllSlots(98), EmptySquares()).Repeat(0, 3).bytes();
}

class KvlFileTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  CollectionState state_{folder_.File("problems.kvl"), 0, -1};
  CurrentProblem problem_;
  Board board_ = KingsBoard();

  // A helpmate in 3 by "Smith, John" from "X", saved into a new file.
  void SaveFirstProblem() {
    ASSERT_TRUE(PrepareAppend(state_));
    problem_.type.kind = KindHelp;
    problem_.type.moves = 3;
    problem_.authors = "Smith, John";
    problem_.source = "X";
    ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  }

  // A file of `count` records whose authors are "Author 1", "Author 2", ...
  void SaveNumberedProblems(int count) {
    for (int i = 0; i < count; ++i) {
      ASSERT_TRUE(PrepareAppend(state_));
      problem_.authors = "Author " + std::to_string(i + 1);
      ASSERT_TRUE(SaveProblem(state_, problem_, board_));
    }
  }

  std::string AuthorsOf(int record) {
    std::string text;
    CollectionReader reader;
    EXPECT_TRUE(reader.Open(state_.currentFileName));
    EXPECT_TRUE(reader.ReadString(record, SlotAuthors, text));
    return text;
  }
};

TEST_F(KvlFileTest, NewFileIsTheBlankRecordFile) {
  ASSERT_TRUE(PrepareAppend(state_));
  EXPECT_EQ(ReadBytes(state_.currentFileName), NewFile());
  EXPECT_EQ(NewFileBytes(), NewFile());
  EXPECT_EQ(state_.currentIndex, 0);
  EXPECT_EQ(state_.lastIndex, 0);

  Board board = KingsBoard();
  ASSERT_TRUE(LoadProblem(state_, problem_, board));
  EXPECT_EQ(board, EmptyBoard());
  EXPECT_EQ(problem_.type.kind, KindDirect);
  EXPECT_EQ(problem_.type.moves, 2);
  EXPECT_TRUE(problem_.authors.empty());
  EXPECT_FALSE(IsProblemModified(problem_, board));
}

TEST_F(KvlFileTest, EmptyOrHeaderlessFileGrowsIntoTheNewFile) {
  // A file of no bytes, and one whose header says no record (0xFFFF = -1).
  for (const Bytes& start : {Bytes{}, Bytes{0xFF, 0xFF, 0, 0, 0}}) {
    WriteBytes(state_.currentFileName, start);
    Board board = KingsBoard();
    const FileResult load = LoadProblem(state_, problem_, board);
    EXPECT_EQ(load.status, FileStatus::NoRecord);
    EXPECT_EQ(board, KingsBoard());
    EXPECT_EQ(state_.lastIndex, -1);
    ASSERT_TRUE(PrepareAppend(state_));
    EXPECT_EQ(ReadBytes(state_.currentFileName), NewFile());
  }
}

TEST_F(KvlFileTest, SaveAppendsLongerTextsAndRewritesShorterOnesInPlace) {
  SaveFirstProblem();
  // Authors and source appended after the shared empty string; the empty
  // texts are written over the shared empty string, which keeps its bytes.
  Bytes expected = Spell()
                       .U16(0)
                       .Record(0x01, 3, {101, 115, 98, 98, 98, 98, 98}, KingsSquares())
                       .Repeat(0, 3)  // the shared empty string
                       .String("Smith, John")
                       .String("X")
                       .bytes();
  EXPECT_EQ(ReadBytes(state_.currentFileName), expected);
  EXPECT_FALSE(IsProblemModified(problem_, board_));

  // A shorter text goes over the old one: same length of file, the tail of
  // the old text is dead space.
  problem_.authors = "Doe";
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  expected = Spell()
                 .U16(0)
                 .Record(0x01, 3, {101, 115, 98, 98, 98, 98, 98}, KingsSquares())
                 .Repeat(0, 3)  // the shared empty string
                 .String("Doe")
                 .Text("h, John")
                 .U8(0)
                 .String("X")
                 .bytes();
  EXPECT_EQ(ReadBytes(state_.currentFileName), expected);

  // A longer one than the stored length (3, not the 11 the space once held)
  // is appended: exactly 3 + L more bytes.
  problem_.authors = "Smith, John;Brown, Alan";
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  const Bytes grown = ReadBytes(state_.currentFileName);
  ASSERT_EQ(grown.size(), expected.size() + 3 + 23);
  EXPECT_EQ(Bytes(grown.end() - 26, grown.end()),
            Spell().String("Smith, John;Brown, Alan").bytes());
  EXPECT_EQ(AuthorsOf(0), "Smith, John;Brown, Alan");
}

TEST_F(KvlFileTest, EmptySolutionBufferKeepsTheStoredSolution) {
  SaveFirstProblem();
  ASSERT_TRUE(SaveSolutionText(state_, "1.Qd4! zz"));
  problem_.solutionText.clear();  // as after a solve
  problem_.comment = "v";
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));

  CurrentProblem loaded;
  Board board = EmptyBoard();
  ASSERT_TRUE(LoadProblem(state_, loaded, board));
  EXPECT_EQ(loaded.solutionText, "1.Qd4! zz");
  EXPECT_EQ(loaded.comment, "v");
  EXPECT_EQ(board, KingsBoard());

  loaded.solutionText.clear();
  ASSERT_TRUE(ReloadSolutionText(state_, loaded));
  EXPECT_EQ(loaded.solutionText, "1.Qd4! zz");
}

TEST_F(KvlFileTest, LongSolutionTextsSurviveUpToTheLongestStoredString) {
  SaveFirstProblem();
  // Longer than the 4096 bytes a text search looks at: read back whole.
  problem_.solutionText = std::string(5000, 'a');
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_EQ(loaded.solutionText, problem_.solutionText);
  ASSERT_TRUE(ReloadSolutionText(state_, loaded));
  EXPECT_EQ(loaded.solutionText.size(), 5000u);

  // Longer than a signed 16-bit length: cut at 32767, never a negative length.
  problem_.solutionText = std::string(40000, 'b');
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_EQ(loaded.solutionText, std::string(32767, 'b'));
  ASSERT_TRUE(SaveSolutionText(state_, std::string(40000, 'c')));
  ASSERT_TRUE(ReloadSolutionText(state_, loaded));
  EXPECT_EQ(loaded.solutionText, std::string(32767, 'c'));
}

TEST_F(KvlFileTest, TextsAreCutAtTheirFieldsOnSaveAndLoad) {
  SaveFirstProblem();
  problem_.authors = std::string(300, 'a');
  problem_.source = std::string(200, 's');
  problem_.twins = std::string(200, '!');
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_EQ(loaded.authors.size(), 256u);
  EXPECT_EQ(loaded.source.size(), 128u);
  EXPECT_EQ(loaded.twins.size(), 127u);
}

TEST_F(KvlFileTest, ExtraStringsTwinsAndTypeRoundTrip) {
  SaveFirstProblem();
  problem_.extraStrings = {"Ann Lee", "", "Die Schwalbe 1990", "", "A\\B"};
  problem_.twins = std::string("\x7F") + "#%% ";  // usual mode, one entry
  problem_.type.kind = KindHelp;
  problem_.type.flags = FlagSeries | FlagWhiteBegins;
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));

  std::string slot6;
  CollectionReader reader;
  ASSERT_TRUE(reader.Open(state_.currentFileName));
  ASSERT_TRUE(reader.ReadString(0, SlotExtra, slot6));
  // A backslash would start a tag: it is stored as "/".
  EXPECT_EQ(slot6, "\\deAnn Lee\\s2Die Schwalbe 1990\\svA/B");
  RecordHead head;
  ASSERT_TRUE(reader.ReadHead(0, head));
  EXPECT_EQ(head.typeByte, 0x49);
  reader.Close();

  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_EQ(loaded.extraStrings[0], "Ann Lee");
  EXPECT_EQ(loaded.extraStrings[2], "Die Schwalbe 1990");
  EXPECT_EQ(loaded.extraStrings[4], "A/B");
  EXPECT_EQ(loaded.twins, problem_.twins);
  EXPECT_EQ(FormatProblemType(loaded.type), "sh#3 W");

  // An empty slot 5 clears the twins.
  problem_.twins.clear();
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_TRUE(loaded.twins.empty());
}

TEST_F(KvlFileTest, TypeByteBitSevenIsIgnoredAndSpareBytesCleared) {
  Bytes file = NewFile();
  file[4] = 0x80 | 0x08 | KindHelp;  // bit 7, series, helpmate
  file[5] = 5;
  WriteBytes(state_.currentFileName, file);
  problem_.type.spare = 7;
  problem_.type.directLetterFlag = 1;
  ASSERT_TRUE(LoadProblem(state_, problem_, board_));
  EXPECT_EQ(problem_.type.kind, KindHelp);
  EXPECT_EQ(problem_.type.flags, FlagSeries);
  EXPECT_EQ(problem_.type.moves, 5);
  EXPECT_EQ(problem_.type.spare, 0);
  EXPECT_EQ(problem_.type.directLetterFlag, 0);
}

TEST_F(KvlFileTest, InsertingAndDeletingMoveRecordsAndKeepTheirStrings) {
  SaveNumberedProblems(10);
  const Bytes before = ReadBytes(state_.currentFileName);

  state_.currentIndex = 5;
  ASSERT_TRUE(InsertRecords(state_, 3));
  EXPECT_EQ(state_.lastIndex, 12);
  const Bytes after = ReadBytes(state_.currentFileName);
  ASSERT_EQ(after.size(), before.size() + 3 * 96);
  EXPECT_EQ(after[0], 12);
  // The old record 5 is record 8 now, its strings still found.
  EXPECT_EQ(AuthorsOf(8), "Author 6");
  EXPECT_EQ(AuthorsOf(4), "Author 5");
  EXPECT_EQ(AuthorsOf(12), "Author 10");
  // Records 5..7 are blank, pointing at the shared empty string after the
  // new index (2 + 96 * 13 = 1250).
  const Bytes blank = Spell().Record(0x00, 2, AllSlots(1250), EmptySquares()).bytes();
  for (int i = 5; i <= 7; ++i) {
    EXPECT_EQ(Bytes(after.begin() + 2 + 96 * i, after.begin() + 2 + 96 * (i + 1)), blank) << i;
  }
  EXPECT_EQ(Bytes(after.begin() + 1250, after.begin() + 1253), Bytes({0, 0, 0}));

  // Deleting the three again gives back the very same file.
  ASSERT_TRUE(InsertRecords(state_, -3));
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);
  EXPECT_EQ(folder_.EntryCount(), 1u);  // no temporary file left behind
}

TEST_F(KvlFileTest, DeletingIsLimitedSoThatOneRecordRemains) {
  // The organise dialog's limits: to the end of the file, and below the count.
  EXPECT_EQ(LimitDeleteCount(5, 7, 9), 3);   // records 8..10 of 10
  EXPECT_EQ(LimitDeleteCount(10, 0, 9), 9);  // all but one
  EXPECT_EQ(LimitDeleteCount(2, 0, 9), 2);
  EXPECT_EQ(LimitDeleteCount(1, 0, 0), 0);  // the last record stays

  SaveNumberedProblems(3);
  const Bytes before = ReadBytes(state_.currentFileName);
  state_.currentIndex = 0;
  EXPECT_EQ(InsertRecords(state_, -3).status, FileStatus::NoRecord);
  state_.currentIndex = 2;
  EXPECT_EQ(InsertRecords(state_, -2).status, FileStatus::NoRecord);
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);
  state_.currentIndex = 1;
  ASSERT_TRUE(InsertRecords(state_, -2));
  EXPECT_EQ(state_.lastIndex, 0);
  EXPECT_EQ(AuthorsOf(0), "Author 1");
}

TEST_F(KvlFileTest, CompactionRemovesDeadSpace) {
  SaveFirstProblem();
  problem_.authors = "Doe";
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));  // leaves "h, John" dead
  ASSERT_TRUE(CompactFile(state_));
  const Bytes expected = Spell()
                             .U16(0)
                             .Record(0x01, 3, {102, 108, 98, 98, 98, 98, 98}, KingsSquares())
                             .Repeat(0, 4)  // shared empty string, zero byte
                             .String("Doe")
                             .String("X")
                             .bytes();
  EXPECT_EQ(ReadBytes(state_.currentFileName), expected);
  EXPECT_EQ(folder_.EntryCount(), 1u);
}

TEST_F(KvlFileTest, CompactingAFileWithoutTextsPointsEverySlotAtTheSharedString) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PrepareAppend(state_));
  ASSERT_TRUE(CompactFile(state_));
  Spell expected;
  expected.U16(2);
  for (int i = 0; i < 3; ++i) expected.Record(0x00, 2, AllSlots(290), EmptySquares());
  expected.U32(0);
  EXPECT_EQ(ReadBytes(state_.currentFileName), expected.bytes());
  EXPECT_EQ(ReadBytes(state_.currentFileName).size(), 2u + 96 * 3 + 4);
}

TEST_F(KvlFileTest, CompactionKeepsTextsLongerThanTheSearchLimit) {
  SaveFirstProblem();
  problem_.solutionText = std::string(9000, 'x');
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  problem_.authors = "Doe";
  ASSERT_TRUE(SaveProblem(state_, problem_, board_));
  ASSERT_TRUE(CompactFile(state_));
  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state_, loaded, board_));
  EXPECT_EQ(loaded.solutionText.size(), 9000u);
  EXPECT_EQ(loaded.authors, "Doe");
}

TEST_F(KvlFileTest, LoadingClampsTheIndexAndSavingNeedsAnExistingRecord) {
  SaveNumberedProblems(2);
  state_.currentIndex = 7;
  ASSERT_TRUE(LoadProblem(state_, problem_, board_));
  EXPECT_EQ(state_.currentIndex, 1);
  EXPECT_EQ(problem_.authors, "Author 2");

  const Bytes before = ReadBytes(state_.currentFileName);
  state_.currentIndex = 2;
  problem_.infoModified = true;
  EXPECT_EQ(SaveProblem(state_, problem_, board_).status, FileStatus::NoRecord);
  EXPECT_TRUE(problem_.infoModified);
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);

  Board board = EmptyBoard();
  CurrentProblem numbered;
  EXPECT_EQ(LoadProblemNumber(state_.currentFileName, 3, numbered, board).status,
            FileStatus::NoRecord);
  ASSERT_TRUE(LoadProblemNumber(state_.currentFileName, 1, numbered, board));
  EXPECT_EQ(numbered.authors, "Author 1");
}

TEST_F(KvlFileTest, MissingFilesAreReportedAndNotCreatedByLoadOrSave) {
  Board board = KingsBoard();
  EXPECT_EQ(LoadProblem(state_, problem_, board).status, FileStatus::CannotOpen);
  EXPECT_EQ(SaveProblem(state_, problem_, board).status, FileStatus::CannotOpen);
  EXPECT_EQ(InsertRecords(state_, 1).status, FileStatus::CannotOpen);
  EXPECT_EQ(folder_.EntryCount(), 0u);
  state_.currentFileName = folder_.File("no/such/folder.kvl");
  EXPECT_EQ(PrepareAppend(state_).status, FileStatus::CannotOpen);

  std::string shown;
  UiCallbacks ui;
  ui.messageBox = [&](const std::string& text, const std::string&, int style) {
    shown = text;
    EXPECT_EQ(style, MbOk | MbIconStop);
    return IdOk;
  };
  ReportFileResult(ui, Language{}, LoadProblem(state_, problem_, board), "a.kvl");
  EXPECT_EQ(shown.rfind("Unable to Open a.kvl", 0), 0u) << shown;
}

TEST_F(KvlFileTest, AFullFileTakesNoMoreRecords) {
  // 32768 records are the most a signed 16-bit header can count.
  Spell full;
  full.U16(32767);
  const std::uint32_t shared = 2 + 96 * 32768;
  for (int i = 0; i < 32768; ++i) full.Record(0x00, 2, AllSlots(shared), EmptySquares());
  full.Repeat(0, 3);
  WriteBytes(state_.currentFileName, full.bytes());
  EXPECT_EQ(PrepareAppend(state_).status, FileStatus::Full);
  state_.currentIndex = 0;
  EXPECT_EQ(InsertRecords(state_, 1).status, FileStatus::Full);
  EXPECT_EQ(ReadBytes(state_.currentFileName), full.bytes());
}

TEST_F(KvlFileTest, AnotherProgramsLockKeepsWritersOutUntilThePatienceEnds) {
  SaveFirstProblem();
  const Bytes before = ReadBytes(state_.currentFileName);
  const std::chrono::milliseconds patience = SetLockPatience(std::chrono::milliseconds(300));
  {
    LockedFile other;
    ASSERT_TRUE(other.Open(state_.currentFileName, FileAccess::Read));
    // Readers share the file; writers wait for the patience, then give up.
    ASSERT_TRUE(LoadProblem(state_, problem_, board_));
    const auto start = std::chrono::steady_clock::now();
    const FileResult save = SaveProblem(state_, problem_, board_);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(save.status, FileStatus::CannotOpen);
    EXPECT_EQ(save.detail, "in use by another program; waited 1 s for it");
  }
  EXPECT_EQ(ReadBytes(state_.currentFileName), before);
  SetLockPatience(patience);

  // A lock let go within the patience only delays the writer.
  LockedFile other;
  ASSERT_TRUE(other.Open(state_.currentFileName, FileAccess::Read));
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    other.Close();
  });
  problem_.authors = "Waited";
  EXPECT_TRUE(SaveProblem(state_, problem_, board_));
  release.join();
  EXPECT_EQ(AuthorsOf(0), "Waited");
}

}  // namespace
}  // namespace kv
