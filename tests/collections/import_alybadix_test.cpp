// Archive text import: keyword lines, the man letters of "notation:", the
// stipulations and the title lines.
#include <gtest/gtest.h>

#include <string>

#include "collections/import_alybadix.h"
#include "import_test_util.h"

namespace kv {
namespace {

using namespace testing;

TEST(ArchiveImport, KeywordLinesMakeTheProblems) {
  ScratchFolder folder;
  const std::string source = folder.File("archive.TXT");
  WriteText(source,
            // Before any notation line the men are written in English.
            "white: Kc1 Rh8\n"
            "black: Ka1 Pa2\n"
            "stipulation: 2\n"
            "endproblem:\n"
            "notation: BSLTDK\n"
            "  title1: Helpmate study\r\n"
            "title1: Zeppa, Mario\n"
            "title1:\tThe Problemist\n"
            "title1: 1st Prize\n"
            "title1: ignored\n"
            "stipulation: h3\n"
            "white: Kg1 Ld1 Sf3 Be2e3\n"
            "black: Kg8 Tf8 Dd8,a1 Xb2 c2\n"
            "endproblem:\n"
            "stipulation:s2\n"
            "white: Th1 Ke1\n"
            "endproblem:\n"
            // Not closed: not kept.
            "white: Ke4\n"
            "stipulation: 4\n");
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  const auto problems = LoadAll(folder.File("archive.kvl"));
  ASSERT_EQ(problems.size(), 3u);

  EXPECT_EQ(ForsythOf(problems[0]), "7R/8/8/8/8/8/p7/k1K5");
  EXPECT_EQ(problems[0].type.kind, KindDirect);
  EXPECT_EQ(problems[0].type.moves, 2);

  EXPECT_EQ(problems[1].comment, "Helpmate study");
  EXPECT_EQ(problems[1].authors, "Zeppa, Mario");
  EXPECT_EQ(problems[1].source, "The Problemist");
  EXPECT_EQ(problems[1].award, "1st Prize");
  EXPECT_EQ(problems[1].type.kind, KindHelp);
  EXPECT_EQ(problems[1].type.moves, 3);
  EXPECT_EQ(problems[1].type.flags, 0);
  // "Be2e3" puts the pawn on two squares; after ",a1" the queen lands there
  // too; a letter that is no man of the notation ends the line.
  EXPECT_EQ(ForsythOf(problems[1]), "3q1rk1/8/8/8/8/4PN2/4P3/q2B2K1");

  // Each problem starts cleared: no texts carried over from the one before.
  EXPECT_EQ(problems[2].type.kind, KindSelf);
  EXPECT_EQ(problems[2].type.moves, 2);
  EXPECT_EQ(problems[2].comment, "");
  EXPECT_EQ(ForsythOf(problems[2]), "8/8/8/8/8/8/8/4K2R");
}

TEST(ArchiveImport, StipulationsAndSquaresOffTheBoard) {
  const auto read = [](const std::vector<std::string>& lines) {
    ArchiveReader reader;
    StartArchiveProblem(reader);
    for (const std::string& line : lines) ReadArchiveLine(line, reader);
    return reader;
  };
  ArchiveReader r = read({"stipulation: s5"});
  EXPECT_EQ(r.problem.type.kind, KindSelf);
  EXPECT_EQ(r.problem.type.moves, 5);
  r = read({"stipulation: #"});
  EXPECT_EQ(r.problem.type.kind, KindDirect);
  EXPECT_EQ(r.problem.type.moves, 2);
  // A rank outside the board reads as a8; colour by the line's first letter.
  r = read({"black: Qe9"});
  EXPECT_EQ(r.board[FirstSquare], BlackQueen);
  EXPECT_FALSE(ReadArchiveLine("endproblem", r));
  EXPECT_TRUE(ReadArchiveLine("ENDPROBLEM:", r));
}

}  // namespace
}  // namespace kv
