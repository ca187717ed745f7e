// The position search dialog and its text dialog: the decisions they make
// (scope, matrix flags, counts, the criteria sum, memorize and reload), their
// opening state, OK and Cancel, the search and duplicate scan commands of the
// window, and their texts in every language.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/position_search_dialog.h"
#include "app/position_search_logic.h"
#include "app/problem_list_dialog.h"
#include "app/search_commands.h"
#include "app/search_details_dialog.h"
#include "app/up_down.h"
#include "app_fixture.h"
#include "collections/file_walk.h"
#include "collections/problem_file.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const Language English{LanguageEnglish, nullptr};
const Language French{LanguageFrench, nullptr};

constexpr int Total = 0;
constexpr int White = 1;

// Runs `step` on every modal dialog that opens until it returns false, so a
// test can answer a dialog that a command opens and then the one after it.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(QWidget*)> step) : step_(std::move(step)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal->property("driven").toBool()) return;
      modal->setProperty("driven", true);
      step_(modal);
    });
    timer_.start(10);
  }

 private:
  std::function<void(QWidget*)> step_;
  QTimer timer_;
};

std::vector<int> Records(const ProblemList& list) {
  std::vector<int> records;
  for (const ProblemListEntry& e : list.entries) records.push_back(e.record);
  return records;
}

// A copy of the sample collection, which tests must not change.
std::string SampleCopy(const QTemporaryDir& dir) {
  const QString source = QStringLiteral(KESTROVALE_SOURCE_DIR "/resources/samples/sample.kvl");
  const QString target = dir.filePath(QStringLiteral("sample.kvl"));
  if (!QFile::copy(source, target)) return {};
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
  return target.toStdString();
}

}  // namespace

class SearchDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void scopeAndMatrixRules();
  void resultIsNonZeroExactlyWithACriterion();
  void clearMemorizeAndReload();
  void openingState();
  void countsAndMatrixBoxesInTheDialog();
  void informationMnemonicOpensTheTextDialog();
  void okStoresAndCancelKeeps();
  void actionsMenu();
  void detailDialogSplitsAndJoins();
  void searchOnTheSampleListsItsHits();
  void searchWithoutAFileWalksTheStartFolder();
  void searchLeavesTheShownProblemAndItsSaveQuestion();
  void searchWithoutHitSaysSo();
  void duplicateScanNotesOtherCollections();
  void textsFitInEveryLanguage();
  void screenshots();
};

// ---- The decisions, without widgets.

void SearchDialogsTest::scopeAndMatrixRules() {
  QCOMPARE(OpeningScope(ScopeFile, true), ScopeFile);
  QCOMPARE(OpeningScope(ScopeFile, false), ScopeDirectory);
  QCOMPARE(OpeningScope(ScopeDisk, false), ScopeDisk);

  QCOMPARE(SetMatrixFlag(MatrixIdentity | MatrixSymmetry, MatrixGap, true),
           MatrixGap | MatrixSymmetry);
  QCOMPARE(SetMatrixFlag(MatrixGap | MatrixRotation, MatrixIdentity, true),
           MatrixIdentity | MatrixRotation);
  QCOMPARE(SetMatrixFlag(MatrixGap | MatrixRotation, MatrixRotation, false), MatrixGap);
  QCOMPARE(SetMatrixFlag(MatrixIdentity, MatrixSymmetry, true), MatrixIdentity | MatrixSymmetry);
}

