#include "collections/duplicate_scan.h"

#include <algorithm>
#include <cstdio>

#include "collections/file_walk.h"
#include "collections/kvl_format.h"
#include "strings/encoding.h"

namespace kv {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr int HeadBatch = 256;

// The path comes from the file system (UTF-8); the solution text is
// Windows-1252 like every text of a problem.
std::string DuplicateLine(const std::string& file, int record) {
  char number[16];
  std::snprintf(number, sizeof number, " n\xB0%d", record);
  return Utf8ToCp1252(file) + number + std::string(LineEnd);
}

bool HoldsAnyMan(const PositionBytes& position) {
  return std::any_of(position.begin(), position.end(),
                     [](std::uint8_t byte) { return byte != PositionByteBias; });
}

void NoteUnread(std::vector<UnreadFile>& unread, const std::string& path,
                const FileResult& result) {
  const bool known = std::any_of(unread.begin(), unread.end(),
                                 [&](const UnreadFile& file) { return file.path == path; });
  if (!known) unread.push_back({path, result});
}

}  // namespace

std::string DuplicateLines(const MatrixPattern& pattern, const std::vector<std::string>& files,
                           const std::vector<bool>& skip, const UiCallbacks& ui,
                           std::vector<UnreadFile>& unread) {
  std::string lines;
  std::vector<RecordHead> heads(HeadBatch);
  for (std::size_t f = 0; f < files.size(); ++f) {
    if (f < skip.size() && skip[f]) continue;
    const std::string& path = files[f];
    ui.Status(4, path);
    CollectionReader reader;
    if (FileResult opened = reader.Open(path); !opened) {
      NoteUnread(unread, path, opened);
      continue;
    }
    for (int first = 0; first < reader.count(); first += HeadBatch) {
      const int n = std::min(HeadBatch, reader.count() - first);
      if (FileResult read = reader.ReadHeads(first, n, heads.data()); !read) {
        NoteUnread(unread, path, read);
        break;
      }
      for (int i = 0; i < n; ++i) {
        if (MatchesPattern(pattern, heads[static_cast<std::size_t>(i)].position)) {
          lines += DuplicateLine(path, first + i + 1);
        }
      }
    }
  }
  return lines;
}

std::string AppendDuplicateLines(std::string_view stored, std::string_view lines,
                                 std::string& added) {
  added.clear();
  for (std::size_t start = 0; start < lines.size();) {
    std::size_t end = lines.find(LineEnd, start);
    end = end == std::string_view::npos ? lines.size() : end + LineEnd.size();
    const std::string_view line = lines.substr(start, end - start);
    if (stored.find(line) == std::string_view::npos && added.find(line) == std::string::npos) {
      added += line;
    }
    start = end;
  }
  std::string text(stored);
  if (added.empty()) return text;
  if (!text.empty() && !text.ends_with(LineEnd)) text += LineEnd;
  return text + added;
}

DuplicateScanOutcome ScanDuplicates(const CollectionState& state,
                                    const std::vector<std::string>& files, bool shifted,
                                    const UiCallbacks& ui,
                                    const std::function<void(int record)>& onRecord) {
  DuplicateScanOutcome outcome;
  std::vector<bool> skip(files.size());
  for (std::size_t f = 0; f < files.size(); ++f) {
    skip[f] = files[f] == state.currentFileName || IsSameFile(files[f], state.currentFileName);
  }
  CollectionSnapshot snapshot;
  outcome.failure = snapshot.Open(state.currentFileName);
  if (!outcome.failure) return outcome;
  for (int record = std::max(state.currentIndex, 0); record < snapshot.count(); ++record) {
    if (onRecord) onRecord(record);
    if (ui.BreakRequested()) {
      outcome.broken = true;
      break;
    }
    ProblemIdentity identity;
    if (FileResult read = snapshot.ReadIdentity(record, identity); !read) {
      outcome.failure = read;
      break;
    }
    ++outcome.scanned;
    if (!HoldsAnyMan(identity.position)) continue;
    const std::string lines = DuplicateLines(PatternFromPosition(identity.position, shifted), files,
                                             skip, ui, outcome.unreadFiles);
    if (lines.empty()) continue;
    // The lines are added to the text stored at the moment of writing, under
    // the write lock, so that a text saved meanwhile is kept too.
    std::string added;
    const auto appendLines = [&](const std::string& stored, std::string& text) {
      text = AppendDuplicateLines(stored, lines, added);
      // A stored string holds at most 32767 characters: the lines that do
      // not fit are left out whole, so that what is reported is what is stored.
      while (text.size() > static_cast<std::size_t>(MaxHeapStringLength) && !added.empty()) {
        const std::size_t previous = added.rfind(LineEnd, added.size() - LineEnd.size() - 1);
        const std::size_t keep = previous == std::string::npos ? 0 : previous + LineEnd.size();
        text.resize(text.size() - (added.size() - keep));
        added.resize(keep);
      }
      return !added.empty();
    };
    int storedAt = record;
    const FileResult saved =
        EditSolutionText(state.currentFileName, record, identity, appendLines, storedAt);
    if (saved.status == FileStatus::NoRecord) {
      outcome.unstored.push_back({record + 1, lines, saved.detail});
      continue;
    }
    if (!saved) {
      outcome.failure = saved;
      break;
    }
    if (!added.empty()) outcome.notes.push_back({record + 1, added, storedAt + 1});
  }
  ui.Status(4, "");
  return outcome;
}

std::vector<std::string> DuplicateScanChanges(const DuplicateScanOutcome& outcome) {
  std::vector<std::string> changes;
  for (const DuplicateNote& note : outcome.notes) {
    if (note.storedAt == note.record) continue;
    changes.push_back("problem " + std::to_string(note.record) + " is now problem " +
                      std::to_string(note.storedAt) +
                      " (another program inserted or deleted problems meanwhile); its copies "
                      "were noted there");
  }
  for (const UnstoredNote& note : outcome.unstored) {
    changes.push_back(note.reason + "; its copies were not noted");
  }
  return changes;
}

}  // namespace kv
