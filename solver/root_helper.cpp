#include "solver/root_helper.h"

#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

#include "core/rules.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

class RootHelper {
 public:
  RootHelper() : state_(std::make_unique<SearchState>()) {
    state_->resultTable.Resize(0);  // it works in the main state's table
  }
  ~RootHelper() { Stop(); }

  void Start(const SearchContext& main, int moves, int tryLimit) {
    Stop();
    pos_ = main.pos;
    options_ = main.options;
    language_ = &main.language;
    SearchState& st = *state_;
    st.sharedTable = &main.state.resultTable;
    st.selfMode = main.state.selfMode;
    st.helpMode = 0;
    st.topMoves = moves;
    st.optionGroup = main.state.optionGroup;
    st.userBreak = 0;
    st.refutationKiller = {};
    stop_.store(false);
    ui_.breakPoll = [this] { return stop_.load(std::memory_order_relaxed); };
    try {
      thread_ = std::thread([this, moves, tryLimit] { Run(moves, tryLimit); });
    } catch (const std::system_error&) {
      // No thread to be had: the main thread searches alone, as with one.
    }
  }

  void Stop() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
  }

 private:
  // The root loop of SearchMateInN from the other end: each white move
  // against Black's replies, ordered as there, until the reply scan may stop
  // (with the same try limit, so the replies the main thread will search are
  // the ones searched here).
  void Run(int moves, int tryLimit) {
    SearchState& st = *state_;
    SearchContext ctx{pos_, options_, ui_, *language_, st};
    MoveList* level = st.LevelList(moves);
    if (GenerateWhiteMoves(pos_, 0, 0, *level) == -1) return;
    Move killer{};
    for (int i = ListLength(*level) - 1; i >= 0 && !Stopped(); --i) {
      const Move w = level->moves[i];
      MakeMove(pos_, w);
      MoveList* replies = level + 1;
      if (GenerateBlackMoves(pos_, w.from, w.to, *replies) == 1) {
        UnmakeMove(pos_, w);
        continue;
      }
      OrderBlackReplies(ctx, replies, killer);
      ReplyCount count;
      for (int j = 0; replies->moves[j].from != 0 && !Stopped(); ++j) {
        const Move b = replies->moves[j];
        MakeMove(pos_, b);
        int result = SearchBelow(ctx, moves - 1, b.from, b.to, level + 2, false);
        UnmakeMove(pos_, b);
        if (result == -2) result = 0;
        if (count.Add(result, b, killer, tryLimit)) break;
      }
      UnmakeMove(pos_, w);
    }
  }

  bool Stopped() const { return stop_.load(std::memory_order_relaxed) || state_->userBreak != 0; }

  std::unique_ptr<SearchState> state_;
  Position pos_{};
  SolveOptions options_{};
  const Language* language_ = nullptr;
  UiCallbacks ui_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void StartRootHelper(SearchContext& ctx, int moves, int tryLimit) {
  SearchState& state = ctx.state;
  if (state.threads < 2 || state.helpMode != 0 || moves < 3 || !state.resultTable.Enabled()) return;
  if (!state.rootHelper) state.rootHelper = std::make_shared<RootHelper>();
  state.rootHelper->Start(ctx, moves, tryLimit);
}

void StopRootHelper(SearchState& state) {
  if (state.rootHelper) state.rootHelper->Stop();
}

}  // namespace kv
