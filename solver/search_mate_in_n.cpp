// Mate in three to six: shorter mates first, then every white move against
// every black reply, each reply searched one level lower.
#include "core/attacks.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/black_mate_in_one.h"
#include "solver/position_key.h"
#include "solver/root_helper.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

namespace {

// The search one move shorter; at the top it collects every key.
int SearchShorter(SearchContext& ctx, int n, int lastFrom, int lastTo, MoveList* list, bool top) {
  if (!top) return SearchBelow(ctx, n - 1, lastFrom, lastTo, list, true);
  const TryLimit limit = SearchLimit(ctx.state);
  return n == 3 ? SearchMateInTwo(ctx, lastFrom, lastTo, list, top, limit)
                : SearchMateInN(ctx, n - 1, lastFrom, lastTo, list, top, limit);
}

// A helpmate's mate in two after Black's move `b` (already played): its
// result depends on the position alone, so it is looked up in the memo
// before it is searched. Keeps -1 (illegal), 0 and "solved" (2).
int HelpMateInTwo(SearchContext& ctx, const Move& b, MoveList* list) {
  SearchState& state = ctx.state;
  const std::uint64_t key =
      (PositionKey(ctx.pos, b) ^ WhiteToMoveKey ^ RulesKey(state)) & ~std::uint64_t{3};
  std::uint64_t& memo = MemoSlot(state, key);
  if (const int code = MemoAnswer(memo, key); code != 0) return code == 1 ? 2 : code == 2 ? 0 : -1;
  const int result = SearchMateInTwo(ctx, b.from, b.to, list, false, EveryReply);
  memo = key | (result > 0 ? 1 : result == 0 ? 2 : 3);
  return result > 0 ? 2 : result;
}

// After White's move `w` (played) in a selfmate or reflexmate searched
// without tries, `moves` deep: whether the killer is a legal black reply
// here after which White fails, so that `w` is no key. One refutation
// settles the move and the killer refutes most often: tried first, it
// spares Black's list and its ordering. A reflexmate's Black that can mate
// must, whatever the killer would do, so the caller asks only when the
// turned board shows no black mate. An illegal `w` and a maximummer (whose
// killer may not be among its longest moves) are left to the list.
bool SelfKillerRefutes(SearchContext& ctx, int moves, const Move& w, const Move& killer,
                       MoveList* below) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  Move reply{};
  if (killer.from == 0 || state.maximummer || !IsSquare(pos.whiteKingSquare) ||
      AttackedByBlackMen(pos, pos.whiteKingSquare) != 0 ||
      !BlackMoveFits(pos, killer, w.from, w.to, reply))
    return false;
  if (state.selfMode == SelfMode::Reflex && state.goal != Goal::Mate) return false;
  MakeMove(pos, reply);
  int result = -1;
  if (!IsSquare(pos.blackKingSquare) || AttackedByWhiteMen(pos, pos.blackKingSquare) == 0) {
    ++state.nodes;
    result = SearchBelow(ctx, moves - 1, reply.from, reply.to, below, false);
  }
  UnmakeMove(pos, reply);
  // -2: a reflexmate's White had to mate, and the line fails.
  return result == 0 || result == -2;
}

}  // namespace

