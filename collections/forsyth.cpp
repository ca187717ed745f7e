#include "collections/forsyth.h"

namespace kv {
namespace {

constexpr int Ranks = 8;
constexpr int Files = 8;
constexpr int PieceCodeCount = 16;
constexpr char SecondFrameSet = 0x10;                // even styles: the frame characters 0x10 lower
constexpr unsigned char RankCoordinate1 = 0xC0;      // left edge of rank 1; rank 8 is 0xC7
constexpr unsigned char FileCoordinateA = 0xC8;      // bottom edge of file a; file h is 0xCF
constexpr unsigned char SecondCoordinateSet = 0x20;  // style 4

constexpr SquareIndex Square(int rankFromTop, int file) {
  return FirstSquare + 10 * rankFromTop + file;
}

// The frame character of a border cell of the 10 x 10 diagram.
char BorderCharacter(int row, int column, int style) {
  if (style == 0) return ' ';
  const bool even = style % 2 == 0;
  const bool coordinates = style >= 3;
  const unsigned char coordinateShift = style == 4 ? SecondCoordinateSet : 0;
  char frame;
  if (row == 0) {
    frame = column == 0 ? '1' : column == DiagramSide - 1 ? '3' : '2';
  } else if (row == DiagramSide - 1) {
    if (column == 0) return even ? '/' : '7';
    if (column == DiagramSide - 1) {
      frame = '9';
    } else {
      if (coordinates) return static_cast<char>(FileCoordinateA + (column - 1) + coordinateShift);
      frame = '8';
    }
  } else if (column == 0) {
    if (coordinates) {
      return static_cast<char>(RankCoordinate1 + (Ranks - row) + coordinateShift);
    }
    frame = '4';
  } else {
    frame = '5';
  }
  return even ? static_cast<char>(frame - SecondFrameSet) : frame;
}

}  // namespace

std::string BoardToForsyth(const Board& board, bool slashes) {
  std::string text;
  for (int rank = 0; rank < Ranks; ++rank) {
    int emptyCount = 0;
    for (int file = 0; file < Files; ++file) {
      const int man = board[Square(rank, file)];
      if (man <= 0 || man >= PieceCodeCount || ForsythLetters[man] == ' ') {
        ++emptyCount;
        continue;
      }
      if (emptyCount > 0) text += static_cast<char>('0' + emptyCount);
      emptyCount = 0;
      text += ForsythLetters[man];
    }
    if (emptyCount > 0) text += static_cast<char>('0' + emptyCount);
    if (slashes && rank < Ranks - 1) text += '/';
  }
  if (!slashes && text.size() > Ranks) {
    while (!text.empty() && text.back() < 'A') text.pop_back();
  }
  return text;
}

void ForsythToBoard(std::string_view text, Board& board) {
  int square = 0;
  const auto fill = [&](PieceCode man) {
    board[Square(square / Files, square % Files)] = man;
    ++square;
  };
  for (const char c : text) {
    if (square >= Ranks * Files || c == '\0') break;
    if (c == '/') continue;
    if (c >= '1' && c <= '8') {
      for (int n = c - '0'; n > 0 && square < Ranks * Files; --n) fill(Empty);
      continue;
    }
    const std::size_t code = ForsythLetters.find(c);
    fill(code == std::string_view::npos ? Empty : static_cast<PieceCode>(code));
  }
  while (square < Ranks * Files) fill(Empty);
}

std::string BoardToDiagramText(const Board& board, int borderStyle) {
  if (borderStyle < 0 || borderStyle > MaxBorderStyle) borderStyle = 0;
  std::string text;
  text.reserve(DiagramTextLength);
  // The colour flips after every cell and once more at each new row, so that
  // every rank starts on the colour opposite to the rank above; a8 is light.
  bool dark = false;
  for (int row = 0; row < DiagramSide; ++row) {
    if (row > 0) dark = !dark;
    for (int column = 0; column < DiagramSide; ++column, dark = !dark) {
      const bool border =
          row == 0 || row == DiagramSide - 1 || column == 0 || column == DiagramSide - 1;
      if (border) {
        text += BorderCharacter(row, column, borderStyle);
        continue;
      }
      const int man = board[Square(row - 1, column - 1)];
      char letter = (man > 0 && man < PieceCodeCount) ? DiagramLetters[man] : ' ';
      if (letter == ' ') {
        text += dark ? '+' : ' ';
      } else {
        text += dark ? static_cast<char>(letter - 0x20) : letter;
      }
    }
  }
  return text;
}

}  // namespace kv
