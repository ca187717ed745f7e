// The backward helpmate (and helpstalemate) walk. It is the plain walk of
// help_fast.cpp with another test of hope: instead of counting, at every
// position, whether some choice of places could mate, it carries the list of targets still
// within reach and, for each move, keeps those the move leaves within
// reach. The count of a target changes only by the man that moved (and a
// castling rook), and a target dies when one of its men is taken, so each
// move is judged by a pass over the targets alive before it, without being
// played when none survives.
#include "solver/help_backward.h"

#include <algorithm>
#include <bit>

#include "core/goals.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/help_distances.h"
#include "solver/help_fast.h"
#include "solver/help_keys.h"
#include "solver/help_table.h"
#include "strings/ui_callbacks.h"

namespace kv {

using namespace help_keys;
using help_distances::Far;

namespace {

constexpr std::uint16_t NoPart = 0xFFFF;
// The plies of the deepest walk the lists are kept for.
constexpr int MaxPlies = 20;
constexpr std::uint32_t NoRow = 0xFFFFFFFF;
constexpr int NoMan = -1;
constexpr int Unknown = 2;
// Positions between two polls of the user break.
constexpr std::uint64_t PollInterval = 4096;

using Reachable = HelpBackwardMemory::Reachable;

// Whether the black move may let White check at once, when the squares
// found by LastBlackMoveSquares do not say so: a king move, a capture of a
// white man, a double step (White may take en passant).
bool ChangesWhiteChecks(const Move& move) {
  const int step = move.to - move.from;
  return move.moved == BlackKing || move.captured != Empty ||
         (move.moved == BlackPawn && step == 20);
}

class BackwardWalk {
 public:
  // The men of the targets stand on memory.squareOfMan.
  BackwardWalk(HelpFast& fast, HelpBackwardMemory& memory, HelpTable& table, Position& pos,
               const UiCallbacks* ui, const std::atomic<bool>* stop)
      : fast_(fast),
        memory_(memory),
        table_(table),
        pos_(pos),
        ui_(ui),
        stop_(stop),
        mate_(fast.goal == Goal::Mate),
        rulesKey_(HelpRulesKey(fast.goal, false)),
        menCount_(memory.targets.men.size()) {
    // One list per ply of the deepest walk, never moved while in use.
    if (memory.reachable.size() < filters_.size()) memory.reachable.resize(filters_.size());
    manAt_.fill(NoMan);
    for (std::size_t m = 0; m < menCount_; ++m) {
      cellOf_[m] = static_cast<std::int8_t>(memory.squareOfMan[m]);
      if (memory.squareOfMan[m] != 0) manAt_[memory.squareOfMan[m]] = static_cast<std::int8_t>(m);
    }
  }

  // The targets within `white` and `black` moves where the men stand.
  void Start(int white, int black, std::vector<Reachable>& out) {
    out.clear();
    const auto& targets = memory_.targets.targets;
    for (std::uint32_t t = 0; t < targets.size(); ++t) {
      const HelpTarget& target = targets[t];
      int whiteNeed = 0;
      int blackNeed = 0;
      for (int i = 0; i < target.whiteCount; ++i) whiteNeed += NeedAtStart(target.white[i]);
      for (int i = 0; i < target.blackCount; ++i) blackNeed += NeedAtStart(target.black[i]);
      if (whiteNeed <= white && blackNeed <= black)
        out.push_back(
            {t, static_cast<std::uint8_t>(whiteNeed), static_cast<std::uint8_t>(blackNeed)});
    }
  }

  // The start of a walk at a position one black move, already played, after
  // the one the targets were made for: the targets that move leaves within
  // reach become the first list. Whether there are any.
  bool EnterAfter(const Move& move, int moves, const std::vector<Reachable>& before) {
    // The move is on the board, but the men are still where they stood
    // before it, which is what Survivors reads.
    const bool any = Survivors(move, false, moves - 1, before, List(0));
    Follow(move);
    return any;
  }

  // The first list of a walk that starts where the targets were made.
  std::vector<Reachable>& List0() { return List(0); }

