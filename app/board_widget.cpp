#include "app/board_widget.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/commands.h"
#include "app/piece_box.h"

namespace kv::app {
namespace {

const QColor LightGrey(0xC0, 0xC0, 0xC0);
const QColor ReliefShadow(0x80, 0x80, 0x80);

// The cell of a pointer coordinate; negative coordinates count as far outside.
unsigned CellOf(int coordinate) {
  return coordinate < 0 ? 0xFFFFu : static_cast<unsigned>(coordinate) / BoardWidget::SquareSize;
}

}  // namespace

BoardWidget::BoardWidget(Board& board, DragState& drag, QWidget* parent)
    : QWidget(parent), board_(board), drag_(drag) {
  setObjectName("Echiquier");
  setFixedSize(sizeHint());
  setMouseTracking(true);
  // Only F3, a right click or the keyboard give the board the focus (set-up
  // mode); a left-button drag leaves the focus where it is.
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardWidget::SetPieceImages(const PieceImages* images) {
  images_ = images;
  update();
}

void BoardWidget::SetRelief(bool relief) {
  relief_ = relief;
  update();
}

void BoardWidget::SetBoardLetters(std::string letters) {
  letters.resize(16, ' ');
  letters_ = std::move(letters);
}

void BoardWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const int x = column * SquareSize;
      const int y = row * SquareSize;
      const bool light = (column + row) % 2 == 0;
      p.fillRect(x, y, SquareSize, SquareSize, light ? QColor(Qt::white) : LightGrey);
      if (!light && relief_) {
        // A grey outline with a white highlight along the top and left edges.
        p.setPen(ReliefShadow);
        p.drawRect(x, y, SquareSize - 1, SquareSize - 1);
        p.setPen(Qt::white);
        p.drawLine(x + 1, y + SquareSize - 2, x + 1, y + 1);
        p.drawLine(x + 1, y + 1, x + SquareSize - 1, y + 1);
      }
      const PieceCode code = board_[SquareAt(column, row)];
      if (images_ != nullptr && code > 0 && code < 16 && code != OffBoard)
        p.drawPixmap(x, y, images_->Man(code));
    }
  }
}

void BoardWidget::PointerAt(QPoint position) {
  pointerColumn_ = CellOf(position.x());
  pointerRow_ = CellOf(position.y());
  if (!PointerOnBoard()) return;
  current_ = {static_cast<int>(pointerColumn_), static_cast<int>(pointerRow_)};
  emit statusText(SquareStatusText());
  const PieceCode code = board_[currentSquare()];
  if (!drag_.dragging) setCursor(code != Empty ? Qt::PointingHandCursor : Qt::CrossCursor);
}

QString BoardWidget::SquareStatusText() const {
  const PieceCode code = board_[currentSquare()];
  const char letter = code >= 0 && code < 16 ? letters_[static_cast<std::size_t>(code)] : ' ';
  const char text[] = {' ',
                       ' ',
                       static_cast<char>('A' + current_.column),
                       static_cast<char>('8' - current_.row),
                       ' ',
                       ':',
                       ' ',
                       letter,
                       ' ',
                       0};
  return QString::fromLatin1(text);
}

void BoardWidget::BeginDrag(PieceCode piece) {
  drag_.piece = piece;
  drag_.dragging = true;
  if (piece != Empty && images_ != nullptr) {
    const int hot = images_->cell / 2;
    QGuiApplication::setOverrideCursor(QCursor(images_->Man(piece), hot, hot));
  } else {
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  }
}

void BoardWidget::EndDrag() {
  if (!drag_.dragging) return;
  QGuiApplication::restoreOverrideCursor();
  drag_ = DragState{};
}

void BoardWidget::PutOnCurrent(PieceCode piece) {
  PieceCode& cell = board_[currentSquare()];
  if (cell == piece) return;
  cell = piece;
  RepaintCurrent();
  emit edited();
}

void BoardWidget::RepaintCurrent() {
  update(current_.column * SquareSize, current_.row * SquareSize, SquareSize, SquareSize);
}

void BoardWidget::LeftDown(bool ctrl) {
  if (drag_.dragging) return;
  const PieceCode piece = board_[currentSquare()];
  // Lifting a man empties its square; Ctrl copies it.
  if (!ctrl && piece != Empty) board_[currentSquare()] = Empty;
  BeginDrag(piece);
  RepaintCurrent();
  if (piece != Empty) emit edited();
}

