// The texts around the board, rebuilt from the current problem on every
// refresh: the information pane, the twins and men-count boxes, the problem
// type in the status bar and the file summary. Windows-1252 bytes.
#pragma once

#include <string>

#include "collections/current_problem.h"
#include "core/position.h"
#include "solver/solve_options.h"
#include "strings/language.h"

namespace kv::app {

// The information pane: the authors in display form, source, award, comment
// and the labelled extra strings, each ended by CR LF; two blanks anywhere
// force a line break.
std::string InformationText(const CurrentProblem& problem, const Language& language);

// The twins box: "a) ..." lines; at most two, the second ending " %c) ..."
// when more twins follow. lines receives the number of lines written.
std::string TwinsBoxText(const CurrentProblem& problem, const Board& board,
                         const Language& language, int& lines);

// Status part 2: " [STA]   Direct" with the option letters that are on and
// the kind's word, " serie" for a series-mover.
std::string ProblemTypeStatusText(const SolveOptions& options, const ProblemType& type,
                                  const Language& language);

// Status part 4 with a file open: " file - Position n°:3 / 12 ".
std::string FileSummaryText(const std::string& fileName, int currentIndex, int lastIndex,
                            const Language& language);

// The men-count box: "(%d+%d)".
std::string MenCountText(const Board& board);

}  // namespace kv::app
