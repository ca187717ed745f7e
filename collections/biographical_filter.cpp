#include "collections/biographical_filter.h"

namespace kv {

void InitializeSelection(BiographicalSelection& selection) {
  selection = BiographicalSelection{};
}

int YearValue(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  int value = 0;
  // Year fields hold at most four characters, but a caller may pass more:
  // stop growing before the value could overflow.
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    if (value < 100000000) value = value * 10 + (field[i] - '0');
  }
  return negative ? -value : value;
}

bool SelectionKeeps(const BiographicalSelection& s, const AuthorEntry& author) {
  const int birth = YearValue(author.birth);
  const int death = YearValue(author.death);
  if (s.bornFrom != 0 && birth != 0 && birth < s.bornFrom) return false;
  if (s.bornTo != 0 && (birth == 0 || birth > s.bornTo)) return false;
  if (s.diedFrom != 0 && death != 0 && death < s.diedFrom) return false;
  if (s.diedTo != 0 && (death == 0 || death > s.diedTo)) return false;
  if (!s.country.empty() && author.country.find(s.country) == std::string::npos) return false;
  return true;
}

BiographicalResult ApplyBiographicalSelection(const BiographicalSelection& selection,
                                              std::vector<AuthorEntry>& authors, bool updateList) {
  BiographicalResult result;
  for (AuthorEntry& author : authors) {
    const bool keep = SelectionKeeps(selection, author);
    if (updateList) author.excluded = !keep;
    if (!keep) continue;
    ++result.total;
    // Once the text is past its cut, further lines would only be cut off.
    if (result.text.size() > MaxBiographicalResultLength) continue;
    result.text +=
        author.name + '\t' + author.birth + '\t' + author.death + '\t' + author.country + "\r\n";
  }
  if (result.text.size() > MaxBiographicalResultLength) {
    result.text.resize(BiographicalCutLength);
    result.text += BiographicalCutMark;
  }
  return result;
}

std::string BiographicalTotalText(int total) {
  return "Total : " + std::to_string(total) + "  ";
}

}  // namespace kv
