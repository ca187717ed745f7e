// Series movers: one side plays a series of moves without reply, then the
// goal is reached. ser-#n / ser-=n: White plays n moves, the last mates or
// stalemates Black. ser-h#n / ser-h=n: Black plays n moves, then White mates
// or stalemates in one. ser-s#n / ser-s=n: White plays n moves, then Black
// must mate or stalemate White at once: Black has legal moves and all of
// them reach the goal. ser-r#n / ser-r=n: as ser-s, but a side that can reach
// the goal at once must do so: Black needs only one move that reaches it,
// and White may never stand, before one of its series moves, where it could
// reach the goal itself. No move of the series but the last may give check.
// Under the maximum mark Black plays only its longest moves, wherever it
// moves.
//
// The search proves the shortest series first (lengths 1, 2, ... up to the
// stated one) and lists every series of the first length that has any: a
// series shorter than stated is a short solution. A table keeps positions
// proved to have no solution within a number of moves, so that a position
// reached again by another order of moves is not searched again.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/position.h"
#include "solver/problem_type.h"
#include "solver/series_table.h"
#include "strings/ui_callbacks.h"

namespace kv {

enum class SeriesFamily {
  Direct,  // ser-#, ser-=: White's series ends in the goal
  Help,    // ser-h#, ser-h=: Black's series, then White reaches the goal
  Self,    // ser-s#, ser-s=: White's series, then Black is forced to reach it
  Reflex,  // ser-r#, ser-r=: as Self, with the obligation to reach it when able
};

struct SeriesRules {
  SeriesFamily family = SeriesFamily::Direct;
  bool stalemate = false;  // the goal is stalemate instead of mate
  bool maximum = false;    // Black is a maximummer
};

// The rules of a problem type that has the series flag.
SeriesRules SeriesRulesOf(const ProblemType& type);

// Whether Black plays the series (a series helpmate); else White does.
inline bool BlackPlaysSeries(const SeriesRules& rules) {
  return rules.family == SeriesFamily::Help;
}

// One solution: the moves of the series, in order, and the other side's
// last move. In a series helpmate that is White's one move (another final
// move is another solution); in a series selfmate Black's forced moves,
// every one of them; in a series reflexmate Black's moves that reach the
// goal; a series direct mate has none.
struct SeriesSolution {
  std::vector<Move> series;
  std::vector<Move> finals;
};

// At most this many solutions are kept; more are counted. Far more than the
// solution text can show.
inline constexpr std::size_t MaxKeptSeriesSolutions = 100000;

struct [[nodiscard]] SeriesResult {
  int length = 0;                         // the length of the solutions found; 0 when there is none
  std::vector<SeriesSolution> solutions;  // in the order the search met them
  std::uint64_t count = 0;                // solutions found, kept or not
  bool broken = false;                    // the user broke off: what was found so far
  std::uint64_t nodes = 0;                // moves the search played
};

// From this many moves on, a series search reaches far more positions than
// the default table holds, and each one lost is searched again: a ser-h=14
// took 536 s with the default table and 118 s with the deep one (128 MB).
// Shorter series keep the default sizes.
inline constexpr int DeepSeriesMoves = 8;
inline constexpr std::size_t DeepSeriesTableSlots = std::size_t{1} << 24;
inline constexpr std::size_t DefaultSeriesCacheSlots = std::size_t{1} << 18;
inline constexpr std::size_t DeepSeriesCacheSlots = std::size_t{1} << 21;

// What a series search keeps between calls: the table and the move lists.
// Large: allocate it once.
struct SeriesMemory {
  explicit SeriesMemory(std::size_t tableSlots = DefaultSeriesTableSlots) : table(tableSlots) {}
  // Gives a search of `moves` moves its table and, when it keeps what its
  // bounds found (`cachesBounds`: a series helpstalemate), its bound cache;
  // not during a search. From DeepSeriesMoves on both grow to their deep
  // sizes. Only a table of the default size grows: one sized on purpose (by
  // a test) is kept, and so is the default one when the memory cannot be
  // had. The cache is made for the searches that use it alone, so that no
  // other series solve writes its megabytes.
  void PrepareFor(int moves, bool cachesBounds) {
    if (moves >= DeepSeriesMoves && table.Slots() == DefaultSeriesTableSlots) {
      SeriesTable deep(DeepSeriesTableSlots);
      if (deep.Enabled()) table = std::move(deep);
    }
    if (!cachesBounds) return;
    const std::size_t slots =
        table.Slots() == DeepSeriesTableSlots ? DeepSeriesCacheSlots : DefaultSeriesCacheSlots;
    if (boundCache.size() < 2 * slots) boundCache.assign(2 * slots, 0);
  }
  SeriesTable table;
  // One move list per move of the longest series, and one for the last
  // move of the other side.
  std::vector<MoveList> lists;
  // Whether the cheap bounds rule positions out (off only to check them).
  bool bounds = true;
  // Whether a series helpstalemate also asks whether its black men can all
  // end stuck in the moves left (off only to check that it changes no
  // answer).
  bool stuckMenBound = true;
  // What a series helpstalemate's bounds found, by position: a power of two
  // of slots of two words each (16 bytes, one cache line's quarter), so
  // that a position's answers come in one read from memory. Empty until
  // PrepareFor makes it.
  std::vector<std::uint64_t> boundCache;
};

// Searches the series of 1..`moves` moves (1..255) from `pos`, whose state
// is derived (ValidatePosition or DerivePositionState) and whose series side
// is to move, and returns every solution of the shortest length that has
// any. `ui` is polled for a break now and then; it may be null. The
// position is left as it was found. With two `threads`, a second thread
// takes half of each length's second moves; the solutions and their order
// are the same.
SeriesResult SearchSeries(Position& pos, const SeriesRules& rules, int moves, SeriesMemory& memory,
                          const UiCallbacks* ui, int threads = 1);

}  // namespace kv
