// The solving-options dialog: what the solver searches (set play, tries,
// actual play), which variations it writes for the solution and for the
// tries, and the notation. The decisions live in kv::OptionsDialog; this
// window shows them and passes the clicks.
#pragma once

#include <QDialog>
#include <map>

#include "solver/solve_options_logic.h"
#include "strings/language.h"

class QSpinBox;

namespace kv::app {

class SolvingOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  // title: the menu item's text; the kind's name is appended after ":".
  SolvingOptionsDialog(const SolveOptions& options, int kind, OptionGroup lastGroup,
                       const Language& language, const QString& title, QWidget* parent = nullptr);

  OptionsDialog& logic() { return logic_; }

 private:
  void Command(int control);
  void Refresh();

  OptionsDialog logic_;
  std::map<int, QWidget*> controls_;
  QSpinBox* tries_ = nullptr;
  bool typing_ = false;  // the try field is being typed into: leave it as typed
};

// Runs the dialog on `options` (restored on Cancel, stored with the kind's
// set on OK). Returns true when the solution text should be refreshed for a
// new notation (command 121).
bool RunSolvingOptionsDialog(QWidget* parent, const Language& language, const QString& title,
                             SolveOptions& options, int kind, OptionGroup lastGroup,
                             bool solutionStale);

// The title: the menu text, then the kind's name with its first character
// (the "&") turned into ":".
QString OptionsDialogTitle(const QString& menuText, const Language& language, int kind);

}  // namespace kv::app
