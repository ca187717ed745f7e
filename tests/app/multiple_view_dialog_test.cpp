// The multiple view: its cells and scrolling, the problem OK and a
// double-click open, Cancel, and the problem list's "Viewer" and "Printer"
// actions, which act on the selected entries.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/multiple_view_dialog.h"
#include "app/problem_list_commands.h"
#include "app_fixture.h"
#include "collections/problem_file.h"
#include "solver/board_operations.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

// n direct mates with authors "Author 1" .. "Author n".
std::string Collection(const QTemporaryDir& dir, int n, const std::string& name) {
  std::vector<std::string> fens;
  fens.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    fens.push_back(i % 2 == 0 ? "8/8/8/8/8/8/8/K5Qk" : "8/8/8/8/8/8/8/K4R1k");
  return MakeCollection(dir, fens, name);
}

// Runs `check` on the multiple view once it is open; false when none opened.
bool OnView(const std::function<void(MultipleViewDialog&)>& check,
            const std::function<void()>& open) {
  bool seen = false;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<MultipleViewDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    check(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  timer.start(0);
  open();
  timer.stop();
  return seen;
}

QPoint InCell(int cell) {
  const CellPoint at = CellOrigin(cell);
  return {at.x + 60, at.y + 60};
}

}  // namespace

class MultipleViewTest : public QObject {
  Q_OBJECT
 private slots:
  void cellsAndScrollSteps();
  void currentFileViewShowsEightFromTheCurrentRecord();
  void scrollBarStaysWithinTheRange();
  void okOpensTheTopLeftAndDoubleClickTheCell();
  void cancelAndRefusedSaveChangeNothing();
  void aDamagedProblemIsShownAndOpensWithAWarning();
  void viewerActionShowsTheSelection();
  void printerActionPrintsTheSelection();
  void screenshot();
};

void MultipleViewTest::cellsAndScrollSteps() {
  QCOMPARE(CellOrigin(0).x, 8);
  QCOMPARE(CellOrigin(0).y, 10);
  QCOMPARE(CellOrigin(3).x, 428);
  QCOMPARE(CellOrigin(5).x, 148);
  QCOMPARE(CellOrigin(5).y, 190);
  QCOMPARE(CellAt(8, 10), 0);
  QCOMPARE(CellAt(147, 189), 0);
  QCOMPARE(CellAt(148, 190), 5);
  QCOMPARE(CellAt(567, 369), 7);
  QCOMPARE(CellAt(4, 50), -1);
  QCOMPARE(CellAt(568, 50), -1);
  QCOMPARE(CellAt(50, 370), -1);
  // Lines of 4, pages of 8, within 0 .. count - 1.
  QCOMPARE(ScrollView(5, ViewScroll::LineDown, 12), 9);
  QCOMPARE(ScrollView(9, ViewScroll::LineDown, 12), 11);
  QCOMPARE(ScrollView(3, ViewScroll::LineUp, 12), 0);
  QCOMPARE(ScrollView(10, ViewScroll::PageUp, 12), 2);
  QCOMPARE(ScrollView(2, ViewScroll::PageDown, 12), 10);
  QCOMPARE(ScrollView(6, ViewScroll::Start, 12), 0);
  QCOMPARE(ScrollView(0, ViewScroll::End, 12), 11);
  QCOMPARE(ScrollView(0, ViewScroll::Track, 12, 40), 11);
  QCOMPARE(ScrollView(0, ViewScroll::End, 0), 0);
  QCOMPARE(CellText(3, 1, " Pos.", 6, " #2", "Sam Loyd", "Le Sphinx"),
           std::string("(3/1)   Pos. n\xB0"
                       "6   #2\r\nSam Loyd\r\nLe Sphinx\r\n"));
}

