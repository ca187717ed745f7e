// The search over real collection files: each criterion, their combination,
// the folder walk, the hit limit, and files that cannot be read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "collections/file_walk.h"
#include "collections/search.h"
#include "search_test_util.h"

namespace kv {
namespace {

using namespace testing;

// The record numbers (from 1) the list holds, in order, with their file's name.
std::vector<std::string> Hits(const ProblemList& list) {
  std::vector<std::string> hits;
  for (const ProblemListEntry& e : list.entries) {
    const std::string& file = list.FileOf(e);
    hits.push_back(file.substr(file.rfind('/') + 1) + ":" + std::to_string(e.record));
  }
  return hits;
}

class SearchRunTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  ProblemList list_;
  SearchCriteria criteria_;
  Board board_ = BoardOf("8/8/8/8/8/8/8/8");
  std::vector<std::string> statuses_;
  UiCallbacks ui_;

  SearchRunTest() {
    ui_.statusText = [this](int part, const std::string& text) {
      if (part == 4) statuses_.push_back(text);
    };
  }

  std::vector<std::string> Search(const std::vector<std::string>& files) {
    const SearchOutcome outcome = SearchFiles(criteria_, board_, files, list_, ui_);
    EXPECT_EQ(outcome.found, list_.count());
    EXPECT_EQ(list_.position, 0);
    return Hits(list_);
  }
};

using Hit = std::vector<std::string>;

TEST_F(SearchRunTest, MaterialModesCountWhiteBlackAndTotal) {
  const std::string file = folder_.File("m.kvl");
  WriteCollection(file, {
                            {"kppppppp/p7/8/8/8/8/8/7K"},     // 1 white, 9 black: 10
                            {"kppppppp/8/8/8/8/8/8/7K"},      // 1 white, 8 black: 9
                            {"kppppppp/8/8/8/8/8/7P/7K"},     // 2 white, 8 black: 10
                            {"kppppppp/pppp4/8/8/8/8/8/7K"},  // 1 white, 12 black: 13
                        });
  criteria_.total = {MaterialAtLeast, 10};
  criteria_.white = {MaterialExactly, 1};
  EXPECT_EQ(Search({file}), (Hit{"m.kvl:1", "m.kvl:4"}));
  criteria_ = {};
  criteria_.black = {MaterialAtMost, 9};
  EXPECT_EQ(Search({file}), (Hit{"m.kvl:1", "m.kvl:2", "m.kvl:3"}));
  criteria_ = {};
  criteria_.total = {MaterialExactly, 10};
  EXPECT_EQ(Search({file}), (Hit{"m.kvl:1", "m.kvl:3"}));
  EXPECT_EQ(statuses_.back(), " 2 problem(s) found");
}

TEST_F(SearchRunTest, AristocraticTypeAndTwins) {
  const std::string file = folder_.File("t.kvl");
  ProblemType help3{3, KindHelp, 0};
  ProblemType seriesHelp3{3, KindHelp, FlagSeries};
  WriteCollection(file,
                  {
                      {"k7/8/8/8/8/8/8/R6K", help3},
                      {"k7/p7/8/8/8/8/8/R6K", seriesHelp3, "", "", "", "", "Abcd"},
                      {"k7/8/8/8/8/8/P7/R6K", ProblemType{2, KindDirect, 0}, "", "", "", "", "Abc"},
                      {"k7/8/8/8/8/8/8/Q6K", seriesHelp3, "", "", "", "", "Abcdefgh"},
                  });
  criteria_.aristocratic = true;
  EXPECT_EQ(Search({file}), (Hit{"t.kvl:1", "t.kvl:4"}));
  criteria_ = {};
  criteria_.type = {3, KindHelp + 1, 0};
  EXPECT_EQ(Search({file}), (Hit{"t.kvl:1", "t.kvl:2", "t.kvl:4"}));
  criteria_.type.flags = FlagSeries;
  EXPECT_EQ(Search({file}), (Hit{"t.kvl:2", "t.kvl:4"}));
  criteria_ = {};
  criteria_.type.kindPlusOne = KindDirect + 1;
  EXPECT_EQ(Search({file}), (Hit{"t.kvl:3"}));
  criteria_ = {};
  criteria_.twins = true;  // a stored twins field of at least 4 characters
  EXPECT_EQ(Search({file}), (Hit{"t.kvl:2", "t.kvl:4"}));
}

TEST_F(SearchRunTest, TextPartsMatchBySubstringCaseSensitively) {
  const std::string file = folder_.File("x.kvl");
  WriteCollection(file, {
                            {"k7/8/8/8/8/8/8/7K", {}, "Loyd, Samuel", "Chess Monthly"},
                            {"k7/8/8/8/8/8/8/7K", {}, "Dawson, T.;Loyd, Samuel", "Times"},
                            {"k7/8/8/8/8/8/8/7K", {}, "loyd, samuel", "Times"},
                            {"k7/8/8/8/8/8/8/7K", {}, "Kubbel, L.", "Loyd Memorial"},
                        });
  criteria_.text = "Loyd";
  EXPECT_EQ(Search({file}), (Hit{"x.kvl:1", "x.kvl:2"}));
  criteria_.text = "Loyd\\Tim\\\\";
  EXPECT_EQ(Search({file}), (Hit{"x.kvl:2"}));
  criteria_.text = "\\Loyd\\\\";
  EXPECT_EQ(Search({file}), (Hit{"x.kvl:4"}));
  // With fewer than three backslashes the source part is not looked at.
  criteria_.text = "Loyd\\Tim";
  EXPECT_EQ(Search({file}), (Hit{"x.kvl:1", "x.kvl:2"}));
}

TEST_F(SearchRunTest, MatrixAndMaterialTogether) {
  const std::string a = folder_.File("a.kvl");
  const std::string b = folder_.File("b.kvl");
  WriteCollection(a, {{"k7/8/8/8/8/8/8/4K2R"}, {"k7/8/8/8/8/3K2R1/8/8"}, {"8/8/8/8/8/8/8/5K2"}});
  WriteCollection(b, {{"kq6/8/8/8/8/8/8/4K2R"}, {"8/8/8/8/8/8/8/8"}});
  board_ = BoardOf("8/8/8/8/8/8/8/4K2R");
  criteria_.matrixFlags = MatrixIdentity;
  EXPECT_EQ(Search({a, b}), (Hit{"a.kvl:1", "b.kvl:1"}));
  EXPECT_EQ(criteria_.pattern, PatternFromBoard(board_, false));
  criteria_.matrixFlags = MatrixGap;
  EXPECT_EQ(Search({a, b}), (Hit{"a.kvl:1", "a.kvl:2", "b.kvl:1"}));
  criteria_.total = {MaterialExactly, 3};
  EXPECT_EQ(Search({a, b}), (Hit{"a.kvl:1", "a.kvl:2"}));
  // The list names each file once.
  EXPECT_EQ(list_.files.size(), 1u);
}

TEST_F(SearchRunTest, AnEmptyMatrixMatchesEveryRecord) {
  const std::string file = folder_.File("e.kvl");
  WriteCollection(file,
                  {{"k7/8/8/8/8/8/8/7K"}, {"8/8/8/8/8/8/8/8"}, {"rnbqkbnr/8/8/8/8/8/8/RNBQKBNR"}});
  criteria_.matrixFlags = MatrixIdentity | MatrixSymmetry;
  EXPECT_EQ(Search({file}).size(), 3u);
}

TEST_F(SearchRunTest, StopsAtTheHitLimit) {
  const std::string file = folder_.File("big.kvl");
  std::vector<std::uint8_t> none = {0xFF, 0xFF, 0, 0, 0};
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(InsertRecordsInBytes(none, 0, MaxProblemListEntries + 5, bytes));
  WriteBytes(file, bytes);
  criteria_.matrixFlags = MatrixIdentity;
  const SearchOutcome outcome = SearchFiles(criteria_, board_, {file, file}, list_, ui_);
  EXPECT_EQ(outcome.found, MaxProblemListEntries);
  EXPECT_TRUE(outcome.limitReached);
  EXPECT_EQ(list_.entries.back().record, MaxProblemListEntries);
}

TEST_F(SearchRunTest, AFileThatCannotBeReadIsReportedAndPassedOver) {
  const std::string good = folder_.File("good.kvl");
  const std::string damaged = folder_.File("damaged.kvl");
  WriteCollection(good, {{"k7/8/8/8/8/8/8/7K"}});
  WriteBytes(damaged, {0x05, 0x00, 0x00});  // six records claimed, none there
  criteria_.total = {MaterialExactly, 2};
  const SearchOutcome outcome =
      SearchFiles(criteria_, board_, {folder_.File("missing.kvl"), damaged, good}, list_, ui_);
  EXPECT_EQ(outcome.found, 1);
  ASSERT_EQ(outcome.unreadFiles.size(), 2u);
  EXPECT_EQ(outcome.unreadFiles[0].result.status, FileStatus::CannotOpen);
  EXPECT_EQ(outcome.unreadFiles[1].result.status, FileStatus::Damaged);
}

TEST_F(SearchRunTest, AFolderThatCannotBeReadIsNamedInTheOutcome) {
  namespace fs = std::filesystem;
  fs::create_directories(folder_.File("open"));
  fs::create_directories(folder_.File("closed"));
  WriteCollection(folder_.File("open/a.kvl"), {{"k7/8/8/8/8/8/8/7K"}});
  WriteCollection(folder_.File("closed/b.kvl"), {{"k7/8/8/8/8/8/8/7K"}});
  ::chmod(folder_.Path().c_str(), 0755);
  ::chmod(folder_.File("closed").c_str(), 0);
  criteria_.scope = ScopeDirectory;
  criteria_.total = {MaterialExactly, 2};
  // Root reads every folder: the search then runs as another user.
  const auto search = [&] {
    const SearchOutcome outcome = RunSearch(criteria_, board_, {"", folder_.Path()}, list_, ui_);
    if (Hits(list_) != Hit{"a.kvl:1"}) return 1;
    if (outcome.unreadFolders.size() != 1) return 2;
    if (outcome.unreadFolders[0].path != folder_.File("closed")) return 3;
    return outcome.unreadFolders[0].reason.empty() ? 4 : 0;
  };
  int result = 0;
  if (::geteuid() == 0) {
    result = testing::WaitForChild(testing::StartChild([&] {
      constexpr uid_t Nobody = 65534;
      if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) return 10;
      return search();
    }));
  } else {
    result = search();
  }
  ::chmod(folder_.File("closed").c_str(), 0755);
  EXPECT_EQ(result, 0);
}

