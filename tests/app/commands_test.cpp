// The command registry: menus, accelerators and the dispatch by id.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>

#include "app/commands.h"
#include "app_fixture.h"
#include "collections/problem_file.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

// Every command action reachable through the menu bar, by id.
void MenuActions(const QList<QAction*>& actions, std::map<int, QAction*>& out) {
  for (QAction* action : actions) {
    if (action->menu() != nullptr)
      MenuActions(action->menu()->actions(), out);
    else if (!action->isSeparator())
      out[action->data().toInt()] = action;
  }
}

// The command a source dispatched: the first one, since a command may go on
// to dispatch another (Find Next without a text opens the text search).
int FirstDispatched(const QSignalSpy& spy) {
  return spy.isEmpty() ? -1 : spy.first().at(0).toInt();
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void menuItemAndAcceleratorReachTheSameCommand();
  void keysReachTheWindowFromTheTextPanes();
  void commandsThatNeedAFileDoNothingWithoutOne();
  void enablingRules();
  void menusFollowTheLanguage();
  void specialEffectsToggleTheirBand();
};

void CommandsTest::menuItemAndAcceleratorReachTheSameCommand() {
  QTemporaryDir dir;
  Fixture f;
  MainWindow& w = *f.window;
  f.log.openName = QString::fromStdString(MakeCollection(dir, {"k7/8/8/8/8/8/8/K7"}));
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.Dispatch(CmdOpen);
  QVERIFY(f.state->fileOpen);

  std::map<int, QAction*> menuActions;
  MenuActions(w.menuBar()->actions(), menuActions);
  QSignalSpy spy(&w, &MainWindow::commandDispatched);
  // Commands that open a dialog: each dialog is closed with Escape as it opens.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* dialog = QApplication::activeModalWidget())
      QTest::keyClick(dialog, Qt::Key_Escape);
  });
  closer.start(10);
  for (const Accelerator& a : Accelerators) {
    if (a.command == CmdQuit) continue;  // closes the window: checked last
    // Both sources must find the command enabled.
    f.state->solutionStale = false;
    w.solutionPane()->setFocus();
    w.UpdateCommandStates();
    QAction* source = menuActions.count(a.command) ? menuActions[a.command] : w.Action(a.command);
    QVERIFY2(source != nullptr, qPrintable(QString::number(a.command)));
    QCOMPARE(source, w.Action(a.command));  // one action per id, menu or not
    source->trigger();
    QCOMPARE(FirstDispatched(spy), a.command);
    w.WaitForSolve();
    spy.clear();

    f.state->solutionStale = false;
    w.solutionPane()->setFocus();
    w.UpdateCommandStates();
    w.activateWindow();  // back from a dialog the trigger may have opened
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.solutionPane(), a.key, a.modifier);
    QVERIFY2(
        FirstDispatched(spy) == a.command,
        qPrintable(QStringLiteral("key for %1 gave %2").arg(a.command).arg(FirstDispatched(spy))));
    w.WaitForSolve();
    spy.clear();
  }
  // Escape is Quit: nothing is changed, so the window closes without a question.
  QTest::keyClick(w.solutionPane(), Qt::Key_Escape);
  QCOMPARE(FirstDispatched(spy), CmdQuit);
  QVERIFY(!w.isVisible());
}

void CommandsTest::keysReachTheWindowFromTheTextPanes() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.SetSolutionPaneText("1.Qd1-d7 !");
  w.solutionPane()->setFocus();
  QSignalSpy spy(&w, &MainWindow::commandDispatched);
  const int actualPlay = f.state->options[Option::ActualPlay];
  // Ctrl+A would select the pane's text; here it toggles the actual play.
  QTest::keyClick(w.solutionPane(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(FirstDispatched(spy), CmdToggleActualPlay);
  QCOMPARE(f.state->options[Option::ActualPlay], 1 - actualPlay);
  QVERIFY(!w.solutionPane()->textCursor().hasSelection());
  // The position box passes the accelerators on too.
  spy.clear();
  w.positionBox()->setEnabled(true);
  w.positionBox()->setFocus();
  // F7 opens the problem-type dialog, which Escape closes.
  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget())
      QTest::keyClick(dialog, Qt::Key_Escape);
  });
  QTest::keyClick(w.positionBox(), Qt::Key_F7);
  QCOMPARE(FirstDispatched(spy), CmdProblemType);
}

