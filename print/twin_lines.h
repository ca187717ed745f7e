// The twins of a problem as a printed diagram lists them under the board.
#pragma once

#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "core/position.h"
#include "strings/language.h"

namespace kv::print {

// One entry per line: "a) ...", an entry combined with the next sharing its
// line. Windows-1252.
std::vector<std::string> TwinLines(const CurrentProblem& problem, const Board& board,
                                   const Language& language);

}  // namespace kv::print