void SearchDialogsTest::resultIsNonZeroExactlyWithACriterion() {
  SearchCriteria criteria;
  criteria.scope = ScopeDisk;  // where to look is no criterion
  QCOMPARE(AcceptSearchCriteria(criteria), 0);
  criteria.total = {MaterialAtLeast, 10};
  criteria.white = {MaterialExactly, 1};
  criteria.aristocratic = true;
  QCOMPARE(AcceptSearchCriteria(criteria), 12);
  QCOMPARE(criteria.materialActive, 12);
  SearchCriteria text;
  text.text = "Loyd";
  QCOMPARE(AcceptSearchCriteria(text), 100);
  QCOMPARE(text.materialActive, 0);
  SearchCriteria other;
  other.twins = true;
  QVERIFY(AcceptSearchCriteria(other) != 0);
  other = {};
  other.matrixFlags = MatrixSymmetry;
  QVERIFY(AcceptSearchCriteria(other) != 0);
  other = {};
  other.type.kindPlusOne = KindHelp + 1;
  QVERIFY(AcceptSearchCriteria(other) != 0);
}

void SearchDialogsTest::clearMemorizeAndReload() {
  const Board board = BoardFromFen("8/8/8/8/8/8/8/4K2R");
  SearchCriteria criteria;
  criteria.total = {MaterialAtMost, 6};
  criteria.black = {MaterialAtLeast, 2};
  criteria.twins = true;
  criteria.scope = ScopeDirectory;
  criteria.matrixFlags = MatrixGap | MatrixSymmetry;
  criteria.text = "Loyd\\Checkmate\\\\";
  criteria.type = {3, KindHelp + 1, 0};

  // The memorized pattern is the board's, shifted as Gap asks.
  const SearchMemory memory = MemorizeSearch(criteria, board);
  QCOMPARE(memory.criteria[1], 6);
  QCOMPARE(memory.criteria[16], 8);  // the material value: 6 + 2
  QCOMPARE(memory.criteria[19], MatrixGap | MatrixSymmetry);
  QCOMPARE(memory.text, criteria.text);

  SearchCriteria cleared = criteria;
  ClearSearchCriteria(cleared, true);
  QCOMPARE(AcceptSearchCriteria(cleared), 3 + KindHelp + 1);  // only the type is left
  QCOMPARE(cleared.scope, ScopeFile);
  QVERIFY(cleared.text.empty());
  ClearSearchCriteria(cleared, false);
  QCOMPARE(cleared.scope, ScopeDirectory);

  SearchCriteria reloaded;
  reloaded.type = {2, 0, 0};
  QVERIFY(ReloadSearch(memory, true, reloaded));
  QCOMPARE(reloaded.total.count, 6);
  QCOMPARE(reloaded.total.mode, MaterialAtMost);
  QCOMPARE(reloaded.black.mode, MaterialAtLeast);
  QVERIFY(reloaded.twins);
  QCOMPARE(reloaded.scope, ScopeDirectory);
  QCOMPARE(reloaded.text, criteria.text);
  QCOMPARE(reloaded.type.moves, 2);  // the type is not memorized
  QVERIFY(CanRecoverMatrix(reloaded));
  QVERIFY(reloaded.pattern.shifted());
  QCOMPARE(reloaded.pattern, PatternFromBoard(board, true));
  // A memorized file scope becomes the directory scope while no file is open.
  SearchCriteria fileScope;
  fileScope.total = {MaterialExactly, 3};
  QVERIFY(ReloadSearch(MemorizeSearch(fileScope, board), false, fileScope));
  QCOMPARE(fileScope.scope, ScopeDirectory);
  // Nothing memorized yet: nothing to recover.
  SearchCriteria none;
  ReloadSearch(SearchMemory{}, true, none);
  QVERIFY(!CanRecoverMatrix(none));
}

// ---- The search dialog.

