// The bottom level of every search: can White force mate (or stalemate) in
// two, or, in the selfmate modes, force Black to reach the goal on the next
// move.
#include "core/attacks.h"
#include "core/rules.h"
#include "solver/position_key.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

namespace {

// After White's legal move `w` in a selfmate: whether the killer is a legal
// black reply here that cannot reach the goal, so that Black need not. A
// maximummer's killer may not be among its longest moves here, so it is not
// tried.
bool SelfKillerRefutes(SearchContext& ctx, const Move& w, const Move& killer) {
  Position& pos = ctx.pos;
  Move reply{};
  if (killer.from == 0 || ctx.state.maximummer || !BlackMoveFits(pos, killer, w.from, w.to, reply))
    return false;
  const bool check = BlackReplyChecks(pos, reply);
  if (check == (ctx.state.goal == Goal::Mate)) return false;
  MakeMove(pos, reply);
  const bool legal =
      !IsSquare(pos.blackKingSquare) || AttackedByWhiteMen(pos, pos.blackKingSquare) == 0;
  UnmakeMove(pos, reply);
  return legal;
}

// The white moves of `list` judged in selfmate or reflexmate mode: each is a
// key when Black must then mate.
int SelfMateInTwo(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, bool top,
                  TryLimit limit) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  if (state.selfMode == SelfMode::Reflex) {
    // White's own mate is compulsory in a reflexmate: the line fails.
    const int result = ListMatingMoves(ctx, lastFrom, lastTo, list, false);
    if (result == 1) return -2;
    if (result == -1) return -1;
  } else {
    // A selfmate only needs White's moves; whether White could mate does not matter.
    if (GenerateWhiteMoves(pos, lastFrom, lastTo, *list) == -1) return -1;
    const int length = ListLength(*list);
    std::uint8_t* marks = CheckMarksOf(state, list);
    for (int i = 0; i < length; ++i) marks[i] = 0;
  }
  // Black's last move mated White: success one move early.
  if (WhiteIsMated(ctx, list) == 1) return 1;

  MoveRecords& keys = state.KeyList(2);
  MoveRecords& tries = state.TryList(2);
  // A selfmate's killers: the last two legal black replies that did not
  // reach the goal. Without tries one such reply settles a white move.
  Move& killer = state.refutationKiller[2];
  Move& secondKiller = state.selfSecondKiller;
  const bool tryKiller = state.selfMode == SelfMode::Self && !limit.ListsTries();
  // Without tries nothing is asked of an illegal white move, so it is told
  // from the attack on White's king before Black's replies are made.
  const bool skipIllegal = !limit.ListsTries() && IsSquare(pos.whiteKingSquare);
  const int length = ListLength(*list);
  const int start = !top && !keys.Empty() ? StartIndex(*list, length, keys.records[0]) : 0;
  int keyCount = 0;
  int tryCount = 0;
  for (int step = 0; step < length; ++step) {
    const Move w = list->moves[(start + step) % length];
    MakeMove(pos, w);
    ++state.nodes;
    if (skipIllegal && AttackedByBlackMen(pos, pos.whiteKingSquare) != 0) {
      UnmakeMove(pos, w);
      continue;
    }
    if (tryKiller &&
        (SelfKillerRefutes(ctx, w, killer) || SelfKillerRefutes(ctx, w, secondKiller))) {
      UnmakeMove(pos, w);
      continue;
    }
    const int threat = limit.ListsTries() ? ListMatingMoves(ctx, 0, 0, list + 2, false) : 0;
    const Move lastKiller = killer;
    const int mustMate = BlackMustMate(ctx, w.from, w.to, list + 1, tryKiller ? &killer : nullptr);
    if (tryKiller && !SameMove(killer, lastKiller)) secondKiller = lastKiller;
    UnmakeMove(pos, w);
    if (mustMate == -1) continue;
    // One legal reply stands for Black's whole answer: solved when Black must mate.
    const int legal = 1;
    const int solved = mustMate;
    if (solved == legal) {
      Append(keys, keyCount, w);
      if (!top) break;
    }
    if (limit.Admits(legal - solved) && threat != 0) Append(tries, tryCount, w);
  }
  Close(tries, tryCount);
  Close(keys, keyCount);
  return keyCount > 0 ? 2 : 0;
}