  // White to move after `last`, `moves` white moves left, Black one fewer;
  // the targets within reach in List(ply).
  int WhiteMates(std::uint64_t men, const Move& last, int moves, int ply) {
    if (BreakPolled()) return HelpStopped;
    if (moves == 1) return GoalInOne(last);
    const std::uint64_t key = FullKey(pos_, men, last, true) ^ rulesKey_;
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    if (AttackedByWhite(pos_, pos_.blackKingSquare) != 0) return Illegal(key);
    // Two white moves left cannot deal with more black men than they reach.
    if (!mate_ && moves == 2 && !StalemateWithinTwoPossible(pos_))
      return Remember(key, moves, false);
    if (MayMateNow(List(ply))) {
      const int now = GoalInOne(last);
      if (now == HelpIllegal) return Illegal(key);
      if (now == 1) return Remember(key, moves, true);
    }
    MoveList& list = fast_.lists[ply];
    GenerateWhiteMoves(pos_, last.from, last.to, list);
    const MoveFilter& filter = MakeFilter(List(ply), true, moves, ply);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move w = list.moves[i];
      if (!MayMove(w, filter) || !Survivors(w, true, moves - 1, List(ply), List(ply + 1))) continue;
      Play(w);
      const int answer = BlackAllows(MenAfter(men, w), w, moves - 1, ply + 1);
      TakeBack(w);
      if (answer == HelpStopped) return HelpStopped;
      if (answer == HelpMate) return Remember(key, moves, true);
    }
    return Remember(key, moves, false);
  }

  // Black to move after White's move `last`, `moves` white moves left after
  // Black's move (and as many black ones, this move included).
  int BlackAllows(std::uint64_t men, const Move& last, int moves, int ply) {
    if (BreakPolled()) return HelpStopped;
    const std::uint64_t key = FullKey(pos_, men, last, false) ^ rulesKey_;
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    MoveList& list = fast_.lists[ply];
    if (GenerateBlackMoves(pos_, last.from, last.to, list) == 1) return Illegal(key);
    // Before White's last move, the black moves after which it can reach
    // the goal: for a mate those that let White check, for a stalemate
    // those that leave White's move no more men to deal with than it can.
    std::uint64_t from = ~std::uint64_t{0};
    std::uint64_t to = ~std::uint64_t{0};
    std::uint64_t flights = 0;
    if (moves == 1 && mate_) {
      LastBlackMoveSquares(pos_, from, to);
      flights = UncoverableFlights(pos_);
    }
    StalemateNeeds needs;
    if (moves == 1 && !mate_) needs = BlackStalemateNeeds(pos_);
    const MoveFilter& filter = MakeFilter(List(ply), false, moves, ply);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move b = list.moves[i];
      if (!MayMove(b, filter)) continue;
      if (!mate_ && b.moved != BlackKing && !needs.Admits(b)) continue;
      if (b.moved != BlackKing) {
        if ((from & SquareBit[b.from]) == 0 && (to & SquareBit[b.to]) == 0 &&
            !ChangesWhiteChecks(b))
          continue;
        if ((flights & ~SquareBit[b.to]) != 0) continue;
      }
      if (!Survivors(b, false, moves - 1, List(ply), List(ply + 1))) continue;
      Play(b);
      const int answer = WhiteMates(MenAfter(men, b), b, moves, ply + 1);
      TakeBack(b);
      if (answer == HelpStopped) return HelpStopped;
      if (answer == HelpMate) return Remember(key, moves, true);
    }
    return Remember(key, moves, false);
  }

 private:
  std::vector<Reachable>& List(int ply) { return memory_.reachable[ply]; }

  // Whether White's move reaches the goal at once.
  int GoalInOne(const Move& last) {
    if (mate_) return FindMateInOne(pos_, last.from, last.to);
    return FindStalemateInOne(pos_, last.from, last.to);
  }

  int NeedAtStart(std::uint16_t place) const {
    const int square = memory_.squareOfMan[memory_.targets.places[place].man];
    return square == 0 ? Far : Distance(pos_.board[square], square, place);
  }

  // The fewest moves of a man of `code` on `square` to its place, the
  // minimum over the place's squares, kept once found. A promoted man is
  // counted as the strongest of its kind could move.
  int Distance(int code, int square, std::uint16_t index) const {
    const int from = std::countr_zero(SquareBit[square]);
    if (code == memory_.placeWas[index]) {
      const std::uint32_t row = memory_.distanceRow[index];
      if (row != NoRow && memory_.distances[row + from] != Unknown8)
        return memory_.distances[row + from];
    }
    return FindDistance(code, from, index);
  }

