#include "solver/series_search.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>

#include "core/goals.h"
#include "core/position.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/position_key.h"
#include "solver/series_bound.h"

namespace kv {
namespace {

// The user break is polled once every this many moves played.
constexpr std::uint64_t BreakPollInterval = 256;

int CountMoves(const MoveList& list) {
  int n = 0;
  while (n < MoveListCapacity && list.moves[n].from != 0) ++n;
  return n;
}

// Keeps the legal moves of a list, in their order: those after which the
// mover's king is not attacked.
void KeepLegalMoves(Position& pos, MoveList& list, bool white) {
  int kept = 0;
  for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
    const Move m = list.moves[i];
    MakeMove(pos, m);
    const bool legal = white ? AttackedByBlack(pos, pos.whiteKingSquare) == 0
                             : AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, m);
    if (legal) list.moves[kept++] = m;
  }
  list.moves[kept].from = 0;
}

// White to move after Black's move lastFrom-lastTo: whether some white move
// stalemates Black.
bool WhiteCanStalemate(Position& pos, int lastFrom, int lastTo, MoveList& list) {
  GenerateWhiteMoves(pos, lastFrom, lastTo, list);
  for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
    const Move m = list.moves[i];
    MakeMove(pos, m);
    const bool stalemates =
        AttackedByBlack(pos, pos.whiteKingSquare) == 0 && BlackIsStalemated(pos, m.from, m.to);
    UnmakeMove(pos, m);
    if (stalemates) return true;
  }
  return false;
}

// Whether White has a man that moves along lines, or a pawn about to
// promote to one: only then can a white move pin a black man.
bool WhiteMayPin(const Position& pos) {
  for (std::uint64_t men = pos.whiteMen; men != 0; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    const int man = pos.board[square];
    if (man == WhiteQueen || man == WhiteRook || man == WhiteBishop) return true;
    if (man == WhitePawn && square < 40) return true;  // on the seventh rank
  }
  return false;
}

// Black to move (as if White had moved): whether one white move may still
// leave Black without a move. A black man other than a pawn or the king
// with a legal step to a square next to it, or a knight's jump, keeps that
// move whatever White does, unless White takes the man or pins it; one
// white move takes or pins one man, or two when it also uncovers a line.
bool OneWhiteMoveMayStalemate(Position& pos, MoveList& list) {
  // A list cut short by a check on White keeps fewer movers: no harm.
  GenerateBlackMoves(pos, 0, 0, list);
  const int limit = WhiteMayPin(pos) ? 2 : 1;
  std::uint64_t movers = 0;
  for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
    const Move& b = list.moves[i];
    if (b.moved == BlackKing || b.moved == BlackPawn) continue;
    const std::uint64_t bit = SquareBit[b.from];
    if (movers & bit) continue;
    const int step = b.to - b.from;
    const bool near = step == 1 || step == -1 || step == 10 || step == -10 || step == 9 ||
                      step == -9 || step == 11 || step == -11 || b.moved == BlackKnight;
    if (!near) continue;
    MakeMove(pos, b);
    const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, b);
    if (legal) {
      movers |= bit;
      if (std::popcount(movers) > limit) return false;
    }
  }
  return true;
}

