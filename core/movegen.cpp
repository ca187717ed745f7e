// The two pseudo-legal move generators and the promotion writer.
//
// Squares are visited from a8 to h1; all moves of one man are written before
// the next square; sliders walk each direction of their table from the
// nearest square outwards. The order is load-bearing: the searches walk the
// lists in order and the solution text lists what they find in that order.
#include <bit>
#include <cassert>

#include "core/castling.h"
#include "core/rules.h"
#include "core/squares.h"
#include "core/tables.h"

namespace kv {
namespace {

// Writes records into a list of MoveListCapacity moves. A move that does not
// fit is dropped and counted, and the scan goes on, so the result codes
// (an attacked king) stay right even when the list is cut.
class MoveWriter {
 public:
  MoveWriter(Position& pos, MoveList& list)
      : pos_(pos), out_(list.moves.data()), limit_(list.moves.data() + MoveListCapacity) {}

  void Add(int from, int to, int capture, int moved, int placed, int captured) {
    if (out_ == limit_) {
      overflow_ = true;
      return;
    }
    *out_++ = Move{static_cast<std::int8_t>(from),    static_cast<std::int8_t>(to),
                   static_cast<std::int8_t>(capture), static_cast<std::int8_t>(moved),
                   static_cast<std::int8_t>(placed),  static_cast<std::int8_t>(captured)};
  }
  void Add(int from, int to, int man, int captured) { Add(from, to, to, man, man, captured); }

  // Queen, rook, bishop, knight, in that order.
  void AddPromotions(bool white, int from, int to, int captured) {
    const int pawn = white ? WhitePawn : BlackPawn;
    constexpr int kPromoted[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight};
    for (int man : kPromoted) Add(from, to, to, pawn, white ? man : 16 - man, captured);
    // A black promotion may bring any line piece or a knight, so the pruning
    // flags of the black attack test must cover them from now on.
    if (!white) pos_.blackForce |= ForceRankFile | ForceDiagonal | ForceKnight;
  }

  // Writes the end mark (the from byte alone) after the moves written.
  void Close() {
    out_->from = 0;
    if (overflow_) ++pos_.listOverflows;
  }

 private:
  Position& pos_;
  Move* out_;
  Move* const limit_;
  bool overflow_ = false;
};

template <std::size_t N>
void SlideWhite(const Board& b, int s, int man, const std::array<int, N>& directions,
                MoveWriter& w) {
  for (int d : directions) {
    int t = s + d;
    for (; b[t] == Empty; t += d) w.Add(s, t, man, Empty);
    if (b[t] > BlackKing) w.Add(s, t, man, b[t]);
  }
}

// Returns true when the slide reaches the white king.
template <std::size_t N>
bool SlideBlack(const Board& b, int s, int man, const std::array<int, N>& directions,
                MoveWriter& w) {
  for (int d : directions) {
    int t = s + d;
    for (; b[t] == Empty; t += d) w.Add(s, t, man, Empty);
    const int target = b[t];
    if (target < OffBoard) {
      if (target == WhiteKing) return true;
      w.Add(s, t, man, target);
    }
  }
  return false;
}

void AddWhiteCastlings(Position& pos, MoveWriter& w) {
  if (WhiteMayCastle(pos, true)) w.Add(sq::E1, sq::C1, WhiteKing, Empty);
  if (WhiteMayCastle(pos, false)) w.Add(sq::E1, sq::G1, WhiteKing, Empty);
}

void AddBlackCastlings(Position& pos, MoveWriter& w) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  if (pos.blackKingSquare != sq::E8 || counters[BlackKingMoves] != 0) return;
  const bool queenSide = b[sq::A8] == BlackRook && counters[A8Moves] == 0;
  const bool kingSide = b[sq::H8] == BlackRook && counters[H8Moves] == 0;
  if (!queenSide && !kingSide) return;
  // A king in check may not castle at all.
  if (AttackedByWhite(pos, sq::E8)) return;
  if (queenSide && b[sq::D8] == Empty && !AttackedByWhite(pos, sq::D8) && b[sq::C8] == Empty &&
      !AttackedByWhite(pos, sq::C8) && b[sq::B8] == Empty) {
    w.Add(sq::E8, sq::C8, BlackKing, Empty);
  }
  if (kingSide && b[sq::F8] == Empty && !AttackedByWhite(pos, sq::F8) && b[sq::G8] == Empty &&
      !AttackedByWhite(pos, sq::G8)) {
    w.Add(sq::E8, sq::G8, BlackKing, Empty);
  }
}

void AddWhitePawnMoves(const Board& b, int s, int lastFrom, int lastTo, MoveWriter& w) {
  const int takeLeft = s + StepUpLeft;
  const int takeRight = s + StepUpRight;
  const int step = s + StepUp;
  if (s <= sq::H7) {  // seventh rank: every move promotes
    if (b[takeLeft] > OffBoard) w.AddPromotions(true, s, takeLeft, b[takeLeft]);
    if (b[takeRight] > OffBoard) w.AddPromotions(true, s, takeRight, b[takeRight]);
    if (b[step] == Empty) w.AddPromotions(true, s, step, Empty);
    return;
  }
  if (b[takeLeft] > OffBoard) w.Add(s, takeLeft, WhitePawn, b[takeLeft]);
  if (b[takeRight] > OffBoard) w.Add(s, takeRight, WhitePawn, b[takeRight]);
  if (b[step] == Empty) {
    w.Add(s, step, WhitePawn, Empty);
    if (s >= sq::A2 && b[step + StepUp] == Empty) {
      w.Add(s, step + StepUp, WhitePawn, Empty);
      return;
    }
  }
  // En passant: only right after a black pawn's double step to the square
  // beside this pawn.
  if (lastTo - lastFrom == 2 * StepDown && (lastTo == s + StepLeft || lastTo == s + StepRight) &&
      b[lastTo] == BlackPawn) {
    w.Add(s, lastTo + StepUp, lastTo, WhitePawn, WhitePawn, BlackPawn);
  }
}

// Returns true when the pawn could take the white king.
bool AddBlackPawnMoves(const Board& b, int s, int lastFrom, int lastTo, MoveWriter& w) {
  const bool promotes = s >= sq::A2;
  for (int t : {s + StepDownRight, s + StepDownLeft}) {
    const int target = b[t];
    if (target < 1 || target > 7) continue;
    if (target == WhiteKing) return true;
    if (promotes) {
      w.AddPromotions(false, s, t, target);
    } else {
      w.Add(s, t, BlackPawn, target);
    }
  }
  const int step = s + StepDown;
  if (b[step] == Empty) {
    if (promotes) {
      w.AddPromotions(false, s, step, Empty);
      return false;
    }
    w.Add(s, step, BlackPawn, Empty);
    if (s <= sq::H7 && b[step + StepDown] == Empty) {
      w.Add(s, step + StepDown, BlackPawn, Empty);
      return false;
    }
  }
  if (lastFrom - lastTo == 2 * StepDown && (lastTo == s + StepLeft || lastTo == s + StepRight) &&
      b[lastTo] == WhitePawn) {
    w.Add(s, lastTo + StepDown, lastTo, BlackPawn, BlackPawn, WhitePawn);
  }
  return false;
}

}  // namespace

