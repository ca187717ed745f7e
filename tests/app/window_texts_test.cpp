// What the window shows around its commands: the File menu's print items
// beside the print button's drop-down, the recent files, the titles of the
// dialogs, the status bar's help and square texts, the font choice, and
// dialogs that keep their size.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QToolButton>
#include <QtTest>

#include "app/biographical_selection_dialog.h"
#include "app/board_editing.h"
#include "app/command_icons.h"
#include "app/commands.h"
#include "app/description_commands.h"
#include "app/dialog_frame.h"
#include "app/display_options_dialog.h"
#include "app/information_dialog.h"
#include "app/organize_dialog.h"
#include "app/pane_font_dialog.h"
#include "app/search_commands.h"
#include "app/text_search_dialog.h"
#include "app/twins_dialog.h"
#include "app_fixture.h"
#include "collections/author_list.h"
#include "modal_script.h"
#include "print/print_options_dialog.h"
#include "strings/custom_language.h"
#include "strings/menu.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const Language English{LanguageEnglish, nullptr};

template <class T>
T* C(const QWidget* dialog, int id) {
  T* control = Control<T>(dialog, id);
  if (control == nullptr) qFatal("control %d missing", id);
  return control;
}

// The menu text of a command in a language: its label and, after a tab,
// its accelerator hint, as the menus show it.
QString MenuItemText(const Language& language, int command) {
  const Menu menu = LanguageMenu(language);
  const MenuItem* item = FindMenuItem(menu, command);
  if (item == nullptr) return {};
  QString text = FromCp1252(MenuLabel(item->text));
  const std::string_view hint = MenuHint(item->text);
  if (!hint.empty()) text += QLatin1Char('\t') + FromCp1252(hint);
  return text;
}

QMenu* DropDownOf(MainWindow& window, int command) {
  return window.findChild<QMenu*>(QStringLiteral("dropDown%1").arg(command));
}

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT
 private slots:
  void printItemsKeepTheirMenuTextsInEveryLanguage();
  void recentFilesShowTheNumberSign();
  void dialogsAreTitledByTheirMenuItems();
  void menuHelpEndsWithTheMenu();
  void squareTextFollowsTheBoard();
  void fontDialogStartsAtThePaneFont();
  void authorEntryIsClearedAfterAdd();
  void dialogsKeepTheirSize();
  void authorListsAreFoundAndTheirStopIsTold();
  void duplicateScanShowsProgressAndSummary();
  void searchesNameWhatTheyCouldNotRead();
  void printSetupShowsTheMarginsOfTheOptions();
  void toolbarsWrapInANarrowWindow();
  void toolbarIconsAreDrawnAtEveryScale();
};

void WindowTextsTest::printItemsKeepTheirMenuTextsInEveryLanguage() {
  Fixture f;
  int languages = 0;
  for (int command = CmdLanguageFirst; command < CmdLanguageOther; ++command) {
    f.window->Dispatch(command);
    const Language& language = f.state->language;
    QCOMPARE(f.window->Action(CmdPrintReport)->text(), MenuItemText(language, CmdPrintReport));
    QCOMPARE(f.window->Action(CmdPrintDiagrams)->text(), MenuItemText(language, CmdPrintDiagrams));
    // The drop-down of the print button names the two kinds of print.
    const QList<QAction*> items = DropDownOf(*f.window, CmdPrintButton)->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), MessageQ(language, 211));
    QCOMPARE(items[1]->text(), MessageQ(language, 212));
    QVERIFY(items[0]->text() != f.window->Action(CmdPrintDiagrams)->text());
    ++languages;
  }
  QCOMPARE(languages, 4);
  f.window->Dispatch(CmdLanguageFirst + 1);  // English
  QCOMPARE(f.window->Action(CmdPrintReport)->text(), QStringLiteral("&Print Report...\tShift+F4"));
  QCOMPARE(f.window->Action(CmdPrintDiagrams)->text(), QStringLiteral("&Print Diagrams..."));
  // The drop-down's items still print.
  QSignalSpy dispatched(f.window.get(), &MainWindow::commandDispatched);
  ModalScript script;
  script.then<QDialog>([](QDialog* dialog) { dialog->reject(); });  // the print dialog
  script.start();
  DropDownOf(*f.window, CmdPrintButton)->actions()[1]->trigger();
  QVERIFY(!dispatched.isEmpty());
  QCOMPARE(dispatched.first().first().toInt(), CmdPrintReport);
}

