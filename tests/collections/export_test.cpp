// The list actions that write problems out, on real collections: whole output
// files compared with the texts written out by hand.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "collections/export.h"
#include "collections/export_output.h"
#include "collections/forsyth.h"
#include "core/fen.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using namespace testing;

// Two published two-movers (keys checked by an independent solver).
constexpr const char* HowardBoard = "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6";
constexpr const char* PlanckBoard = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";

std::string ReadText(const std::string& path) {
  const testing::Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

class ExportTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string collection_ = folder_.File("problems.kvl");
  Language language_;
  std::vector<std::string> messages_;
  UiCallbacks ui_;
  CollectionState state_;
  std::unique_ptr<CurrentProblem> problem_ = std::make_unique<CurrentProblem>();
  Board board_{};
  std::unique_ptr<SolveOptions> options_ = std::make_unique<SolveOptions>();
  std::vector<int> progress_;

  ExportTest() {
    ui_.messageBox = [this](const std::string& text, const std::string&, int) {
      messages_.push_back(text);
      return IdOk;
    };
  }

  // Appends a problem to `path` (the first record of a new file is used).
  void Add(const std::string& path, const char* fen, int moves, const std::string& authors,
           const std::string& source, std::uint8_t flags = 0) {
    CollectionState state{path, -1, -1};
    ASSERT_TRUE(PrepareAppend(state));
    CurrentProblem problem;
    problem.type.moves = static_cast<std::uint8_t>(moves);
    problem.type.flags = flags;
    problem.authors = authors;
    problem.source = source;
    Board board;
    ASSERT_TRUE(ParseFenBoard(fen, board, nullptr));
    ASSERT_TRUE(SaveProblem(state, problem, board));
  }

  // Howard as record 1, Planck stored as a mate in 8 as record 2.
  void AddBoth() {
    Add(collection_, HowardBoard, 2, "Howard, Kenneth S.", "The Observer, 26 Dec 1926");
    Add(collection_, PlanckBoard, 8, "Planck, Charles", "Illustrated Sporting News");
  }

  ExportOutcome Export(ExportAction action, const std::string& target,
                       const std::vector<int>& records) {
    ProblemList list;
    list.files = {collection_};
    for (int r : records) list.entries.push_back({0, static_cast<std::uint16_t>(r)});
    ExportContext context{state_, *problem_, board_, *options_, language_, ui_, 0, nullptr};
    context.progress = [this](int done, int) { progress_.push_back(done); };
    return RunExport(action, target, list, list.entries, context);
  }
};

constexpr const char* HowardGame =
    "\r\n[Event \"?\"]\r\n[Site \"The Observer, 26 Dec 1926\"]"
    "\r\n[Date \"1926.??.??\"]\r\n[Round \"?\"]"
    "\r\n[White \"Howard, Kenneth S.\"]\r\n[Black \"  #2\"]"
    "\r\n[Result \"1-0\"]\r\n[SetUp \"1\"]\r\n[FEN \""
    "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6"
    " w - - 0 1\"]\r\n\r\n1. Qd4 1-0\r\n";
// Stored as a mate in 8, solved as a mate in 2; the source names no year.
constexpr const char* PlanckGame =
    "\r\n[Event \"?\"]\r\n[Site \"Illustrated Sporting News\"]"
    "\r\n[Date \"1999.??.??\"]\r\n[Round \"?\"]"
    "\r\n[White \"Planck, Charles\"]\r\n[Black \"  #8\"]"
    "\r\n[Result \"1-0\"]\r\n[SetUp \"1\"]\r\n[FEN \""
    "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2"
    " w - - 0 1\"]\r\n\r\n1. Kg2 1-0\r\n";

