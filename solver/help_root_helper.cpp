#include "solver/help_root_helper.h"

#include "core/rules.h"
#include "solver/search.h"

namespace kv {

HelpRootHelper::HelpRootHelper(SearchContext& ctx, int moves, bool blackBegins)
    : blackBegins_(blackBegins) {
  SearchState& state = ctx.state;
  if (state.threads < 2 || state.helpMode == 0 || moves < 3 || !state.helpFast.enabled ||
      state.userBreak != 0)
    return;
  pos_ = ctx.pos;
  table_ = &state.helpFast.table;
  moves_ = moves;
  thread_ = std::thread([this] { Run(); });
}

void HelpRootHelper::Stop() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

// The search's first level from its last move back. Black beginning: each
// of Black's moves, after which White has the moves left. White beginning:
// each of White's moves and each reply to it.
void HelpRootHelper::Run() {
  if (blackBegins_) {
    MoveList moves;
    GenerateBlackMoves(pos_, 0, 0, moves);
    int count = 0;
    while (moves.moves[count].from != 0) ++count;
    for (int i = count - 1; i >= 0 && !stop_.load(std::memory_order_relaxed); --i) {
      const Move b = moves.moves[i];
      MakeMove(pos_, b);
      HelpMateWithinShared(own_, *table_, pos_, b, moves_ - 1, stop_);
      UnmakeMove(pos_, b);
    }
    return;
  }
  MoveList moves;
  GenerateWhiteMoves(pos_, 0, 0, moves);
  int count = 0;
  while (moves.moves[count].from != 0) ++count;
  for (int i = count - 1; i >= 0 && !stop_.load(std::memory_order_relaxed); --i) {
    const Move w = moves.moves[i];
    MakeMove(pos_, w);
    MoveList replies;
    if (GenerateBlackMoves(pos_, w.from, w.to, replies) == 0) {
      int replyCount = 0;
      while (replies.moves[replyCount].from != 0) ++replyCount;
      for (int j = replyCount - 1; j >= 0 && !stop_.load(std::memory_order_relaxed); --j) {
        const Move b = replies.moves[j];
        MakeMove(pos_, b);
        HelpMateWithinShared(own_, *table_, pos_, b, moves_ - 1, stop_);
        UnmakeMove(pos_, b);
      }
    }
    UnmakeMove(pos_, w);
  }
}

}  // namespace kv
