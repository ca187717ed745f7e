#include "print/diagram_drawing.h"

#include <QFont>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "print/diagram_cells.h"

namespace kv::print {
namespace {

constexpr int Side = 10;
constexpr int ManCount = 6;
// The glyphs are laid out once at this size and scaled to each cell.
constexpr int GlyphLayoutSize = 200;
// A man fills this share of its square's height.
constexpr double ManShare = 0.86;
// Hatching: lines per square and their weight against the square's width.
constexpr double HatchLinesPerSquare = 7.0;
constexpr double HatchWeight = 0.022;
// Frame rules against the square's width: the thin rule at the board's edge,
// the thick outer rule of the double frame and its distance from the board.
constexpr double ThinRule = 0.035;
constexpr double ThickRule = 0.09;
constexpr double DoubleGap = 0.1;
// The white rim that keeps a man on a hatched square readable.
constexpr double HaloWidth = 0.09;

QPainterPath GlyphPath(char32_t codePoint) {
  QFont font(ChessGlyphFace);
  font.setPixelSize(GlyphLayoutSize);
  font.setStyleStrategy(QFont::PreferOutline);
  QPainterPath path;
  path.addText(0, 0, font, QString::fromUcs4(&codePoint, 1));
  return path;
}

struct ManGlyphs {
  QPainterPath outline;  // the man's own symbol
  QPainterPath solid;    // the solid symbol of the same man: its silhouette
  QRectF bounds;         // of both, for one transform
};

const ManGlyphs& GlyphsFor(Man man, bool black) {
  static const std::array<std::array<ManGlyphs, ManCount>, 2> glyphs = [] {
    std::array<std::array<ManGlyphs, ManCount>, 2> made{};
    for (int colour = 0; colour < 2; ++colour) {
      for (int i = 0; i < ManCount; ++i) {
        const Man m = static_cast<Man>(i + 1);
        ManGlyphs& g = made[colour][i];
        g.outline = GlyphPath(ManCodePoint(m, colour == 1));
        g.solid = GlyphPath(ManCodePoint(m, true));
        g.bounds = g.outline.boundingRect().united(g.solid.boundingRect());
      }
    }
    return made;
  }();
  return glyphs[black ? 1 : 0][static_cast<int>(man) - 1];
}

void HatchSquare(QPainter& painter, const QRectF& square, const QPointF& origin) {
  const double spacing = square.width() / HatchLinesPerSquare;
  painter.save();
  painter.setClipRect(square, Qt::IntersectClip);
  painter.setPen(
      QPen(Qt::black, std::max(1.0, square.width() * HatchWeight), Qt::SolidLine, Qt::FlatCap));
  // Lines x + y = c rise to the right; c on a grid fixed to the board's
  // corner so that the hatching runs on unbroken from square to square.
  const double first = (square.left() + square.top()) - (origin.x() + origin.y());
  const double last = (square.right() + square.bottom()) - (origin.x() + origin.y());
  for (double c = std::floor(first / spacing) * spacing; c <= last + spacing; c += spacing) {
    const double k = c + origin.x() + origin.y();
    painter.drawLine(QPointF(k - square.bottom() - 1, square.bottom() + 1),
                     QPointF(k - square.top() + 1, square.top() - 1));
  }
  painter.restore();
}

void DrawMan(QPainter& painter, const QRectF& square, const DiagramCell& cell) {
  const ManGlyphs& g = GlyphsFor(cell.man, cell.black);
  const double scale = square.height() * ManShare / std::max(1.0, g.bounds.height());
  QTransform t;
  t.translate(square.center().x(), square.center().y());
  t.scale(scale, scale);
  t.translate(-g.bounds.center().x(), -g.bounds.center().y());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const QPainterPath silhouette = t.map(g.solid);
  if (cell.dark) {
    // A white rim around the man, so the hatching stops short of it.
    painter.setPen(
        QPen(Qt::white, square.width() * HaloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(silhouette);
    painter.setPen(Qt::NoPen);
  } else if (!cell.black) {
    painter.setBrush(Qt::white);
    painter.drawPath(silhouette);
  }
  painter.setBrush(Qt::black);
  painter.drawPath(t.map(g.outline));
  painter.restore();
}

// The frame around `board`, clipped to one border cell: every frame cell
// draws its share, and together they close the frame.
void DrawFrame(QPainter& painter, const QRectF& cellRect, const QRectF& board, bool doubled) {
  const double w = board.width() / 8;
  painter.save();
  painter.setClipRect(cellRect, Qt::IntersectClip);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  const double thin = std::max(1.0, w * ThinRule);
  const QRectF inner = board.adjusted(-thin, -thin, thin, thin);
  QPainterPath path;
  path.addRect(inner);
  path.addRect(board);
  if (doubled) {
    const double gap = w * DoubleGap;
    const double thick = std::max(1.0, w * ThickRule);
    const QRectF outerIn = inner.adjusted(-gap, -gap, gap, gap);
    path.addRect(outerIn.adjusted(-thick, -thick, thick, thick));
    path.addRect(outerIn);
  }
  path.setFillRule(Qt::OddEvenFill);
  painter.drawPath(path);
  painter.restore();
}

void DrawCoordinate(QPainter& painter, const QRectF& cellRect, const QRectF& board, char label) {
  QFont font(ChessGlyphFace);
  font.setPixelSize(std::max(1, static_cast<int>(cellRect.height() * 0.42)));
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::black);
  QRectF room = cellRect;
  // Away from the frame: left of it for ranks, below it for files.
  const double clearance = cellRect.width() * (DoubleGap + ThickRule + ThinRule + 0.05);
  if (label >= 'a') {
    room.setTop(board.bottom() + clearance);
  } else {
    room.setRight(board.left() - clearance);
  }
  painter.drawText(room, Qt::AlignCenter, QString(QChar(label)));
  painter.restore();
}

}  // namespace

void DrawDiagramText(QPainter& painter, int left, int top, int cellWidth, int lineHeight,
                     std::string_view diagramText) {
  const QRectF board(left + cellWidth, top + lineHeight, 8.0 * cellWidth, 8.0 * lineHeight);
  for (int row = 0; row < Side; ++row) {
    for (int column = 0; column < Side; ++column) {
      const std::size_t i = static_cast<std::size_t>(row * Side + column);
      if (i >= diagramText.size()) return;
      const DiagramCell cell = DescribeDiagramCell(static_cast<unsigned char>(diagramText[i]));
      const QRectF rect(left + column * cellWidth, top + row * lineHeight, cellWidth, lineHeight);
      switch (cell.kind) {
        case CellKind::Blank:
          break;
        case CellKind::Square:
          if (cell.dark) HatchSquare(painter, rect, board.topLeft());
          if (cell.man != Man::None) DrawMan(painter, rect, cell);
          break;
        case CellKind::Frame:
          DrawFrame(painter, rect, board, cell.doubleFrame);
          break;
        case CellKind::Coordinate:
          DrawFrame(painter, rect, board, cell.doubleFrame);
          DrawCoordinate(painter, rect, board, cell.label);
          break;
      }
    }
  }
}

}  // namespace kv::print
