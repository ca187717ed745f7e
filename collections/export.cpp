#include "collections/export.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "collections/export_output.h"
#include "collections/export_popeye.h"
#include "core/rules.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

// The solution editor takes at most this many characters when its text is
// stored into a record.
constexpr std::size_t MaxEditorSolutionLength = 4095;

// Whether two names denote the same file: the copy never appends a
// collection's problems to that collection itself.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  const auto canonicalA = std::filesystem::weakly_canonical(a, error);
  if (error) return a == b;
  const auto canonicalB = std::filesystem::weakly_canonical(b, error);
  if (error) return a == b;
  return canonicalA == canonicalB;
}

// Solves the loaded problem as the list actions do: the options follow its
// kind, and the text is written in the fixed English letters without
// message boxes. A problem the solver does not take (a series play, a
// study) is not solved: its text stays empty.
std::string SolveLoaded(ExportContext& c) {
  SwitchOptionsToKind(c.options, c.problem.type.kind);
  ProblemType type = c.problem.type;
  const int n = ExportSolveMoves(type);
  type.moves = static_cast<std::uint8_t>(n);
  if (!CanSolve(type)) return {};
  auto solver = std::make_unique<Solver>();
  auto position = std::make_unique<Position>();
  position->board = c.board;
  SolveEnvironment env{*position, type, c.options, c.problem.twins, c.language, c.ui};
  env.batch = true;
  return SolveEntry(*solver, env, n);
}

// How many collections an export keeps open at once: a list made by a search
// may name thousands of files, more than a process may open.
constexpr std::size_t MaxOpenSources = 64;

// The collections an export reads, each held open (CollectionSnapshot) from
// the start of the export, so that the numbers of the list mean the problems
// they meant then, whatever other programs insert or delete meanwhile. Beyond
// MaxOpenSources files, a file is opened when its first entry comes and the
// one opened longest ago is closed.
class ExportSources {
 public:
  ExportSources(const ProblemList& list, const std::vector<ProblemListEntry>& entries) {
    for (const ProblemListEntry& entry : entries) {
      if (open_.size() >= MaxOpenSources) break;
      if (entry.file < list.files.size()) Find(list.FileOf(entry));
    }
  }

  // The snapshot of `file`, or null with `result` saying why it cannot be read.
  CollectionSnapshot* Find(const std::string& file, FileResult* result = nullptr) {
    for (Source& source : open_) {
      if (source.file == file) return source.snapshot.get();
    }
    auto snapshot = std::make_unique<CollectionSnapshot>();
    FileResult opened = snapshot->Open(file);
    if (!opened) {
      if (result) *result = opened;
      return nullptr;
    }
    if (open_.size() >= MaxOpenSources) open_.erase(open_.begin());
    open_.push_back({file, std::move(snapshot)});
    return open_.back().snapshot.get();
  }

 private:
  struct Source {
    std::string file;
    std::unique_ptr<CollectionSnapshot> snapshot;
  };
  std::vector<Source> open_;
};

// Loads entry `number` of `snapshot` as LoadListEntry loads it from the file,
// with the problem's identity for writing its solution back.
FileResult LoadSnapshotEntry(CollectionSnapshot& snapshot, int number, ExportContext& c,
                             ProblemIdentity& identity) {
  if (number < 1 || number > snapshot.count()) {
    return Fail(FileStatus::NoRecord, "there is no problem " + std::to_string(number) +
                                          "; the file holds " + std::to_string(snapshot.count()));
  }
  auto loaded = std::make_unique<CurrentProblem>();
  if (FileResult read = snapshot.ReadProblem(number - 1, *loaded, &identity); !read) return read;
  c.collection.currentFileName = snapshot.path();
  c.collection.currentIndex = number - 1;
  c.collection.lastIndex = snapshot.lastIndex();
  c.problem = std::move(*loaded);
  c.problem.infoModified = false;
  c.problem.loaded = true;
  ClearBoard(c.board);
  PositionBytesToBoard(c.problem.storedBoard, c.board);
  return {};
}

// Remembers a failure and shows the first one of its kind.
void NoteFailure(ExportOutcome& outcome, bool& reported, const FileResult& result,
                 const std::string& fileName, const ExportContext& c) {
  if (outcome.firstFailure.ok()) outcome.firstFailure = result;
  if (reported) return;
  reported = true;
  ReportFileResult(c.ui, c.language, result, fileName);
}

}  // namespace

FileResult LoadListEntry(const std::string& path, int number, CollectionState& collection,
                         CurrentProblem& problem, Board& board, FileResult* damage) {
  CollectionReader reader;
  FileResult result = reader.Open(path);
  if (!result) return result;
  if (number < 1 || number > reader.count()) {
    return Fail(FileStatus::NoRecord, "there is no problem " + std::to_string(number) +
                                          "; the file holds " + std::to_string(reader.count()));
  }
  auto loaded = std::make_unique<CurrentProblem>();
  result = reader.ReadProblem(number - 1, *loaded, damage);
  if (!result) return result;
  collection.currentFileName = path;
  collection.currentIndex = number - 1;
  collection.lastIndex = reader.lastIndex();
  problem = std::move(*loaded);
  problem.infoModified = false;
  problem.loaded = true;
  ClearBoard(board);
  PositionBytesToBoard(problem.storedBoard, board);
  return result;
}

