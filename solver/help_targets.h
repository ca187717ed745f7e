// The candidate final positions of a helpmate (or helpstalemate). In the
// mating position the black king stands on some square, a white man checks
// it, and each square next to it holds a black man or is attacked by White. A target names, for
// one square of the king, the men that play those parts and where each may
// stand: the checking man, the guards of the flights left open, the black
// men blocking the others; the men without a part may stand anywhere. Each
// man needs at least a known number of moves to reach its place on an
// empty board, so a target whose parts need more moves of one side than
// that side has left cannot be reached, and a position from which no target
// can be reached has no helpmate.
//
// Every mating position reachable within the moves left matches a target:
// its king's square; a smallest set of its white men that checks and
// attacks every flight no black man stands on, each on a place of its part;
// and the black men on the flights that set leaves unattacked. A white
// man's place is the set of squares from which it attacks the same squares
// round the king, so that a rook anywhere on a far file is one part.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/position.h"

namespace kv {

// What the last move must bring about. For mate a white man checks the
// king; for stalemate none does. Either way every flight is attacked or
// blocked; whether the other black men can move (or parry the check) is
// left to the test of the last move, since the targets fix only the men
// with a part.
enum class HelpGoal { Mate, Stalemate };

// What a man has become at the end: a white pawn may promote; a target
// asks for the kind only as far as its moves and attacks need (a promoted
// pawn moves and attacks at most as a queen or as a knight does).
enum class EndShape : std::uint8_t {
  AsItIs,          // the man keeps its kind (a pawn is still a pawn)
  PromotedLine,    // a white pawn promoted to a queen, rook or bishop
  PromotedKnight,  // a white pawn promoted to a knight
  AnyShape,        // a black blocker: whatever it has become
};

// Where one man may stand in a target: a set of squares (bit 0 a8 .. bit 63
// h1) and the shape it has there.
struct HelpPlace {
  std::uint64_t squares = 0;
  std::uint8_t man = 0;  // index into HelpTargets::men
  EndShape shape = EndShape::AsItIs;
};

// The most parts of either colour a target has: the checking man and a
// guard for each of the eight flights; the king and eight blockers.
inline constexpr int MaxWhiteParts = 9;
inline constexpr int MaxBlackParts = 9;

// One candidate final position: indices into HelpTargets::places.
struct HelpTarget {
  std::uint8_t kingSquare = 0;  // bit number of the black king's square
  std::uint8_t whiteCount = 0;
  std::uint8_t blackCount = 0;
  std::array<std::uint16_t, MaxWhiteParts> white{};  // for mate, the checking man first
  std::array<std::uint16_t, MaxBlackParts> black{};  // the king first
};

struct HelpTargets {
  // The men of the position the targets were made from, by index.
  struct Man {
    std::int8_t square;  // cell of the board
    std::int8_t code;
  };
  std::vector<Man> men;
  std::vector<HelpPlace> places;
  std::vector<HelpTarget> targets;
  // The castlings the position allowed (HelpCastlings), which its men's
  // counts take into account.
  int castlings = 0;
  // False when making them stopped at the limit given: the list is then
  // incomplete and proves nothing.
  bool complete = true;
};

// The most places a list may hold; parts name them in 16 bits.
inline constexpr std::size_t MaxHelpPlaces = 0xFFF0;

// Makes the targets of `pos` that need at most `whiteMoves` white and
// `blackMoves` black moves (either side may be to move; the moves counted
// are those still to be played), stopping at `limit` targets.
void MakeHelpTargets(const Position& pos, int whiteMoves, int blackMoves, HelpGoal goal,
                     std::size_t limit, HelpTargets& out);

// Whether `pos` matches `target` of `targets`: the king on its square and
// every man with a part on a square of its place, of its shape.
bool MatchesHelpTarget(const Position& pos, const HelpTargets& targets, const HelpTarget& target,
                       const std::vector<int>& squareOfMan);

// The fewest moves the man of code `code` on bit `from` needs to stand on
// bit `to` as `shape`, on an empty board; 64 or more when it cannot. Kings
// and rooks count castling while `castlings` (bits: 1 White's king side, 2
// White's queen side, 4 and 8 Black's) allows it from their squares, the
// castling as the king's move.
int HelpPartDistance(int code, int from, EndShape shape, int to, int castlings);

// The castlings the counters of `pos` still allow (the bits above).
int HelpCastlings(const Position& pos);

}  // namespace kv
