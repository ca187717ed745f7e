// The collection search: reads the records of one file, of a folder tree or
// of a whole file system straight from disk, without loading them, and fills
// the problem list with the (file, record) pairs that pass every criterion.
//
// Each test reads only what it needs: the type and position bytes come with
// the record's index entry (read for many records at once), a string is read
// only for the twins and text criteria and only for a record that passed the
// other tests. The search reads into its own buffers: the current problem,
// its stored board and the board are left as they are.
#pragma once

#include <string>
#include <vector>

#include "collections/file_result.h"
#include "collections/file_walk.h"
#include "collections/kvl_format.h"
#include "collections/problem_list.h"
#include "collections/search_criteria.h"
#include "collections/search_matrix.h"
#include "core/position.h"
#include "strings/ui_callbacks.h"

namespace kv {

// Where a search starts.
struct SearchPlace {
  std::string currentFile;     // the file of ScopeFile; empty when none is open
  std::string startDirectory;  // the folder of ScopeDirectory; ScopeDisk walks its file system
};

// A file the search could not read, and why.
struct UnreadFile {
  std::string path;
  FileResult result;
};

struct [[nodiscard]] SearchOutcome {
  int found = 0;              // entries in the list
  bool limitReached = false;  // stopped at the 20001st hit
  bool aborted = false;       // the list could not grow ("Search aborted")
  std::vector<UnreadFile> unreadFiles;
  // Folders of the walk that could not be read (RunSearch): their files were
  // not searched, which the caller says rather than pass over in silence.
  std::vector<UnreadFolder> unreadFolders;
};

// The record tests, each on what it needs.
bool MaterialMatches(const SearchCriteria& criteria, const PositionBytes& position);
bool TypeMatches(const TypeCriterion& type, const RecordHead& head);
// A stored twins field that holds at least one twin is at least this long.
inline constexpr int MinTwinsLength = 4;
// `parts` as SplitSearchText gives them; `texts` the authors, source, award
// and comment of the record. Every non-empty part must occur, case-sensitively.
bool TextMatches(const std::array<std::string, SearchTextParts>& parts,
                 const std::array<std::string, SearchTextParts>& texts);

// The files a search of `scope` reads: the current file; the collection
// files of the start folder tree; or those of the file system that holds it.
// The folders that could not be read are added to `unreadFolders` when given.
std::vector<std::string> SearchFileList(int scope, const SearchPlace& place,
                                        std::vector<UnreadFolder>* unreadFolders = nullptr);

// Searches `files` in order: the list is emptied, then every record that
// passes is appended; status part 4 counts the hits (" %d problem(s) found").
// The matrix patterns are taken from `board` (criteria.pattern becomes the
// pattern of the board as it stands). The list position is the first entry.
SearchOutcome SearchFiles(SearchCriteria& criteria, const Board& board,
                          const std::vector<std::string>& files, ProblemList& list,
                          const UiCallbacks& ui);

// The search of the dialog: the files of criteria.scope, then SearchFiles;
// the outcome names the folders that could not be read.
SearchOutcome RunSearch(SearchCriteria& criteria, const Board& board, const SearchPlace& place,
                        ProblemList& list, const UiCallbacks& ui);

}  // namespace kv
