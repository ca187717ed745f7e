// Two processes writing one collection at once: every problem added is in
// the file exactly once, no blank record strays in, and no writer fails
// while the other holds the file for a moment. Long operations (the duplicate
// scan, an export) while another program inserts: they read the problems the
// file held when they started, and write only to the problem they mean.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "collections/duplicate_scan.h"
#include "collections/export.h"
#include "collections/problem_file.h"
#include "core/fen.h"
#include "core/rules.h"
#include "kvl_test_util.h"
#include "search_test_util.h"
#include "strings/encoding.h"

namespace kv {
namespace {

using namespace testing;

// What a collection holds: the authors of every record, in order ("" for a
// blank record).
std::vector<std::string> AuthorsInFile(const std::string& path) {
  std::vector<std::string> authors;
  CollectionReader reader;
  EXPECT_TRUE(reader.Open(path));
  for (int record = 0; record < reader.count(); ++record) {
    std::string text;
    EXPECT_TRUE(reader.ReadString(record, SlotAuthors, text));
    authors.push_back(text);
  }
  return authors;
}

// Appends problems "<prefix> 1" .. "<prefix> count"; the number that failed.
int AppendNumbered(const std::string& path, const std::string& prefix, int count) {
  int failures = 0;
  Board board{};
  for (int i = 1; i <= count; ++i) {
    CollectionState state{path, -1, -1};
    CurrentProblem problem;
    problem.authors = prefix + " " + std::to_string(i);
    if (!AppendProblem(state, problem, board)) ++failures;
  }
  return failures;
}

// Inserts a blank problem before problem 1, `count` times.
int InsertAtFirst(const std::string& path, int count) {
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    CollectionState state{path, 0, -1};
    if (!InsertRecords(state, 1)) ++failures;
  }
  return failures;
}

// Checks that the problems "<prefix> 1" .. "<prefix> count" each occur once,
// in the order they were added.
void ExpectEachAddedOnce(const std::vector<std::string>& authors, const std::string& prefix,
                         int count) {
  int next = 1;
  for (const std::string& text : authors) {
    if (text.rfind(prefix + " ", 0) != 0) continue;
    EXPECT_EQ(text, prefix + " " + std::to_string(next)) << "lost, repeated or out of order";
    ++next;
  }
  EXPECT_EQ(next - 1, count) << "problems of " << prefix << " in the file";
}

int BlankCount(const std::vector<std::string>& authors) {
  int blanks = 0;
  for (const std::string& text : authors) blanks += text.empty() ? 1 : 0;
  return blanks;
}

class KvlConcurrencyTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateCollection(state_)); }

  ScratchFolder folder_;
  CollectionState state_{folder_.File("shared.kvl"), 0, -1};
};

TEST_F(KvlConcurrencyTest, AddsRacingInsertsAtTheFirstProblemLoseNothing) {
  const int count = StressSize(50, 200);
  const std::string path = state_.currentFileName;
  StartGate gate;
  const pid_t adder = StartChild([&] {
    gate.Wait();
    return AppendNumbered(path, "Added", count);
  });
  const pid_t inserter = StartChild([&] {
    gate.Wait();
    return InsertAtFirst(path, count);
  });
  gate.Open();
  EXPECT_EQ(WaitForChild(adder), 0) << "adds that failed";
  EXPECT_EQ(WaitForChild(inserter), 0) << "inserts that failed";

  const std::vector<std::string> authors = AuthorsInFile(path);
  EXPECT_EQ(authors.size(), 1u + 2u * static_cast<unsigned>(count));
  ExpectEachAddedOnce(authors, "Added", count);
  EXPECT_EQ(BlankCount(authors), count + 1);  // the inserted ones and the first
  EXPECT_EQ(folder_.EntryCount(), 1u);
}

TEST_F(KvlConcurrencyTest, TwoProcessesAddingLoseNothing) {
  const int count = StressSize(50, 500);
  const std::string path = state_.currentFileName;
  StartGate gate;
  std::map<std::string, pid_t> adders;
  for (const char* prefix : {"First", "Second"}) {
    adders[prefix] = StartChild([&, prefix] {
      gate.Wait();
      return AppendNumbered(path, prefix, count);
    });
  }
  gate.Open();
  for (const auto& [prefix, pid] : adders) EXPECT_EQ(WaitForChild(pid), 0) << prefix;

  const std::vector<std::string> authors = AuthorsInFile(path);
  EXPECT_EQ(authors.size(), 1u + 2u * static_cast<unsigned>(count));
  ExpectEachAddedOnce(authors, "First", count);
  ExpectEachAddedOnce(authors, "Second", count);
  EXPECT_EQ(BlankCount(authors), 1);  // only the one the file started with
  EXPECT_EQ(folder_.EntryCount(), 1u);
}