void WindowTextsTest::recentFilesShowTheNumberSign() {
  Fixture f;
  f.state->startDirectory = "/home/u/";
  f.state->recentFiles[0] =
      "/tmp/sample.kvl n\xB0"
      "43";
  // A path from the file system (UTF-8) and one an older version stored in
  // Windows-1252: both show their accents.
  f.state->recentFiles[1] =
      "/tmp/\xC3\x89tudes.kvl n\xB0"
      "7";
  f.state->recentFiles[2] =
      "/tmp/Fran\xE7"
      "ais.kvl n\xB0"
      "2";
  f.state->recentFiles[3] = "/home/u/probl\xC3\xA8mes.kvl";
  for (int command = CmdLanguageFirst; command < CmdLanguageOther; ++command) {
    f.window->Dispatch(command);
    QCOMPARE(f.window->Action(CmdRecentFirst)->text(),
             QStringLiteral("&1 /tmp/sample.kvl n\u00B043"));
    QCOMPARE(f.window->Action(CmdRecentFirst + 1)->text(),
             QStringLiteral("&2 /tmp/\u00C9tudes.kvl n\u00B07"));
    QCOMPARE(f.window->Action(CmdRecentFirst + 2)->text(),
             QStringLiteral("&3 /tmp/Fran\u00E7ais.kvl n\u00B02"));
    QCOMPARE(f.window->Action(CmdRecentFirst + 3)->text(), QStringLiteral("&4 probl\u00E8mes.kvl"));
  }
}

void WindowTextsTest::dialogsAreTitledByTheirMenuItems() {
  QTemporaryDir dir;
  Fixture f;
  f.state->collection.currentFileName = MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R"});
  f.window->Dispatch(CmdStartFile);
  QVERIFY(f.state->fileOpen);
  struct Case {
    int command;
    QString english;
  };
  const Case cases[] = {{CmdSavePosition, QStringLiteral("Save a position")},
                        {CmdOrganize, QStringLiteral("Organize")},
                        {CmdFindInText, QStringLiteral("Search in the Text")}};
  // The title of the dialog a command opens, closed at once.
  const auto titleOf = [&f](int command) {
    QString title = QStringLiteral("(no dialog)");
    ModalScript script;
    script.then<QDialog>([&title](QDialog* dialog) {
      title = dialog->windowTitle();
      dialog->reject();
    });
    script.start();
    f.window->Dispatch(command);
    return title;
  };
  for (const Case& c : cases) QCOMPARE(titleOf(c.command), c.english);
  // In French the same dialogs take the French menu texts.
  f.window->Dispatch(CmdLanguageFirst);
  QCOMPARE(
      titleOf(CmdSavePosition),
      FromCp1252(MenuTitle(FindMenuItem(LanguageMenu(f.state->language), CmdSavePosition)->text)));
}

void WindowTextsTest::menuHelpEndsWithTheMenu() {
  QTemporaryDir dir;
  Fixture f;
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  QMenu* file = f.window->menuBar()->actions()[0]->menu();
  QMenu* misc = f.window->menuBar()->actions()[4]->menu();
  // Without a file: the help line of the highlighted item, then nothing.
  misc->popup(QPoint(0, 0));
  emit misc->hovered(f.window->Action(CmdAbout));
  QCOMPARE(f.window->StatusTextOf(4), MessageQ(f.state->language, CmdAbout - 100));
  misc->hide();
  QCOMPARE(f.window->StatusTextOf(4), QString());
  // With a file: its summary comes back.
  f.state->collection.currentFileName = MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R"});
  f.window->Dispatch(CmdStartFile);
  const QString summary = f.window->StatusTextOf(4);
  QVERIFY(summary.contains(QStringLiteral("1 / 1")));
  file->popup(QPoint(0, 0));
  emit file->hovered(f.window->Action(CmdOrganize));
  QVERIFY(f.window->StatusTextOf(4) != summary);
  file->hide();
  QCOMPARE(f.window->StatusTextOf(4), summary);
  // A command given by its key while a help line shows ends it too (the
  // help of "About" while the twins dialog is open).
  emit misc->hovered(f.window->Action(CmdAbout));
  ModalScript script;
  QString duringDialog;
  script.then<QDialog>([&](QDialog* dialog) {
    duringDialog = f.window->StatusTextOf(4);
    dialog->reject();
  });
  script.start();
  f.window->Dispatch(CmdTwins);
  QVERIFY(script.done());
  QCOMPARE(duringDialog, summary);
  // Other texts of part 4 (progress, times) are not help lines: they stay.
  f.window->StatusText(4, QStringLiteral("Search completed"));
  f.window->Dispatch(CmdToggleActualPlay);
  QCOMPARE(f.window->StatusTextOf(4), QStringLiteral("Search completed"));
}