void SearchDialogsTest::openingState() {
  SearchCriteria criteria;
  criteria.white = {MaterialAtLeast, 4};
  criteria.matrixFlags = MatrixGap;
  criteria.twins = true;
  criteria.text = "Loyd\\\\\\";
  criteria.type = {3, KindHelp + 1, 0};
  Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
  SearchMemory memory;
  PositionSearchDialog dialog(criteria, false, "/tmp/", board, memory, English, QString());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Rechercher position"));
  QCOMPARE(dialog.count(White)->value(), 4);
  QCOMPARE(dialog.mode(White)->currentText(), QStringLiteral("at least"));
  QCOMPARE(dialog.count(Total)->value(), 0);
  QCOMPARE(dialog.count(Total)->maximum(), 32);
  QCOMPARE(dialog.count(Total)->property("upDownId").toInt(), 1101);
  QVERIFY(dialog.matrixBox(1)->isChecked());
  QVERIFY(!dialog.matrixBox(0)->isChecked());
  QVERIFY(dialog.twinsBox()->isChecked());
  QVERIFY(!dialog.aristocraticBox()->isChecked());
  QCOMPARE(dialog.textShown()->text(), QStringLiteral("Loyd\\\\\\"));
  QVERIFY(dialog.typeShown()->text().contains(QStringLiteral("h#3")));
  // No file open: the file scope is off and the directory scope taken.
  QVERIFY(!dialog.scopeButton(ScopeFile)->isEnabled());
  QVERIFY(dialog.scopeButton(ScopeDirectory)->isChecked());
  QVERIFY(dialog.scopeButton(ScopeDisk)->text().startsWith(QStringLiteral("&Disk /")));
  // English texts from the translation table, the buttons of the language.
  QCOMPARE(WidgetText(ControlById(&dialog, 222)), QStringLiteral("&Information"));
  QCOMPARE(WidgetText(ControlById(&dialog, 91)), QStringLiteral("&Mens "));
  QCOMPARE(WidgetText(ControlById(&dialog, 92)), QStringLiteral("&Amount:"));
  QCOMPARE(WidgetText(ControlById(&dialog, 1000)), QStringLiteral("Actions"));
  QCOMPARE(WidgetText(ControlById(&dialog, 333)), QStringLiteral("&Type"));
  QCOMPARE(WidgetText(ControlById(&dialog, 2)), QStringLiteral("Cancel"));
  QVERIFY(!Control<QPushButton>(&dialog, 1)->icon().isNull());
  QVERIFY(!dialog.recoverAction()->isEnabled());
  QCOMPARE(dialog.informationGroup()->cursor().shape(), Qt::PointingHandCursor);
  QList<int> helped;
  SetHelpHandler([&helped](int context) { helped << context; });
  Control<QPushButton>(&dialog, 3)->click();
  SetHelpHandler({});
  QCOMPARE(helped, QList<int>{107});

  // French: laid out already; a file open keeps the file scope.
  PositionSearchDialog french(SearchCriteria{}, true, "/tmp/", board, memory, French, QString());
  QCOMPARE(WidgetText(ControlById(&french, 91)), QStringLiteral("&Pièces "));
  QCOMPARE(french.mode(Total)->currentText(), QStringLiteral("exactement"));
  QVERIFY(french.scopeButton(ScopeFile)->isEnabled());
  QVERIFY(french.scopeButton(ScopeFile)->isChecked());
}