// After White's legal move `w`: whether the killer is a legal reply here
// after which White cannot reach the goal at once. (An illegal `w` is left
// to the generator, which reports it.) A maximummer's killer may not be
// among its longest moves here, so it is not tried.
bool KillerRefutes(SearchContext& ctx, const Move& w, const Move& killer) {
  Position& pos = ctx.pos;
  Move reply{};
  if (killer.from == 0 || ctx.state.maximummer || !IsSquare(pos.whiteKingSquare) ||
      AttackedByBlackMen(pos, pos.whiteKingSquare) != 0 ||
      !BlackMoveFits(pos, killer, w.from, w.to, reply))
    return false;
  MakeMove(pos, reply);
  ++ctx.state.nodes;
  const int mate = FindGoalInOne(ctx.state, pos, reply.from, reply.to);
  UnmakeMove(pos, reply);
  return mate == 0;
}

}  // namespace

int SearchMateInTwo(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, bool top,
                    TryLimit limit) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  if (ctx.ui.BreakRequested()) state.userBreak = 1;
  if (state.selfMode != SelfMode::None)
    return SelfMateInTwo(ctx, lastFrom, lastTo, list, top, limit);

  const int mateNow = ListMatingMoves(ctx, lastFrom, lastTo, list, top);
  if (mateNow != 0) return mateNow;

  const bool help = state.helpMode != HelpMode::None;
  const bool root = top && state.topMoves == 2;
  // Whether a move threatens mate only decides tries; below the root of a
  // helpmate nobody reads them.
  const bool testThreats = limit.ListsTries() && (!help || root);
  MoveRecords& keys = state.KeyList(2);
  MoveRecords& tries = state.TryList(2);
  Move& killer = state.refutationKiller[2];
  const int length = ListLength(*list);
  const int start = !top && !keys.Empty() ? StartIndex(*list, length, keys.records[0]) : 0;
  int keyCount = 0;
  int tryCount = 0;
  for (int step = 0; step < length; ++step) {
    const Move w = list->moves[(start + step) % length];
    MakeMove(pos, w);
    ++state.nodes;
    const int threat = testThreats ? ListMatingMoves(ctx, 0, 0, list + 2, false) : 0;
    // Below the root a helpmate only asks whether some reply allows mate
    // (with a limit every reply may be examined, so the answer is exact);
    // it may be known from another move order.
    std::uint64_t* memo = nullptr;
    std::uint64_t memoKey = 0;
    if (help && !root && limit.ListsTries()) {
      memoKey = (PositionKey(pos, w) ^ RulesKey(state)) & ~std::uint64_t{3};
      memo = &MemoSlot(state, memoKey);
      if (const int answer = MemoAnswer(*memo, memoKey); answer != 0) {
        UnmakeMove(pos, w);
        if (answer == 1) {
          Append(keys, keyCount, w);
          if (!top) break;
        }
        continue;
      }
    }
    // Without tries one refutation settles the move, and the killer refutes
    // most often: tried before Black's list is made, it can spare the list.
    if (!help && !limit.ListsTries() && KillerRefutes(ctx, w, killer)) {
      UnmakeMove(pos, w);
      continue;
    }
    MoveList& replies = list[1];
    if (GenerateBlackReplies(state, pos, w.from, w.to, replies) == 1) {
      UnmakeMove(pos, w);
      continue;
    }
    ReplyCount count;
    const int replyCount = ListLength(replies);
    const int first = StartIndex(replies, replyCount, killer);
    for (int j = 0; j < replyCount; ++j) {
      const Move& b = replies.moves[(first + j) % replyCount];
      MakeMove(pos, b);
      ++state.nodes;
      const int mate = FindGoalInOne(state, pos, b.from, b.to);
      UnmakeMove(pos, b);
      if (count.Add(mate, b, killer, limit)) break;
      // Below the root one success is all a helpmate move needs.
      if (help && !root && count.solved > 0) break;
    }
    UnmakeMove(pos, w);
    if (memo != nullptr) *memo = memoKey | (count.solved > 0 ? 1 : 2);
    if ((count.legal == count.solved && count.legal > 0) || (help && count.solved > 0)) {
      Append(keys, keyCount, w);
      if (!top) break;
    }
    const int refutations = count.legal - count.solved;
    if (limit.Admits(refutations) && (count.legal > 1 || threat != 0)) Append(tries, tryCount, w);
  }
  Close(tries, tryCount);
  Close(keys, keyCount);
  return keyCount > 0 ? 2 : 0;
}

}  // namespace kv
