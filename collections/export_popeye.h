// Export to solver input files (".inp"), in the English keywords: one problem
// after another, the first opened by "beginproblem", the others by
// "nextproblem", the last closed by "endproblem" (see RunExport). Texts are
// written as the Windows-1252 bytes they are, with CR LF line ends.
//
// A problem is written only when all of it can be said in the file: its
// stipulation, men, texts and twins. The solution text is not written (the
// file describes problems, not their solutions).
#pragma once

#include <string>
#include <string_view>

#include "collections/current_problem.h"
#include "core/position.h"
#include "solver/problem_type.h"

namespace kv {

inline constexpr std::string_view PopeyeFirstProblem = "beginproblem\r\n";
inline constexpr std::string_view PopeyeNextProblem = "nextproblem\r\n";
inline constexpr std::string_view PopeyeEndOfProblems = "endproblem\r\n";

// The stipulation as the file writes it ("#2", "h#2.5", "ser-s=4"); empty
// for a type it cannot express (a study, White beginning other than in a
// helpmate).
std::string PopeyeStipulation(const ProblemType& type);

// The commands of one problem (without the keyword that opens it). False,
// with `reason` set, when the problem cannot be written whole.
bool PopeyeProblemText(const CurrentProblem& problem, const Board& board, std::string& text,
                       std::string& reason);

}  // namespace kv
