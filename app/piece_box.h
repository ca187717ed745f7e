// The piece box: one man of each kind and colour under a small caption,
// shown while the board has the focus (set-up mode). It lies over the main
// window's client area as a child, so that taking a man from it never takes
// the focus from the board. A drag that starts here continues on the board:
// while a button is down the box receives the mouse, and hands every event
// over the board to the board's own mouse steps.
#pragma once

#include <QString>
#include <QWidget>

#include "app/board_widget.h"

namespace kv::app {

class PieceBox : public QWidget {
  Q_OBJECT
 public:
  static constexpr int CaptionHeight = 16;

  PieceBox(BoardWidget& board, DragState& drag, QWidget* parent);

  void SetPieceImages(const PieceImages* images);
  void SetTitle(const QString& title);
  // The man of cell (column 0..5, row 0..1).
  static PieceCode ManAt(int column, int row) { return BoxMen[row * 6 + column]; }
  // The point of a man's cell in box coordinates (its centre).
  static QPoint CellCentre(int column, int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The board coordinates of a box event, when the pointer is over the board.
  bool OverBoard(const QMouseEvent* event, QPoint& boardPoint) const;
  bool CellAt(QPoint p, int& column, int& row) const;

  BoardWidget& board_;
  DragState& drag_;
  const PieceImages* images_ = nullptr;
  QString title_;
  int column_ = 0;
  int row_ = 0;
  bool moving_ = false;  // the caption is being dragged
  QPoint moveOffset_;
};

}  // namespace kv::app
