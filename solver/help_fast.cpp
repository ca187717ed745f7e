// The fast helpmate search. A helpmate within k moves is one where White,
// to move, mates at once, or plays a move after which some black move leaves
// a helpmate within k - 1. Both halves are kept in the table, so a position
// reached by another order of the same moves is decided once.
#include "solver/help_fast.h"

#include <atomic>
#include <bit>

#include "core/goals.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/help_backward.h"
#include "solver/help_bound.h"
#include "solver/help_keys.h"
#include "solver/search.h"

namespace kv {

namespace {

using namespace help_keys;

bool ChecksAlong(int man, int step) {
  if (LineKind(step) == LineDiagonal) return man == WhiteQueen || man == WhiteBishop;
  return man == WhiteRook || man == WhiteQueen;
}

// Whether White may still castle by the counters; a castling may check
// with the rook, which the tests below do not look into.
bool WhiteCastlingOpen(const Position& pos) {
  const Board& b = pos.board;
  return b[96] == WhiteKing && pos.castlingCounters[WhiteKingMoves] == 0 &&
         ((b[99] == WhiteRook && pos.castlingCounters[H1Moves] == 0) ||
          (b[92] == WhiteRook && pos.castlingCounters[A1Moves] == 0));
}

// Whether some white move on `b` may check the king on `king` (castling
// aside). With `blackGone` every black man counts as removed from every
// line and square (yet may still be taken); without, the board is taken as
// it stands. A true answer proves nothing; a false one proves no check.
bool WhiteMayCheck(const Board& b, int king, bool blackGone) {
  if (!IsSquare(king)) return true;
  const auto through = [&b, blackGone](int cell) {
    return b[cell] == Empty || (blackGone && b[cell] > OffBoard);
  };
  // The squares a man may stand on to see the king, by kind of line (a
  // black man there may be taken); the knight squares round the king.
  std::uint64_t openRankFile = 0;
  std::uint64_t openDiagonal = 0;
  std::uint64_t knightSquares = 0;
  for (const int d : QueenOffsets) {
    std::uint64_t& open = LineKind(d) == LineDiagonal ? openDiagonal : openRankFile;
    int t = king + d;
    for (; through(t); t += d) open |= SquareBit[t];
    if (b[t] == OffBoard) continue;
    if (b[t] > OffBoard) {
      open |= SquareBit[t];
      continue;
    }
    // The first white man on the line checks already, or may uncover a
    // line piece behind it.
    if (ChecksAlong(b[t], d)) return true;
    int behind = t + d;
    while (through(behind)) behind += d;
    if (ChecksAlong(b[behind], d)) return true;
  }
  for (const int o : KnightOffsets)
    if (IsSquare(king + o)) knightSquares |= SquareBit[king + o];
  const std::uint64_t openAny = openRankFile | openDiagonal;
  // Whether a queen on `square` would see the king along a line that only
  // the cell `left` closes.
  const auto SeesPast = [&](int square, int left) {
    const int step = LineStep(king - square);
    if (step == 0) return false;
    int cell = square + step;
    while (cell != king && (cell == left || through(cell))) cell += step;
    return cell == king;
  };
  // Empty, or a black man to take.
  const auto target = [&b](int cell) { return b[cell] == Empty || b[cell] > OffBoard; };
  const auto slides = [&](int square, const auto& directions, std::uint64_t open) {
    for (const int d : directions) {
      int t = square + d;
      for (; through(t); t += d)
        if ((open & SquareBit[t]) != 0) return true;
      if (b[t] > OffBoard && (open & SquareBit[t]) != 0) return true;
    }
    return false;
  };
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    switch (b[s]) {
      case WhiteRook:
        if (slides(s, RookOffsets, openRankFile)) return true;
        break;
      case WhiteBishop:
        if (slides(s, BishopOffsets, openDiagonal)) return true;
        break;
      case WhiteQueen:
        if (slides(s, QueenOffsets, openAny)) return true;
        break;
      case WhiteKnight:
        for (const int o : KnightOffsets)
          if (target(s + o) && (knightSquares & SquareBit[s + o]) != 0) return true;
        break;
      case WhitePawn: {
        // Steps to an empty square (or one a black man may leave), captures
        // of a black man (or of one that may arrive).
        const bool step = through(s - 10) && b[s - 10] != OffBoard;
        const int targets[] = {
            step ? s - 10 : 0, step && s >= 82 && through(s - 20) ? s - 20 : 0,
            b[s - 9] > OffBoard || (blackGone && b[s - 9] == Empty) ? s - 9 : 0,
            b[s - 11] > OffBoard || (blackGone && b[s - 11] == Empty) ? s - 11 : 0};
        for (const int t : targets) {
          if (t == 0) continue;
          // A promotion may place a queen or a knight; the pawn leaves its
          // square, which may be the one that closed the queen's line.
          if (s <= 39 ? ((openAny | knightSquares) & SquareBit[t]) != 0 || SeesPast(t, s)
                      : t - king == 9 || t - king == 11)
            return true;
        }
        break;
      }
      default:
        break;  // the king checks only by uncovering a line
    }
  }
  return false;
}

// What a black move may change for White's checks: a king move, a capture
// of a white man, a double step (White may take en passant).
bool ChangesWhiteChecks(const Move& move) {
  const int step = move.to - move.from;
  return move.moved == BlackKing || move.captured != Empty ||
         (move.moved == BlackPawn && step == 20);
}

// What a walk cut short by the user returns; nothing is stored then.
constexpr int Stopped = HelpStopped;
// Positions between two polls of the user break.
constexpr std::uint64_t PollInterval = 4096;

class Walk {
 public:
  // `table` may be another walk's, shared; `stop` set by another thread
  // stops the walk as a user break does.
  Walk(HelpFast& fast, HelpTable& table, Position& pos, const UiCallbacks* ui,
       const std::atomic<bool>* stop = nullptr)
      : fast_(fast),
        table_(table),
        pos_(pos),
        ui_(ui),
        stop_(stop),
        mate_(fast.goal == Goal::Mate),
        rulesKey_(HelpRulesKey(fast.goal, fast.maximummer)) {}

