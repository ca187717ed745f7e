// The goal tests of the searches and Black's moves as the play's rules allow
// them: the last move of the play mates or stalemates (SearchState::goal),
// and a maximummer plays only its longest legal moves
// (SearchState::maximummer). With a mate goal and no maximummer these are
// the plain tests of the rules, so the mate searches are unchanged by them.
#pragma once

#include "core/goals.h"
#include "core/rules.h"
#include "solver/search_state.h"

namespace kv::search_detail {

// White's move pos.probeMove reaches the goal: 100; else TestMateMove's
// check count (mate goal) or 0 (stalemate goal).
inline int TestGoalMove(const SearchState& state, Position& pos) {
  return state.goal == Goal::Mate ? TestMateMove(pos) : TestStalemateMove(pos);
}

// FindMateInOne or FindStalemateInOne by the goal: -1 when Black's last move
// was illegal, 1 when a white move reaches the goal, else 0.
inline int FindGoalInOne(const SearchState& state, Position& pos, int lastFrom, int lastTo) {
  return state.goal == Goal::Mate ? FindMateInOne(pos, lastFrom, lastTo)
                                  : FindStalemateInOne(pos, lastFrom, lastTo);
}

// Black's replies to White's move lastFrom-lastTo, as GenerateBlackMoves
// gives them (1: White's move was illegal); a maximummer keeps only its
// longest legal moves, in their order.
inline int GenerateBlackReplies(const SearchState& state, Position& pos, int lastFrom, int lastTo,
                                MoveList& list) {
  const int status = GenerateBlackMoves(pos, lastFrom, lastTo, list);
  if (status == 0 && state.maximummer) KeepLongestBlackMoves(pos, list);
  return status;
}

// Whether White, to move with its pseudo-legal moves in `list`, stands at
// the goal: mated (in check, no move escapes) or stalemated (not in check,
// no legal move).
inline bool WhiteAtGoal(const SearchState& state, Position& pos, const MoveList& list) {
  const bool inCheck = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
  if (inCheck != (state.goal == Goal::Mate)) return false;
  for (int i = 0; list.moves[i].from != 0; ++i) {
    const Move& move = list.moves[i];
    MakeMove(pos, move);
    const bool attacked = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
    UnmakeMove(pos, move);
    if (!attacked) return false;
  }
  return true;
}

}  // namespace kv::search_detail