void SearchDialogsTest::countsAndMatrixBoxesInTheDialog() {
  Board board = BoardFromFen("8/8/8/8/8/8/8/4K3");
  SearchMemory memory;
  SearchCriteria criteria;
  criteria.black = {MaterialAtMost, 3};
  PositionSearchDialog dialog(criteria, true, "", board, memory, English, QString());
  dialog.show();
  // Typing 0 into a count puts its mode back to exactly.
  dialog.count(2)->setFocus();
  QTest::keyClick(dialog.count(2), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(dialog.count(2), "0");
  QCOMPARE(dialog.mode(2)->currentIndex(), MaterialExactly);
  // Identity and Gap exclude each other; Symmetry and Rotation stay.
  dialog.matrixBox(2)->click();
  dialog.matrixBox(0)->click();
  dialog.matrixBox(1)->click();
  QVERIFY(!dialog.matrixBox(0)->isChecked());
  QVERIFY(dialog.matrixBox(1)->isChecked());
  QVERIFY(dialog.matrixBox(2)->isChecked());
  dialog.matrixBox(0)->click();
  QVERIFY(dialog.matrixBox(0)->isChecked());
  QVERIFY(!dialog.matrixBox(1)->isChecked());
  // Enter is OK.
  QTest::keyClick(dialog.count(0), Qt::Key_Return);
  QCOMPARE(dialog.result(), MatrixIdentity | MatrixSymmetry);
  QCOMPARE(dialog.criteria().black.count, 0);
  QCOMPARE(dialog.criteria().matrixFlags, MatrixIdentity | MatrixSymmetry);
}

void SearchDialogsTest::informationMnemonicOpensTheTextDialog() {
  Board board = BoardFromFen("8/8/8/8/8/8/8/4K3");
  SearchMemory memory;
  PositionSearchDialog dialog(SearchCriteria{}, true, "", board, memory, English, QString());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  ModalDriver driver([](QWidget* modal) {
    auto* detail = qobject_cast<SearchDetailsDialog*>(modal);
    if (detail == nullptr) return;
    QTest::keyClicks(detail->field(0), "Loyd");
    QTest::keyClick(detail->field(0), Qt::Key_Return);
  });
  QTest::keyClick(&dialog, Qt::Key_I, Qt::AltModifier);
  QCOMPARE(dialog.textShown()->text(), QStringLiteral("Loyd\\\\\\"));
  // Escape leaves the search dialog with nothing.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.result(), 0);
  QVERIFY(!dialog.isVisible());
}

void SearchDialogsTest::okStoresAndCancelKeeps() {
  Fixture f;
  AppState& state = *f.state;
  state.searchCriteria.text = "Loyd";
  // Cancel (Escape): 0 and the criteria as they were.
  {
    ModalDriver driver([](QWidget* modal) {
      auto* d = qobject_cast<PositionSearchDialog*>(modal);
      d->count(Total)->setValue(9);
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(RunPositionSearchDialog(f.window.get(), state, QString(), {}), 0);
  }
  QCOMPARE(state.searchCriteria.total.count, 0);
  QCOMPARE(state.searchCriteria.text, std::string("Loyd"));
  // OK with nothing set: 0, but the criteria (the scope) are kept.
  {
    ModalDriver driver([](QWidget* modal) {
      auto* d = qobject_cast<PositionSearchDialog*>(modal);
      d->ClearCriteria();
      d->scopeButton(ScopeDisk)->click();
      d->accept();
    });
    QCOMPARE(RunPositionSearchDialog(f.window.get(), state, QString(), {}), 0);
  }
  QCOMPARE(state.searchCriteria.scope, ScopeDisk);
  QVERIFY(state.searchCriteria.text.empty());
  // OK with counts: their sum.
  {
    ModalDriver driver([](QWidget* modal) {
      auto* d = qobject_cast<PositionSearchDialog*>(modal);
      d->count(Total)->setValue(10);
      d->mode(Total)->setCurrentIndex(MaterialAtLeast);
      d->count(White)->setValue(1);
      d->aristocraticBox()->click();
      Control<QPushButton>(d, 1)->click();
    });
    QCOMPARE(RunPositionSearchDialog(f.window.get(), state, QString(), {}), 12);
  }
  QCOMPARE(state.searchCriteria.total.mode, MaterialAtLeast);
  QCOMPARE(state.searchCriteria.materialActive, 12);
  QVERIFY(state.searchCriteria.aristocratic);
}

void SearchDialogsTest::actionsMenu() {
  Board board = BoardFromFen("8/8/8/8/8/8/8/4K2R");
  SearchMemory memory;
  SearchCriteria criteria;
  PositionSearchDialog dialog(criteria, true, "", board, memory, English, QString());
  QStringList labels;
  for (QAction* a : dialog.actionsMenu()->actions())
    if (!a->isSeparator()) labels << a->text();
  QCOMPARE(labels, (QStringList{"Search for &Information...", "Search for &Type...",
                                "&Recover the matrix", "&Clear the criteria",
                                "&Memorize the criterias", "&Reload the criterias"}));
  QSignalSpy boardChanged(&dialog, &PositionSearchDialog::boardChanged);
  // Memorize takes the fields and the board's pattern.
  dialog.count(White)->setValue(2);
  dialog.matrixBox(0)->click();
  dialog.MemorizeCriteria();
  QCOMPARE(memory.criteria[3], 2);
  QCOMPARE(memory.criteria[19], MatrixIdentity);
  // Clear empties the fields; the board is not touched.
  dialog.ClearCriteria();
  QCOMPARE(dialog.count(White)->value(), 0);
  QVERIFY(!dialog.matrixBox(0)->isChecked());
  // Reload brings them back and recovers the matrix onto an empty board.
  board = BoardFromFen("rnbqkbnr/8/8/8/8/8/8/8");
  dialog.ReloadCriteria();
  QCOMPARE(dialog.count(White)->value(), 2);
  QVERIFY(dialog.matrixBox(0)->isChecked());
  QVERIFY(dialog.recoverAction()->isEnabled());
  QCOMPARE(boardChanged.count(), 1);
  QVERIFY(board == BoardFromFen("8/8/8/8/8/8/8/4K2R"));
}

// ---- The text criterion.

void SearchDialogsTest::detailDialogSplitsAndJoins() {
  SearchDetailsDialog dialog("Loyd\\Checkmate\\1st\\", English, QStringLiteral("Information"));
  QCOMPARE(dialog.field(0)->text(), QStringLiteral("Loyd"));
  QCOMPARE(dialog.field(1)->text(), QStringLiteral("Checkmate"));
  QCOMPARE(dialog.field(2)->text(), QStringLiteral("1st"));
  QCOMPARE(dialog.field(3)->text(), QString());
  QCOMPARE(WidgetText(ControlById(&dialog, 92)), QStringLiteral("&Source:"));
  QCOMPARE(dialog.field(0)->maxLength(), 32);
  QCOMPARE(dialog.SearchText(), std::string("Loyd\\Checkmate\\1st\\"));
  // Author and source of 32 together: the award and comment are not joined.
  dialog.field(0)->setText(QString(20, QLatin1Char('a')));
  dialog.field(1)->setText(QString(12, QLatin1Char('s')));
  QCOMPARE(dialog.SearchText(), std::string(20, 'a') + "\\");
  // A backslash would shift the parts: the fields do not take it.
  dialog.show();
  dialog.field(3)->clear();
  dialog.field(3)->setFocus();
  QTest::keyClicks(dialog.field(3), "a\\b");
  QCOMPARE(dialog.field(3)->text(), QStringLiteral("ab"));
  // Four empty fields are no text criterion.
  for (int i = 0; i < SearchTextParts; ++i) dialog.field(i)->clear();
  QVERIFY(dialog.SearchText().empty());

  // OK stores, Cancel keeps.
  std::string text = "Loyd";
  {
    ModalDriver driver([](QWidget* modal) {
      auto* d = qobject_cast<SearchDetailsDialog*>(modal);
      d->field(0)->setText(QStringLiteral("Sam"));
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!RunSearchDetailsDialog(nullptr, English, QString(), text));
  }
  QCOMPARE(text, std::string("Loyd"));
  {
    ModalDriver driver([](QWidget* modal) {
      auto* d = qobject_cast<SearchDetailsDialog*>(modal);
      d->field(0)->setText(QStringLiteral("Sam"));
      d->field(2)->setText(QStringLiteral("Prize"));
      QTest::keyClick(d->field(0), Qt::Key_Return);
    });
    QVERIFY(RunSearchDetailsDialog(nullptr, English, QString(), text));
  }
  QCOMPARE(text, std::string("Sam\\\\Prize\\"));
}

// ---- The window's commands.

void SearchDialogsTest::searchOnTheSampleListsItsHits() {
  QTemporaryDir dir;
  Fixture f;
  f.log.openName = QString::fromStdString(SampleCopy(dir));
  QVERIFY(!f.log.openName.isEmpty());
  f.window->Dispatch(CmdOpen);
  QVERIFY(f.state->fileOpen);
  std::vector<int> listed;
  {
    // Six men at the most, typed into the dialog; the list shows the hits.
    ModalDriver driver([&listed](QWidget* modal) {
      if (auto* d = qobject_cast<PositionSearchDialog*>(modal)) {
        d->count(Total)->setFocus();
        QTest::keyClick(d->count(Total), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d->count(Total), "6");
        d->mode(Total)->setCurrentIndex(MaterialAtMost);
        QTest::keyClick(d->count(Total), Qt::Key_Return);
      } else if (auto* list = qobject_cast<ProblemListDialog*>(modal)) {
        listed.push_back(list->listBox()->count());
        QTest::keyClick(list, Qt::Key_Escape);
      }
    });
    f.window->Dispatch(CmdSearchPositions);
  }
  QCOMPARE(Records(f.state->problemList), (std::vector<int>{5, 32, 33, 39}));
  QCOMPARE(f.state->problemListCount, 4);
  QCOMPARE(listed, std::vector<int>{4});
  QVERIFY(f.log.unhandled.isEmpty());

  // The author "Loyd" through the text dialog, the count cleared.
  {
    ModalDriver driver([](QWidget* modal) {
      if (auto* d = qobject_cast<PositionSearchDialog*>(modal)) {
        d->count(Total)->setValue(0);
        // The text dialog opens from a slot of its own, so that the driver
        // can answer it while it is open.
        QTimer::singleShot(0, d, [d] {
          d->SearchInformation();
          QTest::keyClick(d, Qt::Key_Return);
        });
      } else if (auto* detail = qobject_cast<SearchDetailsDialog*>(modal)) {
        detail->field(0)->setText(QStringLiteral("Loyd"));
        detail->accept();
      } else if (auto* list = qobject_cast<ProblemListDialog*>(modal)) {
        list->reject();
      }
    });
    f.window->Dispatch(CmdSearchPositions);
  }
  QCOMPARE(Records(f.state->problemList), std::vector<int>{4});
  QCOMPARE(f.state->searchCriteria.text, std::string("Loyd\\\\\\"));
}

void SearchDialogsTest::searchWithoutAFileWalksTheStartFolder() {
  QTemporaryDir dir;
  QVERIFY(!SampleCopy(dir).empty());
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("more")));
  const std::string other = MakeCollection(dir, {"8/8/8/8/8/8/8/K6k"}, "more/Other.KVL");
  Fixture f;
  f.state->startDirectory = dir.path().toStdString() + "/";
  QVERIFY(!f.state->fileOpen);
  std::vector<int> listed;
  {
    // Three men at the most: record 1 of the other collection only.
    ModalDriver driver([&listed](QWidget* modal) {
      if (auto* d = qobject_cast<PositionSearchDialog*>(modal)) {
        QVERIFY(d->scopeButton(ScopeDirectory)->isChecked());
        d->count(Total)->setValue(3);
        d->mode(Total)->setCurrentIndex(MaterialAtMost);
        d->accept();
      } else if (auto* list = qobject_cast<ProblemListDialog*>(modal)) {
        listed.push_back(list->listBox()->count());
        list->reject();
      }
    });
    f.window->Dispatch(CmdSearchPositions);
  }
  QCOMPARE(listed, std::vector<int>{1});
  QCOMPARE(f.state->problemList.count(), 1);
  QCOMPARE(f.state->problemList.FileOf(f.state->problemList.entries[0]), other);
}

void SearchDialogsTest::searchLeavesTheShownProblemAndItsSaveQuestion() {
  QTemporaryDir dir;
  Fixture f;
  f.log.openName = QString::fromStdString(SampleCopy(dir));
  f.window->Dispatch(CmdOpen);
  QVERIFY(f.state->fileOpen);
  // An unsaved edit of the problem shown: a white king's move.
  const PositionBytes stored = f.state->problem.storedBoard;
  const Board edited = BoardFromFen("8/2pN4/2n5/1N1p2b1/4k3/8/3P3K/5Q2");
  f.state->pos.board = edited;
  QVERIFY(IsProblemModified(f.state->problem, f.state->pos.board));
  f.log.messages.clear();
  bool listShown = false;
  {
    // The list that follows the hits first asks to save; Cancel keeps all.
    ModalDriver driver([&listShown](QWidget* modal) {
      if (auto* d = qobject_cast<PositionSearchDialog*>(modal)) {
        d->twinsBox()->click();
        d->accept();
      } else if (auto* list = qobject_cast<ProblemListDialog*>(modal)) {
        listShown = true;
        list->reject();
      }
    });
    f.window->Dispatch(CmdSearchPositions);
  }
  QVERIFY(!listShown);
  QCOMPARE(Records(f.state->problemList), std::vector<int>{7});
  QVERIFY(f.state->pos.board == edited);
  QVERIFY(f.state->problem.storedBoard == stored);
  QVERIFY(!f.state->skipNextSavePrompt);
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY2(f.log.messages.front().startsWith(QStringLiteral("Save Problem in")),
           qPrintable(f.log.messages.front()));
  // The next command that replaces the problem asks again.
  f.log.messages.clear();
  f.window->Dispatch(CmdNext);
  QCOMPARE(f.log.messages.size(), 1);
  QCOMPARE(f.state->collection.currentIndex, 0);
}

void SearchDialogsTest::searchWithoutHitSaysSo() {
  QTemporaryDir dir;
  Fixture f;
  f.log.openName = QString::fromStdString(SampleCopy(dir));
  f.window->Dispatch(CmdOpen);
  AddListEntry(f.state->problemList, "/elsewhere.kvl", 3);
  f.state->searchCriteria.text = "Nobody of that name";
  f.log.messages.clear();
  {
    ModalDriver driver([](QWidget* modal) {
      if (auto* d = qobject_cast<PositionSearchDialog*>(modal)) d->accept();
    });
    f.window->Dispatch(CmdSearchPositions);
  }
  QCOMPARE(f.log.messages, QStringList{QStringLiteral("No problem is found")});
  QCOMPARE(f.state->problemList.count(), 0);
  QCOMPARE(f.state->problemListCount, 0);
}

void SearchDialogsTest::duplicateScanNotesOtherCollections() {
  QTemporaryDir dir;
  const std::string a = MakeCollection(dir, {"k7/8/8/8/8/8/8/K7", "4k3/8/8/8/8/8/8/4K3"}, "a.kvl");
  const std::string b = MakeCollection(
      dir, {"8/8/8/8/8/8/8/R3K2k", "k7/8/8/8/8/8/8/K7", "k7/8/8/8/8/8/8/K7"}, "b.kvl");
  // Record 1 of a.kvl keeps a solution text of its own.
  CollectionState first{a, 0, 1};
  QVERIFY(bool(SaveSolutionText(first, "1.Ka1-b1 !")));
  Fixture f;
  f.log.openName = QString::fromStdString(a);
  f.window->Dispatch(CmdOpen);
  QCOMPARE(f.state->collection.currentIndex, 0);
  int reports = 0;
  const int noted =
      DuplicateScanCommand(*f.window, {a, b}, [&reports](const FileResult&) { ++reports; });
  QCOMPARE(noted, 1);
  QCOMPARE(reports, 0);
  // The notes follow the stored text; the problem shown has them.
  const std::string expected = "1.Ka1-b1 !\r\n" + b +
                               " n\xB0"
                               "2\r\n" +
                               b +
                               " n\xB0"
                               "3\r\n";
  QCOMPARE(f.state->problem.solutionText, expected);
  QVERIFY(f.window->SolutionPaneText().find(b + " n") != std::string::npos);
  QCOMPARE(f.state->collection.currentIndex, 0);
  CurrentProblem second;
  Board board{};
  CollectionState secondState{a, 1, 1};
  QVERIFY(bool(LoadProblem(secondState, second, board)));
  QVERIFY(second.solutionText.empty());
  // A second scan adds nothing twice.
  QCOMPARE(DuplicateScanCommand(*f.window, {a, b}, [](const FileResult&) {}), 0);
  QCOMPARE(f.state->problem.solutionText, expected);
  // Without a known start-up folder the command walks nothing.
  QVERIFY(DuplicateScanFiles(*f.state).empty());
  f.window->Dispatch(CmdDuplicates);
  QCOMPARE(f.state->problem.solutionText, expected);
}

// ---- Every language.

void SearchDialogsTest::textsFitInEveryLanguage() {
  int checked = 0;
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    const Language language{base, nullptr};
    Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
    SearchMemory memory;
    SearchCriteria criteria;
    criteria.text = "Loyd, Sam\\Checkmate\\1st Prize\\";
    criteria.type = {3, KindHelp + 1, FlagSeries};
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<PositionSearchDialog>(criteria, true, "/tmp/", board, memory,
                                                             language, QStringLiteral("Search")));
    dialogs.push_back(
        std::make_unique<SearchDetailsDialog>(criteria.text, language, QStringLiteral("Info")));
    for (const auto& dialog : dialogs) {
      dialog->show();
      for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const QString what =
            dialog->objectName() + " " + w->objectName() + " " + QString::number(base);
        if (auto* group = qobject_cast<QGroupBox*>(w)) {
          const int title = group->fontMetrics().horizontalAdvance(group->title());
          QVERIFY2(group->width() > title, qPrintable(what));
          ++checked;
          continue;
        }
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w) &&
            !qobject_cast<QComboBox*>(w)) {
          continue;
        }
        QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
        ++checked;
      }
      dialog->hide();
    }
  }
  QVERIFY(checked > 100);
}

