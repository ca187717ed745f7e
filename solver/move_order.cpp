// Move ordering: the moves most likely to decide a level come first. The
// order changes only the speed of a search, never its results.
#include <array>

#include "core/attacks.h"
#include "core/rules.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

namespace {

// A record already copied to the scratch list; no real captured man is 8.
constexpr std::int8_t Taken = OffBoard;

// Copies the records that `wanted` selects, in list order, to the scratch
// list (and their marks to `scratchMarks`), marking them taken.
template <typename Predicate>
void TakeInOrder(MoveList& list, int length, std::uint8_t* marks, MoveList& scratch,
                 std::uint8_t* scratchMarks, int& out, Predicate wanted) {
  for (int i = 0; i < length; ++i) {
    Move& move = list.moves[i];
    if (move.captured == Taken || !wanted(move, marks[i])) continue;
    scratch.moves[out] = move;
    scratchMarks[out] = marks[i];
    ++out;
    move.captured = Taken;
  }
}

void CopyBack(MoveList& list, int length, std::uint8_t* marks, const MoveList& scratch,
              const std::uint8_t* scratchMarks) {
  for (int i = 0; i < length; ++i) {
    list.moves[i] = scratch.moves[i];
    marks[i] = scratchMarks[i];
  }
}

}  // namespace

void OrderWhiteMoves(SearchContext& ctx, MoveList* list, const MoveRecords& keys) {
  SearchState& state = ctx.state;
  const int length = ListLength(*list);
  if (length < 2) return;
  MoveList& scratch = state.ScratchList();
  std::uint8_t* marks = CheckMarksOf(state, list);
  std::array<std::uint8_t, MoveListCapacity + 1> scratchMarks{};
  int out = 0;
  const Move key = keys.records[0];
  if (key.from != 0)
    TakeInOrder(*list, length, marks, scratch, scratchMarks.data(), out,
                [&](const Move& m, int) { return SameSquares(m, key); });
  TakeInOrder(*list, length, marks, scratch, scratchMarks.data(), out,
              [](const Move&, int mark) { return mark != 0; });
  // Captures by the value of the man taken: queen or rook, knight or bishop, pawn.
  for (const std::int8_t low : {BlackQueen, BlackKnight, BlackPawn}) {
    const std::int8_t high = low == BlackPawn ? BlackPawn : static_cast<std::int8_t>(low + 1);
    TakeInOrder(
        *list, length, marks, scratch, scratchMarks.data(), out,
        [low, high](const Move& m, int) { return m.captured == low || m.captured == high; });
  }
  TakeInOrder(*list, length, marks, scratch, scratchMarks.data(), out,
              [](const Move&, int) { return true; });
  CopyBack(*list, length, marks, scratch, scratchMarks.data());
}

void OrderBlackReplies(SearchContext& ctx, MoveList* list, const Move& killer) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  const int length = ListLength(*list);
  if (length < 2) return;
  MoveList& scratch = state.ScratchList();
  // The marks here only say whether a reply checks; they are not kept. The
  // replies follow a legal white move, so no black man checks before them.
  std::array<std::uint8_t, MoveListCapacity + 1> checks{};
  std::array<std::uint8_t, MoveListCapacity + 1> scratchMarks{};
  for (int i = 0; i < length; ++i) checks[i] = BlackReplyChecks(pos, list->moves[i]);
  int out = 0;
  if (killer.from != 0)
    TakeInOrder(*list, length, checks.data(), scratch, scratchMarks.data(), out,
                [&](const Move& m, int) { return SameSquares(m, killer); });
  TakeInOrder(*list, length, checks.data(), scratch, scratchMarks.data(), out,
              [](const Move&, int check) { return check != 0; });
  for (const std::int8_t victim : {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight, WhitePawn})
    TakeInOrder(*list, length, checks.data(), scratch, scratchMarks.data(), out,
                [victim](const Move& m, int) { return m.captured == victim; });
  TakeInOrder(*list, length, checks.data(), scratch, scratchMarks.data(), out,
              [](const Move&, int) { return true; });
  for (int i = 0; i < length; ++i) list->moves[i] = scratch.moves[i];
}

}  // namespace kv
