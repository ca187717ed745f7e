#include "collections/problem_list.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "strings/encoding.h"

namespace kv {
namespace {

// File numbers are unsigned 16-bit values.
constexpr std::size_t MaxListFiles = std::numeric_limits<std::uint16_t>::max() + std::size_t{1};

// The table number of `file`, adding it when new; -1 when the table is full.
int FileNumber(ProblemList& list, const std::string& file) {
  // A search adds the hits of one file one after another, so the last file
  // is nearly always the one asked for.
  if (!list.files.empty() && list.files.back() == file) {
    return static_cast<int>(list.files.size()) - 1;
  }
  const auto found = std::find(list.files.begin(), list.files.end(), file);
  if (found != list.files.end()) return static_cast<int>(found - list.files.begin());
  if (list.files.size() >= MaxListFiles) return -1;
  list.files.push_back(file);
  return static_cast<int>(list.files.size()) - 1;
}

int SwapEntries(ProblemList& list, int entry, int other) {
  std::swap(list.entries[static_cast<std::size_t>(entry)],
            list.entries[static_cast<std::size_t>(other)]);
  if (list.position == entry) {
    list.position = other;
  } else if (list.position == other) {
    list.position = entry;
  }
  return other;
}

}  // namespace

void ClearProblemList(ProblemList& list) {
  list.files.clear();
  list.entries.clear();
  list.position = 0;
  list.keptSelection.clear();
  list.wholeFileSelected = false;
}

bool AddListEntry(ProblemList& list, const std::string& file, int record) {
  if (list.count() >= MaxProblemListEntries) return false;
  if (record < 1 || record > std::numeric_limits<std::uint16_t>::max()) return false;
  const int number = FileNumber(list, file);
  if (number < 0) return false;
  list.entries.push_back({static_cast<std::uint16_t>(number), static_cast<std::uint16_t>(record)});
  return true;
}

void FillListWithCurrentFile(ProblemList& list, const std::string& file, int lastIndex,
                             int currentIndex) {
  ClearProblemList(list);
  if (lastIndex < 0) return;
  list.files.push_back(file);
  list.entries.reserve(static_cast<std::size_t>(lastIndex) + 1);
  for (int record = 1; record <= lastIndex + 1; ++record) {
    list.entries.push_back({0, static_cast<std::uint16_t>(record)});
  }
  list.position = std::clamp(currentIndex, 0, lastIndex);
}

int MoveEntryUp(ProblemList& list, int entry) {
  if (entry <= 0 || entry >= list.count()) return entry;
  return SwapEntries(list, entry, entry - 1);
}

int MoveEntryDown(ProblemList& list, int entry) {
  if (entry < 0 || entry + 1 >= list.count()) return entry;
  return SwapEntries(list, entry, entry + 1);
}

void KeepSelection(ProblemList& list, const std::vector<int>& selected,
                   const std::string& currentFile, int lastIndex) {
  list.keptSelection.clear();
  std::vector<bool> covered(static_cast<std::size_t>(std::max(lastIndex + 1, 0)), false);
  int coveredCount = 0;
  for (int entry : selected) {
    if (entry < 0 || entry >= list.count()) continue;
    if (static_cast<int>(list.keptSelection.size()) < MaxKeptSelection) {
      list.keptSelection.push_back(entry);
    }
    const ProblemListEntry& e = list.entries[static_cast<std::size_t>(entry)];
    const int index = e.record - 1;
    if (index <= lastIndex && list.FileOf(e) == currentFile &&
        !covered[static_cast<std::size_t>(index)]) {
      covered[static_cast<std::size_t>(index)] = true;
      ++coveredCount;
    }
  }
  list.wholeFileSelected = lastIndex >= 0 && coveredCount == lastIndex + 1;
}

std::vector<int> SelectionAtOpening(const ProblemList& list) {
  std::vector<int> selection;
  for (int entry : list.keptSelection) {
    if (entry >= 0 && entry < list.count()) selection.push_back(entry);
  }
  if (list.position >= 0 && list.position < list.count()) selection.push_back(list.position);
  std::sort(selection.begin(), selection.end());
  selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
  return selection;
}

std::string ListEntryLine(const ProblemList& list, int entry) {
  if (entry < 0 || entry >= list.count()) return {};
  const ProblemListEntry& e = list.entries[static_cast<std::size_t>(entry)];
  // Paths are file-system bytes (UTF-8); the line is Windows-1252 text.
  std::string name = list.FileOf(e);
  if (const std::size_t slash = name.rfind('/'); slash != std::string::npos) {
    name.erase(0, slash + 1);
  }
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
    name.resize(dot);
  }
  name = Utf8ToCp1252(name);
  char line[32];
  std::snprintf(line, sizeof line, "%4d", e.record);
  name.resize(std::max<std::size_t>(name.size(), 8), ' ');
  return name + line;
}

std::string SelectionStatusText(int selectedCount, int entryCount) {
  char text[48];
  std::snprintf(text, sizeof text, " Select : %d / %d ", selectedCount, entryCount);
  return text;
}

}  // namespace kv
