// The board window and the piece box: mouse drags, the box's sticky drag,
// typed letters, the "+"/"-" cycle, keyboard moves and keypad operations.
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

#include "app/board_editing.h"
#include "app/commands.h"
#include "app/piece_box.h"
#include "app/piece_images.h"
#include "app/small_diagram.h"
#include "app_fixture.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

// The centre of a square given as "e2".
QPoint Centre(const char* square) {
  const int column = square[0] - 'a';
  const int row = '8' - square[1];
  return {column * 32 + 16, row * 32 + 16};
}

PieceCode At(const AppState& state, const char* square) {
  return state.pos.board[SquareAt(square[0] - 'a', '8' - square[1])];
}

void Put(AppState& state, const char* square, PieceCode code) {
  state.pos.board[SquareAt(square[0] - 'a', '8' - square[1])] = code;
}

}  // namespace

class BoardTest : public QObject {
  Q_OBJECT
 private slots:
  void cycleOfPlusAndMinus();
  void typedLetters();
  void keyboardMovesWrapAroundTheBoard();
  void dragMovesCopiesAndRemoves();
  void stickyDragFromTheBox();
  void typingOnTheBoard();
  void keypadOperations();
  void restoreAfterStartGivesAnIntactEmptyBoard();
  void setupModeFollowsTheFocus();
  void pieceImagesCoverTheirSquare();
  void shiftRightClickTestsTheMovesOfAWhiteMan();
  void smallDiagramDrawsAndCounts();
};

void BoardTest::cycleOfPlusAndMinus() {
  QCOMPARE(CyclePiece(Empty, 1), WhiteKing);
  QCOMPARE(CyclePiece(BlackPawn, 1), WhiteKing);
  QCOMPARE(CyclePiece(WhiteKing, -1), BlackPawn);
  QCOMPARE(CyclePiece(Empty, -1), BlackPawn);
  QCOMPARE(CyclePiece(WhiteKing, 1), WhiteQueen);
  QCOMPARE(CyclePiece(WhitePawn, 1), BlackKing);
  QCOMPARE(CyclePiece(OffBoard, 1), WhiteKing);
  // Twelve steps come back to the start.
  PieceCode code = WhiteRook;
  for (int i = 0; i < 12; ++i) code = CyclePiece(code, 1);
  QCOMPARE(code, WhiteRook);
}

void BoardTest::typedLetters() {
  const std::string_view english = " RQBSPK   kpsbqr";
  PieceCode result = Empty;
  QVERIFY(TypedLetterPiece(english, 'R', Empty, result));
  QCOMPARE(result, WhiteRook);
  QVERIFY(TypedLetterPiece(english, 'R', WhiteRook, result));
  QCOMPARE(result, BlackRook);
  QVERIFY(TypedLetterPiece(english, 'R', BlackRook, result));
  QCOMPARE(result, WhiteRook);
  QVERIFY(TypedLetterPiece(english, 'k', WhiteQueen, result));
  QCOMPARE(result, BlackKing);
  QVERIFY(TypedLetterPiece(english, ' ', Empty, result));
  QCOMPARE(result, Empty);
  QVERIFY(TypedLetterPiece(english, ' ', WhiteKing, result));
  QCOMPARE(result, Empty);
  QVERIFY(!TypedLetterPiece(english, 'x', WhiteKing, result));
  QVERIFY(!TypedLetterPiece(english, 'N', WhiteKing, result));  // English knights are S
}

void BoardTest::keyboardMovesWrapAroundTheBoard() {
  const BoardCursor a8{0, 0}, h8{7, 0}, a7{0, 1}, h1{7, 7}, a1{0, 7};
  QCOMPARE(MoveCursor(a8, CursorKey::Up), h1);
  QCOMPARE(MoveCursor(h8, CursorKey::Right), a7);
  QCOMPARE(MoveCursor(h1, CursorKey::Down), a8);
  QCOMPARE(MoveCursor(a8, CursorKey::Left), h1);
  QCOMPARE(MoveCursor(a1, CursorKey::Up), (BoardCursor{0, 6}));
  QCOMPARE(MoveCursor(a7, CursorKey::Left), (BoardCursor{7, 0}));
  QCOMPARE(MoveCursor(a1, CursorKey::Home), a8);
  QCOMPARE(MoveCursor(a8, CursorKey::End), h1);
}

