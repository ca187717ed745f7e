// Board layout, move generation and playing moves in place.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/tables.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

using testing::FromFen;
using testing::MoveNames;
using testing::Sq;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(BoardLayout, ClearingLeavesSquaresEmptyAndBordersOffBoard) {
  Board board;
  board.fill(5);
  ClearBoard(board);
  int squares = 0;
  for (int i = 0; i < BoardCells; ++i) {
    if (IsSquare(i)) {
      EXPECT_EQ(board[i], Empty) << i;
      ++squares;
    } else {
      EXPECT_EQ(board[i], OffBoard) << i;
    }
  }
  EXPECT_EQ(squares, 64);
  EXPECT_EQ(Sq("a8"), 22);
  EXPECT_EQ(Sq("h1"), 99);
  EXPECT_EQ(SquareColour[Sq("a1")], DarkSquare);
  EXPECT_EQ(SquareColour[Sq("h8")], DarkSquare);
  EXPECT_EQ(SquareColour[Sq("a8")], LightSquare);
  EXPECT_EQ(SquareColour[Sq("e4")], LightSquare);
}

TEST(BoardLayout, LineTables) {
  EXPECT_EQ(LineStep(Sq("a1") - Sq("h8")), 9);
  EXPECT_EQ(LineStep(Sq("h8") - Sq("a1")), -9);
  EXPECT_EQ(LineStep(Sq("a8") - Sq("h1")), -11);
  EXPECT_EQ(LineStep(Sq("e1") - Sq("e8")), 10);
  EXPECT_EQ(LineStep(Sq("a3") - Sq("h3")), -1);
  EXPECT_EQ(LineStep(Sq("b1") - Sq("c3")), 0);
  EXPECT_EQ(LineStep(200), 0);
  EXPECT_EQ(LineKind(-21), LineKnight);
  EXPECT_EQ(LineKind(-9), LineDiagonal);
  EXPECT_EQ(LineKind(10), LineRankFile);
  EXPECT_EQ(LineKind(22), 0);
  EXPECT_EQ(KingNeighbourBit(-11) | KingNeighbourBit(11) | KingNeighbourBit(-1) |
                KingNeighbourBit(1) | KingNeighbourBit(-9) | KingNeighbourBit(9) |
                KingNeighbourBit(-10) | KingNeighbourBit(10),
            255);
}

TEST(BoardLayout, KnightsInTheCornersProbeTheBorderCells) {
  // A knight on h1 probes cell 120, one on a8 cell 1; both hold OffBoard.
  Position pos = FromFen("N6k/8/8/8/8/8/8/K6N");
  MoveList list;
  ASSERT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  const auto names = MoveNames(list);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.rfind("h1", 0) == 0; }),
            2);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.rfind("a8", 0) == 0; }),
            2);
}

TEST(BoardLayout, EndMarkIsTheFromByteAlone) {
  Position pos = FromFen("7k/8/8/8/8/8/8/K7");
  MoveList list;
  for (Move& m : list.moves) m = Move{1, 2, 3, 4, 5, 6};
  ASSERT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  ASSERT_EQ(MoveNames(list).size(), 3u);
  EXPECT_EQ(list.moves[3].from, 0);
  EXPECT_EQ(list.moves[3].to, 2);
  EXPECT_EQ(list.moves[3].captured, 6);
}

TEST(Generation, OrderFollowsSquaresAndDirectionTables) {
  Position pos = FromFen("4k3/8/8/8/8/8/8/R3K2R");
  MoveList list;
  ASSERT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  const auto names = MoveNames(list);
  // Rook a1: -1 (border), -10 up the file, +1 along the rank, +10 (border).
  ASSERT_GE(names.size(), 10u);
  EXPECT_EQ(names[0], "a1a2");
  EXPECT_EQ(names[6], "a1a8");
  EXPECT_EQ(names[7], "a1b1");
  // King e1: steps in QueenOffsets order, then castling queen's side first.
  const auto e1 = std::find(names.begin(), names.end(), "e1d1");
  ASSERT_NE(e1, names.end());
  EXPECT_EQ(*(e1 + 1), "e1e2");
  EXPECT_EQ(*(e1 + 2), "e1f1");
  EXPECT_EQ(*(e1 + 3), "e1d2");
  EXPECT_EQ(*(e1 + 4), "e1f2");
  EXPECT_EQ(*(e1 + 5), "e1c1");
  EXPECT_EQ(*(e1 + 6), "e1g1");
}

