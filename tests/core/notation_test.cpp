// Move texts: both notations, the letter sets, capture signs, the marks of
// the solution writer and the changed-mates table.
#include <gtest/gtest.h>

#include "core/notation.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::Sq;

Move MoveOn(const Board& board, const char* from, const char* to, int placed = 0) {
  const int f = Sq(from);
  const int t = Sq(to);
  return Move{static_cast<std::int8_t>(f),
              static_cast<std::int8_t>(t),
              static_cast<std::int8_t>(t),
              board[f],
              static_cast<std::int8_t>(placed ? placed : board[f]),
              board[t]};
}

Language LanguageOf(int base) {
  Language language;
  language.base = base;
  return language;
}

struct Texts {
  std::string longForm;
  std::string shortForm;
  std::string continuation;
};

Texts AllForms(const Board& board, const SolutionRecord& record, NotationContext context) {
  Texts texts;
  context.shortNotation = false;
  texts.longForm = MoveToText(board, record, 0, context);
  context.shortNotation = true;
  texts.shortForm = MoveToText(board, record, 0, context);
  texts.continuation = MoveToText(board, record, NotationContinuation, context);
  return texts;
}

void ExpectForms(const Board& board, const SolutionRecord& record, const NotationContext& context,
                 const Texts& expected) {
  const Texts texts = AllForms(board, record, context);
  EXPECT_EQ(texts.longForm, expected.longForm);
  EXPECT_EQ(texts.shortForm, expected.shortForm);
  if (!expected.continuation.empty()) {
    EXPECT_EQ(texts.continuation, expected.continuation);
  }
}

TEST(MoveToText, TheExamplesInEnglishAndFrench) {
  const NotationContext english = NotationContextFor(LanguageOf(LanguageEnglish), false);
  const NotationContext french = NotationContextFor(LanguageOf(LanguageFrench), false);
  Position pos = FromFen("r6k/4P3/8/3pP3/3P4/8/4P3/R3K1N1");
  const Board& b = pos.board;

  const SolutionRecord knight{MoveOn(b, "g1", "f3"), 0};
  ExpectForms(b, knight, english, {"Sg1-f3", "Sf3", "f3"});
  EXPECT_EQ(AllForms(b, knight, french).shortForm, "Cf3");

  Position twoKnights = pos;
  twoKnights.board[Sq("d2")] = WhiteKnight;
  ExpectForms(twoKnights.board, knight, english, {"Sg1-f3", "Sgf3", "f3"});
  EXPECT_EQ(AllForms(twoKnights.board, knight, french).shortForm, "Cgf3");

  const SolutionRecord rook{MoveOn(b, "a1", "a8"), 0};
  ExpectForms(b, rook, english, {"Ra1xa8", "Rxa8", "xa8"});
  EXPECT_EQ(AllForms(b, rook, french).shortForm, "Txa8");

  const SolutionRecord pawn{MoveOn(b, "e2", "e4"), 0};
  ExpectForms(b, pawn, english, {"e2-e4", "e4", "e4"});
  EXPECT_EQ(AllForms(b, pawn, french).shortForm,
            "\xE9"
            "4");
  EXPECT_EQ(AllForms(b, pawn, french).longForm, "e2-e4");

  const SolutionRecord capture{MoveOn(b, "d4", "e5"), 0};
  ExpectForms(b, capture, english, {"d4xe5", "dxe5", "xe5"});
  EXPECT_EQ(AllForms(b, capture, french).shortForm,
            "dx\xE9"
            "5");

  const SolutionRecord enPassant{Move{56, 45, 55, WhitePawn, WhitePawn, BlackPawn}, 0};
  ExpectForms(b, enPassant, english, {"e5xd6 e.p.", "exd6 e.p.", "xd6 e.p."});
  EXPECT_EQ(AllForms(b, enPassant, french).shortForm, "\xE9xd6 e.p.");

  const SolutionRecord promotion{MoveOn(b, "e7", "e8", WhiteQueen), '2'};
  ExpectForms(b, promotion, english, {"e7-e8=Q+", "e8=Q+", "Q+"});
  EXPECT_EQ(AllForms(b, promotion, french).shortForm,
            "\xE9"
            "8=D+");

  // Castling: no check mark, even when the rook checks; the continuation
  // form gives the king's square.
  const SolutionRecord castling{Move{96, 94, 94, WhiteKing, WhiteKing, 0}, '2'};
  ExpectForms(b, castling, english, {"O-O-O", "O-O-O", "c1+"});
  const SolutionRecord blackCastling{Move{26, 28, 28, BlackKing, BlackKing, 0}, 0};
  EXPECT_EQ(MoveToText(b, blackCastling, 0, english), "O-O");

  const SolutionRecord adLib{MoveOn(b, "a1", "a5"), '3'};
  EXPECT_EQ(AllForms(b, adLib, english).longForm, "Ra1 ad lib");
  EXPECT_EQ(AllForms(b, adLib, english).shortForm, "Ra1~");
}

