// White's moves with the goal test of each (mate, or stalemate): the
// one-move layer of every search and the source of KeyList(1).
#include "core/rules.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

int ListMatingMoves(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, bool collectAll) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  MoveRecords& mates = state.KeyList(1);
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, *list) == -1) {
    // Nobody may read mates of an illegal position (the ad-lib copy would).
    mates.Clear();
    return -1;
  }
  std::uint8_t* marks = CheckMarksOf(state, list);
  // A stalemating move must reach one of these squares; the others are 0.
  const bool stalemate = state.goal == Goal::Stalemate;
  const StalemateFilter filter = stalemate ? MakeStalemateFilter(pos) : StalemateFilter{};
  int count = 0;
  for (int i = 0; list->moves[i].from != 0; ++i) {
    pos.probeMove = list->moves[i];
    const int result = !stalemate                      ? TestMateMove(pos)
                       : filter.Admits(list->moves[i]) ? TestStalemateMove(pos)
                                                       : 0;
    marks[i] = static_cast<std::uint8_t>(result);
    if (result != 100) continue;
    // In selfmates and reflexmates a white mate only tells that White could mate.
    if (state.selfMode != SelfMode::None) return 1;
    Append(mates, count, list->moves[i]);
    if (!collectAll) break;
  }
  Close(mates, count);
  return count > 0 ? 1 : 0;
}

}  // namespace kv
