// Printing from the window: the document each print command makes, the
// preview and the print options opened from the commands, and what their
// results lead to.
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "app/commands.h"
#include "app/print_commands.h"
#include "app_fixture.h"
#include "collections/problem_file.h"
#include "modal_script.h"
#include "print/print_options_dialog.h"
#include "print/print_preview_dialog.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const QString SampleFile = QStringLiteral(KESTROVALE_SOURCE_DIR "/resources/samples/sample.kvl");

QString SampleCopy(const QTemporaryDir& dir) {
  QString copy = dir.filePath("sample.kvl");
  QFile::copy(SampleFile, copy);
  QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
  return copy;
}

int RecordCount(const QString& file) {
  std::vector<print::PrintedProblem> problems;
  if (!print::LoadSheetProblems(file.toStdString(), {}, problems)) return -1;
  return static_cast<int>(problems.size());
}

}  // namespace

class PrintCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void documentsOfEachKind();
  void previewOpensOnTheSampleAndCloses();
  void previewHandsOverToThePrintOptions();
  void printOptionsOkKeepsAndCancelDrops();
  void optionsPreviewButtonOpensThatKind();
  void printReportAsksForThePrinter();
};

void PrintCommandsTest::documentsOfEachKind() {
  QTemporaryDir dir;
  AppState state;
  state.pos.board = BoardFromFen("k7/8/8/8/8/8/8/K7");
  state.output[OutputDiagramColumns] = 2;
  // Without a file, a sheet holds the board shown, without a number.
  print::PrintDocument document;
  QVERIFY(MakePrintDocument(state, print::DocumentKind::DiagramSheet, "", {}, document));
  QCOMPARE(document.problems.size(), std::size_t{1});
  QCOMPARE(document.problems[0].number, 0);
  QCOMPARE(document.settings[OutputDiagramColumns], 2);

  // With a file: every problem of it, numbered from 1.
  const std::string first =
      MakeCollection(dir, {"k7/8/8/8/8/8/8/K7", "8/8/8/8/8/8/8/KQk5", "8/8/8/8/8/8/8/KRk5"});
  state.fileOpen = true;
  state.collection.currentFileName = first;
  QVERIFY(MakePrintDocument(state, print::DocumentKind::DiagramSheet, "", {}, document));
  QCOMPARE(document.problems.size(), std::size_t{3});
  QCOMPARE(document.problems[2].number, 3);

  // A selection of the problem list: its entries in list order, across files.
  const std::string second = MakeCollection(dir, {"8/8/8/8/8/8/8/KBk5"}, "second.kvl");
  AddListEntry(state.problemList, first, 3);
  AddListEntry(state.problemList, second, 1);
  AddListEntry(state.problemList, first, 1);
  const std::vector<ProblemListEntry> selection = {state.problemList.entries[0],
                                                   state.problemList.entries[1]};
  QVERIFY(MakePrintDocument(state, print::DocumentKind::DiagramSheet, "", selection, document));
  QCOMPARE(document.problems.size(), std::size_t{2});
  QCOMPARE(document.problems[0].number, 3);
  QVERIFY(document.problems[1].board == BoardFromFen("8/8/8/8/8/8/8/KBk5"));

  // A report: the problem shown and the pane's text, whatever the file holds.
  QVERIFY(MakePrintDocument(state, print::DocumentKind::Report, "1.Qb7#\r\n", {}, document));
  QCOMPARE(document.problems.size(), std::size_t{1});
  QCOMPARE(document.paneText, std::string("1.Qb7#\r\n"));
  QVERIFY(document.problems[0].board == state.pos.board);

  // A file that went away is reported, and nothing is left to print.
  state.collection.currentFileName = dir.filePath("gone.kvl").toStdString();
  QVERIFY(!MakePrintDocument(state, print::DocumentKind::DiagramSheet, "", {}, document));
  QVERIFY(document.problems.empty());
}

void PrintCommandsTest::previewOpensOnTheSampleAndCloses() {
  QTemporaryDir dir;
  Fixture f;
  f.log.openName = SampleCopy(dir);
  const int problems = RecordCount(f.log.openName);
  QVERIFY(problems >= 30);
  f.window->Dispatch(CmdOpen);
  QVERIFY(f.state->fileOpen);
  f.window->show();

  int pages = 0;
  QString printText;
  ModalScript script;
  script.then<print::PrintPreviewDialog>([&](print::PrintPreviewDialog* preview) {
    pages = preview->pageCount();
    printText = preview->findChild<QPushButton*>("1005")->text();
    QTest::mouseClick(preview->findChild<QPushButton*>("2"), Qt::LeftButton);
  });
  script.start();
  f.window->Dispatch(CmdPreviewDiagrams);
  QVERIFY(script.done());
  // The default sheet has 3 x 3 diagrams per page.
  QCOMPARE(pages, (problems + 8) / 9);
  QCOMPARE(printText, QStringLiteral("&Print"));  // translated on opening
  QVERIFY(f.log.messages.isEmpty());

  // The preview button keeps the kind chosen last; a report of the problem
  // shown has its own page count.
  int reportPages = 0;
  ModalScript again;
  again.then<print::PrintPreviewDialog>([&](print::PrintPreviewDialog* preview) {
    reportPages = preview->pageCount();
    preview->reject();
  });
  again.start();
  f.window->Dispatch(CmdPreviewReport);
  QVERIFY(again.done());
  QCOMPARE(reportPages, 1);
  QVERIFY(f.window->isEnabled());
}

