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

#include <functional>
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
// holds no record, or whose record is damaged, changes nothing. With
// `damage`, a record with damaged texts or squares loads with those empty and
// `damage` says which (see ReadProblemRecord), so that one damaged problem
// does not keep the user from the others; the caller shows the warning.
FileResult LoadProblem(CollectionState& state, CurrentProblem& problem, Board& board,
                       FileResult* damage = nullptr);

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

// Rewrites the solution text of the problem that was record `record` (from 0)
// when `identity` was read, under the file's exclusive lock: there when it
// still holds that problem, else where the problem has gone when another
// program inserted or deleted problems meanwhile (FindProblem); NoRecord,
// saying why, when it is nowhere or more than once, and nothing is written.
// `edit` receives the stored text and gives the new one; when it returns
// false nothing is written. `storedAt` is the record the text went to.
FileResult EditSolutionText(
    const std::string& path, int record, const ProblemIdentity& identity,
    const std::function<bool(const std::string& stored, std::string& text)>& edit, int& storedAt);

// Reads slot 4 of record currentIndex into problem.solutionText.
FileResult ReloadSolutionText(CollectionState& state, CurrentProblem& problem);

// Record `number` (counted from 1) of the collection at `path`, loaded as
// LoadProblem does (with `damage`, a damaged problem too); a number outside
// 1 .. count is NoRecord, not clamped. For callers without an open
// collection, such as the command line.
FileResult LoadProblemNumber(const std::string& path, int number, CurrentProblem& problem,
                             Board& board, FileResult* damage = nullptr);

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
  FileResult ReadProblem(int record, CurrentProblem& problem, FileResult* damage = nullptr) const;

 private:
  LockedFile file_;
  ByteStore store_ = ByteStore::OnBytes({});
  int lastIndex_ = -1;
};

// A collection kept open through a long operation while other programs may
// write it (an export, the duplicate scan): its records keep the numbers they
// had when it was opened, so that the operation neither repeats nor misses
// one. Between reads it holds no lock, so writers are not kept waiting; each
// read takes the shared lock for its moment. A writer that inserts, deletes,
// appends or compacts puts a new file in place of the old one, which stays
// readable here; a problem saved in place is read as saved. Writes go to the
// file by name and find their problem by its identity (EditSolutionText).
class CollectionSnapshot {
 public:
  FileResult Open(const std::string& path);
  void Close() { file_.Close(); }
  const std::string& path() const { return path_; }
  int lastIndex() const { return lastIndex_; }
  int count() const { return lastIndex_ + 1; }

  // As LoadProblem reads a record; with `identity`, the problem's identity
  // read in the same moment.
  FileResult ReadProblem(int record, CurrentProblem& problem, ProblemIdentity* identity = nullptr);
  FileResult ReadIdentity(int record, ProblemIdentity& identity);

 private:
  template <typename Read>
  FileResult UnderSharedLock(int record, Read read);

  LockedFile file_;
  std::string path_;
  int lastIndex_ = -1;
};

}  // namespace kv