void MultipleViewTest::currentFileViewShowsEightFromTheCurrentRecord() {
  QTemporaryDir dir;
  const std::string path = Collection(dir, 10, "Ten.kvl");
  MultipleViewDialog dialog(CurrentFileView(path, 9, 5), Language{});
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Ten.kvl"));
  QCOMPARE(dialog.area()->first(), 5);
  QCOMPARE(dialog.scrollBar()->maximum(), 9);
  const QString first = FromCp1252(dialog.area()->CellTextOf(0));
  QVERIFY2(first.startsWith(QStringLiteral("(2/1)   Pos. n°6    #2\r\nAuthor 6")),
           qPrintable(first));
  QVERIFY(FromCp1252(dialog.area()->CellTextOf(4)).contains(QStringLiteral("Author 10")));
  // Past the end of the file the cells stay empty.
  QVERIFY(dialog.area()->CellTextOf(5).empty());
  QVERIFY(dialog.area()->CellTextOf(7).empty());
  QCOMPARE(Control<QPushButton>(&dialog, 2)->text(), QStringLiteral("Cancel"));
  int help = 0;
  SetHelpHandler([&help](int context) { help = context; });
  Control<QPushButton>(&dialog, 3)->click();
  SetHelpHandler(nullptr);
  QCOMPARE(help, HelpContextMultipleView);
}

void MultipleViewTest::scrollBarStaysWithinTheRange() {
  QTemporaryDir dir;
  const std::string path = Collection(dir, 14, "Many.kvl");
  MultipleViewDialog dialog(CurrentFileView(path, 13, 2), Language{});
  QSignalSpy status(&dialog, &MultipleViewDialog::statusText);
  dialog.show();
  QScrollBar* bar = dialog.scrollBar();
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(dialog.area()->first(), 10);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(dialog.area()->first(), 13);
  QVERIFY(FromCp1252(dialog.area()->CellTextOf(0)).contains(QStringLiteral("Author 14")));
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  QCOMPARE(dialog.area()->first(), 9);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  QCOMPARE(dialog.area()->first(), 0);
  // The keys of the view scroll the same way.
  QTest::keyClick(dialog.area(), Qt::Key_PageDown);
  QCOMPARE(dialog.area()->first(), 8);
  QTest::keyClick(dialog.area(), Qt::Key_Up);
  QCOMPARE(dialog.area()->first(), 4);
  QTest::keyClick(dialog.area(), Qt::Key_End);
  QCOMPARE(dialog.area()->first(), 13);
  QTest::keyClick(dialog.area(), Qt::Key_Home);
  QCOMPARE(dialog.area()->first(), 0);
  // Dragging the thumb tells the position in the status bar.
  bar->setSliderDown(true);
  bar->setSliderPosition(6);
  QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Pos. 7"));
  bar->setSliderDown(false);
  QCOMPARE(dialog.area()->first(), 6);
}

void MultipleViewTest::okOpensTheTopLeftAndDoubleClickTheCell() {
  QTemporaryDir dir;
  const std::string path = Collection(dir, 12, "Twelve.kvl");
  Fixture f;
  f.state->collection = {path, 1, 11};
  f.state->fileOpen = true;
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  f.window->UpdateCommandStates();
  QVERIFY(OnView(
      [](MultipleViewDialog& view) {
        QCOMPARE(view.area()->first(), 1);
        QTest::keyClick(view.area(), Qt::Key_Down);
        QTest::keyClick(view.area(), Qt::Key_Return);  // Enter is OK
      },
      [&] { f.window->Dispatch(CmdVisualizer); }));
  QCOMPARE(f.state->collection.currentIndex, 5);
  QCOMPARE(f.state->problem.authors, std::string("Author 6"));
  QVERIFY(f.window->informationPane()->toPlainText().contains(QStringLiteral("Author 6")));
  // A click frames a cell; a double-click opens it.
  QVERIFY(OnView(
      [](MultipleViewDialog& view) {
        QCOMPARE(view.area()->first(), 5);
        QTest::mouseClick(view.area(), Qt::LeftButton, {}, InCell(6));
        QCOMPARE(view.area()->framed(), 6);
        QTest::mouseDClick(view.area(), Qt::LeftButton, {}, InCell(6));
      },
      [&] { f.window->Dispatch(CmdVisualizer); }));
  QCOMPARE(f.state->collection.currentIndex, 11);
  QCOMPARE(f.state->problem.authors, std::string("Author 12"));
  QVERIFY(f.log.unhandled.isEmpty());
}

