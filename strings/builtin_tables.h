// The built-in string tables and menus, generated at build time from the data
// files of the four languages.
#pragma once

#include <string_view>
#include <vector>

#include "strings/menu.h"

namespace kv::builtin {

inline constexpr int LanguageCount = 4;  // French, English, Italian, Spanish
// The language indexes (base / 256) that other tables fall back on or end at.
inline constexpr int EnglishIndex = 1;
inline constexpr int CustomIndex = LanguageCount;

// Message n (0..256) of built-in language index 0..3; empty when unknown.
std::string_view Message(int index, int n);

// The menu lines of built-in language index 0..3.
std::vector<MenuLine> MenuLines(int index);

}  // namespace kv::builtin
