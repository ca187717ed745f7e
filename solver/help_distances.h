// The geometry of an empty board that the helpmate move counts share: what
// each kind of man attacks from each square, and the fewest moves a man
// needs from one square to another when nothing stands in its way (a pawn
// taking whenever it changes file, promoting when that is shorter). Squares
// are numbered by their bit in a set of squares: 0 is a8, 63 is h1; row 0 is
// the eighth rank, so White's pawns move towards row 0.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/position.h"

namespace kv::help_distances {

// Moves no man can make in a helpmate of this program.
inline constexpr int Far = 64;

constexpr int Row(int n) {
  return n >> 3;
}
constexpr int Column(int n) {
  return n & 7;
}
constexpr bool OnBoard(int row, int column) {
  return row >= 0 && row < 8 && column >= 0 && column < 8;
}
constexpr std::uint64_t Bit(int row, int column) {
  return OnBoard(row, column) ? std::uint64_t{1} << (row * 8 + column) : 0;
}

// What each kind of man attacks from each square of an empty board.
struct EmptyBoard {
  std::array<std::uint64_t, 64> king{}, knight{}, bishop{}, rook{}, whitePawn{};
  // The fewest knight jumps between two squares.
  std::array<std::array<std::uint8_t, 64>, 64> jumps{};
};

constexpr EmptyBoard MakeEmptyBoard() {
  EmptyBoard e;
  constexpr int knightRows[] = {-2, -2, -1, -1, 1, 1, 2, 2};
  constexpr int knightColumns[] = {-1, 1, -2, 2, -2, 2, -1, 1};
  for (int n = 0; n < 64; ++n) {
    const int r = Row(n);
    const int c = Column(n);
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc)
        if (dr != 0 || dc != 0) e.king[n] |= Bit(r + dr, c + dc);
    for (int i = 0; i < 8; ++i) e.knight[n] |= Bit(r + knightRows[i], c + knightColumns[i]);
    for (int m = 0; m < 64; ++m) {
      if (m == n) continue;
      const int dr = Row(m) - r;
      const int dc = Column(m) - c;
      if (dr == 0 || dc == 0) e.rook[n] |= std::uint64_t{1} << m;
      if (dr == dc || dr == -dc) e.bishop[n] |= std::uint64_t{1} << m;
    }
    e.whitePawn[n] = Bit(r - 1, c - 1) | Bit(r - 1, c + 1);
  }
  // Jumps by breadth-first rings, once every square's jumps are known.
  for (int n = 0; n < 64; ++n) {
    auto& jumps = e.jumps[n];
    for (auto& j : jumps) j = Far;
    jumps[n] = 0;
    std::uint64_t ring = std::uint64_t{1} << n;
    std::uint64_t seen = ring;
    for (std::uint8_t d = 1; ring != 0; ++d) {
      std::uint64_t next = 0;
      for (int m = 0; m < 64; ++m)
        if ((ring >> m) & 1) next |= e.knight[m];
      next &= ~seen;
      for (int m = 0; m < 64; ++m)
        if ((next >> m) & 1) jumps[m] = d;
      seen |= next;
      ring = next;
    }
  }
  return e;
}
inline constexpr EmptyBoard kEmpty = MakeEmptyBoard();

enum class Kind { King, Queen, Rook, Bishop, Knight };

// The kind of a man of either colour other than a pawn.
constexpr Kind KindOf(int man) {
  switch (man) {
    case WhiteQueen:
    case BlackQueen:
      return Kind::Queen;
    case WhiteRook:
    case BlackRook:
      return Kind::Rook;
    case WhiteBishop:
    case BlackBishop:
      return Kind::Bishop;
    case WhiteKnight:
    case BlackKnight:
      return Kind::Knight;
    default:
      return Kind::King;
  }
}

constexpr std::uint64_t Attacks(Kind kind, int n) {
  switch (kind) {
    case Kind::King:
      return kEmpty.king[n];
    case Kind::Queen:
      return kEmpty.rook[n] | kEmpty.bishop[n];
    case Kind::Rook:
      return kEmpty.rook[n];
    case Kind::Bishop:
      return kEmpty.bishop[n];
    case Kind::Knight:
      return kEmpty.knight[n];
  }
  return 0;
}

