#include "collections/author_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "collections/locked_file.h"

namespace kv {
namespace {

constexpr int AuthorFieldCount = 4;

// Walks a text line by line: LF or CR LF ends a line; a last line without
// an end counts too. Each line is cut at `maxLength`, the rest of it dropped.
class LineReader {
 public:
  LineReader(std::string_view text, std::size_t maxLength) : text_(text), max_(maxLength) {}

  bool Next(std::string_view& line) {
    if (text_.empty()) return false;
    std::size_t end = text_.find('\n');
    std::string_view whole = text_.substr(0, end);
    text_ = end == std::string_view::npos ? std::string_view() : text_.substr(end + 1);
    if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
    line = whole.substr(0, std::min(whole.size(), max_));
    return true;
  }

 private:
  std::string_view text_;
  std::size_t max_;
};

std::string Cut(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, std::min(text.size(), length)));
}

}  // namespace

std::vector<AuthorEntry> ParseAuthorList(std::string_view text, AuthorListStop* stop) {
  std::vector<AuthorEntry> authors;
  LineReader lines(text, MaxAuthorLineLength);
  std::string_view line;
  int number = 0;
  if (stop != nullptr) *stop = AuthorListStop{};
  while (static_cast<int>(authors.size()) < MaxAuthorListEntries && lines.Next(line)) {
    ++number;
    std::string_view fields[AuthorFieldCount];
    std::size_t start = 0;
    int found = 0;
    for (; found < AuthorFieldCount; ++found) {
      const std::size_t separator = line.find(';', start);
      if (separator == std::string_view::npos) break;
      fields[found] = line.substr(start, separator - start);
      start = separator + 1;
    }
    if (found < AuthorFieldCount) {
      // The list ends here, as it always did; the caller can say why.
      if (stop != nullptr) *stop = AuthorListStop{number, std::string(line), found};
      break;
    }
    authors.push_back(AuthorEntry{Cut(fields[0], MaxAuthorNameLength),
                                  Cut(fields[1], MaxYearLength), Cut(fields[2], MaxYearLength),
                                  Cut(fields[3], MaxCountryLength), false});
  }
  return authors;
}

void ParseSourcesFile(std::string_view text, std::vector<std::string>& sources,
                      std::vector<std::string>& countries) {
  sources.clear();
  countries.clear();
  // Sources are read in lines of 99 characters, countries in lines of 19:
  // split the text at the "#" line first so each part gets its own limit.
  std::string_view sourcePart = text;
  std::string_view countryPart;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '#') {
      sourcePart = text.substr(0, at);
      const std::size_t end = text.find('\n', at);
      countryPart = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      break;
    }
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }

  LineReader sourceLines(sourcePart, MaxSourceLineLength);
  std::string_view line;
  while (static_cast<int>(sources.size()) < MaxSourceListEntries && sourceLines.Next(line))
    sources.push_back(Cut(line, MaxSourceNameLength));

  LineReader countryLines(countryPart, MaxCountryLineLength);
  while (static_cast<int>(countries.size()) < MaxSourceListEntries && countryLines.Next(line))
    countries.push_back(Cut(line.substr(0, line.find(';')), MaxCountryLength));
}

FileResult ReadListFile(const std::string& path, std::string& text) {
  text.clear();
  // Without blocking, so that a named pipe given as a list is refused.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(FileStatus::CannotOpen, ErrnoText(errno));
  struct stat info {};
  FileResult result;
  if (fstat(fd, &info) != 0) {
    result = Fail(FileStatus::CannotOpen, ErrnoText(errno));
  } else if (!S_ISREG(info.st_mode)) {
    result = Fail(FileStatus::CannotOpen, "not a regular file");
  } else if (static_cast<std::uint64_t>(info.st_size) > MaxListFileSize) {
    result = Fail(FileStatus::CannotOpen, "larger than a list file can be");
  } else {
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = Fail(FileStatus::CannotOpen, ErrnoText(errno));
        break;
      }
      if (n == 0) break;  // the file shrank meanwhile: take what is there
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (result) text = std::move(bytes);
  }
  close(fd);
  return result;
}

std::string AuthorListStopMessage(std::string_view file, const AuthorListStop& stop) {
  if (stop.line == 0) return {};
  std::string text = std::string(file) + ", line " + std::to_string(stop.line) + ": ";
  if (stop.text.find_first_not_of(" \t") == std::string::npos) {
    text += "the line is empty.";
  } else {
    text += "\"" + stop.text + "\" has " + std::to_string(stop.separators) +
            " of the four \";\" an author line needs (name;birth;death;country;)";
    if (stop.separators == AuthorFieldCount - 1) text += ": its final \";\" is missing";
    text += ".";
  }
  return text + " The authors from this line on are not read.";
}

FileResult LoadAuthorList(const std::string& path, std::vector<AuthorEntry>& authors,
                          AuthorListStop* stop) {
  authors.clear();
  if (stop != nullptr) *stop = AuthorListStop{};
  std::string text;
  FileResult result = ReadListFile(path, text);
  if (result) authors = ParseAuthorList(text, stop);
  return result;
}

void LoadAuthorAndSourceLists(const std::string& authorListPath, const std::string& sourcesPath,
                              AuthorAndSourceLists& lists, AuthorListStop* stop) {
  // A list that cannot be read stays empty: the program starts without it.
  static_cast<void>(LoadAuthorList(authorListPath, lists.authors, stop));
  std::string text;
  if (ReadListFile(sourcesPath, text)) {
    ParseSourcesFile(text, lists.sources, lists.countries);
  } else {
    lists.sources.clear();
    lists.countries.clear();
  }
}

void FreeAuthorAndSourceLists(AuthorAndSourceLists& lists) {
  lists = AuthorAndSourceLists{};
}

std::vector<std::string> OfferedAuthors(const std::vector<AuthorEntry>& authors) {
  std::vector<std::string> names;
  for (const AuthorEntry& author : authors)
    if (!author.excluded) names.push_back(author.name);
  return names;
}

}  // namespace kv
