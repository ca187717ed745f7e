// The texts around the board: information pane, twins box, status parts,
// and the solution pane's conversion and search.
#include <QPlainTextEdit>
#include <QtTest>

#include "app/commands.h"
#include "app/information.h"
#include "app_fixture.h"
#include "solver/twins.h"
#include "strings/encoding.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

class InformationTest : public QObject {
  Q_OBJECT
 private slots:
  void twoBlanksBreakTheLine();
  void extraStringsAreLabelled();
  void threeTwinsShowTwoLines();
  void problemTypeInTheStatusBar();
  void fileSummary();
  void figurinesAreShownAndReadBack();
  void solutionPaneIsCutAt50000Characters();
  void findStepsAndOffersToRestart();
};

void InformationTest::twoBlanksBreakTheLine() {
  Language english;
  CurrentProblem p;
  p.authors = "Loyd, Samuel";
  p.source = "Le Sphinx";
  p.comment = "first line  second line";
  const std::string text = InformationText(p, english);
  QCOMPARE(text, std::string("Samuel Loyd\r\nLe Sphinx\r\nfirst line\r\nsecond line\r\n"));
}

void InformationTest::extraStringsAreLabelled() {
  Language english;
  CurrentProblem p;
  p.extraStrings[ExtraDedication] = "A. Friend";
  p.extraStrings[ExtraVersionAuthor] = "B. Other";
  QCOMPARE(InformationText(p, english), std::string("Dedicated to A. Friend\r\n(V) B. Other\r\n"));
}

void InformationTest::threeTwinsShowTwoLines() {
  Language english;
  CurrentProblem p;
  TwinEntry entries[3];
  for (int i = 0; i < 3; ++i) {
    entries[i].kind = TwinRemove;
    entries[i].square1 = i;  // a8, b8, c8
  }
  p.twins = BuildTwinsField(false, entries, 3);
  Board board{};
  board[22] = WhiteRook;
  board[23] = WhiteQueen;
  board[24] = WhiteBishop;
  int lines = 0;
  const std::string text = TwinsBoxText(p, board, english, lines);
  QCOMPARE(lines, 2);
  QVERIFY2(text.rfind("a) ", 0) == 0, text.c_str());
  QVERIFY2(text.find("\r\nb) ") != std::string::npos, text.c_str());
  QVERIFY2(text.size() > 7 && text.compare(text.size() - 7, 7, " c) ...") == 0, text.c_str());
  // No twins: an empty box.
  p.twins.clear();
  QCOMPARE(TwinsBoxText(p, board, english, lines), std::string());
  QCOMPARE(lines, 0);
}

void InformationTest::problemTypeInTheStatusBar() {
  Language english;
  SolveOptions options;
  options[Option::SetPlay] = 1;
  options[Option::TryRefutations] = 1;
  options[Option::ActualPlay] = 1;
  ProblemType type;
  QCOMPARE(ProblemTypeStatusText(options, type, english), std::string(" [STA] Direct"));
  options[Option::SetPlay] = 0;
  options[Option::TryRefutations] = 0;
  type.kind = KindHelp;
  type.flags = FlagSeries;
  QCOMPARE(ProblemTypeStatusText(options, type, english), std::string(" [  A] Helpmate serie"));
}

void InformationTest::fileSummary() {
  Language english;
  QCOMPARE(FileSummaryText("x.kvl", 2, 11, english),
           std::string(" x.kvl - Position n\xB0:3 / 12 "));
  Language french;
  french.base = LanguageFrench;
  QCOMPARE(FileSummaryText("x.kvl", 0, 0, french), std::string(" x.kvl - Position n\xB0"
                                                               "1 / 1 "));
}

void InformationTest::figurinesAreShownAndReadBack() {
  Fixture f;
  f.state->output[OutputFigurineNotation] = 1;
  const std::string text =
      "1.\xC1"
      "d1-d7 !\r\n";
  f.window->SetSolutionPaneText(text);
  QCOMPARE(f.window->solutionPane()->toPlainText(), QString::fromUtf8("1.\u2655d1-d7 !\n"));
  QCOMPARE(f.window->SolutionPaneText(), text);
  // Without figurine notation the byte is the accented capital it is.
  f.state->output[OutputFigurineNotation] = 0;
  f.window->SetSolutionPaneText(text);
  QCOMPARE(f.window->solutionPane()->toPlainText(), QString::fromUtf8("1.\u00C1d1-d7 !\n"));
}

void InformationTest::solutionPaneIsCutAt50000Characters() {
  Fixture f;
  f.window->SetSolutionPaneText(std::string(60000, 'x'));
  QCOMPARE(f.window->solutionPane()->toPlainText().size(), 50000);
}

void InformationTest::findStepsAndOffersToRestart() {
  Fixture f;
  MainWindow& w = *f.window;
  w.SetSolutionPaneText("Qd7 threat\r\nQd7 mate\r\n");
  QVERIFY(w.FindInSolution("Qd7"));
  QCOMPARE(w.solutionPane()->textCursor().selectionStart(), 0);
  QVERIFY(w.FindInSolution("Qd7"));
  QCOMPARE(w.solutionPane()->textCursor().selectionStart(), 11);
  // At the end: No stops, Yes restarts at the top.
  f.log.answers = {IdNo};
  QVERIFY(!w.FindInSolution("Qd7"));
  QCOMPARE(f.log.messages.last(), QStringLiteral("'Qd7' is not found. Restart from beginning ?"));
  f.log.answers = {IdYes};
  QVERIFY(w.FindInSolution("Qd7"));
  QCOMPARE(w.solutionPane()->textCursor().selectionStart(), 0);
  // The search is case-sensitive.
  f.log.answers = {IdYes, IdNo};
  QVERIFY(!w.FindInSolution("qd7"));
  // Ctrl+F with a remembered text finds the next one directly.
  f.state->findText = "mate";
  w.Dispatch(CmdFindNext);
  QCOMPARE(w.solutionPane()->textCursor().selectedText(), QStringLiteral("mate"));
  QVERIFY(f.log.unhandled.isEmpty());
}

QTEST_MAIN(InformationTest)
#include "information_test.moc"
