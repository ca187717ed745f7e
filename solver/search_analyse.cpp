// The analysis of one first move: its threat, the variations of Black's
// replies and the refutations, for the solution text.
#include "core/rules.h"
#include "solver/help_fast.h"
#include "solver/search.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

namespace {

// White's answers after a reply, searched with k - 1 moves left. A
// helpmate's search there examines every black reply, since each that leads
// on is a line of its own; battle play lists no tries below the first move.
int SearchAfterReply(SearchContext& ctx, int k, const Move& reply, MoveList* below) {
  const bool help = ctx.state.helpMode != HelpMode::None;
  const TryLimit limit = help ? EveryReply : NoTries;
  if (k == 2) return ListMatingMoves(ctx, reply.from, reply.to, below, true);
  if (k == 3) return SearchMateInTwo(ctx, reply.from, reply.to, below, true, limit);
  // In a helpmate the search lists every line after the reply; when the
  // fast search proves there is none, it would list nothing and answer 0.
  if (help && FastHelpVerdict(ctx, reply, k - 1) == HelpNoMate) return 0;
  return SearchMateInN(ctx, k - 1, reply.from, reply.to, below, true, limit);
}

// White moves again after its own move: the threat's length, below 0 when
// the move gives check, 0 for none.
int SearchThreat(SearchContext& ctx, int k, const Move& move, MoveList* level) {
  if (k == 2) {
    if (ctx.state.selfMode != SelfMode::None) return BlackMustMate(ctx, move.from, move.to, level);
    return ListMatingMoves(ctx, 0, 0, level, true);
  }
  if (k == 3) return SearchMateInTwo(ctx, 0, 0, level, true, NoTries);
  return SearchMateInN(ctx, k - 1, 1, 0, level, true, NoTries);
}

bool SameMates(const MoveRecords& a, const MoveRecords& b) {
  const int count = a.Count();
  if (count != b.Count()) return false;
  for (int i = 0; i < count; ++i)
    if (!SameSquares(a.records[i], b.records[i])) return false;
  return true;
}

bool Contains(const MoveRecords& list, const Move& move) {
  for (int i = 0; i < ListedRecords && list.records[i].from != 0; ++i)
    if (SameMove(list.records[i], move)) return true;
  return false;
}

// The mates White has against a man lifted off its square: what every move
// of that man allows when it parries nothing. A lifted line piece also
// parries checks through its square.
bool MatesWithoutMan(SearchContext& ctx, const Move& reply, MoveList* below, MoveRecords& copy) {
  Position& pos = ctx.pos;
  const std::int8_t man = pos.board[reply.from];
  pos.board[reply.from] = Empty;
  if (man != BlackPawn) pos.parrySquare = reply.from;
  const int result = ListMatingMoves(ctx, reply.from, reply.to, below, true);
  pos.parrySquare = 0;
  pos.board[reply.from] = man;
  copy = ctx.state.KeyList(1);
  return result >= 0;
}

// The threat of `move`: White moves again. Returns the length of the
// shortest threat (0 when there is none, below 0 when the move checks) and
// leaves its moves in ThreatList(threat + 1), their number in `threatMoves`.
int FindThreat(SearchContext& ctx, int k, const Move& move, MoveList* level, int& threatMoves) {
  SearchState& state = ctx.state;
  // Emptied in every mode: the threat filter of the analysis reads ThreatList(k).
  for (int j = 2; j <= k; ++j) state.ThreatList(j).Clear();
  if (state.helpMode != HelpMode::None) return 0;
  int threat = SearchThreat(ctx, k, move, level);
  // Reflexmate: White could mate after its own move; that is no threat.
  if (threat == -2) threat = 0;
  if (threat >= 1) {
    state.ThreatList(threat + 1) = state.KeyList(threat);
    threatMoves = state.ThreatList(threat + 1).Count();
  }
  return threat;
}

// Whether the continuations of a reply that repeat the threat (`repeats` of
// them) are dropped as threat repetitions: unless the variations separate
// them from a longer threat or non-defensive moves are asked for.
bool RemovedAsThreat(const SearchContext& ctx, int repeats, int threatMoves) {
  const SolveOptions& options = ctx.options;
  const OptionGroup group = ctx.state.optionGroup;
  const bool variations = options.Of(group, Option::Variations) != 0;
  const bool separates =
      variations && options.Of(group, Option::Separators) != 0 && repeats < threatMoves;
  return !separates && !(variations && options.Of(group, Option::NonDefensiveMoves) != 0);
}

// How many of the continuations after Black's reply `b` become variation
// lines: all of them, none when they repeat the threat at the last move, and
// without dualized variations one (or two promotions to the same square).
int ContinuationsKept(const SearchContext& ctx, int k, const Move& b,
                      const MoveRecords& continuations, int repeats, int threatMoves) {
  int keep = continuations.Count();
  if (b.moved == BlackKing) return keep;
  if (k == 2 && repeats > 0 && RemovedAsThreat(ctx, repeats, threatMoves)) keep = 0;
  const OptionGroup group = ctx.state.optionGroup;
  const bool dualized = ctx.options.Of(group, Option::Variations) != 0 &&
                        ctx.options.Of(group, Option::DualizedVariations) != 0;
  if (keep > 0 && !dualized) {
    if (keep == 2 && IsPromotion(continuations.records[0]) && IsPromotion(continuations.records[1]))
      keep = 1;
    if (keep > 1) keep = 0;
  }
  return keep;
}

// The summary of an analysis for the caller: check, a legal reply, parried
// continuations and the threat's length.
int AnalysisFlags(int threat, int legal, bool parried) {
  int flags = threat < 0 ? AnalysisCheck : 0;
  if (legal > 0) flags += AnalysisHasReply;
  if (parried) flags += AnalysisParried;
  if (threat > 0 && !(legal == 1 && threat > 1)) flags += threat * AnalysisThreatUnit;
  return flags;
}

}  // namespace

