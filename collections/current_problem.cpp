#include "collections/current_problem.h"

#include <algorithm>
#include <cstdio>

namespace kv {
namespace {

constexpr char DegreeSign = '\xB0';  // "°" in Windows-1252
constexpr std::size_t AuthorsLineWidth = 32;

// "Surname, Given names" as "Given names Surname"; an author without a comma
// stays as written.
std::string DisplayAuthor(std::string_view author) {
  const std::size_t comma = author.find(',');
  if (comma == std::string_view::npos) return std::string(author);
  std::string_view given = author.substr(comma + 1);
  while (!given.empty() && given.front() == ' ') given.remove_prefix(1);
  std::string shown(given);
  shown += ' ';
  shown += author.substr(0, comma);
  return shown;
}

}  // namespace

PositionBytes BoardToPositionBytes(const Board& board) {
  PositionBytes bytes{};
  for (int n = 0; n < PositionByteCount; ++n) {
    bytes[n] = static_cast<std::uint8_t>(board[StoredSquare(n)] + PositionByteBias);
  }
  return bytes;
}

void PositionBytesToBoard(const PositionBytes& bytes, Board& board) {
  for (int n = 0; n < PositionByteCount; ++n) {
    board[StoredSquare(n)] = static_cast<std::int8_t>(bytes[n] - PositionByteBias);
  }
}

bool IsProblemModified(const CurrentProblem& problem, const Board& board) {
  return problem.infoModified || BoardToPositionBytes(board) != problem.storedBoard;
}

void ClearProblemInformation(CurrentProblem& problem) {
  problem.authors.clear();
  problem.source.clear();
  problem.award.clear();
  problem.comment.clear();
  problem.twins.clear();
  for (std::string& extra : problem.extraStrings) extra.clear();
  problem.type.kind = KindDirect;
  problem.type.moves = 2;
}

std::string_view FitText(std::string_view text, std::size_t maxLength) {
  text = text.substr(0, std::min(text.size(), maxLength));
  return text.substr(0, text.find('\0'));
}

std::string CleanExtraString(std::string_view text) {
  std::string clean(FitText(text, MaxExtraStringLength));
  for (char& c : clean) {
    if (c == '\\') c = '/';
  }
  return clean;
}

std::string JoinExtraStrings(const std::array<std::string, ExtraStringCount>& extra) {
  std::string slot6;
  for (int i = 0; i < ExtraStringCount; ++i) {
    const std::string text = CleanExtraString(extra[i]);
    if (text.empty()) continue;
    slot6 += ExtraStringTags[i];
    slot6 += text;
  }
  return slot6;
}

std::array<std::string, ExtraStringCount> SplitExtraStrings(std::string_view slot6) {
  std::array<std::string, ExtraStringCount> extra;
  for (int i = 0; i < ExtraStringCount; ++i) {
    const std::size_t tag = slot6.find(ExtraStringTags[i]);
    if (tag == std::string_view::npos) continue;
    std::string_view text = slot6.substr(tag + ExtraStringTags[i].size());
    text = text.substr(0, text.find('\\'));
    extra[i] = std::string(FitText(text, MaxExtraStringLength));
  }
  return extra;
}

AwardParts SplitAward(std::string_view award) {
  AwardParts parts;
  std::size_t digits = 0;
  while (digits < award.size() && digits < 4 && award[digits] >= '0' && award[digits] <= '9') {
    parts.ordinal = parts.ordinal * 10 + (award[digits] - '0');
    ++digits;
  }
  if (parts.ordinal == 0) {
    parts.text = std::string(award);
    return parts;
  }
  const std::size_t prefix = parts.ordinal <= 9 ? 3 : 4;
  parts.text = std::string(award.substr(std::min(prefix, award.size())));
  return parts;
}

std::string BuildAward(int ordinal, std::string_view text) {
  std::string award;
  if (ordinal != 0) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%d%c ", ordinal, DegreeSign);
    award = prefix;
  }
  award += text;
  award.resize(FitText(award, MaxDialogAwardLength).size());
  return award;
}

std::vector<std::string> SplitAuthors(std::string_view authors) {
  std::vector<std::string> lines;
  authors = FitText(authors, MaxAuthorsLength);
  while (!authors.empty()) {
    const std::size_t end = authors.find(';');
    lines.emplace_back(authors.substr(0, end));
    if (end == std::string_view::npos) break;
    authors.remove_prefix(end + 1);
  }
  return lines;
}

std::string JoinAuthors(const std::vector<std::string>& lines) {
  std::string authors;
  for (const std::string& line : lines) {
    const std::size_t added = (authors.empty() ? 0 : 1) + line.size();
    if (authors.size() + added > static_cast<std::size_t>(MaxAuthorsLength)) break;
    if (!authors.empty()) authors += ';';
    authors += line;
  }
  return authors;
}

std::string AuthorsDisplayText(std::string_view authors) {
  std::string shown;
  std::size_t lineStart = 0;  // where the current line's first author starts in `authors`
  std::size_t start = 0;
  bool first = true;
  authors = FitText(authors, MaxAuthorsLength);
  while (start < authors.size() && shown.size() <= static_cast<std::size_t>(MaxAuthorsLength)) {
    std::size_t end = authors.find(';', start);
    if (end == std::string_view::npos) end = authors.size();
    if (!first) {
      shown += ", ";
      if (end - lineStart > AuthorsLineWidth) {
        shown += "\r\n";
        lineStart = start;
      }
    }
    shown += DisplayAuthor(authors.substr(start, end - start));
    first = false;
    start = end + 1;
  }
  return shown;
}

}  // namespace kv