bool WhiteMayCastle(const Position& pos, bool queenSide) {
  const Board& b = pos.board;
  const auto& counters = pos.castlingCounters;
  if (pos.whiteKingSquare != sq::E1 || counters[WhiteKingMoves] != 0) return false;
  if (queenSide) {
    return b[sq::A1] == WhiteRook && b[sq::D1] == Empty && b[sq::C1] == Empty &&
           b[sq::B1] == Empty && counters[A1Moves] == 0 && !AttackedByBlack(pos, sq::E1) &&
           !AttackedByBlack(pos, sq::D1) && !AttackedByBlack(pos, sq::C1);
  }
  return b[sq::H1] == WhiteRook && b[sq::F1] == Empty && b[sq::G1] == Empty &&
         counters[H1Moves] == 0 && !AttackedByBlack(pos, sq::E1) && !AttackedByBlack(pos, sq::F1) &&
         !AttackedByBlack(pos, sq::G1);
}

Move* AddPromotions(Position& pos, bool white, int from, int to, int captured, Move* out) {
  const int pawn = white ? WhitePawn : BlackPawn;
  constexpr int kPromoted[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight};
  for (int man : kPromoted) {
    *out++ = Move{static_cast<std::int8_t>(from),
                  static_cast<std::int8_t>(to),
                  static_cast<std::int8_t>(to),
                  static_cast<std::int8_t>(pawn),
                  static_cast<std::int8_t>(white ? man : 16 - man),
                  static_cast<std::int8_t>(captured)};
  }
  if (!white) pos.blackForce |= ForceRankFile | ForceDiagonal | ForceKnight;
  return out;
}

