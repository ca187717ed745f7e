// The second core in a battle-play key search. While the main thread runs
// the root loop as ever, a helper thread walks the root's white moves from
// the last one back and searches Black's replies below them into the shared
// result table. The table holds only exact answers, so whatever the helper
// finished before the main thread arrives is a hit there and the solution
// text is the same with one thread or two.
#pragma once

#include "solver/search.h"

namespace kv {

// Starts the helper for a key search `moves` deep (3..6) of the position of
// `ctx` with the try limit `tryLimit`, when the state asks for two threads,
// the search is battle play and the table is on. Does nothing otherwise.
void StartRootHelper(SearchContext& ctx, int moves, TryLimit tryLimit);

// Before the main thread's root loop searches its move `index`, `move`:
// the helper leaves that move and the ones before it to the main thread, and
// the main thread waits while the helper is in the middle of that very move.
// Does nothing when no helper runs.
void RootHelperReached(SearchContext& ctx, int index, const Move& move);

// Stops the helper (it stores nothing more) and waits for it. Safe to call
// when none runs.
void StopRootHelper(SearchState& state);

}  // namespace kv
