// Duplicate information: one author, source, award, comment or second source
// written into every selected problem of the list, optionally numbered, as the
// dialog "Dupliquer les informations" does when the user presses OK.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "collections/problem_file.h"
#include "collections/problem_list.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

// The dialog's fields, in the order of its check boxes.
enum DuplicatedField {
  DuplicateAuthor = 0,
  DuplicateSource = 1,
  DuplicateAward = 2,
  DuplicateComment = 3,
  DuplicateSecondSource = 4,
};
inline constexpr int DuplicatedFieldCount = 5;
// Each text field takes this many characters.
inline constexpr std::size_t MaxDuplicatedTextLength = 127;

struct DuplicateInformation {
  std::array<bool, DuplicatedFieldCount> ticked{};
  std::array<std::string, DuplicatedFieldCount> texts;  // Windows-1252
  int startNumber = 0;                                  // 0: no numbering
};

// Writes the ticked fields into the k-th problem of the selection (k from 0).
// With a start number n other than 0, the source and the second source (when
// ticked) get n + k appended. Each text is cut to its field; a backslash in
// the second source becomes "/", as the extra strings take it.
void ApplyDuplicateInformation(const DuplicateInformation& info, int k, CurrentProblem& problem);

struct [[nodiscard]] DuplicateOutcome {
  int saved = 0;
  int failed = 0;           // problems that could not be loaded or saved
  FileResult firstFailure;  // already shown to the user
};

// For each entry in list order: load the problem into the program's problem
// and board, apply the information, save it in place. The first failure is
// shown once (message 45 with the file name); the others go on.
DuplicateOutcome RunDuplicateInformation(const DuplicateInformation& info, const ProblemList& list,
                                         const std::vector<ProblemListEntry>& entries,
                                         CollectionState& collection, CurrentProblem& problem,
                                         Board& board, const Language& language,
                                         const UiCallbacks& ui);

}  // namespace kv
