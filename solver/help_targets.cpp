// Making the targets of a helpmate: for each square the black king can
// reach, each white man that can check it from each place, then each set of
// further white places that attacks flights the others leave open, then
// each way of blocking the flights still open with black men, within the
// moves of each side.
#include "solver/help_targets.h"

#include <algorithm>
#include <bit>

#include "core/tables.h"
#include "solver/help_distances.h"

namespace kv {

using namespace help_distances;

namespace {

// Castling bits of HelpPartDistance.
constexpr int WhiteKingSide = 1;
constexpr int WhiteQueenSide = 2;
constexpr int BlackKingSide = 4;
constexpr int BlackQueenSide = 8;

// Bit numbers of the squares castling uses.
constexpr int A1 = 56, C1 = 58, D1 = 59, E1 = 60, F1 = 61, G1 = 62, H1 = 63;
constexpr int A8 = 0, C8 = 2, D8 = 3, E8 = 4, F8 = 5, G8 = 6, H8 = 7;

int KingDistance(int from, int to) {
  return kDistances.piece[static_cast<int>(Kind::King)][from][to];
}
int RookDistance(int from, int to) {
  return kDistances.piece[static_cast<int>(Kind::Rook)][from][to];
}

// A king's fewest moves, a castling counting as one move to its square.
int CastlingKingDistance(int from, int to, int home, int kingSide, int queenSide, int castlings,
                         int kingSideTarget, int queenSideTarget) {
  int moves = KingDistance(from, to);
  if (from != home) return moves;
  if ((castlings & kingSide) != 0) moves = std::min(moves, 1 + KingDistance(kingSideTarget, to));
  if ((castlings & queenSide) != 0) moves = std::min(moves, 1 + KingDistance(queenSideTarget, to));
  return moves;
}

// A rook's fewest moves, counted from its square after castling too.
int CastlingRookDistance(int from, int to, int castlings) {
  int moves = RookDistance(from, to);
  if (from == H1 && (castlings & WhiteKingSide) != 0) moves = std::min(moves, RookDistance(F1, to));
  if (from == A1 && (castlings & WhiteQueenSide) != 0)
    moves = std::min(moves, RookDistance(D1, to));
  if (from == H8 && (castlings & BlackKingSide) != 0) moves = std::min(moves, RookDistance(F8, to));
  if (from == A8 && (castlings & BlackQueenSide) != 0)
    moves = std::min(moves, RookDistance(D8, to));
  return moves;
}

// What a white man of `code` standing on `square` as `shape` attacks on an
// empty board.
std::uint64_t WhiteAttacks(int code, EndShape shape, int square) {
  if (shape == EndShape::PromotedLine) return Attacks(Kind::Queen, square);
  if (shape == EndShape::PromotedKnight) return Attacks(Kind::Knight, square);
  if (code == WhitePawn) return kEmpty.whitePawn[square];
  return Attacks(KindOf(code), square);
}

int BitOf(int square) {
  return std::countr_zero(SquareBit[square]);
}

}  // namespace

int HelpCastlings(const Position& pos) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  int castlings = 0;
  if (b[96] == WhiteKing && counters[WhiteKingMoves] == 0) {
    if (b[99] == WhiteRook && counters[H1Moves] == 0) castlings |= WhiteKingSide;
    if (b[92] == WhiteRook && counters[A1Moves] == 0) castlings |= WhiteQueenSide;
  }
  if (b[26] == BlackKing && counters[BlackKingMoves] == 0) {
    if (b[29] == BlackRook && counters[H8Moves] == 0) castlings |= BlackKingSide;
    if (b[22] == BlackRook && counters[A8Moves] == 0) castlings |= BlackQueenSide;
  }
  return castlings;
}

