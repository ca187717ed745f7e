// Stalemate tests and the maximummer's filter.
#include "core/goals.h"

#include <algorithm>
#include <bit>

#include "core/rules.h"
#include "core/squares.h"
#include "core/tables.h"

namespace kv {
namespace {

bool LeavesOwnKingAttacked(Position& pos, const Move& move, bool white) {
  MakeMove(pos, move);
  const bool attacked = white ? AttackedByBlack(pos, pos.whiteKingSquare) != 0
                              : AttackedByWhite(pos, pos.blackKingSquare) != 0;
  UnmakeMove(pos, move);
  return attacked;
}

bool AnyLegal(Position& pos, const MoveList& list, bool white) {
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    if (!LeavesOwnKingAttacked(pos, *m, white)) return true;
  }
  return false;
}

}  // namespace

bool WhiteHasLegalMove(Position& pos, int lastFrom, int lastTo) {
  MoveList list;
  // The generator refuses a position whose black king stands attacked; the
  // question is then moot for the caller, and White has a move (the capture).
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, list) < 0) return true;
  return AnyLegal(pos, list, true);
}

bool BlackHasLegalMove(Position& pos, int lastFrom, int lastTo) {
  MoveList list;
  if (GenerateBlackMoves(pos, lastFrom, lastTo, list) != 0) return true;
  return AnyLegal(pos, list, false);
}

bool WhiteIsStalemated(Position& pos, int lastFrom, int lastTo) {
  return AttackedByBlack(pos, pos.whiteKingSquare) == 0 &&
         !WhiteHasLegalMove(pos, lastFrom, lastTo);
}

bool BlackIsStalemated(Position& pos, int lastFrom, int lastTo) {
  return AttackedByWhite(pos, pos.blackKingSquare) == 0 &&
         !BlackHasLegalMove(pos, lastFrom, lastTo);
}

namespace {

// Whether a man on `square` stands on a rank, file or diagonal of `king`.
bool OnKingLine(int square, int king) {
  const int rows = square / 10 - king / 10;
  const int columns = square % 10 - king % 10;
  return rows == 0 || columns == 0 || rows == columns || rows == -columns;
}

// A black man may move to `cell`: it is empty or holds a white man other
// than the king.
bool BlackMayEnter(const Board& b, int cell) {
  return b[cell] == Empty || (b[cell] > Empty && b[cell] < WhiteKing);
}

bool PieceHasMove(const Board& b, int square, int man) {
  switch (man) {
    case BlackKnight:
      for (const int o : KnightOffsets)
        if (BlackMayEnter(b, square + o)) return true;
      return false;
    case BlackBishop:
      for (const int d : BishopOffsets)
        if (BlackMayEnter(b, square + d)) return true;
      return false;
    case BlackRook:
      for (const int d : RookOffsets)
        if (BlackMayEnter(b, square + d)) return true;
      return false;
    default:  // the queen
      for (const int d : QueenOffsets)
        if (BlackMayEnter(b, square + d)) return true;
      return false;
  }
}

// Per square (by its bit): the squares on its ranks, files and diagonals,
// and its knight squares.
struct ReachTables {
  std::array<std::uint64_t, 64> lines{};
  std::array<std::uint64_t, 64> knight{};
};
constexpr ReachTables MakeReachTables() {
  ReachTables tables;
  for (int n = 0; n < 64; ++n) {
    const int s = BitSquare(n);
    for (const int d : QueenOffsets)
      for (int t = s + d; IsSquare(t); t += d) tables.lines[n] |= SquareBit[t];
    for (const int o : KnightOffsets)
      if (IsSquare(s + o)) tables.knight[n] |= SquareBit[s + o];
  }
  return tables;
}
constexpr ReachTables kReach = MakeReachTables();

}  // namespace