TEST(Generation, PawnPromotionsInOrder) {
  Position pos = FromFen("n1b4k/1P6/8/8/8/8/8/K7");
  MoveList list;
  ASSERT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  const auto names = MoveNames(list);
  const std::vector<std::string> expected = {"b7a8Q", "b7a8R", "b7a8B", "b7a8N", "b7c8Q", "b7c8R",
                                             "b7c8B", "b7c8N", "b7b8Q", "b7b8R", "b7b8B", "b7b8N"};
  ASSERT_GE(names.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 12), expected);
}

TEST(Generation, BlackPromotionsCaptureTowardsTheHigherFileFirst) {
  Position pos = FromFen("k7/8/8/8/8/8/6p1/K4N1N");
  pos.blackForce = 0;
  MoveList list;
  ASSERT_EQ(GenerateBlackMoves(pos, 0, 0, list), 0);
  const auto names = MoveNames(list);
  ASSERT_EQ(names.size(), 15u);
  EXPECT_EQ(names[2], "a8b7");  // king first (a8 comes before g2)
  EXPECT_EQ(names[3], "g2h1q");
  EXPECT_EQ(names[7], "g2f1q");
  EXPECT_EQ(names[11], "g2g1q");
  EXPECT_EQ(names[14], "g2g1n");
  // A black promotion may bring any man: the attack pruning must know.
  EXPECT_EQ(pos.blackForce & (ForceRankFile | ForceDiagonal | ForceKnight),
            ForceRankFile | ForceDiagonal | ForceKnight);
}

TEST(Generation, IllegalPreviousMove) {
  // White to move with the black king attacked: nothing but the end mark.
  Position pos = FromFen("4k3/8/8/8/8/8/8/R3K2R w");
  pos.board[Sq("a1")] = Empty;
  pos.board[Sq("e4")] = WhiteRook;
  MoveList list;
  EXPECT_EQ(GenerateWhiteMoves(pos, 0, 0, list), -1);
  EXPECT_EQ(list.moves[0].from, 0);

  // A black man that can take the white king stops the generation, even with
  // black men later in the scan; the moves so far keep an end mark.
  Position black = FromFen("r3k3/8/8/8/8/8/1p6/K7");
  ASSERT_EQ(GenerateBlackMoves(black, 0, 0, list), 1);
  const auto names = MoveNames(list);
  EXPECT_FALSE(names.empty());
  for (const auto& n : names) EXPECT_EQ(n.substr(0, 2), "a8") << n;
}

TEST(Generation, EnPassantOnlyRightAfterTheDoubleStep) {
  Position pos = FromFen("4k3/8/8/3pP3/8/8/8/4K3");
  MoveList list;
  GenerateWhiteMoves(pos, Sq("d7"), Sq("d5"), list);
  EXPECT_TRUE(Contains(MoveNames(list), "e5d6ep"));
  GenerateWhiteMoves(pos, Sq("d6"), Sq("d5"), list);  // a single step
  EXPECT_FALSE(Contains(MoveNames(list), "e5d6ep"));
  GenerateWhiteMoves(pos, 0, 0, list);
  EXPECT_FALSE(Contains(MoveNames(list), "e5d6ep"));

  // Not for a pawn that is not beside the arrival square.
  Position far = FromFen("4k3/8/8/3p2P1/8/8/8/4K3");
  GenerateWhiteMoves(far, Sq("d7"), Sq("d5"), list);
  for (const auto& n : MoveNames(list)) EXPECT_EQ(n.find("ep"), std::string::npos) << n;

  Position black = FromFen("4k3/8/8/8/3Pp3/8/8/4K3");
  GenerateBlackMoves(black, Sq("d2"), Sq("d4"), list);
  EXPECT_TRUE(Contains(MoveNames(list), "e4d3ep"));
  const auto moves = testing::Moves(list);
  const auto ep =
      std::find_if(moves.begin(), moves.end(), [](const Move& m) { return m.capture != m.to; });
  ASSERT_NE(ep, moves.end());
  EXPECT_EQ(ep->capture, Sq("d4"));
  EXPECT_EQ(ep->captured, WhitePawn);
}

