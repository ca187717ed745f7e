#include "collections/search_criteria.h"

#include <algorithm>

namespace kv {
namespace {

constexpr char MemorizedZero = '0';

// Positions of the integer criteria in the memorized form.
enum Criterion {
  TotalMode = 0,
  TotalCount = 1,
  WhiteMode = 2,
  WhiteCount = 3,
  BlackMode = 4,
  BlackCount = 5,
  Aristocratic = 6,
  Twins = 7,
  MaterialActive = 16,
  Scope = 17,
  MatrixFlags = 19,
};

char Memorized(int value) {
  return static_cast<char>(static_cast<std::uint8_t>((value & 0xFF) + MemorizedZero));
}

int Unmemorized(char c) {
  return static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) - MemorizedZero);
}

// A material criterion from its two memorized values; a bad pair becomes "not used".
bool ReloadMaterial(int mode, int count, MaterialCriterion& criterion) {
  const bool valid = mode >= MaterialExactly && mode <= MaterialAtMost && count >= 0 &&
                     count <= MaxMaterialCount && (count != 0 || mode == MaterialExactly);
  criterion = valid ? MaterialCriterion{mode, count} : MaterialCriterion{};
  return valid;
}

bool ReloadFlag(int value, bool& flag) {
  flag = value == 1;
  return value <= 1;
}

}  // namespace

bool MaterialTestActive(const SearchCriteria& criteria) {
  return criteria.total.count != 0 || criteria.white.count != 0 || criteria.black.count != 0 ||
         criteria.aristocratic;
}

int CriteriaDialogResult(const SearchCriteria& criteria) {
  return criteria.total.count + criteria.white.count + criteria.black.count +
         (criteria.aristocratic ? 1 : 0) + (criteria.twins ? 1 : 0) + criteria.matrixFlags +
         criteria.type.moves + criteria.type.kindPlusOne + criteria.type.flags +
         (criteria.text.empty() ? 0 : 100);
}

std::string MemorizeCriteria(const SearchCriteria& criteria) {
  std::array<int, SearchCriterionCount> values{};
  values[TotalMode] = criteria.total.mode;
  values[TotalCount] = criteria.total.count;
  values[WhiteMode] = criteria.white.mode;
  values[WhiteCount] = criteria.white.count;
  values[BlackMode] = criteria.black.mode;
  values[BlackCount] = criteria.black.count;
  values[Aristocratic] = criteria.aristocratic ? 1 : 0;
  values[Twins] = criteria.twins ? 1 : 0;
  values[MaterialActive] = criteria.materialActive;
  values[Scope] = criteria.scope;
  values[MatrixFlags] = criteria.matrixFlags;
  std::string memorized;
  memorized.reserve(MemorizedFixedLength + MaxSearchTextLength);
  for (int value : values) memorized += Memorized(value);
  for (std::uint8_t byte : PatternBytes(criteria.pattern)) memorized += Memorized(byte);
  memorized += criteria.text.substr(0, MaxSearchTextLength);
  return memorized;
}

bool ReloadCriteria(std::string_view memorized, SearchCriteria& criteria) {
  std::string full(memorized);
  if (full.size() < MemorizedFixedLength) full.assign(MemorizedFixedLength, MemorizedZero);
  std::array<int, SearchCriterionCount> values{};
  for (int i = 0; i < SearchCriterionCount; ++i) values[i] = Unmemorized(full[i]);
  std::array<std::uint8_t, MatrixPatternBytes> patternBytes{};
  for (int i = 0; i < MatrixPatternBytes; ++i) {
    patternBytes[i] = static_cast<std::uint8_t>(Unmemorized(full[SearchCriterionCount + i]));
  }

  SearchCriteria reloaded;
  reloaded.type = criteria.type;
  bool valid = ReloadMaterial(values[TotalMode], values[TotalCount], reloaded.total);
  valid &= ReloadMaterial(values[WhiteMode], values[WhiteCount], reloaded.white);
  valid &= ReloadMaterial(values[BlackMode], values[BlackCount], reloaded.black);
  valid &= ReloadFlag(values[Aristocratic], reloaded.aristocratic);
  valid &= ReloadFlag(values[Twins], reloaded.twins);
  reloaded.materialActive = values[MaterialActive];
  if (values[Scope] <= ScopeDisk) {
    reloaded.scope = values[Scope];
  } else {
    valid = false;
  }
  const int flags = values[MatrixFlags];
  if (flags <= MatrixFlagsMask &&
      (flags & (MatrixIdentity | MatrixGap)) != (MatrixIdentity | MatrixGap)) {
    reloaded.matrixFlags = flags;
  } else {
    valid = false;
  }
  valid &= PatternFromBytes(patternBytes, reloaded.pattern);
  // The pattern and the Gap flag must agree about shifting, or the pattern
  // would be read with the wrong meaning of its first gap.
  if (!reloaded.pattern.men.empty() &&
      reloaded.pattern.shifted() != ((reloaded.matrixFlags & MatrixGap) != 0)) {
    reloaded.pattern = MatrixPattern{};
    valid = false;
  }
  reloaded.text = full.substr(MemorizedFixedLength, MaxSearchTextLength);
  criteria = std::move(reloaded);
  return valid;
}

std::array<std::string, SearchTextParts> SearchTextFields(std::string_view text) {
  std::array<std::string, SearchTextParts> fields;
  std::size_t part = 0;
  for (char c : text) {
    if (c == '\\') {
      if (++part == SearchTextParts) break;
      continue;
    }
    fields[part] += c;
  }
  return fields;
}

std::array<std::string, SearchTextParts> SplitSearchText(std::string_view text) {
  std::array<std::string, SearchTextParts> parts = SearchTextFields(text);
  if (std::count(text.begin(), text.end(), '\\') < SearchTextParts - 1) {
    for (int i = 1; i < SearchTextParts; ++i) parts[i].clear();
  }
  return parts;
}

std::string BuildSearchText(std::string_view author, std::string_view source,
                            std::string_view award, std::string_view comment) {
  std::string text(author);
  text += '\\';
  if (author.size() + source.size() < MaxSearchTextLength) {
    text.append(source).append("\\");
    if (text.size() + award.size() < MaxSearchTextLength) {
      text.append(award).append("\\");
      if (text.size() + comment.size() < MaxSearchTextLength) text.append(comment);
    }
  }
  if (text.size() > MaxSearchTextLength) text.resize(MaxSearchTextLength);
  return text;
}

}  // namespace kv
