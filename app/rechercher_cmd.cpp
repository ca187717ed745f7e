#include "app/rechercher_cmd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/design_text.h"
#include "app/main_window.h"
#include "app/rechercher_pos_dlg.h"
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

// While a long operation runs on the window's thread: Escape asks it to
// stop, and every other key or click is swallowed so that no command can
// start in the middle of it.
class EscapeWatch : public QObject {
 public:
  EscapeWatch() { QApplication::instance()->installEventFilter(this); }
  ~EscapeWatch() override { QApplication::instance()->removeEventFilter(this); }
  bool Pressed() {
    QApplication::processEvents();
    return pressed_;
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) pressed_ = true;
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
        return true;
      default:
        return false;
    }
  }

 private:
  bool pressed_ = false;
};

// Shows the current record again, as loading it from the file gives it.
void ShowCurrentRecord(MainWindow& window, const WindowReport& report) {
  AppState& state = window.state();
  const FileResult result = LoadProblem(state.collection, state.problem, state.pos.board);
  if (!result) {
    report(result);
    return;
  }
  state.solutionStale = true;
  window.SetSolutionPaneText(state.problem.solutionText);
  window.board()->update();
  window.RefreshInformation();
  window.RefreshProblemType();
  window.RefreshMenCount();
}

}  // namespace

int RechercherPosCommand(MainWindow& window, const WindowMessage& message) {
  AppState& state = window.state();
  const int criteria = RechercherPosDlgProc(&window, state, Title(window, CmdSearchPositions), [&] {
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
  if (outcome.found > 0) {
    // The list command is enabled by a list that was empty until now.
    window.UpdateCommandStates();
    window.Dispatch(CmdOldList);
  } else {
    message(49, MbIconExclamation);
  }
  return outcome.found;
}

std::vector<std::string> DuplicateScanFiles(const AppState& state) {
  if (state.startDirectory.empty()) return {};
  return SearchFileList(ScopeDisk, SearchPlace{std::string(), state.startDirectory});
}

int DuplicateScanCommand(MainWindow& window, const std::vector<std::string>& files,
                         const WindowReport& report) {
  AppState& state = window.state();
  if (!state.fileOpen) return 0;
  // The scan may store notes under the problem shown, which is then shown
  // again from the file: unsaved changes are offered for saving first.
  if (window.AskToSave() == IdCancel) return 0;
  UiCallbacks ui = StatusCallbacks(window);
  DuplicateScanOutcome outcome;
  {
    EscapeWatch escape;
    ui.breakPoll = [&escape] { return escape.Pressed(); };
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    outcome = ScanDuplicates(state.collection, files,
                             (state.searchCriteria.matrixFlags & MatrixGap) != 0, ui);
    QGuiApplication::restoreOverrideCursor();
  }
  if (!outcome.failure) report(outcome.failure);
  ShowCurrentRecord(window, report);
  window.AfterCommandRefresh(true);
  return static_cast<int>(outcome.notes.size());
}

}  // namespace kv::app
