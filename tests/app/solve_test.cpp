// Solving from the window: the solve runs on a worker thread, gives the
// same text as the driver called directly (as the command-line tool calls
// it), and Escape breaks a long one off.
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/commands.h"
#include "app/solve_runner.h"
#include "app_fixture.h"
#include "solver/solve_options_logic.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

// The driver called as the command-line tool calls it.
std::string DirectSolve(const Board& board, ProblemType type, const Language& language) {
  auto solver = std::make_unique<Solver>();
  Position pos;
  pos.board = board;
  SolveOptions options;
  SwitchOptionsToKind(options, type.kind);
  UiCallbacks ui;
  SolveEnvironment env{pos, type, options, "", language, ui};
  return SolveEntry(*solver, env, type.moves);
}

// A published two-mover (Planck, 1884) and a long six-mover (Wenda, 1966).
constexpr const char* TwoMover = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";
constexpr const char* SixMover = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3";

}  // namespace

class SolveTest : public QObject {
  Q_OBJECT
 private slots:
  void sameTextAsTheDriverCalledDirectly();
  void unsolvableTypeIsRefused();
  void escapeBreaksALongSolve();
};

void SolveTest::sameTextAsTheDriverCalledDirectly() {
  Fixture f;
  MainWindow& w = *f.window;
  f.state->pos.board = BoardFromFen(TwoMover);
  f.state->problem.type.moves = 2;
  w.RefreshInformation();
  QSignalSpy finished(&w, &MainWindow::solveFinished);
  w.Dispatch(CmdSearchSolution);
  QVERIFY(finished.wait(120000));
  const std::string expected =
      DirectSolve(BoardFromFen(TwoMover), f.state->problem.type, f.state->language);
  QVERIFY2(expected.find("g2") != std::string::npos, expected.c_str());  // the key Kh3-g2
  QCOMPARE(w.SolutionPaneText(), expected);
  QVERIFY(!f.state->solutionStale);
  QVERIFY(w.Action(CmdRefreshSolution)->isEnabled());
  // The board the window shows is untouched by the search.
  QCOMPARE(f.state->pos.board, BoardFromFen(TwoMover));
  QVERIFY(f.log.messages.isEmpty());
}

void SolveTest::unsolvableTypeIsRefused() {
  Fixture f;
  f.state->problem.type.moves = 2;
  f.state->problem.type.kind = KindHelp;
  f.state->problem.type.flags = FlagSeries | FlagWhiteBegins;  // a series has no first white move
  f.window->Dispatch(CmdSearchSolution);
  QVERIFY(!f.window->solving());
  QCOMPARE(f.log.messages, QStringList{"Unable to solve this problem"});
}

void SolveTest::escapeBreaksALongSolve() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  f.state->pos.board = BoardFromFen(SixMover);
  f.state->problem.type.moves = 6;
  w.RefreshInformation();
  QSignalSpy finished(&w, &MainWindow::solveFinished);
  QSignalSpy dispatched(&w, &MainWindow::commandDispatched);
  QTest::keyClick(w.solutionPane(), Qt::Key_F5);
  QVERIFY(w.solving());
  // The window keeps running its events while the search goes on, and
  // other commands wait.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  QTest::qWait(400);
  QVERIFY(ticks > 5);
  QVERIFY(w.solving());
  QVERIFY(!w.Action(CmdOpen)->isEnabled());
  w.Dispatch(CmdClear);
  QCOMPARE(f.state->pos.board, BoardFromFen(SixMover));

  QElapsedTimer clock;
  clock.start();
  QTest::keyClick(w.solutionPane(), Qt::Key_Escape);
  QVERIFY(finished.wait(60000));
  QVERIFY(w.isVisible());  // Escape broke the solve; it did not quit
  QVERIFY2(w.SolutionPaneText().find("User break") != std::string::npos,
           w.SolutionPaneText().c_str());
  QVERIFY(w.Action(CmdOpen)->isEnabled());
  qInfo("break answered in %lld ms", static_cast<long long>(clock.elapsed()));
}

QTEST_MAIN(SolveTest)
#include "solve_test.moc"
