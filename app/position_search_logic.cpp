#include "app/position_search_logic.h"

#include "collections/file_walk.h"

namespace kv::app {

int OpeningScope(int scope, bool fileOpen) {
  if (scope < ScopeFile || scope > ScopeDisk) return fileOpen ? ScopeFile : ScopeDirectory;
  return scope == ScopeFile && !fileOpen ? ScopeDirectory : scope;
}

std::string DiskLabel(std::string_view label, std::string_view startDirectory) {
  std::string text(label);
  if (startDirectory.empty()) return text;
  return text + " " + FileSystemRoot(std::string(startDirectory));
}

int SetMatrixFlag(int flags, int flag, bool on) {
  if (!on) return flags & ~flag;
  if (flag == MatrixIdentity) flags &= ~MatrixGap;
  if (flag == MatrixGap) flags &= ~MatrixIdentity;
  return (flags | flag) & MatrixFlagsMask;
}

void SetMaterialCount(MaterialCriterion& criterion, int count) {
  criterion.count = count;
  if (count == 0) criterion.mode = MaterialExactly;
}

int AcceptSearchCriteria(SearchCriteria& criteria) {
  criteria.materialActive = criteria.total.count + criteria.white.count + criteria.black.count +
                            (criteria.aristocratic ? 1 : 0);
  return CriteriaDialogResult(criteria);
}

void ClearSearchCriteria(SearchCriteria& criteria, bool fileOpen) {
  const TypeCriterion type = criteria.type;
  criteria = SearchCriteria{};
  criteria.type = type;
  criteria.scope = OpeningScope(ScopeFile, fileOpen);
}

MatrixPattern CurrentPattern(const SearchCriteria& criteria, const Board& board) {
  if ((criteria.matrixFlags & MatrixFlagsMask) == 0) return criteria.pattern;
  return PatternFromBoard(board, (criteria.matrixFlags & MatrixGap) != 0);
}

SearchMemory MemorizeSearch(SearchCriteria criteria, const Board& board) {
  criteria.pattern = CurrentPattern(criteria, board);
  AcceptSearchCriteria(criteria);
  return DecodeSearchMemory(MemorizeCriteria(criteria));
}

bool ReloadSearch(const SearchMemory& memory, bool fileOpen, SearchCriteria& criteria) {
  const bool valid = ReloadCriteria(EncodeSearchMemory(memory), criteria);
  criteria.scope = OpeningScope(criteria.scope, fileOpen);
  return valid;
}

bool CanRecoverMatrix(const SearchCriteria& criteria) {
  return !criteria.pattern.men.empty();
}

ProblemType TypeForDialog(const TypeCriterion& criterion) {
  ProblemType type;
  type.moves = static_cast<std::uint8_t>(criterion.moves);
  type.kind = static_cast<std::uint8_t>(criterion.kindPlusOne);
  type.flags = criterion.flags;
  return type;
}

TypeCriterion TypeCriterionOf(const ProblemType& type) {
  return {type.moves, type.kind, type.flags};
}

std::string TypeCriterionText(const TypeCriterion& criterion) {
  if (criterion.moves == 0 && criterion.kindPlusOne == 0 && criterion.flags == 0) return {};
  return FormatProblemType(TypeForDialog(criterion), true);
}

}  // namespace kv::app
