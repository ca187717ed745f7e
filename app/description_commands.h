// The main window's commands that open the dialogs describing the problem:
// information (112) and additional information (138), problem type (113),
// solving options (124), the board as text (136) and the twins (137).
#pragma once

#include <string>
#include <string_view>

#include "app/app_state.h"

namespace kv::app {

class MainWindow;

// The author and source lists the information dialogs offer, read from the
// author list named by the settings and the SOURCES.TXT beside it the first
// time a dialog needs them, and again when another author list is named.
// They live in the state, so that the biographical selection's excluded
// marks reach the information dialogs.
AuthorAndSourceLists& DialogLists(AppState& state);
// Reads the lists again from state.authorListFile, whatever was read before.
// An author list of the default name that is not there, and a SOURCES.TXT
// that is not beside the author list, are replaced by the lists the program
// ships, so that the dialogs offer composers and magazines from the first
// run on. A line that ends the author list early leaves its reason in
// state.dialogListsProblem.
void ReloadDialogLists(AppState& state);

// The text of a list the program ships ("auteurs.txt", "SOURCES.TXT"),
// Windows-1252 as the files are.
std::string ShippedListText(std::string_view name);

// Runs one of these commands; false for any other id.
bool RunDescriptionCommand(MainWindow& window, int command);

}  // namespace kv::app
