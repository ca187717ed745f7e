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

}  // namespace kv
