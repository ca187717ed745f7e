// The file choice, the save dialog and the organise dialog: what they show,
// which numbers they accept, and what OK and Cancel do to the collection.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/choose_file.h"
#include "app/choose_file_logic.h"
#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/organize_dialog.h"
#include "app/save_position_dialog.h"
#include "app/up_down.h"
#include "app_fixture.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const std::vector<std::string> kFiveProblems = {"8/8/8/8/8/8/8/K6k", "8/8/8/8/8/8/8/K5Qk",
                                                "8/8/8/8/8/8/8/K4R1k", "8/8/8/8/8/8/8/K3B2k",
                                                "8/8/8/8/8/8/8/K2N3k"};

int RecordCount(const std::string& path) {
  CollectionReader reader;
  if (!reader.Open(path)) return -1;
  return reader.lastIndex() + 1;
}

// Runs `act` on the modal dialog of type T once the event loop shows it.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    act(dialog);
  });
}

QString TextOf(QWidget* dialog, int id) {
  QWidget* control = ControlById(dialog, id);
  return control != nullptr ? WidgetText(control) : QString();
}

}  // namespace

class CollectionDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void fileKindsHaveTheirTitlesAndFilters();
  void defaultExtensionKeepsTheCase();
  void fileDialogIsSetUpByKind();
  void shownFileNameDropsTheStartFolder();
  void saveDialogOnANewFileMustPlaceTheProblem();
  void saveDialogNumbersAndArrows();
  void saveDialogIsTranslated();
  void organiseDeleteCountStopsBeforeTheEnd();
  void organiseAnswers();
  void organiseAndSaveFromTheWindow();
};

void CollectionDialogsTest::fileKindsHaveTheirTitlesAndFilters() {
  const FileChoiceKind open = FileChoiceOf(ChooseOpen);
  QCOMPARE(open.titleMessage, 0);
  QVERIFY(!open.save);
  QCOMPARE(open.filters.size(), std::size_t{6});
  QCOMPARE(NameFilterText(open),
           std::string("Kestrovale files (*.kvl);;PGN files (*.pgn);;EPD files (*.epd);;"
                       "DBF files (*.dbf);;Alybadix arc files (*.txt);;"
                       "Solver input files (*.inp)"));
  // Copying positions saves into any of the collection formats.
  QCOMPARE(FileChoiceOf(ChooseCopyPositions).filters.size(), std::size_t{5});
  QVERIFY(FileChoiceOf(ChooseCopyPositions).save);
  struct Expected {
    int kind, title;
    const char* filter;
    const char* extension;
    bool save;
  };
  const Expected table[] = {{ChooseSaveAs, 73, "Kestrovale files (*.kvl)", "kvl", true},
                            {ChooseAuthorList, 74, "Text files (*.txt)", "txt", false},
                            {ChooseTextReport, 76, "Text files (*.txt)", "txt", true},
                            {ChoosePgnExport, 0, "PGN files (*.pgn)", "pgn", true},
                            {ChooseEpdExport, 0, "EPD files (*.epd)", "epd", true},
                            {ChooseLanguageFile, 0, "String files (*.str)", "", false},
                            {ChoosePopeyeExport, 0, "Solver input files (*.inp)", "inp", true}};
  for (const Expected& e : table) {
    const FileChoiceKind choice = FileChoiceOf(e.kind);
    QCOMPARE(choice.kind, e.kind);
    QCOMPARE(choice.titleMessage, e.title);
    QCOMPARE(NameFilterText(choice), std::string(e.filter));
    QCOMPARE(std::string(choice.defaultExtension), std::string(e.extension));
    QCOMPARE(choice.save, e.save);
  }
  QCOMPARE(FileChoiceOf(5).kind, -1);
  QVERIFY(FileChoiceOf(5).filters.empty());
}

void CollectionDialogsTest::defaultExtensionKeepsTheCase() {
  QCOMPARE(WithDefaultExtension("/home/Me/Problems", "kvl"), std::string("/home/Me/Problems.kvl"));
  QCOMPARE(WithDefaultExtension("/home/Me/Mates.KVL", "kvl"), std::string("/home/Me/Mates.KVL"));
  // A dot in a folder name is no extension of the file.
  QCOMPARE(WithDefaultExtension("/home/v1.2/Mates", "pgn"), std::string("/home/v1.2/Mates.pgn"));
  QCOMPARE(WithDefaultExtension("/home/.kvl", "kvl"), std::string("/home/.kvl.kvl"));
  QCOMPARE(WithDefaultExtension("/home/Mates", ""), std::string("/home/Mates"));
  QCOMPARE(WithDefaultExtension("", "kvl"), std::string());
}