TEST(Generation, CastlingConditions) {
  MoveList list;
  struct Case {
    const char* name;
    const char* fen;
    bool queenSide;
    bool kingSide;
  };
  const Case cases[] = {
      {"both sides free", "4k3/8/8/8/8/8/8/R3K2R", true, true},
      {"king in check", "4k3/8/8/8/8/8/8/R3K2R", false, false},  // e-file rook below
      {"passes an attacked square", "4k3/8/8/8/8/8/5r2/R3K2R", true, false},
      {"lands on an attacked square", "4k3/8/8/8/8/8/2r5/R3K2R", false, true},
      {"b1 attacked but empty", "4k3/8/8/8/8/8/1r6/R3K2R", true, true},
      {"b1 occupied", "4k3/8/8/8/8/8/8/RN2K2R", false, true},
  };
  for (const Case& c : cases) {
    Position pos = FromFen(c.fen);
    if (std::string(c.name) == "king in check") {
      pos.board[Sq("e5")] = BlackRook;
      pos.blackForce |= ForceRankFile;
    }
    GenerateWhiteMoves(pos, 0, 0, list);
    const auto names = MoveNames(list);
    EXPECT_EQ(Contains(names, "e1c1"), c.queenSide) << c.name;
    EXPECT_EQ(Contains(names, "e1g1"), c.kingSide) << c.name;
  }

  // A corner counter that is not 0 forbids that side even with the men home.
  Position moved = FromFen("4k3/8/8/8/8/8/8/R3K2R");
  moved.castlingCounters[H1Moves] = 2;
  GenerateWhiteMoves(moved, 0, 0, list);
  EXPECT_TRUE(Contains(MoveNames(list), "e1c1"));
  EXPECT_FALSE(Contains(MoveNames(list), "e1g1"));

  // Black: with e8 attacked no castling at all; d8 attacked stops only the long one.
  Position black = FromFen("r3k2r/8/8/8/8/8/8/3RK3");
  GenerateBlackMoves(black, 0, 0, list);
  EXPECT_FALSE(Contains(MoveNames(list), "e8c8"));
  EXPECT_TRUE(Contains(MoveNames(list), "e8g8"));
  Position checked = FromFen("r3k2r/8/8/8/8/8/8/4RK2");
  GenerateBlackMoves(checked, 0, 0, list);
  EXPECT_FALSE(Contains(MoveNames(list), "e8c8"));
  EXPECT_FALSE(Contains(MoveNames(list), "e8g8"));
}

TEST(Generation, FullListStopsCleanlyWithAnEndMark) {
  // Eleven queens: well over 170 pseudo-legal moves.
  Position pos = FromFen("1Q3Q2/3Q3Q/Q3Q3/2Q3Q1/1Q3Q2/3Q4/pp6/kp2K3");
  MoveList list;
  for (Move& m : list.moves) m = Move{9, 9, 9, 9, 9, 9};
  const auto before = pos.listOverflows;
  EXPECT_EQ(GenerateWhiteMoves(pos, 0, 0, list), 0);
  EXPECT_EQ(MoveNames(list).size(), static_cast<std::size_t>(MoveListCapacity));
  EXPECT_EQ(list.moves[MoveListCapacity].from, 0);
  EXPECT_EQ(pos.listOverflows, before + 1);

  // The black generator still reports a capturable king past a full list.
  // The knight on c2 comes last in the scan and could take the king on a1.
  Position black = FromFen("1q3q2/3q3q/q3q3/2q3q1/1q3q1k/3q4/PPn5/KP6");
  EXPECT_EQ(GenerateBlackMoves(black, 0, 0, list), 1);
  EXPECT_EQ(list.moves[MoveListCapacity].from, 0);
}

