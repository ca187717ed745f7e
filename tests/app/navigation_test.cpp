// Navigation over an open collection, the position box, the save question
// and the commands that replace or store the problem.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QtTest>
#include <fstream>

#include "app/board_editing.h"
#include "app/commands.h"
#include "app/navigation.h"
#include "app_fixture.h"
#include "collections/problem_file.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const std::vector<std::string> ThreeProblems = {"k7/8/1K6/8/8/8/8/7R", "k7/8/8/8/8/8/8/K6Q",
                                                "k7/8/8/8/8/8/8/K5BB"};

// A window with the three-problem collection open at problem 1.
struct OpenFixture : Fixture {
  QTemporaryDir dir;
  std::string path;
  OpenFixture() {
    path = MakeCollection(dir, ThreeProblems);
    log.openName = QString::fromStdString(path);
    window->Dispatch(CmdOpen);
  }
  int count() {
    CollectionReader reader;
    // A file that cannot be read counts as none, which the tests' counts
    // then refuse.
    if (!reader.Open(path)) return -1;
    return reader.count();
  }
};

}  // namespace

class NavigationTest : public QObject {
  Q_OBJECT
 private slots:
  void navigationTargetsStayInTheFile();
  void positionBoxNumbers();
  void recentFiles();
  void openingShowsTheFirstProblem();
  void stepsPastTheEndsStay();
  void positionBoxJumpsOrRestores();
  void askToSaveYesNoCancel();
  void closeAsksBeforeClearing();
  void quitWithCancelKeepsRunning();
  void addPositionAppends();
  void unreadableFileIsReported();
  void aDamagedProblemIsShownWithAWarning();
  void recentFileReopensAtItsNumber();
  void ctrlOnARecentFileOffersToStoreTheProblemThere();
};

void NavigationTest::navigationTargetsStayInTheFile() {
  QCOMPARE(NavigationTarget(CmdNext, 2, 2), 2);
  QCOMPARE(NavigationTarget(CmdPrevious, 0, 2), 0);
  QCOMPARE(NavigationTarget(CmdFirst, 2, 2), 0);
  QCOMPARE(NavigationTarget(CmdLast, 0, 2), 2);
  QCOMPARE(NavigationTarget(CmdNext, 0, 2), 1);
  QCOMPARE(NavigationTarget(CmdNext, -1, 2), 0);  // a problem waiting to go at the end
}

void NavigationTest::positionBoxNumbers() {
  QCOMPARE(PositionBoxTarget("2 ", 2), 1);
  QCOMPARE(PositionBoxTarget(" 3", 2), 2);
  QCOMPARE(PositionBoxTarget("0", 2), -1);
  QCOMPARE(PositionBoxTarget("4", 2), -1);
  QCOMPARE(PositionBoxTarget("-1", 2), -1);
  QCOMPARE(PositionBoxTarget("", 2), -1);
  QCOMPARE(PositionBoxTarget("2x", 2), -1);
  QCOMPARE(PositionBoxTarget("99999999999", 2), -1);
  QCOMPARE(PositionBoxTarget("999999999999999", 40000), -1);
  QCOMPARE(PositionBoxText(0), std::string("1 "));
}

void NavigationTest::recentFiles() {
  RecentFiles files = {
      "/a.kvl n\xB0"
      "3",
      "/b.kvl n\xB0"
      "1",
      "/c.kvl n\xB0"
      "2",
      "/d.kvl n\xB0"
      "1"};
  // Reopening b at problem 5 after leaving a at problem 7.
  UpdateRecentFiles(files, "/b.kvl", 4, 6);
  QCOMPARE(files[0], std::string("/b.kvl n\xB0"
                                 "5"));
  QCOMPARE(files[1], std::string("/a.kvl n\xB0"
                                 "7"));
  QCOMPARE(files[2], std::string("/c.kvl n\xB0"
                                 "2"));
  QCOMPARE(files[3], std::string("/d.kvl n\xB0"
                                 "1"));
  // A new file pushes the oldest out.
  UpdateRecentFiles(files, "/e.kvl", 0, -1);
  QCOMPARE(files[0], std::string("/e.kvl n\xB0"
                                 "1"));
  QCOMPARE(files[3], std::string("/c.kvl n\xB0"
                                 "2"));
  // A name that merely contains another is another file.
  UpdateRecentFiles(files, "/e.kvl.bak", 0, -1);
  QCOMPARE(files[1], std::string("/e.kvl n\xB0"
                                 "1"));
  QCOMPARE(RecentFileLabel(0,
                           "/home/u/x.kvl n\xB0"
                           "2",
                           "/home/u/"),
           std::string("&1 x.kvl n\xB0"
                       "2"));
  QCOMPARE(RecentFileLabel(3, "", "/home/u/"), std::string("&4 "));
}

