// Squares are numbered here by their bit in a set of squares: 0 is a8, 63
// is h1; row 0 is the eighth rank, so Black's pawns move towards row 7.
#include "solver/series_bound.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/tables.h"
#include "solver/help_bound.h"
#include "solver/help_distances.h"

namespace kv {
namespace {

// The number of squares in a set. The build does not assume a processor
// that counts bits, so std::popcount would be a library call; the count is
// asked in the inner loops of the stuck-men count.
constexpr int SquareCount(std::uint64_t set) {
  set -= (set >> 1) & 0x5555555555555555ull;
  set = (set & 0x3333333333333333ull) + ((set >> 2) & 0x3333333333333333ull);
  set = (set + (set >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((set * 0x0101010101010101ull) >> 56);
}
static_assert(SquareCount(0) == 0 && SquareCount(~0ull) == 64 &&
              SquareCount(0x8000000000000101ull) == 3);

// Moves no man needs within any series.
constexpr int Far = 255;

using help_distances::Bit;
using help_distances::Column;
using help_distances::kEmpty;
using help_distances::OnBoard;
using help_distances::Row;

int BitOf(int cell) {
  return std::countr_zero(SquareBit[cell]);
}

// The fewest moves of a line piece or knight from `from` to `to` on an
// empty board.
int QueenDistance(int from, int to) {
  if (from == to) return 0;
  const int dr = std::abs(Row(to) - Row(from));
  const int dc = std::abs(Column(to) - Column(from));
  return (dr == 0 || dc == 0 || dr == dc) ? 1 : 2;
}
int RookDistance(int from, int to) {
  if (from == to) return 0;
  return (Row(to) == Row(from) || Column(to) == Column(from)) ? 1 : 2;
}
int BishopDistance(int from, int to) {
  if (from == to) return 0;
  const int dr = std::abs(Row(to) - Row(from));
  const int dc = std::abs(Column(to) - Column(from));
  if ((dr + dc) % 2 != 0) return Far;
  return dr == dc ? 1 : 2;
}

// A black pawn's fewest moves to a square: as a pawn (forward, a file
// aside for each capture, a double step from its home row), or promoted on
// the first rank to a queen or a knight and moved on from there.
int BlackPawnDistance(int from, int to) {
  const bool home = Row(from) == 1;
  const auto steps = [home](int forward, int sideways) {
    if (forward < 0 || sideways > forward) return Far;
    if (home && forward >= 2 && sideways <= forward - 2) return forward - 1;
    return forward;
  };
  int best = Row(to) < 7 ? steps(Row(to) - Row(from), std::abs(Column(to) - Column(from))) : Far;
  const int rowsToGo = 7 - Row(from);
  for (int p = std::max(0, Column(from) - rowsToGo); p <= std::min(7, Column(from) + rowsToGo);
       ++p) {
    const int reach = steps(rowsToGo, std::abs(p - Column(from)));
    if (reach >= Far) continue;
    const int promoted = 56 + p;
    best = std::min(best,
                    reach + std::min<int>(QueenDistance(promoted, to), kEmpty.jumps[promoted][to]));
  }
  return best;
}

int ComputedBlackManDistance(int man, int from, int to) {
  switch (man) {
    case BlackQueen:
      return QueenDistance(from, to);
    case BlackRook:
      return RookDistance(from, to);
    case BlackBishop:
      return BishopDistance(from, to);
    case BlackKnight:
      return kEmpty.jumps[from][to];
    case BlackPawn:
      return BlackPawnDistance(from, to);
    default:
      return Far;
  }
}

// Every black man's distances, by piece code 11..15, made once.
using DistanceTable = std::array<std::array<std::uint8_t, 64>, 64>;
const std::array<DistanceTable, 5> kBlackDistances = [] {
  std::array<DistanceTable, 5> tables{};
  for (int man = BlackPawn; man <= BlackRook; ++man)
    for (int from = 0; from < 64; ++from)
      for (int to = 0; to < 64; ++to)
        tables[man - BlackPawn][from][to] =
            static_cast<std::uint8_t>(std::min(Far, ComputedBlackManDistance(man, from, to)));
  return tables;
}();

int BlackManDistance(int man, int from, int to) {
  return man >= BlackPawn && man <= BlackRook ? kBlackDistances[man - BlackPawn][from][to] : Far;
}

// What a white man on `n` attacks on an empty board.
std::uint64_t WhiteAttacks(int man, int n) {
  switch (man) {
    case WhiteKing:
      return kEmpty.king[n];
    case WhiteQueen:
      return kEmpty.rook[n] | kEmpty.bishop[n];
    case WhiteRook:
      return kEmpty.rook[n];
    case WhiteBishop:
      return kEmpty.bishop[n];
    case WhiteKnight:
      return kEmpty.knight[n];
    case WhitePawn:
      return kEmpty.whitePawn[n];
    default:
      return 0;
  }
}

// The squares a white man reaches in one move on an empty board.
std::uint64_t WhiteOneMove(int man, int n) {
  if (man != WhitePawn) return WhiteAttacks(man, n);
  const int r = Row(n);
  const int c = Column(n);
  std::uint64_t reach = Bit(r - 1, c) | kEmpty.whitePawn[n];
  if (r == 6) reach |= Bit(r - 2, c);
  return reach;
}

// What a white man may attack after one move of its own (or standing).
std::uint64_t WhiteAttacksWithinOneMove(int man, int n) {
  std::uint64_t attacks = WhiteAttacks(man, n);
  for (std::uint64_t reach = WhiteOneMove(man, n); reach != 0; reach &= reach - 1) {
    const int to = std::countr_zero(reach);
    if (man == WhitePawn && Row(to) == 0) {
      attacks |= WhiteAttacks(WhiteQueen, to) | WhiteAttacks(WhiteKnight, to);
    } else {
      attacks |= WhiteAttacks(man, to);
    }
  }
  return attacks;
}

bool BlackMayCastle(const Position& pos) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  if (b[26] != BlackKing || counters[BlackKingMoves] != 0) return false;
  return (b[29] == BlackRook && counters[H8Moves] == 0) ||
         (b[22] == BlackRook && counters[A8Moves] == 0);
}

// The squares next to `n` along ranks and files, and along diagonals: the
// first steps of a rook and of a bishop.
constexpr std::uint64_t OrthogonalSteps(int n) {
  const int r = Row(n);
  const int c = Column(n);
  return Bit(r - 1, c) | Bit(r + 1, c) | Bit(r, c - 1) | Bit(r, c + 1);
}
constexpr std::uint64_t DiagonalSteps(int n) {
  return kEmpty.king[n] & ~OrthogonalSteps(n);
}

// The squares that must hold black men for a black man on `n` to have no
// move: a piece's first steps (it takes a white man standing there), a
// pawn's square ahead unless a white man stands there.
std::uint64_t SquaresThatStopIt(int man, int n, std::uint64_t white) {
  switch (man) {
    case BlackKnight:
      return kEmpty.knight[n];
    case BlackBishop:
      return DiagonalSteps(n);
    case BlackRook:
      return OrthogonalSteps(n);
    case BlackQueen:
      return kEmpty.king[n];
    case BlackPawn:
      return Row(n) < 7 ? Bit(Row(n) + 1, Column(n)) & ~white : 0;
    default:
      return 0;
  }
}

// The squares beyond `n` in each of eight directions: ranks and files
// (0 to 3), then diagonals (4 to 7); direction d and Opposite(d) point
// away from each other.
constexpr int kRayRows[8] = {-1, 1, 0, 0, -1, -1, 1, 1};
constexpr int kRayColumns[8] = {0, 0, -1, 1, -1, 1, -1, 1};
constexpr int Opposite(int d) {
  return d < 4 ? d ^ 1 : d ^ 3;
}
constexpr std::array<std::array<std::uint64_t, 8>, 64> kRays = [] {
  std::array<std::array<std::uint64_t, 8>, 64> rays{};
  for (int n = 0; n < 64; ++n)
    for (int d = 0; d < 8; ++d)
      for (int r = Row(n) + kRayRows[d], c = Column(n) + kRayColumns[d]; OnBoard(r, c);
           r += kRayRows[d], c += kRayColumns[d])
        rays[n][d] |= Bit(r, c);
  return rays;
}();
static_assert(kRays[0][Opposite(1)] == 0 && kRays[63][7] == 0 && kRays[0][3] == 0xFEull &&
              kRays[0][7] == 0x8040201008040200ull);

// Free black men the count weighs one by one; the others are left out,
// which only lowers the count.
constexpr int MaxFreeMen = 6;

// Steps of the count's search beyond which it gives up and lets the
// position be searched (a position with many free men far apart).
constexpr int MaxCountSteps = 3000;

// The search of the stuck-men count. Each free man (one that could move
// were the position final) stays walled in, or is the man White's last
// move takes (or the pawn it stops), or stays pinned to its king, or moves
// to a square where it is walled in, taken or pinned; then the king stays
// or walks to a square. The men that are not free fill the squares the
// others need, each by its fewest moves; a moving free man fills the square
// it goes to.
class StuckMenCount {
 public:
  StuckMenCount(const Position& pos, int blackMoves) : moves_(blackMoves) {
    const std::uint64_t white = pos.whiteMen;
    black_ = pos.blackMen;
    king_ = BitOf(pos.blackKingSquare);
    for (std::uint64_t men = white; men != 0; men &= men - 1) {
      const int n = std::countr_zero(men);
      const int man = pos.board[BitSquare(n)];
      covered_ |= WhiteAttacksWithinOneMove(man, n);
      reach_ |= WhiteOneMove(man, n);
      if (man == WhiteQueen || man == WhiteRook || man == WhiteBishop ||
          (man == WhitePawn && Row(n) == 1)) {
        ++pinners_;
        AddPinnerSquares(man, n);
      }
    }
    for (std::uint64_t men = black_; men != 0; men &= men - 1) {
      const int n = std::countr_zero(men);
      const int man = pos.board[BitSquare(n)];
      if (man == BlackKing) continue;
      const std::uint64_t needs = SquaresThatStopIt(man, n, white);
      if ((needs & ~black_) == 0 || free_ == MaxFreeMen) {
        // Not free: it may fill a square another man needs.
        fillerMen_[fillers_] = man;
        fillerSquares_[fillers_++] = n;
        continue;
      }
      FreeMan& f = freeMen_[free_++];
      f.man = man;
      f.square = n;
      f.needs = needs;
    }
    for (int i = 0; i < free_; ++i) freeMen_[i].nearestEnd = NearestEnd(freeMen_[i]);
    // The men that need the most squares filled first: walled in, they
    // raise the count soonest, so a position that fails is found to fail
    // after fewer steps (half as many on a ser-h=12).
    std::sort(freeMen_.begin(), freeMen_.begin() + free_,
              [this](const FreeMan& a, const FreeMan& b) {
                return SquareCount(a.needs & ~black_) > SquareCount(b.needs & ~black_);
              });
  }

  // Whether some fate of each free man, and some square of the king, fits
  // in the moves (true too when the count gives up).
  bool Fits() { return Assign(0, State{}) || steps_ > MaxCountSteps; }

 private:
  struct FreeMan {
    int man = 0;
    int square = 0;
    std::uint64_t needs = 0;  // squares to hold black men, were it to stay walled in
    int nearestEnd = 0;       // its fewest moves to a square where it may end stuck
  };
  struct State {
    int own = 0;                        // moves of the free men that move
    bool taken = false;                 // White's last move is spent on one
    int pins = 0;                       // men pinned
    std::uint64_t needs = 0;            // squares the walled men need
    std::uint64_t vacated = 0;          // squares the moving men leave
    std::uint64_t kingSquares = ~0ull;  // where the king may stand for the pins
    int fillingPieces = 0;              // moving free men: each may fill one
    unsigned movers = 0;                // which free men move
  };

  static std::uint64_t SquareBitOf(int n) { return std::uint64_t{1} << n; }

  // The squares a white line man (or a pawn promoting on its move) may
  // stand on after White's move, kept by the lines it then pins along:
  // ranks and files, diagonals.
  void AddPinnerSquares(int man, int n) {
    const auto add = [this](int piece, int q) {
      if (piece != WhiteBishop) orthogonalPinners_ |= SquareBitOf(q);
      if (piece != WhiteRook) diagonalPinners_ |= SquareBitOf(q);
    };
    if (man != WhitePawn) add(man, n);
    for (std::uint64_t to = WhiteOneMove(man, n); to != 0; to &= to - 1) {
      const int q = std::countr_zero(to);
      if (man != WhitePawn || Row(q) == 0) add(man == WhitePawn ? WhiteQueen : man, q);
    }
  }

  // Where the black king may stand for a black `man` on `q` to end pinned
  // and without a move: beyond it on a line from a square a pinner may
  // stand on. A pinned queen still takes its pinner, and so do a bishop
  // pinned along a diagonal and a rook along a rank or file, and a pawn
  // pinned along its file still steps on: none of them is stuck by such a
  // pin (a pawn whose step is blocked is walled in instead). Empty when the
  // man cannot end pinned there.
  std::uint64_t PinnedKingSquares(int man, int q) const {
    if (pinners_ == 0 || man == BlackQueen) return 0;
    std::uint64_t kings = 0;
    for (int d = 0; d < 8; ++d) {
      const bool diagonal = d >= 4;
      if ((diagonal && man == BlackBishop) || (!diagonal && man == BlackRook)) continue;
      if (man == BlackPawn && kRayColumns[d] == 0) continue;  // along its file
      const std::uint64_t pinners = diagonal ? diagonalPinners_ : orthogonalPinners_;
      if ((kRays[q][Opposite(d)] & pinners) != 0) kings |= kRays[q][d];
    }
    return kings;
  }

  // Whether a man on `q` may end pinned, the king on `kingSquares`.
  bool Pinnable(const FreeMan& f, int q, const State& s) const {
    return s.pins < pinners_ && (s.kingSquares & PinnedKingSquares(f.man, q)) != 0;
  }

  // What a man on `q` needs filled, for a pawn's promotion nothing (the
  // piece it becomes is not known).
  std::uint64_t NeedsAt(const FreeMan& f, int q) const {
    if (f.man == BlackPawn && Row(q) == 7) return 0;
    return SquaresThatStopIt(f.man, q, 0);
  }

  // The squares needed now and empty stay to be filled, each by a move,
  // but for one per moving man (which ends there for nothing). The men
  // still to place only add to this: a man that moves pays a move at least
  // for the square it may fill, and a square the king walks to costs its
  // walk. So more than the moves left rules out every way on from here.
  bool TooDear(const State& s) const {
    const std::uint64_t empty = ~black_ | s.vacated;
    const int open = SquareCount(s.needs & empty);
    return s.own + std::max(0, open - s.fillingPieces) > moves_;
  }

  bool Assign(int i, const State& s) {
    if (++steps_ > MaxCountSteps) return true;
    if (TooDear(s)) return false;
    if (i == free_) return PlaceKing(s);
    const FreeMan& f = freeMen_[i];
    State next = s;
    next.needs |= f.needs;
    if (Assign(i + 1, next)) return true;
    if (!s.taken && (((f.man == BlackPawn ? f.needs : 0) | SquareBitOf(f.square)) & reach_) != 0) {
      next = s;
      next.taken = true;
      if (Assign(i + 1, next)) return true;
    }
    if (Pinnable(f, f.square, s)) {
      next = s;
      ++next.pins;
      next.kingSquares &= PinnedKingSquares(f.man, f.square);
      if (Assign(i + 1, next)) return true;
    }
    // A man that moves goes at least as far as the nearest square where it
    // could end stuck, and may fill one square another man needs.
    const int d = f.nearestEnd;
    if (s.own + d > moves_) return false;
    next = s;
    next.own += d;
    ++next.fillingPieces;
    next.movers |= 1u << i;
    next.vacated |= SquareBitOf(f.square);
    return Assign(i + 1, next);
  }

  // The fewest moves of a free man to a square where it could end stuck:
  // walled in (few enough men to fill what it needs there) or taken by
  // White's last move, or pinned. For a pawn, one move.
  int NearestEnd(const FreeMan& f) const {
    if (f.man == BlackPawn) return 1;
    const int wallers = free_ + fillers_;
    int best = Far;
    for (int q = 0; q < 64; ++q) {
      if (q == f.square) continue;
      const int d = BlackManDistance(f.man, f.square, q);
      if (d >= best) continue;
      if (SquareCount(NeedsAt(f, q) & ~black_) <= wallers || (SquareBitOf(q) & reach_) != 0 ||
          PinnedKingSquares(f.man, q) != 0)
        best = d;
    }
    return best;
  }

  // The fewest moves of a man that is not free to a square, at least one
  // (a square to fill costs a move). Made when first asked: most positions
  // that fail, fail before any square is to be filled.
  int Arrive(int q) {
    if (!arriveKnown_) {
      arrive_.fill(Far);
      for (int i = 0; i < fillers_; ++i)
        for (int to = 0; to < 64; ++to)
          arrive_[to] =
              std::min(arrive_[to], BlackManDistance(fillerMen_[i], fillerSquares_[i], to));
      for (int& a : arrive_) a = std::max(a, 1);
      arriveKnown_ = true;
    }
    return arrive_[q];
  }

  // The fewest moves to fill the squares, each by a man of its own: a man
  // that is not free by its fewest moves, or a free man that moves. Two
  // counts, the larger holds: the moving men fill the dearest squares for
  // nothing, or each square costs the moves a moving man needs beyond
  // those counted for it (it ends there, stuck). Far when too few men.
  int FillMoves(std::uint64_t squares, const State& s) {
    if (SquareCount(squares) > fillers_ + s.fillingPieces) return Far;
    std::array<int, 64> costs;
    int n = 0;
    int beyond = 0;
    for (; squares != 0; squares &= squares - 1) {
      const int q = std::countr_zero(squares);
      costs[n++] = Arrive(q);
      int cost = Arrive(q);
      for (unsigned m = s.movers; m != 0 && cost > 0; m &= m - 1) {
        const FreeMan& f = freeMen_[std::countr_zero(m)];
        cost = std::min(cost, std::max(0, BlackManDistance(f.man, f.square, q) - f.nearestEnd));
      }
      beyond += cost;
    }
    const int paid = std::max(0, n - s.fillingPieces);
    std::partial_sort(costs.begin(), costs.begin() + paid, costs.begin() + n);
    int cheapest = 0;
    for (int i = 0; i < paid; ++i) cheapest += costs[i];
    return std::max(cheapest, beyond);
  }

  // The king stays or walks to a square: its free neighbours are attacked
  // or filled, and so are the squares the walled men need.
  bool PlaceKing(const State& s) {
    const int reach = moves_ - s.own;
    for (int row = std::max(0, Row(king_) - reach); row <= std::min(7, Row(king_) + reach); ++row) {
      for (int column = std::max(0, Column(king_) - reach);
           column <= std::min(7, Column(king_) + reach); ++column) {
        const int k = row * 8 + column;
        if ((s.kingSquares >> k & 1u) == 0) continue;
        const int walk = std::max(std::abs(row - Row(king_)), std::abs(column - Column(king_)));
        const std::uint64_t gone = s.vacated | (k != king_ ? SquareBitOf(king_) : 0);
        const std::uint64_t empty = (~black_ | gone) & ~SquareBitOf(k);
        const std::uint64_t fill = (s.needs | (kEmpty.king[k] & ~covered_)) & empty;
        if (walk + s.own + FillMoves(fill, s) <= moves_) return true;
      }
    }
    return false;
  }

  int moves_;
  std::uint64_t black_ = 0;
  int king_ = 0;
  std::uint64_t covered_ = 0;  // what White may attack after its move
  std::uint64_t reach_ = 0;    // where White's move may end
  int pinners_ = 0;            // white line men, and pawns that may promote
  // Where they may stand after White's move, by the lines they pin along.
  std::uint64_t orthogonalPinners_ = 0;
  std::uint64_t diagonalPinners_ = 0;
  int fillers_ = 0;  // black men, not the king, that are not free
  std::array<int, 64> fillerMen_{};
  std::array<int, 64> fillerSquares_{};
  bool arriveKnown_ = false;
  std::array<int, 64> arrive_{};
  std::array<FreeMan, MaxFreeMen> freeMen_{};
  int free_ = 0;
  int steps_ = 0;
};

}  // namespace

bool HelpStalemateStuckMenFit(const Position& pos, int blackMoves) {
  if (!IsSquare(pos.blackKingSquare)) return true;
  // A castling moves two men at once, which the count does not know.
  if (BlackMayCastle(pos)) return true;
  return StuckMenCount(pos, blackMoves).Fits();
}

int HelpStalemateMoves(const Position& pos, int limit) {
  if (!IsSquare(pos.blackKingSquare)) return 0;
  // A castling moves two men at once, which the count does not know.
  if (BlackMayCastle(pos)) return 0;
  // What White attacks with each man moving, the others standing.
  std::array<std::uint64_t, 16> moving{};
  std::array<std::uint64_t, 16> standing{};
  int whiteCount = 0;
  for (std::uint64_t men = pos.whiteMen; men != 0 && whiteCount < 16; men &= men - 1) {
    const int n = std::countr_zero(men);
    const int man = pos.board[BitSquare(n)];
    standing[whiteCount] = WhiteAttacks(man, n);
    moving[whiteCount++] = WhiteAttacksWithinOneMove(man, n);
  }
  std::uint64_t allStanding = 0;
  for (int i = 0; i < whiteCount; ++i) allStanding |= standing[i];
  // Whatever man moves, White attacks no more than this.
  std::array<std::uint64_t, 17> covers{};
  int choices = 0;
  for (int i = 0; i < whiteCount; ++i) {
    std::uint64_t others = 0;
    for (int j = 0; j < whiteCount; ++j)
      if (j != i) others |= standing[j];
    covers[choices++] = others | moving[i];
  }
  if (choices == 0) covers[choices++] = allStanding;

  // Only the squares the king reaches within the limit count, and those
  // next to them: the king's walk alone costs more elsewhere.
  const int king = BitOf(pos.blackKingSquare);
  const int reach = std::min(limit, 7) + 1;
  std::array<int, 64> nearSquares;
  int nearCount = 0;
  for (int row = std::max(0, Row(king) - reach); row <= std::min(7, Row(king) + reach); ++row)
    for (int column = std::max(0, Column(king) - reach);
         column <= std::min(7, Column(king) + reach); ++column)
      nearSquares[nearCount++] = row * 8 + column;
  const std::span<const int> near(nearSquares.data(), nearCount);

  // Black's men other than the king, and the fewest moves for one of them
  // to stand on each square.
  std::array<int, 64> block;
  block.fill(Far);
  int blackCount = 0;
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1) {
    const int n = std::countr_zero(men);
    const int man = pos.board[BitSquare(n)];
    if (man <= BlackKing) continue;
    ++blackCount;
    for (const int q : near) block[q] = std::min(block[q], BlackManDistance(man, n, q));
  }

