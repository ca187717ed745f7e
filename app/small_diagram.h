// The small diagram of the multiple view: the whole Board at 16 pixels a
// square, drawn like the board window (light squares white, dark squares
// light grey, each man over its silhouette).
#pragma once

#include <QPoint>

#include "app/board_editing.h"
#include "app/piece_images.h"
#include "core/position.h"

class QPainter;

namespace kv::app {

inline constexpr int SmallSquareSize = 16;

// Draws `board` with its top-left corner at origin using the 16-pixel set,
// and counts the white and the black men drawn.
MenCount DrawSmallDiagram(QPainter& painter, QPoint origin, const Board& board,
                          const PieceImages& smallPieces);

}  // namespace kv::app