void CommandsTest::commandsThatNeedAFileDoNothingWithoutOne() {
  Fixture f;
  MainWindow& w = *f.window;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QTemporaryDir dir;
  f.log.saveName = dir.filePath("never.kvl");
  for (int command : {CmdSavePosition, CmdAddPosition, CmdVisualizer, CmdClose, CmdOrganize,
                      CmdNewList, CmdSaveText, CmdReloadText, CmdOpenPosition}) {
    QVERIFY(!w.Action(command)->isEnabled());
    w.Dispatch(command);
  }
  QTest::keyClick(w.solutionPane(), Qt::Key_F8, Qt::ShiftModifier);
  QTest::keyClick(w.solutionPane(), Qt::Key_F8, Qt::ControlModifier);
  QTest::keyClick(w.solutionPane(), Qt::Key_F9, Qt::ControlModifier);
  QVERIFY(f.log.unhandled.isEmpty());
  QVERIFY(f.log.messages.isEmpty());
  QVERIFY(!QFile::exists(dir.filePath("never.kvl")));
}

void CommandsTest::enablingRules() {
  CommandContext c;
  QVERIFY(!CommandEnabled(CmdClose, c));
  QVERIFY(!CommandEnabled(CmdOldList, c));
  QVERIFY(!CommandEnabled(CmdRefreshSolution, c));  // stale after start
  QVERIFY(CommandEnabled(CmdSearchSolution, c));
  c.problemListCount = 3;
  QVERIFY(CommandEnabled(CmdOldList, c));
  c.fileOpen = true;
  c.solutionStale = false;
  QVERIFY(CommandEnabled(CmdClose, c));
  QVERIFY(CommandEnabled(CmdRefreshSolution, c));
  c.setupMode = true;
  QVERIFY(!CommandEnabled(CmdSetup, c));
  // While a solve runs only Escape (Quit, which breaks the solve) is taken.
  c.solving = true;
  QVERIFY(CommandEnabled(CmdQuit, c));
  QVERIFY(!CommandEnabled(CmdSearchSolution, c));
  QVERIFY(!CommandEnabled(CmdOpen, c));
}

void CommandsTest::menusFollowTheLanguage() {
  Fixture f;
  MainWindow& w = *f.window;
  const QList<QAction*> english = w.menuBar()->actions();
  QVERIFY(english.size() == 5);
  QCOMPARE(english[0]->text(), QStringLiteral("&File"));
  QVERIFY(w.Action(CmdLanguageFirst + 1)->isChecked());
  QCOMPARE(w.Action(CmdOpen)->text(), QStringLiteral("&Open...\tF9"));

  w.Dispatch(CmdLanguageFirst);  // Français
  QCOMPARE(f.state->language.base, LanguageFrench);
  const QList<QAction*> french = w.menuBar()->actions();
  QCOMPARE(french.size(), 5);
  QVERIFY(french[0]->text() != QStringLiteral("&File"));
  QVERIFY(w.Action(CmdLanguageFirst)->isChecked());
  QVERIFY(!w.Action(CmdLanguageFirst + 1)->isChecked());
  // The keys stay those of the table whatever the language.
  QCOMPARE(w.Action(CmdOpen)->shortcut(), QKeySequence(Qt::Key_F9));

  // A string file that cannot be read gives English.
  f.log.openName = QStringLiteral("/nonexistent/none.str");
  w.Dispatch(CmdLanguageOther);
  QCOMPARE(f.state->language.base, LanguageEnglish);
  QCOMPARE(w.menuBar()->actions()[0]->text(), QStringLiteral("&File"));
}

void CommandsTest::specialEffectsToggleTheirBand() {
  Fixture f;
  QVERIFY(f.window->effectsBar()->isHidden());
  f.window->Dispatch(CmdSpecialEffects);
  QVERIFY(!f.window->effectsBar()->isHidden());
  QVERIFY(f.window->Action(CmdSpecialEffects)->isChecked());
  f.window->Dispatch(CmdSpecialEffects);
  QVERIFY(f.window->effectsBar()->isHidden());
  QVERIFY(!f.window->Action(CmdSpecialEffects)->isChecked());
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
