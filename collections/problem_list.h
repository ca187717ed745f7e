// The problem list: the working set of (file, record) pairs that a search or
// "load the whole file" fills, that the list dialog shows and reorders, and
// that the list actions (print, copy, export, solve, duplicate information)
// walk in order.
//
// Files are kept once in a table and entries refer to them by number, as the
// list has always been held: an entry is two unsigned 16-bit values, the file
// number and the record number counted from 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// The most hits a search keeps; the search stops at the one that fills it.
inline constexpr int MaxProblemListEntries = 20001;
// The longest path a file-table entry holds (without the terminating NUL).
inline constexpr int MaxListPathLength = 259;
// How many selected entries the list dialog keeps between two openings.
inline constexpr int MaxKeptSelection = 2000;

struct ProblemListEntry {
  std::uint16_t file = 0;    // index into ProblemList::files
  std::uint16_t record = 0;  // record number, counted from 1

  bool operator==(const ProblemListEntry&) const = default;
};

struct ProblemList {
  std::vector<std::string> files;         // full paths, as the file system gives them
  std::vector<ProblemListEntry> entries;  // in list order
  int position = 0;                       // the current entry, from 0
  std::vector<int> keptSelection;         // entry numbers selected when the dialog closed
  bool wholeFileSelected = false;         // every record of the current file was selected

  int count() const { return static_cast<int>(entries.size()); }
  const std::string& FileOf(const ProblemListEntry& entry) const { return files[entry.file]; }
};

// Empties the list: entries, file table, position and kept selection.
void ClearProblemList(ProblemList& list);

// Appends (file, record counted from 1); the file joins the table the first
// time it is named. False, list unchanged, when the list already holds
// MaxProblemListEntries entries or the table can take no further file.
bool AddListEntry(ProblemList& list, const std::string& file, int record);

// The list becomes every record of `file` in order (records 1 .. lastIndex + 1),
// the kept selection is emptied and the position is the current record.
void FillListWithCurrentFile(ProblemList& list, const std::string& file, int lastIndex,
                             int currentIndex);

// Moves entry `entry` (from 0) one place up or down, carrying the list
// position with it when it was there. Returns the entry's new number; the
// first entry does not move up, the last does not move down.
int MoveEntryUp(ProblemList& list, int entry);
int MoveEntryDown(ProblemList& list, int entry);

// What the list dialog keeps when it closes: the first MaxKeptSelection
// selected entry numbers, and whether they cover every record of the
// current file (`currentFile` with records 0 .. lastIndex).
void KeepSelection(ProblemList& list, const std::vector<int>& selected,
                   const std::string& currentFile, int lastIndex);

// The entries selected when the dialog opens: the kept selection and the
// entry at the list position, in list order, each inside the list.
std::vector<int> SelectionAtOpening(const ProblemList& list);

// The dialog's line of an entry: the file name without folder and
// extension, left-aligned in 8 characters, then the record number
// right-aligned in 4 ("%-8s%4d"), in Windows-1252.
std::string ListEntryLine(const ProblemList& list, int entry);

// The status text of the list dialog: " Select : %d / %d ".
std::string SelectionStatusText(int selectedCount, int entryCount);

}  // namespace kv
