// "Check soundness" of the problem list: the background check fills its
// table and progress bar, a double click shows the problem through the list's
// caret, and Stop breaks a long search off.
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/check_soundness_window.h"
#include "app/problem_list_dialog.h"
#include "app_fixture.h"
#include "collections/problem_file.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

constexpr const char* Planck = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";        // sound #2
constexpr const char* Cooked = "8/2pN4/8/1N1p2b1/4k3/7K/3P4/5Q2";          // no knight c6
constexpr const char* TwoKings = "4k3/8/4K3/8/8/8/8/K7";                   // invalid
constexpr const char* Wenda = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3";  // a long #6

ProblemList ListOf(const std::string& path, int records) {
  ProblemList list;
  for (int record = 1; record <= records; ++record) AddListEntry(list, path, record);
  return list;
}

QString VerdictText(const CheckSoundnessWindow& window, int row) {
  return window.table()->item(row, 3)->text();
}

}  // namespace

class CheckSoundnessTest : public QObject {
  Q_OBJECT
 private slots:
  void verdictsFillTheTableInTheBackground();
  void theListActionOpensTheWindowAndADoubleClickShowsTheProblem();
  void stopBreaksTheCheckOff();
};

void CheckSoundnessTest::verdictsFillTheTableInTheBackground() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, {Planck, Cooked, TwoKings});
  const ProblemList list = ListOf(path, 3);
  CheckSoundnessWindow window(list, {2, 0, 1}, 2);
  QSignalSpy finished(&window, &CheckSoundnessWindow::checkFinished);
  window.Start();
  QVERIFY(window.running());
  QVERIFY(finished.wait(120000));
  QVERIFY(!window.running());
  // Rows follow the selection's order; each gets its own verdict.
  QCOMPARE(window.table()->rowCount(), 3);
  QCOMPARE(window.table()->item(0, 0)->text(), QStringLiteral("3"));
  QCOMPARE(VerdictText(window, 0), QStringLiteral("invalid position"));
  QCOMPARE(VerdictText(window, 1), QStringLiteral("sound"));
  QCOMPARE(window.table()->item(1, 5)->text(), QStringLiteral("Kh3-g2"));
  QCOMPARE(VerdictText(window, 2), QStringLiteral("cooked"));
  QCOMPARE(window.progressBar()->value(), 3);
  QVERIFY(window.summaryLabel()->text().contains(QStringLiteral("3 checked: 1 sound")));
}

void CheckSoundnessTest::theListActionOpensTheWindowAndADoubleClickShowsTheProblem() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, {Planck, Cooked, TwoKings});
  ProblemList list = ListOf(path, 3);
  list.position = 0;
  ProblemListDialog dialog(list, path, 2, Language{}, QString());
  dialog.Start();
  dialog.show();
  dialog.listBox()->item(1)->setSelected(true);
  dialog.listBox()->item(2)->setSelected(true);
  dialog.listBox()->item(0)->setSelected(false);
  QAction* check = dialog.actionsMenu()->actions().last();
  QCOMPARE(check->text(), QStringLiteral("Check soundness"));
  check->trigger();
  auto* window = dialog.findChild<CheckSoundnessWindow*>();
  QVERIFY(window != nullptr);
  QSignalSpy finished(window, &CheckSoundnessWindow::checkFinished);
  QVERIFY(finished.wait(120000));
  QCOMPARE(window->table()->rowCount(), 2);
  QCOMPARE(VerdictText(*window, 0), QStringLiteral("cooked"));

  // A double click on the invalid problem's line moves the list's caret there,
  // which shows that problem, and keeps the selection.
  QSignalSpy caret(&dialog, &ProblemListDialog::caretChanged);
  QVERIFY(QTest::qWaitForWindowExposed(window));
  QTableWidget* table = window->table();
  const QPoint where = table->visualItemRect(table->item(1, 0)).center();
  QSignalSpy opened(window, &CheckSoundnessWindow::openEntry);
  // A double click is a press and release, then a second press that the
  // view reads as the double click.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, where);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, where);
  QCOMPARE(opened.count(), 1);
  QCOMPARE(caret.count(), 1);
  QCOMPARE(caret.last().at(0).toInt(), 2);
  QCOMPARE(dialog.listBox()->currentRow(), 2);
  QCOMPARE(dialog.SelectedEntries(), (std::vector<int>{1, 2}));
  window->close();
}

void CheckSoundnessTest::stopBreaksTheCheckOff() {
  QTemporaryDir dir;
  // A #6 that takes far longer than the test waits, then a quick #2.
  const std::string path = dir.filePath(QStringLiteral("deep.kvl")).toStdString();
  const std::pair<const char*, int> problems[] = {{Wenda, 6}, {Planck, 2}};
  for (const auto& [fen, moves] : problems) {
    CollectionState state{path, 0, -1};
    CurrentProblem problem;
    problem.type.moves = static_cast<std::uint8_t>(moves);
    QVERIFY(AppendProblem(state, problem, BoardFromFen(fen)).ok());
  }
  const ProblemList list = ListOf(path, 2);
  CheckSoundnessWindow window(list, {0, 1}, 1);
  QSignalSpy finished(&window, &CheckSoundnessWindow::checkFinished);
  window.Start();
  QTest::qWait(300);  // the worker has taken the #6
  window.Stop();
  QVERIFY(finished.wait(120000));
  QCOMPARE(VerdictText(window, 0), QStringLiteral("stopped"));
  QCOMPARE(VerdictText(window, 1), QString());
  QVERIFY(window.summaryLabel()->text().contains(QStringLiteral("1 not checked")));
}

QTEST_MAIN(CheckSoundnessTest)
#include "check_soundness_test.moc"