TEST_F(ExportTest, PgnGamesAreAppendedOnePerProblemInListOrder) {
  AddBoth();
  const std::string pgn = folder_.File("out.pgn");
  ExportOutcome outcome = Export(ExportAction::PgnFile, pgn, {2, 1});
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(ReadText(pgn), std::string(PlanckGame) + HowardGame);
  EXPECT_EQ(progress_, (std::vector<int>{1, 2}));

  // A second export goes after the first; no temporary file is left behind.
  outcome = Export(ExportAction::PgnFile, pgn, {1});
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(ReadText(pgn), std::string(PlanckGame) + HowardGame + HowardGame);
  EXPECT_EQ(folder_.EntryCount(), 2u);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ExportTest, EpdLinesCarryAuthorsAndKey) {
  AddBoth();
  const std::string epd = folder_.File("out.epd");
  EXPECT_EQ(Export(ExportAction::EpdFile, epd, {1, 2}).written, 2);
  EXPECT_EQ(ReadText(epd),
            "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6 w - - id \"Howard, Kenneth S.\" ;pv Qd4;\r\n"
            "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2 w - - id \"Planck, Charles\" ;pv Kg2;\r\n");
}

TEST_F(ExportTest, MovesAreWrittenInTheFixedEnglishLetters) {
  // Message 42 of English spells the knight S; PGN and EPD readers want N.
  Add(collection_, "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q", 2, "Volf", "1905");
  const std::string epd = folder_.File("out.epd");
  EXPECT_EQ(Export(ExportAction::EpdFile, epd, {1}).written, 1);
  EXPECT_EQ(ReadText(epd),
            "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q w - - id \"Volf\" ;pv Nf3;\r\n");
}

TEST_F(ExportTest, TextReportHoldsHeadingDiagramMenInformationAndSolution) {
  Add(collection_, HowardBoard, 2, "Howard, Kenneth S.", "The Observer  26 Dec 1926");
  // Only the actual play, without variations: a short solution text.
  (*options_)[Option::SetPlay] = 0;
  (*options_)[Option::TryRefutations] = 0;
  (*options_)[Option::Variations] = 0;
  (*options_)[Option::ShowChangedMates] = 0;
  const std::string txt = folder_.File("out.txt");
  EXPECT_EQ(Export(ExportAction::SolutionsToText, txt, {1}).written, 1);

  Board board;
  ASSERT_TRUE(ParseFenBoard(HowardBoard, board, nullptr));
  const std::string diagram = BoardToDiagramText(board, 0);
  std::string expected = "\r\n" + collection_ + " - position n\xB0 1 / 1\r\n\r\n";
  for (int row = 0; row < 10; ++row) expected += diagram.substr(row * 10, 10) + "\r\n";
  expected +=
      "\r\nB : Kf4, Qc5, Bf8, Bb1, Sc7, Sd3, Pc2, "
      "\r\nN : Ka3, Ra4, Bb8, Bf7, Sd6, Pb4, Pb2, "
      "\r\n\r\n(7+7)\t  #2\r\n"
      // Two blanks in a text break its line.
      "Kenneth S. Howard\r\nThe Observer\r\n26 Dec 1926\r\n"
      "\r\nSolution: 1. Qd4! [2. Qxb2#]\r\n "
      "\r\n\r\n";
  EXPECT_EQ(ReadText(txt), expected);
}

TEST_F(ExportTest, AnOutputThatCannotBeOpenedIsReportedOnceAndTheLoopGoesOn) {
  AddBoth();
  const std::string pgn = folder_.File("missing-folder/out.pgn");
  const ExportOutcome outcome = Export(ExportAction::PgnFile, pgn, {1, 2});
  EXPECT_EQ(outcome.written, 0);
  EXPECT_EQ(outcome.failedWrites, 2);
  EXPECT_EQ(outcome.firstFailure.status, FileStatus::CannotOpen);
  EXPECT_EQ(progress_, (std::vector<int>{1, 2}));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("Unable to Open " + pgn), std::string::npos);
}

TEST_F(ExportTest, APipeIsRefusedNotWaitedOn) {
  const std::string fifo = folder_.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(AppendToOutputFile(fifo, "text").status, FileStatus::CannotOpen);
}

