// Import of archive texts: problems as keyword lines ("notation:", "title1:",
// "stipulation:", "white:", "black:", "endproblem:"), each problem closed by
// "endproblem:".
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"
#include "collections/import_source.h"
#include "collections/import_target.h"

namespace kv {

// The longest line read; the rest of a longer line is left out.
inline constexpr int ArchiveLineLength = 259;
// The man letters in force before any "notation:" line: pawn, knight,
// bishop, rook, queen, king, in English.
inline constexpr std::string_view EnglishArchiveLetters = "PNBRQK";

// The state carried from line to line of an archive text.
struct ArchiveReader {
  std::string letters{EnglishArchiveLetters};  // pawn .. king
  int titleLines = 0;                          // "title1:" lines of this problem so far
  CurrentProblem problem;
  Board board;
};

// Applies one line to `reader`; true when the line closed a problem
// ("endproblem:"), which then stands complete in reader.problem and
// reader.board until the next line.
bool ReadArchiveLine(std::string_view line, ArchiveReader& reader);

// Starts the next problem: cleared problem, empty board, title count 0.
void StartArchiveProblem(ArchiveReader& reader);

// Reads the problems of an archive text into `batch`; a problem that the
// source does not close is not kept.
FileResult ReadArchiveProblems(SourceReader& source, ImportBatch& batch);

// Imports the archive text env.state.currentFileName (see RunImport).
ImportResult ImportAlybadix(ImportEnv& env);

}  // namespace kv