TEST(MoveToText, CaptureSignsAndTheWritersMark) {
  NotationContext context = NotationContextFor(LanguageOf(LanguageEnglish), false);
  Position pos = FromFen("r3k3/8/8/8/8/8/8/R3K3");
  Move capture = MoveOn(pos.board, "a1", "a8");
  context.captureSign = 1;
  EXPECT_EQ(MoveToText(pos.board, capture, 0, context), "Ra1:a8");
  context.captureSign = 2;
  EXPECT_EQ(MoveToText(pos.board, capture, 0, context), "Ra1*a8");
  context.captureSign = 0;
  capture.captured = 100 + BlackRook;
  EXPECT_EQ(MoveToText(pos.board, capture, 0, context), "Ra1(x)a8");
  EXPECT_EQ(MoveToText(pos.board, capture, NotationContinuation, context), "(x)a8");
}

TEST(MoveToText, LetterSets) {
  NotationContext context = NotationContextFor(LanguageOf(LanguageEnglish), true);
  Position pos = FromFen("6nk/8/8/8/8/8/8/K5N1");
  const Move white = MoveOn(pos.board, "g1", "f3");
  const Move black = MoveOn(pos.board, "g8", "f6");
  EXPECT_EQ(MoveToText(pos.board, white, 0, context), "\xC4g1-f3");  // figurine knight
  EXPECT_EQ(MoveToText(pos.board, white, NotationPlainLetters, context), "Sg1-f3");
  EXPECT_EQ(MoveToText(pos.board, black, 0, context), "\xCAg8-f6");
  // A batch export writes English letters, lower case for Black.
  context.batchExport = true;
  EXPECT_EQ(MoveToText(pos.board, white, NotationPlainLetters, context), "Ng1-f3");
  EXPECT_EQ(MoveToText(pos.board, black, 0, context), "ng8-f6");
  // Italian.
  const NotationContext italian = NotationContextFor(LanguageOf(LanguageItalian), false);
  EXPECT_EQ(MoveToText(pos.board, black, 0, italian), "Cg8-f6");
  // A letter string too short for the man gives no letter, never a read
  // past its end.
  NotationContext shortLetters = italian;
  shortLetters.notationLetters = " T";
  EXPECT_EQ(MoveToText(pos.board, black, 0, shortLetters), "g8-f6");
}

TEST(MoveToText, RankMirrorTouchesOnlyTheDestination) {
  NotationContext context = NotationContextFor(LanguageOf(LanguageEnglish), false);
  context.rankMirror = true;
  Position pos = FromFen("7k/8/8/8/8/8/4P3/K7");
  EXPECT_EQ(MoveToText(pos.board, MoveOn(pos.board, "e2", "e4"), 0, context), "e2-e5");
}

TEST(DisambiguationChar, RivalsInScanOrder) {
  // Three rooks can reach e4: the first rival found along -1, -10, 1, 10
  // decides.
  Position pos = FromFen("4R2k/8/8/8/R6R/8/8/K3R3");
  const Board& b = pos.board;
  EXPECT_EQ(DisambiguationChar(b, MoveOn(b, "h4", "e4"), false), 'h');  // rival a4
  EXPECT_EQ(DisambiguationChar(b, MoveOn(b, "a4", "e4"), false), 'a');  // rival e8
  EXPECT_EQ(DisambiguationChar(b, MoveOn(b, "e1", "e4"), false), 'e');  // rival a4, not e8
  Position file = FromFen("4R2k/8/8/8/8/8/8/K3R3");
  EXPECT_EQ(DisambiguationChar(file.board, MoveOn(file.board, "e1", "e4"), false), '1');
  EXPECT_EQ(DisambiguationChar(file.board, MoveOn(file.board, "e8", "e4"), false), '8');
  // Queens, bishops and kings are never disambiguated; French files.
  Position knights = FromFen("7k/8/8/8/8/8/3N4/K3N3");
  const Move toF3 = MoveOn(knights.board, "e1", "f3");
  EXPECT_EQ(DisambiguationChar(knights.board, toF3, true), '\xE9');
  EXPECT_EQ(DisambiguationChar(knights.board, toF3, false), 'e');
  Position bishops = FromFen("7k/8/8/8/8/8/8/K1B1B3");
  EXPECT_EQ(DisambiguationChar(bishops.board, MoveOn(bishops.board, "c1", "d2"), false), 0);
}

TEST(MoveToText, ChangedMatesMarksAndTheLengthCut) {
  NotationContext context = NotationContextFor(LanguageOf(LanguageEnglish), false);
  Position pos = FromFen("4k3/8/8/8/3Pp3/8/8/R3K3");
  const Move reply{66, 75, 65, BlackPawn, BlackPawn, WhitePawn};  // e4xd3 e.p.
  const Move mate = MoveOn(pos.board, "a1", "a8");
  SolutionPair table[3] = {};
  table[0].first = {Move{30, 0, 0, 0, 0, 0}, 0};  // an empty reply half
  table[0].second = {mate, 'A'};
  table[1].first = {reply, 'a'};
  context.marks = table;
  EXPECT_EQ(MoveToText(pos.board, mate, 0, context), "Ra1-a8 [A] ");
  EXPECT_EQ(MoveToText(pos.board, reply, 0, context), "e4xd3 e.p. [a] ");
  // Long texts are cut at 17 characters.
  Move marked = reply;
  marked.captured = 100 + WhitePawn;
  const std::string text = MoveToText(pos.board, SolutionRecord{marked, '2'}, 0, context);
  EXPECT_EQ(text, std::string("e4(x)d3 e.p.+ [a] ").substr(0, MaxMoveTextLength));
}

}  // namespace
}  // namespace kv
