#include "app/problem_list_commands.h"

#include <QGuiApplication>
#include <QLineEdit>

#include "app/choose_file.h"
#include "app/choose_file_logic.h"
#include "app/commands.h"
#include "app/design_text.h"
#include "app/duplicate_info_dialog.h"
#include "app/main_window.h"
#include "app/multiple_view_dialog.h"
#include "app/print_commands.h"
#include "app/problem_list_dialog.h"
#include "collections/duplicate_information.h"
#include "collections/export.h"
#include "collections/file_result.h"
#include "print/print_job.h"

namespace kv::app {

namespace {

// The "Problem List" popup's text with its first character (the "&")
// replaced by a blank.
QString ListTitle(const Menu& menu) {
  std::function<const MenuItem*(const std::vector<MenuItem>&)> find =
      [&](const std::vector<MenuItem>& items) -> const MenuItem* {
    for (const MenuItem& item : items) {
      if (item.kind != MenuItemKind::Popup) continue;
      for (const MenuItem& sub : item.items) {
        if (sub.id == CmdOldList) return &item;
      }
      if (const MenuItem* inner = find(item.items)) return inner;
    }
    return nullptr;
  };
  const MenuItem* popup = find(menu);
  if (popup == nullptr || popup->text.empty()) return QString();
  std::string text = popup->text;
  text[0] = ' ';
  return FromCp1252(text);
}

void ShowEntry(MainWindow& window, int entry) {
  AppState& state = window.state();
  const ProblemList& list = state.problemList;
  if (entry < 0 || entry >= list.count()) return;
  const ProblemListEntry& e = list.entries[entry];
  // A damaged problem is shown with what can be read, as the main window
  // shows it.
  FileResult damage;
  const FileResult result = LoadListEntry(list.FileOf(e), e.record, state.collection, state.problem,
                                          state.pos.board, &damage);
  if (!result) {
    // No box while the caret moves: the status bar says why nothing changed.
    window.StatusText(3, FromCp1252(FileResultText(result, list.FileOf(e), state.language)));
    return;
  }
  window.ShowLoadedProblem();
  if (!damage.ok()) window.StatusText(3, FromCp1252(DamagedProblemText(damage, list.FileOf(e))));
}

int ChooseKind(ListAction action) {
  switch (action) {
    case ListAction::CopyPositions:
      return ChooseCopyPositions;
    case ListAction::PgnFile:
      return ChoosePgnExport;
    case ListAction::EpdFile:
      return ChooseEpdExport;
    case ListAction::SolutionsToText:
      return ChooseTextReport;
    case ListAction::PopeyeFile:
      return ChoosePopeyeExport;
    default:
      return -1;
  }
}

ExportAction ExportOf(ListAction action) {
  switch (action) {
    case ListAction::PgnFile:
      return ExportAction::PgnFile;
    case ListAction::EpdFile:
      return ExportAction::EpdFile;
    case ListAction::SolutionsToText:
      return ExportAction::SolutionsToText;
    case ListAction::SolutionsToRecords:
      return ExportAction::SolutionsToRecords;
    case ListAction::PopeyeFile:
      return ExportAction::PopeyeFile;
    default:
      return ExportAction::CopyPositions;
  }
}

UiCallbacks ActionCallbacks(MainWindow& window, QWidget* owner) {
  UiCallbacks ui;
  ui.messageBox = [owner](const std::string& text, const std::string& caption, int style) {
    return DefaultPrompts(owner).messageBox(FromCp1252(text), FromCp1252(caption), style);
  };
  ui.statusText = [&window](int part, const std::string& text) {
    window.StatusText(part, FromCp1252(text));
  };
  return ui;
}

void DuplicateSelection(MainWindow& window, QWidget* owner, const std::vector<int>& selected) {
  AppState& state = window.state();
  DuplicateInfoDialog dialog(state.language, owner);
  if (dialog.exec() != QDialog::Accepted) return;
  const UiCallbacks ui = ActionCallbacks(window, owner);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  // The run shows its first failure itself; the counts are not shown.
  static_cast<void>(RunDuplicateInformation(
      dialog.Information(), state.problemList, SelectedEntries(state.problemList, selected),
      state.collection, state.problem, state.pos.board, state.language, ui));
  QGuiApplication::restoreOverrideCursor();
  ShowEntry(window, state.problemList.position);
}

void PrintSelection(MainWindow& window, QWidget* owner, const std::vector<int>& selected) {
  AppState& state = window.state();
  print::PrintDocument document;
  const FileResult read = SelectionPrintDocument(state, selected, document);
  if (!read) {
    ReportFileResult(ActionCallbacks(window, owner), state.language, read,
                     state.collection.currentFileName);
    return;
  }
  QPrinter printer;
  print::PrintWithDialog(document, printer, owner, state.lastPrintPageCount);
}

}  // namespace

FileResult SelectionPrintDocument(const AppState& state, const std::vector<int>& selected,
                                  print::PrintDocument& document) {
  const std::vector<ProblemListEntry> entries = SelectedEntries(state.problemList, selected);
  // Without a selection the sheet would fall back to the whole file: print
  // nothing rather than what was not chosen.
  if (entries.empty()) {
    document.problems.clear();
    return {};
  }
  return MakePrintDocument(state, print::DocumentKind::DiagramSheet, std::string(), entries,
                           document);
}

void RunListAction(MainWindow& window, QWidget* owner, ListAction action,
                   const std::vector<int>& selected) {
  AppState& state = window.state();
  std::string target;
  const int kind = ChooseKind(action);
  switch (action) {
    case ListAction::DuplicateInformation:
      DuplicateSelection(window, owner, selected);
      return;
    case ListAction::Printer:
      PrintSelection(window, owner, selected);
      return;
    case ListAction::Viewer:
      // The view opens what it shows over the list, which stays open.
      RunMultipleViewDialog(window, SelectionView(state.problemList, selected));
      return;
    default:
      break;
  }
  if (action != ListAction::SolutionsToRecords) {
    if (!ChooseFile(owner, state.language, target, kind)) return;
  }
  const UiCallbacks ui = ActionCallbacks(window, owner);
  ExportContext context{
      state.collection, state.problem, state.pos.board, state.options, state.language, ui, 0,
      nullptr};
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const ExportOutcome outcome = RunExport(ExportOf(action), target, state.problemList,
                                          SelectedEntries(state.problemList, selected), context);
  QGuiApplication::restoreOverrideCursor();
  // Problems the solver input cannot express were left out: say which.
  if (outcome.notExportable > 0) {
    std::string text = std::to_string(outcome.notExportable) + " problem(s) not written:";
    for (std::size_t i = 0; i < outcome.notExportableNotes.size() && i < 10; ++i) {
      text += "\n" + outcome.notExportableNotes[i];
    }
    ui.messageBox(text, "Kestrovale", MbOk | MbIconExclamation);
  }
}

void ProblemListCommand(MainWindow& window, int command) {
  AppState& state = window.state();
  if (state.problemList.count() < 1 || command == CmdNewList) {
    if (!state.fileOpen) return;
    FillListWithCurrentFile(state.problemList, state.collection.currentFileName,
                            state.collection.lastIndex, state.collection.currentIndex);
    state.problemListCount = state.problemList.count();
  }
  if (window.AskToSave() == kv::IdCancel) return;
  state.fileOpen = true;
  state.previousIndex = state.collection.currentIndex;
  ProblemListDialog dialog(state.problemList, state.collection.currentFileName,
                           state.collection.lastIndex, state.language, ListTitle(window.menuData()),
                           &window);
  QObject::connect(&dialog, &ProblemListDialog::caretChanged, &dialog,
                   [&window](int entry) { ShowEntry(window, entry); });
  QObject::connect(&dialog, &ProblemListDialog::statusText, &dialog,
                   [&window](const QString& text) { window.StatusText(1, text); });
  QObject::connect(&dialog, &ProblemListDialog::actionChosen, &dialog,
                   [&window, &dialog](ListAction action, const std::vector<int>& selected) {
                     RunListAction(window, &dialog, action, selected);
                   });
  window.positionBox()->setEnabled(false);
  dialog.Start();
  dialog.exec();
  window.positionBox()->setEnabled(true);
  state.fileOpen = !state.collection.currentFileName.empty();
  if (state.fileOpen) {
    UpdateRecentFiles(state.recentFiles, state.collection.currentFileName,
                      state.collection.currentIndex, state.previousIndex);
  }
  window.AfterCommandRefresh(true);
}

}  // namespace kv::app
