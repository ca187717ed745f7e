// The stipulation of a problem and the options that steer the solver.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// Problem kinds.
inline constexpr int KindDirect = 0;
inline constexpr int KindHelp = 1;
inline constexpr int KindSelf = 2;
inline constexpr int KindReflex = 3;

// ProblemType flags.
inline constexpr std::uint8_t FlagSeries = 0x08;
inline constexpr std::uint8_t FlagStalemate = 0x10;
inline constexpr std::uint8_t FlagMaximum = 0x20;
inline constexpr std::uint8_t FlagWhiteBegins = 0x40;

// Five bytes in the order the configuration and collection files store them.
struct ProblemType {
  std::uint8_t moves = 2;  // 0 marks a study ("+" win, "=" draw)
  std::uint8_t kind = KindDirect;
  std::uint8_t flags = 0;
  std::uint8_t spare = 0;
  std::uint8_t directLetterFlag = 0;  // not 0: a direct problem shows the letter d
};

// The type text: " #3", "sh#5", " s=4 max", " h#2 W", "+", "=".
// forSearchDialog: kind letters "?dhsr" (kind 0 = any, real kinds one higher)
// and no study form.
std::string FormatProblemType(const ProblemType& type, bool forSearchDialog = false);

// Reads a type text as FormatProblemType writes it, with or without the
// leading blank: "#2", "h#3", "s#2", "r#4", "h#2 W", "s=4 max", "sh#5",
// "s #3" (series direct), "d#2", "+", "="; and the usual written forms of
// problemists: "ser-h#5" (the series mark written out), "h=2.5" and
// "h#0.5" (a helpmate in which White begins, half a move counted for
// White's first: h=3 W, h#1 W). Returns false (type untouched) for
// anything else, a move count outside 1..255, or " W" or ".5" on a kind
// other than a helpmate (or on a series).
bool ParseProblemType(std::string_view text, ProblemType& type);

// True when the solver takes the problem: one of the four kinds, at least
// one move, a mate or stalemate goal, with or without the maximum mark; a
// series mover without the White-begins flag.
bool CanSolve(const ProblemType& type);

}  // namespace kv
