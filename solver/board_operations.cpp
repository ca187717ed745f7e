#include "solver/board_operations.h"

namespace kv {
namespace {

// The 64 squares as an 8 x 8 grid [row][column], row 0 = rank 8.
using Grid = std::array<std::array<std::int8_t, 8>, 8>;

Grid ReadGrid(const Board& board) {
  Grid grid{};
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) grid[r][c] = board[SquareAt(c, r)];
  return grid;
}

void WriteGrid(const Grid& grid, Board& board) {
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) board[SquareAt(c, r)] = grid[r][c];
}

// Every man moves by (dc, dr); with `torus` the line that leaves re-enters on
// the opposite side, otherwise the entering line is empty.
Grid Shift(const Grid& in, int dc, int dr, bool torus) {
  Grid out{};
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      int nc = c + dc;
      int nr = r + dr;
      if (torus) {
        nc = (nc + 8) % 8;
        nr = (nr + 8) % 8;
      } else if (nc < 0 || nc > 7 || nr < 0 || nr > 7) {
        continue;
      }
      out[nr][nc] = in[r][c];
    }
  }
  return out;
}

}  // namespace

bool BoardOperation(Board& board, Board& backup, int operation) {
  const bool torus = operation >= 12;
  const int base = torus ? operation - OpToroidal : operation;
  if (torus && base != OpShiftDown && base != OpShiftLeft && base != OpShiftRight &&
      base != OpShiftUp)
    return false;
  const Grid grid = ReadGrid(board);
  Grid out{};
  switch (base) {
    case OpClear:
      backup = board;
      board.fill(OffBoard);
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) board[SquareAt(c, r)] = Empty;
      return true;
    case OpRestore:
      board = backup;
      return true;
    case OpShiftDown:
      out = Shift(grid, 0, 1, torus);
      break;
    case OpShiftLeft:
      out = Shift(grid, -1, 0, torus);
      break;
    case OpShiftRight:
      out = Shift(grid, 1, 0, torus);
      break;
    case OpShiftUp:
      out = Shift(grid, 0, -1, torus);
      break;
    case OpMirrorFiles:
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) out[r][7 - c] = grid[r][c];
      break;
    case OpMirrorRanks:
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) out[7 - r][c] = grid[r][c];
      break;
    case OpRotate90:
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) out[c][7 - r] = grid[r][c];
      break;
    case OpSwapColours:
      out = grid;
      for (auto& row : out)
        for (auto& cell : row)
          if (cell != Empty && cell != OffBoard) cell = static_cast<std::int8_t>(16 - cell);
      break;
    default:
      return false;
  }
  WriteGrid(out, board);
  return true;
}

}  // namespace kv
