#include "app/piece_images.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace kv::app {
namespace {

// Codes of the cells of one row, column by column.
constexpr std::array<PieceCode, 6> WhiteCells = {WhiteRook,   WhiteQueen, WhiteBishop,
                                                 WhiteKnight, WhitePawn,  WhiteKing};

QPainterPath SymbolPath(char32_t symbol, int cell, const QString& family) {
  QFont font(family);
  font.setPixelSize(cell * 15 / 16);
  font.setStyleStrategy(QFont::PreferOutline);
  QPainterPath path;
  path.addText(0, 0, font, QString::fromUcs4(&symbol, 1));
  // Centre the symbol in its cell.
  const QRectF box = path.boundingRect();
  path.translate(cell / 2.0 - box.center().x(), cell / 2.0 - box.center().y());
  return path;
}

// The pixels not reachable from the cell's edge through transparent pixels:
// the man's silhouette, holes included.
QImage Silhouette(const QImage& drawn) {
  const int w = drawn.width();
  const int h = drawn.height();
  std::vector<unsigned char> outside(static_cast<std::size_t>(w * h), 0);
  std::vector<std::pair<int, int>> stack;
  auto push = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const std::size_t i = static_cast<std::size_t>(y * w + x);
    if (outside[i] || qAlpha(drawn.pixel(x, y)) >= 96) return;
    outside[i] = 1;
    stack.emplace_back(x, y);
  };
  for (int x = 0; x < w; ++x) {
    push(x, 0);
    push(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    push(0, y);
    push(w - 1, y);
  }
  while (!stack.empty()) {
    const auto [x, y] = stack.back();
    stack.pop_back();
    push(x + 1, y);
    push(x - 1, y);
    push(x, y + 1);
    push(x, y - 1);
  }
  QImage mask(w, h, QImage::Format_Alpha8);
  for (int y = 0; y < h; ++y) {
    uchar* line = mask.scanLine(y);
    for (int x = 0; x < w; ++x) line[x] = outside[static_cast<std::size_t>(y * w + x)] ? 0 : 255;
  }
  return mask;
}

}  // namespace

char32_t PieceSymbol(PieceCode code) {
  switch (code) {
    case WhiteKing:
      return 0x2654;
    case WhiteQueen:
      return 0x2655;
    case WhiteRook:
      return 0x2656;
    case WhiteBishop:
      return 0x2657;
    case WhiteKnight:
      return 0x2658;
    case WhitePawn:
      return 0x2659;
    case BlackKing:
      return 0x265A;
    case BlackQueen:
      return 0x265B;
    case BlackRook:
      return 0x265C;
    case BlackBishop:
      return 0x265D;
    case BlackKnight:
      return 0x265E;
    case BlackPawn:
      return 0x265F;
    default:
      return 0;
  }
}

namespace {

QImage DrawSymbol(char32_t symbol, int cell, qreal outline, const QString& family) {
  const QPainterPath path = SymbolPath(symbol, cell, family);
  QImage drawn(cell, cell, QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  QPainter p(&drawn);
  p.setRenderHint(QPainter::Antialiasing);
  if (outline > 0) p.strokePath(path, QPen(Qt::black, outline));
  p.fillPath(path, Qt::black);
  return drawn;
}

}  // namespace

PieceImages RenderPieceImages(PieceSet set, int cell, const QString& family) {
  PieceImages images;
  images.cell = cell;
  const qreal outline = set == PieceSet::Classic ? cell / 24.0 : 0.0;
  for (int code = 1; code < 16; ++code) {
    const auto man = static_cast<PieceCode>(code);
    if (PieceSymbol(man) == 0) continue;
    const QImage drawn = DrawSymbol(PieceSymbol(man), cell, outline, family);
    // The silhouette comes from the solid symbol of the kind: a thin outline
    // may leave gaps at small sizes, the solid shape does not.
    const QImage solid =
        code < OffBoard
            ? DrawSymbol(PieceSymbol(static_cast<PieceCode>(16 - code)), cell, outline, family)
            : drawn;
    const QImage mask = Silhouette(solid);
    QImage image(cell, cell, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter p(&image);
      // Mask first (the square shows white under the man), then the symbol.
      QImage white(cell, cell, QImage::Format_ARGB32_Premultiplied);
      white.fill(Qt::white);
      white.setAlphaChannel(mask);
      p.drawImage(0, 0, white);
      p.drawImage(0, 0, drawn);
    }
    images.men[code] = QPixmap::fromImage(image);
    images.masks[code] = mask;
  }
  return images;
}

QImage PieceStrip(const PieceImages& images) {
  const int c = images.cell;
  QImage strip(6 * c, 3 * c, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::white);
  QPainter p(&strip);
  for (int column = 0; column < 6; ++column) {
    const PieceCode white = WhiteCells[column];
    const auto black = static_cast<PieceCode>(16 - white);
    p.drawPixmap(column * c, 0, images.Man(white));
    p.drawPixmap(column * c, c, images.Man(black));
    QImage mask(c, c, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::black);
    mask.setAlphaChannel(images.masks[static_cast<unsigned>(white)]);
    p.drawImage(column * c, 2 * c, mask);
  }
  return strip;
}

}  // namespace kv::app