  // White to move after `last`, `moves` white moves left.
  int WhiteMates(std::uint64_t men, const Move& last, int moves, int ply) {
    if (BreakPolled()) return Stopped;
    // The mating move itself: only a move that checks can do it, which the
    // mate-in-one test looks at alone.
    if (moves == 1) return GoalInOne(last);
    const std::uint64_t key = FullKey(pos_, men, last, true) ^ rulesKey_;
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    if (AttackedByWhite(pos_, pos_.blackKingSquare) != 0) return Illegal(key);
    // Two white moves left cannot deal with more black men than they reach.
    if (!mate_ && moves == 2 && !StalemateWithinTwoPossible(pos_))
      return Remember(key, moves, false);
    if (!GoalPossible(moves, moves - 1)) return Remember(key, moves, false);
    const int now = GoalInOne(last);
    if (now == HelpIllegal) return Illegal(key);
    if (now == 1) return Remember(key, moves, true);
    MoveList& list = fast_.lists[ply];
    GenerateWhiteMoves(pos_, last.from, last.to, list);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move w = list.moves[i];
      MakeMove(pos_, w);
      const int answer = BlackAllows(MenAfter(men, w), w, moves - 1, ply + 1);
      UnmakeMove(pos_, w);
      if (answer == Stopped) return Stopped;
      if (answer == HelpMate) return Remember(key, moves, true);
    }
    return Remember(key, moves, false);
  }

