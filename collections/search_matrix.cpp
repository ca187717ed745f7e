#include "collections/search_matrix.h"

#include <algorithm>

#include "collections/kvl_format.h"
#include "solver/board_operations.h"

namespace kv {
namespace {

constexpr int LastStoredSquare = PositionByteCount - 1;

constexpr int ColumnOf(int square) {
  return square % 8;
}

bool IsPatternMan(std::uint8_t byte) {
  return byte != PositionByteBias && IsValidPositionByte(byte);
}

// The men of the pattern from square `first` on: each must stand at its gap
// from the previous one, on the board.
bool MenFollowFrom(const MatrixPattern& pattern, int first, const PositionBytes& position) {
  int square = first;
  for (std::size_t k = 1; k < pattern.men.size(); ++k) {
    square += pattern.men[k].gap;
    if (square > LastStoredSquare) return false;
    if (position[static_cast<std::size_t>(square)] != pattern.men[k].man) return false;
  }
  return true;
}

Board Turned(Board board, int quarterTurns) {
  Board backup{};
  for (int i = 0; i < quarterTurns; ++i) BoardOperation(board, backup, OpRotate90);
  return board;
}

Board Operated(Board board, int operation) {
  Board backup{};
  BoardOperation(board, backup, operation);
  return board;
}

}  // namespace

MatrixPattern PatternFromPosition(const PositionBytes& position, bool shifted) {
  MatrixPattern pattern;
  int first = -1;
  int previous = -1;
  int minColumn = 7;
  int maxColumn = 0;
  int gapSum = 0;
  for (int square = 0; square < PositionByteCount; ++square) {
    const std::uint8_t man = position[static_cast<std::size_t>(square)];
    if (!IsPatternMan(man)) continue;
    if (first < 0) first = square;
    const int gap = square == first ? (shifted ? -1 : square) : square - previous;
    pattern.men.push_back({gap, man});
    gapSum += gap;
    minColumn = std::min(minColumn, ColumnOf(square));
    maxColumn = std::max(maxColumn, ColumnOf(square));
    previous = square;
  }
  if (first < 0) return pattern;
  pattern.firstColumnMin = ColumnOf(first) - minColumn;
  pattern.firstColumnMax = ColumnOf(first) - maxColumn + 7;
  pattern.lastFirstSquare = LastStoredSquare - gapSum;
  return pattern;
}

MatrixPattern PatternFromBoard(const Board& board, bool shifted) {
  return PatternFromPosition(BoardToPositionBytes(board), shifted);
}

std::vector<MatrixPattern> SearchPatterns(const Board& board, int matrixFlags) {
  const bool shifted = (matrixFlags & MatrixGap) != 0;
  const bool rotation = (matrixFlags & MatrixRotation) != 0;
  const bool symmetry = (matrixFlags & MatrixSymmetry) != 0;
  std::vector<Board> boards = {board};
  if (rotation) {
    boards.push_back(Turned(board, 1));
    boards.push_back(Turned(board, 3));
  }
  if (symmetry || rotation) boards.push_back(Turned(board, 2));
  if (symmetry) {
    boards.push_back(Operated(board, OpMirrorFiles));
    boards.push_back(Operated(board, OpMirrorRanks));
  }
  if (symmetry && rotation) {
    boards.push_back(Operated(Turned(board, 1), OpMirrorRanks));
    boards.push_back(Operated(Turned(board, 3), OpMirrorRanks));
  }
  std::vector<MatrixPattern> patterns;
  for (const Board& b : boards) {
    MatrixPattern pattern = PatternFromBoard(b, shifted);
    if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end()) {
      patterns.push_back(std::move(pattern));
    }
  }
  return patterns;
}

