// The move count of a helpmate's mating position. Squares are numbered by
// their bit in a set of squares: 0 is a8, 63 is h1; row 0 is the eighth
// rank, so White's pawns move towards row 0.
#include "solver/help_bound.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "core/tables.h"
#include "solver/help_distances.h"

namespace kv {

namespace {

using namespace help_distances;

// The nine squares round a king's square, numbered row by row: 0 up and
// left, 4 the king's own square, 8 down and right. Masks of these nine bits
// describe what White attacks round a king, whatever its square.
constexpr int KingSquareBit = 1 << 4;
constexpr int ComputedNineSquare(int k, int i) {
  const int row = Row(k) + i / 3 - 1;
  const int column = Column(k) + i % 3 - 1;
  return OnBoard(row, column) ? row * 8 + column : -1;
}
constexpr std::array<std::array<std::int8_t, 9>, 64> kNineSquares = [] {
  std::array<std::array<std::int8_t, 9>, 64> squares{};
  for (int k = 0; k < 64; ++k)
    for (int i = 0; i < 9; ++i) squares[k][i] = static_cast<std::int8_t>(ComputedNineSquare(k, i));
  return squares;
}();
// The square of bit `i` round `k`, or -1 off the board.
constexpr int NineSquare(int k, int i) {
  return kNineSquares[k][i];
}
constexpr int NineMask(std::uint64_t attacks, int k) {
  int mask = 0;
  const int column = Column(k);
  for (int dr = -1; dr <= 1; ++dr) {
    const int row = Row(k) + dr;
    if (row < 0 || row > 7) continue;
    // The row's three squares round the column, as three bits.
    const auto rank = static_cast<int>(attacks >> (row * 8) & 0xFF);
    const int three = column == 0 ? (rank & 3) << 1 : (rank >> (column - 1)) & 7;
    mask |= three << ((dr + 1) * 3);
  }
  return mask;
}

// The bits set in each nine-bit mask.
constexpr std::array<std::uint8_t, 512> kBitCount = [] {
  std::array<std::uint8_t, 512> count{};
  for (int mask = 1; mask < 512; ++mask)
    count[mask] = static_cast<std::uint8_t>(count[mask >> 1] + (mask & 1));
  return count;
}();

// A choice of places for some white men, by what they attack round the
// king and the moves they cost.
struct Profile {
  std::uint16_t mask;
  std::uint8_t cost;
};

// The most moves a bound is asked for, and more than any profile keeps.
constexpr int MaxWhiteMoves = 8;
constexpr int MaxProfiles = 512;

// A list of profiles none of which attacks no more for no fewer moves than
// another.
class ParetoList {
 public:
  void Add(int mask, int cost) {
    for (int i = 0; i < count_; ++i)
      if ((items_[i].mask & mask) == mask && items_[i].cost <= cost) return;
    int kept = 0;
    for (int i = 0; i < count_; ++i)
      if (!((mask & items_[i].mask) == items_[i].mask && cost <= items_[i].cost))
        items_[kept++] = items_[i];
    count_ = kept;
    // Nine bits and few costs keep the list far below its capacity; a full
    // list has lost a choice, and then proves nothing.
    if (count_ == MaxProfiles) {
      full_ = true;
      return;
    }
    items_[count_++] = {static_cast<std::uint16_t>(mask), static_cast<std::uint8_t>(cost)};
  }
  void Clear() {
    count_ = 0;
    full_ = false;
  }
  bool Full() const { return full_; }
  int Size() const { return count_; }
  const Profile& operator[](int i) const { return items_[i]; }
  const Profile* begin() const { return items_.data(); }
  const Profile* end() const { return items_.data() + count_; }

 private:
  std::array<Profile, MaxProfiles> items_;
  int count_ = 0;
  bool full_ = false;
};

// The kinds of white man by what they may become: a pawn may promote.
enum class WhiteKind { King, Queen, Rook, Bishop, Knight, Pawn };
constexpr int WhiteKinds = 6;

// For each kind of white man, the square it stands on and a king's square:
// the cheapest places it may reach by what they attack round that king,
// each with the moves it needs on an empty board, fewest moves first.
// Independent of the position, so made once: a helpmate search asks for
// them at every node.
class PlaceTable {
 public:
  // One man's places from one square, for every king square: made when a
  // search first asks for them (a search meets a small part of the table),
  // once, whichever thread asks first.
  class Block {
   public:
    const Profile* begin(int k) const { return places_.data() + start_[k]; }
    const Profile* end(int k) const { return places_.data() + start_[k + 1]; }
    // What the man may attack round a king on `k` within `moves` moves (less
    // than MaxWhiteMoves), as a nine-bit mask.
    int Within(int moves, int k) const { return within_[moves][k]; }