void MultipleViewTest::aDamagedProblemIsShownAndOpensWithAWarning() {
  QTemporaryDir dir;
  const std::string path = Collection(dir, 3, "Three.kvl");
  {
    // Problem 1's authors point past the end of the file.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(6);
    file.write("\xF0\xFF\xFF\xFF", 4);
  }
  // Its cell shows what can be read, as the main window would.
  {
    MultipleViewDialog dialog(CurrentFileView(path, 2, 0), Language{});
    const QString first = FromCp1252(dialog.area()->CellTextOf(0));
    QVERIFY2(first.startsWith(QStringLiteral("(2/1)   Pos. n°1    #2\r\n\r\n")), qPrintable(first));
  }
  // Opened, it is shown with a warning that names what is damaged.
  Fixture f;
  f.state->collection = {path, 1, 2};
  f.state->fileOpen = true;
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  f.window->UpdateCommandStates();
  QVERIFY(OnView(
      [](MultipleViewDialog& view) {
        QTest::keyClick(view.area(), Qt::Key_Up);
        QCOMPARE(view.area()->first(), 0);
        QTest::keyClick(view.area(), Qt::Key_Return);
      },
      [&] { f.window->Dispatch(CmdVisualizer); }));
  QCOMPARE(f.state->collection.currentIndex, 0);
  QVERIFY(f.state->problem.authors.empty());
  QCOMPARE(f.state->pos.board[SquareAt(0, 7)], WhiteKing);  // a1
  QCOMPARE(f.log.messages.size(), 1);
  QVERIFY(f.log.messages[0].contains(QStringLiteral("this problem is damaged")));
  QVERIFY(f.log.messages[0].contains(QStringLiteral("problem 1, authors")));
}

void MultipleViewTest::cancelAndRefusedSaveChangeNothing() {
  QTemporaryDir dir;
  const std::string path = Collection(dir, 12, "Twelve.kvl");
  Fixture f;
  f.state->collection = {path, 3, 11};
  f.state->fileOpen = true;
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  f.window->UpdateCommandStates();
  QVERIFY(OnView(
      [](MultipleViewDialog& view) {
        view.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QTest::keyClick(&view, Qt::Key_Escape);
      },
      [&] { f.window->Dispatch(CmdVisualizer); }));
  QCOMPARE(f.state->collection.currentIndex, 3);
  QCOMPARE(f.state->problem.authors, std::string("Author 4"));
  // An edited board: Cancel in the offer to save keeps it and opens no view.
  f.state->pos.board[SquareAt(0, 0)] = BlackRook;
  f.log.answers = {IdCancel};
  QVERIFY(!OnView([](MultipleViewDialog&) {}, [&] { f.window->Dispatch(CmdVisualizer); }));
  QCOMPARE(f.log.messages.size(), 1);
  QCOMPARE(f.state->pos.board[SquareAt(0, 0)], BlackRook);
  // Without a file there is nothing to view.
  f.state->fileOpen = false;
  f.window->UpdateCommandStates();
  QVERIFY(!OnView([](MultipleViewDialog&) {}, [&] { f.window->Dispatch(CmdVisualizer); }));
}

