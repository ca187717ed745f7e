// The two tests that take the place of White's goal move in selfmates and
// reflexmates: is White at the goal (mated, or stalemated in a
// selfstalemate), and must Black reach it after White's move.
#include "core/attacks.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/black_mate_in_one.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

int WhiteIsMated(SearchContext& ctx, MoveList* list) {
  return WhiteAtGoal(ctx.state, ctx.pos, *list) ? 1 : 0;
}

namespace {

// After Black's legal `reply` (played), one that MayReachGoal admits:
// whether White now stands at the goal. A king that can step aside needs no
// list of White's moves.
bool ReplyReachesGoal(SearchContext& ctx, const Move& reply, MoveList* whiteList) {
  Position& pos = ctx.pos;
  if (WhiteKingCanStep(pos)) return false;
  GenerateWhiteMoves(pos, reply.from, reply.to, *whiteList);
  return WhiteIsMated(ctx, whiteList) == 1;
}

bool LegalBlackMove(const Position& pos) {
  return !IsSquare(pos.blackKingSquare) || AttackedByWhiteMen(pos, pos.blackKingSquare) == 0;
}

// Whether Black's `reply`, not yet played after White's legal move, may
// reach the goal: only a reply that checks can mate and only one that does
// not can stalemate. Asked without playing the reply, it spares the goal
// test of most replies.
bool MayReachGoal(SearchContext& ctx, const Move& reply) {
  return BlackReplyChecks(ctx.pos, reply) == (ctx.state.goal == Goal::Mate);
}

}  // namespace

int BlackMustMate(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, Move* refutation) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  MoveRecords& mates = state.KeyList(1);
  const bool reflex = state.selfMode == SelfMode::Reflex;
  // A reflexmate's Black mostly has no mate: the turned board's scan tells
  // that without Black's list and the check test of every reply.
  if (reflex && state.goal == Goal::Mate) {
    const int mate = FindBlackMateInOne(pos, lastFrom, lastTo, state.blackMateHint);
    if (mate == -1) return -1;
    if (mate == 0) {
      mates.Clear();
      return 0;
    }
  }
  if (GenerateBlackReplies(state, pos, lastFrom, lastTo, *list) == 1) return -1;
  if (!reflex) {
    // One legal reply that cannot reach the goal refutes a selfmate's move;
    // it is looked for before any reply is tested at length.
    const bool inCheck =
        IsSquare(pos.blackKingSquare) && AttackedByWhiteMen(pos, pos.blackKingSquare) != 0;
    for (int i = 0; list->moves[i].from != 0; ++i) {
      const Move& reply = list->moves[i];
      if (MayReachGoal(ctx, reply) || !BlackReplyLegal(pos, reply, inCheck)) continue;
      mates.Clear();
      if (refutation != nullptr) *refutation = reply;
      return 0;
    }
  }
  // Every reply left that cannot reach the goal is illegal (selfmate) or
  // does not matter (reflexmate, where Black must reach the goal if it can).
  int count = 0;
  int legal = 0;
  bool everyReplyMates = true;
  for (int i = 0; list->moves[i].from != 0; ++i) {
    const Move& reply = list->moves[i];
    if (!MayReachGoal(ctx, reply)) continue;
    MakeMove(pos, reply);
    const bool isLegal = LegalBlackMove(pos);
    const bool whiteMated = isLegal && ReplyReachesGoal(ctx, reply, &list[1]);
    UnmakeMove(pos, reply);
    if (!isLegal) continue;
    ++legal;
    if (whiteMated) {
      Append(mates, count, reply);
      if (reflex) break;
    } else if (!reflex) {
      everyReplyMates = false;
      if (refutation != nullptr) *refutation = reply;
      break;
    }
  }
  Close(mates, count);
  if (reflex) return count > 0 ? 1 : 0;
  return legal > 0 && everyReplyMates ? 1 : 0;
}

int KeepGoalReplies(SearchContext& ctx, int lastFrom, int lastTo, MoveList* replies) {
  Position& pos = ctx.pos;
  if (ctx.state.goal == Goal::Mate &&
      FindBlackMateInOne(pos, lastFrom, lastTo, ctx.state.blackMateHint) == 0)
    return 0;
  MoveList& whiteList = ctx.state.SpareList();
  int kept = 0;
  for (int i = 0; replies->moves[i].from != 0; ++i) {
    const Move reply = replies->moves[i];
    if (!MayReachGoal(ctx, reply)) continue;
    MakeMove(pos, reply);
    const bool reaches = LegalBlackMove(pos) && ReplyReachesGoal(ctx, reply, &whiteList);
    UnmakeMove(pos, reply);
    if (reaches) replies->moves[kept++] = reply;
  }
  if (kept > 0) replies->moves[kept] = Move{};
  return kept;
}

}  // namespace kv