// OneWhiteMoveMayStalemate's answer when no black man attacks White's king:
// Black's list is then complete, so its movers are exactly the men with a
// legal step to a square next to them, or a knight's jump. They are looked
// for man by man, and the scan stops as soon as there are too many,
// without making the whole list.
bool OneWhiteMoveMayStalemateUnchecked(Position& pos) {
  const int limit = WhiteMayPin(pos) ? 2 : 1;
  int movers = 0;
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1) {
    const int from = BitSquare(std::countr_zero(men));
    const int man = pos.board[from];
    std::span<const int> steps;
    switch (man) {
      case BlackQueen:
        steps = QueenOffsets;
        break;
      case BlackRook:
        steps = RookOffsets;
        break;
      case BlackBishop:
        steps = BishopOffsets;
        break;
      case BlackKnight:
        steps = KnightOffsets;
        break;
      default:
        continue;  // the king, pawns, a square whose man is lifted
    }
    for (const int step : steps) {
      const int to = from + step;
      const int target = pos.board[to];
      if (target >= OffBoard || target == WhiteKing) continue;
      const Move b{static_cast<std::int8_t>(from), static_cast<std::int8_t>(to),
                   static_cast<std::int8_t>(to),   static_cast<std::int8_t>(man),
                   static_cast<std::int8_t>(man),  static_cast<std::int8_t>(target)};
      MakeMove(pos, b);
      const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
      UnmakeMove(pos, b);
      if (legal) {
        if (++movers > limit) return false;
        break;
      }
    }
  }
  return true;
}

// Whether two squares lie on one rank, file or diagonal.
bool Aligned(int a, int b) {
  const int dr = a / 10 - b / 10;
  const int dc = a % 10 - b % 10;
  return dr == 0 || dc == 0 || dr == dc || dr == -dc;
}

// Whether White's move `w` may take Black's legal move `b` (of a man other
// than the king) away: by taking the man, by pinning it (a line piece moves
// or a line through the black king opens), by standing in its way, or, for
// a pawn, by filling the square it steps to or leaving the square it takes
// on. Any other white move leaves `b` legal.
bool MayStop(const Position& pos, const Move& w, const Move& b) {
  if (w.to == b.from || w.capture == b.from) return true;
  const int placed = w.placed;
  if (placed == WhiteQueen || placed == WhiteRook || placed == WhiteBishop) return true;
  if (Aligned(w.from, pos.blackKingSquare)) return true;
  if (b.moved == BlackPawn) return w.to == b.to || w.from == b.to || w.to == (b.from + b.to) / 2;
  if (b.moved == BlackKnight) return false;
  // A slide: a white man put between its ends.
  const int step = LineStep(b.to - b.from);
  if (step == 0) return false;
  for (int square = b.from + step; square != b.to; square += step)
    if (square == w.to) return true;
  return false;
}

// A legal move of Black (to move as if White had moved) by a man other than
// the king: every stalemating white move must take it away. Null when there
// is none.
Move AnyLegalManMove(Position& pos, MoveList& list) {
  GenerateBlackMoves(pos, 0, 0, list);
  for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
    const Move b = list.moves[i];
    if (b.moved == BlackKing) continue;
    MakeMove(pos, b);
    const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, b);
    if (legal) return b;
  }
  return Move{};
}

// The key of the position for the series tables: the men, found through
// the sets of squares the rules keep (faster than visiting every cell), and
// the castling rights. The series side moves in every position keyed, so no
// side to move is needed, and no en passant: only the other side's one
// final move could take en passant, and it is never keyed.
std::uint64_t SeriesKey(const Position& pos) {
  const auto& tables = position_key_detail::kKeyTables;
  std::uint64_t key = 0;
  for (std::uint64_t men = pos.whiteMen | pos.blackMen; men != 0; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    const int man = pos.board[square];
    if (man != Empty) key ^= tables.men[man & 15][square];
  }
  for (int i = 0; i < 6; ++i)
    if (pos.castlingCounters[i] == 0) key ^= tables.castling[i];
  return key;
}

// A legal move of the black king (Black to move as if White had moved), or
// null when it has none; castling is not looked for.
Move AnyLegalKingMove(Position& pos) {
  const int from = pos.blackKingSquare;
  if (!IsSquare(from)) return Move{};
  for (const int step : QueenOffsets) {
    const int to = from + step;
    const int target = pos.board[to];
    if (target >= OffBoard || target == WhiteKing) continue;
    const Move k{static_cast<std::int8_t>(from),      static_cast<std::int8_t>(to),
                 static_cast<std::int8_t>(to),        static_cast<std::int8_t>(BlackKing),
                 static_cast<std::int8_t>(BlackKing), static_cast<std::int8_t>(target)};
    MakeMove(pos, k);
    const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, k);
    if (legal) return k;
  }
  return Move{};
}

