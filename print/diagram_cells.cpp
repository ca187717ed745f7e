#include "print/diagram_cells.h"

#include <string_view>

namespace kv::print {
namespace {

// The font's letters on light squares, white men then black men, each in the
// order king, queen, rook, bishop, knight, pawn; a dark square has the upper
// case letter.
constexpr std::string_view WhiteMenLetters = "kqrbnp";
constexpr std::string_view BlackMenLetters = "lwtvmo";

constexpr unsigned char RankCoordinate1 = 0xC0;
constexpr unsigned char FileCoordinateA = 0xC8;
constexpr unsigned char SecondCoordinateSet = 0x20;
constexpr char SecondFrameSet = 0x10;

DiagramCell Frame(std::uint8_t sides, bool doubled) {
  DiagramCell cell;
  cell.kind = CellKind::Frame;
  cell.boardSides = sides;
  cell.doubleFrame = doubled;
  return cell;
}

// The frame characters '1' .. '9' laid out as the keypad: the corner or edge
// of the board each one sits at.
bool FrameSides(char c, std::uint8_t& sides) {
  switch (c) {
    case '1':
      sides = SideBottom | SideRight;
      return true;  // top-left corner
    case '2':
      sides = SideBottom;
      return true;  // top edge
    case '3':
      sides = SideBottom | SideLeft;
      return true;  // top-right corner
    case '4':
      sides = SideRight;
      return true;  // left edge
    case '5':
      sides = SideLeft;
      return true;  // right edge
    case '7':
      sides = SideTop | SideRight;
      return true;  // bottom-left corner
    case '8':
      sides = SideTop;
      return true;  // bottom edge
    case '9':
      sides = SideTop | SideLeft;
      return true;  // bottom-right corner
    default:
      return false;
  }
}

}  // namespace

DiagramCell DescribeDiagramCell(unsigned char code) {
  DiagramCell cell;
  if (code == ' ') return cell;
  if (code == '+') {
    cell.kind = CellKind::Square;
    cell.dark = true;
    return cell;
  }
  if (code >= 'a' && code <= 'z') {
    if (const auto i = WhiteMenLetters.find(static_cast<char>(code)); i != std::string_view::npos) {
      cell.kind = CellKind::Square;
      cell.man = static_cast<Man>(i + 1);
    } else if (const auto j = BlackMenLetters.find(static_cast<char>(code));
               j != std::string_view::npos) {
      cell.kind = CellKind::Square;
      cell.man = static_cast<Man>(j + 1);
      cell.black = true;
    }
    return cell;
  }
  if (code >= 'A' && code <= 'Z') {
    cell = DescribeDiagramCell(static_cast<unsigned char>(code + 0x20));
    if (cell.kind == CellKind::Square) cell.dark = true;
    return cell;
  }
  std::uint8_t sides = 0;
  if (FrameSides(static_cast<char>(code), sides)) return Frame(sides, false);
  if (code == '/') return Frame(SideTop | SideRight, true);  // bottom-left of the double frame
  if (FrameSides(static_cast<char>(code + SecondFrameSet), sides)) return Frame(sides, true);
  for (const bool second : {false, true}) {
    const unsigned char shift = second ? SecondCoordinateSet : 0;
    if (code >= RankCoordinate1 + shift && code < RankCoordinate1 + shift + 8) {
      cell = Frame(SideRight, second);
      cell.kind = CellKind::Coordinate;
      cell.label = static_cast<char>('1' + (code - RankCoordinate1 - shift));
      return cell;
    }
    if (code >= FileCoordinateA + shift && code < FileCoordinateA + shift + 8) {
      cell = Frame(SideTop, second);
      cell.kind = CellKind::Coordinate;
      cell.label = static_cast<char>('a' + (code - FileCoordinateA - shift));
      return cell;
    }
  }
  return cell;
}

char32_t ManCodePoint(Man man, bool black) {
  if (man == Man::None) return 0;
  return U'\u2654' + (static_cast<int>(man) - 1) + (black ? 6 : 0);
}

}  // namespace kv::print
