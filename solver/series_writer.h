// The text of a series mover's solutions. Each solution is one line: the
// series side's moves numbered 1 ... n, then, after two blanks, the other
// side's last move; the goal's sign ("#" mate, "=" stalemate) closes the
// line, and the last move of the series, the only one that may check, is
// marked "+" when it does and does not itself mate:
//
//    1. Rb4 2. c4 3. Kc5 4. Kb6 5. Bc6 6. Rd5 7. Sd4 8. Sb5  Se4#   (ser-h#8)
//    1. Qe4 2. Qg2 3. Kg1 ... 8. Qa8#                              (ser-#8)
//    1. Sc1 2. Sa2+  bxa2#                                          (ser-s#2)
//
// A selfmate's forced last moves, or a reflexmate's goal moves, are joined
// by ", " before the sign. Above the lines: "Short solution" when they are
// shorter than stated, and "N solutions" when there are two or more.
#pragma once

#include <string>

#include "solver/series_search.h"
#include "solver/solution_writer.h"
#include "strings/language.h"

namespace kv {

// The positions of the series words in message msg::SeriesWords, cut at
// ";": 0 "Short solution", 1 "solutions". A custom string file without it
// speaks English.
inline constexpr int SeriesWordShortSolution = 0;
inline constexpr int SeriesWordSolutions = 1;

// A series word of the language; the English word when the language's
// message lacks it.
std::string SeriesWord(const Language& language, int position);

// One solution's line as it is written after its line break, the series
// played from w.ctx.pos (which is left as it was).
std::string SeriesLineText(Writer& w, const SeriesRules& rules, const SeriesSolution& solution);

// The notes and lines of a search's result: "Short solution" when
// result.length < statedMoves, "N solutions", then every line kept, each on a
// line of its own, and a last line break. Fills w.tree with one play per
// solution when it is set. Nothing when there is no solution.
void WriteSeriesSolutions(Writer& w, const SeriesRules& rules, const SeriesResult& result,
                          int statedMoves);

}  // namespace kv
