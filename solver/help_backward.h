// The fast helpmate search worked back from the final positions (of a
// mate or a stalemate): the
// targets that fit the moves left (solver/help_targets.h) are made once,
// where a search starts, and serve every position of it whose men are
// within reach of them; the walk plays only the moves after which one of
// them can still be reached, each side's men counted to their places. A
// target's men need at least their count of moves, so a position from which
// none can be reached has no helpmate, and every answer is as exact as the
// plain walk's: both keep theirs in the same table.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/position.h"
#include "solver/help_targets.h"

namespace kv {

struct HelpFast;
class HelpTable;
struct UiCallbacks;

// No position of the search has had too many targets yet.
inline constexpr int TooManyUnknown = 1000;

// What the walk keeps between the positions it is asked about.
struct HelpBackwardMemory {
  HelpTargets targets;
  // Each target's part of each man, the index of its place or NoPart:
  // targets.targets.size() rows of targets.men.size().
  std::vector<std::uint16_t> parts;
  // Each target's men with a part, one bit per man.
  std::vector<std::uint32_t> partMen;
  // Each place's fewest moves from each square, found when first asked: for
  // the man as it was, then promoted (255 not yet known); rows of 128 in
  // `distances`, the row of each place in `distanceRow` (NoRow before the
  // place is first asked about).
  std::vector<std::uint8_t> distances;
  std::vector<std::uint32_t> distanceRow;
  // Each place's squares from which its man, as it was, needs at most 0..7
  // moves to it, made when first asked (rows of 8 from withinRow).
  std::vector<std::uint64_t> within;
  std::vector<std::uint32_t> withinRow;
  // The code of each place's man where the targets were made.
  std::vector<std::int8_t> placeWas;
  // The targets still within reach at each ply, with what each side needs.
  struct Reachable {
    std::uint32_t target;
    std::uint8_t white;
    std::uint8_t black;
  };
  std::vector<std::vector<Reachable>> reachable;
  // The goal the targets were made for.
  HelpGoal goal = HelpGoal::Mate;
  // The moves of each side the targets were made for.
  int targetWhiteMoves = 0;
  int targetBlackMoves = 0;
  // The moves of each side of the last position of the search that had
  // more targets than the limit: a position with as many is not tried.
  int tooManyWhite = TooManyUnknown;
  int tooManyBlack = TooManyUnknown;
  // Whether the search had too many targets where it started, and is left
  // to the plain walk; while `retried` is false, only until the plain walk
  // has reached `retryAt` positions, when the targets of the search's first
  // position (`root`, with `rootWhite` and `rootBlack` moves) are made
  // again with the higher limit.
  bool plainSearch = false;
  bool retried = true;
  std::uint64_t retryAt = 0;
  Position root;
  int rootWhite = 0;
  int rootBlack = 0;
  // The position the last question started from (its key with the side to
  // move and the moves left), so that the questions after each of its
  // moves start alike: where each man of the targets stands there (its
  // cell, 0 when taken), and the targets within reach there.
  std::uint64_t startKey = 0;
  int startMoves = 0;
  std::vector<int> squareOfMan;
  std::vector<Reachable> start;
};

// The most targets a position may have for the walk to be tried; with more,
// making and counting them costs more than the plain walk.
inline constexpr std::size_t HelpTargetLimit = 50000;

// The most targets made first where a search starts. Making the targets
// up to the limit above takes about 10 ms, as long as the plain walk's
// first 30 000 positions, which is more than an easy problem with many men
// takes in all; making these takes about 2 ms. With more targets than
// this, the plain walk starts alone, and the targets are made up to the
// limit above once it has reached HelpRetryPositions positions.
inline constexpr std::size_t HelpFirstTargetLimit = 10000;
inline constexpr std::uint64_t HelpRetryPositions = 20000;

// The most targets of a stalemate. Its targets fix the black king's square
// and its flights but not the other black men, which must end without a
// move, so each target rules out less than a mate's, and no making of more
// targets later pays. Up to 10 000 they still do: an h=7 and an h=8 whose
// black pawns promote three times each took more than 250 s on two threads
// with 5 000 and take 91 s and 138 s with 10 000 (20 000 and 50 000 gain
// nothing more), while the other published helpstalemates take as long as
// before (with the helpmate table in pairs and in large pages; before them,
// 8 000 and more had cost more than they saved).
inline constexpr std::size_t HelpStalemateTargetLimit = 10000;

// Makes the targets of `pos`, where a helpmate search is about to start
// with `whiteMoves` and `blackMoves` left, unless the targets at hand serve
// it: the questions the search asks after its first moves then find them
// made (without this, the targets would be made at the first position
// asked about, which, when White begins, serves none of White's other
// first moves).
void PrepareHelpTargets(HelpFast& fast, const Position& pos, int whiteMoves, int blackMoves);

// What HelpMateBackward returns when it declined: the targets were too many,
// or the question is one the mate-in-one test answers alone.
inline constexpr int HelpDeclined = 4;

// As HelpMateWithin (White to move after `last`, `moves` white moves left):
// HelpMate, HelpNoMate or HelpIllegal, HelpStopped when `ui` or `stop`
// stopped it, or HelpDeclined. Answers go into `table`.
int HelpMateBackward(HelpFast& fast, HelpTable& table, Position& pos, const Move& last, int moves,
                     const UiCallbacks* ui, const std::atomic<bool>* stop);

}  // namespace kv