int SearchMateInN(SearchContext& ctx, int n, int lastFrom, int lastTo, MoveList* list, bool top,
                  TryLimit limit) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  // The killer of a level above two lives only for one call.
  Move& killer = state.refutationKiller[n];
  killer = Move{};
  state.KeyList(n - 1).Clear();

  // A shorter mate is proved first; it also fills `list` with White's moves.
  int shorter = SearchShorter(ctx, n, lastFrom, lastTo, list, false);
  if (shorter != 0) {
    // The shorter search stops at its first key; at the top every short key
    // is wanted, so that length is searched again collecting them all: the
    // keys of battle play and of a helpmate White begins. (Where Black
    // begins, the caller only asks how short the play after a reply is.)
    if (top && (state.helpMode == HelpMode::None || WhiteBegins(state.helpMode))) {
      if (shorter > 1) {
        shorter = SearchShorter(ctx, shorter + 1, lastFrom, lastTo, list, true);
      } else if (shorter == 1 && state.selfMode == SelfMode::None) {
        shorter = ListMatingMoves(ctx, lastFrom, lastTo, list, true);
      }
    }
    return shorter;
  }
  if (!top && lastFrom != 0) OrderWhiteMoves(ctx, list, state.KeyList(n));

  const bool help = state.helpMode != HelpMode::None;
  const bool atTop = n == state.topMoves;
  const bool root = top && atTop;
  MoveRecords& keys = state.KeyList(n);
  MoveRecords& tries = state.TryList(n);
  const int length = ListLength(*list);
  int keyCount = 0;
  int tryCount = 0;
  for (int i = 0; i < length && state.userBreak == 0; ++i) {
    const Move w = list->moves[i];
    if (atTop) {
      ShowMoveStatus(ctx, 1, " Test : ", w);
      if (top && keyCount > 0) ShowWordMoveStatus(ctx, 2, 3, keys.records[keyCount - 1]);
    }
    if (root) RootHelperReached(ctx, i, w);
    MakeMove(pos, w);
    ++state.nodes;
    // A reflexmate's Black must reach the goal when it can: White then
    // succeeds whatever else Black might have played. Without a maximummer
    // (whose longest moves may not mate) the turned board tells at once
    // whether Black can mate, and whether `w` was illegal.
    int blackMates = -2;  // not asked
    if (state.selfMode == SelfMode::Reflex && state.goal == Goal::Mate && !state.maximummer)
      blackMates = FindBlackMateInOne(pos, w.from, w.to, state.blackMateHint);
    if (blackMates == -1) {
      UnmakeMove(pos, w);
      continue;
    }
    if (blackMates == 1) {
      UnmakeMove(pos, w);
      Append(keys, keyCount, w);
      if (!top) break;
      continue;
    }
    if (state.selfMode != SelfMode::None && !limit.ListsTries() &&
        SelfKillerRefutes(ctx, n, w, killer, list + 2)) {
      UnmakeMove(pos, w);
      continue;
    }
    MoveList& replies = list[1];
    if (GenerateBlackReplies(state, pos, w.from, w.to, replies) == 1) {
      UnmakeMove(pos, w);
      continue;
    }
    ReplyCount count;
    if (state.selfMode == SelfMode::Reflex && blackMates == -2 &&
        KeepGoalReplies(ctx, w.from, w.to, &replies) > 0) {
      UnmakeMove(pos, w);
      Append(keys, keyCount, w);
      if (!top) break;
      continue;
    }
    OrderBlackReplies(ctx, &replies, killer);
    for (int j = 0; replies.moves[j].from != 0; ++j) {
      const Move b = replies.moves[j];
      MakeMove(pos, b);
      ++state.nodes;
      int result = 0;
      if (!help) {
        result = SearchBelow(ctx, n - 1, b.from, b.to, list + 2, false);
      } else if (const int verdict = FastHelpVerdict(ctx, b, n - 1); verdict != HelpMate) {
        // Proved illegal or without a helpmate: the search would find the same.
        result = verdict;
      } else if (n > 3) {
        result = SearchMateInN(ctx, n - 1, b.from, b.to, list + 2, false, EveryReply);
      } else {
        result = HelpMateInTwo(ctx, b, list + 2);
      }
      UnmakeMove(pos, b);
      if (result == -2) result = 0;  // reflexmate: White had to mate, the line fails
      if (count.Add(result, b, killer, limit)) break;
      if (help && !root && count.solved > 0) break;
    }
    UnmakeMove(pos, w);
    if ((count.legal == count.solved && count.legal > 0) || (help && count.solved > 0)) {
      Append(keys, keyCount, w);
      if (!top) break;
    }
    const int refutations = count.legal - count.solved;
    if (count.legal > 1 && limit.Admits(refutations)) Append(tries, tryCount, w);
  }
  Close(tries, tryCount);
  Close(keys, keyCount);
  return keyCount > 0 ? n : 0;
}

int RootSearch(SearchContext& ctx, int moves, TryLimit tryLimit) {
  MoveList* list = ctx.state.LevelList(moves);
  // Below the root a selfmate counts White standing at the goal as Black's
  // last move having reached it; a diagram where White stands there already
  // is no solution of any length.
  if (ctx.state.selfMode != SelfMode::None && GenerateWhiteMoves(ctx.pos, 0, 0, *list) == 0 &&
      WhiteIsMated(ctx, list) == 1)
    return 0;
  if (moves <= 1) return ListMatingMoves(ctx, 0, 0, list, true);
  if (moves == 2) return SearchMateInTwo(ctx, 0, 0, list, true, tryLimit);
  return SearchMateInN(ctx, moves, 0, 0, list, true, tryLimit);
}

}  // namespace kv
