// Draws the diagram text as a chess publication prints a diagram: men from
// the Unicode chess symbols of an installed font (white men as outlines
// filled white, black men solid), dark squares hatched, the frame as thin
// and thick rules, coordinates in small letters.
#pragma once

#include <QPainter>
#include <string_view>

namespace kv::print {

// The font whose chess symbols draw the men.
inline constexpr const char* ChessGlyphFace = "DejaVu Sans";

// Draws the 10 x 10 cells of `diagramText` with their top-left corner at
// (left, top): cells cellWidth wide and lineHeight high.
void DrawDiagramText(QPainter& painter, int left, int top, int cellWidth, int lineHeight,
                     std::string_view diagramText);

}  // namespace kv::print
