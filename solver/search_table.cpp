// The result table in front of the searches below the root. A hit must leave
// everything the caller reads as the search would have: the result and, for
// the shorter search of a level, White's move list with its check marks in
// the order the search leaves it. Killers and the last-mate hint are not
// reproduced; they change only the speed of later searches.
#include <array>
#include <cstdio>
#include <cstdlib>

#include "core/rules.h"
#include "solver/position_key.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv::search_detail {

namespace {

// One key per mode, so that a direct, selfmate and reflexmate result of the
// same position never meet.
constexpr std::uint64_t ModeKeys[3] = {0x6A09E667F3BCC908ull, 0xBB67AE8584CAA73Bull,
                                       0x3C6EF372FE94F82Bull};

}  // namespace

std::uint64_t ResultKey(const Position& pos, SelfMode selfMode, int lastFrom, int lastTo) {
  Move last{};
  last.from = static_cast<std::int8_t>(lastFrom);
  last.to = static_cast<std::int8_t>(lastTo);
  if (lastTo >= 0 && lastTo < BoardCells) last.moved = pos.board[lastTo];
  return PositionKey(pos, last) ^ WhiteToMoveKey ^ ModeKeys[static_cast<int>(selfMode)];
}

std::uint64_t ResultKey(const SearchState& state, const Position& pos, int lastFrom, int lastTo) {
  return ResultKey(pos, state.selfMode, lastFrom, lastTo) ^ RulesKey(state);
}

namespace {

int Search(SearchContext& ctx, int moves, int lastFrom, int lastTo, MoveList* list) {
  const TryLimit limit = SearchLimit(ctx.state);
  return moves == 2 ? SearchMateInTwo(ctx, lastFrom, lastTo, list, false, limit)
                    : SearchMateInN(ctx, moves, lastFrom, lastTo, list, false, limit);
}

// White's moves as a search that found nothing leaves them: in generation
// order with the mate test's marks (none in a selfmate, which does not test
// White's mates); a search of three or more moves after a real last move has
// sorted them by checks and captures (its own keys, the first in that order,
// are empty then).
void RebuildWhiteList(SearchContext& ctx, int moves, int lastFrom, int lastTo, MoveList* list) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  GenerateWhiteMoves(pos, lastFrom, lastTo, *list);
  std::uint8_t* marks = CheckMarksOf(state, list);
  for (int i = 0; list->moves[i].from != 0; ++i) {
    if (state.selfMode == SelfMode::Self) {
      marks[i] = 0;
    } else {
      pos.probeMove = list->moves[i];
      marks[i] = static_cast<std::uint8_t>(TestGoalMove(state, pos));
    }
  }
  if (moves >= 3 && lastFrom != 0) {
    MoveRecords noKeys{};
    OrderWhiteMoves(ctx, list, noKeys);
  }
}

[[noreturn]] void HitDiffers(const char* what, int moves, int table, int searched) {
  std::fprintf(stderr, "result table: the %s of a %d-move search differs (table %d, search %d)\n",
               what, moves, table, searched);
  std::abort();
}

// Searches a hit again and aborts when the search disagrees with the table.
void VerifyHit(SearchContext& ctx, int moves, int lastFrom, int lastTo, MoveList* list,
               bool listWanted, int result) {
  SearchState& state = ctx.state;
  MoveList rebuilt = *list;
  std::uint8_t* marks = CheckMarksOf(state, list);
  std::array<std::uint8_t, MoveListCapacity + 1> rebuiltMarks{};
  for (int i = 0; i <= MoveListCapacity; ++i) rebuiltMarks[i] = marks[i];
  const int searched = Search(ctx, moves, lastFrom, lastTo, list);
  if (state.userBreak != 0) return;
  if (searched != result) HitDiffers("result", moves, result, searched);
  if (!listWanted || result != 0) return;
  for (int i = 0; i <= MoveListCapacity; ++i) {
    const Move& a = rebuilt.moves[i];
    const Move& b = list->moves[i];
    if (a.from != b.from || a.to != b.to || a.placed != b.placed || a.captured != b.captured)
      HitDiffers("move list", moves, i, -1);
    if (a.from == 0) break;
    if (rebuiltMarks[i] != marks[i]) HitDiffers("check marks", moves, rebuiltMarks[i], marks[i]);
  }
}

}  // namespace

int SearchBelow(SearchContext& ctx, int moves, int lastFrom, int lastTo, MoveList* list,
                bool listWanted) {
  SearchState& state = ctx.state;
  ResultTable& table = state.sharedTable != nullptr ? *state.sharedTable : state.resultTable;
  if (!table.Enabled() || state.helpMode != HelpMode::None)
    return Search(ctx, moves, lastFrom, lastTo, list);
  // A deferred table is made by the first search below a root; a helper
  // thread's table is the main state's, made before the helper started.
  table.Make();
  const std::uint64_t key = ResultKey(state, ctx.pos, lastFrom, lastTo);
  if (const ResultTable::Answer answer = table.Find(key, moves); answer.known) {
    ++table.hits;
    // Only a search that found nothing hands its list on: the caller stops
    // at any other result.
    if (listWanted && answer.result == 0) RebuildWhiteList(ctx, moves, lastFrom, lastTo, list);
    if (table.verifyHits) VerifyHit(ctx, moves, lastFrom, lastTo, list, listWanted, answer.result);
    return answer.result;
  }
  const int result = Search(ctx, moves, lastFrom, lastTo, list);
  // A search cut short by the user proves nothing.
  if (state.userBreak == 0) table.Store(key, moves, result);
  return result;
}

}  // namespace kv::search_detail
