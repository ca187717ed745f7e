// The goal tests beside mate: whether a side to move is stalemated, and the
// maximummer's choice of moves. Built on the pseudo-legal generators: a move
// is legal when, played, it does not leave the mover's king attacked.
#pragma once

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