// After White's move `w` (played): whether Black's move `witness`, legal
// before it, is still one of Black's legal moves. Then Black is not
// stalemated, which is told without making Black's whole list.
bool StillLegal(Position& pos, const Move& witness, const Move& w) {
  Move b{};
  if (witness.from == 0 || !BlackMoveFits(pos, witness, w.from, w.to, b)) return false;
  MakeMove(pos, b);
  const bool legal = AttackedByWhite(pos, pos.blackKingSquare) == 0;
  UnmakeMove(pos, b);
  return legal;
}

// Whether a search keeps what its bounds found in the bound cache: only a
// series helpstalemate's bounds depend on the position alone.
bool CachesBounds(const SeriesRules& rules) {
  return rules.family == SeriesFamily::Help && rules.stalemate;
}

// The first word of `key`'s slot in the bound cache (two words to a slot,
// a power of two of them).
std::size_t BoundSlot(const std::vector<std::uint64_t>& cache, std::uint64_t key) {
  return 2 * (static_cast<std::size_t>(key) & (cache.size() / 2 - 1));
}

// What the bounds of a series helpstalemate found of a position, packed in
// one word of the bound cache: the stuck-men test's fewest moves found to
// fit (bits 8-15, 0 for none) and most found not to (bits 0-7); the king
// count (bits 16-23), whether it is known (bit 24) and whether it is only a
// floor (bit 25); bit 26 marks a used slot.
struct BoundFacts {
  int stuckFitsFrom = NotFound;
  int stuckFailsUpTo = 0;
  int kingCount = 0;
  bool kingKnown = false;
  bool kingFloor = false;

  static constexpr int NotFound = 256;
  static constexpr std::uint64_t KingKnownBit = std::uint64_t{1} << 24;
  static constexpr std::uint64_t KingFloorBit = std::uint64_t{1} << 25;
  static constexpr std::uint64_t UsedBit = std::uint64_t{1} << 26;

  static BoundFacts Unpack(std::uint64_t word) {
    BoundFacts facts;
    if (word == 0) return facts;
    facts.stuckFailsUpTo = static_cast<int>(word & 0xFF);
    if (const int fits = static_cast<int>(word >> 8 & 0xFF); fits != 0) facts.stuckFitsFrom = fits;
    facts.kingCount = static_cast<int>(word >> 16 & 0xFF);
    facts.kingKnown = (word & KingKnownBit) != 0;
    facts.kingFloor = (word & KingFloorBit) != 0;
    return facts;
  }
  std::uint64_t Pack() const {
    return UsedBit | (kingKnown ? KingKnownBit : 0) | (kingFloor ? KingFloorBit : 0) |
           static_cast<std::uint64_t>(kingCount & 0xFF) << 16 |
           static_cast<std::uint64_t>(stuckFitsFrom & 0xFF) << 8 |
           static_cast<std::uint64_t>(stuckFailsUpTo & 0xFF);
  }
};

// A series split between two threads after its first two moves: each item
// is a first move and a second move after it, listed in the order of a walk
// by one thread, so that the solutions, gathered item by item, come in that
// order too.
struct SeriesSplit {
  struct Item {
    Move first;
    Move second;
    int afterFirst = 0;  // the index of the first move's position
  };
  std::uint64_t rootKey = 0;
  std::vector<std::uint64_t> afterFirst;  // the key of each first move's position
  std::vector<Item> items;
};