void NavigationTest::openingShowsTheFirstProblem() {
  OpenFixture f;
  QVERIFY(f.state->fileOpen);
  QCOMPARE(f.state->collection.currentIndex, 0);
  QCOMPARE(f.state->collection.lastIndex, 2);
  QVERIFY(!f.window->navigationBar()->isHidden());
  QCOMPARE(f.window->positionBox()->text(), QStringLiteral("1 "));
  QVERIFY(f.window->windowTitle().startsWith(QStringLiteral("Kestrovale - ")));
  QVERIFY(f.window->informationPane()->toPlainText().contains("Author 1"));
  QVERIFY(f.state->recentFiles[0].rfind(f.path, 0) == 0);
  QVERIFY(f.log.messages.isEmpty());
}

void NavigationTest::stepsPastTheEndsStay() {
  OpenFixture f;
  MainWindow& w = *f.window;
  w.Dispatch(CmdPrevious);
  QCOMPARE(f.state->collection.currentIndex, 0);
  w.Dispatch(CmdNext);
  w.Dispatch(CmdNext);
  w.Dispatch(CmdNext);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QCOMPARE(w.positionBox()->text(), QStringLiteral("3 "));
  QVERIFY(w.informationPane()->toPlainText().contains("Author 3"));
  w.Dispatch(CmdFirst);
  QCOMPARE(f.state->collection.currentIndex, 0);
  w.Dispatch(CmdLast);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QVERIFY(f.log.messages.isEmpty());
}

void NavigationTest::positionBoxJumpsOrRestores() {
  OpenFixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QLineEdit* box = w.positionBox();
  for (const char* typed : {"0", "4", "x"}) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("1 "));
    QCOMPARE(f.state->collection.currentIndex, 0);
  }
  box->selectAll();
  QTest::keyClicks(box, "3");
  QTest::keyClick(box, Qt::Key_Return);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QCOMPARE(box->text(), QStringLiteral("3 "));
  // The box's own keys step through the file.
  QTest::keyClick(box, Qt::Key_Home);
  QCOMPARE(f.state->collection.currentIndex, 0);
  QTest::keyClick(box, Qt::Key_Up);
  QCOMPARE(f.state->collection.currentIndex, 1);
  QTest::keyClick(box, Qt::Key_End);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QTest::keyClick(box, Qt::Key_Minus, Qt::KeypadModifier);
  QCOMPARE(f.state->collection.currentIndex, 1);
}

void NavigationTest::askToSaveYesNoCancel() {
  OpenFixture f;
  MainWindow& w = *f.window;
  // Unchanged: nothing to ask.
  QCOMPARE(w.AskToSave(), 0);
  QVERIFY(f.log.messages.isEmpty());

  // Cancel: the problem stays, nothing is written.
  f.state->pos.board[SquareAt(4, 4)] = WhiteQueen;
  f.log.answers = {IdCancel};
  w.Dispatch(CmdNext);
  QCOMPARE(f.state->collection.currentIndex, 0);
  QCOMPARE(f.state->pos.board[SquareAt(4, 4)], WhiteQueen);
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY(f.log.messages[0].startsWith("Save Problem in "));

  // No: the next problem replaces the change, the file keeps problem 1.
  f.log.answers = {IdNo};
  w.Dispatch(CmdNext);
  QCOMPARE(f.state->collection.currentIndex, 1);
  w.Dispatch(CmdFirst);
  QCOMPARE(f.state->pos.board[SquareAt(4, 4)], Empty);

  // Yes: the change is stored in the record before the next is shown.
  f.state->pos.board[SquareAt(4, 4)] = WhiteQueen;
  f.log.answers = {IdYes};
  w.Dispatch(CmdNext);
  QCOMPARE(f.state->collection.currentIndex, 1);
  w.Dispatch(CmdFirst);
  QCOMPARE(f.state->pos.board[SquareAt(4, 4)], WhiteQueen);
  QCOMPARE(f.log.messages.size(), 3);

  // Without a file the question names no file.
  Fixture empty;
  empty.state->pos.board[SquareAt(0, 0)] = WhiteKing;
  empty.log.answers = {IdNo};
  QCOMPARE(empty.window->AskToSave(), IdNo);
  QCOMPARE(empty.log.messages, QStringList{"Save Problem ?"});
}

