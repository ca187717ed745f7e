// The decisions of the position search dialog, without its widgets: which
// scope it offers, how the matrix flags and the counts constrain each other,
// what OK returns, and how the criteria are cleared, memorized and reloaded.
#pragma once

#include <string>
#include <string_view>

#include "collections/search_criteria.h"
#include "config/settings.h"
#include "core/position.h"
#include "solver/problem_type.h"

namespace kv::app {

// Without an open file there is no current file to search: the file scope
// becomes the directory scope.
int OpeningScope(int scope, bool fileOpen);

// The "&Disk" label with the file system it names: the label, a blank and
// the top folder of the file system that holds the start-up folder.
std::string DiskLabel(std::string_view label, std::string_view startDirectory);

// The matrix flags after one box is ticked or cleared: Identity and Gap
// exclude each other, so ticking one clears the other.
int SetMatrixFlag(int flags, int flag, bool on);

// A count typed or stepped into a material criterion: 0 means "not used" and
// puts the mode back to "exactly".
void SetMaterialCount(MaterialCriterion& criterion, int count);

// OK: notes the material value (the three counts and the aristocratic flag)
// and returns the dialog's result, non-zero exactly when a criterion is set.
int AcceptSearchCriteria(SearchCriteria& criteria);

// "Clear the criteria": counts, modes, flags, scope, matrix and text back to
// nothing. The type criterion has its own clear button and stays.
void ClearSearchCriteria(SearchCriteria& criteria, bool fileOpen);

// The pattern a memorized or searched matrix holds: the board's, anchored or
// shifted as the Gap flag says, when a matrix flag is set; otherwise the
// pattern kept from the last search.
MatrixPattern CurrentPattern(const SearchCriteria& criteria, const Board& board);

// "Memorize the criterias": the criteria with the board's pattern, in the
// form the configuration keeps under "Recherche".
SearchMemory MemorizeSearch(SearchCriteria criteria, const Board& board);

// "Reload the criterias": the memorized criteria (type criterion kept),
// with the scope fitted to whether a file is open. False when a memorized
// value was out of range and had to be dropped.
bool ReloadSearch(const SearchMemory& memory, bool fileOpen, SearchCriteria& criteria);

// "Recover the matrix" is offered while a pattern with men exists.
bool CanRecoverMatrix(const SearchCriteria& criteria);

// The type criterion as the problem-type dialog edits it in its search mode
// (kind 0 = any, real kinds one higher), and back.
ProblemType TypeForDialog(const TypeCriterion& criterion);
TypeCriterion TypeCriterionOf(const ProblemType& type);
// What the "&Type" group shows: the stipulation with "?" for any kind, or
// nothing while the type is not a criterion.
std::string TypeCriterionText(const TypeCriterion& criterion);

}  // namespace kv::app