void PrintCommandsTest::previewHandsOverToThePrintOptions() {
  Fixture f;
  f.window->show();
  bool optionsOpened = false;
  ModalScript script;
  script
      .then<print::PrintPreviewDialog>([](print::PrintPreviewDialog* preview) {
        QTest::mouseClick(preview->findChild<QPushButton*>("1001"), Qt::LeftButton);
      })
      .then<print::PrintOptionsDialog>([&](print::PrintOptionsDialog* options) {
        optionsOpened = true;
        options->reject();
      });
  script.start();
  f.window->Dispatch(CmdPreview);
  QVERIFY(script.done());
  QVERIFY(optionsOpened);
}

void PrintCommandsTest::printOptionsOkKeepsAndCancelDrops() {
  Fixture f;
  f.window->show();
  AppState& state = *f.state;
  const OutputSettings before = state.output;
  QString title, firstTab, columnsLabel, okText;
  int page = -1;
  ModalScript script;
  script.then<print::PrintOptionsDialog>([&](print::PrintOptionsDialog* options) {
    title = options->windowTitle();
    auto* tabs = options->findChild<QTabWidget*>();
    firstTab = tabs->tabText(0);
    page = tabs->currentIndex();
    columnsLabel = options->findChild<QLabel*>("99")->text();
    okText = options->findChild<QPushButton*>("1")->text();
    options->findChild<QSpinBox*>("113")->setValue(5);
    options->findChild<QSpinBox*>("111")->setValue(2);
    options->accept();
  });
  script.start();
  f.window->Dispatch(CmdPrintOptions);
  QVERIFY(script.done());
  QCOMPARE(firstTab, QStringLiteral("Diagrams"));
  QCOMPARE(columnsLabel, QStringLiteral("&Columns:"));
  QCOMPARE(okText, QStringLiteral("OK"));
  QVERIFY(title.startsWith(QStringLiteral("Print Options")));
  QCOMPARE(page, 0);  // the diagram kind is the one used last
  QCOMPARE(state.output[OutputDiagramColumns], 5);
  QCOMPARE(state.output[OutputReportColumns], 2);
  QCOMPARE(state.output[OutputMarginLeft], before[OutputMarginLeft]);

  // Cancel leaves the settings as they were; the sheet opens at the report
  // page once a report was the last kind, and speaks French in French.
  f.window->Dispatch(CmdLanguageFirst);  // Français
  ModalScript closePreview;
  closePreview.then<print::PrintPreviewDialog>(
      [](print::PrintPreviewDialog* preview) { preview->reject(); });
  closePreview.start();
  f.window->Dispatch(CmdPreviewReport);
  QVERIFY(closePreview.done());
  ModalScript report;
  report.then<print::PrintOptionsDialog>([&](print::PrintOptionsDialog* options) {
    page = options->findChild<QTabWidget*>()->currentIndex();
    columnsLabel = options->findChild<QLabel*>("99")->text();
    options->findChild<QSpinBox*>("113")->setValue(1);
    options->reject();
  });
  report.start();
  f.window->Dispatch(CmdPrintOptions);
  QVERIFY(report.done());
  QCOMPARE(page, 1);
  QCOMPARE(columnsLabel, QStringLiteral("&Colonnes :"));
  QCOMPARE(state.output[OutputDiagramColumns], 5);
}

void PrintCommandsTest::optionsPreviewButtonOpensThatKind() {
  Fixture f;
  f.window->show();
  int previews = 0;
  ModalScript script;
  script
      .then<print::PrintOptionsDialog>([](print::PrintOptionsDialog* options) {
        options->findChild<QSpinBox*>("111")->setValue(3);
        // The report page's preview button.
        for (QPushButton* button : options->findChildren<QPushButton*>("130")) {
          if (button->parentWidget() == options->findChild<QTabWidget*>()->widget(1))
            QTest::mouseClick(button, Qt::LeftButton);
        }
      })
      .then<print::PrintPreviewDialog>([&](print::PrintPreviewDialog* preview) {
        ++previews;
        preview->reject();
      });
  script.start();
  f.window->Dispatch(CmdPrintOptions);
  QVERIFY(script.done());
  QCOMPARE(previews, 1);
  // The button applies the pages before the preview opens.
  QCOMPARE(f.state->output[OutputReportColumns], 3);
}

void PrintCommandsTest::printReportAsksForThePrinter() {
  Fixture f;
  f.window->show();
  bool asked = false;
  ModalScript script;
  script.then<QPrintDialog>([&](QPrintDialog* dialog) {
    asked = true;
    dialog->reject();
  });
  script.start();
  f.window->Dispatch(CmdPrintReport);
  QVERIFY(script.done());
  QVERIFY(asked);
  QVERIFY(f.log.messages.isEmpty());  // cancelling is no failure
}

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
