// Perft: the number of legal move sequences of a given length, the standard
// check that generation, playing and taking back moves and the attack tests
// agree with the rules of chess.
#pragma once

#include <cstdint>

#include "core/position.h"

namespace kv {

// Counts the legal move sequences of `depth` plies from the position, whose
// derived state must be current (DerivePositionState). The side to move
// starts; lastFrom/lastTo is the move before, for en passant (0, 0 for
// none). A move is legal when, after it, the mover's king is not attacked;
// castling through or out of check is refused by the generators. The
// position is unchanged afterwards. Depth 0 counts 1.
std::uint64_t Perft(Position& pos, int depth, bool whiteToMove, int lastFrom = 0, int lastTo = 0);

// The slow reference answer to "does this white move mate?": plays it,
// checks that it is legal and gives check, and tries every black reply.
// The mate test and the mate-in-one scan are checked against it.
bool MatesByBruteForce(Position& pos, const Move& move);

}  // namespace kv