void WindowTextsTest::squareTextFollowsTheBoard() {
  Fixture f;
  f.state->pos.board = BoardFromFen("8/8/8/2Q5/8/8/8/k6K");
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  BoardWidget* board = f.window->board();
  board->PointerAt(QPoint(2 * 32 + 5, 3 * 32 + 5));  // c5
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral("  C5 : Q "));
  // The man changes under the pointer: typed, then cleared by an operation.
  board->setFocus();
  QTest::keyClick(board, 'r');
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral("  C5 : r "));
  f.window->Dispatch(CmdEffectFirst + 4);  // shift right: c5 becomes empty
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral("  C5 :   "));
  // A text of another owner in part 1 is not overwritten by the board.
  f.window->StatusText(1, QStringLiteral(" Select : 1 / 3 "));
  f.window->Dispatch(CmdEffectFirst + 2);
  QCOMPARE(f.window->StatusTextOf(1), QStringLiteral(" Select : 1 / 3 "));
}

void WindowTextsTest::fontDialogStartsAtThePaneFont() {
  PaneFont record{};
  record.height = -16;  // 12 points at 96 dots per inch
  record.weight = 700;
  SetFaceName(record, "DejaVu Sans Mono");
  const QFont start = PaneFontFor(record);
  QCOMPARE(start.pointSize(), 12);
  PaneFontDialog dialog(start, QStringLiteral("Font"));
  QCOMPARE(dialog.faceBox()->currentFont().family(), QFontInfo(start).family());
  QCOMPARE(dialog.sizeBox()->currentText(), QStringLiteral("12"));
  QStringList sizes;
  for (int i = 0; i < dialog.sizeBox()->count(); ++i) sizes << dialog.sizeBox()->itemText(i);
  QCOMPARE(sizes, (QStringList{"8", "9", "10", "11", "12", "13", "14"}));
  QVERIFY(dialog.SelectedFont().bold());
  // A size outside the range starts at its nearest end.
  record.height = -40;
  PaneFontDialog large(PaneFontFor(record), QStringLiteral("Font"));
  QCOMPARE(large.sizeBox()->currentText(), QStringLiteral("14"));
  // A face that is not installed starts at the one the panes show instead.
  SetFaceName(record, "No Such Face At All");
  const QFont missing = PaneFontFor(record);
  PaneFontDialog replaced(missing, QStringLiteral("Font"));
  QCOMPARE(replaced.faceBox()->currentFont().family(), QFontInfo(missing).family());

  // The display options hand the dialog the pane font and take its choice.
  OutputSettings output;
  PaneFont font = record;
  font.height = -16;
  SetFaceName(font, "DejaVu Sans");
  DisplayOptionsDialog options(output, font, English, QStringLiteral("Display Options"), nullptr);
  QFont seen;
  options.chooseFont = [&seen](QFont& chosen) {
    seen = chosen;
    chosen = QFont(QStringLiteral("DejaVu Serif"), 9);
    return true;
  };
  C<QPushButton>(&options, DisplayFontButton)->click();
  QCOMPARE(seen.family(), QStringLiteral("DejaVu Sans"));
  QCOMPARE(seen.pointSize(), 12);
  QCOMPARE(FaceName(font), std::string("DejaVu Serif"));
  QCOMPARE(font.height, -12);
}

