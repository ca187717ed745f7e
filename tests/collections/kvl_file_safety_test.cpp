// What a writer leaves when it is killed, when the disk is full, when the
// name is no regular file, and when the file belongs to someone else.
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "collections/collection_dialogs.h"
#include "collections/file_replacement.h"
#include "collections/problem_file.h"
#include "fault_shim.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using namespace testing;

// A collection of `records` problems by "Base 1", "Base 2", ..., each with a
// solution of `solutionLength` characters, spelled out directly.
Bytes BaseCollection(int records, int solutionLength) {
  const std::uint32_t shared = 2 + 96u * static_cast<std::uint32_t>(records);
  Spell file;
  file.U16(records - 1);
  std::uint32_t next = shared + 3;
  std::vector<std::string> authors;
  for (int i = 0; i < records; ++i) {
    authors.push_back("Base " + std::to_string(i + 1));
    const std::uint32_t author = next;
    const std::uint32_t solution = author + 3 + static_cast<std::uint32_t>(authors.back().size());
    next = solution + 3 + static_cast<std::uint32_t>(solutionLength);
    file.Record(0x00, 2, {author, shared, shared, shared, solution, shared, shared},
                EmptySquares());
  }
  file.Repeat(0, 3);
  const std::string solution(static_cast<std::size_t>(solutionLength), 's');
  for (const std::string& text : authors) file.String(text).String(solution);
  return file.bytes();
}

// The authors of every record ("" for a blank one); "?" for a record whose
// texts do not read back whole.
std::vector<std::string> Contents(const std::string& path, int solutionLength) {
  std::vector<std::string> authors;
  CollectionReader reader;
  if (!reader.Open(path)) return {"?"};
  for (int record = 0; record < reader.count(); ++record) {
    std::string author, solution;
    if (!reader.ReadString(record, SlotAuthors, author) ||
        !reader.ReadString(record, SlotSolution, solution, MaxHeapStringLength)) {
      return {"?"};
    }
    const bool base = author.rfind("Base ", 0) == 0;
    authors.push_back(base && solution.size() != static_cast<std::size_t>(solutionLength) ? "?"
                                                                                          : author);
  }
  return authors;
}

std::vector<std::string> Numbered(const std::string& prefix, int first, int last) {
  std::vector<std::string> texts;
  for (int i = first; i <= last; ++i) texts.push_back(prefix + " " + std::to_string(i));
  return texts;
}

// Appends "Killed 1", "Killed 2", ... until killed.
int AppendForever(const std::string& path) {
  Board board{};
  for (int i = 1;; ++i) {
    CollectionState state{path, -1, -1};
    CurrentProblem problem;
    problem.authors = "Killed " + std::to_string(i);
    if (!AppendProblem(state, problem, board)) return 1;
  }
}

// Inserts a blank problem before the first, compacts, deletes it, again and
// again until killed.
int RewriteForever(const std::string& path) {
  for (;;) {
    CollectionState state{path, 0, -1};
    if (!InsertRecords(state, 1) || !CompactFile(state) || !InsertRecords(state, -1)) return 1;
  }
}

class KillTrials : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = BaseCollection(records_, solutionLength_);
    // Kill within the time of a few rewrites, so that most kills land in one.
    WriteBytes(path_, base_);
    CollectionState state{path_, 0, -1};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(CompactFile(state));
    rewrite_ = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
  }

  // Runs `work` in a child killed at a random moment; returns the contents.
  std::vector<std::string> KilledDuring(int (*work)(const std::string&), std::mt19937& random) {
    WriteBytes(path_, base_);
    std::uniform_int_distribution<long> delay(0, 4 * rewrite_.count());
    const pid_t child = StartChild([&] { return work(path_); });
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    testing::KillChild(child);
    ExpectNoLeftover();
    return Contents(path_, solutionLength_);
  }

  // Nothing but the collection, or else the new file of a rewrite killed
  // between its link and its rename, which the next rewrite removes.
  void ExpectNoLeftover() {
    if (folder_.EntryCount() == 2 && std::filesystem::exists(RewriteName(path_))) {
      ++fixedNameLeftovers_;
      CollectionState state{path_, 0, -1};
      EXPECT_TRUE(CompactFile(state));
    }
    EXPECT_EQ(folder_.EntryCount(), 1u) << "a temporary file was left behind";
  }

  const int trials_ = StressSize(20, 100);
  const int records_ = StressSize(60, 1070);  // 2 MB, or 35 MB
  const int solutionLength_ = MaxHeapStringLength;
  ScratchFolder folder_;
  const std::string path_ = folder_.File("killed.kvl");
  Bytes base_;
  std::chrono::microseconds rewrite_{0};
  int fixedNameLeftovers_ = 0;
};

