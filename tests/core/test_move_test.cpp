// The test-a-move dialog's logic: legal moves only, the from-square filter,
// long notation, and the value returned.
#include <gtest/gtest.h>

#include "core/test_move.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::Sq;

TEST(TestMoveDialog, ListsLegalMovesInLongNotationAndFilters) {
  // The rook on e2 is pinned to its king: it may move only along the file.
  Position pos = FromFen("4r2k/8/8/8/8/8/4R3/N3K3");
  MoveList list;
  ASSERT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  NotationContext context;
  context.shortNotation = true;  // the dialog writes long notation anyway
  const auto all = TestMoveEntries(pos, list, 0, context);
  const auto rook = TestMoveEntries(pos, list, Sq("e2"), context);
  ASSERT_EQ(rook.size(), 6u);  // e3..e7 and the capture on e8
  EXPECT_EQ(rook[0].text, "Re2-e3");
  EXPECT_EQ(rook[5].text, "Re2xe8");
  for (const auto& entry : rook) EXPECT_EQ(list.moves[entry.index].from, Sq("e2"));
  // Values below 23 are no filter.
  EXPECT_EQ(TestMoveEntries(pos, list, 22, context).size(), all.size());
  for (const auto& entry : all) EXPECT_NE(entry.text, "Re2-d2");
  EXPECT_EQ(all[0].text, "Re2-e3");  // list order: e2 comes before a1
}

TEST(TestMoveDialog, ReturnsTheListIndexPlusOne) {
  Position pos = FromFen("4r2k/8/8/8/8/8/4R3/N3K3");
  MoveList list;
  GenerateWhiteMoves(pos, 0, 0, list);
  const NotationContext context;
  UiCallbacks ui;
  std::vector<std::string> offered;
  int answer = 2;
  ui.chooseMove = [&](const std::vector<std::string>& texts) {
    offered = texts;
    return answer;
  };
  int filter = Sq("e2");
  const auto entries = TestMoveEntries(pos, list, filter, context);
  EXPECT_EQ(RunTestMoveDialog(pos, list, filter, context, ui), entries[1].index + 1);
  EXPECT_EQ(offered.size(), entries.size());
  EXPECT_EQ(filter, Sq("e2"));
  answer = 0;  // Cancel clears the filter
  EXPECT_EQ(RunTestMoveDialog(pos, list, filter, context, ui), 0);
  EXPECT_EQ(filter, 0);

  // No entry: the dialog closes at once without asking.
  offered.clear();
  int emptySquare = Sq("h2");
  EXPECT_EQ(RunTestMoveDialog(pos, list, emptySquare, context, ui), 0);
  EXPECT_TRUE(offered.empty());
}

}  // namespace
}  // namespace kv