  int FindDistance(int code, int from, std::uint16_t index) const {
    const HelpPlace& place = memory_.targets.places[index];
    const bool promoted = code != memory_.placeWas[index];
    if (promoted && place.shape == EndShape::PromotedLine && code == WhiteKnight) return Far;
    if (promoted && place.shape == EndShape::PromotedKnight && code != WhiteKnight) return Far;
    std::uint32_t& row = memory_.distanceRow[index];
    if (row == NoRow) {
      row = static_cast<std::uint32_t>(memory_.distances.size());
      memory_.distances.resize(memory_.distances.size() + 128, Unknown8);
    }
    std::uint8_t& known = memory_.distances[row + (promoted ? 64 : 0) + from];
    if (known == Unknown8) {
      int counted = code;
      if (promoted) {
        if (code > OffBoard)
          counted = BlackQueen;
        else
          counted = place.shape == EndShape::PromotedKnight ? WhiteKnight : WhiteQueen;
      }
      int least = Far;
      for (std::uint64_t squares = place.squares; squares != 0; squares &= squares - 1) {
        const int to = std::countr_zero(squares);
        int moves = HelpPartDistance(counted, from, place.shape, to, memory_.targets.castlings);
        if (promoted && code > OffBoard)
          moves = std::min(moves, HelpPartDistance(BlackKnight, from, place.shape, to, 0));
        least = std::min(least, moves);
      }
      known = static_cast<std::uint8_t>(std::min(least, Far));
    }
    return known;
  }

  // A mate at once needs a target White reaches in one move with every
  // black man in place.
  static bool MayMateNow(const std::vector<Reachable>& alive) {
    return std::any_of(alive.begin(), alive.end(),
                       [](const Reachable& r) { return r.white <= 1 && r.black == 0; });
  }

  // Which moves may leave a target within reach, found once for all the
  // moves of a position: any move of a man without a part in a target the
  // side may spend a move on; a move of a man with a part to a square near
  // enough its place; any move of a man that has promoted since the targets
  // were made, and any castling, left to Survivors.
  struct MoveFilter {
    std::uint32_t anyMove = 0;
    std::uint32_t withPart = 0;
    std::array<std::uint64_t, 32> squares{};  // by man, for withPart
  };

  // The filter of the targets of `alive`, the side to move having `moves`.
  const MoveFilter& MakeFilter(const std::vector<Reachable>& alive, bool white, int moves,
                               int ply) {
    MoveFilter& filter = filters_[ply];
    filter.anyMove = 0;
    filter.withPart = 0;
    const HelpTargets& targets = memory_.targets;
    for (const Reachable& r : alive) {
      const int spare = moves - (white ? r.white : r.black);
      const std::uint32_t men = memory_.partMen[r.target];
      if (spare > 0) filter.anyMove |= ~men;
      const HelpTarget& target = targets.targets[r.target];
      const std::uint16_t* parts = white ? target.white.data() : target.black.data();
      const int count = white ? target.whiteCount : target.blackCount;
      for (int i = 0; i < count; ++i) {
        const std::uint16_t place = parts[i];
        const int man = targets.places[place].man;
        if ((filter.anyMove >> man & 1) != 0) continue;
        const int square = cellOf_[man];
        const int code = pos_.board[square];
        if (code != memory_.placeWas[place]) {
          filter.anyMove |= 1u << man;
          continue;
        }
        // Within reach after the move: at most its distance now, less one,
        // with the target's spare moves.
        const int within = Distance(code, square, place) - 1 + spare;
        const std::uint64_t near = within < 0 ? 0 : Within(place, within);
        if ((filter.withPart >> man & 1) == 0) {
          filter.withPart |= 1u << man;
          filter.squares[man] = 0;
        }
        filter.squares[man] |= near;
      }
    }
    return filter;
  }

  bool MayMove(const Move& move, const MoveFilter& filter) const {
    const int man = manAt_[move.from];
    if (man == NoMan) return false;
    if ((filter.anyMove >> man & 1) != 0 || IsCastling(move)) return true;
    if ((filter.withPart >> man & 1) == 0) return false;
    // A promotion changes the man's count; Survivors counts it.
    return move.placed != move.moved || (filter.squares[man] & SquareBit[move.to]) != 0;
  }

