// PGN import: one problem per game with a FEN tag, the game's text as its
// stored solution.
#include <gtest/gtest.h>

#include <string>

#include "collections/import_pgn.h"
#include "import_test_util.h"

namespace kv {
namespace {

using namespace testing;

std::string Game(const std::string& event, const std::string& fenTag, const std::string& moves) {
  return "[Event \"" + event + "\"]\n[Site \"?\"]\n" + fenTag + "\n\n" + moves + "\n\n";
}

std::string FenTag(const std::string& fen) {
  return "[FEN \"" + fen + " w - - 0 1\"]";
}

TEST(PgnImport, EachGameWithAFenTagIsOneProblemCarryingItsGameText) {
  ScratchFolder folder;
  const std::string source = folder.File("three.pgn");
  WriteText(source, Game("One", FenTag("4k3/8/8/8/8/8/8/4K2R"), "1. Rh8# *") +
                        Game("Two", FenTag("k7/8/1K6/8/8/8/8/7Q"), "1. Qh8# *") +
                        Game("Three", FenTag("7k/8/6K1/8/8/8/8/R7"), "1. Ra8# 1-0"));
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  EXPECT_EQ(result.imported, 3);
  EXPECT_EQ(result.targetPath, folder.File("three.kvl"));

  const auto problems = LoadAll(folder.File("three.kvl"));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(ForsythOf(problems[0]), "4k3/8/8/8/8/8/8/4K2R");
  EXPECT_EQ(ForsythOf(problems[1]), "k7/8/1K6/8/8/8/8/7Q");
  EXPECT_EQ(ForsythOf(problems[2]), "7k/8/6K1/8/8/8/8/R7");
  // The tag lines without the FEN line, and the movetext, each line closed by CR LF.
  EXPECT_EQ(problems[0].solutionText, "[Event \"One\"]\r\n[Site \"?\"]\r\n\r\n1. Rh8# *\r\n\r\n");
  EXPECT_EQ(problems[2].solutionText,
            "[Event \"Three\"]\r\n[Site \"?\"]\r\n\r\n1. Ra8# 1-0\r\n\r\n");
  for (const CurrentProblem& p : problems) {
    EXPECT_EQ(p.type.kind, KindDirect);
    EXPECT_EQ(p.type.moves, 2);
    EXPECT_EQ(p.authors, "");
  }
  // The collection is open at its first problem.
  EXPECT_EQ(run.state.currentFileName, folder.File("three.kvl"));
  EXPECT_EQ(run.state.currentIndex, 0);
  EXPECT_EQ(run.problem.solutionText, problems[0].solutionText);
  EXPECT_EQ(run.status.back(), " 3 problems ");
}

TEST(PgnImport, AGameWithoutFenAddsItsTextToTheProblemBefore) {
  ScratchFolder folder;
  const std::string source = folder.File("mixed.pgn");
  WriteText(source, Game("Problem", FenTag("4k3/8/4K3/8/8/8/8/R7"), "1. Ra8# *") +
                        Game("Ordinary game", "[Round \"1\"]", "1. e4 e5 *") +
                        Game("Last", FenTag("8/8/8/8/8/k7/8/KQ6"), "1. Qb3# *"));
  ImportRun run;
  ASSERT_TRUE(run.Import(source).ok());
  const auto problems = LoadAll(folder.File("mixed.kvl"));
  ASSERT_EQ(problems.size(), 2u);
  // Nothing of the first game's text is lost to the game that follows it.
  EXPECT_EQ(problems[0].solutionText,
            "[Event \"Problem\"]\r\n[Site \"?\"]\r\n\r\n1. Ra8# *\r\n\r\n"
            "[Event \"Ordinary game\"]\r\n[Site \"?\"]\r\n[Round \"1\"]\r\n\r\n1. e4 e5 *\r\n\r\n");
  EXPECT_EQ(problems[1].solutionText, "[Event \"Last\"]\r\n[Site \"?\"]\r\n\r\n1. Qb3# *\r\n\r\n");
}

TEST(PgnImport, MalformedTagsAndLongLinesDoNotStopTheImport) {
  ScratchFolder folder;
  const std::string source = folder.File("odd.pgn");
  const std::string longMoves(600, 'x');
  WriteText(source, "[Event \"A\"]\r\n[FEN 8/8/8/8/8/8/8/8]\r\n[FEN \"K7/8/8/8/8/8/8/7k\r\n" +
                        longMoves + "\r\n[Event \"B\"]\n[FEN \"\"]\n" + std::string("\0\0", 2) +
                        "[Result \"*\"]");
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  const auto problems = LoadAll(folder.File("odd.kvl"));
  // The tag without a quote is skipped; one quote reads to the end of the line.
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(ForsythOf(problems[0]), "K7/8/8/8/8/8/8/7k");
  EXPECT_EQ(ForsythOf(problems[1]), "8/8/8/8/8/8/8/8");
  // A line longer than a read is kept whole, without a line break inside it.
  EXPECT_EQ(problems[0].solutionText, "[Event \"A\"]\r\n" + longMoves + "\r\n");
  // NUL bytes are dropped: a stored text cannot hold them.
  EXPECT_EQ(problems[1].solutionText, "[Event \"B\"]\r\n[Result \"*\"]");
}

TEST(PgnImport, TheGameTextStopsGrowingPastItsLimit) {
  SourceReader source;
  std::string text = "[FEN \"8/8/8/8/8/8/8/K6k\"]\n";
  for (int i = 0; i < 100; ++i) text += std::string(40, 'm') + "\n";
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  ImportBatch batch;
  ASSERT_TRUE(ReadPgnProblems(source, batch).ok());
  ASSERT_EQ(batch.count(), 1);
  // Whole lines are added while fewer than 1024 characters are gathered.
  EXPECT_EQ(batch.problems()[0].problem.solutionText.size(), 25u * 42u);
}

}  // namespace
}  // namespace kv
