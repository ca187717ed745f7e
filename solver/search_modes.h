// The modes of one solve that change how the searches play: how a helpmate
// is searched and what Black must do at the end of a selfmate or reflexmate.
// The driver sets them from the problem's kind; the solution tree keeps
// them for each run.
#pragma once

#include "solver/problem_type.h"

namespace kv {

// How a helpmate is searched, set by the driver for one solve; None for
// every other kind.
enum class HelpMode : int {
  None,
  BlackBegins,  // Black begins: its first moves are replies to White's null move
  WhiteBegins,  // the stipulation lets White begin
  SetPlayRun,   // the set play of a Black-begins helpmate, searched as White begins
};

// Whether White plays the first move of the helpmate's search.
constexpr bool WhiteBegins(HelpMode mode) {
  return mode == HelpMode::WhiteBegins || mode == HelpMode::SetPlayRun;
}

// What Black must do in the play's last move, set by the driver for one
// solve. The values index the result table's mode keys (search_table.cpp),
// which keep the answers of the three apart.
enum class SelfMode : int {
  None = 0,    // direct play: White reaches the goal
  Self = 1,    // a selfmate: Black is forced to reach it
  Reflex = 2,  // a reflexmate: each side must reach it when it can
};

// The self mode of a problem kind (KindSelf, KindReflex or another).
constexpr SelfMode SelfModeOfKind(int kind) {
  if (kind == KindSelf) return SelfMode::Self;
  if (kind == KindReflex) return SelfMode::Reflex;
  return SelfMode::None;
}

}  // namespace kv