   private:
    friend class PlaceTable;
    std::once_flag made_;
    std::vector<Profile> places_;
    std::array<std::uint32_t, 65> start_{};
    std::array<std::array<std::uint16_t, 64>, MaxWhiteMoves> within_{};
  };

  const Block& Of(WhiteKind kind, int from) {
    Block& block = blocks_[static_cast<std::size_t>(static_cast<int>(kind) * 64 + from)];
    std::call_once(block.made_, [&block, kind, from] { Make(block, kind, from); });
    return block;
  }

 private:
  static void Make(Block& block, WhiteKind kind, int from) {
    // The places of each number of moves apart: a place one move away is
    // kept even when standing still attacks more, since the last move of a
    // helpmate must be made.
    std::array<ParetoList, MaxWhiteMoves> byCost;
    for (int k = 0; k < 64; ++k) {
      block.start_[k] = static_cast<std::uint32_t>(block.places_.size());
      for (ParetoList& list : byCost) list.Clear();
      ListPlaces(kind, from, k, byCost);
      int attacked = 0;
      for (int cost = 0; cost < MaxWhiteMoves; ++cost) {
        ParetoList& list = byCost[cost];
        // Had the list no room for a choice, one place attacking
        // everything stands for them all.
        if (list.Full()) {
          list.Clear();
          list.Add(0x1FF, cost);
        }
        block.places_.insert(block.places_.end(), list.begin(), list.end());
        for (const Profile& p : list) attacked |= p.mask;
        block.within_[cost][k] = static_cast<std::uint16_t>(attacked);
      }
    }
    block.start_[64] = static_cast<std::uint32_t>(block.places_.size());
  }

  static void ListPlaces(WhiteKind kind, int from, int k,
                         std::array<ParetoList, MaxWhiteMoves>& byCost) {
    // A man other than the king that attacks none of the nine squares is
    // as good as taken, which every search of choices adds anyway.
    const std::uint64_t nine = kEmpty.king[k] | std::uint64_t{1} << k;
    const bool king = kind == WhiteKind::King;
    const auto add = [&byCost, k, nine, king](std::uint64_t attacks, int cost) {
      if (cost < MaxWhiteMoves && (king || (attacks & nine) != 0))
        byCost[cost].Add(NineMask(attacks, k), cost);
    };
    for (int q = 0; q < 64; ++q) {
      if (q == k) continue;  // the king's square
      switch (kind) {
        case WhiteKind::King:
          // Never next to the other king; it attacks, but cannot check.
          if ((kEmpty.king[k] >> q & 1) == 0)
            add(kEmpty.king[q], kDistances.piece[static_cast<int>(Kind::King)][from][q]);
          break;
        case WhiteKind::Pawn:
          add(kEmpty.whitePawn[q], kDistances.whitePawn[from][q]);
          add(Attacks(Kind::Queen, q), kDistances.whiteQueen[from][q]);
          add(Attacks(Kind::Knight, q), kDistances.whiteKnight[from][q]);
          break;
        default: {
          const Kind piece = static_cast<Kind>(kind);
          add(Attacks(piece, q), kDistances.piece[static_cast<int>(piece)][from][q]);
          break;
        }
      }
    }
  }

  std::array<Block, WhiteKinds * 64> blocks_;
};

PlaceTable& Places() {
  static PlaceTable table;
  return table;
}

constexpr WhiteKind WhiteKindOf(int man) {
  switch (man) {
    case WhiteQueen:
      return WhiteKind::Queen;
    case WhiteRook:
      return WhiteKind::Rook;
    case WhiteBishop:
      return WhiteKind::Bishop;
    case WhiteKnight:
      return WhiteKind::Knight;
    case WhitePawn:
      return WhiteKind::Pawn;
    default:
      return WhiteKind::King;
  }
}

// The bit number of a cell of the board.
int BitOf(int square) {
  return std::countr_zero(SquareBit[square]);
}

// Which castlings the counters still allow each side (whether the squares
// between are free does not matter to a count of moves).
struct Castlings {
  bool kingSide = false;
  bool queenSide = false;
};
Castlings WhiteCastlings(const Position& pos) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  if (b[96] != WhiteKing || counters[WhiteKingMoves] != 0) return {};
  return {b[99] == WhiteRook && counters[H1Moves] == 0,
          b[92] == WhiteRook && counters[A1Moves] == 0};
}
Castlings BlackCastlings(const Position& pos) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  if (b[26] != BlackKing || counters[BlackKingMoves] != 0) return {};
  return {b[29] == BlackRook && counters[H8Moves] == 0,
          b[22] == BlackRook && counters[A8Moves] == 0};
}

