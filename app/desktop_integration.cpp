#include "app/desktop_integration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace kv::app {
namespace {

QByteArray ResourceBytes(const QString& name) {
  QFile file(QStringLiteral(":/desktop/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

bool FoundIn(const QString& relative, const QString& dataHome, const QStringList& dataDirs) {
  if (QFileInfo::exists(QDir(dataHome).filePath(relative))) return true;
  for (const QString& dir : dataDirs)
    if (QFileInfo::exists(QDir(dir).filePath(relative))) return true;
  return false;
}

// Written whole or not at all, so that a desktop database never reads half.
bool WriteFile(const QString& path, const QByteArray& bytes, QString* message) {
  if (bytes.isEmpty()) {
    if (message != nullptr) *message += QStringLiteral("%1: no content built in\n").arg(path);
    return false;
  }
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
    return true;
  if (message != nullptr) *message += QStringLiteral("%1: %2\n").arg(path, file.errorString());
  return false;
}

// Runs a database update tool when the system has it; it is optional.
void RunIfPresent(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return;
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

}  // namespace

QString UserDataHome() {
  QString configured = qEnvironmentVariable("XDG_DATA_HOME");
  if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

QStringList SystemDataDirs() {
  QStringList dirs;
  for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':')))
    if (QDir::isAbsolutePath(dir)) dirs << dir;
  if (dirs.isEmpty()) dirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
  return dirs;
}

QString DesktopEntryText(const QString& executable) {
  // The entry format quotes an argument with blanks or reserved characters,
  // escapes quotes, backquotes, dollars and backslashes inside the quotes,
  // doubles "%" (field codes) and then escapes backslashes once more as
  // every string value does.
  static const QRegularExpression reserved(QStringLiteral("[\\s\"'\\\\><~|&;$*?#()`%=]"));
  QString argument = executable;
  if (argument.contains(reserved)) {
    static const QRegularExpression escaped(QStringLiteral("([\"`$\\\\])"));
    argument.replace(escaped, QStringLiteral("\\\\1"));
    argument = QLatin1Char('"') + argument + QLatin1Char('"');
  }
  argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
  argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  QString text = QString::fromUtf8(ResourceBytes(QStringLiteral("kestrovale.desktop")));
  static const QRegularExpression exec(QStringLiteral("^Exec=.*$"),
                                       QRegularExpression::MultilineOption);
  text.replace(exec, QStringLiteral("Exec=") + argument + QStringLiteral(" %f"));
  return text;
}

int InstallDesktopIntegration(const QString& executable, const QString& dataHome,
                              const QStringList& dataDirs, QString* message) {
  const bool entryMissing = !FoundIn(QLatin1String(DesktopEntryPath), dataHome, dataDirs);
  const bool typeMissing = !FoundIn(QLatin1String(MimeInfoPath), dataHome, dataDirs);
  const bool iconMissing = !FoundIn(QLatin1String(IconPath), dataHome, dataDirs);
  if (!entryMissing && !typeMissing && !iconMissing) return 0;
  const QDir home(dataHome);
  int written = 0;
  if (entryMissing && WriteFile(home.filePath(QLatin1String(DesktopEntryPath)),
                                DesktopEntryText(executable).toUtf8(), message))
    ++written;
  if (typeMissing && WriteFile(home.filePath(QLatin1String(MimeInfoPath)),
                               ResourceBytes(QStringLiteral("kestrovale.xml")), message))
    ++written;
  if (iconMissing && WriteFile(home.filePath(QLatin1String(IconPath)),
                               ResourceBytes(QStringLiteral("kestrovale.svg")), message))
    ++written;
  if (typeMissing) RunIfPresent(QStringLiteral("update-mime-database"), {home.filePath("mime")});
  if (entryMissing)
    RunIfPresent(QStringLiteral("update-desktop-database"), {home.filePath("applications")});
  return written;
}

}  // namespace kv::app
