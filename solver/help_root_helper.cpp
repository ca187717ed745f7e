#include "solver/help_root_helper.h"

#include "core/goals.h"
#include "core/rules.h"
#include "solver/help_backward.h"
#include "solver/search.h"

namespace kv {

HelpRootHelper::HelpRootHelper(SearchContext& ctx, int moves, bool blackBegins)
    : blackBegins_(blackBegins) {
  SearchState& state = ctx.state;
  // The targets of the backward walk, made once for the whole search.
  whiteMoves_ = blackBegins ? moves - 1 : moves;
  blackMoves_ = blackBegins ? whiteMoves_ : whiteMoves_ - 1;
  state.helpFast.goal = state.goal;
  state.helpFast.maximummer = state.maximummer;
  if (state.helpMode != HelpMode::None && moves > 0) {
    state.helpFast.PrepareTable(whiteMoves_, state.goal);
    PrepareHelpTargets(state.helpFast, ctx.pos, whiteMoves_, blackMoves_);
  }
  if (state.threads < 2 || state.helpMode == HelpMode::None || whiteMoves_ < HelpHelperWhiteMoves ||
      !state.helpFast.enabled || state.userBreak != 0)
    return;
  own_.backwardEnabled = state.helpFast.backwardEnabled;
  pos_ = ctx.pos;
  table_ = &state.helpFast.table;
  moves_ = moves;
  own_.EnsureMoves(moves);
  own_.goal = state.goal;
  own_.maximummer = state.maximummer;
  thread_ = std::thread([this] { Run(); });
}

void HelpRootHelper::Stop() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

namespace {

// The moves of a list, from the last.
template <typename Visit>
void FromTheLast(const MoveList& list, const std::atomic<bool>& stop, const Visit& visit) {
  int count = 0;
  while (list.moves[count].from != 0) ++count;
  for (int i = count - 1; i >= 0 && !stop.load(std::memory_order_relaxed); --i)
    visit(list.moves[i]);
}

}  // namespace

// After White's move `w`: whether each black reply leads to a helpmate
// within `moves`, the question the search asks of each.
void HelpRootHelper::DecideReplies(const Move& w, int moves) {
  MoveList replies;
  if (GenerateBlackMoves(pos_, w.from, w.to, replies) != 0) return;
  if (own_.maximummer) KeepLongestBlackMoves(pos_, replies);
  FromTheLast(replies, stop_, [&](const Move& b) {
    MakeMove(pos_, b);
    HelpMateWithinShared(own_, *table_, pos_, b, moves, stop_);
    UnmakeMove(pos_, b);
  });
}

// The search's first levels from their last moves back, asking what the
// search will ask: with White beginning, of each reply to each white move;
// with Black beginning, of each reply to each white answer to each black
// move (the search lists every helpmate after a black move, so it asks of
// every answer, not only up to the first that mates).
void HelpRootHelper::Run() {
  PrepareHelpTargets(own_, pos_, whiteMoves_, blackMoves_);
  MoveList first;
  if (!blackBegins_) {
    GenerateWhiteMoves(pos_, 0, 0, first);
    FromTheLast(first, stop_, [&](const Move& w) {
      MakeMove(pos_, w);
      DecideReplies(w, moves_ - 1);
      UnmakeMove(pos_, w);
    });
    return;
  }
  GenerateBlackMoves(pos_, 0, 0, first);
  if (own_.maximummer) KeepLongestBlackMoves(pos_, first);
  FromTheLast(first, stop_, [&](const Move& b) {
    MakeMove(pos_, b);
    MoveList answers;
    if (GenerateWhiteMoves(pos_, b.from, b.to, answers) == 0) {
      FromTheLast(answers, stop_, [&](const Move& w) {
        MakeMove(pos_, w);
        DecideReplies(w, moves_ - 2);
        UnmakeMove(pos_, w);
      });
    }
    UnmakeMove(pos_, b);
  });
}

}  // namespace kv