int AnalyseMove(SearchContext& ctx, int k, const Move& move, bool allRefutations) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  const SolveOptions& options = ctx.options;
  const bool help = state.helpMode != HelpMode::None;
  const bool self = state.selfMode != SelfMode::None;
  const bool atTop = k == state.topMoves;
  MoveList* level = state.LevelList(k);
  MoveList* below = level + 2;

  if (atTop && !IsNullMove(move)) ShowPlayedMoveStatus(ctx, 2, 12, move);

  int threatMoves = 0;
  const int threat = FindThreat(ctx, k, move, level, threatMoves);

  MoveList& replies = level[1];
  if (GenerateBlackReplies(state, pos, move.from, move.to, replies) == 1) replies.moves[0].from = 0;
  // The last white move of a selfmate has Black's forced mates as its threat
  // and nothing else.
  if (self && k == 2) replies.moves[0].from = 0;
  // A reflexmate's Black that can reach the goal must: its other replies
  // are not legal.
  if (state.selfMode == SelfMode::Reflex && k > 2)
    KeepGoalReplies(ctx, move.from, move.to, &replies);

  RefutationRecords& refutations = state.RefutationList(k);
  VariationRecords& lines = state.VariationList(k);
  const MoveRecords& continuations = state.KeyList(k - 1);
  int refutationCount = 0;
  int lineCount = 0;
  int legal = 0;
  int recorded = 0;
  int removedAsThreat = 0;
  MoveRecords adLibMates;
  bool haveAdLib = false;
  std::int8_t adLibSquare = 0;

  for (int i = 0; replies.moves[i].from != 0; ++i) {
    const Move b = replies.moves[i];
    const bool firstOfMan = i == 0 || replies.moves[i - 1].from != b.from;
    // "Any move of the man allows the same mates" has no stalemate sense:
    // a man lifted off the board changes whether Black can move at all.
    if (k == 2 && options[Option::AdLib] != 0 && state.goal == Goal::Mate && b.moved > BlackKing &&
        firstOfMan) {
      haveAdLib = MatesWithoutMan(ctx, b, below, adLibMates);
      adLibSquare = b.from;
    }

    if (atTop) ShowMoveStatus(ctx, 1, " Test : ", b);
    MakeMove(pos, b);
    const int check = AttackedByBlack(pos, pos.whiteKingSquare) ? CheckMark : 0;
    int result = SearchAfterReply(ctx, k, b, below);
    UnmakeMove(pos, b);
    // A reflexmate reply after which White would have to mate defends.
    if (result == -2) result = 0;

    if (result == 0) {
      Append(refutations, refutationCount, b, check);
      if (!allRefutations && !help) break;
    }
    if (result >= 0) ++legal;
    if (result < k - 1) continue;

    int mark = check;
    if (haveAdLib && adLibSquare == b.from && SameMates(continuations, adLibMates))
      mark = AdLibMark;
    const int count = continuations.Count();
    int repeats = 0;
    for (int c = 0; c < count; ++c)
      if (Contains(state.ThreatList(k), continuations.records[c])) ++repeats;
    recorded += count;

    const int keep = ContinuationsKept(ctx, k, b, continuations, repeats, threatMoves);
    if (b.moved != BlackKing && k == 2 && repeats > 0 && RemovedAsThreat(ctx, repeats, threatMoves))
      removedAsThreat += count;
    for (int c = 0; c < keep; ++c) Append(lines, lineCount, b, mark, continuations.records[c]);
  }
  Close(refutations, refutationCount);
  Close(lines, lineCount);

  if (self && k == 2) return AnalysisThreatUnit;
  return AnalysisFlags(threat, legal, recorded > removedAsThreat);
}

}  // namespace kv