int HelpPartDistance(int code, int from, EndShape shape, int to, int castlings) {
  switch (code) {
    case WhiteKing:
      return CastlingKingDistance(from, to, E1, WhiteKingSide, WhiteQueenSide, castlings, G1, C1);
    case BlackKing:
      return CastlingKingDistance(from, to, E8, BlackKingSide, BlackQueenSide, castlings, G8, C8);
    case WhitePawn:
      switch (shape) {
        case EndShape::AsItIs:
          return kDistances.whitePawn[from][to];
        case EndShape::PromotedLine:
          return kDistances.whiteQueen[from][to];
        case EndShape::PromotedKnight:
          return kDistances.whiteKnight[from][to];
        case EndShape::AnyShape:
          break;
      }
      return std::min({kDistances.whitePawn[from][to], kDistances.whiteQueen[from][to],
                       kDistances.whiteKnight[from][to]});
    case BlackPawn:
      return kDistances.blackBlock[from][to];
    case WhiteRook:
    case BlackRook:
      if (shape == EndShape::PromotedKnight) return Far;
      return CastlingRookDistance(from, to, castlings);
    case WhiteKnight:
    case BlackKnight:
      if (shape == EndShape::PromotedLine) return Far;
      return kDistances.piece[static_cast<int>(Kind::Knight)][from][to];
    default:
      if (shape == EndShape::PromotedKnight) return Far;
      return kDistances.piece[static_cast<int>(KindOf(code))][from][to];
  }
}

namespace {

class TargetMaker {
 public:
  TargetMaker(const Position& pos, int whiteMoves, int blackMoves, HelpGoal goal, std::size_t limit,
              HelpTargets& out)
      : pos_(pos),
        whiteMoves_(whiteMoves),
        blackMoves_(blackMoves),
        goal_(goal),
        firstGuard_(goal == HelpGoal::Mate ? 1 : 0),
        limit_(limit),
        out_(out) {}

  void Make() {
    out_.men.clear();
    out_.places.clear();
    out_.targets.clear();
    out_.castlings = HelpCastlings(pos_);
    out_.complete = true;
    if (!ListMen()) {
      out_.complete = false;
      return;
    }
    if (king_ < 0 || whiteMoves_ < 1) return;
    const int kingFrom = BitOf(out_.men[king_].square);
    for (int k = 0; k < 64 && out_.complete; ++k) {
      const int kingCost =
          HelpPartDistance(BlackKing, kingFrom, EndShape::AsItIs, k, out_.castlings);
      if (kingCost <= blackMoves_) ForKingSquare(k, kingCost);
    }
  }

 private:
  // A place of one white man round the king's square: the squares of the
  // nine it attacks (bit 8 the king's own), and its fewest moves there.
  struct Choice {
    std::uint16_t nine;
    std::uint8_t cost;
    std::uint16_t place;  // index into out_.places, made when first used
    EndShape shape;
    std::uint64_t squares;
  };
  static constexpr std::uint16_t CheckBit = 1 << 8;
  static constexpr std::uint16_t NotMade = 0xFFFF;

  // The men by index, White's first, and the places each white man reaches
  // within White's moves; false when there are more men than a part list
  // can name.
  bool ListMen() {
    for (std::uint64_t men = pos_.whiteMen; men != 0; men &= men - 1) {
      const int n = std::countr_zero(men);
      const int square = BitSquare(n);
      const int code = pos_.board[square];
      out_.men.push_back({static_cast<std::int8_t>(square), static_cast<std::int8_t>(code)});
      whiteMen_.push_back(static_cast<std::uint8_t>(out_.men.size() - 1));
      std::vector<Reach>& reaches = reaches_.emplace_back();
      constexpr EndShape kShapes[] = {EndShape::AsItIs, EndShape::PromotedLine,
                                      EndShape::PromotedKnight};
      for (const EndShape shape : kShapes) {
        if (shape != EndShape::AsItIs && code != WhitePawn) continue;
        for (int q = 0; q < 64; ++q) {
          const int cost = HelpPartDistance(code, n, shape, q, out_.castlings);
          if (cost > whiteMoves_) continue;
          const std::uint64_t attacks = WhiteAttacks(code, shape, q);
          reaches.push_back(
              {attacks, static_cast<std::uint8_t>(q), static_cast<std::uint8_t>(cost), shape});
          // What the men other than the king may check from.
          if (code != WhiteKing) checkable_ |= attacks;
        }
      }
    }
    for (std::uint64_t men = pos_.blackMen; men != 0; men &= men - 1) {
      const int square = BitSquare(std::countr_zero(men));
      const int code = pos_.board[square];
      if (code <= OffBoard) continue;  // a man lifted off the board for a while
      if (code == BlackKing) king_ = static_cast<int>(out_.men.size());
      if (code != BlackKing) blackMen_.push_back(static_cast<std::uint8_t>(out_.men.size()));
      out_.men.push_back({static_cast<std::int8_t>(square), static_cast<std::int8_t>(code)});
    }
    return out_.men.size() <= 32;
  }

