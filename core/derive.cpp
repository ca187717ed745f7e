#include "core/rules.h"
#include "core/squares.h"
#include "core/tables.h"
#include "core/validation.h"

namespace kv {

void DerivePositionState(Position& pos) {
  Board& b = pos.board;
  for (int i = 0; i < BoardCells; ++i) {
    if (!IsSquare(i)) b[i] = OffBoard;
  }
  pos.castlingCounters.fill(0);
  pos.blackForce = 0;
  pos.whiteKingSquare = 0;
  pos.blackKingSquare = 0;
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    switch (b[s]) {
      case BlackPawn:
        pos.blackForce |= ForcePawn;
        break;
      case BlackKnight:
        pos.blackForce |= ForceKnight;
        break;
      case BlackRook:
        pos.blackForce |= ForceRankFile;
        break;
      case BlackQueen:
        pos.blackForce |= ForceRankFile | ForceDiagonal;
        break;
      case BlackBishop:
        pos.blackForce |= ForceDiagonal;
        break;
      case WhiteKing:
        pos.whiteKingSquare = static_cast<std::int16_t>(s);
        break;
      case BlackKing:
        pos.blackKingSquare = static_cast<std::int16_t>(s);
        break;
      default:
        break;
    }
  }
  pos.whiteMen = WhiteMenOf(b);
  pos.blackMen = BlackMenOf(b);
  auto& counters = pos.castlingCounters;
  constexpr std::int16_t kNoCastling = 15;
  if (!(b[sq::E1] == WhiteKing && (b[sq::A1] == WhiteRook || b[sq::H1] == WhiteRook))) {
    counters[WhiteKingMoves] = 1;
  }
  if (b[sq::A1] != WhiteRook) counters[A1Moves] = kNoCastling;
  if (b[sq::H1] != WhiteRook) counters[H1Moves] = kNoCastling;
  if (!(b[sq::E8] == BlackKing && (b[sq::A8] == BlackRook || b[sq::H8] == BlackRook))) {
    counters[BlackKingMoves] = 1;
  }
  if (b[sq::A8] != BlackRook) counters[A8Moves] = kNoCastling;
  if (b[sq::H8] != BlackRook) counters[H8Moves] = kNoCastling;
}

}  // namespace kv
