#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "solver/solution_text.h"

namespace kv {
namespace {

TEST(SolutionText, NewLineWritesBreakAndBlankAndSetsColumn) {
  auto t = std::make_unique<SolutionText>();
  t->AppendText("Solution:");
  EXPECT_EQ(t->textColumn, 9);
  t->NewLine();
  EXPECT_EQ(std::string(t->View()), "Solution:\r\n ");
  EXPECT_EQ(t->textColumn, 2);
  t->PadToColumn(5);
  EXPECT_EQ(std::string(t->View()), "Solution:\r\n    ");
}

TEST(SolutionText, DropsTextBeyondTheLimits) {
  auto t = std::make_unique<SolutionText>();
  t->AppendText(std::string(59997, 'a'));
  t->NewLine();  // 59997 < 59998: written, reaching 60000
  EXPECT_EQ(t->textLength, 60000);
  t->AppendText("more");
  EXPECT_EQ(t->textLength, 60000);
  t->Clear();
  t->AppendText(std::string(59998, 'a'));
  t->NewLine();
  EXPECT_EQ(t->textLength, 59998);
  const int column = t->textColumn;
  t->AppendText("abc");
  EXPECT_EQ(t->textLength, 60000);
  EXPECT_EQ(t->textColumn, column + 3);
}

}  // namespace
}  // namespace kv
