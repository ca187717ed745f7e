#include "app/main_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <algorithm>

#include "app/board_widget.h"
#include "app/commands.h"
#include "app/piece_box.h"

namespace kv::app {
namespace {

// The status bar's own height is taken by the window; the layout keeps six
// more pixels below the panes, as the window always did.
constexpr int StatusGap = 6;

void EtchedFrame(QPainter& p, const QRect& r) {
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.drawRect(r.adjusted(1, 1, 0, 0));
}

}  // namespace

MainArea::MainArea(QWidget* parent) : QWidget(parent) {
  setMinimumSize(MinimumWidth, MinimumHeight);
}

void MainArea::SetChildren(BoardWidget* board, QPlainTextEdit* solution,
                           QPlainTextEdit* information, PieceBox* box) {
  board_ = board;
  solution_ = solution;
  information_ = information;
  box_ = box;
  box_->move(40, 300);
  Layout();
}

void MainArea::SetBoxTexts(const QString& menCount, const QString& twins, int twinLines,
                           const QString& stipulation) {
  menCount_ = menCount;
  twins_ = twins;
  twinLines_ = twinLines;
  stipulation_ = stipulation;
  update(QRect(0, 266, 272, 40));
}

void MainArea::SetBoxFont(const QFont& font, int recordHeight) {
  boxFont_ = font;
  textOffset_ = (recordHeight + 20) / 2;
  update();
}

void MainArea::resizeEvent(QResizeEvent*) {
  Layout();
}

void MainArea::Layout() {
  if (board_ == nullptr) return;
  const int w = width();
  const int h = height() - StatusGap;
  board_->move(8, 8);
  solution_->setGeometry(272, 7, std::max(0, w - 272), std::max(0, h - 4));
  information_->setGeometry(12, 300, 252, std::max(0, h - 300));
}

void MainArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int h = height();  // the top of the status bar
  EtchedFrame(p, QRect(QPoint(7, 7), QPoint(264, 264)));
  const int boxBottom = std::min(290, h);
  if (h >= 301) {
    EtchedFrame(p, QRect(QPoint(7, 271), QPoint(70, boxBottom)));
    EtchedFrame(p, QRect(QPoint(200, 271), QPoint(264, boxBottom)));
  }
  if (h >= 327) EtchedFrame(p, QRect(QPoint(7, 297), QPoint(264, h - StatusGap + 1)));
  p.setFont(boxFont_);
  p.setPen(palette().windowText().color());
  const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
  auto box = [&](int left, int right, int top, int bottom, const QString& text) {
    const QRect r(QPoint(left, top), QPoint(right, std::min(bottom, h)));
    p.fillRect(r, palette().window());
    p.drawText(r, flags, text);
  };
  box(10, 68, textOffset_ + 271, 290, menCount_);
  box(202, 263, textOffset_ + 271, 290, stipulation_);
  box(72, 200, twinLines_ >= 2 ? 266 : textOffset_ + 271, 297, twins_);
}

void MainArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (p.x() >= 71 && p.x() <= 199 && p.y() >= 271 && p.y() <= 299)
    emit commandRequested(CmdInformation);
  else if (p.x() >= 200 && p.x() <= 263 && p.y() >= 271 && p.y() <= 289)
    emit commandRequested(CmdProblemType);
}

}  // namespace kv::app