  // The nine-square bits of a set of squares round `k`: the flights in the
  // order of flights_, bit 8 the king's square.
  std::uint16_t NineOf(std::uint64_t attacks, int k) const {
    std::uint16_t nine = (attacks >> k & 1) != 0 ? CheckBit : 0;
    for (int i = 0; i < flightCount_; ++i)
      if ((attacks >> flights_[i] & 1) != 0) nine |= static_cast<std::uint16_t>(1 << i);
    return nine;
  }

  void ForKingSquare(int k, int kingCost) {
    const bool mate = goal_ == HelpGoal::Mate;
    if (mate && (checkable_ >> k & 1) == 0) return;
    flightCount_ = 0;
    for (std::uint64_t f = kEmpty.king[k]; f != 0; f &= f - 1)
      flights_[flightCount_++] = std::countr_zero(f);
    allFlights_ = static_cast<std::uint16_t>((1 << flightCount_) - 1);
    ListChoices(k);
    laterCover_.assign(whiteMen_.size() + 1, 0);
    manCover_.assign(whiteMen_.size(), 0);
    for (std::size_t m = whiteMen_.size(); m-- > 0;) {
      std::sort(choices_[m].begin(), choices_[m].end(),
                [](const Choice& a, const Choice& b) { return a.cost < b.cost; });
      for (const Choice& c : choices_[m]) manCover_[m] |= c.nine & allFlights_;
      laterCover_[m] = laterCover_[m + 1] | manCover_[m];
    }
    bool anyCheck = false;
    for (std::size_t m = 0; m < whiteMen_.size(); ++m)
      for (const Choice& c : choices_[m]) anyCheck = anyCheck || (c.nine & CheckBit) != 0;
    if (mate && !anyCheck) return;
    ListBlockers(kingCost);
    target_ = HelpTarget{};
    target_.kingSquare = static_cast<std::uint8_t>(k);
    target_.blackCount = 1;
    target_.black[0] =
        PlaceOf(static_cast<std::uint8_t>(king_), std::uint64_t{1} << k, EndShape::AsItIs);
    if (!mate) {
      // Stalemate: no check, every flight guarded or blocked. Whether the
      // other black men can move is left to the test of the last move.
      target_.whiteCount = 0;
      checker_ = whiteMen_.size();
      AddGuards(0, 0, 0, 0);
      return;
    }
    for (std::size_t m = 0; m < whiteMen_.size() && out_.complete; ++m) {
      for (Choice& c : choices_[m]) {
        if ((c.nine & CheckBit) == 0 || out_.men[whiteMen_[m]].code == WhiteKing) continue;
        target_.white[0] = Made(m, c);
        target_.whiteCount = 1;
        checker_ = m;
        AddGuards(0, c.cost, static_cast<std::uint16_t>(c.nine & allFlights_), 0);
        if (!out_.complete) return;
      }
    }
  }

  // Each white man's choices round `k`: its places within White's moves
  // grouped by what they attack of the nine squares.
  void ListChoices(int k) {
    choices_.resize(whiteMen_.size());
    const std::uint64_t nextToKing = kEmpty.king[k];
    const std::uint64_t nine = nextToKing | std::uint64_t{1} << k;
    for (std::size_t m = 0; m < whiteMen_.size(); ++m) {
      std::vector<Choice>& list = choices_[m];
      list.clear();
      const bool king = out_.men[whiteMen_[m]].code == WhiteKing;
      ++stamp_;
      for (const Reach& reach : reaches_[m]) {
        if ((reach.attacks & nine) == 0 || reach.square == k) continue;
        if (king && (nextToKing >> reach.square & 1) != 0) continue;
        const std::uint16_t mask = NineOf(reach.attacks, k);
        // The choice of this mask and shape, by a table stamped anew for
        // each man.
        Group& group = groups_[mask * 3 + static_cast<int>(reach.shape)];
        if (group.stamp != stamp_) {
          group = {stamp_, static_cast<std::uint16_t>(list.size())};
          list.push_back({mask, reach.cost, NotMade, reach.shape, 0});
        }
        Choice& choice = list[group.index];
        choice.cost = std::min(choice.cost, reach.cost);
        choice.squares |= std::uint64_t{1} << reach.square;
      }
    }
  }

