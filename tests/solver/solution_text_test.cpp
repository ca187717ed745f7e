#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "solver/solution_text.h"

namespace kv {
namespace {

TEST(SolutionText, ColumnIsWhereTheNextCharacterGoesOnItsLine) {
  auto t = std::make_unique<SolutionText>();
  t->AppendText("Solution:");
  EXPECT_EQ(t->textColumn, 10);
  t->NewLine();
  EXPECT_EQ(std::string(t->View()), "Solution:\r\n ");
  EXPECT_EQ(t->textColumn, 2);
  t->PadToColumn(5);
  EXPECT_EQ(std::string(t->View()), "Solution:\r\n    ");
  // A header begins with its own line break: the count starts again there,
  // so padding a later line to a column remembered on it lines up.
  t->AppendText("\r\nTry: 1. Sd5? [");
  EXPECT_EQ(t->textColumn, 15);
  t->NewLine();
  t->PadToColumn(15);
  EXPECT_EQ(std::string(t->View()).substr(t->View().rfind('\n') + 1), std::string(14, ' '));
  t->Clear();
  EXPECT_EQ(t->textColumn, 1);
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
