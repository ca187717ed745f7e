#include "app/piece_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace kv::app {
namespace {
constexpr int Cell = BoardWidget::SquareSize;
constexpr int Border = 1;
}  // namespace

PieceBox::PieceBox(BoardWidget& board, DragState& drag, QWidget* parent)
    : QWidget(parent), board_(board), drag_(drag) {
  setObjectName("Boite");
  setFixedSize(6 * Cell + 2 * Border, CaptionHeight + 2 * Cell + 2 * Border);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  hide();
}

void PieceBox::SetPieceImages(const PieceImages* images) {
  images_ = images;
  update();
}

void PieceBox::SetTitle(const QString& title) {
  title_ = title;
  update();
}

QPoint PieceBox::CellCentre(int column, int row) {
  return {Border + column * Cell + Cell / 2, CaptionHeight + Border + row * Cell + Cell / 2};
}

bool PieceBox::CellAt(QPoint p, int& column, int& row) const {
  const int x = p.x() - Border;
  const int y = p.y() - CaptionHeight - Border;
  if (x < 0 || y < 0 || x / Cell >= 6 || y / Cell >= 2) return false;
  column = x / Cell;
  row = y / Cell;
  return true;
}

void PieceBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  // The caption, drawn active, and a raised edge around the box.
  p.fillRect(0, 0, width(), CaptionHeight, palette().highlight());
  p.setPen(palette().highlightedText().color());
  QFont font = p.font();
  font.setPixelSize(CaptionHeight - 4);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(4, 0, width() - 8, CaptionHeight), Qt::AlignVCenter | Qt::AlignLeft, title_);
  p.setPen(Qt::white);
  p.drawLine(0, 0, width() - 1, 0);
  p.drawLine(0, 0, 0, height() - 1);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawLine(width() - 1, 0, width() - 1, height() - 1);
  p.drawLine(0, height() - 1, width() - 1, height() - 1);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 6; ++column) {
      const QPoint origin = CellCentre(column, row) - QPoint(Cell / 2, Cell / 2);
      p.fillRect(QRect(origin, QSize(Cell, Cell)), QColor(0xC0, 0xC0, 0xC0));
      if (images_ != nullptr) p.drawPixmap(origin, images_->Man(ManAt(column, row)));
    }
  }
}

bool PieceBox::OverBoard(const QMouseEvent* event, QPoint& boardPoint) const {
  boardPoint = board_.mapFromGlobal(event->globalPosition().toPoint());
  return board_.rect().contains(boardPoint);
}

void PieceBox::mouseMoveEvent(QMouseEvent* event) {
  if (moving_) {
    move(mapToParent(event->position().toPoint()) - moveOffset_);
    return;
  }
  QPoint boardPoint;
  if (drag_.dragging && OverBoard(event, boardPoint)) {
    board_.PointerAt(boardPoint);
    return;
  }
  CellAt(event->position().toPoint(), column_, row_);
}

void PieceBox::mousePressEvent(QMouseEvent* event) {
  QPoint boardPoint;
  if (drag_.dragging) {
    // A left click on the board during a sticky drag drops a copy there.
    if (OverBoard(event, boardPoint)) {
      board_.PointerAt(boardPoint);
      if (event->button() == Qt::LeftButton) board_.LeftDown(false);
    }
    return;
  }
  const QPoint p = event->position().toPoint();
  if (p.y() < CaptionHeight && event->button() == Qt::LeftButton) {
    moving_ = true;
    moveOffset_ = p;
    return;
  }
  if (!CellAt(p, column_, row_)) return;
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  board_.BeginDrag(ManAt(column_, row_));
  drag_.sticky = event->button() == Qt::RightButton;
}

void PieceBox::mouseReleaseEvent(QMouseEvent* event) {
  if (moving_) {
    moving_ = false;
    update();
    return;
  }
  if (!drag_.dragging) return;
  QPoint boardPoint;
  if (OverBoard(event, boardPoint)) {
    board_.PointerAt(boardPoint);
    if (event->button() == Qt::LeftButton)
      board_.LeftUp();
    else if (event->button() == Qt::RightButton)
      board_.RightUp();
    return;
  }
  // Released over the box (or anywhere off the board): the man is discarded.
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) board_.EndDrag();
}

}  // namespace kv::app
