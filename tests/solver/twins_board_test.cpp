#include <gtest/gtest.h>

#include "solver/board_operations.h"
#include "solver/twins.h"
#include "test_board.h"

namespace kv {
namespace {

using test::BoardFromFen;
using test::Sq;

// 0..63 square numbers of the twins field.
int T(const char* name) {
  return (8 - (name[1] - '0')) * 8 + (name[0] - 'a');
}

TEST(BoardOperation, ShiftsLoseOrWrapTheLeavingLine) {
  Board backup{};
  Board b = BoardFromFen("8/8/8/8/7R/8/8/k6K");
  Board plain = b;
  ASSERT_TRUE(BoardOperation(plain, backup, OpShiftRight));
  EXPECT_EQ(plain[Sq("h4")], Empty);
  EXPECT_EQ(plain[Sq("a4")], Empty);
  EXPECT_EQ(plain[Sq("b1")], BlackKing);
  Board torus = b;
  ASSERT_TRUE(BoardOperation(torus, backup, OpShiftRight + OpToroidal));
  EXPECT_EQ(torus[Sq("a4")], WhiteRook);
  EXPECT_EQ(torus[Sq("a1")], WhiteKing);
  Board up = b;
  BoardOperation(up, backup, OpShiftUp);
  EXPECT_EQ(up[Sq("h5")], WhiteRook);
  EXPECT_EQ(up[Sq("h2")], WhiteKing);
  Board down = b;
  BoardOperation(down, backup, OpShiftDown + OpToroidal);
  EXPECT_EQ(down[Sq("h3")], WhiteRook);
  EXPECT_EQ(down[Sq("h8")], WhiteKing);
  EXPECT_FALSE(BoardOperation(down, backup, 10));
  EXPECT_FALSE(BoardOperation(down, backup, 13));
}

TEST(BoardOperation, RotationMirrorsAndColours) {
  Board backup{};
  Board b = BoardFromFen("8/8/8/8/8/8/8/R6k");
  BoardOperation(b, backup, OpRotate90);
  EXPECT_EQ(b[Sq("a8")], WhiteRook);  // a1 goes to a8
  EXPECT_EQ(b[Sq("a1")], BlackKing);  // h1 goes to a1
  BoardOperation(b, backup, OpRotate90);
  EXPECT_EQ(b[Sq("h8")], WhiteRook);
  Board m = BoardFromFen("8/8/8/8/8/8/P7/7k");
  BoardOperation(m, backup, OpMirrorFiles);
  EXPECT_EQ(m[Sq("h2")], WhitePawn);
  BoardOperation(m, backup, OpMirrorRanks);
  EXPECT_EQ(m[Sq("h7")], WhitePawn);
  EXPECT_EQ(m[Sq("a8")], BlackKing);
  BoardOperation(m, backup, OpSwapColours);
  EXPECT_EQ(m[Sq("h7")], BlackPawn);
  EXPECT_EQ(m[Sq("a8")], WhiteKing);
  EXPECT_EQ(m[0], OffBoard);
}

TEST(BoardOperation, ClearKeepsBackupAndRestoreBringsItBack) {
  Board backup = BoardFromFen("8/8/8/8/8/8/8/8");
  const Board restoredAtStart = backup;
  Board b = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
  const Board original = b;
  Board fresh = b;
  // Restore right after start-up gives the empty board with its border.
  BoardOperation(fresh, backup, OpRestore);
  EXPECT_EQ(fresh, restoredAtStart);
  BoardOperation(b, backup, OpClear);
  EXPECT_EQ(b, restoredAtStart);
  BoardOperation(b, backup, OpRestore);
  EXPECT_EQ(b, original);
}

TEST(TwinsField, EntriesRoundTripAsPrintableText) {
  TwinEntry entries[2];
  entries[0] = {TwinMove, true, T("e1"), T("e2"), 0};
  entries[1] = {TwinAdd, false, T("c3"), 0, BlackQueen};
  const std::string field = BuildTwinsField(false, entries, 2);
  ASSERT_EQ(field.size(), 9u);
  for (char c : field) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
  EXPECT_EQ(TwinCount(field), 2);
  EXPECT_FALSE(TwinsSuccessive(field));
  const TwinEntry e = TwinEntryAt(field, 1);
  EXPECT_EQ(e.kind, TwinAdd);
  EXPECT_EQ(e.square1, T("c3"));
  EXPECT_EQ(e.man, BlackQueen);
  EXPECT_TRUE(TwinEntryAt(field, 0).combined);
  EXPECT_EQ(TwinCount(""), 0);
  // A 32nd entry is not kept.
  TwinEntry many[40]{};
  EXPECT_EQ(TwinCount(BuildTwinsField(true, many, 40)), MaxTwinEntries);
}

TEST(DescribeTwin, TextsOfTheKinds) {
  const Language english;
  const Board b = BoardFromFen("4k3/8/8/8/8/8/3r4/4K3");
  TwinEntry e[] = {
      {TwinMove, false, T("d2"), T("d5"), 0},
      {TwinMove, false, T("a3"), T("a4"), 0},
      {TwinRemove, false, T("d2"), 0, 0},
      {TwinAdd, false, T("c3"), 0, WhiteKnight},
      {TwinRemoveAdd, false, T("d2"), T("d2"), WhiteBishop},
      {TwinExchange, true, T("e1"), T("e8"), 0},
      {TwinRotate90, false, 0, 0, 0},
      {TwinTranslate, false, T("a1"), T("a2"), 0},
  };
  const std::string usual = BuildTwinsField(false, e, 8);
  const char* expected[] = {"Rbd2->d5", "??a3->a4",        "-Rbd2",           "+Swc3",
                            "Bwd2",     "Kwe1<->Kbe8 et ", "Rotation 90\xB0", "Translation a1-a2"};
  for (int i = 0; i < 8; ++i) {
    const TwinDescription d = DescribeTwin(usual, i, b, english);
    EXPECT_EQ(d.text, expected[i]) << i;
    EXPECT_EQ(d.prefixLength, 0);
  }
  const std::string successive = BuildTwinsField(true, e, 8);
  const TwinDescription d = DescribeTwin(successive, 2, b, english);
  EXPECT_EQ(d.text, "then -Rbd2");
  EXPECT_EQ(d.prefixLength, 5);
  TwinEntry type{TwinChangeType, false, KindHelp | FlagWhiteBegins, 3, 0};
  EXPECT_EQ(DescribeTwin(BuildTwinsField(false, &type, 1), 0, b, english).text, " h#3 W");
}

TEST(ApplyTwin, BoardChangesAndTranslationsOfOneStepOnly) {
  Board b = BoardFromFen("4k3/8/8/8/8/8/3r4/4K2R");
  ProblemType type, saved;
  const Move none{};
  ApplyTwin({TwinMove, false, T("d2"), T("d5"), 0}, b, type, saved, none);
  EXPECT_EQ(b[Sq("d5")], BlackRook);
  EXPECT_EQ(b[Sq("d2")], Empty);
  ApplyTwin({TwinExchange, false, T("e1"), T("e8"), 0}, b, type, saved, none);
  EXPECT_EQ(b[Sq("e1")], BlackKing);
  const Board before = b;
  ApplyTwin({TwinTranslate, false, T("a1"), T("c1"), 0}, b, type, saved, none);
  EXPECT_EQ(b, before);
  ApplyTwin({TwinTranslateToroidal, false, T("a1"), T("b1"), 0}, b, type, saved, none);
  EXPECT_EQ(b[Sq("a1")], WhiteRook);
  // A square number beyond h1 (a damaged field) changes nothing.
  const Board kept = b;
  ApplyTwin({TwinRemove, false, 70, 0, 0}, b, type, saved, none);
  EXPECT_EQ(b, kept);
}

TEST(ApplyTwin, StipulationChangeAndAfterTheKey) {
  Board b = BoardFromFen("4k3/8/8/8/8/8/8/4K2R");
  ProblemType type;
  type.moves = 2;
  ProblemType saved;
  EXPECT_EQ(ApplyTwin({TwinChangeType, false, KindSelf, 3, 0}, b, type, saved, Move{}), 3);
  EXPECT_EQ(type.kind, KindSelf);
  EXPECT_EQ(type.moves, 3);
  EXPECT_EQ(saved.kind, KindDirect);
  EXPECT_EQ(saved.moves, 2);
  // Castling as the key: the rook follows the king.
  const Move castle{static_cast<std::int8_t>(Sq("e1")),
                    static_cast<std::int8_t>(Sq("g1")),
                    static_cast<std::int8_t>(Sq("g1")),
                    WhiteKing,
                    WhiteKing,
                    0};
  EXPECT_EQ(ApplyTwin({TwinAfterKey, false, 0, 0, 0}, b, type, saved, castle), 0);
  EXPECT_EQ(b[Sq("g1")], WhiteKing);
  EXPECT_EQ(b[Sq("f1")], WhiteRook);
  EXPECT_EQ(b[Sq("h1")], Empty);
  ApplyTwin({TwinDuplex, false, 0, 0, 0}, b, type, saved, Move{});
  EXPECT_EQ(b[Sq("g8")], BlackKing);
  EXPECT_EQ(b[Sq("e1")], WhiteKing);
}

}  // namespace
}  // namespace kv
