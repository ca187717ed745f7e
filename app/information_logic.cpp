#include "app/information_logic.h"

#include <algorithm>

namespace kv::app {

AuthorLines OpenAuthorLines(std::string_view authors) {
  AuthorLines list;
  if (!authors.empty()) list.lines = SplitAuthors(authors);
  return list;
}

void AddAuthorLine(AuthorLines& list, std::string_view entry) {
  if (entry.empty()) return;
  std::string line(entry.substr(0, MaxAddedAuthorLength));
  const bool hadSelection = list.selected >= 0 && list.selected < int(list.lines.size());
  if (hadSelection) {
    list.lines.insert(list.lines.begin() + list.selected, std::move(line));
  } else {
    list.lines.push_back(std::move(line));
    list.selected = -1;
  }
}

void RemoveAuthorLine(AuthorLines& list) {
  if (list.selected < 0 || list.selected >= int(list.lines.size())) return;
  list.lines.erase(list.lines.begin() + list.selected);
  list.selected = std::min(list.selected, int(list.lines.size()) - 1);
}

const AuthorEntry* FindAuthor(const std::vector<AuthorEntry>& authors, std::string_view entry) {
  const std::string_view key = entry.substr(0, AuthorLookupLength);
  if (key.empty()) return nullptr;
  for (const AuthorEntry& author : authors) {
    if (author.name.find(key) != std::string::npos) return &author;
  }
  return nullptr;
}

std::string AuthorInformationText(const AuthorEntry& author) {
  return author.name + " " + author.birth + "-" + author.death + " " + author.country;
}

InformationFields OpenInformationFields(const CurrentProblem& problem) {
  InformationFields fields;
  fields.authors = OpenAuthorLines(problem.authors);
  fields.source = problem.source;
  const AwardParts award = SplitAward(problem.award);
  fields.awardOrdinal = award.ordinal;
  fields.awardText = award.text;
  fields.comment = problem.comment;
  return fields;
}

void StoreInformationFields(InformationFields fields, std::string_view pendingEntry,
                            bool entryPending, CurrentProblem& problem) {
  if (entryPending || fields.authors.lines.empty()) AddAuthorLine(fields.authors, pendingEntry);
  problem.authors = JoinAuthors(fields.authors.lines);
  problem.source = std::string(FitText(fields.source, MaxSourceLength));
  problem.award = BuildAward(fields.awardOrdinal, fields.awardText);
  problem.comment = std::string(FitText(fields.comment, MaxCommentLength));
}

void StoreExtraStrings(const std::array<std::string, ExtraStringCount>& texts,
                       CurrentProblem& problem) {
  for (int i = 0; i < ExtraStringCount; ++i) problem.extraStrings[i] = CleanExtraString(texts[i]);
}

}  // namespace kv::app
