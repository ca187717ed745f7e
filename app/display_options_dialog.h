// The display options: squares in relief, the other piece set, figurine
// notation and the panes' font. Each change is in force at once, so OK and
// Cancel only say how the dialog ended.
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>

#include "app/display_options_logic.h"
#include "strings/language.h"

class QCheckBox;
class QPushButton;

namespace kv::app {

class DisplayOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  // `output` and `font` are the program's own; `apply` redoes what a change
  // asks of the window.
  DisplayOptionsDialog(OutputSettings& output, PaneFont& font, const Language& language,
                       const QString& title, std::function<void(const DisplayEffects&)> apply,
                       QWidget* parent = nullptr);

  // The font dialog, started from the panes' font (PaneFontFor); replaced
  // by tests. False when cancelled.
  std::function<bool(QFont& font)> chooseFont;

 private:
  void Apply(const DisplayEffects& effects);
  void FontClicked();

  OutputSettings& output_;
  PaneFont& font_;
  std::function<void(const DisplayEffects&)> apply_;
  QCheckBox* notation_ = nullptr;
  QPushButton* fontButton_ = nullptr;
};

// The pane font record as a font in points (at 96 dots per inch): where the
// font dialog starts.
QFont PaneFontFor(const PaneFont& record);

// Shows the dialog; 1 for OK, 0 for Cancel.
int RunDisplayOptionsDialog(QWidget* parent, OutputSettings& output, PaneFont& font,
                            const Language& language, const QString& title,
                            std::function<void(const DisplayEffects&)> apply);

}  // namespace kv::app
