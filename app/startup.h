// Start-up and shut-down: the configuration is read before the main window
// is made and written when it closes, so that the next run resumes where
// this one stopped.
#pragma once

#include <QApplication>
#include <string>

#include "app/app_state.h"
#include "config/ini_file.h"

namespace kv::app {

// Copies the keys read at start into the program's state (language, window
// rectangle and extra strings aside).
void ApplySettings(const Settings& settings, AppState& state);
// The keys written at the end, from the program's state.
Settings CollectSettings(const AppState& state);

// Reads the ini file at `path` into `state`: the language, the extra strings
// and the settings. Returns the window rectangle. A file that cannot be read
// leaves the defaults; its message goes to `message`.
WindowRect LoadConfiguration(const std::string& path, AppState& state, std::string* message);
// Writes the settings, the language, the extra strings and the rectangle,
// keeping any other keys of the file. False with a message on failure.
bool SaveConfiguration(const std::string& path, const AppState& state, const WindowRect& rect,
                       std::string* message);

// The whole program: configuration, main window, the file given on the
// command line or the last file, the event loop, and the configuration
// written at the end.
int RunProgram(QApplication& application);

}  // namespace kv::app
