// Helpers of the import tests: a source file written into a scratch folder,
// an import run on it as opening the file would, and the records of the
// collection it wrote.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "collections/forsyth.h"
#include "collections/import_file.h"
#include "collections/problem_file.h"
#include "kvl_test_util.h"

namespace kv::testing {

// An import environment of its own: the collection state, the current
// problem, the board, English (or another language) and a recorder of the
// status texts.
struct ImportRun {
  CollectionState state;
  CurrentProblem problem;
  Board board{};
  Language language;
  std::vector<std::string> status;
  UiCallbacks ui;

  ImportResult Import(const std::string& source) {
    state = CollectionState{source, 0, -1};
    ui.statusText = [this](int part, const std::string& text) {
      if (part == 4) status.push_back(text);
    };
    ImportEnv env{state, problem, board, language, ui};
    return ImportFile(env);
  }
};

inline void WriteText(const std::string& path, std::string_view text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

// Every record of a collection, loaded as the program loads them.
inline std::vector<CurrentProblem> LoadAll(const std::string& path) {
  std::vector<CurrentProblem> problems;
  CollectionReader reader;
  EXPECT_TRUE(reader.Open(path).ok()) << path;
  for (int i = 0; i < reader.count(); ++i) {
    CurrentProblem problem;
    EXPECT_TRUE(reader.ReadProblem(i, problem).ok()) << "record " << i;
    problems.push_back(problem);
  }
  return problems;
}

// The board of a stored problem in Forsyth notation with slashes.
inline std::string ForsythOf(const CurrentProblem& problem) {
  Board board{};
  PositionBytesToBoard(problem.storedBoard, board);
  return BoardToForsyth(board, true);
}

}  // namespace kv::testing
