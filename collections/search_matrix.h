// The position pattern of the search (the matrix): the men of a board as a
// sparse list of (gap, man) pairs in square order a8 .. h1, so that testing a
// record costs one comparison per man and nothing for empty squares.
//
// An anchored pattern holds the men on their squares. A shifted pattern
// (the Gap flag) may stand anywhere it fits: its first man may stand on any
// square whose column keeps every man of the pattern on the board.
//
// Stored form (64 bytes, as the configuration memorizes it): byte 0 = column
// of the first man minus the smallest column of the men; byte 1 = column of
// the first man minus the largest column plus 7; byte 2 = 63 minus the sum of
// the gaps; then the pairs (gap, PieceCode + 0x20). The first man's gap is its
// square index 0 .. 63, or -1 for a shifted pattern. A zero man byte ends the
// list.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "collections/current_problem.h"
#include "core/position.h"

namespace kv {

// Matrix flags of the search criteria.
inline constexpr int MatrixIdentity = 1;
inline constexpr int MatrixGap = 2;  // the pattern may stand anywhere it fits
inline constexpr int MatrixSymmetry = 4;
inline constexpr int MatrixRotation = 8;
inline constexpr int MatrixFlagsMask = 15;

inline constexpr int MatrixPatternBytes = 64;
// The stored form has room for this many men after its three leading bytes.
inline constexpr int MaxStoredPatternMen = (MatrixPatternBytes - 3) / 2;  // 30

struct PatternMan {
  int gap = 0;           // squares after the previous man (first man: see above)
  std::uint8_t man = 0;  // PieceCode + 0x20

  bool operator==(const PatternMan&) const = default;
};

struct MatrixPattern {
  int firstColumnMin = 0;    // byte 0
  int firstColumnMax = 7;    // byte 1
  int lastFirstSquare = 63;  // byte 2
  std::vector<PatternMan> men;

  bool shifted() const { return !men.empty() && men.front().gap < 0; }
  bool operator==(const MatrixPattern&) const = default;
};

// The pattern of the men on the 64 squares (stored order); shifted when asked.
MatrixPattern PatternFromPosition(const PositionBytes& position, bool shifted);
MatrixPattern PatternFromBoard(const Board& board, bool shifted);

// The patterns of the board and of the orientations the flags ask for:
// always the board as it is; with Rotation the quarter and three-quarter
// turns; with Symmetry or Rotation the half turn; with Symmetry the board
// with files reversed and with ranks reversed; with both also the two
// diagonal reflections. Orientations that give the same pattern are kept once.
// The board is left as it was.
std::vector<MatrixPattern> SearchPatterns(const Board& board, int matrixFlags);

// True when the pattern stands on the position. An anchored pattern needs
// each of its men on its square, whatever else stands on the board; a
// shifted one needs that for at least one allowed square of its first man.
// A pattern without men matches every position.
bool MatchesPattern(const MatrixPattern& pattern, const PositionBytes& position);

// The 64-byte stored form. A pattern of more than 30 men keeps its first 30.
std::array<std::uint8_t, MatrixPatternBytes> PatternBytes(const MatrixPattern& pattern);

// The pattern of a stored form, checked: the list ends at the first zero man
// byte, at a man byte that is no man or at a gap that leaves the board (what
// comes after is dropped and the result is false).
bool PatternFromBytes(const std::array<std::uint8_t, MatrixPatternBytes>& bytes,
                      MatrixPattern& pattern);

// The men of the pattern back on an empty board (the dialog's "Recover the
// matrix"): at their squares, or for a shifted pattern with its first man on
// the first square its byte 0 allows. Men that would leave the board are
// not placed.
void RecoverMatrix(const MatrixPattern& pattern, Board& board);

}  // namespace kv
