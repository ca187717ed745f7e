// The problem list commands of the main window: "Old list" shows the list
// as it stands (built from the current file when empty), "New list" builds
// it again from the current file.
#pragma once

#include <QWidget>
#include <vector>

#include "app/app_state.h"
#include "app/problem_list_dialog.h"
#include "collections/file_result.h"
#include "print/print_document.h"

namespace kv::app {

class MainWindow;

void ProblemListCommand(MainWindow& window, int command);

// Runs an action of the list's "Actions" menu over the selected entries
// (entry numbers, in list order), with `owner` over its dialogs.
void RunListAction(MainWindow& window, QWidget* owner, ListAction action,
                   const std::vector<int>& selected);

// The diagram sheet "Positions -> Printer" prints: the selected entries'
// problems in list order; nothing when none is selected.
FileResult SelectionPrintDocument(const AppState& state, const std::vector<int>& selected,
                                  print::PrintDocument& document);

}  // namespace kv::app
