// The solution-text writers on hand-made lists: the exact layouts of a
// variation, a threat, a refutation line, the grouping of replies and mates,
// the notation options and the helpmate numbering.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "solver/solution_writer.h"
#include "solver/solve_driver.h"
#include "test_board.h"

namespace kv {
namespace {

using test::BoardFromFen;
using test::Sq;

Move Mv(const char* from, const char* to, int moved, int captured = 0, int placed = 0) {
  Move m;
  m.from = static_cast<std::int8_t>(Sq(from));
  m.to = static_cast<std::int8_t>(Sq(to));
  m.capture = m.to;
  m.moved = static_cast<std::int8_t>(moved);
  m.placed = static_cast<std::int8_t>(placed ? placed : moved);
  m.captured = static_cast<std::int8_t>(captured);
  return m;
}

struct WriterWorld {
  Position pos;
  SolveOptions options;
  UiCallbacks ui;
  Language language;
  std::unique_ptr<SearchState> state = std::make_unique<SearchState>();
  std::unique_ptr<SolutionText> text = std::make_unique<SolutionText>();
  SearchContext ctx{pos, options, ui, language, *state};
  Writer w{ctx, *text};

  explicit WriterWorld(const char* fen = "8/8/8/8/8/8/8/8") { pos.board = BoardFromFen(fen); }
  std::string Text() const { return std::string(text->View()); }
  void Add(VariationRecords& list, int& n, const Move& reply, const Move& mate, int mark = 0) {
    list.records[n].reply = {reply, static_cast<std::int8_t>(mark)};
    list.records[n].continuation = {mate, 0};
    list.records[++n].reply.move.from = 0;
  }
};

TEST(WriterLayout, MovePairAndBlackMoveStyles) {
  const VariationRecord r{{Mv("d1", "d4", BlackRook, WhiteQueen), 0},
                          {Mv("g8", "f6", WhiteKnight), 0}};
  const char* expected[] = {"1. ... Rxd4 2. Sf6", "1... Rxd4 2. Sf6", "1.- Rxd4 2. Sf6"};
  for (int style = 0; style < 3; ++style) {
    WriterWorld world;
    world.options[Option::BlackMoveStyle] = style;
    WriteMovePair(world.w, 1, r);
    EXPECT_EQ(world.Text(), expected[style]);
  }
  WriterWorld deeper;
  WriteMovePair(deeper.w, 2, r);
  EXPECT_EQ(deeper.Text(), "   2. ... Rxd4 3. Sf6");
}

TEST(WriterLayout, HelpmateNumbersAndTwoBlanks) {
  const VariationRecord r{{Mv("c5", "d4", BlackKing), 0}, {Mv("c1", "c3", WhiteQueen), 0}};
  WriterWorld help;
  help.state->helpMode = HelpMode::BlackBegins;
  help.options[Option::BlackMoveStyle] = 2;  // a helpmate ignores the style
  WriteMovePair(help.w, 1, r);
  EXPECT_EQ(help.Text(), "1. Kd4  Qc3");
  WriterWorld whiteFirst;
  whiteFirst.state->helpMode = HelpMode::WhiteBegins;
  WriteMovePair(whiteFirst.w, 1, r);
  EXPECT_EQ(whiteFirst.Text(), "   2. Kd4  Qc3");
}

TEST(WriterVariations, SameMateJoinsRepliesOfOneManWithSlashAndOfTwoWithComma) {
  WriterWorld world("8/8/8/2Q5/8/8/8/8");
  VariationRecords list;
  int n = 0;
  world.Add(list, n, Mv("d7", "c6", BlackBishop), Mv("a3", "c5", WhiteQueen, BlackPawn));
  world.Add(list, n, Mv("d7", "b7", BlackBishop), Mv("a3", "c5", WhiteQueen, BlackPawn));
  world.Add(list, n, Mv("b8", "b4", BlackRook), Mv("a3", "a1", WhiteQueen));
  world.Add(list, n, Mv("d5", "b4", BlackKnight), Mv("a3", "a1", WhiteQueen));
  EXPECT_EQ(WriteVariations(world.w, 1, list), 2);
  EXPECT_EQ(world.Text(),
            "\r\n 1. ... Bc6/b7 2. Qxc5#"
            "\r\n 1. ... Rb4, Sb4 2. Qa1#");
}

TEST(WriterVariations, MateThatCapturesAfterOnlySomeRepliesShowsTheSignInParentheses) {
  WriterWorld world;
  world.options[Option::ShortNotation] = 0;
  VariationRecords list;
  int n = 0;
  world.Add(list, n, Mv("b6", "c5", BlackPawn), Mv("a3", "c5", WhiteQueen, BlackPawn));
  world.Add(list, n, Mv("e6", "e5", BlackPawn), Mv("a3", "c5", WhiteQueen));
  WriteVariations(world.w, 1, list);
  EXPECT_EQ(world.Text(), "\r\n 1. ... b6-c5, e6-e5 2. Qa3(x)c5#");
}

TEST(WriterVariations, DualsAreWrittenOnOneLine) {
  WriterWorld world;
  VariationRecords list;
  int n = 0;
  world.Add(list, n, Mv("g5", "e3", BlackBishop), Mv("d2", "d3", WhitePawn));
  world.Add(list, n, Mv("g5", "e3", BlackBishop), Mv("f1", "b1", WhiteQueen));
  world.Add(list, n, Mv("g5", "e3", BlackBishop), Mv("f1", "f5", WhiteQueen));
  world.Add(list, n, Mv("c6", "e7", BlackKnight), Mv("f1", "b1", WhiteQueen));
  world.Add(list, n, Mv("c6", "e7", BlackKnight), Mv("f1", "f3", WhiteQueen));
  world.Add(list, n, Mv("g5", "f4", BlackBishop), Mv("f1", "b1", WhiteQueen));
  world.Add(list, n, Mv("g5", "f4", BlackBishop), Mv("f1", "f3", WhiteQueen));
  // Two promotions on different squares are two moves, not one man's squares.
  world.Add(list, n, Mv("d5", "d4", BlackPawn), Mv("b7", "a8", WhitePawn, BlackRook, WhiteQueen));
  world.Add(list, n, Mv("d5", "d4", BlackPawn), Mv("b7", "b8", WhitePawn, 0, WhiteQueen));
  WriteVariations(world.w, 1, list);
  EXPECT_EQ(world.Text(),
            "\r\n 1. ... Be3 2. d3, Qb1/f5#"
            "\r\n 1. ... Se7, Bf4 2. Qb1/f3#"
            "\r\n 1. ... d4 2. bxa8=Q, b8=Q#");
}

TEST(WriterVariations, CaptureSignsAndCheckMarks) {
  const char* expected[] = {"\r\n 1. ... Rxd4+ 2. Sf6#", "\r\n 1. ... R:d4+ 2. Sf6#",
                            "\r\n 1. ... R*d4+ 2. Sf6#"};
  for (int sign = 0; sign < 3; ++sign) {
    WriterWorld world;
    world.options[Option::CaptureSign] = sign;
    VariationRecords list;
    int n = 0;
    world.Add(list, n, Mv("d1", "d4", BlackRook, WhiteQueen), Mv("g8", "f6", WhiteKnight), '2');
    WriteVariations(world.w, 1, list);
    EXPECT_EQ(world.Text(), expected[sign]);
  }
}

TEST(WriterVariations, ManyRecordsNeverReadAContinuationTagAsAMark) {
  // A record's tag lives beside its mate; at index 49 and 50 the tag would
  // equal the check and ad-lib marks. The mates must still read plainly.
  WriterWorld world;
  VariationRecords list;
  int n = 0;
  for (int i = 0; i < 60; ++i) {
    const int file = i % 8;
    const int rank = 2 + i / 8;
    char from[3] = {static_cast<char>('a' + file), static_cast<char>('0' + rank), 0};
    char to[3] = {static_cast<char>('a' + file), static_cast<char>('0' + rank - 1), 0};
    world.Add(list, n, Mv(from, to, BlackRook), Mv("h8", to, WhiteQueen));
  }
  WriteVariations(world.w, 1, list);
  EXPECT_EQ(world.Text().find('+'), std::string::npos);
  EXPECT_EQ(world.Text().find('~'), std::string::npos);
}

TEST(WriterThreat, ThreatWaitingAdLibAndCheck) {
  struct Case {
    int flags;
    int shortNotation;
    SelfMode selfMode;
    const char* text;
  };
  const Case cases[] = {
      {AnalysisHasReply | AnalysisParried | AnalysisThreatUnit, 0, SelfMode::None,
       " threat 2. Qd4-d7#"},
      {AnalysisHasReply | AnalysisParried | AnalysisThreatUnit, 1, SelfMode::None, " [2. Qd7#]"},
      {AnalysisHasReply | AnalysisThreatUnit, 1, SelfMode::None, " ad lib 2. Qd7#"},
      {AnalysisHasReply | AnalysisThreatUnit, 1, SelfMode::Self, " ... Qd7#"},
      {AnalysisHasReply, 1, SelfMode::None, " waiting"},
      {AnalysisHasReply | AnalysisCheck, 1, SelfMode::None, "+"},
      {AnalysisCheck, 1, SelfMode::None, ""},  // mate at once: nothing here
  };
  for (const Case& c : cases) {
    WriterWorld world;
    world.options[Option::ShortNotation] = c.shortNotation;
    world.state->selfMode = c.selfMode;
    MoveRecords& threats = world.state->ThreatList(2);
    threats.records[0] = Mv("d4", "d7", WhiteQueen);
    threats.records[1].from = 0;
    WriteThreat(world.w, 1, c.flags);
    EXPECT_EQ(world.Text(), c.text) << c.flags;
  }
}

TEST(WriterThreat, SeveralMatesAreJoinedAndSelfmateMatesEndWithOneSign) {
  WriterWorld world;
  world.state->selfMode = SelfMode::Self;
  MoveRecords& threats = world.state->ThreatList(2);
  threats.records[0] = Mv("h1", "g2", BlackBishop, WhiteBishop);
  threats.records[1] = Mv("a4", "b3", BlackQueen);
  threats.records[2].from = 0;
  WriteThreat(world.w, 1, AnalysisHasReply | AnalysisThreatUnit);
  EXPECT_EQ(world.Text(), " ... Bxg2, Qb3#");
}

TEST(WriterRefutations, ButLineMateInOneAndDraw) {
  WriterWorld world;
  RefutationRecords refutations;
  refutations.records[0] = {Mv("a8", "a1", BlackRook, WhiteRook), 0};
  refutations.records[1] = {Mv("b8", "b1", BlackRook), '2'};
  refutations.records[2].move.from = 0;
  WriteRefutations(world.w, AnalysisHasReply, refutations);
  EXPECT_EQ(world.Text(), "\r\n  But 1. ... Rxa1! Rb1+! ");
  WriterWorld mate;
  RefutationRecords none;
  WriteRefutations(mate.w, AnalysisCheck, none);
  EXPECT_EQ(mate.Text(), "\r\n  Mate in 1");
  WriterWorld draw;
  WriteRefutations(draw.w, 0, none);
  EXPECT_EQ(draw.Text(), "\r\n But Draw!");
}

TEST(WriterNotation, LongShortCastlingPromotionEnPassantAndAdLib) {
  WriterWorld world("8/8/8/8/8/8/3N4/R3K1N1");
  world.options[Option::ShortNotation] = 0;
  Move castle = Mv("e1", "g1", WhiteKing);
  EXPECT_EQ(MoveText(world.w, castle), "O-O");
  EXPECT_EQ(MoveText(world.w, Mv("e1", "c1", WhiteKing)), "O-O-O");
  EXPECT_EQ(MoveText(world.w, castle, 1), "g1");
  Move ep = Mv("e5", "d6", WhitePawn, BlackPawn);
  ep.capture = static_cast<std::int8_t>(Sq("d5"));
  EXPECT_EQ(MoveText(world.w, ep), "e5xd6 e.p.");
  const Move promotion = Mv("e7", "e8", WhitePawn, 0, WhiteQueen);
  EXPECT_EQ(MoveText(world.w, SolutionRecord{promotion, '2'}), "e7-e8=Q+");
  EXPECT_EQ(MoveText(world.w, SolutionRecord{promotion, '2'}, 1), "Q+");
  EXPECT_EQ(MoveText(world.w, SolutionRecord{Mv("a1", "a5", WhiteRook), '3'}), "Ra1 ad lib");
  world.options[Option::ShortNotation] = 1;
  EXPECT_EQ(MoveText(world.w, SolutionRecord{Mv("a1", "a5", WhiteRook), '3'}), "Ra1~");
  EXPECT_EQ(MoveText(world.w, ep), "exd6 e.p.");
  // Two knights can reach f3: the file tells them apart.
  EXPECT_EQ(MoveText(world.w, Mv("g1", "f3", WhiteKnight)), "Sgf3");
}

TEST(SearchCompleted, ElapsedTimeAsHoursMinutesSecondsHundredths) {
  const Language english;
  EXPECT_EQ(SearchCompletedText(english, ((1 * 60 + 2) * 60 + 3) * 1000 + 450),
            " Search completed : 01 02 03,45");
  EXPECT_EQ(SearchCompletedText(english, 9), " Search completed : 00 00 00,00");
}

}  // namespace
}  // namespace kv
