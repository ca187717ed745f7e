// The board window: paints the Board, and is where the user sets up the
// position with the mouse, typed letters, the "+"/"-" cycle, the arrow keys
// and the keypad board operations. It edits the one Board in place and says
// so through edited(); the main window marks the solution as stale.
#pragma once

#include <QWidget>
#include <string>

#include "app/board_editing.h"
#include "app/piece_images.h"
#include "core/position.h"
#include "solver/board_operations.h"

namespace kv::app {

class PieceBox;

// The one drag, shared by the board and the piece box.
struct DragState {
  PieceCode piece = Empty;  // the man carried (Empty: a drag of nothing)
  bool dragging = false;
  bool sticky = false;  // a right-button drag from the box: each left click drops a copy
};

class BoardWidget : public QWidget {
  Q_OBJECT
 public:
  static constexpr int SquareSize = 32;

  BoardWidget(Board& board, DragState& drag, QWidget* parent = nullptr);

  void SetPieceImages(const PieceImages* images);
  void SetRelief(bool relief);
  // Message 41 of the language: the letters typed and shown per man.
  void SetBoardLetters(std::string letters);
  void SetPieceBox(PieceBox* box) { box_ = box; }

  bool setupMode() const { return setupMode_; }
  BoardCursor current() const { return current_; }
  SquareIndex currentSquare() const { return SquareAt(current_.column, current_.row); }
  // The square of the white man whose moves Shift + right click tests.
  SquareIndex testMoveOrigin() const { return testMoveOrigin_; }
  void ClearTestMoveOrigin() { testMoveOrigin_ = 0; }
  const DragState& drag() const { return drag_; }
  // While a solve runs the board is shown but not edited.
  void SetLocked(bool locked) { locked_ = locked; }

  // The mouse steps in board coordinates. The piece box calls them too while
  // a drag it started is over the board.
  void PointerAt(QPoint position);
  // Status part 1 for the current square: "  C5 : Q " with the man's letter.
  QString SquareStatusText() const;
  void LeftDown(bool ctrl);
  void LeftUp();
  void RightDown(bool shift);
  void RightUp();
  // Ends any drag without touching the board (the box drops its man).
  void EndDrag();
  void BeginDrag(PieceCode piece);

  QSize sizeHint() const override { return {8 * SquareSize, 8 * SquareSize}; }

 signals:
  void edited();
  void statusText(const QString& text);
  void commandRequested(int command, Qt::KeyboardModifiers modifiers);
  void setupModeChanged(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void PutOnCurrent(PieceCode piece);
  void RepaintCurrent();
  void MovePointerToCurrent();
  bool PointerOnBoard() const { return pointerColumn_ < 8 && pointerRow_ < 8; }

  Board& board_;
  DragState& drag_;
  PieceBox* box_ = nullptr;
  const PieceImages* images_ = nullptr;
  bool relief_ = true;
  std::string letters_ = " RQBSPK   kpsbqr";
  BoardCursor current_;
  // The last pointer cell, kept even off the board (unsigned: left of or
  // above the board counts as far outside).
  unsigned pointerColumn_ = 0;
  unsigned pointerRow_ = 0;
  bool setupMode_ = false;
  SquareIndex testMoveOrigin_ = 0;
  bool locked_ = false;
};

}  // namespace kv::app