void CollectionDialogsTest::fileDialogIsSetUpByKind() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, {kFiveProblems[0]}, "Mixed.kvl");
  std::unique_ptr<QFileDialog> save(
      MakeFileDialog(nullptr, Language{LanguageFrench, nullptr}, ChooseSaveAs, path));
  QCOMPARE(save->windowTitle(), QStringLiteral("Enregistrer la position dans"));
  QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
  QCOMPARE(save->defaultSuffix(), QStringLiteral("kvl"));
  QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
  QCOMPARE(QFileInfo(save->directory().absolutePath()), QFileInfo(dir.path()));

  std::unique_ptr<QFileDialog> open(MakeFileDialog(nullptr, Language{}, ChooseOpen, ""));
  QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);
  QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
  QCOMPARE(open->nameFilters().size(), 6);

  std::unique_ptr<QFileDialog> authors(MakeFileDialog(nullptr, Language{}, ChooseAuthorList, ""));
  QCOMPARE(authors->windowTitle(), QStringLiteral("Change author list"));
}

void CollectionDialogsTest::shownFileNameDropsTheStartFolder() {
  QCOMPARE(ShownFileName("/home/me/Mates.kvl", "/home/me/"), std::string("Mates.kvl"));
  QCOMPARE(ShownFileName("/home/me/sub/Mates.kvl", "/home/me"), std::string("sub/Mates.kvl"));
  QCOMPARE(ShownFileName("/home/meta/Mates.kvl", "/home/me"), std::string("/home/meta/Mates.kvl"));
  QCOMPARE(ShownFileName("/x/Mates.kvl", ""), std::string("/x/Mates.kvl"));
}

void CollectionDialogsTest::saveDialogOnANewFileMustPlaceTheProblem() {
  QTemporaryDir dir;
  CollectionState state{dir.filePath("New.kvl").toStdString(), -1, -1};
  CurrentProblem problem;
  problem.authors = "Someone";
  const Board board = BoardFromFen(kFiveProblems[1]);
  SavePositionDialog dialog(state, problem, board, Language{}, "");
  QVERIFY(dialog.openResult().ok());
  QVERIFY(QFileInfo::exists(dir.filePath("New.kvl")));
  QCOMPARE(dialog.numberBox()->value(), 1);
  QCOMPARE(dialog.sizeLabel()->text(), QStringLiteral("0"));
  dialog.show();
  // With no record yet, Escape cannot leave the problem nowhere.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(dialog.isVisible());
  QTest::keyClick(dialog.numberBox(), Qt::Key_Return);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(dialog.saveResult().ok());
  QCOMPARE(RecordCount(state.currentFileName), 1);
  QCOMPARE(state.currentIndex, 0);
}

void CollectionDialogsTest::saveDialogNumbersAndArrows() {
  QTemporaryDir dir;
  const std::string path =
      MakeCollection(dir, {kFiveProblems[0], kFiveProblems[1], kFiveProblems[2]});
  CollectionState state{path, -1, 2};
  CurrentProblem problem;
  problem.authors = "Overwriter";
  const Board board = BoardFromFen(kFiveProblems[3]);
  {
    SavePositionDialog dialog(state, problem, board, Language{}, "");
    UpDownBox* number = dialog.numberBox();
    QCOMPARE(number->value(), 4);  // a problem waiting to go at the end
    QCOMPARE(dialog.sizeLabel()->text(), QStringLiteral("3"));
    // The arrows run over the records; the appending number can be typed.
    number->setValue(3);
    number->stepBy(1);
    QCOMPARE(number->value(), 3);
    number->edit()->selectAll();
    QTest::keyClicks(number->edit(), QStringLiteral("4"));
    number->interpretText();
    QCOMPARE(number->value(), 4);
    number->edit()->selectAll();
    QTest::keyClicks(number->edit(), QStringLiteral("5"));
    number->interpretText();
    QVERIFY(number->value() <= 4);
    dialog.show();
    // Cancel puts a number past the end back to the first record.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(state.currentIndex, 0);
    QCOMPARE(RecordCount(path), 3);
  }
  {
    state.currentIndex = 0;
    SavePositionDialog dialog(state, problem, board, Language{}, "");
    dialog.numberBox()->setValue(2);
    dialog.accept();
    QVERIFY(dialog.saveResult().ok());
    QCOMPARE(RecordCount(path), 3);  // an existing number overwrites
    CurrentProblem read;
    Board readBoard{};
    QVERIFY(LoadProblemNumber(path, 2, read, readBoard).ok());
    QCOMPARE(read.authors, std::string("Overwriter"));
    QVERIFY(LoadProblemNumber(path, 1, read, readBoard).ok());
    QCOMPARE(read.authors, std::string("Author 1"));
  }
}

