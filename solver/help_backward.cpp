// The backward helpmate walk. It is the plain walk of help_fast.cpp with
// another test of hope: instead of counting, at every position, whether
// some choice of places could mate, it carries the list of targets still
// within reach and, for each move, keeps those the move leaves within
// reach. The count of a target changes only by the man that moved (and a
// castling rook), and a target dies when one of its men is taken, so each
// move is judged by a pass over the targets alive before it, without being
// played when none survives.
#include "solver/help_backward.h"

#include <algorithm>
#include <bit>

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
  // The men stand where they stood when the targets were made.
  BackwardWalk(HelpFast& fast, HelpBackwardMemory& memory, HelpTable& table, Position& pos,
               const UiCallbacks* ui, const std::atomic<bool>* stop)
      : fast_(fast),
        memory_(memory),
        table_(table),
        pos_(pos),
        ui_(ui),
        stop_(stop),
        menCount_(memory.targets.men.size()) {
    manAt_.fill(NoMan);
    for (std::size_t m = 0; m < menCount_; ++m)
      manAt_[memory.targets.men[m].square] = static_cast<std::int8_t>(m);
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
    // The move is on the board: its rook has moved, so its man is found
    // on the square it left by the list of men.
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
    if (moves == 1) return FindMateInOne(pos_, last.from, last.to);
    const std::uint64_t key = FullKey(pos_, men, last, true);
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    if (AttackedByWhite(pos_, pos_.blackKingSquare) != 0) return Illegal(key);
    if (MayMateNow(List(ply))) {
      const int now = FindMateInOne(pos_, last.from, last.to);
      if (now == HelpIllegal) return Illegal(key);
      if (now == 1) return Remember(key, moves, true);
    }
    MoveList& list = fast_.lists[ply];
    GenerateWhiteMoves(pos_, last.from, last.to, list);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move w = list.moves[i];
      if (!Survivors(w, true, moves - 1, List(ply), List(ply + 1))) continue;
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
    const std::uint64_t key = FullKey(pos_, men, last, false);
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    MoveList& list = fast_.lists[ply];
    if (GenerateBlackMoves(pos_, last.from, last.to, list) == 1) return Illegal(key);
    std::uint64_t from = ~std::uint64_t{0};
    std::uint64_t to = ~std::uint64_t{0};
    std::uint64_t flights = 0;
    if (moves == 1) {
      LastBlackMoveSquares(pos_, from, to);
      flights = UncoverableFlights(pos_);
    }
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move b = list.moves[i];
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
  std::vector<Reachable>& List(int ply) {
    auto& lists = memory_.reachable;
    if (lists.size() <= static_cast<std::size_t>(ply)) lists.resize(ply + 1);
    return lists[ply];
  }

  int NeedAtStart(std::uint16_t place) const {
    const HelpTargets::Man& man = memory_.targets.men[memory_.targets.places[place].man];
    return Distance(man.code, man.square, place);
  }

  // The fewest moves of a man of `code` on `square` to its place, the
  // minimum over the place's squares, kept once found. A promoted man is
  // counted as the strongest of its kind could move.
  int Distance(int code, int square, std::uint16_t index) const {
    const HelpPlace& place = memory_.targets.places[index];
    const int was = memory_.targets.men[place.man].code;
    const int from = std::countr_zero(SquareBit[square]);
    const bool promoted = code != was;
    if (promoted && place.shape == EndShape::PromotedLine && code == WhiteKnight) return Far;
    if (promoted && place.shape == EndShape::PromotedKnight && code != WhiteKnight) return Far;
    std::uint8_t& known = memory_.distances[index][(promoted ? 64 : 0) + from];
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
    const std::uint16_t* parts = memory_.parts.data();
    for (const Reachable& r : in) {
      const std::uint16_t* row = parts + static_cast<std::size_t>(r.target) * menCount_;
      if (taken != NoMan && row[taken] != NoPart) continue;
      int need = white ? r.white : r.black;
      if (mover != NoMan && row[mover] != NoPart)
        need += Distance(move.placed, move.to, row[mover]) -
                Distance(move.moved, move.from, row[mover]);
      if (rook != NoMan && row[rook] != NoPart)
        need += Distance(rookCode, rookTo, row[rook]) - Distance(rookCode, rookFrom, row[rook]);
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
    manAt_[move.from] = manAt_[move.to];
    manAt_[move.to] = NoMan;
    if (move.captured != Empty) manAt_[move.capture] = captured_[depth_];
  }
  // Which man stands where after `move`.
  void Follow(const Move& move) {
    captured_[depth_] = NoMan;
    if (move.captured != Empty) {
      captured_[depth_] = manAt_[move.capture];
      manAt_[move.capture] = NoMan;
    }
    manAt_[move.to] = manAt_[move.from];
    manAt_[move.from] = NoMan;
    MoveCastlingRook(move, true);
    ++depth_;
  }
  void MoveCastlingRook(const Move& move, bool forward) {
    if (!IsCastling(move)) return;
    const int rookFrom = move.to > move.from ? move.from + 3 : move.from - 4;
    const int rookTo = move.to > move.from ? move.from + 1 : move.from - 1;
    if (forward) {
      manAt_[rookTo] = manAt_[rookFrom];
      manAt_[rookFrom] = NoMan;
    } else {
      manAt_[rookFrom] = manAt_[rookTo];
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
  const std::size_t menCount_;
  std::array<std::int8_t, BoardCells> manAt_{};
  std::array<std::int8_t, 16> captured_{};
  int depth_ = 0;
};

// Makes the targets of the position on the board for `white` and `black`
// moves, with each target's parts as one row per target, one cell per man.
void MakeTargets(HelpBackwardMemory& memory, const Position& pos, int white, int black) {
  MakeHelpTargets(pos, white, black, HelpGoal::Mate, HelpTargetLimit, memory.targets);
  const std::size_t men = memory.targets.men.size();
  memory.parts.assign(memory.targets.targets.size() * men, NoPart);
  for (std::size_t t = 0; t < memory.targets.targets.size(); ++t) {
    const HelpTarget& target = memory.targets.targets[t];
    std::uint16_t* row = memory.parts.data() + t * men;
    for (int i = 0; i < target.whiteCount; ++i)
      row[memory.targets.places[target.white[i]].man] = target.white[i];
    for (int i = 0; i < target.blackCount; ++i)
      row[memory.targets.places[target.black[i]].man] = target.black[i];
  }
  std::array<std::uint8_t, 128> unknown;
  unknown.fill(255);
  memory.distances.assign(memory.targets.places.size(), unknown);
}

// Whether `move` is a black move of a position that may be taken back.
bool IsBlackMove(const Move& move) {
  return move.from != 0 && move.moved > OffBoard;
}

}  // namespace

int HelpMateBackward(HelpFast& fast, HelpTable& table, Position& pos, const Move& last, int moves,
                     const UiCallbacks* ui, const std::atomic<bool>* stop) {
  if (moves < 2) return HelpDeclined;  // the mate-in-one test alone is quicker
  if (!fast.backward) fast.backward = std::make_shared<HelpBackwardMemory>();
  HelpBackwardMemory& memory = *fast.backward;
  const std::uint64_t men = MenKey(pos);
  // A position the table knows needs no targets.
  switch (table.Find(FullKey(pos, men, last, true), moves)) {
    case HelpTable::Known::Mate:
      return HelpMate;
    case HelpTable::Known::NoMate:
      return HelpNoMate;
    case HelpTable::Known::Illegal:
      return HelpIllegal;
    case HelpTable::Known::Nothing:
      break;
  }
  // The targets are made before Black's move, with Black's move counted,
  // so that the questions after each of its other moves find them made.
  const bool before = IsBlackMove(last);
  if (before) UnmakeMove(pos, last);
  const std::uint64_t made = FullKey(pos, MenKey(pos), Move{}, !before);
  if (made != memory.madeFor || moves != memory.madeMoves) {
    memory.madeFor = made;
    memory.madeMoves = moves;
    MakeTargets(memory, pos, moves, before ? moves : moves - 1);
    if (memory.targets.complete) {
      BackwardWalk start(fast, memory, table, pos, ui, stop);
      start.Start(moves, before ? moves : moves - 1, memory.start);
    }
  }
  if (before) MakeMove(pos, last);
  if (!memory.targets.complete) return HelpDeclined;
  BackwardWalk walk(fast, memory, table, pos, ui, stop);
  if (before) {
    if (!walk.EnterAfter(last, moves, memory.start)) {
      // No target survives Black's move: nothing mates, unless the move
      // was illegal, which the plain walk tells.
      if (AttackedByWhite(pos, pos.blackKingSquare) != 0) return HelpIllegal;
      table.Store(FullKey(pos, men, last, true), moves, false);
      return HelpNoMate;
    }
  } else {
    walk.List0() = memory.start;
  }
  return walk.WhiteMates(men, last, moves, 0);
}

}  // namespace kv
