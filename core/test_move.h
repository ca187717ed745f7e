// The logic of the test-a-move dialog ("Coups valides"): which of White's
// moves it lists, in which notation, and the value it returns. The widgets
// live with the program's dialogs.
#pragma once

#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position.h"
#include "strings/ui_callbacks.h"

namespace kv {

// A from-square filter of this value or more restricts the list to the moves
// of the man on that square; smaller values (the same global holds small
// operation numbers for other dialogs) mean no filter.
inline constexpr int MinFilterSquare = 23;

struct TestMoveEntry {
  std::string text;  // long notation, flags 0
  int index = 0;     // the move's index in the MoveList
};

// The entries: every move of `list` after which the white king is not
// attacked, in list order, restricted by the filter.
std::vector<TestMoveEntry> TestMoveEntries(Position& pos, const MoveList& list, int fromFilter,
                                           const NotationContext& context);

// Runs the dialog through the callbacks: with no entry it closes at once
// with 0; otherwise the chosen entry's list index + 1, or 0 for Cancel,
// which also clears the filter.
int RunTestMoveDialog(Position& pos, const MoveList& list, int& fromFilter,
                      const NotationContext& context, const UiCallbacks& ui);

}  // namespace kv
