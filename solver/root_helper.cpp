#include "solver/root_helper.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "core/rules.h"
#include "solver/search_goal.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

class RootHelper {
 public:
  RootHelper() : state_(std::make_unique<SearchState>()) {
    state_->resultTable.Resize(0);  // it works in the main state's table
  }
  ~RootHelper() { Stop(); }

  void Start(const SearchContext& main, int moves, TryLimit tryLimit) {
    Stop();
    pos_ = main.pos;
    options_ = main.options;
    language_ = &main.language;
    SearchState& st = *state_;
    st.EnsureLevels(moves);
    st.sharedTable = &main.state.resultTable;
    st.selfMode = main.state.selfMode;
    st.goal = main.state.goal;
    st.maximummer = main.state.maximummer;
    st.helpMode = HelpMode::None;
    st.topMoves = moves;
    st.optionGroup = main.state.optionGroup;
    st.userBreak = 0;
    st.ClearKillers();
    stop_.store(false);
    mainIndex_.store(-1);
    current_.store(NoMove);
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

  // The main thread is about to search its root move `index`, `move`. Moves
  // from there on are the main thread's own; while the helper still
  // searches that very move, the main thread waits for it, since the
  // helper's results then make the move a run of table hits.
  void MainReaches(int index, const Move& move, const UiCallbacks& ui) {
    mainIndex_.store(index);
    while (thread_.joinable() && current_.load() == Encode(index, move)) {
      if (ui.BreakRequested()) return;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }

 private:
  static constexpr std::int64_t NoMove = -1;
  static std::int64_t Encode(int index, const Move& move) {
    return static_cast<std::int64_t>(index) << 24 | (move.from & 0xff) << 16 |
           (move.to & 0xff) << 8 | (move.placed & 0xff);
  }

  // The root loop of SearchMateInN from the other end: each white move
  // against Black's replies until the reply scan may stop (with the same try
  // limit). The replies are taken in the order the main thread gives them
  // without a killer; its killer puts one earlier reply first, normally a
  // refutation of the move before. So once the move before is searched, its
  // refutations are searched against this move too: then the main thread
  // finds every reply it asks for in the table.
  void Run(int moves, TryLimit tryLimit) {
    SearchState& st = *state_;
    SearchContext ctx{pos_, options_, ui_, *language_, st};
    MoveList* level = st.LevelList(moves);
    if (GenerateWhiteMoves(pos_, 0, 0, *level) == -1) return;
    const int length = ListLength(*level);
    // The root moves are copied: the lists below the root are rewritten.
    const std::vector<Move> roots(level->moves.begin(), level->moves.begin() + length);
    std::vector<std::vector<Move>> refutations(static_cast<std::size_t>(length));
    for (int i = length - 1; i >= 0 && !Stopped(i); --i) {
      const Move w = roots[static_cast<std::size_t>(i)];
      current_.store(Encode(i, w));
      SearchMove(ctx, moves, w, tryLimit, refutations[static_cast<std::size_t>(i)]);
      current_.store(NoMove);
      if (Stopped(i)) break;
      // The main thread's killer at the next moves: this move's refutations
      // (a move without any, such as a key, hands the killer on).
      const std::vector<Move>& found = refutations[static_cast<std::size_t>(i)];
      for (int m = i + 1; m < length && !found.empty() && !Stopped(m); ++m) {
        current_.store(Encode(m, roots[static_cast<std::size_t>(m)]));
        SearchReplies(ctx, moves, roots[static_cast<std::size_t>(m)], found);
        current_.store(NoMove);
        if (!refutations[static_cast<std::size_t>(m)].empty()) break;
      }
    }
  }

  // One root move against the replies in killer-free order; collects the
  // refutations met.
  void SearchMove(SearchContext& ctx, int moves, const Move& w, TryLimit tryLimit,
                  std::vector<Move>& found) {
    MoveList* level = state_->LevelList(moves);
    MakeMove(pos_, w);
    MoveList* replies = level + 1;
    if (GenerateBlackReplies(*state_, pos_, w.from, w.to, *replies) == 1) {
      UnmakeMove(pos_, w);
      return;
    }
    Move killer{};
    OrderBlackReplies(ctx, replies, killer);
    ReplyCount count;
    for (int j = 0; replies->moves[j].from != 0 && !stop_.load(std::memory_order_relaxed); ++j) {
      const Move b = replies->moves[j];
      MakeMove(pos_, b);
      int result = SearchBelow(ctx, moves - 1, b.from, b.to, level + 2, false);
      UnmakeMove(pos_, b);
      if (result == -2) result = 0;
      if (result == 0) found.push_back(b);
      if (count.Add(result, b, killer, tryLimit)) break;
    }
    UnmakeMove(pos_, w);
  }

  // The replies to `w` with the squares of one of `wanted` (every promotion
  // of a pawn shares them), as the main thread's killer would put them first.
  void SearchReplies(SearchContext& ctx, int moves, const Move& w,
                     const std::vector<Move>& wanted) {
    MoveList* level = state_->LevelList(moves);
    MakeMove(pos_, w);
    MoveList* replies = level + 1;
    if (GenerateBlackReplies(*state_, pos_, w.from, w.to, *replies) == 1) {
      UnmakeMove(pos_, w);
      return;
    }
    for (int j = 0; replies->moves[j].from != 0 && !stop_.load(std::memory_order_relaxed); ++j) {
      const Move b = replies->moves[j];
      bool asked = false;
      for (const Move& k : wanted) asked = asked || SameSquares(b, k);
      if (!asked) continue;
      MakeMove(pos_, b);
      SearchBelow(ctx, moves - 1, b.from, b.to, level + 2, false);
      UnmakeMove(pos_, b);
    }
    UnmakeMove(pos_, w);
  }

  // Stopped, or the main thread has reached root move `index` itself.
  bool Stopped(int index) const {
    return stop_.load(std::memory_order_relaxed) || state_->userBreak != 0 ||
           mainIndex_.load(std::memory_order_relaxed) >= index;
  }

  std::unique_ptr<SearchState> state_;
  Position pos_{};
  SolveOptions options_{};
  const Language* language_ = nullptr;
  UiCallbacks ui_;
  std::atomic<bool> stop_{false};
  std::atomic<int> mainIndex_{-1};
  std::atomic<std::int64_t> current_{NoMove};
  std::thread thread_;
};

void StartRootHelper(SearchContext& ctx, int moves, TryLimit tryLimit) {
  SearchState& state = ctx.state;
  if (state.threads < 2 || state.helpMode != HelpMode::None || moves < 3 ||
      !state.resultTable.Enabled())
    return;
  // The helper works in this table: made here, before its thread starts.
  state.resultTable.Make();
  if (!state.rootHelper) state.rootHelper = std::make_shared<RootHelper>();
  state.rootHelper->Start(ctx, moves, tryLimit);
}

void RootHelperReached(SearchContext& ctx, int index, const Move& move) {
  if (ctx.state.rootHelper) ctx.state.rootHelper->MainReaches(index, move, ctx.ui);
}

void StopRootHelper(SearchState& state) {
  if (state.rootHelper) state.rootHelper->Stop();
}

}  // namespace kv
