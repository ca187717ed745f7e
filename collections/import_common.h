// What the four importers (PGN, EPD, dBASE tables and archive texts) share:
// which files they take, where their problems go, the problems gathered from a
// source before the collection is written, and the outcome of an import.
//
// An import reads the whole source first and keeps its problems in memory;
// only then is the collection of the same path (extension ".kvl") rewritten
// once, with every new problem at its end (import_target.h). So a source that
// fails half-way, or a collection that cannot be written, leaves the
// collection as it was.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "core/position.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

enum class ImportFormat {
  None,  // a collection file, opened as it is
  Pgn,
  Epd,
  Dbf,
  Alybadix,  // an archive text (".txt")
  Popeye,    // a solver input file (".inp")
};

// The format a file is imported from, by the extension of its name (the text
// after the last "." of the last path component, in either case): ".pgn",
// ".epd", ".dbf", ".txt" or ".inp"; None for every other name.
ImportFormat ImportFormatOf(std::string_view path);

// The collection an import writes to: the path with everything from the last
// "." of its name replaced by ".kvl" (".kvl" added to a name without one).
std::string ImportTargetPath(std::string_view sourcePath);

// An import keeps at most this many problems; a source holding more is cut
// there, and the result says so.
inline constexpr int MaxImportedProblems = 2001;
// The most notes kept about problems left out of an import; a hostile source
// could otherwise fill the memory with them.
inline constexpr int MaxSkipNotes = 1000;
// The most keywords listed as read but not kept (see ImportBatch::NoteNotKept).
inline constexpr int MaxNotKeptKeywords = 100;

// Every imported record starts from a problem cleared of everything: texts,
// twins, extra strings and the solution text, a direct mate in 2 (clearing
// the information alone would carry the solution text of the problem shown
// before the import into every record).
void ClearWholeProblem(CurrentProblem& problem);

// A board whose 64 squares are empty (and its border off the board).
Board EmptyImportBoard();

struct ImportedProblem {
  CurrentProblem problem;
  PositionBytes position{};
};

// The problems an importer has read, in source order, each with every field
// it will be saved with.
class ImportBatch {
 public:
  // `ui` receives the running count in status part 4; may be null.
  explicit ImportBatch(const UiCallbacks* ui = nullptr) : ui_(ui) {}

  // Keeps `problem` with the position of `board`. When MaxImportedProblems
  // are already kept, keeps nothing, marks the batch as stopped at the limit
  // and returns false: the importer then ends.
  bool Add(const CurrentProblem& problem, const Board& board);

  // Records that a problem of the source was left out as a whole, with a
  // line that names it and says why (English).
  // Past MaxSkipNotes only the count grows.
  void Skip(std::string note);

  // Records a keyword of the source that was read but whose setting the
  // collection does not keep (an option that steers only a solver's output
  // or search, such as "maxsolutions"): listed once each, in the order first
  // met, at most MaxNotKeptKeywords of them.
  void NoteNotKept(std::string_view keyword);

  int count() const { return static_cast<int>(problems_.size()); }
  bool stoppedAtLimit() const { return stoppedAtLimit_; }
  int skipped() const { return skipped_; }
  const std::vector<std::string>& skipNotes() const { return skipNotes_; }
  const std::vector<std::string>& notKept() const { return notKept_; }
  std::vector<ImportedProblem>& problems() { return problems_; }
  const std::vector<ImportedProblem>& problems() const { return problems_; }

 private:
  const UiCallbacks* ui_;
  std::vector<ImportedProblem> problems_;
  std::vector<std::string> skipNotes_;
  std::vector<std::string> notKept_;
  int skipped_ = 0;
  bool stoppedAtLimit_ = false;
};

// " %d problems ": the running count of status part 4.
std::string ImportCountText(int count);
// The note of an import cut at the limit ("import stopped after 2001
// problems"), shown in status part 4 and by the callers' result.
std::string ImportStoppedText();

// The outcome of an import.
struct [[nodiscard]] ImportResult {
  FileResult result;       // Ok, or why the import failed
  std::string failedFile;  // the file the failure concerns: the source or the collection
  std::string targetPath;  // the collection written to
  int imported = 0;        // problems appended to it
  bool stoppedAtLimit = false;
  // Problems of the source left out as a whole, and a line for each of the
  // first MaxSkipNotes (problem and reason); also filled when the import
  // fails for want of any problem.
  int skipped = 0;
  std::vector<std::string> skipNotes;
  // Keywords read but not kept (see ImportBatch::NoteNotKept).
  std::vector<std::string> notKept;

  bool ok() const { return result.ok(); }
};

// The message of a failed import ("Unable to Open %s" with the file name and
// the reason, in the interface language); empty on success.
std::string ImportFailureText(const ImportResult& result, const Language& language);

}  // namespace kv
