#include "core/test_move.h"

#include "core/rules.h"
#include "core/tables.h"

namespace kv {

std::vector<TestMoveEntry> TestMoveEntries(Position& pos, const MoveList& list, int fromFilter,
                                           const NotationContext& context) {
  NotationContext longForm = context;
  longForm.shortNotation = false;
  std::vector<TestMoveEntry> entries;
  for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
    const Move& move = list.moves[i];
    if (fromFilter >= MinFilterSquare && move.from != fromFilter) continue;
    MakeMove(pos, move);
    const bool legal =
        !IsSquare(pos.whiteKingSquare) || AttackedByBlack(pos, pos.whiteKingSquare) == 0;
    UnmakeMove(pos, move);
    if (legal) entries.push_back({MoveToText(pos.board, move, 0, longForm), i});
  }
  return entries;
}

int RunTestMoveDialog(Position& pos, const MoveList& list, int& fromFilter,
                      const NotationContext& context, const UiCallbacks& ui) {
  const std::vector<TestMoveEntry> entries = TestMoveEntries(pos, list, fromFilter, context);
  if (entries.empty()) return 0;
  std::vector<std::string> texts;
  texts.reserve(entries.size());
  for (const TestMoveEntry& entry : entries) texts.push_back(entry.text);
  const int chosen = ui.ChooseMove(texts);
  if (chosen <= 0 || chosen > static_cast<int>(entries.size())) {
    fromFilter = 0;
    return 0;
  }
  return entries[chosen - 1].index + 1;
}

}  // namespace kv