  // The squares from which the man of `place`, as it was, needs at most
  // `moves` moves to it.
  std::uint64_t Within(std::uint16_t place, int moves) {
    constexpr int Kept = 8;
    if (moves >= Kept) return ~std::uint64_t{0};
    std::uint32_t& row = memory_.withinRow[place];
    if (row == NoRow) {
      row = static_cast<std::uint32_t>(memory_.within.size());
      memory_.within.resize(memory_.within.size() + Kept, 0);
      const int code = memory_.placeWas[place];
      for (int q = 0; q < 64; ++q) {
        const int d = Distance(code, BitSquare(q), place);
        for (int m = d; m < Kept; ++m) memory_.within[row + m] |= std::uint64_t{1} << q;
      }
    }
    return memory_.within[row + moves];
  }

  // The targets of `in` still within reach after `move`, played or not
  // (manAt_ is as before it), the mover's side having `left` moves after
  // it; whether there are any.
  bool Survivors(const Move& move, bool white, int left, const std::vector<Reachable>& in,
                 std::vector<Reachable>& out) {
    out.clear();
    const int mover = manAt_[move.from];
    const int taken = move.captured != Empty ? manAt_[move.capture] : NoMan;
    int rook = NoMan;
    int rookFrom = 0;
    int rookTo = 0;
    if (IsCastling(move)) {
      rookFrom = move.to > move.from ? move.from + 3 : move.from - 4;
      rookTo = move.to > move.from ? move.from + 1 : move.from - 1;
      rook = manAt_[rookFrom];
    }
    const int rookCode = move.moved == WhiteKing ? WhiteRook : BlackRook;
    const auto bit = [](int man) { return man == NoMan ? 0u : 1u << man; };
    const std::uint32_t moverBit = bit(mover);
    const std::uint32_t takenBit = bit(taken);
    const std::uint32_t rookBit = bit(rook);
    const std::uint16_t* parts = memory_.parts.data();
    const std::uint32_t* partMen = memory_.partMen.data();
    for (const Reachable& r : in) {
      const std::uint32_t men = partMen[r.target];
      if ((men & takenBit) != 0) continue;
      int need = white ? r.white : r.black;
      if ((men & (moverBit | rookBit)) != 0) {
        const std::uint16_t* row = parts + static_cast<std::size_t>(r.target) * menCount_;
        if ((men & moverBit) != 0)
          need += Distance(move.placed, move.to, row[mover]) -
                  Distance(move.moved, move.from, row[mover]);
        if ((men & rookBit) != 0)
          need += Distance(rookCode, rookTo, row[rook]) - Distance(rookCode, rookFrom, row[rook]);
      }
      if (need > left) continue;
      Reachable next = r;
      (white ? next.white : next.black) = static_cast<std::uint8_t>(need);
      out.push_back(next);
    }
    return !out.empty();
  }

  static bool IsCastling(const Move& move) {
    return (move.moved == WhiteKing || move.moved == BlackKing) &&
           (move.to - move.from == 2 || move.to - move.from == -2);
  }

  // MakeMove, keeping which man stands where.
  void Play(const Move& move) {
    Follow(move);
    MakeMove(pos_, move);
  }
  void TakeBack(const Move& move) {
    UnmakeMove(pos_, move);
    --depth_;
    MoveCastlingRook(move, false);
    Put(manAt_[move.to], move.from);
    manAt_[move.to] = NoMan;
    if (move.captured != Empty && captured_[depth_] != NoMan) Put(captured_[depth_], move.capture);
  }
  // Puts a man of the targets on a cell.
  void Put(int man, int cell) {
    manAt_[cell] = static_cast<std::int8_t>(man);
    if (man != NoMan) cellOf_[man] = static_cast<std::int8_t>(cell);
  }
  // Which man stands where after `move`.
  void Follow(const Move& move) {
    captured_[depth_] = NoMan;
    if (move.captured != Empty) {
      captured_[depth_] = manAt_[move.capture];
      if (captured_[depth_] != NoMan) cellOf_[captured_[depth_]] = 0;
      manAt_[move.capture] = NoMan;
    }
    Put(manAt_[move.from], move.to);
    manAt_[move.from] = NoMan;
    MoveCastlingRook(move, true);
    ++depth_;
  }
  void MoveCastlingRook(const Move& move, bool forward) {
    if (!IsCastling(move)) return;
    const int rookFrom = move.to > move.from ? move.from + 3 : move.from - 4;
    const int rookTo = move.to > move.from ? move.from + 1 : move.from - 1;
    if (forward) {
      Put(manAt_[rookFrom], rookTo);
      manAt_[rookFrom] = NoMan;
    } else {
      Put(manAt_[rookTo], rookFrom);
      manAt_[rookTo] = NoMan;
    }
  }