  int best = std::min(Far, limit + 1);
  for (const int k : near) {
    const int kingMoves =
        std::max(std::abs(Row(k) - Row(king)), std::abs(Column(k) - Column(king)));
    if (kingMoves >= best) continue;
    const std::uint64_t around = kEmpty.king[k];
    for (int c = 0; c < choices; ++c) {
      int cost = kingMoves;
      int blockers = 0;
      for (std::uint64_t open = around & ~covers[c]; open != 0 && cost < best; open &= open - 1) {
        cost += block[std::countr_zero(open)];
        ++blockers;
      }
      if (cost < best && blockers <= blackCount) best = cost;
    }
  }
  return best;
}

bool HelpStalematePossible(const Position& pos, int blackMoves) {
  return HelpStalemateMoves(pos) <= blackMoves;
}

bool SeriesGoalPossible(const Position& pos, const SeriesRules& rules, int movesLeft) {
  switch (rules.family) {
    case SeriesFamily::Help:
      // White's one move after Black's series: the helpmate count holds for
      // any order of the moves, so for a series too.
      return rules.stalemate ? HelpStalematePossible(pos, movesLeft)
                             : HelpMatePossible(pos, 1, movesLeft);
    case SeriesFamily::Direct:
      // The helpmate count with no black move; it knows White's men up to
      // seven moves away.
      if (!rules.stalemate && movesLeft <= 7) return HelpMatePossible(pos, movesLeft, 0);
      return true;
    default:
      return true;
  }
}

}  // namespace kv