TEST_F(SearchRunTest, TheDirectoryScopeWalksTheFolderTree) {
  namespace fs = std::filesystem;
  const std::string root = folder_.File("");
  fs::create_directories(folder_.File("Sub/Deeper"));
  const std::vector<TestProblem> one = {{"k7/8/8/8/8/8/8/7K"}};
  WriteCollection(folder_.File("A first.kvl"), one);  // the first entry of the folder
  WriteCollection(folder_.File("Sub/Mixed.KVL"), one);
  WriteCollection(folder_.File("Sub/Deeper/z.Kvl"), one);
  WriteCollection(folder_.File("Sub/notes.kvl.tmp"), one);
  WriteCollection(folder_.File("Sub/kvl"), one);
  // A link back up the tree must not send the walk round in a loop, and a
  // linked file is searched once.
  ASSERT_EQ(symlink(root.c_str(), folder_.File("Sub/Deeper/up").c_str()), 0);
  ASSERT_EQ(symlink(folder_.File("A first.kvl").c_str(), folder_.File("Sub/link.kvl").c_str()), 0);

  const std::vector<std::string> files = CollectionFilesUnder(root, false);
  EXPECT_EQ(files,
            (std::vector<std::string>{folder_.File("A first.kvl"), folder_.File("Sub/Deeper/z.Kvl"),
                                      folder_.File("Sub/Mixed.KVL")}));
  criteria_.scope = ScopeDirectory;
  criteria_.total = {MaterialExactly, 2};
  EXPECT_EQ(RunSearch(criteria_, board_, {"", root}, list_, ui_).found, 3);
  EXPECT_EQ(Hits(list_), (Hit{"A first.kvl:1", "z.Kvl:1", "Mixed.KVL:1"}));
  // The file scope reads the current file only.
  criteria_.scope = ScopeFile;
  EXPECT_EQ(RunSearch(criteria_, board_, {folder_.File("Sub/Mixed.KVL"), root}, list_, ui_).found,
            1);
  EXPECT_EQ(Hits(list_), (Hit{"Mixed.KVL:1"}));
}

TEST(FileWalk, TakesNamesEndingInKvlInAnyCase) {
  EXPECT_TRUE(IsCollectionFileName("a.kvl"));
  EXPECT_TRUE(IsCollectionFileName("A.KVL"));
  EXPECT_TRUE(IsCollectionFileName(".kVl"));
  EXPECT_FALSE(IsCollectionFileName("a.kvl~"));
  EXPECT_FALSE(IsCollectionFileName("kvl"));
  EXPECT_FALSE(IsCollectionFileName("a\x0ekvl"));
}

TEST(FileWalk, TheFileSystemRootHoldsThePathAndIsAFolder) {
  ScratchFolder folder;
  const std::string root = FileSystemRoot(folder.File(""));
  EXPECT_TRUE(std::filesystem::is_directory(root));
  EXPECT_EQ(folder.File("").rfind(root, 0), 0u) << root;
  EXPECT_EQ(FileSystemRoot("/proc/self"), "/proc");
}

}  // namespace
}  // namespace kv