FileResult ExportText(const std::string& path, const ExportedProblem& exported,
                      const Language& language, int borderStyle) {
  return AppendToOutputFile(path, TextReport(exported, language, borderStyle));
}

FileResult ExportPgnEpd(const std::string& path, ExportFormat format,
                        const ExportedProblem& exported) {
  return AppendToOutputFile(path,
                            format == ExportFormat::Pgn ? PgnGame(exported) : EpdLine(exported));
}

int ExportSolveMoves(const ProblemType& type) {
  return type.moves;
}

std::vector<ProblemListEntry> SelectedEntries(const ProblemList& list,
                                              const std::vector<int>& selected) {
  std::vector<int> numbers = selected;
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<ProblemListEntry> entries;
  for (int number : numbers) {
    if (number >= 0 && number < list.count()) entries.push_back(list.entries[number]);
  }
  return entries;
}

ExportOutcome RunExport(ExportAction action, const std::string& target, const ProblemList& list,
                        const std::vector<ProblemListEntry>& entries, ExportContext& c) {
  ExportOutcome outcome;
  bool loadReported = false;
  bool writeReported = false;
  ExportSources sources(list, entries);
  const int total = static_cast<int>(entries.size());
  for (int done = 0; done < total; ++done) {
    const ProblemListEntry& entry = entries[done];
    const std::string& file = entry.file < list.files.size() ? list.FileOf(entry) : std::string();
    const bool intoItself = action == ExportAction::CopyPositions && SameFile(file, target);
    FileResult loaded;
    ProblemIdentity identity;
    if (!intoItself) {
      CollectionSnapshot* snapshot = sources.Find(file, &loaded);
      if (snapshot) loaded = LoadSnapshotEntry(*snapshot, entry.record, c, identity);
    }
    if (intoItself) {
      ++outcome.skipped;
    } else if (!loaded) {
      ++outcome.unreadable;
      NoteFailure(outcome, loadReported, loaded, file, c);
    } else {
      FileResult written;
      bool leftOut = false;
      std::string writtenTo = target;
      if (action == ExportAction::PopeyeFile) {
        std::string text;
        std::string reason;
        if (!PopeyeProblemText(c.problem, c.board, text, reason)) {
          ++outcome.notExportable;
          outcome.notExportableNotes.push_back("problem " + std::to_string(entry.record) + ": " +
                                               reason);
          leftOut = true;
        } else {
          // The first problem written opens the file's problems, each later
          // one follows the one before; the end keyword closes them below.
          const std::string_view opening =
              outcome.written == 0 ? PopeyeFirstProblem : PopeyeNextProblem;
          written = AppendToOutputFile(target, std::string(opening) + text);
        }
      } else if (action == ExportAction::CopyPositions) {
        // One operation under one lock, so that another writer of the target
        // cannot shift the new record between the append and the save.
        CollectionState copy{target, -1, -1};
        written = AppendProblem(copy, c.problem, c.board);
      } else {
        const std::string solution = SolveLoaded(c);
        const std::string key = KeyMoveOfSolution(solution, c.language);
        const ExportedProblem exported{c.problem,
                                       c.board,
                                       c.collection.currentFileName,
                                       c.collection.currentIndex,
                                       c.collection.lastIndex,
                                       solution,
                                       key};
        switch (action) {
          case ExportAction::SolutionsToText:
            written = ExportText(target, exported, c.language, c.borderStyle);
            break;
          case ExportAction::PgnFile:
            written = ExportPgnEpd(target, ExportFormat::Pgn, exported);
            break;
          case ExportAction::EpdFile:
            written = ExportPgnEpd(target, ExportFormat::Epd, exported);
            break;
          default:
            // An empty text would erase the stored solution of a problem
            // that was not solved; it is kept instead. The text goes to the
            // problem solved, wherever other programs have moved it.
            writtenTo = c.collection.currentFileName;
            if (!solution.empty()) {
              const auto replace = [&](const std::string&, std::string& text) {
                text = FitText(solution, MaxEditorSolutionLength);
                return true;
              };
              int storedAt = c.collection.currentIndex;
              written = EditSolutionText(c.collection.currentFileName, c.collection.currentIndex,
                                         identity, replace, storedAt);
              if (written) c.collection.currentIndex = storedAt;
            }
            break;
        }
      }
      if (leftOut) {
        // Counted above; nothing was written.
      } else if (written) {
        ++outcome.written;
      } else {
        ++outcome.failedWrites;
        NoteFailure(outcome, writeReported, written, writtenTo, c);
      }
    }
    if (c.progress) c.progress(done + 1, total);
    if (c.ui.BreakRequested() && done + 1 < total) {
      outcome.interrupted = true;
      break;
    }
  }
  if (action == ExportAction::PopeyeFile && outcome.written > 0) {
    if (const FileResult closed = AppendToOutputFile(target, PopeyeEndOfProblems); !closed) {
      ++outcome.failedWrites;
      NoteFailure(outcome, writeReported, closed, target, c);
    }
  }
  if (action == ExportAction::CopyPositions && outcome.written > 0) {
    c.collection.currentFileName = target;
    c.collection.currentIndex = 0;
  }
  return outcome;
}

}  // namespace kv
