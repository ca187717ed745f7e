#include "app/search_commands.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProgressDialog>
#include <algorithm>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/design_text.h"
#include "app/dialog_frame.h"
#include "app/main_window.h"
#include "app/position_search_dialog.h"
#include "collections/duplicate_scan.h"
#include "collections/search.h"
#include "strings/encoding.h"
#include "strings/menu.h"

namespace kv::app {
namespace {

QString Title(const MainWindow& window, int command) {
  const MenuItem* item = FindMenuItem(window.menuData(), command);
  return item != nullptr ? FromCp1252(MenuTitle(item->text)) : QString();
}

UiCallbacks StatusCallbacks(MainWindow& window) {
  UiCallbacks ui;
  ui.statusText = [&window](int part, const std::string& text) {
    window.StatusText(part, FromCp1252(text));
  };
  return ui;
}

// How many unread folders or files a message names; the rest are counted.
constexpr qsizetype MaxNamedUnread = 5;

// A path of the file system (UTF-8 here, Windows-1252 when it is not) as shown.
QString PathText(std::string_view path) {
  const std::string text(path);
  return IsValidUtf8(text) ? QString::fromStdString(text) : FromCp1252(text);
}

// "a, b, c and 4 more": the first few of `names`.
QString FirstNames(const QStringList& names) {
  QString text = names.mid(0, MaxNamedUnread).join(QStringLiteral(", "));
  if (names.size() > MaxNamedUnread) {
    text += QStringLiteral(" and %1 more").arg(names.size() - MaxNamedUnread);
  }
  return text;
}

QStringList FolderPaths(const std::vector<UnreadFolder>& folders) {
  QStringList paths;
  for (const UnreadFolder& folder : folders) paths << PathText(folder.path);
  return paths;
}

// Shows the current record again, as loading it from the file gives it.
void ShowCurrentRecord(MainWindow& window, const WindowReport& report) {
  AppState& state = window.state();
  const FileResult result = LoadProblem(state.collection, state.problem, state.pos.board);
  if (!result) {
    report(result);
    return;
  }
  window.ShowLoadedProblem();
}

}  // namespace

int PositionSearchCommand(MainWindow& window, const WindowMessage& message) {
  AppState& state = window.state();
  const int criteria =
      RunPositionSearchDialog(&window, state, Title(window, CmdSearchPositions), [&] {
        // A recovered matrix is a new position on the board.
        state.solutionStale = true;
        window.board()->update();
        window.RefreshMenCount();
      });
  if (criteria == 0) return 0;
  const SearchPlace place{state.fileOpen ? state.collection.currentFileName : std::string(),
                          state.startDirectory};
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const SearchOutcome outcome = RunSearch(state.searchCriteria, state.pos.board, place,
                                          state.problemList, StatusCallbacks(window));
  QGuiApplication::restoreOverrideCursor();
  state.problemListCount = state.problemList.count();
  // What the search did not see is said, not passed over.
  if (!outcome.unreadFolders.empty() || !outcome.unreadFiles.empty()) {
    window.StatusText(4, SearchStatusText(outcome));
  }
  if (outcome.found > 0) {
    // The list command is enabled by a list that was empty until now.
    window.UpdateCommandStates();
    window.Dispatch(CmdOldList);
  } else {
    message(49, MbIconExclamation);
  }
  return outcome.found;
}

QString SearchStatusText(const SearchOutcome& outcome) {
  QString text = outcome.aborted ? QStringLiteral("Search aborted")
                                 : QStringLiteral(" %1 problem(s) found").arg(outcome.found);
  QStringList unread;
  if (!outcome.unreadFolders.empty()) {
    unread << QStringLiteral("%1 folder(s) (%2)")
                  .arg(outcome.unreadFolders.size())
                  .arg(FirstNames(FolderPaths(outcome.unreadFolders)));
  }
  if (!outcome.unreadFiles.empty()) {
    QStringList files;
    for (const UnreadFile& file : outcome.unreadFiles) files << PathText(file.path);
    unread
        << QStringLiteral("%1 file(s) (%2)").arg(outcome.unreadFiles.size()).arg(FirstNames(files));
  }
  if (!unread.isEmpty()) text += QStringLiteral("; not read: ") + unread.join(QStringLiteral(", "));
  return text;
}

std::vector<std::string> DuplicateScanFiles(const AppState& state,
                                            std::vector<UnreadFolder>* unreadFolders) {
  if (state.startDirectory.empty()) return {};
  return SearchFileList(ScopeDisk, SearchPlace{std::string(), state.startDirectory}, unreadFolders);
}

int DuplicateScanCommand(MainWindow& window, const std::vector<std::string>& files,
                         const WindowReport& report,
                         const std::function<void(const QString& text)>& summary,
                         const std::vector<UnreadFolder>& unreadFolders) {
  AppState& state = window.state();
  if (!state.fileOpen) return 0;
  // The scan may store notes under the problem shown, which is then shown
  // again from the file: unsaved changes are offered for saving first.
  if (window.AskToSave() == IdCancel) return 0;
  const int first = std::max(state.collection.currentIndex, 0);
  const int total = std::max(state.collection.lastIndex - first + 1, 0);
  UiCallbacks ui = StatusCallbacks(window);
  DuplicateScanOutcome outcome;
  {
    // The progress window is modal over the main window, so no command can
    // start meanwhile; its Stop button and Escape stop the scan between
    // two records.
    QProgressDialog progress(&window);
    progress.setWindowTitle(Title(window, CmdDuplicates).isEmpty() ? QStringLiteral("Kestrovale")
                                                                   : Title(window, CmdDuplicates));
    progress.setObjectName(QStringLiteral("duplicateProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButtonText(QStringLiteral("&Stop"));
    progress.setRange(0, std::max(total, 1));
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    ui.breakPoll = [&progress] {
      QApplication::processEvents();
      return progress.wasCanceled();
    };
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    outcome = ScanDuplicates(
        state.collection, files, (state.searchCriteria.matrixFlags & MatrixGap) != 0, ui,
        [&](int record) {
          progress.setLabelText(QStringLiteral("Looking for copies of problem n\u00B0%1 (%2 / %3)")
                                    .arg(record + 1)
                                    .arg(record - first + 1)
                                    .arg(total));
          progress.setValue(record - first);
        });
    QGuiApplication::restoreOverrideCursor();
    progress.setValue(progress.maximum());
  }
  if (!outcome.failure) report(outcome.failure);
  ShowCurrentRecord(window, report);
  window.AfterCommandRefresh(true);
  if (summary) summary(DuplicateScanSummary(outcome, total, unreadFolders));
  return static_cast<int>(outcome.notes.size());
}

QString DuplicateScanSummary(const DuplicateScanOutcome& outcome, int total,
                             const std::vector<UnreadFolder>& unreadFolders) {
  // A path in a note is the file system's (UTF-8 here), its " n°" suffix
  // Windows-1252: only the file name is shown.
  auto fileName = [](std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return IsValidUtf8(name) ? QString::fromStdString(name) : FromCp1252(name);
  };
  auto count = [](std::size_t n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
  };
  QString text;
  if (outcome.broken) {
    text += QStringLiteral("Stopped after %1 of %2.\n")
                .arg(outcome.scanned)
                .arg(count(static_cast<std::size_t>(total), "problem", "problems"));
  }
  std::size_t copies = 0;
  QStringList inFiles;
  QStringList numbers;
  for (const DuplicateNote& note : outcome.notes) {
    numbers << QString::number(note.storedAt);  // where it is now, if another program moved it
    std::string_view lines = note.lines;
    while (!lines.empty()) {
      const std::size_t end = lines.find("\r\n");
      const std::string_view line = lines.substr(0, end);
      lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 2);
      if (line.empty()) continue;
      ++copies;
      const QString file = fileName(line.substr(0, line.find(" n\xB0")));
      if (!inFiles.contains(file)) inFiles << file;
    }
  }
  const QString scanned =
      count(static_cast<std::size_t>(outcome.scanned), "problem scanned", "problems scanned");
  if (outcome.notes.empty()) {
    text += QStringLiteral("No new copy found (%1).").arg(scanned);
  } else {
    text += QStringLiteral("%1 found for %2 (%3), in %4.\n")
                .arg(count(copies, "copy", "copies"))
                .arg(count(outcome.notes.size(), "problem", "problems"))
                .arg(scanned)
                .arg(inFiles.join(QStringLiteral(", ")));
    text += QStringLiteral(
                "The list of copies was appended to the stored solution text of "
                "n\u00B0 %1.")
                .arg(numbers.join(QStringLiteral(", ")));
  }
  // What other programs changed under the scan: notes gone to a problem's
  // new number, and notes not stored.
  for (const std::string& change : DuplicateScanChanges(outcome)) {
    text += QLatin1Char('\n') + QString::fromStdString(change) + QLatin1Char('.');
  }
  if (!outcome.unreadFiles.empty()) {
    QStringList unread;
    for (const UnreadFile& file : outcome.unreadFiles) unread << fileName(file.path);
    text += QStringLiteral("\nNot read: %1.").arg(unread.join(QStringLiteral(", ")));
  }
  if (!unreadFolders.empty()) {
    text += QStringLiteral("\nFolders not read (their collections were not looked at): %1.")
                .arg(FirstNames(FolderPaths(unreadFolders)));
  }
  return text;
}

}  // namespace kv::app