  // Black to move after White's move `last`, `moves` white moves left after
  // Black's move. HelpIllegal here means White's move was illegal.
  int BlackAllows(std::uint64_t men, const Move& last, int moves, int ply) {
    if (BreakPolled()) return Stopped;
    const std::uint64_t key = FullKey(pos_, men, last, false) ^ rulesKey_;
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    MoveList& list = fast_.lists[ply];
    if (GenerateBlackMoves(pos_, last.from, last.to, list) == 1) return Illegal(key);
    if (fast_.maximummer) KeepLongestBlackMoves(pos_, list);
    if (!GoalPossible(moves, moves)) return Remember(key, moves, false);
    // With one white move left it must check: the black moves after which
    // White cannot are passed over.
    std::uint64_t from = ~std::uint64_t{0};
    std::uint64_t to = ~std::uint64_t{0};
    // A move other than the king's closes at most the one flight it reaches.
    std::uint64_t flights = 0;
    if (moves == 1 && mate_) {
      LastBlackMoveSquares(pos_, from, to);
      flights = UncoverableFlights(pos_);
    }
    // Before White's stalemating move: the black men White's move must
    // deal with, which a black move other than the king's leaves.
    StalemateNeeds needs;
    if (moves == 1 && !mate_) needs = BlackStalemateNeeds(pos_);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move b = list.moves[i];
      if (!mate_ && b.moved != BlackKing && !needs.Admits(b)) continue;
      if (b.moved != BlackKing) {
        if ((from & SquareBit[b.from]) == 0 && (to & SquareBit[b.to]) == 0 &&
            !ChangesWhiteChecks(b))
          continue;
        if ((flights & ~SquareBit[b.to]) != 0) continue;
      }
      MakeMove(pos_, b);
      const int answer = WhiteMates(MenAfter(men, b), b, moves, ply + 1);
      UnmakeMove(pos_, b);
      if (answer == Stopped) return Stopped;
      if (answer == HelpMate) return Remember(key, moves, true);
    }
    return Remember(key, moves, false);
  }

 private:
  static constexpr int Unknown = 2;

  // The count of moves of the goal's final position.
  bool GoalPossible(int whiteMoves, int blackMoves) const {
    return mate_ ? HelpMatePossible(pos_, whiteMoves, blackMoves)
                 : HelpStalematePossible(pos_, whiteMoves, blackMoves);
  }

  // Whether White reaches the goal at once.
  int GoalInOne(const Move& last) {
    if (mate_) return MateInOne(last);
    return FindStalemateInOne(pos_, last.from, last.to);
  }

  // FindMateInOne's answer, found without it when a square next to the
  // black king stays free whatever White plays.
  int MateInOne(const Move& last) {
    if (UncoverableFlights(pos_) == 0) return FindMateInOne(pos_, last.from, last.to);
    return AttackedByWhite(pos_, pos_.blackKingSquare) != 0 ? HelpIllegal : HelpNoMate;
  }

  // Counts a position and, now and then, asks whether the user wants to stop.
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

  HelpFast& fast_;
  HelpTable& table_;
  Position& pos_;
  const UiCallbacks* ui_;
  const std::atomic<bool>* stop_;
  const bool mate_;
  // Kept apart in the table: the answers of another goal or of a maximummer.
  const std::uint64_t rulesKey_;
  bool stopped_ = false;
};

}  // namespace

std::uint64_t HelpRulesKey(Goal goal, bool maximummer) {
  std::uint64_t key = 0;
  if (goal == Goal::Stalemate) key ^= 0x3C6EF372FE94F82Aull;
  if (maximummer) key ^= 0xA54FF53A5F1D36F1ull;
  return key;
}

namespace {

// The squares a man of each kind on a square may attack now or after one
// move of its own, on an empty board: a king's within two steps, a knight's
// within two jumps; a white pawn's from here, after a step, a double step
// or a capture either way. Indexed by the square's bit.
struct CoverTables {
  std::array<std::uint64_t, 64> king{}, knight{}, pawn{}, next{};
  // A bishop's: every square of its colour.
  std::array<std::uint64_t, 64> bishop{};
};
constexpr CoverTables MakeCoverTables() {
  CoverTables tables;
  for (int n = 0; n < 64; ++n) {
    const int s = BitSquare(n);
    const auto bit = [](int square) { return IsSquare(square) ? SquareBit[square] : 0; };
    for (const int o : QueenOffsets) tables.next[n] |= bit(s + o);
    for (int m = 0; m < 64; ++m)
      if (SquareColour[BitSquare(m)] == SquareColour[s]) tables.bishop[n] |= std::uint64_t{1} << m;
    for (int row = -20; row <= 20; row += 10)
      for (int column = -2; column <= 2; ++column) tables.king[n] |= bit(s + row + column);
    for (const int o : KnightOffsets) {
      if (!IsSquare(s + o)) continue;
      tables.knight[n] |= bit(s + o);
      for (const int p : KnightOffsets) tables.knight[n] |= bit(s + o + p);
    }
    for (const int from : {s, s - 10, s - 20, s - 9, s - 11})
      if (IsSquare(from)) tables.pawn[n] |= bit(from - 9) | bit(from - 11);
  }
  return tables;
}
constexpr CoverTables kCover = MakeCoverTables();

}  // namespace