void WindowTextsTest::authorEntryIsClearedAfterAdd() {
  CurrentProblem problem;
  AuthorAndSourceLists lists;
  InformationDialog dialog(problem, lists, English, "Information");
  auto* entry = C<QComboBox>(&dialog, 110);
  auto* list = C<QListWidget>(&dialog, 111);
  entry->setEditText(QStringLiteral("Tester, Anna"));
  C<QPushButton>(&dialog, 200)->click();
  QCOMPARE(entry->currentText(), QString());
  QTest::keyClicks(entry, QStringLiteral("Composer, Bob"));
  C<QPushButton>(&dialog, 200)->click();
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(0)->text(), QStringLiteral("Tester, Anna"));
  QCOMPARE(list->item(1)->text(), QStringLiteral("Composer, Bob"));
  // OK with the emptied entry adds no empty author.
  dialog.Store(problem);
  QCOMPARE(problem.authors, std::string("Tester, Anna;Composer, Bob"));
}

void WindowTextsTest::dialogsKeepTheirSize() {
  Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
  TwinsDialog twins("", board, English, "Twins");
  twins.show();
  QVERIFY(QTest::qWaitForWindowExposed(&twins));
  const QSize size = twins.size();
  for (int radio : {203, 202, 204, 201, 205, 203}) {  // remove, move, add, diagram, ...
    C<QRadioButton>(&twins, radio)->click();
    QApplication::processEvents();
    QCOMPARE(twins.size(), size);
  }

  BiographicalSelection selection;
  AuthorAndSourceLists lists;
  std::string authors;
  for (int i = 0; i < 300; ++i)
    authors += "Composer " + std::to_string(i) + ", A.;1900;1980;Country of birth;\n";
  lists.authors = ParseAuthorList(authors);
  BiographicalSelectionDialog bio(selection, lists, English,
                                  QStringLiteral("Biographical Selection"));
  bio.show();
  QVERIFY(QTest::qWaitForWindowExposed(&bio));
  const QSize bioSize = bio.size();
  bio.accept();  // applies the selection, the dialog stays open
  QApplication::processEvents();
  QVERIFY(C<QLabel>(&bio, 100)->text().contains(QStringLiteral("300")));
  QCOMPARE(bio.size(), bioSize);
}

void WindowTextsTest::authorListsAreFoundAndTheirStopIsTold() {
  // No list of the default name in the current folder: the shipped lists.
  QVERIFY(!QFile::exists(QStringLiteral("auteurs.txt")));
  Fixture f;
  const AuthorAndSourceLists& shipped = DialogLists(*f.state);
  QVERIFY(shipped.authors.size() >= 50);
  QVERIFY(shipped.sources.size() >= 10);
  QVERIFY(shipped.countries.size() >= 10);
  QVERIFY(f.state->dialogListsProblem.empty());

  // A user's list whose second line lacks its final ";": the user is told
  // which line and why when a dialog that offers the authors opens.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("mine.txt"));
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Tester, Anna;1900;1980;France;\r\nComposer, Bob;1910;1990;Italy\r\n");
  }
  f.state->authorListFile = path.toStdString();
  ModalScript script;
  script.then<QDialog>([](QDialog* dialog) { dialog->reject(); });
  script.start();
  f.window->Dispatch(CmdInformation);
  QVERIFY(script.done());
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY2(f.log.messages[0].contains(QStringLiteral("line 2")), qPrintable(f.log.messages[0]));
  QVERIFY(f.log.messages[0].contains(QStringLiteral("Composer, Bob;1910;1990;Italy")));
  QCOMPARE(f.state->dialogLists.authors.size(), std::size_t(1));
  // Told once, not at every dialog.
  ModalScript again;
  again.then<QDialog>([](QDialog* dialog) { dialog->reject(); });
  again.start();
  f.window->Dispatch(CmdInformation);
  QVERIFY(again.done());
  QCOMPARE(f.log.messages.size(), 1);
}