  // Each black man's fewest moves to each flight.
  void ListBlockers(int kingCost) {
    blackLeft_ = blackMoves_ - kingCost;
    for (int i = 0; i < flightCount_; ++i) {
      blockers_[i].clear();
      for (const std::uint8_t man : blackMen_) {
        const HelpTargets::Man& m = out_.men[man];
        const int cost = HelpPartDistance(m.code, BitOf(m.square), EndShape::AnyShape, flights_[i],
                                          out_.castlings);
        if (cost <= blackLeft_) blockers_[i].push_back({man, static_cast<std::uint8_t>(cost)});
      }
    }
  }

  // Adds guards among the white men from `next` on, each attacking a flight
  // the others leave open; with every man passed, the flights still open
  // go to black blockers. `once` and `twice` are the flights attacked by
  // one part and by more. A guard whose flights all come to be attacked by
  // others is one part more than a smaller target has, and stays so
  // whatever is added: such sets are not followed.
  void AddGuards(std::size_t next, int cost, std::uint16_t once, std::uint16_t twice) {
    if (!out_.complete) return;
    const std::uint16_t covered = once | twice;
    // The flights no black man reaches must be attacked by the men left.
    if ((mustCover_ & ~covered & ~laterCover_[next]) != 0) return;
    for (std::size_t m = next; m < whiteMen_.size(); ++m) {
      if (m == checker_ || (manCover_[m] & ~covered) == 0) continue;
      // The choices come cheapest first.
      for (Choice& c : choices_[m]) {
        if (cost + c.cost > whiteMoves_) break;
        const std::uint16_t nine = c.nine & allFlights_;
        if ((nine & ~covered) == 0) continue;
        const std::uint16_t nextTwice = twice | (once & nine);
        const std::uint16_t nextOnce = (once | nine) & ~nextTwice;
        bool needed = true;
        for (int g = firstGuard_; g < target_.whiteCount && needed; ++g)
          needed = (partNine_[g] & nextOnce) != 0;
        if (!needed) continue;
        partNine_[target_.whiteCount] = nine;
        target_.white[target_.whiteCount++] = Made(m, c);
        AddGuards(m + 1, cost + c.cost, nextOnce, nextTwice);
        --target_.whiteCount;
        if (!out_.complete) return;
      }
    }
    if ((mustCover_ & ~covered) != 0) return;
    Block(0, static_cast<std::uint16_t>(allFlights_ & ~covered), blackLeft_, 0);
  }

  // A black man on each flight of `open`, from flight `i` on.
  void Block(int i, std::uint16_t open, int blackLeft, std::uint32_t used) {
    if (!out_.complete) return;
    while (i < flightCount_ && (open >> i & 1) == 0) ++i;
    if (i == flightCount_) {
      Emit();
      return;
    }
    for (const Blocker& b : blockers_[i]) {
      if ((used >> b.man & 1) != 0 || b.cost > blackLeft) continue;
      target_.black[target_.blackCount++] = BlockPlace(b.man, flights_[i]);
      Block(i + 1, open, blackLeft - b.cost, used | 1u << b.man);
      --target_.blackCount;
    }
  }

  void Emit() {
    if (out_.targets.size() >= limit_) {
      out_.complete = false;
      return;
    }
    out_.targets.push_back(target_);
  }

  // The place of a choice, made when a target first uses it.
  std::uint16_t Made(std::size_t m, Choice& c) {
    if (c.place == NotMade) c.place = PlaceOf(whiteMen_[m], c.squares, c.shape);
    return c.place;
  }

