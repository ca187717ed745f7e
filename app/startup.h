// Start-up and shut-down: the configuration is read before the main window
// is made and written when it closes, so that the next run resumes where
// this one stopped.
#pragma once

#include <QApplication>
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
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

// One run of the program between reading and writing the configuration:
// the state and the main window made from the ini file at iniPath.
class Session {
 public:
  Session(std::string iniPath, Prompts prompts);
  ~Session();

  // Places and shows the window at the stored rectangle, says why the
  // configuration could not be read (if so), then opens the file of the
  // command line, or else reopens the most recent file at the problem shown
  // last.
  void Start(const QString& commandLine);
  // After the window has closed: writes the configuration (nothing when it
  // was not closed, e.g. a log-off). False with a message when the file
  // cannot be written.
  bool Finish(std::string* message);

  AppState& state() { return *state_; }
  MainWindow& window() { return *window_; }
  const WindowRect& rect() const { return rect_; }
  // Why the configuration could not be read (empty when it was, or missing).
  const std::string& readMessage() const { return readMessage_; }

 private:
  std::string iniPath_;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<MainWindow> window_;
  WindowRect rect_;
  std::string readMessage_;
  std::function<int(const QString&, const QString&, int)> messageBox_;
  bool closed_ = false;
};

// The whole program: configuration, main window, the file given on the
// command line or the last file, the event loop, and the configuration
// written at the end.
int RunProgram(QApplication& application);

}  // namespace kv::app