// The fewest moves of a piece from `from` to `to` on an empty board.
constexpr int Distance(Kind kind, int from, int to) {
  if (from == to) return 0;
  const int dr = Row(to) > Row(from) ? Row(to) - Row(from) : Row(from) - Row(to);
  const int dc = Column(to) > Column(from) ? Column(to) - Column(from) : Column(from) - Column(to);
  const bool straight = dr == 0 || dc == 0;
  const bool diagonal = dr == dc;
  switch (kind) {
    case Kind::King:
      return std::max(dr, dc);
    case Kind::Queen:
      return straight || diagonal ? 1 : 2;
    case Kind::Rook:
      return straight ? 1 : 2;
    case Kind::Bishop:
      if ((dr + dc) % 2 != 0) return Far;
      return diagonal ? 1 : 2;
    case Kind::Knight:
      return kEmpty.jumps[from][to];
  }
  return Far;
}

// The fewest moves of a pawn that advances `forward` rows (its own way)
// and changes file `sideways` times by taking, starting on its home row
// when `home`; a double step covers two rows without taking.
constexpr int PawnDistance(int forward, int sideways, bool home) {
  if (forward < 0 || sideways > forward) return Far;
  if (home && forward >= 2 && sideways <= forward - 2) return forward - 1;
  return forward;
}

// A man's fewest moves to reach a square, as it is or promoted to a queen
// or a knight (the other promotions reach and attack no more than those).
struct PawnWay {
  int rowsToGo;  // rows to the promotion row
  int column;
  bool home;
  constexpr int To(int target, int targetRowsToGo) const {
    const int sideways =
        Column(target) > column ? Column(target) - column : column - Column(target);
    return PawnDistance(rowsToGo - targetRowsToGo, sideways, home);
  }
  // Promoted on the last row at column `p` and then moved as `kind`.
  constexpr int Promoted(Kind kind, int target, int promotionRow) const {
    int best = Far;
    for (int p = std::max(0, column - rowsToGo); p <= std::min(7, column + rowsToGo); ++p) {
      const int reach = PawnDistance(rowsToGo, p > column ? p - column : column - p, home);
      best = std::min(best, reach + Distance(kind, promotionRow * 8 + p, target));
    }
    return best;
  }
};

constexpr PawnWay WhitePawnWay(int n) {
  return {Row(n), Column(n), Row(n) == 6};
}
constexpr PawnWay BlackPawnWay(int n) {
  return {7 - Row(n), Column(n), Row(n) == 1};
}

// Every distance above, from every square to every square: the bound runs
// at many positions of a search and may not compute them again each time.
using SquareTable = std::array<std::array<std::uint8_t, 64>, 64>;
struct DistanceTables {
  std::array<SquareTable, 5> piece{};                    // by Kind
  SquareTable whitePawn{}, whiteQueen{}, whiteKnight{};  // as a pawn, promoted
  SquareTable blackBlock{};  // a black pawn's fewest moves to a square, any way
};
constexpr DistanceTables MakeDistanceTables() {
  DistanceTables t;
  for (int from = 0; from < 64; ++from)
    for (int to = 0; to < 64; ++to) {
      for (int k = 0; k < 5; ++k)
        t.piece[k][from][to] = static_cast<std::uint8_t>(Distance(static_cast<Kind>(k), from, to));
      const PawnWay white = WhitePawnWay(from);
      t.whitePawn[from][to] =
          static_cast<std::uint8_t>(Row(to) > 0 ? std::min(Far, white.To(to, Row(to))) : Far);
      t.whiteQueen[from][to] =
          static_cast<std::uint8_t>(std::min(Far, white.Promoted(Kind::Queen, to, 0)));
      t.whiteKnight[from][to] =
          static_cast<std::uint8_t>(std::min(Far, white.Promoted(Kind::Knight, to, 0)));
      const PawnWay black = BlackPawnWay(from);
      int block = Row(to) < 7 ? black.To(to, 7 - Row(to)) : Far;
      block = std::min(block, black.Promoted(Kind::Queen, to, 7));
      block = std::min(block, black.Promoted(Kind::Knight, to, 7));
      t.blackBlock[from][to] = static_cast<std::uint8_t>(std::min(Far, block));
    }
  return t;
}
// Made when the program starts (help_distances.cpp): too much work for a
// compile-time constant.
extern const DistanceTables kDistances;
}  // namespace kv::help_distances