void BoardTest::dragMovesCopiesAndRemoves() {
  Fixture f;
  BoardWidget* board = f.window->board();
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  Put(*f.state, "e2", WhitePawn);
  f.state->solutionStale = false;

  // Ctrl + drag from e2 to e4 leaves men on both squares.
  QTest::mousePress(board, Qt::LeftButton, Qt::ControlModifier, Centre("e2"));
  QTest::mouseMove(board, Centre("e4"));
  QTest::mouseRelease(board, Qt::LeftButton, Qt::ControlModifier, Centre("e4"));
  QCOMPARE(At(*f.state, "e2"), WhitePawn);
  QCOMPARE(At(*f.state, "e4"), WhitePawn);
  QVERIFY(f.state->solutionStale);
  QVERIFY(!board->drag().dragging);

  // A plain drag moves the man.
  QTest::mousePress(board, Qt::LeftButton, {}, Centre("e4"));
  QTest::mouseMove(board, Centre("d5"));
  QTest::mouseRelease(board, Qt::LeftButton, {}, Centre("d5"));
  QCOMPARE(At(*f.state, "e4"), Empty);
  QCOMPARE(At(*f.state, "d5"), WhitePawn);

  // A plain drag from e2 dropped outside the board removes the man.
  QTest::mousePress(board, Qt::LeftButton, {}, Centre("e2"));
  QTest::mouseMove(board, QPoint(-20, 40));
  QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(-20, 40));
  QCOMPARE(At(*f.state, "e2"), Empty);
  QCOMPARE(CountMen(f.state->pos.board).white, 1);

  // Lifting an empty square carries nothing, which empties the drop square.
  QTest::mousePress(board, Qt::LeftButton, {}, Centre("a1"));
  QTest::mouseMove(board, Centre("d5"));
  QTest::mouseRelease(board, Qt::LeftButton, {}, Centre("d5"));
  QCOMPARE(At(*f.state, "d5"), Empty);
  // The status bar names the square under the pointer and its man.
  QTest::mouseMove(board, Centre("a8"));
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral("  A8 :   "));
  Put(*f.state, "a8", BlackKnight);
  QTest::mouseMove(board, Centre("a8") + QPoint(1, 1));
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral("  A8 : s "));
}

void BoardTest::stickyDragFromTheBox() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  w.Dispatch(CmdSetup);
  PieceBox* box = w.pieceBox();
  QVERIFY(box->isVisible());
  // The white queen: row 0, column 1.
  QCOMPARE(PieceBox::ManAt(1, 0), WhiteQueen);
  QTest::mousePress(box, Qt::RightButton, {}, PieceBox::CellCentre(1, 0));
  QVERIFY(w.board()->drag().dragging);
  QVERIFY(w.board()->drag().sticky);
  for (const char* square : {"c3", "d4", "e5"}) {
    const QPoint inBox = box->mapFromGlobal(w.board()->mapToGlobal(Centre(square)));
    QTest::mouseMove(box, inBox);
    QTest::mousePress(box, Qt::LeftButton, {}, inBox);
    QTest::mouseRelease(box, Qt::LeftButton, {}, inBox);
  }
  const QPoint e5 = box->mapFromGlobal(w.board()->mapToGlobal(Centre("e5")));
  QTest::mouseRelease(box, Qt::RightButton, {}, e5);
  QVERIFY(!w.board()->drag().dragging);
  QCOMPARE(At(*f.state, "c3"), WhiteQueen);
  QCOMPARE(At(*f.state, "d4"), WhiteQueen);
  QCOMPARE(At(*f.state, "e5"), WhiteQueen);
  QCOMPARE(CountMen(f.state->pos.board).white, 3);

  // A man taken from the box and released over the box is discarded.
  QTest::mousePress(box, Qt::LeftButton, {}, PieceBox::CellCentre(0, 1));
  QTest::mouseRelease(box, Qt::LeftButton, {}, PieceBox::CellCentre(2, 1));
  QVERIFY(!w.board()->drag().dragging);
  QCOMPARE(CountMen(f.state->pos.board).black, 0);
}

void BoardTest::typingOnTheBoard() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.Dispatch(CmdSetup);
  BoardWidget* board = w.board();
  QVERIFY(board->hasFocus());
  QCOMPARE(board->current(), (BoardCursor{0, 0}));
  QTest::keyClick(board, Qt::Key_Plus);
  QCOMPARE(At(*f.state, "a8"), WhiteKing);
  QTest::keyClick(board, Qt::Key_Right);
  QTest::keyClicks(board, "R");
  QCOMPARE(At(*f.state, "b8"), WhiteRook);
  QTest::keyClicks(board, "R");
  QCOMPARE(At(*f.state, "b8"), BlackRook);
  QTest::keyClick(board, Qt::Key_Minus);
  QCOMPARE(At(*f.state, "b8"), BlackQueen);
  QTest::keyClick(board, Qt::Key_Space);
  QCOMPARE(At(*f.state, "b8"), Empty);
  // Up from a8 reaches h1.
  QTest::keyClick(board, Qt::Key_Home);
  QTest::keyClick(board, Qt::Key_Up);
  QCOMPARE(board->current(), (BoardCursor{7, 7}));
  QTest::keyClicks(board, "p");
  QCOMPARE(At(*f.state, "h1"), BlackPawn);
}

