// The one chess position of the program and the records every rules
// operation shares.
//
// The board is a padded array of 121 cells read as 12 rows of 10: rows 2..9
// are ranks 8..1 and columns 2..9 files a..h, so a8 = 22, h8 = 29, a1 = 92,
// h1 = 99. Rows 0, 1, 10, 11, columns 0 and 1 of rows 2..9 and cell 120 hold
// OffBoard (8). Two border rows and the two border columns between rows are
// enough for every knight jump from any square to land inside the array;
// cell 120 exists for h1 + 21.
#pragma once

#include <array>
#include <cstdint>

namespace kv {

// Piece codes. A black man is 16 minus the white code of the same kind; the
// rules classify cells by comparisons alone (1..6 white, above 8 black, above
// 10 black but not the king), so these values are load-bearing.
using PieceCode = std::int8_t;
inline constexpr PieceCode Empty = 0;
inline constexpr PieceCode WhiteRook = 1;
inline constexpr PieceCode WhiteQueen = 2;
inline constexpr PieceCode WhiteBishop = 3;
inline constexpr PieceCode WhiteKnight = 4;
inline constexpr PieceCode WhitePawn = 5;
inline constexpr PieceCode WhiteKing = 6;
inline constexpr PieceCode OffBoard = 8;
inline constexpr PieceCode BlackKing = 10;
inline constexpr PieceCode BlackPawn = 11;
inline constexpr PieceCode BlackKnight = 12;
inline constexpr PieceCode BlackBishop = 13;
inline constexpr PieceCode BlackQueen = 14;
inline constexpr PieceCode BlackRook = 15;

// 10 * row + column; see the board layout above.
using SquareIndex = int;
inline constexpr int BoardCells = 121;
inline constexpr SquareIndex FirstSquare = 22;  // a8
inline constexpr SquareIndex LastSquare = 99;   // h1

using Board = std::array<std::int8_t, BoardCells>;

// One move, six signed bytes. Castling is the king's two-square move (the
// rook's move is implied); en passant has a capture square other than `to`;
// a promotion has placed != moved; a capture has captured != 0.
struct Move {
  std::int8_t from = 0;
  std::int8_t to = 0;
  std::int8_t capture = 0;   // square whose contents are removed
  std::int8_t moved = 0;     // man on `from` before the move
  std::int8_t placed = 0;    // man put on `to`
  std::int8_t captured = 0;  // man found on `capture`, 0 for none
};
static_assert(sizeof(Move) == 6);

// A solution record: a move and its mark byte ('2' the move gives check,
// '3' any move of that man, "ad lib"). Solution lists hold pairs of them
// (a black reply and White's answer, 14 bytes).
struct SolutionRecord {
  Move move{};
  std::int8_t mark = 0;
};
static_assert(sizeof(SolutionRecord) == 7);
inline constexpr std::int8_t CheckMark = '2';
inline constexpr std::int8_t AdLibMark = '3';

// A move and its reply as the solution lists keep them (14 bytes).
struct SolutionPair {
  SolutionRecord first{};
  SolutionRecord second{};
};
static_assert(sizeof(SolutionPair) == 14);

// A generated list: records ended by one whose `from` is 0. 170 moves and the
// end mark fit in the 1024 bytes the solver gives each list.
inline constexpr int MoveListCapacity = 170;
struct MoveList {
  std::array<Move, MoveListCapacity + 1> moves{};
};

// Indices of the six castling counters.
inline constexpr int WhiteKingMoves = 0;
inline constexpr int BlackKingMoves = 1;
inline constexpr int A1Moves = 2;
inline constexpr int H1Moves = 3;
inline constexpr int A8Moves = 4;
inline constexpr int H8Moves = 5;

// BlackForce flags: which kinds of black line and jump attackers exist.
inline constexpr std::uint8_t ForceRankFile = 1;  // rook or queen
inline constexpr std::uint8_t ForceDiagonal = 2;  // bishop or queen
inline constexpr std::uint8_t ForceKnight = 4;
inline constexpr std::uint8_t ForcePawn = 8;

// The board and the state derived from it. ValidatePosition derives the king
// squares, counters and BlackForce from the board; MakeMove/UnmakeMove keep
// the king squares and counters current; BlackForce only grows during a
// search (a black promotion may bring any piece), so it is never restored.
struct Position {
  Board board{};
  std::int16_t whiteKingSquare = 0;
  std::int16_t blackKingSquare = 0;
  std::array<std::int16_t, 6> castlingCounters{};
  std::uint8_t blackForce = 0;
  // The squares of White's men, one bit per square in a8..h1 order (bit 0 is
  // a8): the mate-in-one scan and White's generator visit these instead of
  // every cell. Derived with the king squares and kept by MakeMove/UnmakeMove;
  // a caller that edits the board otherwise must derive the position again.
  std::uint64_t whiteMen = 0;
  // The squares of Black's men, kept the same way for Black's generator. A
  // caller may lift a black man off the board for a while (the set then has
  // a bit for an empty square, which the generator passes over), never put
  // one on without re-deriving.
  std::uint64_t blackMen = 0;
  Move probeMove{};              // the move TestMateMove examines
  Move lastMate{};               // the last mating move found; steers FindMateInOne
  std::int16_t parrySquare = 0;  // square of a lifted black man, or 0
  // Times a generator met a full list and dropped the moves beyond its
  // capacity. Never reset by the rules; a caller that must know whether its
  // lists were complete compares it before and after.
  std::uint32_t listOverflows = 0;
};

}  // namespace kv