void WindowTextsTest::duplicateScanShowsProgressAndSummary() {
  QTemporaryDir dir;
  const std::string a = MakeCollection(dir, {"k7/8/8/8/8/8/8/K7", "4k3/8/8/8/8/8/8/4K3"}, "a.kvl");
  const std::string b = MakeCollection(
      dir, {"8/8/8/8/8/8/8/R3K2k", "k7/8/8/8/8/8/8/K7", "k7/8/8/8/8/8/8/K7"}, "b.kvl");
  Fixture f;
  f.state->collection.currentFileName = a;
  f.window->Dispatch(CmdStartFile);
  QVERIFY(f.state->fileOpen);
  f.window->show();

  // The progress window's Stop ends the scan before its first record.
  QString summary;
  QTimer::singleShot(0, f.window.get(), [&] {
    auto* progress = f.window->findChild<QProgressDialog*>(QStringLiteral("duplicateProgress"));
    if (progress != nullptr) progress->cancel();
  });
  QCOMPARE(DuplicateScanCommand(
               *f.window, {a, b}, [](const FileResult&) {},
               [&summary](const QString& text) { summary = text; }),
           0);
  QVERIFY2(summary.startsWith(QStringLiteral("Stopped after 0 of 2 problems.")),
           qPrintable(summary));
  QVERIFY(f.state->problem.solutionText.empty());

  // A whole scan: the copies, the files they are in, and where the list went.
  QCOMPARE(DuplicateScanCommand(
               *f.window, {a, b}, [](const FileResult&) {},
               [&summary](const QString& text) { summary = text; }),
           1);
  QVERIFY2(summary.contains(
               QStringLiteral("2 copies found for 1 problem (2 problems scanned), in b.kvl.")),
           qPrintable(summary));
  QVERIFY(summary.contains(QStringLiteral("appended to the stored solution text of n\u00B0 1.")));
  QVERIFY(!summary.contains(QStringLiteral("Stopped")));
  // Ctrl+D itself ends with the summary in a box (here with no other
  // collection to read: the start-up folder is not known).
  f.log.messages.clear();
  f.state->startDirectory.clear();
  f.window->Dispatch(CmdDuplicates);
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY2(f.log.messages[0].startsWith(QStringLiteral("No new copy found (2 problems scanned)")),
           qPrintable(f.log.messages[0]));
}

void WindowTextsTest::searchesNameWhatTheyCouldNotRead() {
  // A walk of a whole disk may meet many closed folders: the first few are
  // named, the rest counted.
  SearchOutcome search;
  search.found = 3;
  for (int n = 1; n <= 7; ++n) search.unreadFolders.push_back({"/f" + std::to_string(n), "denied"});
  search.unreadFiles.push_back({"/lib/b\xE9.kvl", Fail(FileStatus::Damaged, "short")});
  QCOMPARE(SearchStatusText(search),
           QStringLiteral(" 3 problem(s) found; not read: 7 folder(s) (/f1, /f2, /f3, /f4, /f5 "
                          "and 2 more), 1 file(s) (/lib/b\u00E9.kvl)"));

  DuplicateScanOutcome scan;
  scan.scanned = 2;
  const QString summary = DuplicateScanSummary(scan, 2, {{"/root", "Permission denied"}});
  QVERIFY2(summary.endsWith(
               QStringLiteral("\nFolders not read (their collections were not looked at): /root.")),
           qPrintable(summary));
  QVERIFY(!DuplicateScanSummary(scan, 2).contains(QStringLiteral("not read")));
}

void WindowTextsTest::printSetupShowsTheMarginsOfTheOptions() {
  OutputSettings output;
  output[OutputMarginLeft] = 10;
  output[OutputMarginRight] = 12;
  output[OutputMarginTop] = 14;
  output[OutputMarginBottom] = 16;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QMarginsF border = printer.pageLayout().margins(QPageLayout::Millimeter);
  print::PrintOptionsDialog options(output, printer);
  options.show();
  QMarginsF shown;
  ModalScript script;
  script.then<QDialog>([&](QDialog* setup) {
    QCOMPARE(setup->objectName(), QStringLiteral("pageSetup"));
    shown = printer.pageLayout().margins(QPageLayout::Millimeter);
    // The user sets the left margin to 25 mm in the page setup.
    auto* left = setup->findChild<QDoubleSpinBox*>(QStringLiteral("leftMargin"));
    QVERIFY(left != nullptr);
    left->setValue(25);
    setup->accept();
  });
  script.start();
  options.findChild<QPushButton*>(QStringLiteral("131"))->click();
  QVERIFY(script.done());
  QCOMPARE(shown, QMarginsF(10, 14, 12, 16));
  // The margin comes back to the options; the printer keeps its own border.
  QCOMPARE(options.Settings()[OutputMarginLeft], 25);
  QCOMPARE(options.Settings()[OutputMarginRight], 12);
  QCOMPARE(printer.pageLayout().margins(QPageLayout::Millimeter), border);
}

