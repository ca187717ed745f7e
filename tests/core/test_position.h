// Helpers shared by the rules tests: positions from FEN and square names.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fen.h"
#include "core/position.h"
#include "core/rules.h"
#include "core/validation.h"

namespace kv::testing {

// The position of a FEN board field with its derived state.
inline Position FromFen(const std::string& fen) {
  Position pos;
  std::string error;
  bool whiteToMove = true;
  EXPECT_TRUE(ParseFen(fen, pos.board, whiteToMove, &error)) << fen << ": " << error;
  DerivePositionState(pos);
  return pos;
}

// "e4" -> 66.
constexpr int Sq(const char* name) {
  return 10 * ('8' - name[1] + 2) + (name[0] - 'a' + 2);
}

inline std::string SquareName(int s) {
  return {static_cast<char>('a' + s % 10 - 2), static_cast<char>('0' + 10 - s / 10)};
}

// "e2e4", with "=Q" style suffix letters for promotions, for readable checks.
inline std::string MoveName(const Move& m) {
  std::string text = SquareName(m.from) + SquareName(m.to);
  if (m.placed != m.moved) text += " RQBNPK   kpnbqr"[m.placed];
  if (m.capture != m.to) text += "ep";
  return text;
}

inline std::vector<Move> Moves(const MoveList& list) {
  std::vector<Move> moves;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) moves.push_back(*m);
  return moves;
}

inline std::vector<std::string> MoveNames(const MoveList& list) {
  std::vector<std::string> names;
  for (const Move& m : Moves(list)) names.push_back(MoveName(m));
  return names;
}

inline bool SameState(const Position& a, const Position& b) {
  return a.board == b.board && a.whiteKingSquare == b.whiteKingSquare &&
         a.blackKingSquare == b.blackKingSquare && a.castlingCounters == b.castlingCounters &&
         a.whiteMen == b.whiteMen && a.blackMen == b.blackMen;
}

}  // namespace kv::testing
