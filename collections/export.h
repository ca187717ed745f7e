// The list actions that write problems out: copy into another collection,
// the text report, the solution stored into each record, PGN games and EPD
// lines. Each walks the selected entries of the problem list in list order,
// loads the problem into the program's current problem, and (all but the
// copy) solves it first, so that the key and the solution are current.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "collections/export_formats.h"
#include "collections/file_result.h"
#include "collections/problem_file.h"
#include "collections/problem_list.h"
#include "solver/solve_options.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

enum class ExportAction {
  CopyPositions,       // "&Positions -> KVL file"
  PgnFile,             // the same label with PGN
  EpdFile,             // the same label with EPD
  SolutionsToText,     // "&Solutions -> TXT file"
  SolutionsToRecords,  // "Solutions -> Text": each record's own solution text
  PopeyeFile,          // solver input commands (export_popeye.h), not solved first
};

enum class ExportFormat { Pgn, Epd };

// Appends the text report of the problem to `path`.
FileResult ExportText(const std::string& path, const ExportedProblem& exported,
                      const Language& language, int borderStyle);
// Appends one PGN game or one EPD line to `path`.
FileResult ExportPgnEpd(const std::string& path, ExportFormat format,
                        const ExportedProblem& exported);

// The program's state the actions work on: they replace the current problem
// and the board, and leave the collection state at the last entry (at the
// target's first record after a copy).
struct ExportContext {
  CollectionState& collection;
  CurrentProblem& problem;
  Board& board;
  SolveOptions& options;  // follow each problem's kind, as showing it does
  const Language& language;
  const UiCallbacks& ui;
  int borderStyle = 0;  // of the report's diagram
  // Called after each entry with the number done and the number in all.
  std::function<void(int done, int total)> progress;
};

struct [[nodiscard]] ExportOutcome {
  int written = 0;           // problems written out
  int skipped = 0;           // entries of the target itself (copy)
  int unreadable = 0;        // entries whose problem could not be loaded
  int failedWrites = 0;      // problems the output did not take
  bool interrupted = false;  // the user broke off; later entries were left
  // Problems the output format cannot express whole (PopeyeFile), left out,
  // with a line each: "problem N: reason".
  int notExportable = 0;
  std::vector<std::string> notExportableNotes;
  FileResult firstFailure;  // the first failure, already reported to the user
};

// The entries to act on: those whose numbers are in `selected`, in list
// order, each once; numbers outside the list are ignored.
std::vector<ProblemListEntry> SelectedEntries(const ProblemList& list,
                                              const std::vector<int>& selected);

// Runs `action` over `entries` (files named by `list`). `target` is the output
// file (unused for SolutionsToRecords). The first failure to load a problem
// and the first failure to write the output are each shown once (message 45
// with the file name); the action goes on with the next problem. The
// collections are read as they were when the action started, whatever other
// programs write meanwhile (CollectionSnapshot); a solution stored into a
// record goes to the problem solved, wherever it is by then, or nowhere.
ExportOutcome RunExport(ExportAction action, const std::string& target, const ProblemList& list,
                        const std::vector<ProblemListEntry>& entries, ExportContext& context);

// Loads record `number` (from 1) of `path` into the program's problem and
// board, as showing it would, and makes it the current record of
// `collection`. A number beyond the end of the file is NoRecord rather than
// the last record: the list may be older than the file. With `damage`, a
// damaged problem loads with what can be read, as LoadProblem loads it.
FileResult LoadListEntry(const std::string& path, int number, CollectionState& collection,
                         CurrentProblem& problem, Board& board, FileResult* damage = nullptr);

// The number of moves a list action solves with: the problem's own (every
// length is solved; solving a longer problem at two moves gave a wrong text).
int ExportSolveMoves(const ProblemType& type);

}  // namespace kv
