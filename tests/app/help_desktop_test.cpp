// The program's help (pages, contexts, the help window, F1 on a menu item)
// and its desktop integration (menu entry, icon, file type of collections).
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QtTest>

#include "app/commands.h"
#include "app/desktop_integration.h"
#include "app/help_window.h"
#include "app_fixture.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

class HelpDesktopTest : public QObject {
  Q_OBJECT
 private slots:
  void everyContextLeadsToAPageAndAnchorThatExist();
  void helpIndexCommandOpensTheIndex();
  void f1OnAMenuItemOpensItsPage();
  void missingDesktopFilesAreWrittenOnce();
  void installedDesktopFilesAreLeftAlone();
  void desktopEntryQuotesTheProgramPath();
};

namespace {

QString ReadResource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QString Str(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

}  // namespace

void HelpDesktopTest::everyContextLeadsToAPageAndAnchorThatExist() {
  for (const HelpTopic& topic : HelpTopics) {
    const QString page = Str(topic.page);
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    const QString text = ReadResource(QStringLiteral(":/help/") + file);
    QVERIFY2(!text.isEmpty(), qPrintable(page));
    if (!anchor.isEmpty())
      QVERIFY2(text.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(page));
  }
  // The dialogs' own numbers, and numbers without a page, which lead to the index.
  QCOMPARE(Str(HelpPageOf(124)), QStringLiteral("solving.html#options"));
  QCOMPARE(Str(HelpPageOf(174)), QStringLiteral("solving.html#test"));
  QCOMPARE(Str(HelpPageOf(1002)), QStringLiteral("collections.html#recent"));
  QCOMPARE(Str(HelpPageOf(-1)), QStringLiteral("index.html"));
  QCOMPARE(Str(HelpPageOf(999)), QStringLiteral("index.html"));
  // Every page the index links to exists.
  const QString index = ReadResource(QStringLiteral(":/help/index.html"));
  for (const char* page :
       {"position.html", "solving.html", "collections.html", "search.html", "printing.html"}) {
    QVERIFY2(index.contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(page))), page);
    QVERIFY2(!ReadResource(QStringLiteral(":/help/") + QLatin1String(page)).isEmpty(), page);
  }
}

void HelpDesktopTest::helpIndexCommandOpensTheIndex() {
  Fixture f;
  f.window->show();
  // From the menu action, then again into the same window.
  f.window->Action(CmdHelpIndex)->trigger();
  auto* help = f.window->findChild<HelpWindow*>();
  QVERIFY(help != nullptr);
  QVERIFY(help->isVisible());
  QCOMPARE(help->browser()->source().fileName(), QStringLiteral("index.html"));
  QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Setting up a position")));
  help->browser()->setSource(QUrl(QStringLiteral("qrc:/help/printing.html")));
  f.window->Dispatch(CmdHelpIndex);
  QCOMPARE(f.window->findChildren<HelpWindow*>().size(), 1);
  QCOMPARE(help->browser()->source().fileName(), QStringLiteral("index.html"));
  QVERIFY(f.log.unhandled.isEmpty());
}

void HelpDesktopTest::f1OnAMenuItemOpensItsPage() {
  Fixture f;
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  MenuHelpFilter filter(f.window.get());
  qApp->installEventFilter(&filter);
  QAction* options = f.window->Action(CmdSolvingOptions);
  QMenu* menu = nullptr;
  for (QObject* object : options->associatedObjects())
    if (auto* m = qobject_cast<QMenu*>(object)) menu = m;
  QVERIFY(menu != nullptr);
  menu->popup(QPoint(0, 0));
  QVERIFY(QTest::qWaitForWindowExposed(menu));
  menu->setActiveAction(options);
  QTest::keyClick(menu, Qt::Key_F1);
  qApp->removeEventFilter(&filter);
  auto* help = f.window->findChild<HelpWindow*>();
  QVERIFY(help != nullptr);
  QCOMPARE(help->browser()->source().toString(), QStringLiteral("qrc:/help/solving.html#options"));
  QTRY_VERIFY(!menu->isVisible());
  // F1 ran no command.
  QVERIFY(f.log.unhandled.isEmpty());
}

void HelpDesktopTest::missingDesktopFilesAreWrittenOnce() {
  QTemporaryDir home, system;
  QString message;
  QCOMPARE(
      InstallDesktopIntegration("/opt/kv/bin/kestrovale", home.path(), {system.path()}, &message),
      3);
  QVERIFY2(message.isEmpty(), qPrintable(message));
  const QString entry = ReadResource(home.filePath(DesktopEntryPath));
  QVERIFY(entry.contains(QStringLiteral("\nExec=/opt/kv/bin/kestrovale %f\n")));
  QVERIFY(entry.contains(QStringLiteral("MimeType=application/x-kestrovale;")));
  const QString type = ReadResource(home.filePath(MimeInfoPath));
  QVERIFY(type.contains(QStringLiteral("type=\"application/x-kestrovale\"")));
  QVERIFY(type.contains(QStringLiteral("<glob pattern=\"*.kvl\"/>")));
  QVERIFY(ReadResource(home.filePath(IconPath)).contains(QStringLiteral("<svg")));
  // A later run finds them and writes nothing, not even over a changed entry.
  QFile::remove(home.filePath(IconPath));
  QCOMPARE(InstallDesktopIntegration("/elsewhere/kestrovale", home.path(), {}, &message), 1);
  QCOMPARE(ReadResource(home.filePath(DesktopEntryPath)), entry);
  QCOMPARE(InstallDesktopIntegration("/elsewhere/kestrovale", home.path(), {}, &message), 0);
}

void HelpDesktopTest::installedDesktopFilesAreLeftAlone() {
  QTemporaryDir home, system;
  QString message;
  // What `cmake --install` put in a system data folder.
  QCOMPARE(InstallDesktopIntegration("kestrovale", system.path(), {}, &message), 3);
  QCOMPARE(
      InstallDesktopIntegration("/opt/kv/bin/kestrovale", home.path(), {system.path()}, &message),
      0);
  QVERIFY(QDir(home.path()).isEmpty());
  // A data folder that cannot be written: reported, nothing else happens.
  QFile blocker(home.filePath("applications"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  message.clear();
  QCOMPARE(InstallDesktopIntegration("kestrovale", home.path(), {}, &message), 2);
  QVERIFY(message.contains(QStringLiteral("kestrovale.desktop")));
}

void HelpDesktopTest::desktopEntryQuotesTheProgramPath() {
  auto execLine = [](const QString& program) {
    for (const QString& line : DesktopEntryText(program).split(QLatin1Char('\n')))
      if (line.startsWith(QStringLiteral("Exec="))) return line;
    return QString();
  };
  QCOMPARE(execLine("/usr/bin/kestrovale"), QStringLiteral("Exec=/usr/bin/kestrovale %f"));
  QCOMPARE(execLine("/home/a b/kestrovale"), QStringLiteral("Exec=\"/home/a b/kestrovale\" %f"));
  // Inside quotes "$" is escaped, and that backslash again as in any string.
  QCOMPARE(execLine("/x/$HOME/k"), QStringLiteral("Exec=\"/x/\\\\$HOME/k\" %f"));
  QCOMPARE(execLine("/x/100%/k"), QStringLiteral("Exec=\"/x/100%%/k\" %f"));
}

QTEST_MAIN(HelpDesktopTest)
#include "help_desktop_test.moc"
