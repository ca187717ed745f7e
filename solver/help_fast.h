// The fast helpmate search: whether a position, with a given number of white
// moves left, leads to a helpmate at all. It walks both sides' moves with a
// table of positions already decided, so a position reached again by another
// move order is answered at once, and it stops at the first line that mates.
// The helpmate search asks it before it searches a black reply, and walks
// only the replies it confirms; since the answer is exact, the search keeps
// its own order and its text.
#pragma once

#include <cstdint>
#include <vector>

#include "core/position.h"
#include "solver/help_table.h"

namespace kv {

struct SearchContext;

// The fast search's working memory, one per search state.
struct HelpFast {
  bool enabled = true;
  HelpTable table;
  // One move list per ply of the deepest walk (six white and six black moves).
  std::vector<MoveList> lists = std::vector<MoveList>(14);
  std::uint64_t nodes = 0;  // positions the fast search reached
};

// The answers of HelpMateWithin.
inline constexpr int HelpIllegal = -1;  // Black's last move left its king attacked
inline constexpr int HelpNoMate = 0;    // no helpmate within the moves left
inline constexpr int HelpMate = 1;      // some line mates within them

// White to move after Black's move `last` (already played; a null record at
// the start) with `moves` (1..6) white moves left, the last of them mating:
// whether Black and White together reach mate within them. Leaves the
// position as it found it.
int HelpMateWithin(HelpFast& fast, Position& pos, const Move& last, int moves);

// The helpmate search's question before it searches Black's reply `last`
// with `moves` white moves left: HelpIllegal or HelpNoMate when the fast
// search proves it, HelpMate when the reply must be searched (it mates, or
// the fast search is off).
int FastHelpVerdict(SearchContext& ctx, const Move& last, int moves);

}  // namespace kv