  bool BreakPolled() {
    ++fast_.nodes;
    if (stopped_) return true;
    if (fast_.nodes % PollInterval == 0) {
      if (ui_ != nullptr && ui_->BreakRequested()) stopped_ = true;
      if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
    }
    return stopped_;
  }

  int Lookup(std::uint64_t key, int moves) {
    switch (table_.Find(key, moves)) {
      case HelpTable::Known::Mate:
        ++fast_.tableHits;
        return HelpMate;
      case HelpTable::Known::NoMate:
        ++fast_.tableHits;
        return HelpNoMate;
      case HelpTable::Known::Illegal:
        ++fast_.tableHits;
        return HelpIllegal;
      case HelpTable::Known::Nothing:
        break;
    }
    return Unknown;
  }
  int Remember(std::uint64_t key, int moves, bool mate) {
    table_.Store(key, moves, mate);
    return mate ? HelpMate : HelpNoMate;
  }
  int Illegal(std::uint64_t key) {
    table_.StoreIllegal(key);
    return HelpIllegal;
  }

  static constexpr std::uint8_t Unknown8 = 255;

  HelpFast& fast_;
  HelpBackwardMemory& memory_;
  HelpTable& table_;
  Position& pos_;
  const UiCallbacks* ui_;
  const std::atomic<bool>* stop_;
  bool stopped_ = false;
  const bool mate_;
  // The table's keys of this goal, as the plain walk's.
  const std::uint64_t rulesKey_;
  const std::size_t menCount_;
  std::array<std::int8_t, BoardCells> manAt_{};
  std::array<std::int8_t, 32> cellOf_{};  // 0 for a man taken
  std::array<std::int8_t, MaxPlies> captured_{};
  int depth_ = 0;
  // One filter per ply, never moved while a walk looks at it.
  std::array<MoveFilter, MaxPlies> filters_;
};

// Makes the targets of the position on the board for `white` and `black`
// moves, at most `limit`, with each target's parts as one row per target,
// one cell per man.
void MakeTargets(HelpBackwardMemory& memory, const Position& pos, int white, int black,
                 std::size_t limit) {
  MakeHelpTargets(pos, white, black, memory.goal, limit, memory.targets);
  const std::size_t men = memory.targets.men.size();
  memory.parts.assign(memory.targets.targets.size() * men, NoPart);
  memory.partMen.assign(memory.targets.targets.size(), 0);
  for (std::size_t t = 0; t < memory.targets.targets.size(); ++t) {
    const HelpTarget& target = memory.targets.targets[t];
    std::uint16_t* row = memory.parts.data() + t * men;
    const auto add = [&](std::uint16_t place) {
      const int man = memory.targets.places[place].man;
      row[man] = place;
      memory.partMen[t] |= 1u << man;
    };
    for (int i = 0; i < target.whiteCount; ++i) add(target.white[i]);
    for (int i = 0; i < target.blackCount; ++i) add(target.black[i]);
  }
  memory.distances.clear();
  memory.distanceRow.assign(memory.targets.places.size(), NoRow);
  memory.within.clear();
  memory.withinRow.assign(memory.targets.places.size(), NoRow);
  memory.placeWas.clear();
  for (const HelpPlace& place : memory.targets.places)
    memory.placeWas.push_back(memory.targets.men[place.man].code);
}

// Whether `move` is a black move of a position that may be taken back.
bool IsBlackMove(const Move& move) {
  return move.from != 0 && move.moved > OffBoard;
}

// The fewest moves of a man of `was` on `from` to become a man of `now` on
// `to` (both cells), counted as the targets count them; Far when it cannot.
int Displacement(int was, int from, int now, int to, int castlings) {
  EndShape shape = EndShape::AsItIs;
  if (now != was) {
    if (was == WhitePawn && now != WhiteKing && now < OffBoard)
      shape = now == WhiteKnight ? EndShape::PromotedKnight : EndShape::PromotedLine;
    else if (was == BlackPawn && now != BlackKing && now > OffBoard)
      shape = EndShape::AnyShape;
    else
      return Far;
  }
  return HelpPartDistance(was, std::countr_zero(SquareBit[from]), shape,
                          std::countr_zero(SquareBit[to]), castlings);
}

