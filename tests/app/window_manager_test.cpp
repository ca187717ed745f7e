// The window under a real window manager: a virtual X display (Xvfb) with
// openbox, started by this test. A window manager decorates the window, tells
// its frame late and places dialogs itself, which the offscreen platform of
// the other tests never does.
//
// Without Xvfb the test is skipped, and says so; a missing openbox or wmctrl
// (both installed by tools/setup-debian) fails it.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "config/ini_file.h"
#include "strings/custom_language.h"
#include "strings/menu.h"

using namespace kv;
using namespace kv::app;

namespace {

constexpr int SkipCode = 77;  // ctest's SKIP_RETURN_CODE for this test

// The display and the window manager, for the whole run.
struct VirtualDisplay {
  QProcess server;
  QProcess manager;
  QString name;
  ~VirtualDisplay() {
    for (QProcess* p : {&manager, &server}) {
      if (p->state() == QProcess::NotRunning) continue;
      p->terminate();
      if (!p->waitForFinished(3000)) p->kill();
      p->waitForFinished(1000);
    }
  }
};
VirtualDisplay* display = nullptr;

// Runs a short X client (wmctrl) on the display; its standard output.
QString RunOnDisplay(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display->name);
  process.setProcessEnvironment(env);
  process.start(QStringLiteral("wmctrl"), arguments);
  process.waitForFinished(5000);
  return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The program's window line of "wmctrl -lG", empty while it has none.
QString ProgramWindowLine() {
  for (const QString& line : RunOnDisplay({QStringLiteral("-lG")}).split(QLatin1Char('\n')))
    if (line.contains(QStringLiteral("Kestrovale"))) return line;
  return {};
}

std::string WindowPosOf(const QString& ini) {
  IniDocument document;
  if (ReadIniFile(ini.toStdString(), document) != IniReadResult::Ok) return {};
  return GetProfileString(document, "Kestrovale", "WindowPos", "", 64);
}

// Waits until the condition holds, processing events; false after 10 s.
template <class F>
bool WaitFor(F condition) {
  for (int i = 0; i < 500; ++i) {
    if (condition()) return true;
    QTest::qWait(20);
  }
  return condition();
}

}  // namespace

class WindowManagerTest : public QObject {
  Q_OBJECT
 private slots:
  void tenStartsKeepTheRectangle();
  void printItemsInEveryLanguage();
  void messageBoxesOpenOverTheWindow();
};

// The program itself, started and closed through the window manager's
// close request ten times with one ini file: the rectangle it writes is
// the one it read.
void WindowManagerTest::tenStartsKeepTheRectangle() {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("kestro32.ini"));
  const std::string initial = "40,30,700,540";
  {
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[Kestrovale]\r\nWindowPos=") + initial.c_str() + "\r\n");
  }
  int starts = 0;
  for (int run = 0; run < 10; ++run) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display->name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("KESTROVALE_INI"), ini);
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("share")));
    // The X platform's libraries (D-Bus) keep memory to the end of a run;
    // the program's own leaks are the offscreen tests' to find.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KESTROVALE_PROGRAM), QStringList());
    QVERIFY2(program.waitForStarted(10000), "the program did not start");
    // The window is up and the window manager has framed it once its
    // geometry holds still between two looks.
    QString last;
    QVERIFY2(WaitFor([&] {
               const QString line = ProgramWindowLine();
               const bool settled = !line.isEmpty() && line == last;
               last = line;
               QTest::qWait(150);
               return settled;
             }),
             "the program's window did not appear");
    RunOnDisplay({QStringLiteral("-c"), QStringLiteral("Kestrovale")});
    QVERIFY2(program.waitForFinished(15000), "the program did not end on the close request");
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(WindowPosOf(ini), initial);
    ++starts;
  }
  QCOMPARE(starts, 10);
}

