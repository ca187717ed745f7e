// Start-up and shut-down: a first run without a configuration file, and a
// later run that resumes where the last one stopped.
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QtTest>

#include "app/board_editing.h"
#include "app/commands.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "config/ini_file.h"
#include "config/ini_location.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void firstRunStartsEmpty();
  void laterRunResumes();
  void cancelOnQuitWritesNothing();
  void settingsRoundTrip();
  void handOverOpensTheFileNamedInTheIni();
};

void StartupTest::firstRunStartsEmpty() {
  QTemporaryDir dir;
  const std::string ini = dir.filePath("kestro32.ini").toStdString();
  PromptLog log;
  Session session(ini, RecordingPrompts(log));
  session.Start(QString());
  QCOMPARE(session.rect(), (WindowRect{-4, -4, 644, 484}));
  QCOMPARE(session.window().frameGeometry().size(), QSize(648, 488));
  QVERIFY(!session.state().fileOpen);
  QCOMPARE(session.state().pos.board, EmptyBoard());
  QCOMPARE(session.state().language.base, LanguageEnglish);
  QCOMPARE(session.window().menuBar()->actions()[0]->text(), QStringLiteral("&File"));
  QVERIFY(session.readMessage().empty());
  QVERIFY(log.messages.isEmpty());
}

void StartupTest::laterRunResumes() {
  QTemporaryDir dir;
  const std::string ini = dir.filePath("kestro32.ini").toStdString();
  const std::string kvl =
      MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R", "k7/8/8/8/8/8/8/K6Q", "k7/8/8/8/8/8/8/K5BB"});
  {
    PromptLog log;
    Session session(ini, RecordingPrompts(log));
    session.Start(QString::fromStdString(kvl));
    QVERIFY(session.state().fileOpen);
    session.window().Dispatch(CmdLast);
    session.window().Dispatch(CmdLanguageFirst);  // French
    session.state().options[Option::SetPlay] = 0;
    QVERIFY(session.window().close());
    std::string message;
    QVERIFY2(session.Finish(&message), message.c_str());
  }
  IniDocument document;
  QCOMPARE(ReadIniFile(ini, document), IniReadResult::Ok);
  const std::string file0 = GetProfileString(document, "Kestrovale", "File0", "", 260);
  QVERIFY2(file0 == kvl +
                        " n\xB0"
                        "3",
           file0.c_str());

  PromptLog log;
  Session session(ini, RecordingPrompts(log));
  session.Start(QString());
  QVERIFY(session.state().fileOpen);
  QCOMPARE(session.state().collection.currentIndex, 2);
  QCOMPARE(session.window().positionBox()->text(), QStringLiteral("3 "));
  QCOMPARE(session.state().language.base, LanguageFrench);
  QCOMPARE(session.state().options[Option::SetPlay], 0);
  QCOMPARE(session.state().pos.board[SquareAt(6, 7)], WhiteBishop);
  QVERIFY(log.messages.isEmpty());
}

void StartupTest::cancelOnQuitWritesNothing() {
  QTemporaryDir dir;
  const std::string ini = dir.filePath("kestro32.ini").toStdString();
  PromptLog log;
  Session session(ini, RecordingPrompts(log));
  session.Start(QString());
  session.state().pos.board[SquareAt(0, 0)] = WhiteKing;
  log.answers = {IdCancel};
  session.window().Dispatch(CmdQuit);
  QVERIFY(session.window().isVisible());
  std::string message;
  QVERIFY(session.Finish(&message));
  QVERIFY(!QFile::exists(QString::fromStdString(ini)));
}

void StartupTest::settingsRoundTrip() {
  AppState state;
  state.pos.board[SquareAt(4, 7)] = WhiteKing;
  state.problem.type.moves = 3;
  state.problem.type.kind = KindSelf;
  state.problem.authors = "Loyd, Samuel";
  state.output[OutputFigurineNotation] = 1;
  AppState back;
  ApplySettings(CollectSettings(state), back);
  QCOMPARE(back.pos.board, state.pos.board);
  QCOMPARE(back.problem.type.moves, 3);
  QCOMPARE(back.problem.type.kind, KindSelf);
  QCOMPARE(back.problem.authors, state.problem.authors);
  QCOMPARE(back.output[OutputFigurineNotation], 1);
  // The restored position counts as unchanged.
  QVERIFY(!IsProblemModified(back.problem, back.pos.board));
}

// Command 1032: the running instance opens the file a second one wrote to
// "FileCmd" of the configuration file (KESTROVALE_INI of this test).
void StartupTest::handOverOpensTheFileNamedInTheIni() {
  QTemporaryDir dir;
  const std::string kvl = MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R", "k7/8/8/8/8/8/8/K6Q"});
  const std::string ini = IniFilePath();
  QVERIFY(UpdateIniFile(ini, [&](IniDocument& d) { SaveFileCmd(d, kvl); }));
  Fixture f;
  f.state->pos.board[SquareAt(0, 0)] = WhiteKing;
  f.log.answers = {IdCancel};
  f.window->Dispatch(CmdHandOver);
  QVERIFY(!f.state->fileOpen);  // Cancel keeps the problem shown
  f.log.answers = {IdNo};
  f.window->Dispatch(CmdHandOver);
  QVERIFY(f.state->fileOpen);
  QCOMPARE(f.state->collection.currentFileName, kvl);
  QCOMPARE(f.state->collection.lastIndex, 1);
  QFile::remove(QString::fromStdString(ini));
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
