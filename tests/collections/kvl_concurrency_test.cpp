// Two processes writing one collection at once: every problem added is in
// the file exactly once, no blank record strays in, and no writer fails
// while the other holds the file for a moment.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "child_process.h"
#include "collections/problem_file.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using testing::ScratchFolder;
using testing::StartChild;
using testing::StartGate;
using testing::StressSize;
using testing::WaitForChild;

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

}  // namespace
}  // namespace kv