StalemateFilter MakeStalemateFilter(const Position& pos) {
  StalemateFilter filter;
  const Board& b = pos.board;
  const int king = pos.blackKingSquare;
  if (!IsSquare(king)) return filter;
  std::uint64_t& targets = filter.targets;
  for (std::uint64_t men = pos.blackMen; men != 0 && targets != 0; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    const int man = b[square];
    if (man <= BlackKing || OnKingLine(square, king)) continue;
    if (man != BlackPawn) {
      if (PieceHasMove(b, square, man)) targets &= SquareBit[square];
      continue;
    }
    const int step = square + 10;
    const bool push = b[step] == Empty;
    const int captures = (b[step - 1] > Empty && b[step - 1] < WhiteKing ? 1 : 0) +
                         (b[step + 1] > Empty && b[step + 1] < WhiteKing ? 1 : 0);
    // Two captures cannot both go (White's move leaves one square); one
    // capture and a step go together only when the man taken steps into
    // the way.
    if (captures >= 2) {
      targets &= SquareBit[square];
    } else if (push) {
      targets &= SquareBit[square] | SquareBit[step];
    }
  }
  if (targets == 0) return filter;
  for (const int d : QueenOffsets) {
    const int f = king + d;
    if (!IsSquare(f) || b[f] > OffBoard || b[f] == WhiteKing || AttackedByWhite(pos, f) != 0)
      continue;
    const int n = std::countr_zero(SquareBit[f]);
    filter.attackFrom[static_cast<std::size_t>(filter.flights)] =
        kReach.lines[n] | kReach.knight[n];
    filter.lineOf[static_cast<std::size_t>(filter.flights)] = kReach.lines[n];
    ++filter.flights;
  }
  return filter;
}

StalemateNeeds BlackStalemateNeeds(const Position& pos) {
  return BlackStalemateNeeds(pos, pos.blackKingSquare);
}

StalemateNeeds BlackStalemateNeeds(const Position& pos, int king) {
  StalemateNeeds needs;
  const Board& b = pos.board;
  if (!IsSquare(king)) return needs;
  for (std::uint64_t men = pos.blackMen; men != 0 && needs.men < 16; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    const int man = b[square];
    if (man <= BlackKing || OnKingLine(square, king)) continue;
    std::uint64_t targets = 0;
    std::uint64_t spareBy = 0;
    if (man != BlackPawn) {
      // Its destinations now; a black man put on the last of them leaves it
      // without a move.
      std::uint64_t destinations = 0;
      const auto add = [&](int cell) {
        if (BlackMayEnter(b, cell)) destinations |= SquareBit[cell];
      };
      switch (man) {
        case BlackKnight:
          for (const int o : KnightOffsets) add(square + o);
          break;
        case BlackBishop:
          for (const int d : BishopOffsets) add(square + d);
          break;
        case BlackRook:
          for (const int d : RookOffsets) add(square + d);
          break;
        default:
          for (const int d : QueenOffsets) add(square + d);
          break;
      }
      if (destinations == 0) continue;
      targets = SquareBit[square];
      if (std::popcount(destinations) == 1) spareBy = destinations;
    } else {
      const int step = square + 10;
      const bool push = b[step] == Empty;
      const bool left = b[step - 1] > Empty && b[step - 1] < WhiteKing;
      const bool right = b[step + 1] > Empty && b[step + 1] < WhiteKing;
      const int captures = (left ? 1 : 0) + (right ? 1 : 0);
      if (captures >= 2) {
        targets = SquareBit[square];
      } else if (push) {
        targets = SquareBit[square] | SquareBit[step];
      } else {
        continue;
      }
      // A black man on the step blocks it; a black move taking a man it
      // could take leaves it fewer captures.
      spareBy =
          SquareBit[step] | (left ? SquareBit[step - 1] : 0) | (right ? SquareBit[step + 1] : 0);
    }
    const auto i = static_cast<std::size_t>(needs.men++);
    needs.square[i] = square;
    needs.targets[i] = targets;
    needs.spareBy[i] = spareBy;
  }
  return needs;
}

namespace {

// The most men whose spared-by squares share one square.
int MostSparedAtOnce(const StalemateNeeds& needs, std::uint64_t squares) {
  int most = 0;
  for (; squares != 0; squares &= squares - 1) {
    const std::uint64_t bit = squares & (~squares + 1);
    int count = 0;
    for (int i = 0; i < needs.men; ++i)
      if ((needs.spareBy[static_cast<std::size_t>(i)] & bit) != 0) ++count;
    most = std::max(most, count);
  }
  return most;
}

}  // namespace

