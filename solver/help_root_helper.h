// The second core in a helpmate: while the helpmate search takes its
// diagram's moves from the first, a helper thread takes them from the last
// and decides, for each black reply, whether a helpmate follows, storing
// the answers in the table both walks share. The search then finds those
// answers in the table instead of walking them; since every answer is
// exact, its order and its text stay the same.
#pragma once

#include <atomic>
#include <thread>

#include "core/position.h"
#include "solver/help_fast.h"

namespace kv {

struct SearchContext;

class HelpRootHelper {
 public:
  // Has the backward walk's targets made for the search about to start, and
  // starts the helper when the search may use two threads, solves a
  // helpmate of at least three moves with the fast search on. `moves` is
  // the length of the search about to start, in White's moves counted with
  // a first black move as one when `blackBegins` (0: no targets, no helper).
  HelpRootHelper(SearchContext& ctx, int moves, bool blackBegins);
  ~HelpRootHelper() { Stop(); }
  HelpRootHelper(const HelpRootHelper&) = delete;
  HelpRootHelper& operator=(const HelpRootHelper&) = delete;

  // Stops and joins the helper; what it stored stays true.
  void Stop();

 private:
  void Run();
  void DecideReplies(const Move& w, int moves);

  Position pos_;
  HelpFast own_{1};  // its move lists; the table is the search's
  HelpTable* table_ = nullptr;
  int moves_ = 0;
  bool blackBegins_ = false;
  // The moves of each side from the search's first position.
  int whiteMoves_ = 0;
  int blackMoves_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace kv
