#include "core/position_check.h"

#ifdef KESTROVALE_POSITION_CHECKS

#include <bit>
#include <cstdio>
#include <cstdlib>

#include "core/squares.h"
#include "core/tables.h"

namespace kv {
namespace {

constexpr SquareIndex WhiteKingHome = sq::E1;
constexpr SquareIndex BlackKingHome = sq::E8;
constexpr SquareIndex WhiteFifthRankFirst = 52;
constexpr SquareIndex WhiteFifthRankLast = 59;
constexpr SquareIndex BlackFifthRankFirst = 62;
constexpr SquareIndex BlackFifthRankLast = 69;
constexpr int RowStep = 10;

bool IsMan(int code) {
  return (code >= WhiteRook && code <= WhiteKing) || (code >= BlackKing && code <= BlackRook);
}

std::string At(const char* what, int square) {
  return std::string(what) + " (cell " + std::to_string(square) + ")";
}

std::string CellFault(const Board& b) {
  for (int i = 0; i < BoardCells; ++i) {
    if (!IsSquare(i) && b[i] != OffBoard) return At("a border cell holds a man", i);
    if (IsSquare(i) && b[i] != Empty && !IsMan(b[i])) return At("a square holds no valid code", i);
  }
  return {};
}

// What one pass over the cells finds: whether every cell holds what its
// kind allows (a border cell its mark, a square a man or nothing), the
// squares of each side's men and the number of each side's kings.
struct CellSummary {
  bool valid = true;
  std::uint64_t white = 0;
  std::uint64_t black = 0;
  int whiteKings = 0;
  int blackKings = 0;
};

CellSummary SummaryOf(const Board& b) {
  CellSummary cells;
  for (int i = 0; i < BoardCells; ++i) {
    const int code = b[i];
    if (!IsSquare(i)) {
      cells.valid &= code == OffBoard;
      continue;
    }
    if (code == Empty) continue;
    cells.valid &= IsMan(code);
    if (code < OffBoard)
      cells.white |= SquareBit[i];
    else
      cells.black |= SquareBit[i];
    cells.whiteKings += code == WhiteKing;
    cells.blackKings += code == BlackKing;
  }
  return cells;
}

// Whether a side's `count` kings agree with its king square: none and
// square 0, or one on its square.
bool KingAgrees(const Board& b, PieceCode king, int count, int square) {
  if (count == 0) return square == 0;
  return count == 1 && IsSquare(square) && b[square] == king;
}

// A side's king: none and square 0, or one on its square.
std::string KingFault(const Board& b, PieceCode king, int square, const char* side) {
  int count = 0;
  for (int s = FirstSquare; s <= LastSquare; ++s) count += b[s] == king;
  if (count > 1) return std::string(side) + " has more than one king";
  if (count == 0 && square != 0)
    return At((std::string(side) + "'s king square names no king").c_str(), square);
  if (count == 1 && (!IsSquare(square) || b[square] != king))
    return At((std::string(side) + "'s king is not on its king square").c_str(), square);
  return {};
}

// A king's counter of 0 promises that the king has never moved, so it
// stands on its home square; while it does, a rook's counter of 0 promises
// the same of that rook. A castling moves its rook without counting it: the
// king's counter then rules castling out.
std::string CastlingFault(const Position& pos) {
  const Board& b = pos.board;
  const auto& c = pos.castlingCounters;
  for (int i = 0; i < static_cast<int>(c.size()); ++i)
    if (c[i] < 0) return "castling counter " + std::to_string(i) + " is below 0";
  struct Home {
    int king;
    SquareIndex kingSquare;
    PieceCode kingCode;
    int rook;
    SquareIndex rookSquare;
    PieceCode rookCode;
  };
  constexpr Home homes[] = {{WhiteKingMoves, WhiteKingHome, WhiteKing, A1Moves, sq::A1, WhiteRook},
                            {WhiteKingMoves, WhiteKingHome, WhiteKing, H1Moves, sq::H1, WhiteRook},
                            {BlackKingMoves, BlackKingHome, BlackKing, A8Moves, sq::A8, BlackRook},
                            {BlackKingMoves, BlackKingHome, BlackKing, H8Moves, sq::H8, BlackRook}};
  for (const Home& home : homes) {
    if (c[home.king] != 0) continue;
    if (b[home.kingSquare] != home.kingCode)
      return At("a king's castling counter of 0 with the king away", home.kingSquare);
    if (c[home.rook] == 0 && b[home.rookSquare] != home.rookCode)
      return At("a rook's castling counter of 0 with the rook away", home.rookSquare);
  }
  return {};
}

}  // namespace

std::string PositionFault(const Position& pos) {
  const Board& b = pos.board;
  // It runs after every move of a Debug build's searches: one pass over the
  // cells gathers what the checks compare, and the descriptions are built
  // only when something is wrong.
  const CellSummary cells = SummaryOf(b);
  if (!cells.valid) return CellFault(b);
  if (pos.whiteMen != cells.white) return "the set of White's men differs from the board";
  if ((cells.black & ~pos.blackMen) != 0)
    return "a black man is missing from the set of Black's men";
  if (std::popcount(pos.blackMen & ~cells.black) > 1)
    return "the set of Black's men holds squares without black men";
  if (!KingAgrees(b, WhiteKing, cells.whiteKings, pos.whiteKingSquare))
    return KingFault(b, WhiteKing, pos.whiteKingSquare, "White");
  if (!KingAgrees(b, BlackKing, cells.blackKings, pos.blackKingSquare))
    return KingFault(b, BlackKing, pos.blackKingSquare, "Black");
  return CastlingFault(pos);
}

std::string MoveFault(const Position& pos, const Move& move) {
  const Board& b = pos.board;
  // White's null move of the set play touches one border cell and nothing else.
  if (move.moved == OffBoard) return move.from == move.to ? "" : "a null move that moves";
  if (!IsSquare(move.from) || !IsSquare(move.to) || !IsSquare(move.capture))
    return "a move off the board";
  if (b[move.from] != move.moved) return At("the moving man is not on its square", move.from);
  if (b[move.capture] != move.captured)
    return At("the captured man is not on its square", move.capture);
  const bool white = move.moved < OffBoard;
  const PieceCode target = b[move.to];
  if (target != Empty && move.capture != move.to)
    return At("a move onto an occupied square", move.to);
  if (target != Empty && (target < OffBoard) == white)
    return At("a move takes its own man", move.to);
  if (target == WhiteKing || target == BlackKing) return At("a move takes a king", move.to);
  if (move.capture == move.to) return {};
  // En passant: a pawn on its fifth rank takes the pawn beside it that has
  // just passed the square it goes to.
  const bool sane = white
                        ? move.moved == WhitePawn && move.captured == BlackPawn &&
                              move.from >= WhiteFifthRankFirst && move.from <= WhiteFifthRankLast &&
                              move.capture == move.to + RowStep
                        : move.moved == BlackPawn && move.captured == WhitePawn &&
                              move.from >= BlackFifthRankFirst && move.from <= BlackFifthRankLast &&
                              move.capture == move.to - RowStep;
  return sane ? "" : At("an en-passant capture that no double step allows", move.capture);
}

void StopOnFault(const std::string& fault, const char* where, const Move& move) {
  if (fault.empty()) return;
  std::fprintf(stderr, "%s %d-%d (capture %d, moved %d, placed %d, captured %d): %s\n", where,
               move.from, move.to, move.capture, move.moved, move.placed, move.captured,
               fault.c_str());
  std::abort();
}

}  // namespace kv

#endif