class MatingPositions {
 public:
  // `check`: the king must be in check at the end (a mate); without, only
  // the squares round it must be taken away (a stalemate, whose other
  // conditions the count does not look into).
  MatingPositions(const Position& pos, int whiteMoves, int blackMoves, bool check)
      : pos_(pos),
        places_(Places()),
        whiteMoves_(whiteMoves),
        blackMoves_(blackMoves),
        check_(check),
        blackCastlings_(BlackCastlings(pos)) {}

  bool AnyWithinReach() {
    ListWhiteMen();
    ListBlackMen();
    const int king = BitOf(pos_.blackKingSquare);
    // The squares the king may reach: a box round it, or the whole board
    // while it may castle.
    int top = std::max(0, Row(king) - blackMoves_);
    int bottom = std::min(7, Row(king) + blackMoves_);
    int left = std::max(0, Column(king) - blackMoves_);
    int right = std::min(7, Column(king) + blackMoves_);
    if (blackCastlings_.kingSide || blackCastlings_.queenSide) top = left = 0, bottom = right = 7;
    for (int row = top; row <= bottom; ++row)
      for (int column = left; column <= right; ++column) {
        const int k = row * 8 + column;
        const int kingMoves = KingMoves(king, k);
        // A black man on the square must leave it first: one more black
        // move, unless it is one of the moves that block a square round
        // the king, which the count of blocks below takes.
        const bool vacate = k != king && pos_.board[BitSquare(k)] > BlackKing;
        if (kingMoves + (vacate ? 1 : 0) <= blackMoves_ &&
            MateOnSquarePossible(k, blackMoves_ - kingMoves))
          return true;
      }
    return false;
  }

 private:
  struct Man {
    WhiteKind kind;
    int square;
    const PlaceTable::Block* places;  // its places from its square
  };

  void ListWhiteMen() {
    for (std::uint64_t men = pos_.whiteMen; men != 0 && manCount_ < 16; men &= men - 1) {
      const int n = std::countr_zero(men);
      const WhiteKind kind = WhiteKindOf(pos_.board[BitSquare(n)]);
      men_[manCount_++] = {kind, n, &places_.Of(kind, n)};
    }
  }

  void ListBlackMen() {
    block_.fill(Unknown);
    const Castlings& black = blackCastlings_;
    for (std::uint64_t men = pos_.blackMen; men != 0; men &= men - 1) {
      const int n = std::countr_zero(men);
      const int square = BitSquare(n);
      const int man = pos_.board[square];
      if (man == BlackKing || man <= OffBoard) continue;
      const auto* row = man == BlackPawn ? &kDistances.blackBlock[n]
                                         : &kDistances.piece[static_cast<int>(KindOf(man))][n];
      // A rook that may castle counts from its square after castling too
      // (the castling counts as the king's move).
      const int castled = (black.kingSide && square == 29)    ? 27
                          : (black.queenSide && square == 22) ? 25
                                                              : 0;
      if (man == BlackRook && castled != 0) {
        auto& nearer = castledRows_[castledCount_++];
        const auto& after = kDistances.piece[static_cast<int>(Kind::Rook)][BitOf(castled)];
        for (int q = 0; q < 64; ++q) nearer[q] = std::min((*row)[q], after[q]);
        row = &nearer;
      }
      blackMen_[blackCount_++] = row;
    }
  }

  // The black king's fewest moves to a square, castling one of them.
  int KingMoves(int king, int k) const {
    const auto& steps = kDistances.piece[static_cast<int>(Kind::King)];
    int moves = steps[king][k];
    if (blackCastlings_.kingSide) moves = std::min(moves, 1 + steps[BitOf(28)][k]);   // g8
    if (blackCastlings_.queenSide) moves = std::min(moves, 1 + steps[BitOf(24)][k]);  // c8
    return moves;
  }

