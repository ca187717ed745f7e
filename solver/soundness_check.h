// The soundness check of one problem: each part (the diagram, or each twin
// applied as the solve driver applies it) is validated and searched for its
// keys or, for a helpmate, for every solution, without writing any solution
// text. The searches are those of "Search solution"; only the lists they
// leave are read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/position.h"
#include "solver/problem_type.h"
#include "solver/search_state.h"
#include "solver/soundness.h"
#include "strings/ui_callbacks.h"

namespace kv {

// One problem as the check needs it.
struct SoundnessInput {
  Board board{};
  ProblemType type{};
  std::string twins;        // stored twins field; empty for none
  int statedSolutions = 1;  // helpmates: what the texts announce
};

struct [[nodiscard]] SoundnessResult {
  ProblemVerdict verdict;
  std::vector<PartOutcome> parts;
  std::vector<std::string> partNames;  // "a)", "b)" ... when there are twins
};

// Checks one problem with `state` (the caller's own: one per thread). The
// searches poll `ui`'s break: a break ends the check with the verdict
// "stopped", or "timed out" when `timedOut` answers true afterwards.
SoundnessResult CheckSoundness(SearchState& state, const SoundnessInput& input,
                               const UiCallbacks& ui, const std::function<bool()>& timedOut = {});

}  // namespace kv
