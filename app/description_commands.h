// The main window's commands that open the dialogs describing the problem:
// information (112) and additional information (138), problem type (113),
// solving options (124), the board as text (136) and the twins (137).
#pragma once

namespace kv::app {

class MainWindow;

// Runs one of these commands; false for any other id.
bool RunDescriptionCommand(MainWindow& window, int command);

}  // namespace kv::app
