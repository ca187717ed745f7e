// The fast helpmate search. A helpmate within k moves is one where White,
// to move, mates at once, or plays a move after which some black move leaves
// a helpmate within k - 1. Both halves are kept in the table, so a position
// reached by another order of the same moves is decided once.
#include "solver/help_fast.h"

#include "core/rules.h"
#include "solver/position_key.h"
#include "solver/search.h"

namespace kv {

namespace {

using position_key_detail::kKeyTables;

// Told apart from the keys of positions with White to move.
constexpr std::uint64_t BlackToMoveKey = 0x510E527FADE682D1ull;

// The part of the key the men make, after `move` was played on a position
// whose men gave `men`. A castling moves the rook too.
std::uint64_t MenAfter(std::uint64_t men, const Move& move) {
  const auto& squares = kKeyTables.men;
  men ^= squares[move.moved & 15][move.from] ^ squares[move.placed & 15][move.to];
  if (move.captured != Empty) men ^= squares[move.captured & 15][move.capture];
  if (move.moved == WhiteKing && move.from == 96 && (move.to == 98 || move.to == 94)) {
    const int rookFrom = move.to == 98 ? 99 : 92;
    const int rookTo = move.to == 98 ? 97 : 95;
    men ^= squares[WhiteRook][rookFrom] ^ squares[WhiteRook][rookTo];
  }
  if (move.moved == BlackKing && move.from == 26 && (move.to == 28 || move.to == 24)) {
    const int rookFrom = move.to == 28 ? 29 : 22;
    const int rookTo = move.to == 28 ? 27 : 25;
    men ^= squares[BlackRook & 15][rookFrom] ^ squares[BlackRook & 15][rookTo];
  }
  return men;
}

// The men's part of PositionKey, for the start of a walk.
std::uint64_t MenKey(const Position& pos) {
  std::uint64_t men = 0;
  for (int row = 20; row < 100; row += 10)
    for (int square = row + 2; square < row + 10; ++square)
      if (const int man = pos.board[square]; man != Empty) men ^= kKeyTables.men[man & 15][square];
  return men;
}

// The whole key: the men, the castlings the counters still allow, the en
// passant square of a double step just played, and the side to move.
std::uint64_t FullKey(const Position& pos, std::uint64_t men, const Move& last, bool whiteToMove) {
  std::uint64_t key = men ^ (whiteToMove ? WhiteToMoveKey : BlackToMoveKey);
  for (int i = 0; i < 6; ++i)
    if (pos.castlingCounters[i] == 0) key ^= kKeyTables.castling[i];
  const int step = last.to - last.from;
  if ((last.moved == WhitePawn || last.moved == BlackPawn) && (step == 20 || step == -20))
    key ^= kKeyTables.enPassant[last.to];
  return key;
}

// What a walk cut short by the user returns; nothing is stored then.
constexpr int Stopped = 3;
// Positions between two polls of the user break.
constexpr std::uint64_t PollInterval = 4096;

class Walk {
 public:
  Walk(HelpFast& fast, Position& pos, const UiCallbacks* ui) : fast_(fast), pos_(pos), ui_(ui) {}

  // White to move after `last`, `moves` white moves left.
  int WhiteMates(std::uint64_t men, const Move& last, int moves, int ply) {
    if (BreakPolled()) return Stopped;
    // The mating move itself: only a move that checks can do it, which the
    // mate-in-one test looks at alone.
    if (moves == 1) return FindMateInOne(pos_, last.from, last.to);
    const std::uint64_t key = FullKey(pos_, men, last, true);
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    const int now = FindMateInOne(pos_, last.from, last.to);
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
    const std::uint64_t key = FullKey(pos_, men, last, false);
    if (const int known = Lookup(key, moves); known != Unknown) return known;
    MoveList& list = fast_.lists[ply];
    if (GenerateBlackMoves(pos_, last.from, last.to, list) == 1) return Illegal(key);
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move b = list.moves[i];
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

  // Counts a position and, now and then, asks whether the user wants to stop.
  bool BreakPolled() {
    ++fast_.nodes;
    if (stopped_) return true;
    if (ui_ != nullptr && fast_.nodes % PollInterval == 0 && ui_->BreakRequested()) stopped_ = true;
    return stopped_;
  }

  int Lookup(std::uint64_t key, int moves) {
    switch (fast_.table.Find(key, moves)) {
      case HelpTable::Known::Mate:
        ++fast_.table.hits;
        return HelpMate;
      case HelpTable::Known::NoMate:
        ++fast_.table.hits;
        return HelpNoMate;
      case HelpTable::Known::Illegal:
        ++fast_.table.hits;
        return HelpIllegal;
      case HelpTable::Known::Nothing:
        break;
    }
    return Unknown;
  }
  int Remember(std::uint64_t key, int moves, bool mate) {
    fast_.table.Store(key, moves, mate);
    return mate ? HelpMate : HelpNoMate;
  }
  int Illegal(std::uint64_t key) {
    fast_.table.StoreIllegal(key);
    return HelpIllegal;
  }

  HelpFast& fast_;
  Position& pos_;
  const UiCallbacks* ui_;
  bool stopped_ = false;
};

}  // namespace

int HelpMateWithin(HelpFast& fast, Position& pos, const Move& last, int moves) {
  Walk walk(fast, pos, nullptr);
  return walk.WhiteMates(MenKey(pos), last, moves, 0);
}

int FastHelpVerdict(SearchContext& ctx, const Move& last, int moves) {
  SearchState& state = ctx.state;
  HelpFast& fast = state.helpFast;
  if (!fast.enabled || state.userBreak != 0) return HelpMate;
  Walk walk(fast, ctx.pos, &ctx.ui);
  const int verdict = walk.WhiteMates(MenKey(ctx.pos), last, moves, 0);
  if (verdict != Stopped) return verdict;
  // The user stopped the walk: the search is told, and stops as it does.
  state.userBreak = 1;
  return HelpMate;
}

}  // namespace kv