class SeriesWalk {
 public:
  // `lists`: one move list per move of the longest series and one more, of
  // this walk alone. `stop`, when given, is a break shared with another
  // walk of the same search.
  SeriesWalk(Position& pos, const SeriesRules& rules, SeriesMemory& memory,
             std::vector<MoveList>& lists, const UiCallbacks* ui, std::atomic<bool>* stop = nullptr)
      : pos_(pos), rules_(rules), memory_(memory), lists_(lists), ui_(ui), stop_(stop) {}

  // Where the solutions found from now on go.
  void Into(SeriesResult& out) { out_ = &out; }
  std::uint64_t Nodes() const { return nodes_; }
  bool BrokenOff() const { return broken_; }

  // Every series of exactly `length` moves; true when there is one.
  bool SearchLength(int length) {
    path_.assign(static_cast<std::size_t>(length), Move{});
    return Walk(0, length);
  }

  // The first two moves of every series of `length` (3 or more) moves that
  // the table and the bounds leave, in the order the walk would play them,
  // each with its position after the first move: the work two threads
  // share. False when the diagram itself is ruled out.
  bool ListSecondMoves(int length, SeriesSplit& split) {
    path_.assign(static_cast<std::size_t>(length), Move{});
    if (!Enter(length, split.rootKey)) return false;
    MoveList& firsts = lists_[0];
    GenerateSeriesMoves(firsts);
    for (int i = 0; i < MoveListCapacity && firsts.moves[i].from != 0 && !broken_; ++i) {
      const Move first = firsts.moves[i];
      ++nodes_;
      MakeMove(pos_, first);
      bool checks = false;
      std::uint64_t key = 0;
      // Only the last move of a series may give check.
      if (PlayedLegally(checks) && !checks && Enter(length - 1, key)) {
        MoveList& seconds = lists_[1];
        GenerateSeriesMoves(seconds);
        const auto parent = static_cast<int>(split.afterFirst.size());
        split.afterFirst.push_back(key);
        for (int j = 0; j < MoveListCapacity && seconds.moves[j].from != 0; ++j)
          split.items.push_back({first, seconds.moves[j], parent});
      }
      UnmakeMove(pos_, first);
    }
    return !broken_;
  }

  // Walks the series that begin with an item's two moves.
  bool SearchItem(const SeriesSplit::Item& item, int length) {
    path_.assign(static_cast<std::size_t>(length), Move{});
    path_[0] = item.first;
    MakeMove(pos_, item.first);
    const bool found = Step(1, length - 1, item.second);
    UnmakeMove(pos_, item.first);
    return found;
  }

