// The words of the solution text that depend on the goal: its sign and its
// words. Mates keep the texts they always had ("#", " Mate in 1" from the
// message parts, "Short Mate"); the stalemate goal takes its own from
// message 218 of the language, a list cut at ";" like the message parts:
//
//   part  English           French              Italian            Spanish
//   0     " Stalemate in 1"  " Pat en 1"         " Stallo in 1"     " Ahogado en 1"
//   1     "Short solution"   "Solution courte"   "Soluzione breve"  "Soluci\xF3n corta"
//   2     "But Mate!"        "Mais mat !"        "Ma matto!"        "\xA1Pero mate!"
//
// Part 0 follows a first move that stalemates at once (as " Mate in 1"
// follows one that mates); part 1 heads the shorter solutions of a
// stalemate goal (as "Short Mate" heads a mate's); part 2 ends the line of
// a try or tested move of a stalemate goal that mates at once (as "But
// Draw!" ends a mate's that stalemates). The series solutions' words are
// message 240 (solver/series_writer.h). A string file that lacks message
// 218, or some of its parts, gets the English ones.
#pragma once

#include <string>

#include "core/goals.h"
#include "strings/language.h"

namespace kv {

enum class PlayWord : int {
  StalemateInOne = 0,
  ShortSolution = 1,
  ButMate = 2,
};

// A word of message 218, English where the language lacks it.
std::string PlayWordText(const Language& language, PlayWord word);

// "#" or "=": the sign after the move that reaches the goal.
const char* GoalSign(Goal goal);

// After a first move that reaches the goal at once: " Mate in 1" or
// " Stalemate in 1".
std::string GoalInOneText(const Language& language, Goal goal);

// The header of the shorter solutions: "Short Mate" or "Short solution".
std::string ShortSolutionHeader(const Language& language, Goal goal);

// The end of a try's line that reaches the other goal at once: "But Draw!"
// (a mate's try that stalemates) or "But Mate!" (a stalemate's that mates).
std::string OtherGoalText(const Language& language, Goal goal);

}  // namespace kv
