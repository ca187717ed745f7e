// The duplicate scan: for each problem of a collection, from a given record
// to the last, looks for its position in other collections and notes every
// record that holds it under the problem's stored solution text.
//
// The notes are appended to what the record already stores (a line that is
// there already is not written twice), so a solution kept with the problem
// is never replaced. Records are read without loading them into the current
// problem, so the problem shown is left as it is.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "collections/file_result.h"
#include "collections/problem_file.h"
#include "collections/search.h"
#include "collections/search_matrix.h"
#include "strings/ui_callbacks.h"

namespace kv {

// What the scan appended to one record.
struct DuplicateNote {
  int record = 0;     // counted from 1, as numbered when the scan started
  std::string lines;  // "%s n°%d\r\n" per duplicate, Windows-1252
  int storedAt = 0;   // the problem's number when its lines were stored: another
                      // program may have inserted or deleted problems meanwhile
};

// Lines found for a problem that another program changed or removed while the
// scan ran, or that it moved where it can no longer be told apart: nothing
// was stored, so that no other problem's text is touched.
struct UnstoredNote {
  int record = 0;  // counted from 1, as numbered when the scan started
  std::string lines;
  std::string reason;  // English
};

struct [[nodiscard]] DuplicateScanOutcome {
  int scanned = 0;      // records examined
  bool broken = false;  // the user stopped the scan
  std::vector<DuplicateNote> notes;
  std::vector<UnstoredNote> unstored;
  std::vector<UnreadFile> unreadFiles;  // other collections that could not be read
  FileResult failure;  // the scanned file could not be read or written: the scan stopped
};

// One line per record of `files` whose position holds `pattern`:
// "<file> n°<record>\r\n". Files in `skip` are passed over. Status part 4
// shows each file while it is read; unreadable files are added to `unread`.
std::string DuplicateLines(const MatrixPattern& pattern, const std::vector<std::string>& files,
                           const std::vector<bool>& skip, const UiCallbacks& ui,
                           std::vector<UnreadFile>& unread);

// The stored solution text with the duplicate lines it does not hold yet
// appended (on a line of their own); `added` receives those lines.
std::string AppendDuplicateLines(std::string_view stored, std::string_view lines,
                                 std::string& added);

// Scans records state.currentIndex .. last of state.currentFileName against
// `files` (the file itself is skipped wherever it appears in the list). The
// pattern of each record is its position, anchored or `shifted`; a record
// without any man is not looked for (it would match every record). The
// break poll is asked before each record, and `onRecord` (when given) hears
// of each record (from 0) before it is read. `state` is not changed.
// Other programs may write the file meanwhile: the records scanned are those
// the file held when the scan started (CollectionSnapshot), and each note goes
// to the problem it was found for, wherever that problem is by then
// (EditSolutionText), or nowhere.
DuplicateScanOutcome ScanDuplicates(const CollectionState& state,
                                    const std::vector<std::string>& files, bool shifted,
                                    const UiCallbacks& ui,
                                    const std::function<void(int record)>& onRecord = nullptr);

// What other programs changed under the scan, one English line each: the
// problems whose notes went to another number, and those whose notes were
// not stored. Empty when nothing changed.
std::vector<std::string> DuplicateScanChanges(const DuplicateScanOutcome& outcome);

}  // namespace kv