  // A black man on one square, one place for every target that asks it.
  std::uint16_t BlockPlace(std::uint8_t man, int square) {
    std::uint16_t& place = blockPlaces_[man * 64 + square];
    if (place == NotMade) place = PlaceOf(man, std::uint64_t{1} << square, EndShape::AnyShape);
    return place;
  }

  std::uint16_t PlaceOf(std::uint8_t man, std::uint64_t squares, EndShape shape) {
    if (out_.places.size() >= MaxHelpPlaces) {
      out_.complete = false;
      return 0;
    }
    out_.places.push_back({squares, man, shape});
    return static_cast<std::uint16_t>(out_.places.size() - 1);
  }

  struct Blocker {
    std::uint8_t man;
    std::uint8_t cost;
  };
  // A place a white man reaches: what it attacks there.
  struct Reach {
    std::uint64_t attacks;
    std::uint8_t square;
    std::uint8_t cost;
    EndShape shape;
  };
  // Which choice of the man being listed has a mask and shape.
  struct Group {
    std::uint32_t stamp = 0;
    std::uint16_t index = 0;
  };

  const Position& pos_;
  const int whiteMoves_;
  const int blackMoves_;
  const HelpGoal goal_;
  const int firstGuard_;  // the parts before it check
  const std::size_t limit_;
  HelpTargets& out_;
  int king_ = -1;
  std::vector<std::uint8_t> whiteMen_;
  std::vector<std::uint8_t> blackMen_;
  std::array<int, 8> flights_{};
  int flightCount_ = 0;
  std::uint16_t allFlights_ = 0;
  std::vector<std::vector<Reach>> reaches_;  // by white man
  std::uint64_t checkable_ = 0;
  std::vector<std::vector<Choice>> choices_;
  std::array<Group, 512 * 3> groups_{};
  std::uint32_t stamp_ = 0;
  std::uint16_t mustCover_ = 0;
  std::array<std::vector<Blocker>, 8> blockers_;
  int blackLeft_ = 0;
  // What each white part of the target being made attacks of the flights.
  std::array<std::uint16_t, MaxWhiteParts> partNine_{};
  std::size_t checker_ = 0;
  // The flights the choices of each man, and of the men from each on, may
  // attack.
  std::vector<std::uint16_t> manCover_;
  std::vector<std::uint16_t> laterCover_;
  std::vector<std::uint16_t> blockPlaces_ = std::vector<std::uint16_t>(32 * 64, NotMade);
  HelpTarget target_;
};

}  // namespace

void MakeHelpTargets(const Position& pos, int whiteMoves, int blackMoves, HelpGoal goal,
                     std::size_t limit, HelpTargets& out) {
  TargetMaker maker(pos, whiteMoves, blackMoves, goal, limit, out);
  maker.Make();
}

bool MatchesHelpTarget(const Position& pos, const HelpTargets& targets, const HelpTarget& target,
                       const std::vector<int>& squareOfMan) {
  if (pos.blackKingSquare == 0 || BitOf(pos.blackKingSquare) != target.kingSquare) return false;
  const auto fits = [&](std::uint16_t index) {
    const HelpPlace& place = targets.places[index];
    const int square = squareOfMan[place.man];
    if (square == 0 || (place.squares & SquareBit[square]) == 0) return false;
    const int now = pos.board[square];
    const int was = targets.men[place.man].code;
    switch (place.shape) {
      case EndShape::AsItIs:
        return now == was;
      case EndShape::PromotedLine:
        return was == WhitePawn && (now == WhiteQueen || now == WhiteRook || now == WhiteBishop);
      case EndShape::PromotedKnight:
        return was == WhitePawn && now == WhiteKnight;
      case EndShape::AnyShape:
        return (now > OffBoard) == (was > OffBoard);
    }
    return false;
  };
  for (int i = 0; i < target.whiteCount; ++i)
    if (!fits(target.white[i])) return false;
  for (int i = 0; i < target.blackCount; ++i)
    if (!fits(target.black[i])) return false;
  return true;
}

}  // namespace kv
