// The decisions of the two information dialogs, without widgets: the author
// lines of the list box and what Add and Remove do to them, the authors the
// drop-down fields offer, the author look-up of "&Information", and what
// the dialog's OK stores into the problem. (The offered authors are
// kv::OfferedAuthors of the author list.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collections/author_list.h"
#include "collections/current_problem.h"

namespace kv::app {

// "&Add" takes at most this many characters of the author entry.
inline constexpr std::size_t MaxAddedAuthorLength = 47;
// "&Information" looks up this many characters of the entry.
inline constexpr std::size_t AuthorLookupLength = 14;

struct AuthorLines {
  std::vector<std::string> lines;
  int selected = -1;  // -1: no line selected
};

// The list box of an authors string: one line per ";"-separated author.
AuthorLines OpenAuthorLines(std::string_view authors);
// "&Add": the entry (cut to 47 characters; nothing when empty) goes before
// the selected line, or at the end when none is; the new line is selected
// when a line had been selected.
void AddAuthorLine(AuthorLines& list, std::string_view entry);
// "&Remove": deletes the selected line; the selection stays at its position,
// or moves to the last line.
void RemoveAuthorLine(AuthorLines& list);

// The first author whose name contains the first 14 characters of `entry`,
// or nullptr (also for an empty entry).
const AuthorEntry* FindAuthor(const std::vector<AuthorEntry>& authors, std::string_view entry);
// The status line of a found author: "name birth-death country".
std::string AuthorInformationText(const AuthorEntry& author);

// What the information dialog edits, as its fields hold it.
struct InformationFields {
  AuthorLines authors;
  std::string source;
  int awardOrdinal = 0;  // 0: the ordinal field is empty
  std::string awardText;
  std::string comment;
};

InformationFields OpenInformationFields(const CurrentProblem& problem);
// OK: a pending entry (or an empty list) is added first, then authors,
// source, award and comment are stored, each within its limit.
void StoreInformationFields(InformationFields fields, std::string_view pendingEntry,
                            bool entryPending, CurrentProblem& problem);

// The additional-information dialog's OK: each of the five texts as the
// field keeps it (a backslash shown as "/", 127 characters).
void StoreExtraStrings(const std::array<std::string, ExtraStringCount>& texts,
                       CurrentProblem& problem);

}  // namespace kv::app