TEST_F(ExportTest, AnEntryBeyondTheEndOfItsFileIsNotExportedAsTheLastProblem) {
  AddBoth();
  const std::string epd = folder_.File("out.epd");
  const ExportOutcome outcome = Export(ExportAction::EpdFile, epd, {3, 1});
  EXPECT_EQ(outcome.unreadable, 1);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(ReadText(epd),
            "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6 w - - id \"Howard, Kenneth S.\" ;pv Qd4;\r\n");
}

TEST_F(ExportTest, AStalemateProblemIsNotSolvedAsAMate) {
  Add(collection_, HowardBoard, 2, "Howard, Kenneth S.", "X", FlagStalemate);
  const std::string epd = folder_.File("out.epd");
  EXPECT_EQ(Export(ExportAction::EpdFile, epd, {1}).written, 1);
  EXPECT_EQ(ReadText(epd),
            "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6 w - - id \"Howard, Kenneth S.\" ;pv ;\r\n");
}

TEST_F(ExportTest, CopySkipsTheTargetItselfAndAppendsToAnother) {
  AddBoth();
  const auto before = ReadBytes(collection_);
  ExportOutcome outcome = Export(ExportAction::CopyPositions, collection_, {1, 2});
  EXPECT_EQ(outcome.skipped, 2);
  EXPECT_EQ(ReadBytes(collection_), before);

  const std::string other = folder_.File("other.kvl");
  outcome = Export(ExportAction::CopyPositions, other, {2, 1});
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(state_.currentFileName, other);
  EXPECT_EQ(state_.currentIndex, 0);
  CurrentProblem copied;
  Board board{};
  ASSERT_TRUE(LoadProblemNumber(other, 1, copied, board));
  EXPECT_EQ(copied.authors, "Planck, Charles");
  EXPECT_EQ(copied.type.moves, 8);
  ASSERT_TRUE(LoadProblemNumber(other, 2, copied, board));
  EXPECT_EQ(copied.authors, "Howard, Kenneth S.");
  EXPECT_EQ(BoardToForsyth(board, true), HowardBoard);
}

TEST_F(ExportTest, SolutionsToRecordsStoresTheSolvedText) {
  AddBoth();
  (*options_)[Option::SetPlay] = 0;
  (*options_)[Option::TryRefutations] = 0;
  (*options_)[Option::Variations] = 0;
  (*options_)[Option::ShowChangedMates] = 0;
  EXPECT_EQ(Export(ExportAction::SolutionsToRecords, "", {1}).written, 1);
  CurrentProblem stored;
  Board board{};
  ASSERT_TRUE(LoadProblemNumber(collection_, 1, stored, board));
  EXPECT_EQ(stored.solutionText, "\r\nSolution: 1. Qd4! [2. Qxb2#]\r\n ");
}

TEST(PgnYear, TakesTheNumberAtTheFirstNineteen) {
  EXPECT_EQ(PgnYear("Chess Monthly 1923"), 1923);
  EXPECT_EQ(PgnYear("Tourney 1923-24"), 1923);
  EXPECT_EQ(PgnYear("no year"), 1999);
  EXPECT_EQ(PgnYear("19th century"), 1999);  // 19 is below 1900
  EXPECT_EQ(PgnYear("Problemist 2019"), 1999);
  EXPECT_EQ(PgnYear("1850, then 1901"), 1901);
  EXPECT_EQ(PgnYear("1999999999999999999999"), 199999999);
}

TEST(KeyMoveOfSolution, FindsTheFirstKeyOfEitherHeader) {
  const Language english;
  EXPECT_EQ(KeyMoveOfSolution("\r\nSet Play:\r\n 1. ... Kd5 2. Qd4#\r\n"
                              "\r\nSolution: 1. Qd4! [2. Qxb2#]\r\n",
                              english),
            "Qd4");
  EXPECT_EQ(KeyMoveOfSolution("\r\n 1. ... Kd5 2. Qd4#\r\n\r\n 1. ... Ke4!\r\n", english), "Ke4");
  EXPECT_EQ(KeyMoveOfSolution("\r\nNo solution", english), "");
}

}  // namespace
}  // namespace kv
