// What every import shares: the file it takes and the collection it writes,
// one rewrite giving the bytes of appending the problems one at a time, the
// 2001-problem limit, and sources or collections that cannot be used.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/import_epd.h"
#include "collections/import_pgn.h"
#include "collections/kvl_format.h"
#include "import_test_util.h"

namespace kv {
namespace {

using namespace testing;

TEST(ImportFiles, FormatByExtensionAndTargetBesideTheSource) {
  EXPECT_EQ(ImportFormatOf("/a/b.c/game.PGN"), ImportFormat::Pgn);
  EXPECT_EQ(ImportFormatOf("set.epd"), ImportFormat::Epd);
  EXPECT_EQ(ImportFormatOf("TABLE.Dbf"), ImportFormat::Dbf);
  EXPECT_EQ(ImportFormatOf("archive.txt"), ImportFormat::Alybadix);
  // Only the extension counts: a collection whose name holds ".pgn" is opened
  // as a collection, never imported into itself.
  EXPECT_EQ(ImportFormatOf("games.pgn.kvl"), ImportFormat::None);
  EXPECT_EQ(ImportFormatOf("/data.pgn/readme"), ImportFormat::None);
  EXPECT_EQ(ImportFormatOf("pgn"), ImportFormat::None);

  EXPECT_EQ(ImportTargetPath("/a/b.c/game.PGN"), "/a/b.c/game.kvl");
  EXPECT_EQ(ImportTargetPath("old.games.pgn"), "old.games.kvl");
  EXPECT_EQ(ImportTargetPath("/a.b/noext"), "/a.b/noext.kvl");
}

// Problems with a text in every slot, as an importer could make them.
std::vector<ImportedProblem> SampleProblems(int count) {
  std::vector<ImportedProblem> problems;
  for (int i = 0; i < count; ++i) {
    ImportedProblem imported;
    CurrentProblem& p = imported.problem;
    p.authors = "Composer, Number " + std::to_string(i);
    p.source = i % 2 ? "Source" : "";
    p.award = i % 3 ? "Prize" : "";
    p.comment = "comment";
    p.solutionText = i % 4 ? std::string(50 + i, 's') : "";
    p.twins = i == 1 ? "\x7f!\"#$" : "";
    p.extraStrings[ExtraSecondSource] = i == 2 ? "Second" : "";
    p.type.kind = static_cast<std::uint8_t>(i % 3);
    p.type.moves = static_cast<std::uint8_t>(2 + i % 4);
    Board board = EmptyImportBoard();
    board[FirstSquare + i % 64 / 8 * 10 + i % 8] = WhiteKing;
    imported.position = BoardToPositionBytes(board);
    problems.push_back(imported);
  }
  return problems;
}

// The old way: a blank record appended, then the problem saved into it.
void AppendOneAtATime(const std::string& path, const std::vector<ImportedProblem>& problems) {
  for (const ImportedProblem& imported : problems) {
    CollectionState state{path, -1, -1};
    ASSERT_TRUE(PrepareAppend(state).ok());
    CurrentProblem problem = imported.problem;
    Board board = EmptyImportBoard();
    PositionBytesToBoard(imported.position, board);
    ASSERT_TRUE(SaveProblem(state, problem, board).ok());
  }
}

TEST(ImportTarget, OneRewriteGivesTheBytesOfAppendingOneAtATime) {
  ScratchFolder folder;
  const auto problems = SampleProblems(9);
  // Into a missing collection, and into one that already holds problems.
  for (const int existing : {0, 3}) {
    const std::string once = folder.File("once" + std::to_string(existing) + ".kvl");
    const std::string stepwise = folder.File("steps" + std::to_string(existing) + ".kvl");
    if (existing > 0) {
      AppendOneAtATime(once, SampleProblems(existing));
      AppendOneAtATime(stepwise, SampleProblems(existing));
    }
    int first = -1;
    ASSERT_TRUE(AppendImportedProblems(once, problems, first).ok());
    EXPECT_EQ(first, existing);
    AppendOneAtATime(stepwise, problems);
    EXPECT_EQ(ReadBytes(once), ReadBytes(stepwise)) << "existing " << existing;
  }
}

TEST(ImportTarget, AnImportAppendsAfterTheProblemsAlreadyThereAndOpensTheFirst) {
  ScratchFolder folder;
  const std::string target = folder.File("set.kvl");
  AppendOneAtATime(target, SampleProblems(2));
  WriteText(folder.File("set.epd"), "K7/8/8/8/8/8/8/7k One\n7K/8/8/8/8/8/8/k7 Two\n");
  ImportRun run;
  // Whatever the problem shown before held goes into no imported record.
  run.problem.twins = "\x7f!\"#$";
  run.problem.solutionText = "1.Qd4!";
  run.problem.extraStrings[ExtraDedication] = "Friend";
  const ImportResult result = run.Import(folder.File("set.epd"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.imported, 2);
  const auto problems = LoadAll(target);
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_EQ(problems[0].authors, "Composer, Number 0");
  EXPECT_EQ(problems[2].authors, "One");
  EXPECT_EQ(problems[3].authors, "Two");
  for (int i = 2; i < 4; ++i) {
    EXPECT_EQ(problems[i].twins, "");
    EXPECT_EQ(problems[i].solutionText, "");
    EXPECT_EQ(problems[i].extraStrings[ExtraDedication], "");
  }
  // Record 0 of the collection is loaded, not the first imported one.
  EXPECT_EQ(run.state.currentIndex, 0);
  EXPECT_EQ(run.problem.authors, "Composer, Number 0");
}

std::string PgnGames(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "[Event \"" + std::to_string(i) + "\"]\n[FEN \"K7/8/8/8/8/8/8/7k w - - 0 1\"]\n\n";
    text += "1. Kb7 *\n\n";
  }
  return text;
}

TEST(ImportLimit, A2002ndProblemIsNotImportedAndTheResultSaysSo) {
  ScratchFolder folder;
  WriteText(folder.File("many.pgn"), PgnGames(2002));
  ImportRun run;
  ImportResult result = run.Import(folder.File("many.pgn"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.imported, 2001);
  EXPECT_TRUE(result.stoppedAtLimit);
  EXPECT_EQ(run.status.back(), " import stopped after 2001 problems ");
  const auto problems = LoadAll(folder.File("many.kvl"));
  ASSERT_EQ(problems.size(), 2001u);
  // The last problem kept has its whole game, and nothing of the next one.
  EXPECT_EQ(problems.back().solutionText, "[Event \"2001\"]\r\n\r\n1. Kb7 *\r\n\r\n");

  // A source of exactly 2001 problems is imported whole, without the note.
  std::string lines;
  for (int i = 0; i < 2001; ++i) lines += "K7/8/8/8/8/8/8/7k\n";
  WriteText(folder.File("exact.epd"), lines);
  result = run.Import(folder.File("exact.epd"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.imported, 2001);
  EXPECT_FALSE(result.stoppedAtLimit);
  EXPECT_EQ(run.status.back(), " 2001 problems ");
}

TEST(ImportFailures, ACollectionThatCannotTakeTheProblemsIsLeftAsItWas) {
  ScratchFolder folder;
  // A full collection takes one more problem, not two: appending one at a
  // time would have written the first before failing.
  Bytes full;
  ASSERT_TRUE(InsertRecordsInBytes(NewFileBytes(), 1, MaxLastIndex - 1, full).ok());
  WriteBytes(folder.File("full.kvl"), full);
  WriteText(folder.File("full.epd"), "K7/8/8/8/8/8/8/7k\nk7/8/8/8/8/8/8/7K\n");
  ImportRun run;
  ImportResult result = run.Import(folder.File("full.epd"));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.result.status, FileStatus::Full);
  EXPECT_EQ(result.failedFile, folder.File("full.kvl"));
  EXPECT_EQ(ReadBytes(folder.File("full.kvl")), full);
  EXPECT_EQ(run.state.currentFileName, folder.File("full.epd"));

  // A damaged collection is reported and not touched.
  const Bytes damaged = {5, 0, 0, 0, 0};
  WriteBytes(folder.File("damaged.kvl"), damaged);
  WriteText(folder.File("damaged.epd"), "K7/8/8/8/8/8/8/7k\n");
  result = run.Import(folder.File("damaged.epd"));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(ReadBytes(folder.File("damaged.kvl")), damaged);
  EXPECT_EQ(ImportFailureText(result, run.language)
                .rfind("Unable to Open " + folder.File("damaged.kvl"), 0),
            0u);
}

TEST(ImportFailures, SourcesThatCannotBeReadAreRefusedWithoutBlocking) {
  ScratchFolder folder;
  ImportRun run;
  ImportResult result = run.Import(folder.File("missing.pgn"));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(ImportFailureText(result, run.language),
            "Unable to Open " + folder.File("missing.pgn") + " (No such file or directory)");

  // A folder and a named pipe: opening a pipe for reading would wait for a
  // writer forever.
  std::filesystem::create_directory(folder.File("folder.pgn"));
  ASSERT_EQ(mkfifo(folder.File("pipe.epd").c_str(), 0600), 0);
  for (const char* name : {"folder.pgn", "pipe.epd"}) {
    result = run.Import(folder.File(name));
    EXPECT_FALSE(result.ok()) << name;
    EXPECT_EQ(result.result.detail, "not a regular file") << name;
  }
  // A source without any problem writes nothing.
  WriteText(folder.File("nothing.txt"), "white: Ke1\nno keywords here\n");
  result = run.Import(folder.File("nothing.txt"));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.result.detail, "no problem found");
  for (const char* name : {"missing.kvl", "folder.kvl", "pipe.kvl", "nothing.kvl"}) {
    EXPECT_FALSE(std::filesystem::exists(folder.File(name))) << name;
  }
}

}  // namespace
}  // namespace kv
