// The single-instance hand-over between two runs of the program: a second
// run with a file hands it to the running one and ends with 0; one without
// a file starts normally; the socket takes nothing but the request.
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "config/ini_location.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

class InstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void secondRunWithAFileHandsItOverAndEnds();
  void secondRunWithoutAFileStartsNormally();
  void nobodyListeningMeansNoHandOver();
  void serverIgnoresAnythingButTheRequest();
  void serverTakesOverALeftSocketButNotALiveOne();
  void namesAndPaths();
};

namespace {

// Runs the program with arguments and the given configuration file; waits
// (keeping this process's event loop going) until it ends.
struct Run {
  QTemporaryDir dataHome;  // where the run puts its desktop files
  QProcess process;
  Run(const QString& ini, const QStringList& arguments, const QString& screenshot = {},
      const QString& folder = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTROVALE_INI"), ini);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    if (!screenshot.isEmpty()) env.insert(QStringLiteral("KESTROVALE_SCREENSHOT"), screenshot);
    process.setProcessEnvironment(env);
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(QStringLiteral(KESTROVALE_PROGRAM), arguments);
  }
  bool Ended(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs) QTest::qWait(20);
    return process.state() == QProcess::NotRunning;
  }
};

}  // namespace

void InstanceTest::secondRunWithAFileHandsItOverAndEnds() {
  const std::string ini = IniFilePath();  // KESTROVALE_INI of this test
  QFile::remove(QString::fromStdString(ini));
  QTemporaryDir dir;
  const std::string kvl = MakeCollection(dir, {"k7/8/1K6/8/8/8/8/7R", "k7/8/8/8/8/8/8/K6Q"});
  Fixture f;
  int handOvers = 0;
  InstanceServer server([&] {
    ++handOvers;
    f.window->Dispatch(CmdHandOver);
  });
  QVERIFY2(server.Listen(InstanceServerName(ini)), qPrintable(server.errorString()));

  // The second run is given a path relative to its own folder.
  Run second(QString::fromStdString(ini), {QStringLiteral("test.kvl")}, {}, dir.path());
  QVERIFY(second.Ended(30000));
  QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.process.exitCode(), 0);
  QTRY_COMPARE(handOvers, 1);
  QVERIFY(f.state->fileOpen);
  QCOMPARE(f.state->collection.currentFileName, kvl);
  QCOMPARE(f.state->collection.lastIndex, 1);
  QFile::remove(QString::fromStdString(ini));
}

void InstanceTest::secondRunWithoutAFileStartsNormally() {
  const std::string ini = IniFilePath();
  QTemporaryDir dir;
  int handOvers = 0;
  InstanceServer server([&] { ++handOvers; });
  QVERIFY(server.Listen(InstanceServerName(ini)));
  // The screenshot run shows its window and saves it: proof that it started.
  const QString image = dir.filePath(QStringLiteral("window.png"));
  Run second(QString::fromStdString(ini), {}, image);
  QVERIFY(second.Ended(30000));
  QCOMPARE(second.process.exitCode(), 0);
  QVERIFY(QFile::exists(image));
  QTest::qWait(50);
  QCOMPARE(handOvers, 0);
  QFile::remove(QString::fromStdString(ini));
}

void InstanceTest::nobodyListeningMeansNoHandOver() {
  QTemporaryDir dir;
  const QString name = InstanceServerName(dir.filePath("nobody.ini").toStdString());
  QVERIFY(!HandOverToRunningInstance(name, 1000));
}

void InstanceTest::serverIgnoresAnythingButTheRequest() {
  QTemporaryDir dir;
  const QString name = InstanceServerName(dir.filePath("garbage.ini").toStdString());
  int handOvers = 0;
  InstanceServer server([&] { ++handOvers; });
  QVERIFY(server.Listen(name));
  for (const QByteArray& bytes :
       {QByteArray("1033\n"), QByteArray("1032 extra\n"), QByteArray(200, 'x')}) {
    QLocalSocket socket;
    socket.connectToServer(name);
    QTRY_COMPARE(socket.state(), QLocalSocket::ConnectedState);
    socket.write(bytes);
    QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(socket.readAll(), QByteArray());
  }
  // A request cut in two still counts once complete.
  QLocalSocket socket;
  socket.connectToServer(name);
  QTRY_COMPARE(socket.state(), QLocalSocket::ConnectedState);
  socket.write("10");
  socket.flush();
  QTest::qWait(50);
  socket.write("32\n");
  QByteArray answer;
  QTRY_COMPARE(answer += socket.readAll(), QByteArray("ok\n"));
  QTRY_COMPARE(handOvers, 1);
}

void InstanceTest::serverTakesOverALeftSocketButNotALiveOne() {
  QTemporaryDir dir;
  const QString name = InstanceServerName(dir.filePath("left.ini").toStdString());
  {
    // What a killed program leaves: the socket's file, nobody behind it.
    QLocalServer dead;
    QVERIFY(dead.listen(name));
    const QString file = dead.fullServerName();
    dead.close();
    QFile placeholder(file);
    QVERIFY(placeholder.open(QIODevice::WriteOnly));
  }
  InstanceServer first([] {});
  QVERIFY2(first.Listen(name), qPrintable(first.errorString()));
  InstanceServer second([] {});
  QVERIFY(!second.Listen(name));
}

void InstanceTest::namesAndPaths() {
  // One name per configuration file, the same for the same file.
  QCOMPARE(InstanceServerName("/tmp/a/kestro32.ini"), InstanceServerName("/tmp/a/kestro32.ini"));
  QVERIFY(InstanceServerName("/tmp/a/kestro32.ini") != InstanceServerName("/tmp/b/kestro32.ini"));
  QVERIFY(InstanceServerName("x.ini").startsWith(QStringLiteral("kestrovale-")));
  // The running program has a folder of its own: relative paths become absolute.
  QCOMPARE(HandOverFileName(QStringLiteral("/data/p.kvl")), QStringLiteral("/data/p.kvl"));
  QCOMPARE(HandOverFileName(QStringLiteral("p.kvl")), QDir::current().absoluteFilePath("p.kvl"));
  QCOMPARE(HandOverFileName(QString()), QString());
}

QTEST_MAIN(InstanceTest)
#include "instance_test.moc"
