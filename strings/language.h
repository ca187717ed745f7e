// The string tables of the interface languages. Message n of the language
// with base L (0 French, 256 English, 512 Italian, 768 Spanish) has the id
// n + L. Texts are Windows-1252 bytes.
#pragma once

#include <string>

namespace kv {

inline constexpr int LanguageFrench = 0;
inline constexpr int LanguageEnglish = 256;
inline constexpr int LanguageItalian = 512;
inline constexpr int LanguageSpanish = 768;

// The interface language in force. Plain data: each test builds its own.
struct Language {
  int base = LanguageEnglish;  // 0, 256, 512 or 768
};

// Message n (0..256) of the language; an empty string for an unknown number.
std::string LoadMessage(const Language& language, int n);

// The short words made from messages 51..54 cut at every ';', by position:
// 0 "threat", 1 "waiting", 2 "But", 3 "Mate:", 4 "But Draw!", 5 " Mate in 1",
// 6 "Solution:", 7 "Try:", 8 "Set Play:", 9 "No solution", 10 "Searching solution",
// 11 "Search completed", 12 "Analyzing", 13 "User break", 14 "Changed position",
// 15 "Dubious position", 16 "Invalid position" (English). Empty when out of range.
std::string MessagePart(const Language& language, int position);

}  // namespace kv
