// Forsyth notation both ways and the diagram text.
#include "collections/forsyth.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

constexpr SquareIndex A8 = 22, E8 = 26, H8 = 29, E1 = 96, A1 = 92, H1 = 99;

Board EmptyBoard() {
  Board board;
  board.fill(OffBoard);
  for (int rank = 0; rank < 8; ++rank) {
    for (int file = 0; file < 8; ++file) board[FirstSquare + 10 * rank + file] = Empty;
  }
  return board;
}

Board InitialPosition() {
  Board board = EmptyBoard();
  const PieceCode back[8] = {WhiteRook, WhiteKnight, WhiteBishop, WhiteQueen,
                             WhiteKing, WhiteBishop, WhiteKnight, WhiteRook};
  for (int file = 0; file < 8; ++file) {
    board[92 + file] = back[file];
    board[82 + file] = WhitePawn;
    board[32 + file] = BlackPawn;
    board[22 + file] = static_cast<PieceCode>(16 - back[file]);
  }
  return board;
}

TEST(ForsythTest, WritesTheBoardFieldOfFen) {
  EXPECT_EQ(BoardToForsyth(InitialPosition(), true), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  EXPECT_EQ(BoardToForsyth(EmptyBoard(), true), "8/8/8/8/8/8/8/8");
}

TEST(ForsythTest, WithoutSlashesTrailingEmptySquaresAreDropped) {
  Board kings = EmptyBoard();
  kings[E8] = BlackKing;
  kings[E1] = WhiteKing;
  EXPECT_EQ(BoardToForsyth(kings, false), "4k38888884K");
  EXPECT_EQ(BoardToForsyth(kings, true), "4k3/8/8/8/8/8/8/4K3");
  // Eight characters are kept as they are: the empty board.
  EXPECT_EQ(BoardToForsyth(EmptyBoard(), false), "88888888");
  Board corner = EmptyBoard();
  corner[A8] = WhiteKing;
  EXPECT_EQ(BoardToForsyth(corner, false), "K");
  corner[H1] = BlackRook;
  EXPECT_EQ(BoardToForsyth(corner, false), "K78888887r");
}

TEST(ForsythTest, ReadsLettersDigitsAndSkipsSlashes) {
  Board board = InitialPosition();
  ForsythToBoard("K", board);
  Board expected = EmptyBoard();
  expected[A8] = WhiteKing;
  EXPECT_EQ(board, expected);

  // A whole FEN line: the fields after the board are ignored.
  ForsythToBoard("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", board);
  expected = InitialPosition();
  expected[86] = Empty;      // e2
  expected[66] = WhitePawn;  // e4
  EXPECT_EQ(board, expected);
}

TEST(ForsythTest, ShortRanksShiftLaterSquaresAndOddCharactersAreEmptySquares) {
  Board board = EmptyBoard();
  // Seven squares before the "/": the black king meant for a7 lands on h8.
  ForsythToBoard("7/k", board);
  Board expected = EmptyBoard();
  expected[H8] = BlackKing;
  EXPECT_EQ(board, expected);

  // "0", "9", "x" and a blank are one empty square each.
  ForsythToBoard("09x K", board);
  expected = EmptyBoard();
  expected[A8 + 4] = WhiteKing;
  EXPECT_EQ(board, expected);

  // A digit never runs past h1; surplus text is ignored.
  ForsythToBoard("88888887K8Q", board);
  expected = EmptyBoard();
  expected[H1] = WhiteKing;
  EXPECT_EQ(board, expected);
  EXPECT_EQ(board[A1], Empty);
}

// The rows of the checked problem set, split into their columns (the line
// of column names left out). A missing or unreadable file gives no rows.
std::vector<std::vector<std::string>> CheckedRows() {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/collections/data/checked.tsv");
  std::string line;
  if (!std::getline(in, line)) return rows;  // column names
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::vector<std::string> columns;
    std::stringstream split(line);
    for (std::string column; std::getline(split, column, '\t');) columns.push_back(column);
    rows.push_back(std::move(columns));
  }
  return rows;
}

// Every board of the checked problem set reads and writes back unchanged.
TEST(ForsythTest, RoundTripsTheCheckedProblems) {
  const std::vector<std::vector<std::string>> rows = CheckedRows();
  // The set holds 45 problems; fewer means the file is missing or cut.
  ASSERT_GE(rows.size(), 40u) << "tests/collections/data/checked.tsv missing or cut";
  std::size_t checked = 0;
  for (const std::vector<std::string>& columns : rows) {
    ASSERT_GE(columns.size(), 3u) << "row " << checked + 1;
    Board board = EmptyBoard();
    ForsythToBoard(columns[2], board);
    EXPECT_EQ(BoardToForsyth(board, true), columns[2]) << columns[0];
    Board again = EmptyBoard();
    ForsythToBoard(BoardToForsyth(board, false), again);
    EXPECT_EQ(again, board) << columns[0];
    ++checked;
  }
  EXPECT_EQ(checked, rows.size());
}

std::vector<std::string> Rows(const std::string& text) {
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < text.size(); i += DiagramSide)
    rows.push_back(text.substr(i, DiagramSide));
  return rows;
}

TEST(DiagramTextTest, BlankBorderStillAlternatesSquares) {
  const std::vector<std::string> rows = Rows(BoardToDiagramText(EmptyBoard(), 0));
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0], "          ");
  EXPECT_EQ(rows[1], "  + + + + ");
  EXPECT_EQ(rows[2], " + + + +  ");
  EXPECT_EQ(rows[8], " + + + +  ");
  EXPECT_EQ(rows[9], "          ");
}

TEST(DiagramTextTest, MenTakeTheDarkFormOnDarkSquares) {
  const std::vector<std::string> rows = Rows(BoardToDiagramText(InitialPosition(), 0));
  EXPECT_EQ(rows[1], " tMvWlVmT ");  // a8 light: rook light, knight dark, ...
  EXPECT_EQ(rows[2], " OoOoOoOo ");
  EXPECT_EQ(rows[7], " pPpPpPpP ");
  EXPECT_EQ(rows[8], " RnBqKbNr ");
}

TEST(DiagramTextTest, FramesAndCoordinates) {
  const Board board = EmptyBoard();
  std::vector<std::string> rows = Rows(BoardToDiagramText(board, 1));
  EXPECT_EQ(rows[0], "1222222223");
  EXPECT_EQ(rows[1], "4 + + + +5");
  EXPECT_EQ(rows[9], "7888888889");

  rows = Rows(BoardToDiagramText(board, 2));
  EXPECT_EQ(rows[0], "!\"\"\"\"\"\"\"\"#");
  EXPECT_EQ(rows[1], "$ + + + +%");
  EXPECT_EQ(rows[9], "/(((((((()");

  rows = Rows(BoardToDiagramText(board, 3));
  EXPECT_EQ(rows[1], "\xC7 + + + +5");
  EXPECT_EQ(rows[8], "\xC0+ + + + 5");
  EXPECT_EQ(rows[9],
            "7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
            "9");

  rows = Rows(BoardToDiagramText(board, 4));
  EXPECT_EQ(rows[0], "!\"\"\"\"\"\"\"\"#");
  EXPECT_EQ(rows[1], "\xE7 + + + +%");
  EXPECT_EQ(rows[9], "/\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF)");

  EXPECT_EQ(BoardToDiagramText(board, 7), BoardToDiagramText(board, 0));
}

}  // namespace
}  // namespace kv