TEST_F(KillTrials, AKilledAddLeavesTheFileWithOrWithoutItsProblemWhole) {
  std::mt19937 random(20240601);
  const std::vector<std::string> base = Numbered("Base", 1, records_);
  int added = 0;
  for (int trial = 0; trial < trials_; ++trial) {
    const std::vector<std::string> contents = KilledDuring(AppendForever, random);
    ASSERT_GE(contents.size(), base.size()) << "trial " << trial;
    const int count = static_cast<int>(contents.size() - base.size());
    std::vector<std::string> expected = base;
    for (const std::string& text : Numbered("Killed", 1, count)) expected.push_back(text);
    ASSERT_EQ(contents, expected) << "trial " << trial;
    added += count;
  }
  std::printf("%d trials, %d problems added before the kills, %d left at the fixed name\n", trials_,
              added, fixedNameLeftovers_);
}

TEST_F(KillTrials, AKilledRewriteLeavesTheOldOrTheNewFileAndNoTemporaryFile) {
  std::mt19937 random(20240602);
  const std::vector<std::string> base = Numbered("Base", 1, records_);
  for (int trial = 0; trial < trials_; ++trial) {
    std::vector<std::string> contents = KilledDuring(RewriteForever, random);
    // A kill between the insert and the delete leaves one blank in front.
    if (!contents.empty() && contents.front().empty()) contents.erase(contents.begin());
    ASSERT_EQ(contents, base) << "trial " << trial;
  }
  std::printf("%d trials, %d left at the fixed name\n", trials_, fixedNameLeftovers_);
}

