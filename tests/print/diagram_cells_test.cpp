#include <gtest/gtest.h>

#include "collections/forsyth.h"
#include "print/diagram_cells.h"

namespace kv::print {
namespace {

Board BoardOf(const char* forsyth) {
  Board board;
  board.fill(OffBoard);
  ForsythToBoard(forsyth, board);
  return board;
}

// Every man of the initial position is drawn as the right man, colour and
// square colour, read back from the diagram text.
TEST(DiagramCells, MenOfTheDiagramTextReadBack) {
  const std::string text =
      BoardToDiagramText(BoardOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"), 2);
  const Man backRank[8] = {Man::Rook, Man::Knight, Man::Bishop, Man::Queen,
                           Man::King, Man::Bishop, Man::Knight, Man::Rook};
  for (int file = 0; file < 8; ++file) {
    const DiagramCell black = DescribeDiagramCell(static_cast<unsigned char>(text[10 + 1 + file]));
    const DiagramCell white = DescribeDiagramCell(static_cast<unsigned char>(text[80 + 1 + file]));
    EXPECT_EQ(black.man, backRank[file]) << file;
    EXPECT_TRUE(black.black);
    EXPECT_EQ(white.man, backRank[file]) << file;
    EXPECT_FALSE(white.black);
    EXPECT_EQ(black.dark, file % 2 == 1);  // a8 is light
    EXPECT_EQ(white.dark, file % 2 == 0);  // a1 is dark
  }
  EXPECT_EQ(DescribeDiagramCell(static_cast<unsigned char>(text[20 + 1])).man, Man::Pawn);
  const DiagramCell emptyDark = DescribeDiagramCell('+');
  EXPECT_EQ(emptyDark.kind, CellKind::Square);
  EXPECT_TRUE(emptyDark.dark);
  EXPECT_EQ(emptyDark.man, Man::None);
}

TEST(DiagramCells, FramesTouchTheBoardOnTheirInnerSide) {
  for (int style = 1; style <= 2; ++style) {
    const std::string text = BoardToDiagramText(BoardOf("8/8/8/8/8/8/8/8"), style);
    const auto at = [&](int i) { return DescribeDiagramCell(static_cast<unsigned char>(text[i])); };
    EXPECT_EQ(at(0).boardSides, SideBottom | SideRight) << style;
    EXPECT_EQ(at(5).boardSides, SideBottom);
    EXPECT_EQ(at(9).boardSides, SideBottom | SideLeft);
    EXPECT_EQ(at(10).boardSides, SideRight);
    EXPECT_EQ(at(19).boardSides, SideLeft);
    EXPECT_EQ(at(90).boardSides, SideTop | SideRight);
    EXPECT_EQ(at(95).boardSides, SideTop);
    EXPECT_EQ(at(99).boardSides, SideTop | SideLeft);
    for (const int i : {0, 5, 9, 10, 19, 90, 95, 99}) {
      EXPECT_EQ(at(i).kind, CellKind::Frame) << i;
      EXPECT_EQ(at(i).doubleFrame, style == 2) << i;
    }
  }
}

TEST(DiagramCells, CoordinatesNameRanksAndFiles) {
  for (int style = 3; style <= 4; ++style) {
    const std::string text = BoardToDiagramText(BoardOf("8/8/8/8/8/8/8/8"), style);
    const DiagramCell rank8 = DescribeDiagramCell(static_cast<unsigned char>(text[10]));
    const DiagramCell rank1 = DescribeDiagramCell(static_cast<unsigned char>(text[80]));
    const DiagramCell fileA = DescribeDiagramCell(static_cast<unsigned char>(text[91]));
    const DiagramCell fileH = DescribeDiagramCell(static_cast<unsigned char>(text[98]));
    EXPECT_EQ(rank8.kind, CellKind::Coordinate);
    EXPECT_EQ(rank8.label, '8');
    EXPECT_EQ(rank1.label, '1');
    EXPECT_EQ(fileA.label, 'a');
    EXPECT_EQ(fileH.label, 'h');
    EXPECT_EQ(fileH.doubleFrame, style == 4);
  }
}

TEST(DiagramCells, GlyphsAreTheUnicodeChessSymbols) {
  EXPECT_EQ(ManCodePoint(Man::King, false), U'\u2654');
  EXPECT_EQ(ManCodePoint(Man::Pawn, true), U'\u265F');
  EXPECT_EQ(ManCodePoint(Man::None, true), 0u);
}

}  // namespace
}  // namespace kv::print