// Finds where the men of the targets stand in `pos`: each man on its square
// when a man of its code stands there, the others on the squares left, the
// nearest first. Every mating position within `white` and `black` moves of
// `pos` is then within the targets' moves of the position they were made
// from, so among them, when the men's moves from there to here, added to
// those, fit in the targets' moves: each man's count is a length of a
// shortest way, which no detour shortens. False when they do not fit.
bool PlaceTheMen(HelpBackwardMemory& memory, const Position& pos, int white, int black) {
  const HelpTargets& targets = memory.targets;
  const std::size_t count = targets.men.size();
  memory.squareOfMan.assign(count, 0);
  std::uint64_t unplaced = pos.whiteMen | pos.blackMen;
  std::vector<std::size_t> moved;
  for (std::size_t m = 0; m < count; ++m) {
    const int square = targets.men[m].square;
    if ((unplaced & SquareBit[square]) != 0 && pos.board[square] == targets.men[m].code) {
      memory.squareOfMan[m] = square;
      unplaced &= ~SquareBit[square];
    } else {
      moved.push_back(m);
    }
  }
  int whiteMoves = 0;
  int blackMoves = 0;
  for (; unplaced != 0; unplaced &= unplaced - 1) {
    const int square = BitSquare(std::countr_zero(unplaced));
    const int now = pos.board[square];
    if (now == Empty) continue;  // a black man lifted off the board for a while
    int best = Far;
    std::size_t nearest = count;
    for (const std::size_t m : moved) {
      if (memory.squareOfMan[m] != 0) continue;
      const int moves =
          Displacement(targets.men[m].code, targets.men[m].square, now, square, targets.castlings);
      if (moves < best) {
        best = moves;
        nearest = m;
      }
    }
    if (nearest == count) return false;
    memory.squareOfMan[nearest] = square;
    (now > OffBoard ? blackMoves : whiteMoves) += best;
  }
  return whiteMoves + white <= memory.targetWhiteMoves &&
         blackMoves + black <= memory.targetBlackMoves;
}

// Targets for `pos` with `white` and `black` moves: those of an earlier
// position while this one is within their reach, else made here, at most
// `limit`; the men placed on them in squareOfMan.
void TargetsFor(HelpBackwardMemory& memory, const Position& pos, int white, int black,
                std::size_t limit = HelpTargetLimit) {
  if (memory.goal == HelpGoal::Stalemate) limit = std::min(limit, HelpStalemateTargetLimit);
  // The targets' counts allow only the castlings of the position they were
  // made from: one that may castle otherwise needs targets of its own.
  const bool castlingsCounted = (HelpCastlings(pos) & ~memory.targets.castlings) == 0;
  if (memory.targets.complete && !memory.targets.men.empty() && castlingsCounted &&
      PlaceTheMen(memory, pos, white, black))
    return;
  memory.targetWhiteMoves = white;
  memory.targetBlackMoves = black;
  // A position of the search with as many moves as one that had too many
  // targets is taken to have too many too, without making them again.
  if (white >= memory.tooManyWhite && black >= memory.tooManyBlack) {
    memory.targets.targets.clear();
    memory.targets.complete = false;
    return;
  }
  MakeTargets(memory, pos, white, black, limit);
  if (!memory.targets.complete) {
    memory.tooManyWhite = white;
    memory.tooManyBlack = black;
  }
  memory.squareOfMan.clear();
  for (const HelpTargets::Man& man : memory.targets.men) memory.squareOfMan.push_back(man.square);
}

// The memory of `fast`, its targets those of the walk's goal: targets of
// another goal are dropped, so that the next position asked about makes its
// own.
HelpBackwardMemory& MemoryOf(HelpFast& fast) {
  if (!fast.backward) fast.backward = std::make_shared<HelpBackwardMemory>();
  HelpBackwardMemory& memory = *fast.backward;
  const HelpGoal goal = fast.goal == Goal::Mate ? HelpGoal::Mate : HelpGoal::Stalemate;
  if (memory.goal != goal) {
    memory.goal = goal;
    memory.targets = HelpTargets{};
    memory.startKey = 0;
    memory.tooManyWhite = memory.tooManyBlack = TooManyUnknown;
  }
  return memory;
}

}  // namespace

