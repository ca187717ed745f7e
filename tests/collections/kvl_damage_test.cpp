// Damaged and hostile collection files: every operation answers with a clear
// failure, reads nothing past the end of the file (the sanitizers watch), and
// leaves the file as it was; a failed whole-file rewrite leaves the old file
// whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "collections/export.h"
#include "collections/problem_file.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using namespace testing;

// Two records; record 0 has an author (offset 194 + 3 = 197) and a source
// (offset 205); record 1 is blank.
Bytes TwoRecordFile() {
  return Spell()
      .U16(1)
      .Record(0x00, 2, {197, 205, 194, 194, 194, 194, 194}, EmptySquares())
      .Record(0x00, 2, AllSlots(194), EmptySquares())
      .Repeat(0, 3)  // the shared empty string
      .String("Smith")
      .String("Paris")
      .bytes();
}

void Patch(Bytes& bytes, std::size_t at, const std::vector<int>& values) {
  for (int value : values) bytes.at(at++) = static_cast<std::uint8_t>(value);
}

// A damage that writes `values` from `at` on.
std::function<void(Bytes&)> PatchAt(std::size_t at, const std::vector<int>& values) {
  return [at, values](Bytes& b) { Patch(b, at, values); };
}

struct Damage {
  const char* name;
  std::function<void(Bytes&)> apply;
  FileStatus onLoad;  // loading record 0
  bool compactRefused;
};

const std::vector<Damage>& Damages() {
  constexpr FileStatus Damaged = FileStatus::Damaged;
  static const std::vector<Damage> damages = {
      {"one byte", [](Bytes& b) { b.resize(1); }, Damaged, true},
      {"truncated index", [](Bytes& b) { b.resize(150); }, Damaged, true},
      {"header larger than the file", PatchAt(0, {100, 0}), Damaged, true},
      {"negative header", PatchAt(0, {0xFE, 0xFF}), Damaged, true},
      {"negative string length", PatchAt(197, {0xFF, 0xFF}), Damaged, true},
      {"offset outside the file", PatchAt(10, {0xF0, 0xFF, 0xFF, 0xFF}), Damaged, true},
      // The bytes of records are no text: compaction would store them as one.
      {"offset inside the index", PatchAt(14, {98, 0, 0, 0}), Damaged, true},
      {"string past the end", PatchAt(205, {0xFF, 0x7F}), Damaged, true},
      {"string cut by the end of the file", [](Bytes& b) { b.erase(b.end() - 3, b.end()); },
       Damaged, true},
      {"shared empty string cut off",
       [](Bytes& b) {
         b.resize(194);
         Patch(b, 6, {194});
       },
       Damaged, true},
      {"position byte that is no man", PatchAt(34 + 12, {0x28}), Damaged, false},
      {"NUL inside a text", PatchAt(201, {0}), FileStatus::Ok, false},
  };
  return damages;
}

TEST(KvlDamageTest, DamagedFilesAreReportedAndLeftAlone) {
  ScratchFolder folder;
  for (const Damage& damage : Damages()) {
    SCOPED_TRACE(damage.name);
    Bytes bytes = TwoRecordFile();
    damage.apply(bytes);
    const std::string path = folder.File("damaged.kvl");
    WriteBytes(path, bytes);

    CollectionState state{path, 0, -1};
    CurrentProblem problem;
    problem.authors = "unchanged";
    Board board{};
    board[22] = WhiteKing;
    const FileResult load = LoadProblem(state, problem, board);
    EXPECT_EQ(load.status, damage.onLoad) << load.detail;
    if (!load.ok()) {
      EXPECT_FALSE(load.detail.empty());
      EXPECT_EQ(problem.authors, "unchanged");
      EXPECT_EQ(board[22], WhiteKing);
    }

    const FileResult compact = CompactFile(state);
    EXPECT_EQ(compact.ok(), !damage.compactRefused) << compact.detail;
    if (!compact.ok()) {
      EXPECT_EQ(ReadBytes(path), bytes);
    }
    WriteBytes(path, bytes);
    state.currentIndex = 0;
    const FileResult insert = InsertRecords(state, 1);
    if (!insert.ok()) {
      EXPECT_EQ(ReadBytes(path), bytes);
    }
    WriteBytes(path, bytes);
    state.currentIndex = 0;
    const FileResult text = SaveSolutionText(state, "1.e4");
    if (!text.ok()) {
      EXPECT_EQ(ReadBytes(path), bytes);
    }
    EXPECT_EQ(folder.EntryCount(), 1u);
  }
}

