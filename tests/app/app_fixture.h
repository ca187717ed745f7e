// What the GUI tests share: a main window over a fresh state whose prompts
// are recorded and answered from a script, and collections made in a
// temporary folder.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "solver/problem_type.h"

namespace kv::app::test {

struct PromptLog {
  QStringList messages;     // every box text, in order
  QStringList unhandled;    // commands Dispatch has no case for
  std::deque<int> answers;  // given to Yes/No/Cancel boxes; Cancel when empty
  QString openName;         // what the open-file dialog returns
  QString saveName;
};

Prompts RecordingPrompts(PromptLog& log);

// A window over its own state, not shown.
struct Fixture {
  std::unique_ptr<AppState> state = std::make_unique<AppState>();
  PromptLog log;
  std::unique_ptr<MainWindow> window;
  Fixture();
};

// A board from the board field of a FEN line.
Board BoardFromFen(const std::string& fen);

// Writes a collection of one problem per FEN (each a direct mate in 2,
// authors "Author n") and returns its path inside dir.
std::string MakeCollection(const QTemporaryDir& dir, const std::vector<std::string>& fens,
                           const std::string& name = "test.kvl");

}  // namespace kv::app::test
