// The soundness verdict of a problem: from what the searches found for each
// part (the diagram or each twin) to one word a composer or an editor reads
// in a check report. Pure functions over small records, so that the check of
// a collection, the window program and the tests share one judgement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The verdicts, from the best to the ones that stop the judgement.
enum class Verdict {
  Sound,            // one key; a helpmate: the stated number of solutions
  Cooked,           // more keys or helpmate solutions than intended
  TooFewSolutions,  // a helpmate with fewer solutions than it states
  NoSolution,       // nothing at the stated length or shorter
  ShortMate,        // a mate shorter than the stipulation
  InvalidPosition,  // the validation refused the position
  NotSolvable,      // a kind or length the solver does not take
  TimedOut,         // the time given to one problem ran out
  Stopped,          // the user broke the check off
  Unreadable,       // the record could not be read from the file
};

// The words of a verdict in reports: "sound", "cooked", "no solution", ...
std::string_view VerdictName(Verdict verdict);

// What the searches found for one part of a problem.
struct PartOutcome {
  bool helpmate = false;
  bool stalemate = false;         // the goal is stalemate: a short one is "stalemate in n"
  bool solvable = true;           // CanSolve of the part's type
  std::string invalidText;        // the validation's finding; empty when valid
  bool broken = false;            // the search was broken off
  bool timedOut = false;          // ... because the problem's time ran out
  int movesAsked = 0;             // the stipulation's length as searched
  int movesFound = 0;             // the shortest length found (0: none)
  std::vector<std::string> keys;  // battle play: every key; helpmates: every solution
  int shortSolutions = 0;         // helpmates: solutions shorter than stated
};

// The judgement of one part; `stated` is the number of solutions a helpmate
// announces (battle play always wants one key).
Verdict JudgePart(const PartOutcome& part, int stated);

// The verdict of a problem and the words that explain it.
struct ProblemVerdict {
  Verdict verdict = Verdict::Sound;
  std::string detail;  // the keys of a cook, the validation text, "b) ..."
};

// The problem is as good as its worst part: the first part whose verdict is
// not "sound" decides, named by its twin letter when there are twins.
// `partNames` holds "a)", "b)" ... (empty for a problem without twins).
ProblemVerdict JudgeProblem(const std::vector<PartOutcome>& parts,
                            const std::vector<std::string>& partNames, int stated);

// The number of solutions a helpmate announces in its texts: "2 solutions",
// "3 sol.", or the composers' count "2.1.1.1" (two solutions of one
// black and one white move each) in the stipulation or the comment. 1 when
// nothing is stated, as a helpmate without a count is read by convention.
int StatedSolutions(std::string_view text);

}  // namespace kv