void NavigationTest::closeAsksBeforeClearing() {
  OpenFixture f;
  MainWindow& w = *f.window;
  f.state->pos.board[SquareAt(4, 4)] = WhiteQueen;
  f.log.answers = {IdCancel};
  w.Dispatch(CmdClose);
  QVERIFY(f.state->fileOpen);
  QCOMPARE(f.state->pos.board[SquareAt(4, 4)], WhiteQueen);

  f.log.answers = {IdNo};
  w.Dispatch(CmdClose);
  QVERIFY(!f.state->fileOpen);
  QVERIFY(w.navigationBar()->isHidden());
  QCOMPARE(w.windowTitle(), QStringLiteral("Kestrovale "));
  QCOMPARE(CountMen(f.state->pos.board).white, 0);
  QVERIFY(f.state->problem.authors.empty());
  // What the user sets up after closing is offered for saving.
  f.state->pos.board[SquareAt(0, 0)] = WhiteKing;
  f.log.answers = {IdCancel};
  QCOMPARE(w.AskToSave(), IdCancel);
}

void NavigationTest::quitWithCancelKeepsRunning() {
  OpenFixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  bool closed = false;
  w.onClose = [&] { closed = true; };
  f.state->pos.board[SquareAt(4, 4)] = WhiteQueen;
  f.log.answers = {IdCancel};
  w.Dispatch(CmdQuit);
  QVERIFY(w.isVisible());
  QVERIFY(!closed);
  f.log.answers = {IdNo};
  w.Dispatch(CmdQuit);
  QVERIFY(closed);
  QVERIFY(!w.isVisible());
}

void NavigationTest::addPositionAppends() {
  OpenFixture f;
  f.state->pos.board[SquareAt(4, 4)] = WhiteQueen;
  f.window->Dispatch(CmdAddPosition);
  QCOMPARE(f.count(), 4);
  QCOMPARE(f.state->collection.currentIndex, 3);
  QCOMPARE(f.window->positionBox()->text(), QStringLiteral("4 "));
  QCOMPARE(f.window->AskToSave(), 0);  // the new record holds the position
}

void NavigationTest::unreadableFileIsReported() {
  Fixture f;
  QTemporaryDir dir;
  f.log.openName = dir.filePath("missing.kvl");
  f.window->Dispatch(CmdOpen);
  QVERIFY(!f.state->fileOpen);
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY(f.log.messages[0].startsWith("Unable to Open"));
  QVERIFY(f.window->navigationBar()->isHidden());
}

void NavigationTest::aDamagedProblemIsShownWithAWarning() {
  Fixture f;
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, ThreeProblems);
  {
    // Problem 1's authors point past the end of the file.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(6);
    file.write("\xF0\xFF\xFF\xFF", 4);
  }
  f.log.openName = QString::fromStdString(path);
  f.window->Dispatch(CmdOpen);
  QVERIFY(f.state->fileOpen);
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY(f.log.messages[0].contains("this problem is damaged"));
  QVERIFY(f.log.messages[0].contains("problem 1, authors"));
  QVERIFY(f.state->problem.authors.empty());
  QCOMPARE(f.state->pos.board[SquareAt(1, 2)], WhiteKing);  // the readable rest: b6
  f.window->Dispatch(CmdNext);
  QCOMPARE(f.state->collection.currentIndex, 1);
  QCOMPARE(f.state->problem.authors, std::string("Author 2"));
  QCOMPARE(f.log.messages.size(), 1);
}

void NavigationTest::recentFileReopensAtItsNumber() {
  OpenFixture f;
  const std::string other = MakeCollection(f.dir, ThreeProblems, "other.kvl");
  f.state->recentFiles[1] = other +
                            " n\xB0"
                            "3";
  f.window->Dispatch(CmdRecentFirst + 1, Qt::NoModifier);
  QCOMPARE(f.state->collection.currentFileName, other);
  QCOMPARE(f.state->collection.currentIndex, 2);
  // The file left behind keeps the number it was shown at, one place down.
  QCOMPARE(f.state->recentFiles[0], other +
                                        " n\xB0"
                                        "3");
  QCOMPARE(f.state->recentFiles[1], f.path +
                                        " n\xB0"
                                        "1");
  // An empty entry does nothing.
  f.window->Dispatch(CmdRecentLast, Qt::NoModifier);
  QCOMPARE(f.state->collection.currentFileName, other);
}

void NavigationTest::ctrlOnARecentFileOffersToStoreTheProblemThere() {
  OpenFixture f;
  const std::string other = MakeCollection(f.dir, ThreeProblems, "other.kvl");
  f.state->recentFiles[1] = other +
                            " n\xB0"
                            "2";
  f.log.answers = {IdCancel};
  f.window->Dispatch(CmdRecentFirst + 1, Qt::ControlModifier);
  // Asked even for an unchanged problem, naming the chosen file.
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY(f.log.messages[0].contains("other.kvl"));
}

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
