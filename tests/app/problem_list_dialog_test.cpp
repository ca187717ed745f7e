// The problem list dialog and the duplicate information dialog: the opening
// selection, reordering, what closing keeps, the actions menu, and the
// commands that open the list from the window.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/duplicate_info_dialog.h"
#include "app/problem_list_dialog.h"
#include "app/up_down.h"
#include "app_fixture.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

ProblemList FiveEntries() {
  ProblemList list;
  for (int record = 1; record <= 5; ++record) AddListEntry(list, "/data/mates.kvl", record);
  return list;
}

std::vector<int> RecordsInOrder(const ProblemList& list) {
  std::vector<int> records;
  for (const ProblemListEntry& e : list.entries) records.push_back(e.record);
  return records;
}

}  // namespace

class ProblemListDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void openingRestoresSelectionAndShowsTheCaret();
  void arrowsMoveTheCaretEntry();
  void closingKeepsTheSelection();
  void actionsMenuInOrder();
  void duplicateDialogFieldsFollowTheirBoxes();
  void listCommandsFromTheWindow();
  void screenshots();
};

void ProblemListDialogTest::openingRestoresSelectionAndShowsTheCaret() {
  ProblemList list = FiveEntries();
  list.keptSelection = {0, 2};
  list.position = 1;
  ProblemListDialog dialog(list, "/data/mates.kvl", 4, Language{}, QString());
  QSignalSpy caret(&dialog, &ProblemListDialog::caretChanged);
  QSignalSpy status(&dialog, &ProblemListDialog::statusText);
  dialog.Start();
  QCOMPARE(dialog.listBox()->count(), 5);
  QCOMPARE(dialog.listBox()->item(2)->text(), QStringLiteral("mates      3"));
  QCOMPARE(dialog.SelectedEntries(), (std::vector<int>{0, 1, 2}));
  QCOMPARE(dialog.listBox()->currentRow(), 1);
  QCOMPARE(caret.count(), 1);
  QCOMPARE(caret.last().at(0).toInt(), 1);
  QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Select : 3 / 5 "));
  // Moving the caret shows that problem and makes it the list position.
  dialog.show();
  QTest::keyClick(dialog.listBox(), Qt::Key_Down);
  QCOMPARE(caret.last().at(0).toInt(), 2);
  QCOMPARE(list.position, 2);
}

void ProblemListDialogTest::arrowsMoveTheCaretEntry() {
  ProblemList list = FiveEntries();
  list.position = 3;
  ProblemListDialog dialog(list, "/data/mates.kvl", 4, Language{}, QString());
  dialog.Start();
  dialog.listBox()->item(0)->setSelected(true);
  dialog.downButton()->click();
  QCOMPARE(RecordsInOrder(list), (std::vector<int>{1, 2, 3, 5, 4}));
  QCOMPARE(dialog.listBox()->currentRow(), 4);
  QCOMPARE(dialog.listBox()->item(4)->text(), QStringLiteral("mates      4"));
  QCOMPARE(dialog.listBox()->item(3)->text(), QStringLiteral("mates      5"));
  QCOMPARE(dialog.SelectedEntries(), (std::vector<int>{0, 4}));
  // The fifth of five does not move down.
  dialog.downButton()->click();
  QCOMPARE(RecordsInOrder(list), (std::vector<int>{1, 2, 3, 5, 4}));
  QCOMPARE(dialog.listBox()->currentRow(), 4);
  dialog.upButton()->click();
  dialog.upButton()->click();
  QCOMPARE(RecordsInOrder(list), (std::vector<int>{1, 2, 4, 3, 5}));
  QCOMPARE(dialog.listBox()->currentRow(), 2);
  QCOMPARE(list.position, 2);
  // The first does not move up.
  dialog.listBox()->setCurrentRow(0);
  dialog.upButton()->click();
  QCOMPARE(RecordsInOrder(list), (std::vector<int>{1, 2, 4, 3, 5}));
}

void ProblemListDialogTest::closingKeepsTheSelection() {
  ProblemList list = FiveEntries();
  list.position = 0;
  ProblemListDialog dialog(list, "/data/mates.kvl", 4, Language{}, QString());
  QSignalSpy status(&dialog, &ProblemListDialog::statusText);
  dialog.Start();
  dialog.show();
  for (int row = 0; row < 5; ++row) dialog.listBox()->item(row)->setSelected(true);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(list.keptSelection, (std::vector<int>{0, 1, 2, 3, 4}));
  QVERIFY(list.wholeFileSelected);
  QVERIFY(status.last().at(0).toString().isEmpty());
  // "&Close" closes the same way, in the language of the dialog.
  ProblemListDialog french(list, "/data/mates.kvl", 4, Language{LanguageFrench, nullptr},
                           QString());
  auto* close = Control<QPushButton>(&french, 1);
  QCOMPARE(close->text(), QStringLiteral("&Fermer"));
  french.Start();
  french.listBox()->clearSelection();
  french.listBox()->item(3)->setSelected(true);
  close->click();
  QCOMPARE(list.keptSelection, (std::vector<int>{3}));
  QVERIFY(!list.wholeFileSelected);
}