void BoardWidget::LeftUp() {
  if (!drag_.dragging) return;
  // A drop off the board puts nothing back: the man dragged off is removed.
  if (PointerOnBoard()) PutOnCurrent(drag_.piece);
  if (!drag_.sticky) EndDrag();
}

void BoardWidget::RightDown(bool shift) {
  if (shift) {
    const PieceCode code = board_[currentSquare()];
    if (code >= WhiteRook && code <= WhiteKing) {
      testMoveOrigin_ = currentSquare();
      emit commandRequested(CmdTestMove, Qt::NoModifier);
    }
    return;
  }
  if (!setupMode_) setFocus(Qt::MouseFocusReason);
}

void BoardWidget::RightUp() {
  // Ends a sticky drag from the box without changing the square under the
  // pointer; during an ordinary drag the man carried is lost.
  if (!drag_.dragging) return;
  drag_.sticky = false;
  if (PointerOnBoard()) drag_.piece = board_[currentSquare()];
  LeftUp();
}

void BoardWidget::mouseMoveEvent(QMouseEvent* event) {
  PointerAt(event->position().toPoint());
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
  PointerAt(event->position().toPoint());
  if (locked_) return;
  if (event->button() == Qt::LeftButton)
    LeftDown(event->modifiers() & Qt::ControlModifier);
  else if (event->button() == Qt::RightButton)
    RightDown(event->modifiers() & Qt::ShiftModifier);
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
  PointerAt(event->position().toPoint());
  if (locked_) return;
  if (event->button() == Qt::LeftButton)
    LeftUp();
  else if (event->button() == Qt::RightButton)
    RightUp();
}

void BoardWidget::MovePointerToCurrent() {
  const QPoint centre(current_.column * SquareSize + SquareSize / 2,
                      current_.row * SquareSize + SquareSize / 2);
  pointerColumn_ = static_cast<unsigned>(current_.column);
  pointerRow_ = static_cast<unsigned>(current_.row);
  QCursor::setPos(mapToGlobal(centre));
}

void BoardWidget::keyPressEvent(QKeyEvent* event) {
  if (locked_) return;
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  // The keypad digits 2..9 run the board operations through the effects
  // commands 182..189 (with Ctrl, 2, 4, 6, 8 are the toroidal shifts).
  if ((mods & Qt::KeypadModifier) && key >= Qt::Key_2 && key <= Qt::Key_9) {
    emit commandRequested(CmdEffectFirst - 2 + (key - Qt::Key_0), mods & Qt::ControlModifier);
    return;
  }
  CursorKey move;
  bool isMove = true;
  switch (key) {
    case Qt::Key_Up:
      move = CursorKey::Up;
      break;
    case Qt::Key_Down:
      move = CursorKey::Down;
      break;
    case Qt::Key_Left:
      move = CursorKey::Left;
      break;
    case Qt::Key_Right:
      move = CursorKey::Right;
      break;
    case Qt::Key_Home:
      move = CursorKey::Home;
      break;
    case Qt::Key_End:
      move = CursorKey::End;
      break;
    default:
      isMove = false;
      break;
  }
  if (isMove) {
    current_ = MoveCursor(current_, move);
    MovePointerToCurrent();
    return;
  }
  const QString text = event->text();
  if (text.size() != 1 || text[0].unicode() > 0xFF) return;
  const char c = static_cast<char>(text[0].unicode());
  PieceCode& cell = board_[currentSquare()];
  PieceCode result = cell;
  if (c == '+')
    result = CyclePiece(cell, 1);
  else if (c == '-')
    result = CyclePiece(cell, -1);
  else if (!TypedLetterPiece(letters_, c, cell, result))
    return;
  cell = result;
  RepaintCurrent();
  emit edited();
}

void BoardWidget::focusInEvent(QFocusEvent*) {
  if (!setupMode_) {
    setupMode_ = true;
    if (box_ != nullptr) {
      box_->show();
      box_->raise();
    }
    emit setupModeChanged(true);
  }
  MovePointerToCurrent();
}

void BoardWidget::focusOutEvent(QFocusEvent*) {
  if (!setupMode_) return;
  setupMode_ = false;
  if (box_ != nullptr) box_->hide();
  emit setupModeChanged(false);
}

}  // namespace kv::app
