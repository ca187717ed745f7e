// The problem-type dialog: kind, number of moves, mate or stalemate goal,
// series, maximum and White-begins. Mode 0 edits the current problem's type,
// mode 1 the type criterion of the position search (any kind allowed, button
// 3 clears it), mode 2 the type of a twin entry.
#pragma once

#include <QDialog>

#include "solver/problem_type.h"
#include "solver/solve_options_logic.h"
#include "strings/language.h"

class QButtonGroup;
class QCheckBox;
class QSpinBox;

namespace kv::app {

inline constexpr int TypeModeProblem = 0;
inline constexpr int TypeModeSearch = 1;
inline constexpr int TypeModeTwin = 2;

class ProblemTypeDialog : public QDialog {
  Q_OBJECT
 public:
  ProblemTypeDialog(const ProblemType& type, int mode, const Language& language,
                    const QString& title, QWidget* parent = nullptr);

  // The type as OK stores it (the original's other bytes kept).
  ProblemType Result() const;

 private:
  void Refresh();  // the controls from the working values
  void Collect();  // the working values from the controls
  void Initialise();

  ProblemType original_;
  TypeDialog working_;
  QButtonGroup* kinds_ = nullptr;
  QButtonGroup* goal_ = nullptr;
  QSpinBox* moves_ = nullptr;
  QCheckBox* serial_ = nullptr;
  QCheckBox* maximum_ = nullptr;
  QCheckBox* whiteBegins_ = nullptr;
};

// Opens the dialog modally; true with `type` replaced on OK.
bool RunProblemTypeDialog(QWidget* parent, const Language& language, const QString& title, int mode,
                          ProblemType& type);

}  // namespace kv::app
