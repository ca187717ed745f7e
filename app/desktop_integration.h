// The desktop's knowledge of the program: a menu entry, an icon and the
// file type of collections (*.kvl), so that opening a collection from a
// file manager starts the program with it. `cmake --install` installs the
// three files; a run that finds one of them missing from every data folder
// writes them into the user's own.
#pragma once

#include <QString>
#include <QStringList>

namespace kv::app {

// Where the three files lie below a data folder.
inline constexpr const char* DesktopEntryPath = "applications/kestrovale.desktop";
inline constexpr const char* MimeInfoPath = "mime/packages/kestrovale.xml";
inline constexpr const char* IconPath = "icons/hicolor/scalable/apps/kestrovale.svg";

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
QString UserDataHome();
// The other data folders: $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
QStringList SystemDataDirs();

// The menu entry that starts `executable` (an absolute path, quoted as the
// desktop entry format wants) with the opened file as its command line.
QString DesktopEntryText(const QString& executable);

// Writes the entry, the file type and the icon into dataHome when one of
// them is in neither dataHome nor dataDirs, then asks the desktop's
// databases to take them in. Returns the number of files written (0 when
// nothing was missing); failures are reported in `message` and do not stop
// the program.
int InstallDesktopIntegration(const QString& executable, const QString& dataHome,
                              const QStringList& dataDirs, QString* message);

}  // namespace kv::app
