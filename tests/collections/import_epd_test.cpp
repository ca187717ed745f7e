// EPD import: one problem per line, the board and the authors.
#include <gtest/gtest.h>

#include <string>

#include "collections/import_epd.h"
#include "import_test_util.h"

namespace kv {
namespace {

using namespace testing;

TEST(EpdImport, BoardsWithAndWithoutAuthors) {
  ScratchFolder folder;
  const std::string source = folder.File("set.EPD");
  WriteText(source,
            "4k3/8/4K3/8/8/8/8/R7 Loyd, Sam; Shinkman, William\r\n"
            "\r\n"
            "k7/8/1K6/8/8/8/8/7Q\n"
            "7k/8/6K1/8/8/8/8/R7 Dawson, T.\tR.;Brown\n"
            "   \n");
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  const auto problems = LoadAll(folder.File("set.kvl"));
  // Blank lines hold no problem.
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(ForsythOf(problems[0]), "4k3/8/4K3/8/8/8/8/R7");
  // The space after each ";" is left out.
  EXPECT_EQ(problems[0].authors, "Loyd, Sam;Shinkman, William");
  EXPECT_EQ(ForsythOf(problems[1]), "k7/8/1K6/8/8/8/8/7Q");
  EXPECT_EQ(problems[1].authors, "");
  // The authors end at the first control character.
  EXPECT_EQ(problems[2].authors, "Dawson, T.");
  for (const CurrentProblem& p : problems) {
    EXPECT_EQ(p.solutionText, "");
    EXPECT_EQ(p.type.moves, 2);
  }
}

TEST(EpdImport, AuthorsAreCutAndOverlongLinesDoNotSpillIntoTheNext) {
  EXPECT_EQ(EpdAuthors("A; B;  C"), "A;B; C");
  EXPECT_EQ(EpdAuthors(std::string(300, 'a')), std::string(255, 'a'));

  const std::string text = "8/8/8/8/8/8/8/K6k " + std::string(400, 'n') + "\nK7/8/8/8/8/8/8/7k\n";
  SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  ImportBatch batch;
  ASSERT_TRUE(ReadEpdProblems(source, batch).ok());
  ASSERT_EQ(batch.count(), 2);
  // The line is read up to 255 characters; the rest of it is left out.
  EXPECT_EQ(batch.problems()[0].problem.authors, std::string(255 - 18, 'n'));
  EXPECT_EQ(batch.problems()[1].problem.authors, "");
}

}  // namespace
}  // namespace kv
