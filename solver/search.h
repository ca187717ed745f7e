// The search engine: the proof that White forces mate (or stalemate, by the
// state's goal) in n moves, the collection of keys and tries, and the
// analysis of one first move into its threat, variations and refutations.
// Helpmates (helpMode) and selfmates and reflexmates (selfMode) run through
// the same functions; the modes change them at fixed points, the goal and
// the maximummer at the goal tests and at Black's moves. All results are small codes; the lists
// they fill are in SearchState. Nothing here allocates except the status texts of the top level.
#pragma once

#include "core/position.h"
#include "solver/search_state.h"
#include "solver/solve_options.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

// How many refutations a white move may have and still be listed as a try.
// With none, no tries are listed and one refutation settles a move; a
// helpmate's searches examine every reply (EveryReply), since they look for
// any reply that leads on to the goal.
struct TryLimit {
  int refutations = 0;

  constexpr bool ListsTries() const { return refutations != 0; }
  // Whether `refuting` replies are more than a try may have.
  constexpr bool ExceededBy(int refuting) const { return refuting > refutations; }
  // Whether a move that `refuting` replies refute is a try.
  constexpr bool Admits(int refuting) const { return refuting > 0 && refuting <= refutations; }
};
inline constexpr TryLimit NoTries{};
// More than any move has replies.
inline constexpr TryLimit EveryReply{MoveListCapacity + 1};

// Everything one solve works on, built by the driver (or a test).
struct SearchContext {
  Position& pos;
  const SolveOptions& options;
  const UiCallbacks& ui;
  const Language& language;
  SearchState& state;
};

// Analysis flags returned by AnalyseMove.
inline constexpr int AnalysisCheck = 1;       // the move gives check
inline constexpr int AnalysisHasReply = 2;    // Black had a legal reply
inline constexpr int AnalysisParried = 4;     // a variation survived the threat filter
inline constexpr int AnalysisThreatUnit = 8;  // flags / 8 is the threat's length

// Generates White's moves into `list` and tests each for mate (its result
// goes to the list's check marks). Returns -1 when the black king is attacked
// (Black's last move was illegal; KeyList(1) is then empty), else 1 when a
// move mates and 0 when none does. Mates are listed in KeyList(1) (up to 19);
// without collectAll the scan stops at the first. In selfmate and reflexmate
// mode it returns 1 at the first mate without listing it.
int ListMatingMoves(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, bool collectAll);

// Mate in two after Black's last move: -1 Black's last move was illegal;
// 1 White mates at once (at the top every mate is in KeyList(1)); 2 keys were
// found (KeyList(2); tries with 1..tryLimit refutations in TryList(2));
// 0 none. Reflexmate mode adds -2: White could mate and so fails. Polls the
// user break once per call. `top` collects every key instead of stopping at
// the first.
int SearchMateInTwo(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list, bool top,
                    TryLimit tryLimit);

// Mate in n = 3 or more: the length of a shorter forced mate when one exists, -1
// when Black's last move was illegal, n when keys were found (KeyList(n),
// tries in TryList(n)), else 0 (reflexmate: -2 as for SearchMateInTwo).
int SearchMateInN(SearchContext& ctx, int n, int lastFrom, int lastTo, MoveList* list, bool top,
                  TryLimit tryLimit);

// The key search at the root of the diagram with `moves` levels (the
// state's lists must hold them): 1 lists every white move that reaches the
// goal at once in KeyList(1); 2 is SearchMateInTwo, more SearchMateInN,
// each with `top` set. Returns what they return.
int RootSearch(SearchContext& ctx, int moves, TryLimit tryLimit);

// Analyses a first move that the caller has already played (it may be the
// null move) with k moves left: the threat into ThreatList(t + 1), the
// variations into VariationList(k), the refutations into RefutationList(k).
// Returns the Analysis* flags. Without allRefutations the reply scan stops at
// the first refutation.
int AnalyseMove(SearchContext& ctx, int k, const Move& move, bool allRefutations);

// Reorders White's moves: the first key of `keys`, then checks, then
// captures of a queen or rook, of a knight or bishop, of a pawn, then the rest.
void OrderWhiteMoves(SearchContext& ctx, MoveList* list, const MoveRecords& keys);

// Reorders Black's replies: the killer, then checks, then captures of a
// queen, rook, bishop, knight, pawn, then the rest.
void OrderBlackReplies(SearchContext& ctx, MoveList* list, const Move& killer);

// 1 when White, to move with its pseudo-legal moves in `list`, stands at
// the goal: mated, or stalemated when the goal is stalemate.
int WhiteIsMated(SearchContext& ctx, MoveList* list);

// After a white move: -1 when that move was illegal; else 1 when Black must
// reach the goal, mate or stalemate White (selfmate: Black has legal
// replies and every one does; reflexmate: some reply does), else 0. Those
// replies are listed in KeyList(1). Uses `list` for Black's replies and
// list + 1 for White's answers. When a selfmate's Black has a legal reply
// that does not reach the goal, `refutation` (when given) receives it.
int BlackMustMate(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list,
                  Move* refutation = nullptr);

// Keeps, of Black's replies in `replies` (after White's move, played), those
// legal ones after which White stands at the goal, and returns how many; 0
// leaves the list as it was. A reflexmate's Black must play one of them.
// lastFrom-lastTo is White's move.
int KeepGoalReplies(SearchContext& ctx, int lastFrom, int lastTo, MoveList* replies);

}  // namespace kv
