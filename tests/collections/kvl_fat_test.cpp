// New collections and export files on file systems without unnamed files or
// hard links (FAT, exFAT: USB sticks, many network shares), on a lock-less
// file system, and what killed writers leave behind.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "collections/export_output.h"
#include "collections/file_replacement.h"
#include "collections/import_target.h"
#include "collections/leftovers.h"
#include "collections/problem_file.h"
#include "fault_shim.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using namespace testing;

constexpr const char* FatFaults = "no-tmpfile,no-link";
// exFAT through FUSE also lacks the rename that refuses to replace.
constexpr const char* FuseFatFaults = "no-tmpfile,no-link,no-noreplace";

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::size_t EntriesOf(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

std::string AuthorsOf(const std::string& path, int record) {
  CollectionReader reader;
  std::string text;
  if (!reader.Open(path) || !reader.ReadString(record, SlotAuthors, text)) return "?";
  return text;
}

// Every way a file comes about and is rewritten, in `folder`: each new file
// complete, nothing but them left in the folder.
void ExpectNewFilesComeWhole(const std::string& folder) {
  CollectionState created{folder + "/new.kvl", 0, -1};
  ASSERT_TRUE(CreateCollection(created)) << CreateCollection(created).detail;
  EXPECT_EQ(ReadBytes(created.currentFileName), NewFileBytes());
  // The fallbacks rename, which could replace: an existing file is kept.
  const FileResult again = CreateCollection(created);
  EXPECT_EQ(again.detail, "the file already exists");
  EXPECT_EQ(ReadBytes(created.currentFileName), NewFileBytes());

  CollectionState added{folder + "/added.kvl", -1, -1};
  CurrentProblem problem;
  problem.authors = "Added";
  const FileResult add = AppendProblem(added, problem, Board{});
  ASSERT_TRUE(add) << add.detail;
  EXPECT_EQ(AuthorsOf(added.currentFileName, 0), "Added");

  CollectionState prepared{folder + "/prepared.kvl", -1, -1};
  ASSERT_TRUE(PrepareAppend(prepared));
  EXPECT_EQ(ReadBytes(prepared.currentFileName), NewFileBytes());

  std::vector<ImportedProblem> imported(2);
  imported[0].problem.authors = "Imported 1";
  imported[1].problem.authors = "Imported 2";
  for (ImportedProblem& p : imported) p.position = EmptyPositionBytes();
  int first = -1;
  ASSERT_TRUE(AppendImportedProblems(folder + "/imported.kvl", imported, first));
  EXPECT_EQ(AuthorsOf(folder + "/imported.kvl", 1), "Imported 2");

  const std::string out = folder + "/out.epd";
  const FileResult exported = AppendToOutputFile(out, "first\r\n");
  ASSERT_TRUE(exported) << exported.detail;
  ASSERT_TRUE(AppendToOutputFile(out, "second\r\n"));
  EXPECT_EQ(ReadText(out), "first\r\nsecond\r\n");

  added.currentIndex = 0;
  ASSERT_TRUE(InsertRecords(added, 2));
  ASSERT_TRUE(CompactFile(added));
  EXPECT_EQ(AuthorsOf(added.currentFileName, 2), "Added");
  EXPECT_EQ(EntriesOf(folder), 5u) << "a temporary file was left behind";
}

class FatLike : public ::testing::TestWithParam<const char*> {
 protected:
  // The shim is in force: no unnamed file, no link.
  void ExpectFaults() {
    const int unnamed = ::open(folder_.Path().c_str(), O_TMPFILE | O_RDWR, 0600);
    EXPECT_EQ(unnamed, -1);
    EXPECT_EQ(errno, EOPNOTSUPP);
    WriteBytes(folder_.File("probe"), Bytes(1, 0));
    EXPECT_NE(::link(folder_.File("probe").c_str(), folder_.File("probe2").c_str()), 0);
    std::filesystem::remove(folder_.File("probe"));
  }

  ScratchFolder folder_;
};

INSTANTIATE_TEST_SUITE_P(Faults, FatLike, ::testing::Values(FatFaults, FuseFatFaults));

TEST_P(FatLike, NewCollectionsAndExportFilesComeWhole) {
  KV_RUN_WITH_FS_FAULTS(GetParam());
  ExpectFaults();
  ExpectNewFilesComeWhole(folder_.Path());
}

TEST_P(FatLike, ANewFileThatCannotBeWrittenLeavesNothingAndSaysItIsNotCreated) {
  KV_RUN_WITH_FS_FAULTS(GetParam());
  ExpectFaults();
  // The file size limit stands in for a full disk.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  CollectionState state{folder_.File("new.kvl"), 0, -1};
  const FileResult created = CreateCollection(state);
  const FileResult exported = AppendToOutputFile(folder_.File("out.pgn"), std::string(200, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  for (const FileResult& result : {created, exported}) {
    EXPECT_EQ(result.status, FileStatus::CannotOpen);
    EXPECT_NE(result.detail.find("cannot create the file"), std::string::npos) << result.detail;
    const std::string text = FileResultText(result, "out.pgn", Language{});
    EXPECT_EQ(text.find("previous contents"), std::string::npos) << text;
  }
  EXPECT_EQ(folder_.EntryCount(), 0u) << "a failed creation left a file";
}

TEST_P(FatLike, ProgramsCreatingOneFileAtOnceNeitherFailNorReplaceEachOther) {
  KV_RUN_WITH_FS_FAULTS(GetParam());
  constexpr int Writers = 6;
  constexpr int Rounds = 8;
  for (int round = 0; round < Rounds; ++round) {
    const std::string out = folder_.File("out-" + std::to_string(round) + ".txt");
    const std::string collection = folder_.File("c-" + std::to_string(round) + ".kvl");
    StartGate gate;
    std::vector<pid_t> writers;
    writers.reserve(Writers);
    for (int w = 0; w < Writers; ++w) {
      writers.push_back(StartChild([&, w] {
        gate.Wait();
        CollectionState state{collection, 0, -1};
        const FileResult created = CreateCollection(state);
        const bool createdOrTaken = created || created.detail == "the file already exists";
        const bool appended = AppendToOutputFile(out, "line " + std::to_string(w) + "\n").ok();
        return createdOrTaken && appended ? 0 : 1;
      }));
    }
    gate.Open();
    for (const pid_t pid : writers) EXPECT_EQ(WaitForChild(pid), 0) << "round " << round;
    // Every line once: no writer's new file replaced another's.
    const std::string text = ReadText(out);
    EXPECT_EQ(text.size(), static_cast<std::size_t>(Writers) * 7) << text;
    for (int w = 0; w < Writers; ++w) {
      EXPECT_NE(text.find("line " + std::to_string(w) + "\n"), std::string::npos) << text;
    }
    EXPECT_EQ(ReadBytes(collection), NewFileBytes());
  }
  EXPECT_EQ(folder_.EntryCount(), 2u * Rounds);
}

TEST(RealExfat, NewCollectionsAndExportFilesComeWhole) {
  ScratchFolder folder;
  testing::ExfatImage disk(folder.File("exfat"));
  if (!disk.mounted()) GTEST_SKIP() << disk.why();
  ExpectNewFilesComeWhole(folder.File("exfat"));
}

TEST(LockFailure, IsReportedAsSuchAndNotAsAWait) {
  KV_RUN_WITH_FS_FAULTS("no-lock");
  ScratchFolder folder;
  CollectionState state{folder.File("c.kvl"), 0, -1};
  WriteBytes(state.currentFileName, NewFileBytes());
  const std::string out = folder.File("out.txt");
  WriteBytes(out, Bytes(3, 'x'));
  CurrentProblem problem;
  Board board{};
  for (const FileResult& result : {LoadProblem(state, problem, board), InsertRecords(state, 1),
                                   AppendToOutputFile(out, "more")}) {
    EXPECT_EQ(result.status, FileStatus::CannotOpen);
    EXPECT_NE(result.detail.find("the file cannot be locked: " + ErrnoText(ENOLCK)),
              std::string::npos)
        << result.detail;
    EXPECT_EQ(result.detail.find("waited"), std::string::npos) << result.detail;
  }
  EXPECT_EQ(ReadBytes(state.currentFileName), NewFileBytes());
  EXPECT_EQ(ReadText(out), "xxx");
}

// ---- Leftovers of killed writers.

// The number of a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = StartChild([] { return 0; });
  WaitForChild(pid);
  return pid;
}

TEST(Leftovers, WhatKilledWritersLeftGoesAtTheNextCommandInTheFolder) {
  ScratchFolder folder;
  CollectionState state{folder.File("c.kvl"), 0, -1};
  WriteBytes(state.currentFileName, NewFileBytes());
  const std::string dead = std::to_string(EndedProcess());
  const std::vector<std::string> leftovers = {
      "c.kvl.kestrovale-rewrite",                // a rewrite of c.kvl
      "gone.kvl.kestrovale-rewrite",             // of a collection deleted since
      "kestrovale-rewrite-0123456789abcdef",     // of a collection with a long name
      "out.epd.kestrovale-new-" + dead + "-0",   // a new export file
      "new.kvl.kestrovale-new-" + dead + "-12",  // a new collection
      ".c.kvl.kvl-rewrite",                      // earlier versions' names
      "out.epd.kvtmp" + dead + "-0",
      ".kvl-create-" + dead + "-3"};
  const std::vector<std::string> kept = {"notes.txt", "c.kvl.kestrovale-rewrite.txt",
                                         "out.epd.kestrovale-new-x-1", "d.kvl"};
  for (const std::string& name : leftovers) WriteBytes(folder.File(name), Bytes(1000, 'x'));
  for (const std::string& name : kept) WriteBytes(folder.File(name), Bytes(10, 'y'));

  CurrentProblem problem;
  Board board{};
  ASSERT_TRUE(LoadProblem(state, problem, board));
  for (const std::string& name : leftovers) {
    EXPECT_FALSE(std::filesystem::exists(folder.File(name))) << name;
  }
  for (const std::string& name : kept) {
    EXPECT_TRUE(std::filesystem::exists(folder.File(name))) << name;
  }
}

TEST(Leftovers, FilesOfWritersStillAtWorkStay) {
  ScratchFolder folder;
  const std::string collection = folder.File("c.kvl");
  WriteBytes(collection, NewFileBytes());
  const std::string dead = std::to_string(EndedProcess());
  const std::string rewrite = RewriteName(collection);
  const std::string longRewrite = folder.File("kestrovale-rewrite-0123456789abcdef");
  const std::string foreign = folder.File("x.kvl.kestrovale-new-" + dead + "-0");
  for (const std::string& path : {rewrite, longRewrite, foreign}) {
    WriteBytes(path, Bytes(100, 'x'));
  }
  // A writer at work: it holds the collection it rewrites and its own new
  // files (`foreign` as if written from another machine, whose process
  // number means nothing here), and names a file of its own.
  int ready[2];
  int release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t writer = StartChild([&] {
    ::close(release[1]);
    const std::string own = NewFileName(folder.File("out.epd"), ::getpid(), 0);
    WriteBytes(own, Bytes(100, 'x'));
    for (const std::string& path : {collection, longRewrite, foreign}) {
      const int fd = ::open(path.c_str(), O_RDONLY);
      if (fd < 0 || ::flock(fd, LOCK_EX) != 0) return 1;
    }
    const char byte = 1;
    if (::write(ready[1], &byte, 1) != 1) return 1;
    char wait;
    while (::read(release[0], &wait, 1) < 0) {
    }
    return 0;
  });
  ::close(ready[1]);
  ::close(release[0]);
  char byte;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  const std::string own = NewFileName(folder.File("out.epd"), writer, 0);

  EXPECT_EQ(RemoveLeftoversIn(folder.Path()), 0);
  for (const std::string& path : {rewrite, longRewrite, foreign, own}) {
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
  }
  ::close(release[1]);
  EXPECT_EQ(WaitForChild(writer), 0);
  ::close(ready[0]);
}

// Writes a new export file of a megabyte again and again until killed.
int CreateExportForever(const std::string& path) {
  const std::string text(1 << 20, 'e');
  for (;;) {
    ::unlink(path.c_str());
    if (!AppendToOutputFile(path, text)) return 1;
  }
}

// Inserts and deletes a problem before the first, again and again until killed.
int RewriteForever(const std::string& path) {
  for (;;) {
    CollectionState state{path, 0, -1};
    if (!InsertRecords(state, 1) || !InsertRecords(state, -1)) return 1;
  }
}

// Kills `work` at random moments; after each kill the next command in the
// folder (here the first of this process there) finds only whole files.
void KillAndLookForLeftovers(int (*work)(const std::string&), const std::string& target,
                             std::uint32_t seed) {
  ScratchFolder root;
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay(0, 30'000);
  // A collection of 1.5 MB, so that a rewrite takes a while.
  Bytes base = NewFileBytes();
  {
    std::vector<ImportedProblem> problems(40);
    for (ImportedProblem& p : problems) {
      p.problem.solutionText = std::string(32000, 's');
      p.position = EmptyPositionBytes();
    }
    CollectionState state{root.File("base.kvl"), -1, -1};
    int first = 0;
    ASSERT_TRUE(AppendImportedProblems(state.currentFileName, problems, first));
    base = ReadBytes(state.currentFileName);
  }
  int leftAtKill = 0;
  constexpr int Trials = 12;
  for (int trial = 0; trial < Trials; ++trial) {
    const std::string folder = root.File("trial-" + std::to_string(trial));
    std::filesystem::create_directory(folder);
    const std::string collection = folder + "/c.kvl";
    WriteBytes(collection, base);
    const std::string path = (std::filesystem::path(folder) / target).string();
    const pid_t child = StartChild([&] { return work(path); });
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    testing::KillChild(child);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name != "c.kvl" && name != target) ++leftAtKill;
    }

    CurrentProblem problem;
    Board board{};
    CollectionState state{collection, 0, -1};
    ASSERT_TRUE(LoadProblem(state, problem, board));
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "c.kvl" || name == target) << "trial " << trial << ": " << name;
    }
  }
  std::printf("%d of %d kills left a temporary file, removed by the next command\n", leftAtKill,
              Trials);
}

TEST_P(FatLike, AKilledExportLeavesNothingAfterTheNextCommand) {
  KV_RUN_WITH_FS_FAULTS(GetParam());
  KillAndLookForLeftovers(CreateExportForever, "out.epd", 20240611);
}

TEST_P(FatLike, AKilledRewriteLeavesNothingAfterTheNextCommand) {
  KV_RUN_WITH_FS_FAULTS(GetParam());
  KillAndLookForLeftovers(RewriteForever, "c.kvl", 20240612);
}

}  // namespace
}  // namespace kv
