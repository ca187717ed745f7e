// Reading a problem type back from its type text, for the command line and
// the importers: the inverse of FormatProblemType.
#pragma once

#include <string_view>

#include "solver/problem_type.h"

namespace kv {

// Accepts the type text with or without its leading blank: "#2", " #3",
// "d#2", "h#3", "s#2", "r#4", "sh#5" (series), "s=4 max", "h#2 W", "h=3",
// and the studies "+" (win) and "=" (draw). Moves 1..255; " max" and " W"
// in either order, " W" only for helpmates. On failure `type` is unchanged.
bool ParseProblemType(std::string_view text, ProblemType& type);

}  // namespace kv
