// The operations on a collection file: loading a record into the current
// problem, saving it back, appending, inserting and deleting records,
// compacting, and storing the solution text alone. Each opens the file, locks
// it (readers share, writers exclude), does its work and closes it again;
// nothing stays open between operations.
//
// Results are FileResults; a failure leaves the file as it was (apart from
// dead space a failed save may have appended) and the current problem as it
// was. ReportFileResult (file_result.h) shows the message.
#pragma once

#include <string>
#include <string_view>

#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "collections/kvl_format.h"
#include "collections/locked_file.h"
#include "core/position.h"

namespace kv {

// The open collection.
struct CollectionState {
  std::string currentFileName;  // full path
  int currentIndex = 0;         // record shown, from 0; -1 while a problem waits to go at the end
  int lastIndex = -1;           // as the header said at the last operation
};

// Loads record currentIndex (brought into 0 .. lastIndex first) into `problem`
// and the 64 squares of `board`; clears the info-modified flag. A file that
// holds no record, or whose record is damaged, changes nothing.
FileResult LoadProblem(CollectionState& state, CurrentProblem& problem, Board& board);

// Writes `problem` and the position of `board` into record currentIndex,
// which must exist. On success the stored board is the saved position and
// the info-modified flag is cleared; on failure the problem stays modified.
FileResult SaveProblem(CollectionState& state, CurrentProblem& problem, const Board& board);

// Opens the file, creating it when missing, and adds a blank record at its
// end; currentIndex is then that record. A missing or empty file becomes the
// 101-byte file of one blank record. A file that cannot be created is left
// missing, never empty.
FileResult PrepareAppend(CollectionState& state);

// Appends `problem` with the position of `board` at the end of the file,
// creating the file when missing: "Add a position". One operation under one
// lock, so that another writer's insert, delete or append cannot come between
// the new record and its texts; the bytes are those of PrepareAppend followed
// by SaveProblem. On success currentIndex and lastIndex are the new record and
// the problem counts as saved; on failure the file is as it was.
FileResult AppendProblem(CollectionState& state, CurrentProblem& problem, const Board& board);

// Creates currentFileName as a new collection of one blank record, complete
// or not at all. A file of that name, even one another program has just
// created, is left alone: CannotOpen, "the file already exists".
FileResult CreateCollection(CollectionState& state);

// n > 0: inserts n blank records before currentIndex; n < 0: deletes -n
// records from currentIndex (at least one record always stays). The file is
// rewritten through a temporary file.
FileResult InsertRecords(CollectionState& state, int n);

// Rewrites the file without dead space.
FileResult CompactFile(CollectionState& state);

// Stores `text` alone into slot 4 of record currentIndex (at most 32767
// characters: the longest a stored string can be).
FileResult SaveSolutionText(CollectionState& state, std::string_view text);

// Reads slot 4 of record currentIndex into problem.solutionText.
FileResult ReloadSolutionText(CollectionState& state, CurrentProblem& problem);

// Record `number` (counted from 1) of the collection at `path`, loaded as
// LoadProblem does; a number outside 1 .. count is NoRecord, not clamped.
// For callers without an open collection, such as the command line.
FileResult LoadProblemNumber(const std::string& path, int number, CurrentProblem& problem,
                             Board& board);

// The organise dialog's limits. The insert count is 1 .. 999.
inline constexpr int MaxInsertCount = 999;
// A delete count brought within the records from the current one to the end
// and below the number of records, so that at least one record remains.
int LimitDeleteCount(int count, int currentIndex, int lastIndex);

// Reads records of a collection without loading them, under one shared lock:
// for the search, the problem list and the command line.
class CollectionReader {
 public:
  FileResult Open(const std::string& path);
  void Close() { file_.Close(); }
  int lastIndex() const { return lastIndex_; }
  int count() const { return lastIndex_ + 1; }

  FileResult ReadHead(int record, RecordHead& head) const;
  // The heads of records first .. first + count - 1, read in large pieces:
  // the way to scan a whole file.
  FileResult ReadHeads(int first, int count, RecordHead* heads) const;
  FileResult ReadString(int record, int slot, std::string& text,
                        int maxLength = TextSearchReadLength) const;
  // Fills type, texts and stored board of `problem` as LoadProblem does.
  FileResult ReadProblem(int record, CurrentProblem& problem) const;

 private:
  LockedFile file_;
  ByteStore store_ = ByteStore::OnBytes({});
  int lastIndex_ = -1;
};

}  // namespace kv