TEST(MakeUnmake, EveryMoveIsTakenBackExactly) {
  // Castlings, en passant and promotions of both colours, with two plies so
  // that en passant arises from a real double step.
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1",
      "4k3/1P1p4/8/4P3/2p5/8/3P2p1/4K3",
  };
  for (const char* fen : fens) {
    for (bool whiteFirst : {true, false}) {
      Position pos = FromFen(fen);
      const Position start = pos;
      MoveList first;
      MoveList second;
      if (whiteFirst) {
        GenerateWhiteMoves(pos, 0, 0, first);
      } else {
        GenerateBlackMoves(pos, 0, 0, first);
      }
      for (const Move& m : testing::Moves(first)) {
        MakeMove(pos, m);
        const Position afterFirst = pos;
        if (whiteFirst) {
          GenerateBlackMoves(pos, m.from, m.to, second);
        } else {
          GenerateWhiteMoves(pos, m.from, m.to, second);
        }
        for (const Move& r : testing::Moves(second)) {
          MakeMove(pos, r);
          UnmakeMove(pos, r);
          ASSERT_TRUE(testing::SameState(pos, afterFirst))
              << fen << " " << testing::MoveName(m) << " " << testing::MoveName(r);
        }
        UnmakeMove(pos, m);
        ASSERT_TRUE(testing::SameState(pos, start)) << fen << " " << testing::MoveName(m);
      }
    }
  }
}

TEST(MakeUnmake, CastlingMovesTheRookAndCountsTheKing) {
  Position pos = FromFen("r3k2r/8/8/8/8/8/8/R3K2R");
  const Move shortCastle{96, 98, 98, WhiteKing, WhiteKing, 0};
  MakeMove(pos, shortCastle);
  EXPECT_EQ(pos.board[Sq("f1")], WhiteRook);
  EXPECT_EQ(pos.board[Sq("h1")], Empty);
  EXPECT_EQ(pos.whiteKingSquare, Sq("g1"));
  EXPECT_EQ(pos.castlingCounters[WhiteKingMoves], 1);
  UnmakeMove(pos, shortCastle);
  const Move longCastle{26, 24, 24, BlackKing, BlackKing, 0};
  MakeMove(pos, longCastle);
  EXPECT_EQ(pos.board[Sq("d8")], BlackRook);
  EXPECT_EQ(pos.board[Sq("a8")], Empty);
  EXPECT_EQ(pos.blackKingSquare, Sq("c8"));
  const Move rookLeaves{29, 39, 39, BlackRook, BlackRook, 0};
  MakeMove(pos, rookLeaves);
  EXPECT_EQ(pos.castlingCounters[H8Moves], 1);
}

TEST(MakeUnmake, ARookTakenOnItsCornerTakesItsCastlingAlong) {
  // 1.Bxh8 Rxh8: the rook now on h8 is another one and may not castle; taking
  // the moves back gives the castling back.
  Position pos = FromFen("4k2r/8/8/7r/8/8/1B6/4K3");
  const Move bishopTakes{Sq("b2"), Sq("h8"), Sq("h8"), WhiteBishop, WhiteBishop, BlackRook};
  const Move rookRetakes{Sq("h5"), Sq("h8"), Sq("h8"), BlackRook, BlackRook, WhiteBishop};
  MoveList list;
  GenerateBlackMoves(pos, 0, 0, list);
  ASSERT_TRUE(Contains(MoveNames(list), "e8g8"));
  MakeMove(pos, bishopTakes);
  MakeMove(pos, rookRetakes);
  const Move waiting{Sq("e1"), Sq("d1"), Sq("d1"), WhiteKing, WhiteKing, 0};
  MakeMove(pos, waiting);
  GenerateBlackMoves(pos, waiting.from, waiting.to, list);
  EXPECT_FALSE(Contains(MoveNames(list), "e8g8"));
  UnmakeMove(pos, waiting);
  UnmakeMove(pos, rookRetakes);
  UnmakeMove(pos, bishopTakes);
  EXPECT_EQ(pos.castlingCounters[H8Moves], 0);

  // White's corner alike: 1...Bxa1 2.Rxa1 leaves no long castling.
  Position white = FromFen("4k3/8/8/8/8/8/1b6/R3K2R");
  white.board[Sq("a5")] = WhiteRook;
  DerivePositionState(white);
  MakeMove(white, {Sq("b2"), Sq("a1"), Sq("a1"), BlackBishop, BlackBishop, WhiteRook});
  MakeMove(white, {Sq("a5"), Sq("a1"), Sq("a1"), WhiteRook, WhiteRook, BlackBishop});
  GenerateWhiteMoves(white, 0, 0, list);
  EXPECT_FALSE(Contains(MoveNames(list), "e1c1"));
  EXPECT_TRUE(Contains(MoveNames(list), "e1g1"));
}

