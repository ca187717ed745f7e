// Where imported problems go: the collection of the source's path, rewritten
// once for the whole import, and the course every importer follows (open the
// source, read its problems, write them, load the first record).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collections/file_result.h"
#include "collections/import_common.h"
#include "collections/import_source.h"
#include "collections/problem_file.h"

namespace kv {

// Appends `problems` at the end of the collection bytes `in` (fewer than two
// bytes: a new collection). The result is byte for byte what appending them
// one at a time would give (a blank record added at the end, then the
// problem saved into it), built in one pass: the records are added together
// and each problem's texts written after the heap in turn, which puts every
// text at the offset the one-at-a-time appends would have moved it to.
// `first` is the index of the first new record.
FileResult AppendImportedBytes(const std::vector<std::uint8_t>& in,
                               const std::vector<ImportedProblem>& problems,
                               std::vector<std::uint8_t>& out, int& first);

// Appends `problems` to the collection at `path`, created when missing: the
// file is read under its exclusive lock and replaced once, through a new file
// that takes its name only when complete. On failure the collection is as
// it was (and a missing one stays missing).
FileResult AppendImportedProblems(const std::string& path,
                                  const std::vector<ImportedProblem>& problems, int& first);

// What an import works on. On entry state.currentFileName is the source; on
// success it is the collection, currentIndex is 0 and record 0 has been
// loaded into `problem` and `board` (without display: the caller shows it).
// On failure nothing of it changes.
struct ImportEnv {
  CollectionState& state;
  CurrentProblem& problem;
  Board& board;
  const Language& language;  // the award names of dBASE tables
  const UiCallbacks& ui;     // the running count in status part 4
};

// Reads the problems of an open source into a batch; a failure means the
// source itself is unusable (a read error, a damaged table header).
using ProblemReader = std::function<FileResult(SourceReader& source, ImportBatch& batch)>;

// The course of every import: opens the source (regular files only), reads
// its problems with `read`, refuses a source without any, appends them to the
// collection and loads its first record.
ImportResult RunImport(ImportEnv& env, const ProblemReader& read);

}  // namespace kv
