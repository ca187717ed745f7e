// Perft against the published figures: generation, make/unmake and the
// attack tests together must reproduce every count exactly.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/perft.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

struct PerftCase {
  const char* name;
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

// Sanitizer builds run the shallower depths only.
#ifdef NDEBUG
constexpr bool kDeep = true;
#else
constexpr bool kDeep = false;
#endif

// Castling rights of these positions are exactly what the diagram gives.
const PerftCase kCases[] = {
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w", 3, 8902},
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w", 4, 197281},
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w", 5, 4865609},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w", 3, 97862},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w", 4, 4085603},
    {"rook endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w", 5, 674624},
    {"rook endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w", 6, 11030083},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w", 3, 9467},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w", 4, 422333},
    {"promotions, Black first", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b", 3, 9467},
    {"promotions, Black first", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b", 4,
     422333},
    {"discovered checks", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w", 3, 62379},
    {"discovered checks", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w", 4, 2103487},
};

TEST(Perft, PublishedFigures) {
  for (const PerftCase& c : kCases) {
    const bool deep = c.nodes > 1000000;
    if (deep && !kDeep) continue;
    Position pos = testing::FromFen(c.fen);
    const Position start = pos;
    bool whiteToMove = true;
    Board scratch;
    ASSERT_TRUE(ParseFen(c.fen, scratch, whiteToMove, nullptr));
    EXPECT_EQ(Perft(pos, c.depth, whiteToMove), c.nodes) << c.name << " depth " << c.depth;
    EXPECT_TRUE(testing::SameState(pos, start)) << c.name;
  }
}

TEST(Perft, ShallowDepthsAndEnPassantFromThePreviousMove) {
  Position pos = testing::FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  EXPECT_EQ(Perft(pos, 0, true), 1u);
  EXPECT_EQ(Perft(pos, 1, true), 20u);
  EXPECT_EQ(Perft(pos, 2, true), 400u);
  // Without kings there is nothing to expose, and nothing to crash on.
  Position kingless = testing::FromFen("8/8/8/8/8/8/8/R7");
  EXPECT_EQ(Perft(kingless, 1, true), 14u);
  // After 1. e4 d5 2. e5 f5 White may take en passant only with f7-f5 as
  // the previous move.
  Position ep = testing::FromFen("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR");
  const std::uint64_t without = Perft(ep, 1, true);
  EXPECT_EQ(Perft(ep, 1, true, testing::Sq("f6"), testing::Sq("f5")), without);
  EXPECT_EQ(Perft(ep, 1, true, testing::Sq("f7"), testing::Sq("f5")), without + 1);
}

}  // namespace
}  // namespace kv