void CollectionDialogsTest::saveDialogIsTranslated() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, {kFiveProblems[0]});
  CollectionState state{path, 0, 0};
  CurrentProblem problem;
  const Board board = BoardFromFen(kFiveProblems[0]);
  SavePositionDialog english(state, problem, board, Language{}, "");
  QCOMPARE(TextOf(&english, 92), QStringLiteral("&Number:"));
  QCOMPARE(TextOf(&english, 93), QStringLiteral("Size:"));
  SavePositionDialog french(state, problem, board, Language{LanguageFrench, nullptr}, "");
  QCOMPARE(TextOf(&french, 92), QStringLiteral("&Numéro :"));
  QCOMPARE(TextOf(&french, 91), QStringLiteral("Fichier courant :"));
  auto* ok = Control<QPushButton>(&french, 1);
  QVERIFY(ok != nullptr);
  QVERIFY(ok->isDefault());
  QVERIFY(!ok->icon().isNull());
  QVERIFY(!TextOf(&french, 2).isEmpty());
  QCOMPARE(Control<QLabel>(&french, 92)->buddy(), french.numberBox());
}

void CollectionDialogsTest::organiseDeleteCountStopsBeforeTheEnd() {
  struct Case {
    int current, last, limit;
  };
  // From the fourth of five: two records to the end. From the first: all
  // but one. A single record cannot be deleted.
  const Case cases[] = {{3, 4, 2}, {0, 4, 4}, {4, 4, 1}, {0, 0, 0}};
  for (const Case& c : cases) {
    OrganizeDialog dialog(CollectionState{"x.kvl", c.current, c.last}, Language{}, "");
    QCOMPARE(dialog.deleteButton()->isEnabled(), c.limit > 0);
    if (c.limit == 0) continue;
    dialog.deleteCount()->setValue(999);
    QCOMPARE(dialog.deleteCount()->value(), c.limit);
  }
}

void CollectionDialogsTest::organiseAnswers() {
  const CollectionState state{"x.kvl", 1, 9};
  {
    OrganizeDialog dialog(state, Language{}, "");
    QVERIFY(dialog.insertButton()->isChecked());
    QCOMPARE(dialog.insertCount()->maximum(), 999);
    dialog.insertCount()->setValue(3);
    dialog.accept();
    QCOMPARE(dialog.answer(), 3);
  }
  {
    OrganizeDialog dialog(state, Language{}, "");
    dialog.show();
    // Typing into the delete count selects Delete.
    dialog.deleteCount()->edit()->selectAll();
    QTest::keyClicks(dialog.deleteCount()->edit(), QStringLiteral("4"));
    QVERIFY(dialog.deleteButton()->isChecked());
    QTest::keyClick(dialog.deleteCount(), Qt::Key_Return);
    QCOMPARE(dialog.answer(), -4);
  }
  {
    OrganizeDialog dialog(state, Language{LanguageFrench, nullptr}, "");
    auto* compact = Control<QPushButton>(&dialog, 4);
    QCOMPARE(compact->text(), QStringLiteral("&Compacter"));
    compact->click();
    QCOMPARE(dialog.answer(), OrganiseCompact);
  }
  {
    OrganizeDialog dialog(state, Language{}, "");
    dialog.show();
    dialog.insertCount()->setValue(5);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.answer(), OrganiseCancel);
  }
}

void CollectionDialogsTest::organiseAndSaveFromTheWindow() {
  QTemporaryDir dir;
  const std::string path = MakeCollection(dir, kFiveProblems);
  Fixture f;
  f.state->collection = {path, 4, 4};
  f.state->fileOpen = true;
  f.state->problemListCount = 5;
  f.window->UpdateCommandStates();
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  // Inserting two blank records before the fifth.
  f.state->collection.currentIndex = 4;
  WhenShown<OrganizeDialog>([](OrganizeDialog* dialog) {
    dialog->insertCount()->setValue(2);
    dialog->accept();
  });
  f.window->Dispatch(CmdOrganize);
  QCOMPARE(RecordCount(path), 7);
  QCOMPARE(f.state->problemListCount, 0);
  QCOMPARE(f.state->collection.currentIndex, 4);
  QVERIFY(f.log.unhandled.isEmpty());
  QVERIFY(f.log.messages.isEmpty());

  // Saving the blank record shown as the seventh, past the old fifth.
  f.state->problem.authors = "Moved";
  f.state->problem.infoModified = true;
  WhenShown<SavePositionDialog>([](SavePositionDialog* dialog) {
    QCOMPARE(dialog->numberBox()->value(), 5);
    dialog->numberBox()->setValue(7);
    dialog->accept();
  });
  f.window->Dispatch(CmdSavePosition);
  QCOMPARE(f.state->collection.currentIndex, 6);
  CurrentProblem read;
  Board board{};
  QVERIFY(LoadProblemNumber(path, 7, read, board).ok());
  QCOMPARE(read.authors, std::string("Moved"));
  QVERIFY(f.log.unhandled.isEmpty());
}

QTEST_MAIN(CollectionDialogsTest)
#include "collection_dialogs_test.moc"
