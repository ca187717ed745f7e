// The goal tests of the searches and Black's moves as the play's rules allow
// them: the last move of the play mates or stalemates (SearchState::goal),
// and a maximummer plays only its longest legal moves
// (SearchState::maximummer). With a mate goal and no maximummer these are
// the plain tests of the rules, so the mate searches are unchanged by them.
#pragma once

#include <bit>
#include <cstdint>

#include "core/attacks.h"
#include "core/goals.h"
#include "core/rules.h"
#include "core/tables.h"
#include "solver/search_state.h"

namespace kv::search_detail {

// White's move pos.probeMove reaches the goal: 100; else TestMateMove's
// check count (mate goal) or 0 (stalemate goal).
inline int TestGoalMove(const SearchState& state, Position& pos) {
  return state.goal == Goal::Mate ? TestMateMove(pos) : TestStalemateMove(pos);
}

// FindMateInOne or FindStalemateInOne by the goal: -1 when Black's last move
// was illegal, 1 when a white move reaches the goal, else 0.
inline int FindGoalInOne(const SearchState& state, Position& pos, int lastFrom, int lastTo) {
  return state.goal == Goal::Mate ? FindMateInOne(pos, lastFrom, lastTo)
                                  : FindStalemateInOne(pos, lastFrom, lastTo);
}

// Black's replies to White's move lastFrom-lastTo, as GenerateBlackMoves
// gives them (1: White's move was illegal); a maximummer keeps only its
// longest legal moves, in their order.
inline int GenerateBlackReplies(const SearchState& state, Position& pos, int lastFrom, int lastTo,
                                MoveList& list) {
  const int status = GenerateBlackMoves(pos, lastFrom, lastTo, list);
  if (status == 0 && state.maximummer) KeepLongestBlackMoves(pos, list);
  return status;
}

// Whether the first man on the line from `king` through `square` (just
// emptied) is one of `side` (BlackCodes or WhiteCodes) that attacks the
// king along it.
inline bool LineOpensThrough(const Position& pos, int king, int square, std::uint16_t side) {
  const int step = LineStep(square - king);
  if (step == 0) return false;
  int p = king + step;
  while (pos.board[p] == Empty) p += step;
  return ManAttacks(pos.board, p, king, side);
}

// Whether Black's `reply`, not yet played, checks the white king, when no
// black man attacks the king before it: only the man it places can give the
// check, or a line piece whose line it opens by leaving its square (or by
// taking en passant). The same answer as BlackMoveAttacksWhiteKing, which
// asks every black man.
inline bool BlackReplyChecks(Position& pos, const Move& reply) {
  const int king = pos.whiteKingSquare;
  if (!IsSquare(king)) return false;
  if (reply.moved == BlackKing && (reply.to - reply.from == 2 || reply.from - reply.to == 2))
    return BlackMoveAttacksWhiteKing(pos, reply);
  Board& b = pos.board;
  const std::int8_t atFrom = b[reply.from];
  const std::int8_t atCapture = b[reply.capture];
  const std::int8_t atTo = b[reply.to];
  b[reply.from] = Empty;
  b[reply.capture] = Empty;
  b[reply.to] = reply.placed;
  const bool check =
      ManAttacks(b, reply.to, king, BlackCodes) ||
      LineOpensThrough(pos, king, reply.from, BlackCodes) ||
      (reply.capture != reply.to && LineOpensThrough(pos, king, reply.capture, BlackCodes));
  b[reply.to] = atTo;
  b[reply.capture] = atCapture;
  b[reply.from] = atFrom;
  return check;
}

// Whether Black's `reply`, not yet played, leaves its king unattacked.
// With the king out of check, a move of another man (not en passant) can
// expose it only by opening a white line through the square it leaves, so
// that line alone is looked at; other moves are played and tested in full.
inline bool BlackReplyLegal(Position& pos, const Move& reply, bool kingInCheck) {
  const int king = pos.blackKingSquare;
  if (!IsSquare(king)) return true;
  Board& b = pos.board;
  if (kingInCheck || reply.moved == BlackKing || reply.capture != reply.to) {
    MakeMove(pos, reply);
    const bool legal = AttackedByWhiteMen(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, reply);
    return legal;
  }
  const std::int8_t atFrom = b[reply.from];
  const std::int8_t atTo = b[reply.to];
  b[reply.from] = Empty;
  b[reply.to] = reply.placed;
  const bool exposed = LineOpensThrough(pos, king, reply.from, WhiteCodes);
  b[reply.to] = atTo;
  b[reply.from] = atFrom;
  return !exposed;
}

// Whether the white king has a legal step: to a neighbouring square that is
// empty or holds a black man other than the king, and that no black man
// attacks once the king stands there. Such a step is one of White's
// pseudo-legal moves, so White then stands at neither goal; the test needs
// no move list, and in a selfmate most checks that are no mate end here.
inline bool WhiteKingCanStep(Position& pos) {
  const int king = pos.whiteKingSquare;
  if (!IsSquare(king)) return false;
  Board& b = pos.board;
  b[king] = Empty;
  bool free = false;
  for (const int step : QueenOffsets) {
    const int to = king + step;
    const std::int8_t man = b[to];
    if (man != Empty && man <= BlackKing) continue;  // own man, border, king
    // The king hides a man it takes: the attack test reads only black codes.
    b[to] = WhiteKing;
    free = AttackedByBlackMen(pos, to) == 0;
    b[to] = man;
    if (free) break;
  }
  b[king] = WhiteKing;
  return free;
}

// The square of the one black man that checks the white king; 0 when none
// does (as found from the set of Black's men), -1 when two do.
inline int LoneChecker(const Position& pos) {
  const int king = pos.whiteKingSquare;
  int checker = 0;
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1) {
    const int square = BitSquare(std::countr_zero(men));
    if (!ManAttacks(pos.board, square, king, BlackCodes)) continue;
    if (checker != 0) return -1;
    checker = square;
  }
  return checker;
}

// Whether a white move other than a king move can lift the check of the man
// on `checker`: it takes that man (en passant too) or lands between it and
// the king. Any other such move leaves the line of the check as it was.
inline bool MayLiftCheck(const Position& pos, const Move& move, int checker) {
  if (move.to == checker || move.capture == checker) return true;
  const int king = pos.whiteKingSquare;
  if (((LinePieceCodes >> pos.board[checker]) & 1u) == 0) return false;
  const int step = AttackTable[MaxLineDifference + king - checker].step;
  for (int p = checker + step; p != king; p += step)
    if (p == move.to) return true;
  return false;
}

// Whether White, to move with its pseudo-legal moves in `list`, stands at
// the goal: mated (in check, no move escapes) or stalemated (not in check,
// no legal move). A legal king step answers at once; in check only the
// moves that may lift it are played, since no other move can escape.
inline bool WhiteAtGoal(const SearchState& state, Position& pos, const MoveList& list) {
  const bool inCheck = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
  if (inCheck != (state.goal == Goal::Mate)) return false;
  if (WhiteKingCanStep(pos)) return false;
  const int checker = inCheck && IsSquare(pos.whiteKingSquare) ? LoneChecker(pos) : 0;
  for (int i = 0; list.moves[i].from != 0; ++i) {
    const Move& move = list.moves[i];
    if (checker != 0 && move.moved != WhiteKing &&
        (checker < 0 || !MayLiftCheck(pos, move, checker)))
      continue;
    MakeMove(pos, move);
    const bool attacked = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
    UnmakeMove(pos, move);
    if (!attacked) return false;
  }
  return true;
}

}  // namespace kv::search_detail
