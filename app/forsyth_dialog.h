// The board as text: the Forsyth string, with or without slashes, which the
// user may copy or retype (the board follows each change), or the diagram
// text of the chess diagram font.
#pragma once

#include <QDialog>
#include <functional>

#include "core/position.h"
#include "strings/language.h"

class QCheckBox;
class QPlainTextEdit;

namespace kv::app {

// The longest Forsyth text the field reads back.
inline constexpr int MaxTypedForsythLength = 119;

class ForsythDialog : public QDialog {
  Q_OBJECT
 public:
  ForsythDialog(Board& board, int borderStyle, const Language& language, const QString& title,
                QWidget* parent = nullptr);

  // Called after a typed change has been put on the board (to repaint it).
  std::function<void()> boardChanged;

 private:
  void ShowForsyth();
  void ShowDiagram();
  void Typed();

  Board& board_;
  int borderStyle_;
  bool diagramView_ = false;
  QPlainTextEdit* text_ = nullptr;
  QCheckBox* slashes_ = nullptr;
  QCheckBox* ascii_ = nullptr;
};

// Opens the dialog on the board. Returns true on OK. Either way a typed
// position stays on the board (and counts as a change of the position).
bool RunForsythDialog(QWidget* parent, const Language& language, const QString& title, Board& board,
                      int borderStyle, std::function<void()> boardChanged);

}  // namespace kv::app