bool MatchesPattern(const MatrixPattern& pattern, const PositionBytes& position) {
  if (pattern.men.empty()) return true;
  const PatternMan& first = pattern.men.front();
  if (first.gap >= 0) {
    return first.gap <= LastStoredSquare &&
           position[static_cast<std::size_t>(first.gap)] == first.man &&
           MenFollowFrom(pattern, first.gap, position);
  }
  const int last = std::min(pattern.lastFirstSquare, LastStoredSquare);
  for (int square = 0; square <= last; ++square) {
    if (position[static_cast<std::size_t>(square)] != first.man) continue;
    const int column = ColumnOf(square);
    if (column < pattern.firstColumnMin || column > pattern.firstColumnMax) continue;
    if (MenFollowFrom(pattern, square, position)) return true;
  }
  return false;
}

std::array<std::uint8_t, MatrixPatternBytes> PatternBytes(const MatrixPattern& pattern) {
  std::array<std::uint8_t, MatrixPatternBytes> bytes{};
  bytes[0] = static_cast<std::uint8_t>(pattern.firstColumnMin);
  bytes[1] = static_cast<std::uint8_t>(pattern.firstColumnMax);
  bytes[2] = static_cast<std::uint8_t>(pattern.lastFirstSquare);
  const std::size_t men = std::min<std::size_t>(pattern.men.size(), MaxStoredPatternMen);
  for (std::size_t k = 0; k < men; ++k) {
    bytes[3 + 2 * k] = static_cast<std::uint8_t>(pattern.men[k].gap);
    bytes[4 + 2 * k] = pattern.men[k].man;
  }
  return bytes;
}

bool PatternFromBytes(const std::array<std::uint8_t, MatrixPatternBytes>& bytes,
                      MatrixPattern& pattern) {
  pattern = MatrixPattern{};
  const int columnMin = bytes[0];
  const int columnMax = bytes[1];
  const bool headerOk = columnMin <= columnMax && columnMax <= 7;
  int base = 0;  // the first man's square when anchored
  int span = 0;  // squares from the first man to the last
  bool complete = true;
  for (int k = 0; k < MaxStoredPatternMen; ++k) {
    const int gap = static_cast<std::int8_t>(bytes[static_cast<std::size_t>(3 + 2 * k)]);
    const std::uint8_t man = bytes[static_cast<std::size_t>(4 + 2 * k)];
    if (man == 0) break;
    bool valid = IsPatternMan(man);
    if (k == 0 && gap == -1) {
      valid = valid && headerOk;
    } else if (k == 0) {
      valid = valid && gap >= 0 && gap <= LastStoredSquare;
      base = gap;
    } else {
      valid = valid && gap >= 1 && base + span + gap <= LastStoredSquare;
    }
    if (!valid) {
      complete = false;
      break;
    }
    if (k > 0) span += gap;
    pattern.men.push_back({gap, man});
  }
  if (pattern.men.empty()) return complete;
  if (pattern.shifted()) {
    pattern.firstColumnMin = columnMin;
    pattern.firstColumnMax = columnMax;
    pattern.lastFirstSquare = LastStoredSquare - span + 1;
  } else {
    // An anchored pattern's leading bytes follow from its squares.
    PositionBytes position = EmptyPositionBytes();
    int square = 0;
    for (const PatternMan& m : pattern.men) {
      square += m.gap;
      position[static_cast<std::size_t>(square)] = m.man;
    }
    pattern = PatternFromPosition(position, false);
  }
  return complete;
}

void RecoverMatrix(const MatrixPattern& pattern, Board& board) {
  board.fill(OffBoard);
  for (int n = 0; n < PositionByteCount; ++n) board[StoredSquare(n)] = Empty;
  if (pattern.men.empty()) return;
  int square = pattern.shifted() ? pattern.firstColumnMin : pattern.men.front().gap;
  for (std::size_t k = 0; k < pattern.men.size(); ++k) {
    if (k > 0) square += pattern.men[k].gap;
    if (square < 0 || square > LastStoredSquare) break;
    board[StoredSquare(square)] = static_cast<PieceCode>(pattern.men[k].man - PositionByteBias);
  }
}

}  // namespace kv