// Each language's File menu, opened on screen: the print items keep their
// own texts, and the print button's drop-down names the kinds of print.
void WindowManagerTest::printItemsInEveryLanguage() {
  QTemporaryDir dir;
  Session session(dir.filePath(QStringLiteral("kestro32.ini")).toStdString(),
                  DefaultPrompts(nullptr));
  session.Start(QString());
  MainWindow& window = session.window();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  int languages = 0;
  for (int command = CmdLanguageFirst; command < CmdLanguageOther; ++command) {
    window.Dispatch(command);
    const Language& language = session.state().language;
    const Menu menu = LanguageMenu(language);
    QMenu* file = window.menuBar()->actions().first()->menu();
    file->popup(window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    for (int item : {CmdPrintReport, CmdPrintDiagrams}) {
      const MenuItem* data = FindMenuItem(menu, item);
      QVERIFY(data != nullptr);
      QString expected = FromCp1252(MenuLabel(data->text));
      if (!MenuHint(data->text).empty())
        expected += QLatin1Char('\t') + FromCp1252(MenuHint(data->text));
      QAction* shown = nullptr;
      for (QAction* action : file->actions())
        if (action->data().toInt() == item) shown = action;
      QVERIFY(shown != nullptr);
      QCOMPARE(shown->text(), expected);
    }
    file->hide();
    auto* dropDown = window.findChild<QMenu*>(QStringLiteral("dropDown%1").arg(CmdPrintButton));
    QVERIFY(dropDown != nullptr);
    QCOMPARE(dropDown->actions().at(0)->text(), MessageQ(language, 211));
    QCOMPARE(dropDown->actions().at(1)->text(), MessageQ(language, 212));
    ++languages;
  }
  QCOMPARE(languages, 4);
  window.Dispatch(CmdLanguageFirst + 1);
  QCOMPARE(window.Action(CmdPrintReport)->text(), QStringLiteral("&Print Report...\tShift+F4"));
  window.hide();
}

// Boxes open centred over the main window, not the screen: the save
// question from the window itself, and the not-found question after the
// text-search dialog, with the window placed far from the screen's centre.
void WindowManagerTest::messageBoxesOpenOverTheWindow() {
  QTemporaryDir dir;
  {
    QFile file(dir.filePath(QStringLiteral("kestro32.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Kestrovale]\r\nWindowPos=20,20,560,460\r\n");
  }
  Session session(dir.filePath(QStringLiteral("kestro32.ini")).toStdString(),
                  DefaultPrompts(nullptr));
  session.Start(QString());
  MainWindow& window = session.window();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  QVERIFY(WaitFor([&] { return !window.windowHandle()->frameMargins().isNull(); }));
  // Under load the window manager may report the frame before its size:
  // the boxes are compared with the window as it was placed.
  const auto placed = [&] { return window.frameGeometry().width() > 100; };
  QVERIFY(WaitFor(placed));

  // Answers the next box with the button given, noting where its centre
  // stood once the window manager had placed it. It looks from a timer, so
  // that the box's own event loop runs undisturbed.
  auto answerNextBox = [&](QMessageBox::StandardButton button, QPoint& centre) {
    auto* timer = new QTimer(&window);
    auto ticks = std::make_shared<int>(0);
    auto looks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, &window, [&, timer, ticks, looks, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (++*ticks > 500) timer->deleteLater();
      if (box == nullptr || !box->isVisible() || box->windowHandle() == nullptr ||
          !box->windowHandle()->isExposed())
        return;
      // A few looks after it is shown, the window manager has placed it.
      if (++*looks < 10) return;
      centre = box->frameGeometry().center();
      timer->stop();
      timer->deleteLater();
      box->button(button)->click();
    });
    timer->start(20);
  };

  // The save question: a man set on the board of no file, then Clear.
  session.state().pos.board[SquareAt(4, 4)] = WhiteQueen;
  QPoint saveCentre;
  answerNextBox(QMessageBox::No, saveCentre);
  window.Dispatch(CmdClear);
  QVERIFY(!saveCentre.isNull());
  QVERIFY(WaitFor(placed));
  QVERIFY2(window.frameGeometry().contains(saveCentre),
           qPrintable(QStringLiteral("box centre %1,%2 outside the window %3,%4 %5x%6")
                          .arg(saveCentre.x())
                          .arg(saveCentre.y())
                          .arg(window.frameGeometry().x())
                          .arg(window.frameGeometry().y())
                          .arg(window.frameGeometry().width())
                          .arg(window.frameGeometry().height())));

  // The text-search dialog, then its not-found question.
  window.SetSolutionPaneText("1.Qd4! threat 2.Qe5#");
  QPoint notFoundCentre;
  auto* dialogTimer = new QTimer(&window);
  QObject::connect(dialogTimer, &QTimer::timeout, &window, [&, dialogTimer] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    dialogTimer->stop();
    if (auto* field = dialog->findChild<QLineEdit*>()) field->setText(QStringLiteral("Rh8"));
    answerNextBox(QMessageBox::No, notFoundCentre);
    dialog->accept();
  });
  dialogTimer->start(20);
  window.Dispatch(CmdFindInText);
  QVERIFY(!notFoundCentre.isNull());
  QVERIFY(WaitFor(placed));
  QVERIFY(window.frameGeometry().contains(notFoundCentre));
  window.hide();
}

int main(int argc, char** argv) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) {
    std::printf(
        "SKIP: Xvfb is not installed; the window-manager test needs a virtual X "
        "display (tools/setup-debian installs Xvfb, openbox and wmctrl)\n");
    return SkipCode;
  }
  for (const char* tool : {"openbox", "wmctrl"}) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
      std::printf("FAIL: %s is not installed (tools/setup-debian installs it)\n", tool);
      return 1;
    }
  }
  VirtualDisplay virtualDisplay;
  display = &virtualDisplay;
  // Xvfb picks a free display number and writes it to its standard output.
  virtualDisplay.server.start(
      xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")});
  QByteArray number;
  while (!number.contains('\n') && virtualDisplay.server.waitForReadyRead(10000))
    number += virtualDisplay.server.readAllStandardOutput();
  if (number.trimmed().isEmpty()) {
    std::printf("FAIL: Xvfb did not start\n");
    return 1;
  }
  virtualDisplay.name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
  qputenv("DISPLAY", virtualDisplay.name.toLatin1());
  qputenv("QT_QPA_PLATFORM", "xcb");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), virtualDisplay.name);
  virtualDisplay.manager.setProcessEnvironment(env);
  virtualDisplay.manager.start(QStringLiteral("openbox"), QStringList());
  if (!virtualDisplay.manager.waitForStarted(10000)) {
    std::printf("FAIL: openbox did not start\n");
    return 1;
  }
  // The window manager is in charge once it answers wmctrl; on a loaded
  // machine that may take a while, and a manager that never answers fails
  // the test here rather than as a window that never comes.
  bool managed = false;
  for (int i = 0; i < 600 && !managed; ++i) {
    managed = !RunOnDisplay({QStringLiteral("-m")}).isEmpty();
    if (!managed) QThread::msleep(50);
  }
  if (!managed) {
    std::printf("FAIL: openbox did not take charge of the display %s\n",
                qPrintable(virtualDisplay.name));
    return 1;
  }

  QApplication application(argc, argv);
  WindowManagerTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_manager_test.moc"