TEST(KvlDamageTest, ADamagedProblemLoadsWithWhatCanBeReadWhenTheCallerAsks) {
  ScratchFolder folder;
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 6, {0xF0, 0xFF, 0xFF, 0xFF});  // authors outside the file
  Patch(bytes, 34 + 4, {0x28});               // e8 holds no man
  Patch(bytes, 34 + 5, {0x26});               // f8 a white king
  const std::string path = folder.File("damaged.kvl");
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  problem.authors = "before";
  Board board{};
  EXPECT_EQ(LoadProblem(state, problem, board).status, FileStatus::Damaged);
  EXPECT_EQ(problem.authors, "before");

  FileResult damage;
  ASSERT_TRUE(LoadProblem(state, problem, board, &damage));
  EXPECT_EQ(damage.status, FileStatus::Damaged);
  EXPECT_NE(damage.detail.find("square e8 holds the byte 0x28"), std::string::npos)
      << damage.detail;
  EXPECT_NE(damage.detail.find("problem 1, authors: the text's offset"), std::string::npos)
      << damage.detail;
  EXPECT_EQ(problem.authors, "");
  EXPECT_EQ(problem.source, "Paris");
  EXPECT_EQ(board[26], Empty);
  EXPECT_EQ(board[27], WhiteKing);
  EXPECT_EQ(
      DamagedProblemText(damage, "damaged.kvl").rfind("damaged.kvl: this problem is damaged", 0),
      0u);
  // The others load as usual, without a warning.
  state.currentIndex = 1;
  ASSERT_TRUE(LoadProblem(state, problem, board, &damage));
  EXPECT_TRUE(damage.ok());

  // By number, and as an entry of a problem list or the multiple view, the
  // same: refused unless the caller asks for what can be read.
  CurrentProblem numbered;
  EXPECT_EQ(LoadProblemNumber(path, 1, numbered, board).status, FileStatus::Damaged);
  ASSERT_TRUE(LoadProblemNumber(path, 1, numbered, board, &damage));
  EXPECT_EQ(damage.status, FileStatus::Damaged);
  EXPECT_EQ(numbered.source, "Paris");
  CollectionState listed;
  CurrentProblem entry;
  EXPECT_EQ(LoadListEntry(path, 1, listed, entry, board).status, FileStatus::Damaged);
  ASSERT_TRUE(LoadListEntry(path, 1, listed, entry, board, &damage));
  EXPECT_EQ(damage.status, FileStatus::Damaged);
  EXPECT_EQ(entry.source, "Paris");
  EXPECT_EQ(board[27], WhiteKing);
  EXPECT_EQ(listed.currentIndex, 0);
  ASSERT_TRUE(LoadListEntry(path, 2, listed, entry, board, &damage));
  EXPECT_TRUE(damage.ok());
  // Nothing was written.
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(KvlDamageTest, CompactionNamesATextOffsetIntoTheIndexAndCopiesNothing) {
  ScratchFolder folder;
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 14, {98, 0, 0, 0});  // the award of problem 1 points at record 1
  const std::string path = folder.File("index.kvl");
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};
  const FileResult compact = CompactFile(state);
  EXPECT_EQ(compact.status, FileStatus::Damaged);
  EXPECT_EQ(compact.detail,
            "problem 1, award: the text's offset 98 points into the index of problems");
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(KvlDamageTest, AReadErrorIsNotTakenForAShortFile) {
  // A folder's descriptor fails every read (EISDIR), as a failing disk does
  // (EIO): the message names the read error, not damage.
  ScratchFolder folder;
  const int fd = ::open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  const ByteStore store = ByteStore::OnFile(fd, 10'000);
  int lastIndex = -1;
  RecordHead head;
  std::string text;
  CurrentProblem problem;
  for (const FileResult& result :
       {ReadLastIndex(store, lastIndex), ReadRecordHead(store, 0, head),
        ReadRecordString(store, 0, SlotAuthors, text), ReadProblemRecord(store, 0, problem)}) {
    EXPECT_EQ(result.status, FileStatus::CannotOpen);
    EXPECT_EQ(result.detail, "read error: " + ErrnoText(EISDIR));
  }
  FileResult damage;
  EXPECT_EQ(ReadProblemRecord(store, 0, problem, &damage).status, FileStatus::CannotOpen);
  ::close(fd);
  // A file that is short is still damage.
  const Bytes one(1, 0);
  EXPECT_EQ(ReadLastIndex(ByteStore::OnBytes(one), lastIndex).detail,
            "the file is shorter than its header");
}

TEST(KvlDamageTest, SavingOverADamagedRecordRepairsIt) {
  ScratchFolder folder;
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 10, {0xF0, 0xFF, 0xFF, 0xFF});  // source offset outside the file
  Patch(bytes, 197, {0xFF, 0x7F});             // authors run past the end
  const std::string path = folder.File("repair.kvl");
  WriteBytes(path, bytes);

  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  problem.authors = "Smith";
  problem.source = "Paris";
  Board board{};
  ASSERT_TRUE(SaveProblem(state, problem, board));
  const Bytes repaired = ReadBytes(path);
  // Both texts appended; nothing written over bytes the damaged slots named.
  EXPECT_EQ(repaired.size(), bytes.size() + 8 + 8);
  EXPECT_EQ(Bytes(repaired.begin() + 197, repaired.begin() + 199), Bytes({0xFF, 0x7F}));
  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state, loaded, board));
  EXPECT_EQ(loaded.authors, "Smith");
  EXPECT_EQ(loaded.source, "Paris");
}

