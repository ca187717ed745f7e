// Position validation: the findings, their order, the message and the
// result that lets the solve go on or stops it.
#include <gtest/gtest.h>

#include <vector>

#include "core/validation.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

struct ShownMessage {
  std::string text;
  std::string caption;
  int style;
};

// Records the message boxes; the tests read what was shown.
struct Recorder {
  std::vector<ShownMessage> shown;
  UiCallbacks ui;
  Recorder() {
    ui.messageBox = [this](const std::string& text, const std::string& caption, int style) {
      shown.push_back({text, caption, style});
      return IdOk;
    };
  }
};

Position Board(const char* fen) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
  return pos;
}

int Validate(const char* fen, Recorder& recorder, int tryRefutations = 0, int actualPlay = 1) {
  Position pos = Board(fen);
  ValidationContext context;
  context.tryRefutations = tryRefutations;
  context.actualPlay = actualPlay;
  context.ui = &recorder.ui;
  return ValidatePosition(pos, context);
}

TEST(ValidatePosition, EmptyBoardIsInvalidWithoutAMessage) {
  Recorder recorder;
  EXPECT_EQ(Validate("8/8/8/8/8/8/8/8", recorder), FindingNoWhiteKing);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST(ValidatePosition, TheLastFailingTestIsReported) {
  struct Case {
    const char* name;
    const char* fen;
    int result;
    const char* text;
  };
  const Case cases[] = {
      {"sound", "4k3/8/8/8/8/8/8/4K3", 0, nullptr},
      {"two white kings hide the missing black king", "8/8/8/8/8/8/8/K3K3", 3, "2 rois blancs"},
      {"a missing black king hides nine white pawns", "8/PPPPPPPP/P7/8/8/8/8/4K3", 2,
       "pas de roi noir"},
      {"nine pawns, one on h8", "k6P/8/PPPPPPPP/8/8/8/8/4K3", 5, "pions sur cases de promotion"},
      {"two white queens", "4k3/8/8/8/8/8/8/QQ2K3", 0,
       "pi\xE8"
       "ces de promotion"},
      {"three black rooks", "r3k2r/8/8/8/8/8/8/r3K3", 0,
       "pi\xE8"
       "ces de promotion"},
      {"two bishops on light squares", "4k3/8/8/8/8/8/8/1B1BK3", 0,
       "2 fous blancs sur cases blanches"},
      {"black bishops on dark squares", "1b1bk3/8/8/8/8/8/8/4K3", 0,
       "2 fous noirs sur cases noires"},
      {"seventeen black men", "rnbqkbnr/pppppppp/n7/8/8/8/8/4K3", 0,
       "17 pi\xE8"
       "ces noires"},
      {"nine black pawns", "4k3/p7/pppppppp/8/8/8/8/4K3", 0, "9 pions noirs"},
      {"too many moves", "1Q3Q2/3Q3Q/Q3Q3/2Q3Q1/1Q3Q2/3Q4/pp6/kp2K3", 7, "position trop complexe"},
  };
  for (const Case& c : cases) {
    Recorder recorder;
    EXPECT_EQ(Validate(c.fen, recorder), c.result) << c.name;
    if (c.text == nullptr) {
      EXPECT_TRUE(recorder.shown.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(recorder.shown.size(), 1u) << c.name;
    EXPECT_EQ(recorder.shown[0].text, c.text) << c.name;
  }
}

TEST(ValidatePosition, CaptionsAndIcons) {
  Recorder recorder;
  EXPECT_EQ(Validate("4k3/8/8/8/8/8/8/QQ2K3", recorder), 0);
  EXPECT_EQ(Validate("8/8/8/8/8/8/8/K3K3", recorder), 3);
  ASSERT_EQ(recorder.shown.size(), 2u);
  EXPECT_EQ(recorder.shown[0].caption, "Dubious position");
  EXPECT_EQ(recorder.shown[0].style, MbOk | MbIconExclamation);
  EXPECT_EQ(recorder.shown[1].caption, "Invalid position");
  EXPECT_EQ(recorder.shown[1].style, MbOk | MbIconStop);

  // Batch operations switch the messages off; the result stays.
  Position pos = Board("8/8/8/8/8/8/8/K3K3");
  ValidationContext quiet;
  quiet.messageDisplay = false;
  quiet.ui = &recorder.ui;
  EXPECT_EQ(ValidatePosition(pos, quiet), 3);
  EXPECT_EQ(recorder.shown.size(), 2u);
}

TEST(ValidatePosition, BlackKingInCheck) {
  const char* fen = "4k3/8/8/8/8/8/8/4RK2";
  Recorder setPlayOnly;
  EXPECT_EQ(Validate(fen, setPlayOnly, 0, 0), 0);  // Black moves first in set play
  ASSERT_EQ(setPlayOnly.shown.size(), 1u);
  EXPECT_EQ(setPlayOnly.shown[0].text,
            "\xE9"
            "chec au roi noir");
  Recorder actual;
  EXPECT_EQ(Validate(fen, actual, 0, 1), FindingBlackKingInCheck);
  Recorder tries;
  EXPECT_EQ(Validate(fen, tries, 1, 0), FindingBlackKingInCheck);

  // Where Black moves first (a helpmate) the check is Black's to answer:
  // no finding, nothing shown, whatever is asked for.
  Position blackFirst = Board(fen);
  EXPECT_EQ(JudgePosition(blackFirst, true).code, FindingNone);
  Recorder helpmate;
  Position helpBoard = Board(fen);
  ValidationContext help;
  help.blackMovesFirst = true;
  help.actualPlay = 1;
  help.ui = &helpmate.ui;
  EXPECT_EQ(ValidatePosition(helpBoard, help), 0);
  EXPECT_TRUE(helpmate.shown.empty());

  // The white king in check (Black's generation stops early) is no finding.
  Recorder whiteInCheck;
  EXPECT_EQ(Validate("4k3/8/8/8/8/8/8/3rK3", whiteInCheck), 0);
  EXPECT_TRUE(whiteInCheck.shown.empty());
}

// A helpmate in which Black begins: Black could take the white king, so the
// position is illegal and the solve stops, whatever is asked for. With White
// to move the same position is a check to answer.
TEST(ValidatePosition, WhiteKingInCheckWhenBlackMovesFirst) {
  const char* fen = "8/N7/8/8/8/8/1b6/K6k";
  Position pos = Board(fen);
  EXPECT_EQ(JudgePosition(pos, true).code, FindingWhiteKingInCheck);
  EXPECT_EQ(JudgePosition(pos, false).code, FindingNone);
  EXPECT_TRUE(IsInvalidFinding(FindingWhiteKingInCheck));
  EXPECT_FALSE(IsInvalidFinding(FindingBlackDarkBishops));

  struct Case {
    int languageBase;
    const char* text;
    const char* caption;
  };
  const Case cases[] = {
      {LanguageFrench,
       "\xE9"
       "chec au roi blanc",
       "Position ill\xE9"
       "gale"},
      {LanguageEnglish, "white king in check", "Invalid position"},
      {LanguageItalian, "scacco al re bianco", nullptr},
      {LanguageSpanish, "jaque al rey blanco", nullptr},
  };
  for (const Case& c : cases) {
    Recorder recorder;
    Language language;
    language.base = c.languageBase;
    Position board = Board(fen);
    ValidationContext context;
    context.blackMovesFirst = true;
    context.ui = &recorder.ui;
    context.language = &language;
    EXPECT_EQ(ValidatePosition(board, context), FindingWhiteKingInCheck) << c.languageBase;
    ASSERT_EQ(recorder.shown.size(), 1u) << c.languageBase;
    EXPECT_EQ(recorder.shown[0].text, c.text);
    if (c.caption != nullptr) {
      EXPECT_EQ(recorder.shown[0].caption, c.caption);
    }
    EXPECT_EQ(recorder.shown[0].style, MbOk | MbIconStop);
  }

  // It comes after the dubious findings and the black king in check in the
  // fixed order (two queens, one of them checking the black king).
  Position twoQueens = Board("8/N7/8/8/8/8/1b6/KQQ4k");
  EXPECT_EQ(JudgePosition(twoQueens, false).code, FindingBlackKingInCheck);
  EXPECT_EQ(JudgePosition(twoQueens, true).code, FindingWhiteKingInCheck);
}

// A series play is one side's moves in a row: the other side may not stand
// in check, whatever the options ask for, and the message says so in the
// language; the series side's own king may (its first move answers it).
TEST(ValidatePosition, SeriesWithTheOtherSideInCheck) {
  // Black's king in check by the rook: a series of White's is refused even
  // when only set play is asked for; a series of Black's takes it.
  const char* blackInCheck = "4k3/8/8/8/8/8/8/4RK2";
  Position white = Board(blackInCheck);
  EXPECT_EQ(JudgePosition(white, false, true).code, FindingSeriesOtherSideInCheck);
  Position black = Board(blackInCheck);
  EXPECT_EQ(JudgePosition(black, true, true).code, FindingNone);
  // The white king in check by the bishop: refused in a series of Black's.
  Position whiteInCheck = Board("8/N7/8/8/8/8/1b6/K6k");
  EXPECT_EQ(JudgePosition(whiteInCheck, true, true).code, FindingSeriesOtherSideInCheck);
  Position whiteSeries = Board("8/N7/8/8/8/8/1b6/K6k");
  EXPECT_EQ(JudgePosition(whiteSeries, false, true).code, FindingNone);
  EXPECT_TRUE(IsInvalidFinding(FindingSeriesOtherSideInCheck));

  const std::pair<int, const char*> texts[] = {
      {LanguageEnglish, "the side that does not move is in check"},
      {LanguageFrench,
       "le camp qui ne joue pas est en \xE9"
       "chec"},
      {LanguageItalian, "il lato che non muove \xE8 sotto scacco"},
      {LanguageSpanish, "el bando que no juega est\xE1 en jaque"},
  };
  for (const auto& [base, text] : texts) {
    Recorder recorder;
    Language language;
    language.base = base;
    Position pos = Board(blackInCheck);
    ValidationContext context;
    context.series = true;
    context.actualPlay = 0;  // set play alone excuses a plain problem, not a series
    context.ui = &recorder.ui;
    context.language = &language;
    EXPECT_EQ(ValidatePosition(pos, context), FindingSeriesOtherSideInCheck) << base;
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, text);
  }
}

TEST(ValidatePosition, DerivesTheStateTheSolverNeeds) {
  Position pos = Board("r3k2r/8/8/8/8/8/8/R3K2R");
  ValidationContext context;
  EXPECT_EQ(ValidatePosition(pos, context), 0);
  EXPECT_EQ(pos.whiteKingSquare, testing::Sq("e1"));
  EXPECT_EQ(pos.blackKingSquare, testing::Sq("e8"));
  for (int counter : pos.castlingCounters) EXPECT_EQ(counter, 0);
  EXPECT_EQ(pos.blackForce, ForceRankFile);
}

}  // namespace
}  // namespace kv