bool StalemateWithinTwoPossible(const Position& pos) {
  const int king = pos.blackKingSquare;
  if (!IsSquare(king)) return true;
  const Board& b = pos.board;
  // A castling moves two men at once; Black's castling moves its king far.
  if (b[sq::E1] == WhiteKing && pos.castlingCounters[WhiteKingMoves] == 0) return true;
  if (king == sq::E8 && pos.castlingCounters[BlackKingMoves] == 0) return true;
  // Black's king stays: White, Black's other man and White again.
  const StalemateNeeds needs = BlackStalemateNeeds(pos);
  if (needs.men == 0) return true;
  std::uint64_t spared = 0;
  for (int i = 0; i < needs.men; ++i) spared |= needs.spareBy[static_cast<std::size_t>(i)];
  if (needs.men <= 3 + MostSparedAtOnce(needs, spared)) return true;
  // Black's king moves: White's two moves and the square the king fills.
  for (const int d : QueenOffsets) {
    const int square = king + d;
    if (!IsSquare(square) || b[square] > OffBoard) continue;
    const StalemateNeeds after = BlackStalemateNeeds(pos, square);
    if (after.men <= 2 + MostSparedAtOnce(after, SquareBit[square])) return true;
  }
  return false;
}

bool StalemateNeeds::Admits(const Move& move) const {
  std::uint64_t common = ~std::uint64_t{0};
  for (int i = 0; i < men; ++i) {
    const auto m = static_cast<std::size_t>(i);
    if (square[m] == move.from || (spareBy[m] & SquareBit[move.to]) != 0) continue;
    common &= targets[m];
    if (common == 0) return false;
  }
  return true;
}

bool StalemateFilter::Admits(const Move& move) const {
  // A castling puts the rook beside the king; it is let through whole.
  const int step = move.to - move.from;
  if (move.moved == WhiteKing && (step == 2 || step == -2))
    return (targets & (SquareBit[move.to] | SquareBit[move.from + step / 2])) != 0;
  if ((targets & SquareBit[move.to]) == 0) return false;
  for (int i = 0; i < flights; ++i) {
    const auto f = static_cast<std::size_t>(i);
    if ((attackFrom[f] & SquareBit[move.to]) == 0 && (lineOf[f] & SquareBit[move.from]) == 0)
      return false;
  }
  return true;
}

int TestStalemateMove(Position& pos) {
  const Move move = pos.probeMove;
  MakeMove(pos, move);
  const bool stalemates = AttackedByBlack(pos, pos.whiteKingSquare) == 0 &&
                          AttackedByWhite(pos, pos.blackKingSquare) == 0 &&
                          !BlackHasLegalMove(pos, move.from, move.to);
  UnmakeMove(pos, move);
  return stalemates ? 100 : 0;
}

int FindStalemateInOne(Position& pos, int lastFrom, int lastTo) {
  if (IsSquare(pos.blackKingSquare) && AttackedByWhite(pos, pos.blackKingSquare) != 0) return -1;
  const StalemateFilter filter = MakeStalemateFilter(pos);
  if (filter.Nothing()) return 0;
  MoveList list;
  if (GenerateWhiteMoves(pos, lastFrom, lastTo, list) < 0) return -1;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    if (!filter.Admits(*m)) continue;
    pos.probeMove = *m;
    if (TestStalemateMove(pos) == 100) return 1;
  }
  return 0;
}

int MoveLengthSquared(const Move& move) {
  // 10 cells to a row on the padded board.
  const int rows = move.to / 10 - move.from / 10;
  const int columns = move.to % 10 - move.from % 10;
  return rows * rows + columns * columns;
}

int KeepLongestBlackMoves(Position& pos, MoveList& list) {
  int longest = -1;
  int kept = 0;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    if (LeavesOwnKingAttacked(pos, *m, false)) continue;
    const int length = MoveLengthSquared(*m);
    if (length < longest) continue;
    if (length > longest) {
      longest = length;
      kept = 0;
    }
    list.moves[static_cast<std::size_t>(kept++)] = *m;
  }
  list.moves[static_cast<std::size_t>(kept)] = Move{};
  return kept;
}

}  // namespace kv
