// The author list, the source list and the country list that the information
// dialogs offer. The author list file (the configuration key "ListeAuteurs",
// "auteurs.txt" by default) holds one author a line: name;birth;death;country;
// anything after the fourth ";" is ignored, and reading stops at the first
// line with fewer than four separators. "SOURCES.TXT" holds source names one
// a line up to a line that begins with "#", then country names. Both are
// Windows-1252 text and are read once, at start and when another author list
// is chosen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collections/file_result.h"

namespace kv {

inline constexpr int MaxAuthorListEntries = 20001;
// A line of the author list holds at most this many characters; the rest of
// a longer line is dropped.
inline constexpr std::size_t MaxAuthorLineLength = 199;
inline constexpr std::size_t MaxAuthorNameLength = 32;
inline constexpr std::size_t MaxYearLength = 4;
inline constexpr std::size_t MaxCountryLength = 16;
// What is read of a line of SOURCES.TXT before it is cut.
inline constexpr std::size_t MaxSourceLineLength = 99;
inline constexpr std::size_t MaxSourceNameLength = 32;
inline constexpr std::size_t MaxCountryLineLength = 19;
// Entries kept of each part of SOURCES.TXT.
inline constexpr int MaxSourceListEntries = 20001;
// A list file larger than this is not read.
inline constexpr std::size_t MaxListFileSize = 8u << 20;

inline constexpr std::string_view DefaultAuthorListFile = "auteurs.txt";
inline constexpr std::string_view SourcesFileName = "SOURCES.TXT";

struct AuthorEntry {
  std::string name;       // at most 32 characters
  std::string birth;      // at most 4 characters, as written
  std::string death;      // at most 4 characters, as written
  std::string country;    // at most 16 characters
  bool excluded = false;  // left out by the last biographical selection with update
};

struct AuthorAndSourceLists {
  std::vector<AuthorEntry> authors;
  std::vector<std::string> sources;    // at most 32 characters each
  std::vector<std::string> countries;  // at most 16 characters each
};

// Where the reading of an author list stopped before the end of its text:
// the line (from 1), what it holds and how many of the four ";" it has.
// line 0: the whole text was read.
struct AuthorListStop {
  int line = 0;
  std::string text;
  int separators = 0;
};

// The authors of an author list file's text. Reading stops at the first
// line with fewer than four separators; `stop`, when given, says which.
std::vector<AuthorEntry> ParseAuthorList(std::string_view text, AuthorListStop* stop = nullptr);

// What the user is told of a stop: the file, the line, what it lacks and
// that the authors after it were not read. Empty for a list read whole.
std::string AuthorListStopMessage(std::string_view file, const AuthorListStop& stop);

// The sources and countries of a SOURCES.TXT text.
void ParseSourcesFile(std::string_view text, std::vector<std::string>& sources,
                      std::vector<std::string>& countries);

// Reads a whole list file: only a regular file of at most MaxListFileSize
// bytes; CannotOpen otherwise, with the reason.
FileResult ReadListFile(const std::string& path, std::string& text);

// Fills the author list from its file; a file that cannot be read leaves the
// list empty (the result says why).
FileResult LoadAuthorList(const std::string& path, std::vector<AuthorEntry>& authors,
                          AuthorListStop* stop = nullptr);

// At start: the author list from `authorListPath`, the source and country
// lists from `sourcesPath`. A file that cannot be read leaves its lists
// empty, as the program always started without them.
void LoadAuthorAndSourceLists(const std::string& authorListPath, const std::string& sourcesPath,
                              AuthorAndSourceLists& lists, AuthorListStop* stop = nullptr);
// At exit.
void FreeAuthorAndSourceLists(AuthorAndSourceLists& lists);

// The authors the information dialogs offer: those not excluded, in order.
std::vector<std::string> OfferedAuthors(const std::vector<AuthorEntry>& authors);

}  // namespace kv