// A check by a knight or a pawn shields no square round the king, nor does
// a bishop's any square it does not cover anyway.
std::uint64_t UncoverableFlights(const Position& pos) {
  const Board& b = pos.board;
  const int king = pos.blackKingSquare;
  if (!IsSquare(king)) return 0;
  std::uint64_t covered = 0;
  for (std::uint64_t men = pos.whiteMen; men != 0; men &= men - 1) {
    const int n = std::countr_zero(men);
    switch (b[BitSquare(n)]) {
      case WhitePawn:
        if (n < 16) return 0;  // on the seventh rank: it may promote
        covered |= kCover.pawn[n];
        break;
      case WhiteKnight:
        covered |= kCover.knight[n];
        break;
      case WhiteKing:
        covered |= kCover.king[n];
        break;
      case WhiteBishop:
        // Its checks shield only squares of its colour, which it covers.
        covered |= kCover.bishop[n];
        break;
      default:
        return 0;
    }
  }
  std::uint64_t flights = 0;
  for (std::uint64_t next = kCover.next[std::countr_zero(SquareBit[king])] & ~covered; next != 0;
       next &= next - 1) {
    const int square = BitSquare(std::countr_zero(next));
    if (b[square] < OffBoard) flights |= SquareBit[square];
  }
  return flights;
}

void LastBlackMoveSquares(const Position& pos, std::uint64_t& from, std::uint64_t& to) {
  const int king = pos.blackKingSquare;
  from = ~std::uint64_t{0};
  to = ~std::uint64_t{0};
  if (WhiteCastlingOpen(pos) || WhiteMayCheck(pos.board, king, false)) return;
  from = 0;
  to = 0;
  if (!WhiteMayCheck(pos.board, king, true)) return;
  Board board = pos.board;
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    if (board[s] == WhitePawn) to |= SquareBit[s - 9] | SquareBit[s - 11];
    if (board[s] <= BlackKing) continue;
    const std::int8_t man = board[s];
    board[s] = Empty;
    if (WhiteMayCheck(board, king, false)) from |= SquareBit[s];
    board[s] = man;
  }
}

namespace {

// The backward walk where it takes the position, else the plain walk. Its
// targets are the final positions of a mate or a stalemate; a maximummer's
// moves are the plain walk's.
int WalkFrom(HelpFast& fast, HelpTable& table, Position& pos, const Move& last, int moves,
             const UiCallbacks* ui, const std::atomic<bool>* stop) {
  if (fast.backwardEnabled && !fast.maximummer) {
    const int answer = HelpMateBackward(fast, table, pos, last, moves, ui, stop);
    if (answer != HelpDeclined) return answer;
  }
  Walk walk(fast, table, pos, ui, stop);
  return walk.WhiteMates(MenKey(pos), last, moves, 0);
}

}  // namespace

int HelpMateWithin(HelpFast& fast, Position& pos, const Move& last, int moves) {
  fast.table.Make(false);
  return WalkFrom(fast, fast.table, pos, last, moves, nullptr, nullptr);
}

int HelpMateWithinShared(HelpFast& fast, HelpTable& table, Position& pos, const Move& last,
                         int moves, const std::atomic<bool>& stop) {
  return WalkFrom(fast, table, pos, last, moves, nullptr, &stop);
}

int FastHelpVerdict(SearchContext& ctx, const Move& last, int moves) {
  SearchState& state = ctx.state;
  HelpFast& fast = state.helpFast;
  if (!fast.enabled || state.userBreak != 0) return HelpMate;
  fast.goal = state.goal;
  fast.maximummer = state.maximummer;
  // A deferred table is made by the first walk of the state; a helper
  // thread walks only after the search's start has made it.
  fast.table.Make(false);
  const int verdict = WalkFrom(fast, fast.table, ctx.pos, last, moves, &ctx.ui, nullptr);
  if (verdict != Stopped) return verdict;
  // The user stopped the walk: the search is told, and stops as it does.
  state.userBreak = 1;
  return HelpMate;
}

}  // namespace kv
