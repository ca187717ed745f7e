// The goal tests beside mate: whether a side to move is stalemated, and the
// maximummer's choice of moves. Built on the pseudo-legal generators: a move
// is legal when, played, it does not leave the mover's king attacked.
#pragma once

#include <array>
#include <cstdint>

#include "core/position.h"

namespace kv {

// The goal of a problem's last move.
enum class Goal : std::uint8_t {
  Mate,       // the side to move has no legal move and is in check
  Stalemate,  // the side to move has no legal move and is not in check
};

// Whether White, to move after Black's move lastFrom-lastTo, has a legal move.
bool WhiteHasLegalMove(Position& pos, int lastFrom, int lastTo);
// Whether Black, to move after White's move lastFrom-lastTo, has a legal move.
bool BlackHasLegalMove(Position& pos, int lastFrom, int lastTo);

// Stalemate: the side to move is not in check and has no legal move.
bool WhiteIsStalemated(Position& pos, int lastFrom, int lastTo);
bool BlackIsStalemated(Position& pos, int lastFrom, int lastTo);

// The stalemate counterparts of TestMateMove and FindMateInOne, for the
// searches whose last white move must stalemate Black.
// Examines pos.probeMove: 100 when it is legal and leaves Black, not in
// check, without a legal move; else 0. Board unchanged.
int TestStalemateMove(Position& pos);
// -1 when the black king is attacked (Black's last move lastFrom-lastTo was
// illegal); 1 when some white move stalemates Black; else 0.
int FindStalemateInOne(Position& pos, int lastFrom, int lastTo);

// White to move: what a white move must do to leave Black without a legal
// move, tested before the move is played. A black man that no line joins
// to its king cannot be pinned, so while Black is not in check it keeps a
// legal move unless White's move takes it (a piece with any move keeps one:
// a man put in its way is taken) or blocks the one step of a pawn that
// cannot capture; each such man narrows the squares White's move may reach.
// A square next to the black king that no white man attacks stays a flight
// unless the man moved attacks it from where it lands, or uncovers a line
// onto it from where it stood.
struct StalemateFilter {
  std::uint64_t targets = ~std::uint64_t{0};  // the move's destination must be one of these
  int flights = 0;
  std::array<std::uint64_t, 8> attackFrom{};  // per flight: where a man may attack it from
  std::array<std::uint64_t, 8> lineOf{};      // per flight: its lines, which a move may uncover

  // No white move can stalemate.
  bool Nothing() const { return targets == 0; }
  // Whether `move` may stalemate (false proves it does not).
  bool Admits(const Move& move) const;
};
StalemateFilter MakeStalemateFilter(const Position& pos);

// Black to move, White's next move to stalemate: the black men that no
// line joins to their king and that White's move would have to take or
// block, each with the squares White's move must reach for it and the
// squares a black move would have to fill to spare White that. A black
// move other than the king's changes no man's line to the king, so what it
// leaves of these narrows White's next move as MakeStalemateFilter would.
struct StalemateNeeds {
  int men = 0;
  std::array<int, 16> square{};
  std::array<std::uint64_t, 16> targets{};  // White's move must reach one of these
  std::array<std::uint64_t, 16>
      spareBy{};  // a black move to one of these may free White of the man
  // Whether Black's `move` (not the king's) may leave a position in which a
  // white move stalemates (false proves it does not).
  bool Admits(const Move& move) const;
};
StalemateNeeds BlackStalemateNeeds(const Position& pos);
// The same with Black's king taken to stand on `king` (its neighbours).
StalemateNeeds BlackStalemateNeeds(const Position& pos, int king);

// White to move, two white moves left (White, Black, White's stalemating
// move), White unable to castle: false proves Black cannot be stalemated
// by then. Each white move deals with one of the men of StalemateNeeds at
// most (it takes one or blocks one pawn), the last one with one; Black's
// move with its own man and those whose last square it fills, or, a king
// move, with the men its new lines reach.
bool StalemateWithinTwoPossible(const Position& pos);

// The length of a move for a maximummer: the square of the distance between
// the centres of its squares (a castling counts as the king's two steps, 4).
int MoveLengthSquared(const Move& move);

// A maximummer may play only the longest of its legal moves. Keeps, of
// Black's pseudo-legal moves in `list` (generated after White's move), the
// legal ones of the greatest length, in their order, and returns how many
// are left. The illegal ones are dropped: one of them may be longer than
// every legal move and must not hide them.
int KeepLongestBlackMoves(Position& pos, MoveList& list);

}  // namespace kv