void ProblemListDialogTest::actionsMenuInOrder() {
  ProblemList list = FiveEntries();
  ProblemListDialog dialog(list, "/data/mates.kvl", 4, Language{}, QString());
  dialog.Start();
  const QList<QAction*> actions = dialog.actionsMenu()->actions();
  QCOMPARE(actions.size(), ListActionCount + 1);  // and "Check soundness"
  QCOMPARE(actions[0]->text(), QStringLiteral("Positions -> &Printer"));
  QCOMPARE(actions[3]->text(), QStringLiteral("&Positions -> EPD file"));
  QCOMPARE(actions[7]->text(), QStringLiteral("&Duplicate information"));
  QSignalSpy chosen(&dialog, &ProblemListDialog::actionChosen);
  dialog.listBox()->item(4)->setSelected(true);
  actions[2]->trigger();
  QCOMPARE(chosen.count(), 1);
  QCOMPARE(chosen.last().at(0).value<ListAction>(), ListAction::PgnFile);
  QCOMPARE(chosen.last().at(1).value<std::vector<int>>(), (std::vector<int>{0, 4}));
}

void ProblemListDialogTest::duplicateDialogFieldsFollowTheirBoxes() {
  DuplicateInfoDialog dialog(Language{});
  for (int field = 0; field < DuplicatedFieldCount; ++field) {
    QVERIFY(!dialog.box(field)->isChecked());
    QVERIFY(!dialog.text(field)->isEnabled());
  }
  QCOMPARE(dialog.box(DuplicateSecondSource)->text(), QStringLiteral("Source &2:"));
  dialog.box(DuplicateSource)->setChecked(true);
  QVERIFY(dialog.text(DuplicateSource)->isEnabled());
  dialog.text(DuplicateSource)->setText(QStringLiteral("Thème n°"));
  dialog.text(DuplicateAward)->setText(QStringLiteral("not ticked"));
  dialog.text(DuplicateComment)->setText(QString(200, QLatin1Char('c')));
  dialog.startNumber()->setValue(10);
  const DuplicateInformation info = dialog.Information();
  QVERIFY(info.ticked[DuplicateSource]);
  QVERIFY(!info.ticked[DuplicateAward]);
  QCOMPARE(info.texts[DuplicateSource], std::string("Th\xE8me n\xB0"));
  QCOMPARE(info.texts[DuplicateComment].size(), MaxDuplicatedTextLength);
  QCOMPARE(info.startNumber, 10);
}

void ProblemListDialogTest::listCommandsFromTheWindow() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(
      dir, {"8/8/8/8/8/8/8/K6k", "8/8/8/8/8/8/8/K5Qk", "8/8/8/8/8/8/8/K4R1k"}, "Three.kvl");
  Fixture f;
  f.state->collection = {path, 1, 2};
  f.state->fileOpen = true;
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  f.window->UpdateCommandStates();
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ProblemListDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    seen = true;
    QCOMPARE(dialog->listBox()->count(), 3);
    QCOMPARE(dialog->listBox()->currentRow(), 1);
    QVERIFY(!f.window->positionBox()->isEnabled());
    QTest::keyClick(dialog->listBox(), Qt::Key_Down);
    QCOMPARE(f.state->problem.authors, std::string("Author 3"));
    QVERIFY(f.window->StatusTextOf(1).contains(QStringLiteral("1 / 3")));
    dialog->reject();
  });
  f.window->Dispatch(CmdNewList);
  QVERIFY(seen);
  QCOMPARE(f.state->problemListCount, 3);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QVERIFY(f.state->fileOpen);
  QVERIFY(f.window->positionBox()->isEnabled());
  QVERIFY(f.log.unhandled.isEmpty());
}

// With KESTROVALE_SCREENSHOTS naming a folder, the dialogs are drawn into it
// in English and French for the documentation.
void ProblemListDialogTest::screenshots() {
  const QString folder = qEnvironmentVariable("KESTROVALE_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("KESTROVALE_SCREENSHOTS not set");
  const std::pair<Language, QString> languages[] = {
      {Language{}, QStringLiteral("en")},
      {Language{LanguageFrench, nullptr}, QStringLiteral("fr")}};
  for (const auto& [language, suffix] : languages) {
    ProblemList list;
    for (int record = 1; record <= 12; ++record) AddListEntry(list, "/data/mates.kvl", record);
    AddListEntry(list, "/data/selfmates.kvl", 7);
    list.keptSelection = {2, 3, 7};
    list.position = 4;
    ProblemListDialog dialog(list, "/data/mates.kvl", 11, language,
                             suffix == QLatin1String("fr") ? QStringLiteral(" Liste des problèmes")
                                                           : QStringLiteral(" Problem List"));
    dialog.Start();
    dialog.show();
    QVERIFY(dialog.grab().save(folder + QStringLiteral("/dialog-problem-list-") + suffix +
                               QStringLiteral(".png")));
    DuplicateInfoDialog duplicate(language);
    duplicate.box(DuplicateSource)->setChecked(true);
    duplicate.text(DuplicateSource)->setText(QStringLiteral("Problem Tourney "));
    duplicate.startNumber()->setValue(10);
    duplicate.show();
    QVERIFY(duplicate.grab().save(folder + QStringLiteral("/dialog-duplicate-information-") +
                                  suffix + QStringLiteral(".png")));
  }
}

QTEST_MAIN(ProblemListDialogTest)
#include "problem_list_dialog_test.moc"