void MultipleViewTest::viewerActionShowsTheSelection() {
  QTemporaryDir dir;
  const std::string one = Collection(dir, 4, "One.kvl");
  const std::string two = Collection(dir, 3, "Two.kvl");
  Fixture f;
  f.state->collection = {one, 0, 3};
  f.state->fileOpen = true;
  QVERIFY(LoadProblem(f.state->collection, f.state->problem, f.state->pos.board).ok());
  ProblemList& list = f.state->problemList;
  for (int record = 1; record <= 4; ++record) AddListEntry(list, one, record);
  AddListEntry(list, two, 3);
  f.state->problemListCount = list.count();
  list.position = 0;  // the current problem is not among the selected
  QVERIFY(OnView(
      [](MultipleViewDialog& view) {
        QCOMPARE(view.windowTitle(), QStringLiteral("Selection"));
        QCOMPARE(view.source().count, 2);
        QCOMPARE(view.area()->first(), 0);
        const QString first = FromCp1252(view.area()->CellTextOf(0));
        QVERIFY2(first.contains(QStringLiteral("One n°3")), qPrintable(first));
        QVERIFY(FromCp1252(view.area()->CellTextOf(1)).contains(QStringLiteral("Two n°3")));
        QVERIFY(view.area()->CellTextOf(2).empty());
        QTest::mouseDClick(view.area(), Qt::LeftButton, {}, InCell(1));
      },
      [&] {
        RunListAction(*f.window, f.window.get(), ListAction::Viewer, {2, 4});
      }));
  QCOMPARE(f.state->collection.currentFileName, two);
  QCOMPARE(f.state->collection.currentIndex, 2);
  QCOMPARE(f.state->problem.authors, std::string("Author 3"));
  // Nothing selected: no view.
  QVERIFY(!OnView([](MultipleViewDialog&) {},
                  [&] { RunListAction(*f.window, f.window.get(), ListAction::Viewer, {}); }));
}

void MultipleViewTest::printerActionPrintsTheSelection() {
  QTemporaryDir dir;
  const std::string one = Collection(dir, 4, "One.kvl");
  const std::string two = Collection(dir, 3, "Two.kvl");
  AppState state;
  state.collection = {one, 0, 3};
  state.fileOpen = true;
  for (int record = 1; record <= 4; ++record) AddListEntry(state.problemList, one, record);
  AddListEntry(state.problemList, two, 2);
  print::PrintDocument document;
  QVERIFY(SelectionPrintDocument(state, {1, 4}, document).ok());
  QCOMPARE(document.kind, print::DocumentKind::DiagramSheet);
  QCOMPARE(document.problems.size(), 2u);
  QCOMPARE(document.problems[0].problem.authors, std::string("Author 2"));
  QCOMPARE(document.problems[1].problem.authors, std::string("Author 2"));
  QCOMPARE(document.problems[1].board[SquareAt(5, 7)], WhiteRook);
  // Nothing selected prints nothing, not the whole file.
  QVERIFY(SelectionPrintDocument(state, {}, document).ok());
  QVERIFY(document.problems.empty());
}

// With KESTROVALE_SCREENSHOTS naming a folder, the view of the sample
// collection is drawn into it for the documentation.
void MultipleViewTest::screenshot() {
  const QString folder = qEnvironmentVariable("KESTROVALE_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("KESTROVALE_SCREENSHOTS not set");
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("sample.kvl"));
  QVERIFY(QFile::copy(QStringLiteral(KESTROVALE_SOURCE_DIR "/resources/samples/sample.kvl"), copy));
  CollectionReader reader;
  QVERIFY(reader.Open(copy.toStdString()).ok());
  const int lastIndex = reader.lastIndex();
  reader.Close();
  QVERIFY(lastIndex >= 7);
  MultipleViewDialog dialog(CurrentFileView(copy.toStdString(), lastIndex, 0), Language{});
  dialog.show();
  QTest::mouseClick(dialog.area(), Qt::LeftButton, {}, InCell(2));
  QVERIFY(dialog.grab().save(folder + QStringLiteral("/multiple-view.png")));
}

QTEST_MAIN(MultipleViewTest)
#include "multiple_view_dialog_test.moc"
