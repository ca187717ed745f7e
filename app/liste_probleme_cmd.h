// The problem list commands of the main window: "Old list" shows the list
// as it stands (built from the current file when empty), "New list" builds
// it again from the current file.
#pragma once

namespace kv::app {

class MainWindow;

void ListeProblemeDlgProc(MainWindow& window, int command);

}  // namespace kv::app
