// The solve of a series mover, as the driver runs it for a problem type with
// the series flag: the position checked for the side that plays the series,
// the search with its timer, the notes ("User break", "No solution") and
// the lines of the solutions, which a refresh writes again.
#pragma once

#include <memory>

#include "solver/problem_type.h"
#include "solver/series_search.h"

namespace kv {

struct Solver;
struct SolveEnvironment;

// Whether the solver takes a series problem type: one of the four kinds,
// 1..255 moves; White beginning means nothing to a series and is refused.
bool CanSolveSeries(const ProblemType& type);

// What the driver keeps of series solves: the search's memory, and the last
// result for a refresh.
struct SeriesSolves {
  SeriesMemory memory;
  bool haveLast = false;
  SeriesRules lastRules;
  SeriesResult lastResult;
  int lastMoves = 0;
  std::uint64_t lastMilliseconds = 0;
};

// One solve of the current position as a series mover of env.type with n
// moves (SolveRefresh: a refresh of the last one).
void SolveSeries(Solver& s, SolveEnvironment& env, int n);

}  // namespace kv