  // The fewest black moves that bring some man other than the king to a
  // square, found when first asked.
  int Block(int n) {
    if (block_[n] == Unknown) {
      int least = Far;
      for (int i = 0; i < blackCount_; ++i) least = std::min<int>(least, (*blackMen_[i])[n]);
      block_[n] = static_cast<std::uint8_t>(least);
    }
    return block_[n];
  }

  // The mating position looked for: the king's square, which White must
  // attack, and the squares round it White must attack or Black block, as
  // bits numbered anew (the king's square bit 0, the others from bit 1, so
  // that the choices below span as few bits as matter); what blocking each
  // costs, and Black's moves for blocking.
  struct Target {
    static constexpr int check = 1;
    int open = 0;
    int span = 1;  // the bits in use
    std::array<int, 9> block{};
    int blackLeft = 0;
    int always = 0;  // what the men with a single choice attack
    // The new bit of each of the nine squares, and the nine-square bits
    // that have one.
    std::array<int, 9> renumbered{};
    int kept = 0;
    // The new numbering of every mask of the low five and the high four of
    // the nine bits, made once the square is worth a closer look.
    std::array<std::uint16_t, 32> low{};
    std::array<std::uint16_t, 16> high{};
    void MakeRenumbering() {
      for (int mask = 1; mask < 32; ++mask)
        low[mask] = static_cast<std::uint16_t>(
            low[mask & (mask - 1)] | renumbered[std::countr_zero(static_cast<unsigned>(mask))]);
      for (int mask = 1; mask < 16; ++mask)
        high[mask] = static_cast<std::uint16_t>(
            high[mask & (mask - 1)] |
            renumbered[5 + std::countr_zero(static_cast<unsigned>(mask))]);
    }
    int Renumber(int mask) const { return low[mask & 31] | high[mask >> 5]; }
  };

  // The fewest black moves that block every square of `open` with a man of
  // its own, each with another man, or Far.
  int BlockingCost(int open, const Target& t) const {
    if (kBitCount[open] > blackCount_) return Far;
    int cost = 0;
    for (; open != 0; open &= open - 1)
      cost += t.block[std::countr_zero(static_cast<unsigned>(open))];
    return cost;
  }
  bool Mates(int covered, const Target& t) const {
    return (!check_ || (covered & Target::check) != 0) &&
           BlockingCost(t.open & ~covered, t) <= t.blackLeft;
  }

  // Whether White can check a king on `k` and, with Black's men that
  // `blackLeft` moves bring next to it, cover every square round it.
  bool MateOnSquarePossible(int k, int blackLeft) {
    // What any man may attack within White's moves: the king must be
    // checked, and a square no man attacks must be blocked.
    int coverable = 0;
    for (int m = 0; m < manCount_; ++m) coverable |= men_[m].places->Within(whiteMoves_, k);
    if (check_ && (coverable & KingSquareBit) == 0) return false;
    // The squares no man can attack must be blocked: most king squares fail
    // here, before White's choices are set up.
    int uncovered = 0;
    int uncoveredCost = 0;
    for (int i = 0; i < 9; ++i) {
      const int n = NineSquare(k, i);
      if (i == 4 || n < 0 || (coverable >> i & 1) != 0 || Block(n) == 0) continue;
      ++uncovered;
      uncoveredCost += Block(n);
    }
    if (uncovered > blackCount_ || uncoveredCost > blackLeft) return false;
    Target t;
    t.blackLeft = blackLeft;
    // Squares round the king that a black man holds already cost nothing to
    // block, so White's men need not attack them.
    t.renumbered[4] = Target::check;
    t.kept = KingSquareBit;
    for (int i = 0; i < 9; ++i) {
      const int n = NineSquare(k, i);
      if (i == 4 || n < 0 || Block(n) == 0) continue;
      t.renumbered[i] = 1 << t.span;
      t.kept |= 1 << i;
      t.open |= 1 << t.span;
      t.block[t.span++] = Block(n);
    }
    t.MakeRenumbering();
    if (whiteMoves_ == 1) return OneMoveMates(k, t);
    // Each man's cheapest places within White's moves, by what they attack;
    // a man with one choice adds what it attacks to every choice of the
    // others.
    std::array<std::uint8_t, 512> least;
    t.always = 0;
    choosers_ = 0;
    for (int m = 0; m < manCount_; ++m) {
      std::fill_n(least.begin(), 1 << t.span, Far);
      const Man& man = men_[m];
      const int relevant = man.kind == WhiteKind::King ? t.open : t.open | Target::check;
      Choices& choices = choices_[choosers_];
      choices.count = 0;
      const auto add = [&least, &choices](int mask, int cost) {
        if (least[mask] == Far) choices.masks[choices.count++] = static_cast<std::uint16_t>(mask);
        least[mask] = static_cast<std::uint8_t>(std::min<int>(least[mask], cost));
      };
      // A man other than the king may be taken, and then attacks nothing.
      if (man.kind != WhiteKind::King) add(0, 0);
      // The places come by number of moves.
      for (const Profile* p = man.places->begin(k);
           p != man.places->end(k) && p->cost <= whiteMoves_; ++p)
        add(t.Renumber(p->mask) & relevant, p->cost);
      if (choices.count == 0) return false;  // the king cannot stand anywhere
      for (int i = 0; i < choices.count; ++i) choices.costs[i] = least[choices.masks[i]];
      if (choices.count == 1 && choices.costs[0] == 0) {
        t.always |= choices.masks[0];
      } else if (choices.count > 1 || choices.masks[0] != 0 || choices.costs[0] != 0) {
        ++choosers_;
      }
    }
    return SomeChoiceMates(t);
  }