TEST(KvlDamageTest, ShortTextsAreNotWrittenOverTheIndex) {
  // A slot pointing into the index (here at record 1, whose first bytes read
  // as an empty string) would have its text written over that record; it is
  // appended instead.
  ScratchFolder folder;
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 14, {98, 0, 0, 0});
  Patch(bytes, 100, {KindHelp});
  const std::string path = folder.File("index.kvl");
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  Board board{};
  ASSERT_TRUE(SaveProblem(state, problem, board));
  const Bytes after = ReadBytes(path);
  EXPECT_EQ(Bytes(after.begin() + 98, after.begin() + 194),
            Bytes(bytes.begin() + 98, bytes.begin() + 194));
}

TEST(KvlDamageTest, TextsSharedOrOverlappingInARecordAreNotWrittenOverEachOther) {
  // The comment shares the source's "Paris"; the authors' string claims 14
  // characters, which run over "Paris" too (it reads as "Smith", up to its NUL).
  ScratchFolder folder;
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 18, {205, 0, 0, 0});
  Patch(bytes, 197, {14, 0});
  const std::string path = folder.File("shared.kvl");
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  Board board{};
  ASSERT_TRUE(LoadProblem(state, problem, board));
  EXPECT_EQ(problem.authors, "Smith");
  EXPECT_EQ(problem.comment, "Paris");
  problem.authors = "Smith, Ann";  // would fit in the 14 claimed characters
  problem.comment.clear();
  ASSERT_TRUE(SaveProblem(state, problem, board));
  ASSERT_TRUE(LoadProblem(state, problem, board));
  EXPECT_EQ(problem.authors, "Smith, Ann");
  EXPECT_EQ(problem.source, "Paris");
  EXPECT_EQ(problem.comment, "");
}

TEST(KvlDamageTest, MovingRecordsKeepsDamagedOffsetsReported) {
  // An offset 288 bytes short of 2^32 would wrap into the index when three
  // records are inserted; it is set beyond any file instead.
  Bytes bytes = TwoRecordFile();
  Patch(bytes, 10, {0xE0, 0xFE, 0xFF, 0xFF});
  Bytes grown;
  ASSERT_TRUE(InsertRecordsInBytes(bytes, 0, 3, grown));
  const ByteStore store = ByteStore::OnBytes(grown);
  RecordHead head;
  ASSERT_TRUE(ReadRecordHead(store, 3, head));
  EXPECT_EQ(head.slotOffsets[SlotSource], 0xFFFFFFFFu);
  EXPECT_EQ(head.slotOffsets[SlotAuthors], 197u + 288u);
  CurrentProblem problem;
  EXPECT_EQ(ReadProblemRecord(store, 3, problem).status, FileStatus::Damaged);
}

TEST(KvlDamageTest, ACutSharedEmptyStringIsNotCompletedOverAppendedTexts) {
  // The new file without the NUL of its shared empty string: the empty texts
  // cannot be written there (the NUL would land on the first appended text).
  ScratchFolder folder;
  Bytes bytes = Spell().U16(0).Record(0x00, 2, AllSlots(98), EmptySquares()).U16(0).bytes();
  const std::string path = folder.File("cut.kvl");
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  problem.authors = "Smith";
  Board board{};
  ASSERT_TRUE(SaveProblem(state, problem, board));
  CurrentProblem loaded;
  ASSERT_TRUE(LoadProblem(state, loaded, board));
  EXPECT_EQ(loaded.authors, "Smith");
  EXPECT_EQ(loaded.source, "");
}

// A write that runs out of room (the file size limit stands in for a full
// disk) leaves the old file whole and no temporary file behind.
TEST(KvlDamageTest, AFailedRewriteLeavesTheOldFileWhole) {
  ScratchFolder folder;
  const std::string path = folder.File("full.kvl");
  const Bytes bytes = TwoRecordFile();
  WriteBytes(path, bytes);
  CollectionState state{path, 0, -1};

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 250;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileResult insert = InsertRecords(state, 5);
  CurrentProblem problem;
  problem.authors = std::string(100, 'a');
  Board board{};
  const FileResult save = SaveProblem(state, problem, board);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(insert.status, FileStatus::WriteFailed);
  EXPECT_EQ(save.status, FileStatus::WriteFailed);
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_EQ(folder.EntryCount(), 1u);
  EXPECT_EQ(FileResultText(insert, "full.kvl", Language{}).rfind("Unable to write full.kvl", 0),
            0u);
}

// Every prefix of a valid file, read from memory: no read past the end.
TEST(KvlDamageTest, EveryTruncationOfAFileIsReadSafely) {
  const Bytes whole = TwoRecordFile();
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    const ByteStore store = ByteStore::OnBytes(cut);
    int lastIndex = -1;
    CurrentProblem problem;
    if (!ReadLastIndex(store, lastIndex)) continue;
    // A record of a cut file may or may not be readable; it must be read
    // without reading past the end.
    for (int record = 0; record <= lastIndex; ++record)
      static_cast<void>(ReadProblemRecord(store, record, problem));
    Bytes out;
    const FileResult compact = CompactBytes(cut, out);
    // Only the final NUL may be missing.
    EXPECT_EQ(compact.ok(), size + 1 >= whole.size()) << size;
  }
}

}  // namespace
}  // namespace kv
