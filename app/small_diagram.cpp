#include "app/small_diagram.h"

#include <QPainter>

#include "solver/board_operations.h"

namespace kv::app {

MenCount DrawSmallDiagram(QPainter& painter, QPoint origin, const Board& board,
                          const PieceImages& smallPieces) {
  MenCount count;
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const QPoint corner = origin + QPoint(column * SmallSquareSize, row * SmallSquareSize);
      const bool light = (column + row) % 2 == 0;
      painter.fillRect(QRect(corner, QSize(SmallSquareSize, SmallSquareSize)),
                       light ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0));
      const PieceCode code = board[SquareAt(column, row)];
      if (code <= Empty || code >= 16 || code == OffBoard) continue;
      painter.drawPixmap(corner, smallPieces.Man(code));
      if (code < OffBoard)
        ++count.white;
      else
        ++count.black;
    }
  }
  return count;
}

}  // namespace kv::app
