// The criteria of the collection search: material, the position pattern (the
// matrix) with its symmetry and shifting flags, problem type, twins and text,
// and the one-line form in which they are memorized in the configuration.
//
// The 22 integer criteria keep a fixed order because the memorized form
// stores them by position: 0 total mode, 1 total count, 2 white mode,
// 3 white count, 4 black mode, 5 black count, 6 aristocratic, 7 twins,
// 8..15 reserved, 16 material active, 17 scope, 18 reserved, 19 matrix flags,
// 20..21 reserved.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "collections/search_matrix.h"

namespace kv {

// How a count of men compares (messages 70..72: "exactly", "at least", "at the most").
inline constexpr int MaterialExactly = 0;
inline constexpr int MaterialAtLeast = 1;
inline constexpr int MaterialAtMost = 2;
inline constexpr int MaxMaterialCount = 32;

// Where the search looks.
inline constexpr int ScopeFile = 0;       // the current file
inline constexpr int ScopeDirectory = 1;  // the start-up folder and its subfolders
inline constexpr int ScopeDisk = 2;       // the file system that holds the start-up folder

// The text criterion: author, "\", source, "\", award, "\", comment.
inline constexpr int MaxSearchTextLength = 32;
inline constexpr int SearchTextParts = 4;

inline constexpr int SearchCriterionCount = 22;
// Criteria, pattern bytes, then the text.
inline constexpr int MemorizedFixedLength = SearchCriterionCount + MatrixPatternBytes;  // 86

struct MaterialCriterion {
  int mode = MaterialExactly;
  int count = 0;  // 0: not used
};

// The type criterion; each part 0 means any.
struct TypeCriterion {
  int moves = 0;
  int kindPlusOne = 0;     // the ProblemType kind + 1
  std::uint8_t flags = 0;  // every one of these must be set in the record
};

struct SearchCriteria {
  MaterialCriterion total;
  MaterialCriterion white;
  MaterialCriterion black;
  bool aristocratic = false;  // no pawn of either colour
  bool twins = false;         // the record has at least one twin entry
  int materialActive = 0;     // the sum the dialog stores; kept for the memorized form
  int scope = ScopeFile;
  int matrixFlags = 0;    // 0: no matrix criterion
  MatrixPattern pattern;  // taken from the board when the search starts
  std::string text;       // at most 32 characters
  TypeCriterion type;
};

// The material test is on when a count or the aristocratic flag is set.
bool MaterialTestActive(const SearchCriteria& criteria);

// What the search dialog's OK returns: non-zero exactly when a criterion is
// set (the counts, aristocratic and twins, the matrix flags and the type
// values, plus 100 for a text).
int CriteriaDialogResult(const SearchCriteria& criteria);

// The criteria as the configuration keeps them: 22 characters, each the low
// byte of a criterion plus "0", the 64 pattern bytes each plus "0", then the
// text. The type criterion is not part of it.
std::string MemorizeCriteria(const SearchCriteria& criteria);

// The reverse, into the criteria (type criterion untouched). A value shorter
// than 86 characters counts as all "0" with no text. Values out of their
// range (a mode above 2, a count above 32, an unknown scope, Identity with
// Gap, a pattern that leaves the board) fall back to "not used" rather than
// reaching the search; returns false when anything had to be dropped.
bool ReloadCriteria(std::string_view memorized, SearchCriteria& criteria);

// The four parts of the text criterion. With fewer than three backslashes
// only the author part is used (the others are empty).
std::array<std::string, SearchTextParts> SplitSearchText(std::string_view text);

// The text criterion from the detail dialog's four fields: author + "\",
// then source + "\" while author and source together stay below 32
// characters, award + "\" while the running total stays below 32, then the
// comment while it still does; cut at 32 characters.
std::string BuildSearchText(std::string_view author, std::string_view source,
                            std::string_view award, std::string_view comment);

// The four fields the detail dialog shows: the text cut at every backslash.
std::array<std::string, SearchTextParts> SearchTextFields(std::string_view text);

}  // namespace kv
