// What each character of the diagram text stands for when it is drawn: a
// square (light or dark, empty or with a man), a piece of the frame, or a
// coordinate. The diagram text is the layout of a chess diagram font; the
// printer draws each cell itself from this description.
#pragma once

#include <cstdint>

namespace kv::print {

enum class CellKind : std::uint8_t { Blank, Square, Frame, Coordinate };

// The sides of a frame cell that touch the board (so the frame line runs
// along them); a corner cell touches at one corner, given by two sides.
inline constexpr std::uint8_t SideTop = 1, SideBottom = 2, SideLeft = 4, SideRight = 8;

// Men in the order of the Unicode chess symbols: king, queen, rook, bishop,
// knight, pawn.
enum class Man : std::uint8_t { None, King, Queen, Rook, Bishop, Knight, Pawn };

struct DiagramCell {
  CellKind kind = CellKind::Blank;
  bool dark = false;
  Man man = Man::None;
  bool black = false;
  std::uint8_t boardSides = 0;  // frame and coordinate cells
  bool doubleFrame = false;
  char label = 0;  // coordinate: 'a'..'h' or '1'..'8'
};

DiagramCell DescribeDiagramCell(unsigned char code);

// The Unicode chess symbol of a man: outline for White, solid for Black.
char32_t ManCodePoint(Man man, bool black);

}  // namespace kv::print