void PrepareHelpTargets(HelpFast& fast, const Position& pos, int whiteMoves, int blackMoves) {
  // A search of two white moves asks the fast search nothing; a
  // maximummer's moves are the plain walk's.
  if (!fast.enabled || !fast.backwardEnabled || whiteMoves < 3 || fast.maximummer) return;
  HelpBackwardMemory& memory = MemoryOf(fast);
  // Another search: whether its positions have too many targets is found
  // anew.
  memory.tooManyWhite = memory.tooManyBlack = TooManyUnknown;
  TargetsFor(memory, pos, whiteMoves, blackMoves, HelpFirstTargetLimit);
  memory.startKey = 0;  // the men were placed anew
  // Too many targets where the search starts: the plain walk answers its
  // questions, rather than targets being made again and again at the
  // positions after its first moves, until it has worked long enough for
  // the targets up to the higher limit to be worth their making.
  memory.plainSearch = !memory.targets.complete;
  // A stalemate's targets are never made again with the higher limit.
  memory.retried = !memory.plainSearch || memory.goal == HelpGoal::Stalemate;
  if (memory.plainSearch) {
    memory.root = pos;
    memory.rootWhite = whiteMoves;
    memory.rootBlack = blackMoves;
    memory.retryAt = fast.nodes + HelpRetryPositions;
  }
}

namespace {

// The targets of the search's first position made again, up to the higher
// limit; the walk takes over when they are complete.
void RetryTargets(HelpBackwardMemory& memory) {
  memory.retried = true;
  memory.tooManyWhite = memory.tooManyBlack = TooManyUnknown;
  memory.targetWhiteMoves = memory.rootWhite;
  memory.targetBlackMoves = memory.rootBlack;
  MakeTargets(memory, memory.root, memory.rootWhite, memory.rootBlack, HelpTargetLimit);
  memory.squareOfMan.clear();
  for (const HelpTargets::Man& man : memory.targets.men) memory.squareOfMan.push_back(man.square);
  memory.startKey = 0;
  memory.plainSearch = !memory.targets.complete;
}

}  // namespace

int HelpMateBackward(HelpFast& fast, HelpTable& table, Position& pos, const Move& last, int moves,
                     const UiCallbacks* ui, const std::atomic<bool>* stop) {
  // The mate-in-one test alone is quicker; a walk deeper than the lists is
  // left to the plain walk.
  if (moves < 2 || 2 * moves + 2 > MaxPlies) return HelpDeclined;
  HelpBackwardMemory& memory = MemoryOf(fast);
  const std::uint64_t rulesKey = HelpRulesKey(fast.goal, false);
  if (memory.plainSearch) {
    if (memory.retried || fast.nodes < memory.retryAt) return HelpDeclined;
    RetryTargets(memory);
    if (memory.plainSearch) return HelpDeclined;
  }
  const std::uint64_t men = MenKey(pos);
  // A position the table knows needs no targets.
  switch (table.Find(FullKey(pos, men, last, true) ^ rulesKey, moves)) {
    case HelpTable::Known::Mate:
      return HelpMate;
    case HelpTable::Known::NoMate:
      return HelpNoMate;
    case HelpTable::Known::Illegal:
      return HelpIllegal;
    case HelpTable::Known::Nothing:
      break;
  }
  // The walk starts before Black's move, with that move counted, so that
  // the questions after each of its other moves start alike.
  const bool before = IsBlackMove(last);
  if (before) UnmakeMove(pos, last);
  const int white = moves;
  const int black = before ? moves : moves - 1;
  const std::uint64_t startKey = FullKey(pos, MenKey(pos), Move{}, !before);
  if (startKey != memory.startKey || moves != memory.startMoves) {
    memory.startKey = startKey;
    memory.startMoves = moves;
    TargetsFor(memory, pos, white, black);
    if (memory.targets.complete) {
      BackwardWalk start(fast, memory, table, pos, ui, stop);
      start.Start(white, black, memory.start);
    }
  }
  if (before) MakeMove(pos, last);
  if (!memory.targets.complete) return HelpDeclined;
  BackwardWalk walk(fast, memory, table, pos, ui, stop);
  if (before) {
    if (!walk.EnterAfter(last, moves, memory.start)) {
      // No target survives Black's move: nothing mates, unless the move
      // was illegal.
      if (AttackedByWhite(pos, pos.blackKingSquare) != 0) return HelpIllegal;
      table.Store(FullKey(pos, men, last, true) ^ rulesKey, moves, false);
      return HelpNoMate;
    }
  } else {
    walk.List0() = memory.start;
  }
  return walk.WhiteMates(men, last, moves, 0);
}

}  // namespace kv
