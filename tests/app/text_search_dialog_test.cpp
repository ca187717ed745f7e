// The text search dialog and the commands that open it from the window.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/commands.h"
#include "app/text_search_dialog.h"
#include "app_fixture.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

class TextSearchDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void proposesTheSelectionWithinTheField();
  void searchFromTheWindow();
};

void TextSearchDialogTest::proposesTheSelectionWithinTheField() {
  TextSearchDialog empty(QString(), Language{});
  QVERIFY(empty.textField()->text().isEmpty());
  TextSearchDialog lines(
      QStringLiteral("1.Qd7!") + QChar::ParagraphSeparator + QStringLiteral("2.Qd8#"), Language{});
  QCOMPARE(lines.textField()->text(), QStringLiteral("1.Qd7!"));
  TextSearchDialog longer(QString(300, QLatin1Char('x')), Language{});
  QCOMPARE(longer.textField()->text().size(), MaxFindTextLength);
  longer.textField()->setText(QStringLiteral("Dé"));
  QCOMPARE(longer.SearchText(), std::string("D\xE9"));
}

void TextSearchDialogTest::searchFromTheWindow() {
  Fixture f;
  MainWindow& w = *f.window;
  w.SetSolutionPaneText("1.Qd7! threat 2.Qd8 mate\r\n1...Ke8 2.Qe7 mate\r\n");
  // Ctrl+F without a remembered text asks for one first; Cancel stops.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TextSearchDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    dialog->reject();
  });
  w.Dispatch(CmdFindNext);
  QVERIFY(f.state->findText.empty());
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TextSearchDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    QTest::keyClicks(dialog->textField(), QStringLiteral("mate"));
    QTest::keyClick(dialog->textField(), Qt::Key_Return);
  });
  w.Dispatch(CmdFindNext);
  QCOMPARE(f.state->findText, std::string("mate"));
  QCOMPARE(w.solutionPane()->textCursor().selectedText(), QStringLiteral("mate"));
  // "Search in the text" proposes the selection.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TextSearchDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->textField()->text(), QStringLiteral("mate"));
    dialog->accept();
  });
  w.Dispatch(CmdFindInText);
  QCOMPARE(w.solutionPane()->textCursor().selectionStart(), 39);
  QVERIFY(f.log.unhandled.isEmpty());
}

QTEST_MAIN(TextSearchDialogTest)
#include "text_search_dialog_test.moc"