  // With one white move left, that move mates: one man moves and the others
  // stay. It must give the check itself or uncover it, since a check that
  // stood before it would have been Black's own king left in check, and no
  // black move opens a line to Black's king.
  bool OneMoveMates(int k, const Target& t) {
    std::array<int, 16> staying{};  // what each man attacks where it stands, the king aside
    std::array<bool, 16> mayStay{};
    std::array<int, 16> checkers{};  // the men that would check if a line opened
    int checkerCount = 0;
    for (int m = 0; m < manCount_; ++m) {
      const Man& man = men_[m];
      // A man other than the king may also be taken, and attack nothing.
      mayStay[m] = man.kind != WhiteKind::King;
      for (const Profile* p = man.places->begin(k); p != man.places->end(k) && p->cost == 0; ++p) {
        mayStay[m] = true;
        const int covers = t.Renumber(p->mask);
        staying[m] = covers & t.open;
        if ((covers & Target::check) != 0) checkers[checkerCount++] = m;
      }
    }
    // The men before and after each, as they stand.
    std::array<int, 17> before{}, after{};
    int mustMove = -1;
    for (int m = 0; m < manCount_; ++m) {
      before[m + 1] = before[m] | staying[m];
      if (!mayStay[m]) mustMove = m;
    }
    for (int m = manCount_ - 1; m >= 0; --m) after[m] = after[m + 1] | staying[m];
    for (int m = 0; m < manCount_; ++m) {
      if (mustMove >= 0 && m != mustMove) continue;
      const Man& man = men_[m];
      int others = before[m] | after[m + 1];
      for (int c = 0; c < checkerCount; ++c)
        if (checkers[c] != m && Uncovers(man, men_[checkers[c]].square, k)) others |= Target::check;
      const int relevant = man.kind == WhiteKind::King ? t.open : t.open | Target::check;
      for (const Profile* p = man.places->begin(k); p != man.places->end(k) && p->cost <= 1; ++p)
        if (p->cost == 1 && Mates(others | (t.Renumber(p->mask) & relevant), t)) return true;
    }
    return false;
  }

  // Whether the move of `man` may open the line from `end` to `k`: by
  // leaving it, or, for a pawn taking en passant, by removing the black
  // pawn beside it.
  static bool Uncovers(const Man& man, int end, int k) {
    if (Between(end, man.square, k)) return true;
    if (man.kind != WhiteKind::Pawn || Row(man.square) != 3) return false;
    const int column = Column(man.square);
    return (column > 0 && Between(end, man.square - 1, k)) ||
           (column < 7 && Between(end, man.square + 1, k));
  }

  // Whether `middle` lies on the line from `end` to `k`, strictly between
  // them; `end` and `k` are known to share a line.
  static bool Between(int end, int middle, int k) {
    const int dr1 = Row(middle) - Row(end);
    const int dc1 = Column(middle) - Column(end);
    const int dr2 = Row(k) - Row(middle);
    const int dc2 = Column(k) - Column(middle);
    if ((dr1 == 0 && dc1 == 0) || (dr2 == 0 && dc2 == 0)) return false;
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    return dr1 * dc2 == dc1 * dr2 && sign(dr1) == sign(dr2) && sign(dc1) == sign(dc2);
  }

