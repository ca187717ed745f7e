// Collections written for the search, duplicate and list tests: each problem
// given by its Forsyth board, type and texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "collections/forsyth.h"
#include "collections/kvl_format.h"
#include "kvl_test_util.h"

namespace kv::testing {

struct TestProblem {
  TestProblem(std::string forsyth_, ProblemType type_ = {}, std::string authors_ = {},
              std::string source_ = {}, std::string award_ = {}, std::string comment_ = {},
              std::string twins_ = {}, std::string solution_ = {})
      : forsyth(std::move(forsyth_)),
        type(type_),
        authors(std::move(authors_)),
        source(std::move(source_)),
        award(std::move(award_)),
        comment(std::move(comment_)),
        twins(std::move(twins_)),
        solution(std::move(solution_)) {}

  std::string forsyth;  // the board; empty squares as digits
  ProblemType type{};
  std::string authors;
  std::string source;
  std::string award;
  std::string comment;
  std::string twins;
  std::string solution;
};

inline Board BoardOf(const std::string& forsyth) {
  Board board;
  board.fill(OffBoard);
  ForsythToBoard(forsyth, board);
  return board;
}

// The kings on e8 and e1 and nothing else: the position of most problems
// the file tests store.
inline constexpr char KingsOnly[] = "4k3/8/8/8/8/8/8/4K3";
inline constexpr char NoMen[] = "8/8/8/8/8/8/8/8";

// The bytes of a collection holding `problems` in order.
inline Bytes CollectionBytes(const std::vector<TestProblem>& problems) {
  Bytes none = Spell().U16(0xFFFF).Repeat(0, 3).bytes();
  Bytes bytes;
  EXPECT_TRUE(InsertRecordsInBytes(none, 0, static_cast<int>(problems.size()), bytes));
  ByteStore store = ByteStore::OnBuffer(bytes);
  for (std::size_t i = 0; i < problems.size(); ++i) {
    const TestProblem& p = problems[i];
    CurrentProblem problem;
    problem.type = p.type;
    problem.authors = p.authors;
    problem.source = p.source;
    problem.award = p.award;
    problem.comment = p.comment;
    problem.twins = p.twins;
    problem.solutionText = p.solution;
    EXPECT_TRUE(WriteProblemRecord(store, static_cast<int>(i), problem,
                                   BoardToPositionBytes(BoardOf(p.forsyth))));
  }
  return bytes;
}

inline void WriteCollection(const std::string& path, const std::vector<TestProblem>& problems) {
  WriteBytes(path, CollectionBytes(problems));
}

}  // namespace kv::testing