// A small tmpfs mounted in a scratch folder, for a full disk; mounting needs
// root, so `mounted()` is false elsewhere.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& folder, const char* size) : folder_(folder) {
    std::filesystem::create_directory(folder_);
    const std::string options = std::string("size=") + size;
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  std::size_t EntryCount() const {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) {
      ++count;
    }
    return count;
  }
  // Writes a file until the disk is full.
  void Fill() {
    const int fd = ::open(File("filler").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    const std::vector<char> block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

std::string Text(const FileResult& result) {
  return FileResultText(result, "f.kvl", Language{});
}

TEST(FullDisk, ARewriteThatDoesNotFitLeavesTheFileAndSaysSo) {
  ScratchFolder folder;
  SmallDisk disk(folder.File("disk"), "1m");
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs for a full disk needs root";
  CollectionState state{disk.File("full.kvl"), 0, -1};
  const Bytes before = BaseCollection(18, MaxHeapStringLength);  // 590 KB of 1 MB
  WriteBytes(state.currentFileName, before);
  CurrentProblem problem;
  problem.authors = "Not added";
  const FileResult results[] = {AppendProblem(state, problem, Board{}), InsertRecords(state, 1),
                                CompactFile(state), PrepareAppend(state)};
  for (const FileResult& result : results) {
    EXPECT_EQ(result.status, FileStatus::WriteFailed) << result.detail;
    EXPECT_NE(Text(result).find("keeps its previous contents"), std::string::npos) << Text(result);
  }
  EXPECT_EQ(ReadBytes(state.currentFileName), before);
  EXPECT_EQ(disk.EntryCount(), 1u);
}

TEST(FullDisk, AnAddWithRoomForABlankRecordButNotForItsTextsAddsNothing) {
  ScratchFolder folder;
  SmallDisk disk(folder.File("disk"), "256k");
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs for a full disk needs root";
  CollectionState state{disk.File("small.kvl"), 0, -1};
  const Bytes before = BaseCollection(2, 100);
  WriteBytes(state.currentFileName, before);
  disk.Fill();
  ::truncate(disk.File("filler").c_str(), std::filesystem::file_size(disk.File("filler")) - 8192);
  CurrentProblem problem;
  problem.authors = "Not added";
  problem.solutionText = std::string(MaxHeapStringLength, 's');
  const FileResult result = AppendProblem(state, problem, Board{});
  EXPECT_EQ(result.status, FileStatus::WriteFailed) << result.detail;
  EXPECT_EQ(ReadBytes(state.currentFileName), before);
  EXPECT_EQ(disk.EntryCount(), 2u);
}

TEST(FullDisk, ACreationThatFailsLeavesNoFile) {
  ScratchFolder folder;
  SmallDisk disk(folder.File("disk"), "64k");
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs for a full disk needs root";
  disk.Fill();
  CollectionState state{disk.File("new.kvl"), 0, -1};
  CurrentProblem problem;
  const FileResult results[] = {CreateCollection(state), AppendProblem(state, problem, Board{}),
                                PrepareAppend(state)};
  for (const FileResult& result : results) {
    EXPECT_EQ(result.status, FileStatus::CannotOpen);
    EXPECT_NE(result.detail.find("cannot create the file"), std::string::npos) << result.detail;
    EXPECT_EQ(Text(result).find("previous contents"), std::string::npos) << Text(result);
  }
  EXPECT_EQ(disk.EntryCount(), 1u) << "a failed creation left a file";

  // With room again, the name is free: no "already exists".
  std::filesystem::remove(disk.File("filler"));
  EXPECT_TRUE(CreateCollection(state));
  EXPECT_EQ(ReadBytes(state.currentFileName).size(), static_cast<std::size_t>(NewFileSize));
}

// Every operation on `path`, with what it answered.
std::vector<std::pair<std::string, FileResult>> EveryOperation(const std::string& path) {
  CollectionState state{path, 0, -1};
  CurrentProblem problem;
  Board board{};
  CollectionReader reader;
  SaveDialog dialog;
  return {{"load", LoadProblem(state, problem, board)},
          {"load number", LoadProblemNumber(path, 1, problem, board)},
          {"read", reader.Open(path)},
          {"save", SaveProblem(state, problem, board)},
          {"save solution", SaveSolutionText(state, "x")},
          {"reload solution", ReloadSolutionText(state, problem)},
          {"prepare append", PrepareAppend(state)},
          {"append", AppendProblem(state, problem, board)},
          {"insert", InsertRecords(state, 1)},
          {"delete", InsertRecords(state, -1)},
          {"compact", CompactFile(state)},
          {"save dialog", OpenSaveDialog(state, dialog)}};
}

TEST(OddFiles, PipesDevicesAndFoldersAreRefusedWithoutBlocking) {
  ScratchFolder folder;
  const std::string pipe = folder.File("pipe.kvl");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const std::string subfolder = folder.File("folder.kvl");
  std::filesystem::create_directory(subfolder);
  const std::pair<std::string, std::string> odd[] = {
      {pipe, "a named pipe, not a collection file"},
      {"/dev/zero", "a device, not a collection file"},
      {subfolder, "a folder, not a collection file"}};
  ::alarm(20);  // opening a pipe for reading would wait for a writer forever
  for (const auto& [path, refusal] : odd) {
    for (const auto& [operation, result] : EveryOperation(path)) {
      EXPECT_EQ(result.status, FileStatus::CannotOpen) << path << ", " << operation;
      EXPECT_EQ(result.detail, refusal) << path << ", " << operation;
    }
  }
  ::alarm(0);
  EXPECT_EQ(folder.EntryCount(), 2u);
}

void ExpectRewritesKeepTheModeOwnerAndLink() {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.File("real"));
  const std::string real = folder.File("real/owned.kvl");
  WriteBytes(real, BaseCollection(3, 10));
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(real.c_str(), 4321, 4322), 0);
  }
  const std::string link = folder.File("link.kvl");
  std::filesystem::create_symlink(real, link);
  // What a writer killed between naming its new file and the rename leaves.
  WriteBytes(RewriteName(real), Bytes(1000, 0));

  CollectionState state{link, 0, -1};
  CurrentProblem problem;
  ASSERT_TRUE(InsertRecords(state, 2));
  ASSERT_TRUE(CompactFile(state));
  ASSERT_TRUE(AppendProblem(state, problem, Board{}));
  struct stat after {};
  ASSERT_EQ(::stat(real.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 4322u);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Contents(link, 10).size(), 6u);
  EXPECT_FALSE(std::filesystem::exists(RewriteName(real)));
  EXPECT_EQ(folder.EntryCount(), 2u);
}