// ---- Long operations while another program inserts.

// A position of two kings: the black one on a8, the white one on square
// `square` of a8..h1 (16 and beyond: never beside the other), so that each
// problem of a test has a position of its own.
std::string TwoKings(int square) {
  Board board;
  ClearBoard(board);
  board[StoredSquare(0)] = BlackKing;
  board[StoredSquare(square)] = WhiteKing;
  return FenBoardField(board);
}

constexpr int FirstKingSquare = 16;

// "Base 1" .. "Base count", each with its own position.
std::vector<testing::TestProblem> BaseProblems(int count) {
  std::vector<testing::TestProblem> problems;
  for (int i = 1; i <= count; ++i) {
    problems.push_back({TwoKings(FirstKingSquare + i - 1), {}, "Base " + std::to_string(i)});
  }
  return problems;
}

// Inserts a blank problem before the first, about every millisecond, until
// killed.
int InsertAtFirstForever(const std::string& path) {
  for (;;) {
    CollectionState state{path, 0, -1};
    if (!InsertRecords(state, 1)) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

int CountOf(const std::string& path) {
  CollectionReader reader;
  return reader.Open(path) ? reader.count() : 0;
}

// Waits until the inserter has inserted at least `inserted` problems.
void WaitForInserts(const std::string& path, int before, int inserted) {
  for (int wait = 0; wait < 5000 && CountOf(path) < before + inserted; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

TEST(LongOperations, TheDuplicateScanNotesEachProblemsCopiesUnderThatProblem) {
  constexpr int Count = 40;
  ScratchFolder folder;
  const std::string scanned = folder.File("scanned.kvl");
  const std::string other = folder.File("other.kvl");
  testing::WriteCollection(scanned, BaseProblems(Count));
  // The copies in the other collection, in reverse order.
  std::vector<testing::TestProblem> copies = BaseProblems(Count);
  std::reverse(copies.begin(), copies.end());
  testing::WriteCollection(other, copies);

  const pid_t inserter = StartChild([&] { return InsertAtFirstForever(scanned); });
  WaitForInserts(scanned, Count, 3);
  // Each problem leaves the inserter time to insert.
  UiCallbacks ui;
  ui.breakPoll = [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    return false;
  };
  const DuplicateScanOutcome outcome = ScanDuplicates({scanned, 0, -1}, {other}, false, ui);
  testing::KillChild(inserter);

  ASSERT_TRUE(outcome.failure) << outcome.failure.detail;
  EXPECT_EQ(outcome.notes.size(), static_cast<std::size_t>(Count));
  EXPECT_TRUE(outcome.unstored.empty());
  CollectionReader reader;
  ASSERT_TRUE(reader.Open(scanned));
  int bases = 0;
  int moved = 0;
  for (int record = 0; record < reader.count(); ++record) {
    std::string authors, solution;
    ASSERT_TRUE(reader.ReadString(record, SlotAuthors, authors));
    ASSERT_TRUE(reader.ReadString(record, SlotSolution, solution, MaxHeapStringLength));
    if (authors.empty()) {
      EXPECT_EQ(solution, "") << "an inserted blank problem, record " << record + 1;
      continue;
    }
    const int base = std::stoi(authors.substr(5));
    const std::string copy =
        Utf8ToCp1252(other) + " n\xB0" + std::to_string(Count - base + 1) + "\r\n";
    EXPECT_EQ(solution, copy) << authors;
    ++bases;
  }
  for (const DuplicateNote& note : outcome.notes) moved += note.storedAt != note.record ? 1 : 0;
  EXPECT_EQ(bases, Count);
  EXPECT_EQ(static_cast<int>(DuplicateScanChanges(outcome).size()), moved);
  std::printf("%d blank problems inserted during the scan, %d notes stored under a new number\n",
              reader.count() - Count, moved);
}

TEST(LongOperations, AnExportWritesTheProblemsAsTheyWereWhenItStarted) {
  constexpr int Count = 40;
  ScratchFolder folder;
  const std::string collection = folder.File("problems.kvl");
  testing::WriteCollection(collection, BaseProblems(Count));
  ProblemList list;
  list.files = {collection};
  for (int n = 1; n <= Count; ++n) list.entries.push_back({0, static_cast<std::uint16_t>(n)});

  // The inserter starts once the export has begun, and each problem leaves
  // it time to insert.
  StartGate gate;
  const pid_t inserter = StartChild([&] {
    gate.Wait();
    return InsertAtFirstForever(collection);
  });
  CollectionState state;
  auto problem = std::make_unique<CurrentProblem>();
  Board board{};
  auto options = std::make_unique<SolveOptions>();
  Language language;
  UiCallbacks ui;
  ExportContext context{state, *problem, board, *options, language, ui, 0, nullptr};
  context.progress = [&](int done, int) {
    if (done == 1) {
      gate.Open();
      WaitForInserts(collection, Count, 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  const std::string out = folder.File("out.epd");
  const ExportOutcome outcome = RunExport(ExportAction::EpdFile, out, list, list.entries, context);
  testing::KillChild(inserter);

  EXPECT_EQ(outcome.written, Count);
  EXPECT_GT(CountOf(collection), Count) << "the inserter did not run during the export";
  const testing::Bytes bytes = ReadBytes(out);
  const std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> ids;
  for (std::size_t at = text.find("id \""); at != std::string::npos;
       at = text.find("id \"", at + 1)) {
    const std::size_t end = text.find('"', at + 4);
    ids.push_back(text.substr(at + 4, end - at - 4));
  }
  std::vector<std::string> expected;
  for (const testing::TestProblem& p : BaseProblems(Count)) expected.push_back(p.authors);
  EXPECT_EQ(ids, expected);
}

// ---- Writing back to a problem that another program moved or changed.

class MovedProblems : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteCollection(path_, BaseProblems(3)); }

  ProblemIdentity IdentityOf(int record) {
    CollectionSnapshot snapshot;
    ProblemIdentity identity;
    EXPECT_TRUE(snapshot.Open(path_));
    EXPECT_TRUE(snapshot.ReadIdentity(record, identity));
    return identity;
  }

  FileResult Replace(int record, const ProblemIdentity& identity, int& storedAt) {
    return EditSolutionText(
        path_, record, identity,
        [](const std::string&, std::string& text) {
          text = "1.Kb1";
          return true;
        },
        storedAt);
  }

  std::string Solution(int record) {
    CollectionReader reader;
    std::string text;
    EXPECT_TRUE(reader.Open(path_));
    EXPECT_TRUE(reader.ReadString(record, SlotSolution, text));
    return text;
  }

  ScratchFolder folder_;
  std::string path_ = folder_.File("moved.kvl");
};

TEST_F(MovedProblems, ASnapshotKeepsTheNumbersOfWhenItWasOpened) {
  CollectionSnapshot snapshot;
  ASSERT_TRUE(snapshot.Open(path_));
  CollectionState state{path_, 0, -1};
  ASSERT_TRUE(InsertRecords(state, 2));
  auto problem = std::make_unique<CurrentProblem>();
  ASSERT_TRUE(snapshot.ReadProblem(0, *problem));
  EXPECT_EQ(problem->authors, "Base 1");
  EXPECT_EQ(snapshot.count(), 3);
}

TEST_F(MovedProblems, TheTextGoesWhereTheProblemWentAndNowhereElse) {
  const ProblemIdentity second = IdentityOf(1);
  CollectionState state{path_, 0, -1};
  ASSERT_TRUE(InsertRecords(state, 1));
  int storedAt = -1;
  ASSERT_TRUE(Replace(1, second, storedAt));
  EXPECT_EQ(storedAt, 2);
  EXPECT_EQ(Solution(2), "1.Kb1");
  EXPECT_EQ(Solution(1), "");
}

TEST_F(MovedProblems, AChangedOrRepeatedProblemGetsNothing) {
  const ProblemIdentity first = IdentityOf(0);
  auto problem = std::make_unique<CurrentProblem>();
  Board board{};
  CollectionState state{path_, 0, -1};
  ASSERT_TRUE(LoadProblem(state, *problem, board));
  problem->authors = "Someone else";
  ASSERT_TRUE(SaveProblem(state, *problem, board));
  int storedAt = -1;
  FileResult changed = Replace(0, first, storedAt);
  EXPECT_EQ(changed.status, FileStatus::NoRecord);
  EXPECT_EQ(changed.detail, "problem 1 was changed or removed by another program meanwhile");

  // The problem twice, both moved: which one was meant cannot be told.
  const ProblemIdentity third = IdentityOf(2);
  state.currentIndex = 2;
  ASSERT_TRUE(LoadProblem(state, *problem, board));
  ASSERT_TRUE(AppendProblem(state, *problem, board));
  state.currentIndex = 0;
  ASSERT_TRUE(InsertRecords(state, 1));
  FileResult repeated = Replace(2, third, storedAt);
  EXPECT_EQ(repeated.status, FileStatus::NoRecord);
  EXPECT_NE(repeated.detail.find("holds 2 problems like it"), std::string::npos) << repeated.detail;
  for (int record = 0; record < 5; ++record) EXPECT_EQ(Solution(record), "") << record;
}

}  // namespace
}  // namespace kv