bool BlackMoveFits(Position& pos, const Move& move, int lastFrom, int lastTo, Move& out) {
  const Board& b = pos.board;
  const int from = move.from;
  const int to = move.to;
  if (!IsSquare(from) || !IsSquare(to) || b[from] != move.moved || move.moved < BlackKing)
    return false;
  const int target = b[to];
  if (target != Empty && (target < WhiteRook || target > WhitePawn)) return false;
  const int difference = to - from;
  out = move;
  out.captured = static_cast<std::int8_t>(target);
  if (move.moved == BlackPawn) {
    // A pawn on the second rank only promotes, elsewhere it never does.
    if ((from >= 80) != (move.placed != BlackPawn)) return false;
    if (move.capture != to) {  // en passant, right after White's double step beside it
      out.captured = WhitePawn;
      return lastFrom - lastTo == 20 && lastTo == move.capture && lastTo + 10 == to &&
             (lastTo == from - 1 || lastTo == from + 1) && b[lastTo] == WhitePawn &&
             target == Empty;
    }
    bool fits = false;
    if (difference == 10) fits = target == Empty;
    if (difference == 20) fits = from < 40 && b[from + 10] == Empty && target == Empty;
    if (difference == 9 || difference == 11) fits = target != Empty;
    if (fits && move.placed != BlackPawn)
      pos.blackForce |= ForceRankFile | ForceDiagonal | ForceKnight;
    return fits;
  }
  if (move.capture != to || move.placed != move.moved) return false;
  switch (move.moved) {
    case BlackKing:
      return difference != 0 && LineStep(difference) == difference;
    case BlackKnight:
      return LineKind(difference) == LineKnight;
    case BlackBishop:
    case BlackRook:
    case BlackQueen: {
      const int step = LineStep(difference);
      if (step == 0 || difference % step != 0) return false;
      const int kind = LineKind(step);
      if (move.moved == BlackBishop && kind != LineDiagonal) return false;
      if (move.moved == BlackRook && kind != LineRankFile) return false;
      for (int p = from + step; p != to; p += step)
        if (b[p] != Empty) return false;
      return true;
    }
    default:
      return false;
  }
}

int GenerateWhiteMoves(Position& pos, int lastFrom, int lastTo, MoveList& list) {
  MoveWriter w(pos, list);
  if (IsSquare(pos.blackKingSquare) && AttackedByWhite(pos, pos.blackKingSquare)) {
    w.Close();
    return -1;
  }
  const Board& b = pos.board;
  // White's men in square order from their set, not from a walk of every
  // cell: a board edited without re-deriving the set would lose men here.
  assert(pos.whiteMen == WhiteMenOf(b));
  for (std::uint64_t men = pos.whiteMen; men != 0; men &= men - 1) {
    const int s = BitSquare(std::countr_zero(men));
    const int man = b[s];
    switch (man) {
      case WhiteRook:
        SlideWhite(b, s, man, RookOffsets, w);
        break;
      case WhiteQueen:
        SlideWhite(b, s, man, QueenOffsets, w);
        break;
      case WhiteBishop:
        SlideWhite(b, s, man, BishopOffsets, w);
        break;
      case WhiteKnight:
        for (int o : KnightOffsets) {
          const int target = b[s + o];
          if (target == Empty || target >= BlackKing) w.Add(s, s + o, man, target);
        }
        break;
      case WhitePawn:
        AddWhitePawnMoves(b, s, lastFrom, lastTo, w);
        break;
      case WhiteKing:
        for (int o : QueenOffsets) {
          const int target = b[s + o];
          if (target == Empty || target >= BlackKing) w.Add(s, s + o, man, target);
        }
        if (s == pos.whiteKingSquare) AddWhiteCastlings(pos, w);
        break;
      default:
        break;
    }
  }
  w.Close();
  return 0;
}

int GenerateBlackMoves(Position& pos, int lastFrom, int lastTo, MoveList& list) {
  MoveWriter w(pos, list);
  const Board& b = pos.board;
  // Black's men in square order from their set. The set may name a square
  // a caller has lifted a man off for a while; the switch passes it over.
  assert((BlackMenOf(b) & ~pos.blackMen) == 0);
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1) {
    const int s = BitSquare(std::countr_zero(men));
    const int man = b[s];
    bool kingTaken = false;
    switch (man) {
      case BlackBishop:
        kingTaken = SlideBlack(b, s, man, BishopOffsets, w);
        break;
      case BlackRook:
        kingTaken = SlideBlack(b, s, man, RookOffsets, w);
        break;
      case BlackQueen:
        kingTaken = SlideBlack(b, s, man, QueenOffsets, w);
        break;
      case BlackKnight:
      case BlackKing: {
        const auto& steps = man == BlackKnight ? KnightOffsets : QueenOffsets;
        for (int o : steps) {
          const int target = b[s + o];
          if (target == WhiteKing) {
            kingTaken = true;
            break;
          }
          if (target < OffBoard) w.Add(s, s + o, man, target);
        }
        if (!kingTaken && man == BlackKing && s == pos.blackKingSquare) AddBlackCastlings(pos, w);
        break;
      }
      case BlackPawn:
        kingTaken = AddBlackPawnMoves(b, s, lastFrom, lastTo, w);
        break;
      default:
        break;
    }
    if (kingTaken) {
      // The list is incomplete; the end mark keeps a caller that reads it
      // anyway from reading stale records.
      w.Close();
      return 1;
    }
  }
  w.Close();
  return 0;
}

}  // namespace kv
