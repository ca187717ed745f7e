// The fast helpmate search: whether a position, with a given number of white
// moves left, leads to a helpmate (or helpstalemate, by its goal) at all. It walks both sides'
// moves with a table of positions already decided, so a position reached again by another move
// order is answered at once, and it stops at the first line that mates. The helpmate search asks it
// before it searches a black reply, and walks only the replies it confirms; since the answer is
// exact, the search keeps its own order and its text.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/goals.h"
#include "core/position.h"
#include "solver/help_table.h"

namespace kv {

struct SearchContext;
struct HelpBackwardMemory;

// From this many white moves on, a helpmate's walks may reach far more
// positions than the default table holds, and each one lost is walked
// again: an h#7 took 73 s with the default table and 10 s with the deep one
// (128 MB), an h=5 140 s and 60 s. A helpstalemate's walk, which its bounds
// prune less, outgrows the table sooner. The deep table's pages cost a
// search the first time it touches them, up to 0.2 s on the machine
// measured, which a shorter search does not win back: an h#6 of 66 ms took
// 245 ms with it, and an h#7 of 63 ms takes 180 ms. (A table of 64 MB costs
// half as much and gives half the gain: the h#7 above 15 s.)
inline constexpr int DeepHelpMateMoves = 7;
inline constexpr int DeepHelpStalemateMoves = 5;
inline constexpr std::size_t DeepHelpTableSlots = std::size_t{1} << 23;
// The fewest white moves of a helpmate walk that a helper thread shares.
inline constexpr int HelpHelperWhiteMoves = 3;

// The fast search's working memory, one per search state.
struct HelpFast {
  explicit HelpFast(std::size_t tableSlots = DefaultHelpTableSlots) : table(tableSlots) {}
  // A default table made at the first walk (a search state's: most solves
  // walk no helpmate).
  explicit HelpFast(HelpTable::Deferred deferred) : table(DefaultHelpTableSlots, deferred) {}
  bool enabled = true;
  // The play the walk answers for: White's last move mates or stalemates;
  // Black a maximummer. Set from the search state before each walk.
  Goal goal = Goal::Mate;
  bool maximummer = false;
  // Whether a position may be walked back from its mating positions
  // (solver/help_backward.h) instead of by the plain walk.
  bool backwardEnabled = true;
  HelpTable table;
  // One move list per ply of the deepest walk: two per white move and one
  // more (a walk of k white moves reaches ply 2k).
  std::vector<MoveList> lists = std::vector<MoveList>(14);
  // Makes room for a walk of `moves` white moves; not during a walk.
  void EnsureMoves(int moves) {
    const auto wanted = static_cast<std::size_t>(2 * moves + 2);
    if (lists.size() < wanted) lists.resize(wanted);
  }
  // Gives a search of `whiteMoves` white moves towards `target` the deep
  // table when it is that long, and tells the table a search begins; not
  // during a walk. Only a table of the
  // default size grows: one sized on purpose (by the bench or a test) is
  // kept.
  void PrepareTable(int whiteMoves, Goal target) {
    // A walk of fewer white moves than a helper thread takes is walked on
    // one thread.
    table.Make(whiteMoves >= HelpHelperWhiteMoves);
    const int deep = target == Goal::Stalemate ? DeepHelpStalemateMoves : DeepHelpMateMoves;
    if (whiteMoves >= deep && table.Slots() == DefaultHelpTableSlots)
      table.Resize(DeepHelpTableSlots);
    table.BeginSearch();
  }
  std::uint64_t nodes = 0;      // positions the fast search reached
  std::uint64_t tableHits = 0;  // answers the table gave it
  // The backward walk's targets and lists, made at its first use.
  std::shared_ptr<HelpBackwardMemory> backward;
};

// The answers of HelpMateWithin.
inline constexpr int HelpIllegal = -1;  // Black's last move left its king attacked
inline constexpr int HelpNoMate = 0;    // no helpmate within the moves left
inline constexpr int HelpMate = 1;      // some line mates within them
inline constexpr int HelpStopped = 3;   // a walk the user (or its owner) stopped

// White to move after Black's move `last` (already played; a null record at
// the start) with `moves` (1..6) white moves left, the last of them mating:
// whether Black and White together reach mate within them. Leaves the
// position as it found it.
int HelpMateWithin(HelpFast& fast, Position& pos, const Move& last, int moves);

// The same with another walk's table, for a helper thread: answers found
// are stored there. Setting `stop` stops the walk, which then stores
// nothing more and returns a value other than the three answers.
int HelpMateWithinShared(HelpFast& fast, HelpTable& table, Position& pos, const Move& last,
                         int moves, const std::atomic<bool>& stop);

// Black to move, White's next move to mate: the black moves that may let
// White check at once are those changing the king's square, taking a white
// man or stepping two squares, and the others that leave a square of `from`
// or reach one of `to`. A black man that moves only opens lines and closes
// others, so it lets White check only by emptying a square of a line or a
// path, or by offering a pawn a man to take. All squares when nothing is
// proved.
void LastBlackMoveSquares(const Position& pos, std::uint64_t& from, std::uint64_t& to);

// White to move (or Black, as if White were): the empty or white squares
// next to the black king that no white man attacks now or after one move of
// its own, when White has no rook, no queen and no pawn about to promote,
// so that no check shields a square not otherwise covered. Any such square proves White cannot mate
// at once, even after a black move that leaves the king where it stands and
// reaches another square. 0 proves nothing.
std::uint64_t UncoverableFlights(const Position& pos);

// What the table keys of a walk are told apart by: the goal of White's last
// move and Black's maximummer rule (0 for a plain helpmate).
std::uint64_t HelpRulesKey(Goal goal, bool maximummer);

// The helpmate search's question before it searches Black's reply `last`
// with `moves` white moves left: HelpIllegal or HelpNoMate when the fast
// search proves it, HelpMate when the reply must be searched (it mates, or
// the fast search is off).
int FastHelpVerdict(SearchContext& ctx, const Move& last, int moves);

}  // namespace kv