 private:
  // The series side to move after `ply` moves, `left` moves of the series
  // still to play.
  bool Walk(int ply, int left) {
    std::uint64_t key = 0;
    if (!Enter(left, key)) return false;
    MoveList& list = lists_[static_cast<std::size_t>(ply)];
    GenerateSeriesMoves(list);
    bool found = false;
    if (left == 1 && rules_.family == SeriesFamily::Direct && !rules_.stalemate) {
      found = FinishDirectMates(ply, list);
      if (!found && !broken_) memory_.table.StoreNone(key, left);
      return found;
    }
    for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
      found |= Step(ply, left, list.moves[i]);
      if (broken_) return found;
    }
    if (!found) memory_.table.StoreNone(key, left);
    return found;
  }

  // Starts loading what Enter reads of `key`: the table and, for a series
  // helpstalemate, the bound cache. Their misses are then waited for
  // together rather than one after the other.
  void PrefetchSlots(std::uint64_t key) const {
    memory_.table.Prefetch(key);
    if (CachesBounds(rules_))
      __builtin_prefetch(&memory_.boundCache[BoundSlot(memory_.boundCache, key)]);
  }

  // Whether a position, the series side to move with `left` moves to play,
  // is worth walking, and its key: not after a break, nor where a reflex
  // problem's White could reach the goal at once (it must, and so fails),
  // nor where the table or the bounds rule it out.
  bool Enter(int left, std::uint64_t& key) {
    if (Broken()) return false;
    if (rules_.family == SeriesFamily::Reflex && WhiteReachesGoalAtOnce()) return false;
    key = SeriesKey(pos_);
    PrefetchSlots(key);
    if (memory_.table.ProvedNone(key, left)) return false;
    if (memory_.bounds && !GoalPossible(key, left)) {
      memory_.table.StoreNone(key, left);
      return false;
    }
    return true;
  }

  // Plays `m`, the series move at `ply` with `left` moves to play counting
  // it, and walks on from there.
  bool Step(int ply, int left, const Move& m) {
    ++nodes_;
    MakeMove(pos_, m);
    bool found = false;
    bool checks = false;
    if (PlayedLegally(checks)) {
      path_[static_cast<std::size_t>(ply)] = m;
      if (left == 1) {
        found = Finish(ply, m, checks);
      } else if (!checks) {
        // Only the last move of a series may give check.
        found = Walk(ply + 1, left - 1);
      }
    }
    UnmakeMove(pos_, m);
    return found;
  }

  // After the series side's move `m`: whether it left its own king safe,
  // and whether it gives check.
  bool PlayedLegally(bool& checks) {
    const bool white = !BlackPlaysSeries(rules_);
    const bool legal = white ? AttackedByBlack(pos_, pos_.whiteKingSquare) == 0
                             : AttackedByWhite(pos_, pos_.blackKingSquare) == 0;
    if (legal)
      checks = white ? AttackedByWhite(pos_, pos_.blackKingSquare) != 0
                     : AttackedByBlack(pos_, pos_.whiteKingSquare) != 0;
    return legal;
  }

  // The cheap bounds. What a series helpstalemate's two depend on is the
  // position alone, so their answers are kept for the longer lengths
  // searched later, both in one slot of the bound cache.
  bool GoalPossible(std::uint64_t key, int left) {
    if (!CachesBounds(rules_)) return SeriesGoalPossible(pos_, rules_, left);
    const std::uint64_t before = ReadBounds(key);
    BoundFacts facts = BoundFacts::Unpack(before);
    const bool possible =
        KingCountFits(facts, left) && (!memory_.stuckMenBound || StuckMenFit(facts, left));
    if (const std::uint64_t after = facts.Pack(); after != before) WriteBounds(key, after);
    return possible;
  }

  // The king count: kept as found, or, where it was asked only whether it
  // fits in fewer moves (which looks at fewer squares), as the floor found.
  bool KingCountFits(BoundFacts& facts, int left) {
    if (!facts.kingKnown || (facts.kingFloor && facts.kingCount <= left)) {
      facts.kingCount = HelpStalemateMoves(pos_, left);
      facts.kingKnown = true;
      facts.kingFloor = facts.kingCount > left;
    }
    return facts.kingCount <= left;
  }

  // The stuck-men test: what fits in some moves fits in more, what does not
  // fit in some moves does not in fewer.
  bool StuckMenFit(BoundFacts& facts, int left) {
    if (left >= facts.stuckFitsFrom) return true;
    if (left <= facts.stuckFailsUpTo) return false;
    const bool fits = HelpStalemateStuckMenFit(pos_, left);
    if (fits) {
      facts.stuckFitsFrom = left;
    } else {
      facts.stuckFailsUpTo = left;
    }
    return fits;
  }

  // A slot of the bound cache is two words, what is known and that XOR the
  // key, each read and written whole: two walks may share the cache, and a
  // slot torn by both writing at once reads as empty.
  std::uint64_t ReadBounds(std::uint64_t key) const {
    const std::size_t slot = BoundSlot(memory_.boundCache, key);
    const std::uint64_t known =
        std::atomic_ref(memory_.boundCache[slot]).load(std::memory_order_relaxed);
    const std::uint64_t check =
        std::atomic_ref(memory_.boundCache[slot + 1]).load(std::memory_order_relaxed);
    return known != 0 && (known ^ check) == key ? known : 0;
  }
  void WriteBounds(std::uint64_t key, std::uint64_t known) {
    const std::size_t slot = BoundSlot(memory_.boundCache, key);
    std::atomic_ref(memory_.boundCache[slot]).store(known, std::memory_order_relaxed);
    std::atomic_ref(memory_.boundCache[slot + 1]).store(known ^ key, std::memory_order_relaxed);
  }

  // The series side's pseudo-legal moves; a maximummer's only its longest
  // legal ones.
  void GenerateSeriesMoves(MoveList& list) {
    if (!BlackPlaysSeries(rules_)) {
      GenerateWhiteMoves(pos_, 0, 0, list);
    } else {
      GenerateBlackMoves(pos_, 0, 0, list);
      if (rules_.maximum) KeepLongestBlackMoves(pos_, list);
    }
  }

  // The last move of the series, `m`, has been played: whether the goal
  // follows, each solution recorded.
  bool Finish(int ply, const Move& m, bool checks) {
    switch (rules_.family) {
      case SeriesFamily::Direct:
        // A series mate ends in FinishDirectMates instead.
        if (checks || !BlackIsStalemated(pos_, m.from, m.to)) return false;
        Record(ply, {});
        return true;
      case SeriesFamily::Help:
        return FinishHelp(ply, m, checks);
      default:
        return FinishSelfOrReflex(ply, m);
    }
  }

  // The last move of a series mate: the mate-in-one scan looks only at the
  // moves that can check; when it finds a mate, every move of the list is
  // tested by the mate test, which also judges its legality.
  bool FinishDirectMates(int ply, const MoveList& list) {
    if (FindMateInOne(pos_, 0, 0) <= 0) return false;
    bool found = false;
    for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
      ++nodes_;
      pos_.probeMove = list.moves[i];
      if (TestMateMove(pos_) == 100) {
        path_[static_cast<std::size_t>(ply)] = list.moves[i];
        Record(ply, {});
        found = true;
      }
    }
    return found;
  }

  // Black's series is played: every White move that reaches the goal is a
  // solution of its own.
  bool FinishHelp(int ply, const Move& last, bool checks) {
    MoveList& list = lists_.back();
    if (!rules_.stalemate) {
      if (FindMateInOne(pos_, last.from, last.to) <= 0) return false;
      GenerateWhiteMoves(pos_, last.from, last.to, list);
      bool found = false;
      for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
        pos_.probeMove = list.moves[i];
        if (TestMateMove(pos_) == 100) {
          Record(ply, {list.moves[i]});
          found = true;
        }
      }
      return found;
    }
    if (checks ? !OneWhiteMoveMayStalemate(pos_, list) : !OneWhiteMoveMayStalemateUnchecked(pos_))
      return false;
    const Move blackMove = AnyLegalManMove(pos_, list);
    const Move kingMove = AnyLegalKingMove(pos_);
    GenerateWhiteMoves(pos_, last.from, last.to, list);
    bool found = false;
    for (int i = 0; i < MoveListCapacity && list.moves[i].from != 0; ++i) {
      const Move w = list.moves[i];
      if (blackMove.from != 0 && !MayStop(pos_, w, blackMove)) continue;
      MakeMove(pos_, w);
      // The moves Black had that are still legal prove no stalemate
      // cheaply; the full test is left for the rest.
      const bool stalemates = AttackedByBlack(pos_, pos_.whiteKingSquare) == 0 &&
                              !StillLegal(pos_, kingMove, w) && !StillLegal(pos_, blackMove, w) &&
                              BlackIsStalemated(pos_, w.from, w.to);
      UnmakeMove(pos_, w);
      if (stalemates) {
        Record(ply, {w});
        found = true;
      }
    }
    return found;
  }

  // White's series is played: Black's legal moves (a maximummer's longest),
  // each judged by whether it mates or stalemates White. A selfmate needs
  // all of them to, a reflexmate one.
  bool FinishSelfOrReflex(int ply, const Move& last) {
    MoveList& list = lists_.back();
    GenerateBlackMoves(pos_, last.from, last.to, list);
    if (rules_.maximum) {
      KeepLongestBlackMoves(pos_, list);
    } else {
      KeepLegalMoves(pos_, list, false);
    }
    const int count = CountMoves(list);
    if (count == 0) return false;
    const bool self = rules_.family == SeriesFamily::Self;
    std::vector<Move>& goals = finals_;
    goals.clear();
    for (int i = 0; i < count; ++i) {
      const Move b = list.moves[i];
      MakeMove(pos_, b);
      bool reaches;
      if (rules_.stalemate) {
        reaches = WhiteIsStalemated(pos_, b.from, b.to);
      } else {
        reaches = AttackedByBlack(pos_, pos_.whiteKingSquare) != 0 &&
                  !WhiteHasLegalMove(pos_, b.from, b.to);
      }
      UnmakeMove(pos_, b);
      if (reaches) {
        goals.push_back(b);
      } else if (self) {
        return false;
      }
    }
    if (goals.empty()) return false;
    Record(ply, goals);
    return true;
  }

  // White to move in the series: whether it could mate (or stalemate)
  // Black at once.
  bool WhiteReachesGoalAtOnce() {
    if (!rules_.stalemate) return FindMateInOne(pos_, 0, 0) > 0;
    return WhiteCanStalemate(pos_, 0, 0, lists_.back());
  }

  void Record(int ply, const std::vector<Move>& finals) {
    ++out_->count;
    if (out_->solutions.size() >= MaxKeptSeriesSolutions) return;
    SeriesSolution& s = out_->solutions.emplace_back();
    s.series.assign(path_.begin(), path_.begin() + ply + 1);
    s.finals = finals;
  }

  bool Broken() {
    if (broken_) return true;
    if (nodes_ >= nextPoll_) {
      nextPoll_ = nodes_ + BreakPollInterval;
      if (ui_ != nullptr && ui_->BreakRequested()) broken_ = true;
      if (stop_ != nullptr) {
        // A break of either walk stops both.
        if (broken_) stop_->store(true, std::memory_order_relaxed);
        if (stop_->load(std::memory_order_relaxed)) broken_ = true;
      }
    }
    return broken_;
  }

  Position& pos_;
  const SeriesRules& rules_;
  SeriesMemory& memory_;
  std::vector<MoveList>& lists_;
  const UiCallbacks* ui_;
  std::atomic<bool>* stop_;
  SeriesResult* out_ = nullptr;
  std::vector<Move> path_;
  std::vector<Move> finals_;
  std::uint64_t nodes_ = 0;
  std::uint64_t nextPoll_ = 0;
  bool broken_ = false;
};

}  // namespace