TEST(Derivation, KingsCountersAndBlackForce) {
  Position pos = FromFen("r3k3/8/8/3q4/8/8/8/4K2R");
  EXPECT_EQ(pos.whiteKingSquare, Sq("e1"));
  EXPECT_EQ(pos.blackKingSquare, Sq("e8"));
  EXPECT_EQ(pos.castlingCounters[WhiteKingMoves], 0);
  EXPECT_EQ(pos.castlingCounters[A1Moves], 15);
  EXPECT_EQ(pos.castlingCounters[H1Moves], 0);
  EXPECT_EQ(pos.castlingCounters[BlackKingMoves], 0);
  EXPECT_EQ(pos.castlingCounters[A8Moves], 0);
  EXPECT_EQ(pos.castlingCounters[H8Moves], 15);
  EXPECT_EQ(pos.blackForce, ForceRankFile | ForceDiagonal);

  Position kingAway = FromFen("r3k2r/8/8/8/8/8/8/R4K1R");
  EXPECT_EQ(kingAway.castlingCounters[WhiteKingMoves], 1);
  EXPECT_EQ(kingAway.castlingCounters[BlackKingMoves], 0);

  // With two kings of a colour the last one from a8 to h1 stays; damaged
  // border cells are restored so that no scan can leave the array.
  Position twoKings = FromFen("K6k/8/8/8/8/8/8/6K1");
  twoKings.board[0] = Empty;
  twoKings.board[31] = Empty;
  DerivePositionState(twoKings);
  EXPECT_EQ(twoKings.whiteKingSquare, Sq("g1"));
  EXPECT_EQ(twoKings.board[0], OffBoard);
  EXPECT_EQ(twoKings.board[31], OffBoard);
}

TEST(Attacks, ResultsAndPruningFlags) {
  Position pos = FromFen("4k3/8/8/8/8/8/8/4K3");
  pos.board[Sq("d4")] = BlackKnight;
  EXPECT_EQ(AttackedByBlack(pos, Sq("e2")), 0);  // no knight flag: skipped
  pos.blackForce |= ForceKnight;
  EXPECT_EQ(AttackedByBlack(pos, Sq("e2")), '2');
  pos.board[Sq("d3")] = WhitePawn;
  EXPECT_EQ(AttackedByWhite(pos, Sq("e4")), 100);
  EXPECT_EQ(AttackedByWhite(pos, Sq("d4")), 0);
  pos.board[Sq("a4")] = WhiteQueen;
  EXPECT_EQ(AttackedByWhite(pos, Sq("c4")), 100);
  EXPECT_EQ(AttackedByWhite(pos, Sq("e4")), 100);  // the pawn
  EXPECT_EQ(AttackedByWhite(pos, Sq("f4")), 0);    // behind the knight
  // The king square 0 of a missing king never sends a scan off the array.
  EXPECT_EQ(AttackedByWhite(pos, 0), 0);
  EXPECT_EQ(AttackedByBlack(pos, 0), 0);
}

TEST(Attacks, ScreenTestFindsPinsToTheBlackKing) {
  Position pos = FromFen("4k3/8/2n5/8/B7/8/4r3/4R1K1");
  EXPECT_EQ(ScreenTest(pos, Sq("e2")), 0);  // rook pinned on the file
  EXPECT_EQ(ScreenTest(pos, Sq("c6")), 0);  // knight pinned on the diagonal
  pos.board[Sq("a4")] = WhiteRook;
  EXPECT_EQ(ScreenTest(pos, Sq("c6")), 1);  // a rook does not pin on a diagonal
  EXPECT_EQ(ScreenTest(pos, Sq("b1")), 1);  // not on a line
}

}  // namespace
}  // namespace kv