// With KESTROVALE_SCREENSHOTS naming a folder, both dialogs are drawn into
// it in English and French.
void SearchDialogsTest::screenshots() {
  const QString folder = qEnvironmentVariable("KESTROVALE_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("KESTROVALE_SCREENSHOTS not set");
  for (const auto& [language, suffix] :
       {std::pair{English, QStringLiteral("en")}, std::pair{French, QStringLiteral("fr")}}) {
    const bool fr = suffix == QLatin1String("fr");
    Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
    SearchMemory memory;
    SearchCriteria criteria;
    criteria.total = {MaterialAtLeast, 10};
    criteria.white = {MaterialExactly, 1};
    criteria.matrixFlags = MatrixIdentity | MatrixSymmetry;
    criteria.text = "Loyd\\Checkmate\\\\";
    criteria.type = {3, 0, 0};
    PositionSearchDialog search(
        criteria, true, "/", board, memory, language,
        fr ? QStringLiteral("Rechercher position") : QStringLiteral("Search positions"));
    search.show();
    QVERIFY(search.grab().save(folder + "/dialog-search-" + suffix + ".png"));
    SearchDetailsDialog detail(criteria.text, language,
                               fr ? QStringLiteral("Informations") : QStringLiteral("Information"));
    detail.show();
    QVERIFY(detail.grab().save(folder + "/dialog-search-information-" + suffix + ".png"));
  }
}

QTEST_MAIN(SearchDialogsTest)
#include "search_dialogs_test.moc"