  // Every choice of places of White's men, by what it attacks round the
  // king, at the fewest moves for each: whether one of them mates.
  bool SomeChoiceMates(const Target& t) {
    const int states = 1 << t.span;
    // The fewest moves of each reachable mask of the men so far, and the
    // reachable masks, in two sets of arrays used in turn.
    std::array<std::array<std::uint8_t, 512>, 2> costs;
    std::array<std::array<std::uint16_t, 512>, 2> masks;
    std::uint8_t* cost = costs[0].data();
    std::uint16_t* mask = masks[0].data();
    std::fill_n(cost, states, Far);
    int count = 0;
    cost[t.always] = 0;
    mask[count++] = static_cast<std::uint16_t>(t.always);
    for (int m = 0; m < choosers_; ++m) {
      const Choices& choices = choices_[m];
      // The last man's choices are tried as they come.
      if (m == choosers_ - 1) {
        for (int i = 0; i < count; ++i)
          for (int j = 0; j < choices.count; ++j)
            if (cost[mask[i]] + choices.costs[j] <= whiteMoves_ &&
                Mates(mask[i] | choices.masks[j], t))
              return true;
        return false;
      }
      std::uint8_t* nextCost = costs[(m + 1) % 2].data();
      std::uint16_t* nextMask = masks[(m + 1) % 2].data();
      std::fill_n(nextCost, states, Far);
      int nextCount = 0;
      for (int i = 0; i < count; ++i) {
        const int before = mask[i];
        for (int j = 0; j < choices.count; ++j) {
          const int c = cost[before] + choices.costs[j];
          if (c > whiteMoves_) continue;
          const int joined = before | choices.masks[j];
          if (nextCost[joined] == Far) nextMask[nextCount++] = static_cast<std::uint16_t>(joined);
          if (c < nextCost[joined]) nextCost[joined] = static_cast<std::uint8_t>(c);
        }
      }
      cost = nextCost;
      mask = nextMask;
      count = nextCount;
    }
    return Mates(t.always, t);
  }

  const Position& pos_;
  PlaceTable& places_;
  const int whiteMoves_;
  const int blackMoves_;
  const bool check_;
  std::array<Man, 16> men_{};
  int manCount_ = 0;
  static constexpr std::uint8_t Unknown = 255;
  std::array<std::uint8_t, 64> block_;
  // Each black man's distances to every square.
  std::array<const std::array<std::uint8_t, 64>*, 16> blackMen_{};
  int blackCount_ = 0;
  // The distances of the rooks that may castle, from either square.
  std::array<std::array<std::uint8_t, 64>, 2> castledRows_{};
  int castledCount_ = 0;
  const Castlings blackCastlings_;
  // One man's choices: what each attacks and its fewest moves.
  struct Choices {
    std::array<std::uint16_t, 512> masks;
    std::array<std::uint8_t, 512> costs;
    int count = 0;
  };
  std::array<Choices, 16> choices_;
  int choosers_ = 0;  // the men with more than one choice
};

}  // namespace

namespace {

bool GoalPossible(const Position& pos, int whiteMoves, int blackMoves, bool check) {
  if (whiteMoves < 1) return false;
  if (!IsSquare(pos.blackKingSquare)) return true;
  // The places are kept up to this many moves: a longer count would miss
  // the farther ones and could rule out a real helpmate.
  if (whiteMoves >= MaxWhiteMoves) return true;
  // While White may castle, two men may move at once, which the count
  // does not know: nothing is ruled out.
  if (const Castlings white = WhiteCastlings(pos); white.kingSide || white.queenSide) return true;
  // More men than a game allows would not fit the lists below.
  if (std::popcount(pos.whiteMen) > 16 || std::popcount(pos.blackMen) > 16) return true;
  MatingPositions mates(pos, whiteMoves, blackMoves, check);
  return mates.AnyWithinReach();
}

}  // namespace

bool HelpMatePossible(const Position& pos, int whiteMoves, int blackMoves) {
  return GoalPossible(pos, whiteMoves, blackMoves, true);
}

bool HelpStalematePossible(const Position& pos, int whiteMoves, int blackMoves) {
  return GoalPossible(pos, whiteMoves, blackMoves, false);
}

}  // namespace kv
