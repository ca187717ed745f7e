// The images of the men, drawn once at start from the chess symbols of an
// installed font. A set holds, for each man, its image with the square
// showing through outside it, and its mask (opaque where the man covers the
// square), in cells of one size: 32 pixels for the board and the box, 16 for
// the small diagrams.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>

#include "core/position.h"

namespace kv::app {

// "CLASSIC" is drawn with a heavier outline than "MODERN".
enum class PieceSet { Modern = 0, Classic = 1 };

struct PieceImages {
  int cell = 32;
  // By PieceCode (0..15); codes that are no man hold null pixmaps.
  std::array<QPixmap, 16> men;
  std::array<QImage, 16> masks;  // Format_Alpha8: 255 where the man covers
  const QPixmap& Man(PieceCode code) const { return men[static_cast<unsigned>(code) & 15]; }
};

// The font the symbols are taken from unless the caller names another.
inline constexpr const char* DefaultPieceFont = "DejaVu Sans";

// Draws the twelve men of one set at the given cell size. White men are the
// outline symbols (U+2654..U+2659) filled white, black men the solid ones
// (U+265A..U+265F); inside the outline the man is opaque, so a man reads the
// same on light and dark squares.
PieceImages RenderPieceImages(PieceSet set, int cell, const QString& family = DefaultPieceFont);

// The Unicode chess symbol of a man: U+2654 (white king) .. U+265F (black
// pawn); 0 for a code that is no man.
char32_t PieceSymbol(PieceCode code);

// The strip of the stated layout (three rows of six cells: white men, black
// men, masks; columns rook, queen, bishop, knight, pawn, king), for checks and
// for anyone who wants the images as one bitmap.
QImage PieceStrip(const PieceImages& images);

}  // namespace kv::app