TEST(Rewrites, KeepTheModeOwnerAndLinkAndRemoveALeftover) {
  ExpectRewritesKeepTheModeOwnerAndLink();
}

TEST(Rewrites, KeepTheModeOwnerAndLinkWithoutUnnamedFilesOrLinks) {
  KV_RUN_WITH_FS_FAULTS("no-tmpfile,no-link");
  ExpectRewritesKeepTheModeOwnerAndLink();
}

// Users of a shared folder, for the tests run as root.
constexpr uid_t Owner = 4401;
constexpr uid_t OtherUser = 4403;
constexpr gid_t SharedGroup = 4400;
constexpr gid_t OtherUsersGroup = 4404;

// Runs `work` in a process of `OtherUser`, a member of `SharedGroup`.
int AsOtherUser(const std::function<int()>& work) {
  return testing::WaitForChild(StartChild([&] {
    const gid_t groups[] = {SharedGroup};
    if (::setgroups(1, groups) != 0 || ::setgid(OtherUsersGroup) != 0 || ::setuid(OtherUser) != 0) {
      return 100;
    }
    return work();
  }));
}

// A folder of the scratch folder with `mode`, holding a collection of the
// owner's with `fileMode`.
std::string SharedCollection(const ScratchFolder& folder, const char* name, mode_t mode,
                             mode_t fileMode, const Bytes& bytes) {
  ::chmod(folder.Path().c_str(), 0755);
  const std::string shared = folder.File(name);
  std::filesystem::create_directory(shared);
  ::chown(shared.c_str(), 0, SharedGroup);
  ::chmod(shared.c_str(), mode);
  std::string path = shared + "/c.kvl";
  WriteBytes(path, bytes);
  ::chown(path.c_str(), Owner, SharedGroup);
  ::chmod(path.c_str(), fileMode);
  return path;
}

TEST(Rewrites, ByAnotherUserOfTheGroupKeepGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  ScratchFolder folder;
  const std::string path = SharedCollection(folder, "shared", 02775, 0664, BaseCollection(3, 10));
  const int added = AsOtherUser([&] {
    CollectionState state{path, -1, -1};
    CurrentProblem problem;
    return AppendProblem(state, problem, Board{}) ? 0 : 1;
  });
  ASSERT_EQ(added, 0);
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_gid, SharedGroup);
  EXPECT_EQ(after.st_mode & 07777, 0664u);
  // Only root may give a file to another user: the new file is the writer's,
  // and the group keeps the owner's access (as README says).
  EXPECT_EQ(after.st_uid, OtherUser);
  EXPECT_EQ(Contents(path, 10).size(), 4u);
}

TEST(Rewrites, ARewriteTheFolderForbidsSaysSoAndLeavesTheFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  // In a folder with the sticky bit only a file's owner may replace it.
  ScratchFolder folder;
  const Bytes bytes = BaseCollection(3, 10);
  const std::string path = SharedCollection(folder, "sticky", 01777, 0666, bytes);
  const int refused = AsOtherUser([&] {
    CollectionState state{path, 0, -1};
    const FileResult result = InsertRecords(state, 1);
    const bool said = result.detail.find("the folder does not let this user replace the file") == 0;
    return result.status == FileStatus::WriteFailed && said ? 0 : 1;
  });
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_EQ(testing::ScratchFolder::EntriesIn(FolderOf(path)), 1u);
}

}  // namespace
}  // namespace kv
