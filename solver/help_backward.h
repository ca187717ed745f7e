// The fast helpmate search worked back from the mating positions: the
// targets that fit the moves left (solver/help_targets.h) are made once at
// the position asked about, and the walk plays only the moves after which
// one of them can still be reached, each side's men counted to their
// places. A target's men need at least their count of moves, so a position
// from which none can be reached has no helpmate, and every answer is as
// exact as the plain walk's: both keep theirs in the same table.
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

// What the walk keeps between the positions it is asked about.
struct HelpBackwardMemory {
  HelpTargets targets;
  // Each target's part of each man, the index of its place or NoPart:
  // targets.targets.size() rows of targets.men.size().
  std::vector<std::uint16_t> parts;
  // Each place's fewest moves from each square, found when first asked: for
  // the man as it was, then promoted (255 not yet known).
  std::vector<std::array<std::uint8_t, 128>> distances;
  // The targets still within reach at each ply, with what each side needs.
  struct Reachable {
    std::uint32_t target;
    std::uint8_t white;
    std::uint8_t black;
  };
  std::vector<std::vector<Reachable>> reachable;
  // The targets within reach of the position they were made for.
  std::vector<Reachable> start;
  // That position (its key with the side to move and the moves left), so
  // that the questions after each of its moves use the same targets.
  std::uint64_t madeFor = 0;
  int madeMoves = 0;
};

// The most targets a position may have for the walk to be tried; with more,
// making and counting them costs more than the plain walk.
inline constexpr std::size_t HelpTargetLimit = 20000;

// What HelpMateBackward returns when it declined: the targets were too many.
inline constexpr int HelpDeclined = 4;

// As HelpMateWithin (White to move after `last`, `moves` white moves left):
// HelpMate, HelpNoMate or HelpIllegal, HelpStopped when `ui` or `stop`
// stopped it, or HelpDeclined. Answers go into `table`.
int HelpMateBackward(HelpFast& fast, HelpTable& table, Position& pos, const Move& last, int moves,
                     const UiCallbacks* ui, const std::atomic<bool>* stop);

}  // namespace kv