void BoardTest::keypadOperations() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.Dispatch(CmdSetup);
  Put(*f.state, "h4", WhiteRook);
  // Keypad 6 with Ctrl wraps the man round to a4.
  QTest::keyClick(w.board(), Qt::Key_6, Qt::KeypadModifier | Qt::ControlModifier);
  QCOMPARE(At(*f.state, "a4"), WhiteRook);
  QCOMPARE(At(*f.state, "h4"), Empty);
  // Back to h4, then without Ctrl it leaves the board.
  QTest::keyClick(w.board(), Qt::Key_4, Qt::KeypadModifier | Qt::ControlModifier);
  QCOMPARE(At(*f.state, "h4"), WhiteRook);
  QTest::keyClick(w.board(), Qt::Key_6, Qt::KeypadModifier);
  QCOMPARE(CountMen(f.state->pos.board).white, 0);
  // 7 swaps the colours, 5 turns the board a quarter clockwise (a1 -> a8).
  Put(*f.state, "a1", WhiteKing);
  QTest::keyClick(w.board(), Qt::Key_7, Qt::KeypadModifier);
  QCOMPARE(At(*f.state, "a1"), BlackKing);
  QTest::keyClick(w.board(), Qt::Key_5, Qt::KeypadModifier);
  QCOMPARE(At(*f.state, "a8"), BlackKing);
  QVERIFY(f.state->solutionStale);
  // The effects buttons run the same operations.
  w.Dispatch(183);  // mirror left-right
  QCOMPARE(At(*f.state, "h8"), BlackKing);
}

void BoardTest::restoreAfterStartGivesAnIntactEmptyBoard() {
  Fixture f;
  f.window->Dispatch(CmdRestore);
  QCOMPARE(f.state->pos.board, EmptyBoard());
  QCOMPARE(f.state->pos.board[0], OffBoard);
  QCOMPARE(f.state->pos.board[120], OffBoard);
}

void BoardTest::setupModeFollowsTheFocus() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QVERIFY(!w.board()->setupMode());
  QVERIFY(w.Action(CmdSetup)->isEnabled());
  // A right click gives the board the focus.
  QTest::mouseClick(w.board(), Qt::RightButton, {}, Centre("d4"));
  QVERIFY(w.board()->setupMode());
  QVERIFY(w.pieceBox()->isVisible());
  QVERIFY(!w.Action(CmdSetup)->isEnabled());
  w.solutionPane()->setFocus();
  QVERIFY(!w.board()->setupMode());
  QVERIFY(!w.pieceBox()->isVisible());
  // A left drag does not start set-up mode.
  QTest::mouseClick(w.board(), Qt::LeftButton, {}, Centre("d4"));
  QVERIFY(!w.board()->setupMode());
}

void BoardTest::pieceImagesCoverTheirSquare() {
  const PieceImages images = RenderPieceImages(PieceSet::Modern, 32);
  for (PieceCode code : BoxMen) {
    const QImage man = images.Man(code).toImage();
    QCOMPARE(man.size(), QSize(32, 32));
    // The centre of a man is covered (white inside a white man, dark inside
    // a black one); the corners show the square.
    QCOMPARE(qAlpha(man.pixel(0, 0)), 0);
    int covered = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) covered += qAlpha(man.pixel(x, y)) > 128;
    QVERIFY2(covered > 150, qPrintable(QStringLiteral("%1: %2").arg(code).arg(covered)));
  }
  const QImage strip = PieceStrip(images);
  QCOMPARE(strip.size(), QSize(192, 96));
}

void BoardTest::shiftRightClickTestsTheMovesOfAWhiteMan() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  f.state->pos.board = BoardFromFen("k7/8/1K6/8/8/8/8/7R");
  QSignalSpy spy(&w, &MainWindow::commandDispatched);
  // On a black man, or without Shift, nothing is tested.
  QTest::mouseClick(w.board(), Qt::RightButton, Qt::ShiftModifier, Centre("a8"));
  QVERIFY(spy.isEmpty());
  QTest::mouseClick(w.board(), Qt::RightButton, Qt::ShiftModifier, Centre("h1"));
  QCOMPARE(spy.size(), 1);
  QCOMPARE(spy.last().at(0).toInt(), CmdTestMove);
  QVERIFY(w.solving());
  QSignalSpy finished(&w, &MainWindow::solveFinished);
  QVERIFY(finished.wait(60000));
  // The options of the test are put back afterwards.
  QCOMPARE(f.state->options[Option::Kind], 0);
  QVERIFY(!w.solving());
}

void BoardTest::smallDiagramDrawsAndCounts() {
  const PieceImages small = RenderPieceImages(PieceSet::Modern, SmallSquareSize);
  QImage image(140, 140, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::red);
  QPainter painter(&image);
  const MenCount count =
      DrawSmallDiagram(painter, QPoint(10, 10), BoardFromFen("k7/8/1K6/8/8/8/8/6BR"), small);
  painter.end();
  QCOMPARE(count.white, 3);
  QCOMPARE(count.black, 1);
  QCOMPARE(image.pixelColor(9, 9), QColor(Qt::red));             // outside the origin
  QCOMPARE(image.pixelColor(26, 11), QColor(0xC0, 0xC0, 0xC0));  // b8, dark, empty
  QCOMPARE(image.pixelColor(138, 138), QColor(Qt::red));         // past h1
  // The man on a8 covers the centre of its square.
  QVERIFY(image.pixelColor(18, 18) != QColor(Qt::white));
}

QTEST_MAIN(BoardTest)
#include "board_test.moc"
