#include "collections/search.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

#include "collections/file_walk.h"
#include "collections/problem_file.h"

namespace kv {
namespace {

// Position bytes as the material test classes them: white men 0x21 .. 0x27,
// black men above 0x28.
constexpr std::uint8_t FirstWhiteByte = 0x21;
constexpr std::uint8_t LastWhiteByte = 0x27;
constexpr std::uint8_t LastNonBlackByte = 0x28;
constexpr std::uint8_t WhitePawnByte = WhitePawn + PositionByteBias;
constexpr std::uint8_t BlackPawnByte = BlackPawn + PositionByteBias;

// How many index entries are read at once.
constexpr int HeadBatch = 256;

constexpr std::array<int, SearchTextParts> TextSlots = {SlotAuthors, SlotSource, SlotAward,
                                                        SlotComment};

bool CountMatches(const MaterialCriterion& criterion, int count) {
  if (criterion.count == 0) return true;
  switch (criterion.mode) {
    case MaterialAtLeast:
      return count >= criterion.count;
    case MaterialAtMost:
      return count <= criterion.count;
    default:
      return count == criterion.count;
  }
}

bool TypeTestActive(const TypeCriterion& type) {
  return type.moves != 0 || type.kindPlusOne != 0 || type.flags != 0;
}

bool AnyText(const std::array<std::string, SearchTextParts>& parts) {
  for (const std::string& part : parts)
    if (!part.empty()) return true;
  return false;
}

std::string FoundText(int count) {
  char text[48];
  std::snprintf(text, sizeof text, " %d problem(s) found", count);
  return text;
}

// Everything a search decides once, before the first record.
struct PreparedSearch {
  explicit PreparedSearch(const SearchCriteria& c) : criteria(c) {}
  const SearchCriteria& criteria;
  bool material = false;
  bool type = false;
  std::vector<MatrixPattern> patterns;  // empty: no matrix test
  std::array<std::string, SearchTextParts> textParts;
  bool text = false;
};

// The tests that need only the record's index entry.
bool HeadPasses(const PreparedSearch& search, const RecordHead& head) {
  if (search.material && !MaterialMatches(search.criteria, head.position)) return false;
  if (search.type && !TypeMatches(search.criteria.type, head)) return false;
  if (!search.patterns.empty()) {
    bool any = false;
    for (const MatrixPattern& pattern : search.patterns) {
      if (MatchesPattern(pattern, head.position)) {
        any = true;
        break;
      }
    }
    if (!any) return false;
  }
  return true;
}

// The tests that read strings of the record; a string that cannot be read
// fails its test.
bool StringsPass(const PreparedSearch& search, const CollectionReader& reader, int record) {
  if (search.criteria.twins) {
    std::string twins;
    if (!reader.ReadString(record, SlotTwins, twins, MinTwinsLength) ||
        static_cast<int>(twins.size()) < MinTwinsLength) {
      return false;
    }
  }
  if (search.text) {
    std::array<std::string, SearchTextParts> texts;
    for (int i = 0; i < SearchTextParts; ++i) {
      if (search.textParts[i].empty()) continue;
      if (!reader.ReadString(record, TextSlots[i], texts[i], TextSearchReadLength)) return false;
    }
    if (!TextMatches(search.textParts, texts)) return false;
  }
  return true;
}

}  // namespace

bool MaterialMatches(const SearchCriteria& criteria, const PositionBytes& position) {
  int white = 0;
  int black = 0;
  bool pawn = false;
  for (std::uint8_t byte : position) {
    if (byte >= FirstWhiteByte && byte <= LastWhiteByte) {
      ++white;
    } else if (byte > LastNonBlackByte) {
      ++black;
    }
    pawn = pawn || byte == WhitePawnByte || byte == BlackPawnByte;
  }
  return CountMatches(criteria.total, white + black) && CountMatches(criteria.white, white) &&
         CountMatches(criteria.black, black) && !(criteria.aristocratic && pawn);
}

bool TypeMatches(const TypeCriterion& type, const RecordHead& head) {
  if (type.moves != 0 && head.moves != type.moves) return false;
  if (type.kindPlusOne != 0 && (head.typeByte & TypeKindMask) != type.kindPlusOne - 1) {
    return false;
  }
  return (head.typeByte & type.flags) == type.flags;
}

bool TextMatches(const std::array<std::string, SearchTextParts>& parts,
                 const std::array<std::string, SearchTextParts>& texts) {
  for (int i = 0; i < SearchTextParts; ++i) {
    if (!parts[i].empty() && texts[i].find(parts[i]) == std::string::npos) return false;
  }
  return true;
}

std::vector<std::string> SearchFileList(int scope, const SearchPlace& place,
                                        std::vector<UnreadFolder>* unreadFolders) {
  if (scope == ScopeFile && !place.currentFile.empty()) return {place.currentFile};
  if (scope == ScopeDisk) {
    return CollectionFilesUnder(FileSystemRoot(place.startDirectory), true, unreadFolders);
  }
  // The directory scope, and the file scope while no file is open (the
  // dialog turns that into the directory scope too).
  return CollectionFilesUnder(place.startDirectory, false, unreadFolders);
}

SearchOutcome SearchFiles(SearchCriteria& criteria, const Board& board,
                          const std::vector<std::string>& files, ProblemList& list,
                          const UiCallbacks& ui) {
  ClearProblemList(list);
  SearchOutcome outcome;
  PreparedSearch search(criteria);
  search.material = MaterialTestActive(criteria);
  search.type = TypeTestActive(criteria.type);
  if ((criteria.matrixFlags & MatrixFlagsMask) != 0) {
    search.patterns = SearchPatterns(board, criteria.matrixFlags);
    criteria.pattern = search.patterns.front();
  }
  search.textParts = SplitSearchText(criteria.text);
  search.text = AnyText(search.textParts);

  std::vector<RecordHead> heads(HeadBatch);
  for (const std::string& path : files) {
    CollectionReader reader;
    if (FileResult opened = reader.Open(path); !opened) {
      outcome.unreadFiles.push_back({path, opened});
      continue;
    }
    for (int first = 0; first < reader.count(); first += HeadBatch) {
      const int n = std::min(HeadBatch, reader.count() - first);
      if (FileResult read = reader.ReadHeads(first, n, heads.data()); !read) {
        outcome.unreadFiles.push_back({path, read});
        break;
      }
      for (int i = 0; i < n; ++i) {
        const int record = first + i;
        if (!HeadPasses(search, heads[static_cast<std::size_t>(i)])) continue;
        if (!StringsPass(search, reader, record)) continue;
        bool added = false;
        try {
          added = AddListEntry(list, path, record + 1);
        } catch (const std::bad_alloc&) {
        }
        if (!added) {
          ui.Status(4, "Search aborted");
          outcome.aborted = true;
          outcome.found = list.count();
          return outcome;
        }
        ui.Status(4, FoundText(list.count()));
        if (list.count() >= MaxProblemListEntries) {
          outcome.limitReached = true;
          outcome.found = list.count();
          return outcome;
        }
      }
    }
  }
  outcome.found = list.count();
  list.position = 0;
  return outcome;
}

SearchOutcome RunSearch(SearchCriteria& criteria, const Board& board, const SearchPlace& place,
                        ProblemList& list, const UiCallbacks& ui) {
  std::vector<UnreadFolder> unreadFolders;
  const std::vector<std::string> files = SearchFileList(criteria.scope, place, &unreadFolders);
  SearchOutcome outcome = SearchFiles(criteria, board, files, list, ui);
  outcome.unreadFolders = std::move(unreadFolders);
  return outcome;
}

}  // namespace kv
