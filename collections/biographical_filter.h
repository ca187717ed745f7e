// The biographical selection: which authors of the author list were born,
// died or lived where the user asks. Its result is a text of one tab-separated
// line per author kept; with "&Update current author list" ticked it also
// marks the others excluded, so that the information dialogs offer only the
// authors kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collections/author_list.h"

namespace kv {

// A result text longer than this is cut.
inline constexpr std::size_t MaxBiographicalResultLength = 48000;
inline constexpr std::size_t BiographicalCutLength = 47988;
inline constexpr std::string_view BiographicalCutMark = "\r\ntruncated";

// The dialog's fields; a year of 0 and an empty country are not set. They are
// kept from one opening of the dialog to the next.
struct BiographicalSelection {
  int bornFrom = 0;
  int bornTo = 0;
  int diedFrom = 0;
  int diedTo = 0;
  std::string country;  // Windows-1252
};

struct [[nodiscard]] BiographicalResult {
  std::string text;  // "name\tbirth\tdeath\tcountry\r\n" per author kept
  int total = 0;     // authors kept
};

// "&Initialize": no year, no country.
void InitializeSelection(BiographicalSelection& selection);

// A year field as a number, read as the program always read it: leading
// blanks, a sign, then digits up to the first other character; 0 when there
// is none (an absent year).
int YearValue(std::string_view field);

// Whether the selection keeps `author`. A bound on the birth from below
// drops only known earlier births; a bound from above also drops unknown
// births (likewise for the death). The country must be contained in the
// author's country.
bool SelectionKeeps(const BiographicalSelection& selection, const AuthorEntry& author);

// OK: the result text (cut to 47988 characters and "\r\ntruncated" when it
// would be longer than 48000) and the number kept. With `updateList` every
// dropped author is marked excluded and every kept one not excluded.
BiographicalResult ApplyBiographicalSelection(const BiographicalSelection& selection,
                                              std::vector<AuthorEntry>& authors, bool updateList);

// "Total : %d  ".
std::string BiographicalTotalText(int total);

}  // namespace kv