SeriesRules SeriesRulesOf(const ProblemType& type) {
  SeriesRules rules;
  switch (type.kind) {
    case KindHelp:
      rules.family = SeriesFamily::Help;
      break;
    case KindSelf:
      rules.family = SeriesFamily::Self;
      break;
    case KindReflex:
      rules.family = SeriesFamily::Reflex;
      break;
    default:
      rules.family = SeriesFamily::Direct;
      break;
  }
  rules.stalemate = (type.flags & FlagStalemate) != 0;
  rules.maximum = (type.flags & FlagMaximum) != 0;
  return rules;
}

namespace {

// The shortest series split between two threads: a shorter one has too few
// second moves to share.
constexpr int MinSplitSeriesLength = 3;

// The series of one length, their second moves shared by two walks: this
// thread's and a helper's, each taking the next item not yet taken. What
// the walks prove goes into the table they share; what they find is
// gathered item by item.
bool SearchLengthSplit(SeriesWalk& walk, Position& pos, const SeriesRules& rules,
                       SeriesMemory& memory, std::vector<MoveList>& helperLists, int length,
                       SeriesResult& result, const UiCallbacks* ui, std::atomic<bool>& stop) {
  SeriesSplit split;
  if (!walk.ListSecondMoves(length, split)) return false;
  std::vector<SeriesResult> found(split.items.size());
  std::vector<char> any(split.items.size(), 0);
  // This thread takes the items from the first on, the helper from the
  // last back: the two walks meet where the table holds less of the other's
  // work than it would two neighbouring items (which share most positions).
  std::mutex taking;
  std::size_t front = 0;
  std::size_t back = split.items.size();
  const auto work = [&](SeriesWalk& w, bool fromBack) {
    while (!w.BrokenOff()) {
      std::size_t i = 0;
      {
        const std::lock_guard<std::mutex> lock(taking);
        if (front == back) return;
        i = fromBack ? --back : front++;
      }
      w.Into(found[i]);
      any[i] = w.SearchItem(split.items[i], length) ? 1 : 0;
    }
  };
  Position helperPos = pos;
  SeriesWalk helper(helperPos, rules, memory, helperLists, nullptr, &stop);
  std::atomic<bool> helperDone{false};
  std::thread thread;
  try {
    thread = std::thread([&] {
      work(helper, true);
      helperDone.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    // No thread to be had: this one takes every item.
    helperDone.store(true, std::memory_order_release);
  }
  work(walk, false);
  // The user's break is still heard while the helper finishes its item.
  while (!helperDone.load(std::memory_order_acquire)) {
    if (ui != nullptr && ui->BreakRequested()) stop.store(true, std::memory_order_relaxed);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (thread.joinable()) thread.join();
  result.nodes += helper.Nodes();
  const bool broken = walk.BrokenOff() || helper.BrokenOff() || stop.load();
  std::vector<char> afterFirstFound(split.afterFirst.size(), 0);
  bool anyFound = false;
  for (std::size_t i = 0; i < split.items.size(); ++i) {
    result.count += found[i].count;
    for (SeriesSolution& s : found[i].solutions)
      if (result.solutions.size() < MaxKeptSeriesSolutions)
        result.solutions.push_back(std::move(s));
    if (any[i] != 0) {
      afterFirstFound[static_cast<std::size_t>(split.items[i].afterFirst)] = 1;
      anyFound = true;
    }
  }
  walk.Into(result);
  if (broken) return anyFound;
  for (std::size_t p = 0; p < split.afterFirst.size(); ++p)
    if (afterFirstFound[p] == 0) memory.table.StoreNone(split.afterFirst[p], length - 1);
  if (!anyFound) memory.table.StoreNone(split.rootKey, length);
  return anyFound;
}

}  // namespace

SeriesResult SearchSeries(Position& pos, const SeriesRules& rules, int moves, SeriesMemory& memory,
                          const UiCallbacks* ui, int threads) {
  SeriesResult result;
  moves = std::clamp(moves, 1, 255);
  memory.PrepareFor(moves, CachesBounds(rules));
  memory.table.Clear();
  if (memory.lists.size() < static_cast<std::size_t>(moves) + 1)
    memory.lists.resize(static_cast<std::size_t>(moves) + 1);
  std::atomic<bool> stop{false};
  SeriesWalk walk(pos, rules, memory, memory.lists, ui, &stop);
  walk.Into(result);
  std::vector<MoveList> helperLists;
  if (threads > 1) helperLists.resize(memory.lists.size());
  for (int length = 1; length <= moves; ++length) {
    const bool found =
        threads > 1 && length >= MinSplitSeriesLength
            ? SearchLengthSplit(walk, pos, rules, memory, helperLists, length, result, ui, stop)
            : walk.SearchLength(length);
    if (found) result.length = length;
    if (found || walk.BrokenOff() || stop.load()) break;
  }
  result.broken = walk.BrokenOff() || stop.load();
  result.nodes += walk.Nodes();
  return result;
}

}  // namespace kv