void WindowTextsTest::toolbarsWrapInANarrowWindow() {
  QTemporaryDir dir;
  Fixture f;
  f.state->collection.currentFileName = MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R"});
  f.window->Dispatch(CmdStartFile);
  f.window->Dispatch(CmdSpecialEffects);
  f.window->resize(1000, 500);
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  ToolBandArea* bands = f.window->toolBands();
  const QList<QToolButton*> buttons = bands->findChildren<QToolButton*>();
  QCOMPARE(buttons.size(), 4 + 11 + 7);
  int previousHeight = 0;
  for (int width : {1000, 520, 330, 200}) {
    f.window->resize(width, 500);
    QApplication::processEvents();
    const QRect area = bands->rect();
    // Every button is shown whole inside the bands; none is left out.
    for (QToolButton* button : buttons) {
      QVERIFY2(button->isVisible(), qPrintable(button->objectName()));
      const QRect inBands(button->mapTo(bands, QPoint(0, 0)), button->size());
      QVERIFY2(area.contains(inBands),
               qPrintable(QStringLiteral("%1 at width %2").arg(button->objectName()).arg(width)));
    }
    // The position box too.
    QVERIFY(f.window->positionBox()->isVisible());
    // Narrower windows take more rows.
    QVERIFY(bands->height() >= previousHeight);
    previousHeight = bands->height();
  }
  QVERIFY(previousHeight >= 3 * 22);
  // Wide again: one row.
  f.window->resize(1000, 500);
  QApplication::processEvents();
  QCOMPARE(f.window->navigationBar()->y(), f.window->effectsBar()->y());
  QVERIFY(bands->height() < 40);
}

void WindowTextsTest::toolbarIconsAreDrawnAtEveryScale() {
  QSet<QByteArray> seen;
  int drawn = 0;
  for (int command : CommandsWithIcons()) {
    const QIcon icon = CommandIcon(command);
    QVERIFY2(!icon.isNull(), qPrintable(QString::number(command)));
    for (qreal scale : {1.0, 2.0}) {
      const QPixmap pixmap = icon.pixmap(QSize(16, 16), scale);
      // Drawn at the screen's own density, not a small image scaled up.
      QCOMPARE(pixmap.size(), QSize(16, 16) * scale);
      QCOMPARE(pixmap.devicePixelRatio(), scale);
      const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
      int inked = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
      QVERIFY2(inked > image.width() * image.height() / 10, qPrintable(CommandIconName(command)));
      if (scale == 1.0) {
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes()));
        QVERIFY2(!seen.contains(bytes), qPrintable(CommandIconName(command)));  // no two alike
        seen.insert(bytes);
      }
      ++drawn;
    }
  }
  QCOMPARE(drawn, 44);
  // Every toolbar button carries its icon and a tip, in every language.
  Fixture f;
  for (int language = CmdLanguageFirst; language < CmdLanguageOther; ++language) {
    f.window->Dispatch(language);
    for (QToolButton* button : f.window->toolBands()->findChildren<QToolButton*>()) {
      QVERIFY(!button->icon().isNull());
      QVERIFY2(!button->toolTip().trimmed().isEmpty(), qPrintable(button->objectName()));
    }
  }
  f.window->Dispatch(CmdLanguageFirst + 1);
  QCOMPARE(f.window->Action(CmdSearchPositions)->toolTip(),
           MessageQ(f.state->language, CmdSearchPositions - 100));
}

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
