// The fast test whether one white move mates, and the scan of White's
// checking candidates that answers "does White mate at once".
//
// TestMateMove counts the checks a move gives from the moved man's geometry
// alone, then looks for a black defence against a single check, then for a
// king escape. A mate is finally checked for leaving the white king attacked.
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

#include "core/attacks.h"
#include "core/castling.h"
#include "core/mate_detail.h"
#include "core/rules.h"
#include "core/squares.h"
#include "core/tables.h"

namespace kv {
namespace {

struct Checks {
  int count = 0;    // n: checks given (0, 1 or 2)
  int mask = 0;     // king neighbours hidden behind the king on a check line
  int checker = 0;  // c: square of the (last) checking man
  int step = 0;     // d: check step, or the raw difference for a knight or pawn
};

bool LineChecker(int man, int step) {
  if (LineKind(step) == LineDiagonal) return man == WhiteQueen || man == WhiteBishop;
  return man == WhiteRook || man == WhiteQueen;
}

// A line check along `step` by the man on `square`. The square behind the
// king stays attacked through the king, which the escape test cannot see
// while the king still stands on its square; the square between is masked
// too unless the checker stands on it (the king may take it there).
void AddLineCheck(Checks& checks, int bk, int square, int step, bool bothNeighbours) {
  checks.checker = square;
  checks.step = step;
  ++checks.count;
  checks.mask |= KingNeighbourBit(-step);
  if (bothNeighbours || square != bk + step) checks.mask |= KingNeighbourBit(step);
}

// A direct check along a line: the first man from the king along the step
// towards `to` stands on `to`.
void DirectLineCheck(const Board& b, Checks& checks, int bk, int to, int wantedKind) {
  const int step = LineStep(to - bk);
  if (step == 0) return;
  if (wantedKind != 0 && LineKind(step) != wantedKind) return;
  if (FirstMan(b, bk, step) == to) AddLineCheck(checks, bk, to, step, false);
}

// A line piece uncovered on the line from the king through `vacated`, of the
// kind `onlyKind` (0: either kind).
void DiscoveredCheck(const Board& b, Checks& checks, int bk, int vacated, int onlyKind) {
  const int step = LineStep(vacated - bk);
  if (step == 0 || step == checks.step) return;
  if (onlyKind != 0 && LineKind(step) != onlyKind) return;
  const int q = FirstMan(b, bk, step);
  if (LineChecker(b[q], step)) AddLineCheck(checks, bk, q, step, true);
}

// After a double step that checks, Black may take the pawn en passant; that
// parries the test only when the capture really leaves the black king
// unattacked (the capturing pawn may be pinned, and the check may have been
// given by another man).
bool EnPassantParries(Position& pos, const Move& move, int bk) {
  for (int s : {move.to - 1, move.to + 1}) {
    if (pos.board[s] != BlackPawn) continue;
    const Move capture{static_cast<std::int8_t>(s),
                       static_cast<std::int8_t>(move.to + 10),
                       move.to,
                       BlackPawn,
                       BlackPawn,
                       WhitePawn};
    MakeMove(pos, capture);
    const bool safe = AttackedByWhiteMen(pos, bk) == 0;
    UnmakeMove(pos, capture);
    if (safe) return true;
  }
  return false;
}

Checks CountChecks(Position& pos, const Move& move, int bk, bool promotionLinesBothKinds,
                   bool& parriedEnPassant) {
  const Board& b = pos.board;
  Checks checks;
  checks.checker = move.to;
  checks.step = move.to - bk;
  const bool promotion = move.placed != move.moved;
  switch (move.placed) {
    case WhiteRook:
      DirectLineCheck(b, checks, bk, move.to, LineRankFile);
      // A rook uncovers only diagonals, but a pawn promoting to a rook may
      // also have stood on a rank or file line.
      DiscoveredCheck(b, checks, bk, move.from,
                      promotion && promotionLinesBothKinds ? 0 : LineDiagonal);
      break;
    case WhiteBishop:
      DirectLineCheck(b, checks, bk, move.to, LineDiagonal);
      DiscoveredCheck(b, checks, bk, move.from,
                      promotion && promotionLinesBothKinds ? 0 : LineRankFile);
      break;
    case WhiteQueen:
      DirectLineCheck(b, checks, bk, move.to, 0);
      // A queen that was first on a line from the king would already check,
      // so only a promoting pawn can uncover a line.
      if (promotion && LineStep(move.from - bk) != LineStep(move.to - bk)) {
        DiscoveredCheck(b, checks, bk, move.from, 0);
      }
      break;
    case WhiteKnight:
      if (LineKind(move.to - bk) == LineKnight) {
        checks.checker = move.to;
        ++checks.count;
      }
      DiscoveredCheck(b, checks, bk, move.from, 0);
      break;
    case WhitePawn: {
      const int difference = move.to - bk;
      if (difference == 9 || difference == 11) {
        checks.checker = move.to;
        ++checks.count;
      }
      if (move.from - move.to == 20 && EnPassantParries(pos, move, bk)) {
        parriedEnPassant = true;
        return checks;
      }
      if (checks.count == 0 && move.capture != move.to) {
        // The pawn taken en passant may have screened a line.
        const int step = LineStep(move.capture - bk);
        if (step != 0) {
          const int q = FirstMan(b, bk, step);
          if (LineChecker(b[q], step)) AddLineCheck(checks, bk, q, step, false);
        }
      }
      DiscoveredCheck(b, checks, bk, move.from, 0);
      break;
    }
    case WhiteKing:
      if (move.from == sq::E1 && (move.to == sq::G1 || move.to == sq::C1)) {
        const int rook = move.to == sq::G1 ? sq::F1 : sq::D1;
        const int step = LineStep(rook - bk);
        if (LineKind(step) == LineRankFile && FirstMan(b, bk, step) == rook) {
          AddLineCheck(checks, bk, rook, step, true);
        }
      } else {
        DiscoveredCheck(b, checks, bk, move.from, 0);
      }
      break;
    default:
      break;
  }
  return checks;
}

// A black man (not pinned to its king) that can take the single checker or
// step into the check line; or the lifted man's square on the line. The
// line's squares are listed first (the checker, then towards the king); the
// pawns are looked up beside them and every other black man is asked once
// whether it reaches one of them, which visits Black's few men instead of
// walking eight lines from every square of the line.
bool BlackDefends(const Position& pos, const Checks& checks, int bk) {
  const Board& b = pos.board;
  auto free = [&pos](int square) { return ScreenTest(pos, square) == 1; };
  const int c = checks.checker;
  const int d = checks.step;
  if (b[c - 11] == BlackPawn && free(c - 11)) return true;
  if (b[c - 9] == BlackPawn && free(c - 9)) return true;
  std::array<int, 8> line{};
  int length = 0;
  for (int q = c; length < 8; q -= d) {
    if (q == pos.parrySquare) return true;
    line[length++] = q;
    if (q - d == bk || !IsSquare(q - d)) break;
  }
  for (int i = 1; i < length; ++i) {
    const int q = line[i];
    if (b[q - 10] == BlackPawn && free(q - 10)) return true;
    if (q < 60 && b[q - 10] == Empty && b[q - 20] == BlackPawn && free(q - 20)) return true;
  }
  for (std::uint64_t men = pos.blackMen; men != 0; men &= men - 1) {
    const int p = BitSquare(std::countr_zero(men));
    if (b[p] < BlackKnight) continue;  // the king, a pawn, or a lifted man's empty square
    for (int i = 0; i < length; ++i) {
      if (ManAttacks(b, p, line[i], BlackCodes)) {
        if (free(p)) return true;
        break;
      }
    }
  }
  return false;
}

bool KingEscapes(const Position& pos, int mask, int bk) {
  const Board& b = pos.board;
  for (int o : {-11, -10, -9, -1, 1, 9, 10, 11}) {
    const int e = bk + o;
    if (b[e] < OffBoard && (mask & KingNeighbourBit(o)) == 0 && AttackedByWhiteMen(pos, e) == 0) {
      return true;
    }
  }
  return false;
}

// False when `move` cannot give check whatever stands between: the man it
// places does not reach the king's square from `to` even on an open board,
// and it neither leaves a line with the king nor takes en passant nor
// castles. Most of White's moves are of this kind, and the test spares them
// playing the move.
bool MayCheck(const Move& move, int bk) {
  if (LineStep(move.from - bk) != 0 || move.capture != move.to) return true;
  if (move.moved == WhiteKing && (move.to - move.from == 2 || move.from - move.to == 2))
    return true;
  const int d = bk - move.to;
  if (d < -MaxLineDifference || d > MaxLineDifference) return false;
  return ((AttackTable[MaxLineDifference + d].men >> move.placed) & 1u) != 0;
}

}  // namespace

namespace detail {

int TestMateMove(Position& pos, bool promotionLinesBothKinds) {
  const int bk = pos.blackKingSquare;
  if (!IsSquare(bk)) return 0;
  assert(pos.whiteMen == WhiteMenOf(pos.board));
  const Move move = pos.probeMove;
  if (!MayCheck(move, bk)) return 0;
  MakeMove(pos, move);
  bool parriedEnPassant = false;
  const Checks checks = CountChecks(pos, move, bk, promotionLinesBothKinds, parriedEnPassant);
  int result = checks.count;
  if (parriedEnPassant || checks.count == 0) {
    // result stays the number of checks found
  } else if (KingEscapes(pos, checks.mask, bk)) {
    // an escape: not mate (looked for first: it is the cheaper test and
    // the more frequent answer)
  } else if (checks.count == 1 && pos.blackForce != 0 && BlackDefends(pos, checks, bk)) {
    // a defence: not mate
  } else if (IsSquare(pos.whiteKingSquare) && AttackedByBlackMen(pos, pos.whiteKingSquare)) {
    result = 0;  // the mating move was illegal
  } else {
    pos.lastMate = move;
    result = 100;
  }
  UnmakeMove(pos, move);
  return result;
}

}  // namespace detail

int TestMateMove(Position& pos) {
  return detail::TestMateMove(pos, true);
}

namespace {

// The candidate scan: only moves able to give check are handed to
// TestMateMove.
class MateScan {
 public:
  MateScan(Position& pos, int lastFrom, int lastTo)
      : pos_(pos), b_(pos.board), bk_(pos.blackKingSquare), lastFrom_(lastFrom), lastTo_(lastTo) {}

  bool Man(int s) {
    switch (b_[s]) {
      case WhiteRook: {
        const bool discoverer = Discoverer(s);
        // A rook off the king's rank and file checks only from where its
        // own rank or file crosses them.
        if (!discoverer && s / 10 != bk_ / 10 && s % 10 != bk_ % 10) return RookCrossings(s);
        return Slide(s, RookOffsets, discoverer, LineRankFile);
      }
      case WhiteBishop: {
        const bool discoverer = Discoverer(s);
        // A bishop on the other colour than the king can only uncover.
        if (!discoverer && SquareColour[s] != SquareColour[bk_]) return false;
        if (!discoverer && !SameDiagonal(s, bk_)) return BishopCrossings(s);
        return Slide(s, BishopOffsets, discoverer, LineDiagonal);
      }
      case WhiteQueen:
        return Slide(s, QueenOffsets, false, 0);
      case WhiteKnight:
        return Knight(s);
      case WhitePawn:
        return Pawn(s);
      case WhiteKing:
        return King(s);
      default:
        return false;
    }
  }

 private:
  bool Try(int from, int to, int capture, int moved, int placed, int captured) {
    pos_.probeMove = Move{static_cast<std::int8_t>(from),    static_cast<std::int8_t>(to),
                          static_cast<std::int8_t>(capture), static_cast<std::int8_t>(moved),
                          static_cast<std::int8_t>(placed),  static_cast<std::int8_t>(captured)};
    return TestMateMove(pos_) == 100;
  }
  bool Try(int from, int to, int man) { return Try(from, to, to, man, man, b_[to]); }

  // The man on s is the first from the king on a line, and a white man
  // behind it would check along that line once it moves away.
  bool Discoverer(int s) const {
    const int step = LineStep(s - bk_);
    if (step == 0 || FirstMan(b_, bk_, step) != s) return false;
    return LineChecker(b_[FirstMan(b_, s, step)], step);
  }

  // Whether a line piece moved from `s` to `t` checks along a line of `kind`
  // (0: either kind): `t` lies on such a line with the king and every cell
  // between them is empty once `s` is. A move that fails this and uncovers
  // nothing gives no check, so it is not played at all.
  bool ChecksFrom(int s, int t, int kind) const {
    const int step = LineStep(t - bk_);
    if (kind == 0 ? step == 0 : LineKind(step) != kind) return false;
    int p = bk_ + step;
    while (p != t && (b_[p] == Empty || p == s)) p += step;
    return p == t;
  }

  // kind: the line kind a move must reach to check directly (0: any line
  // with the king).
  template <std::size_t N>
  bool Slide(int s, const std::array<int, N>& directions, bool discoverer, int kind) {
    const int man = b_[s];
    for (int d : directions) {
      int t = s + d;
      for (; b_[t] == Empty; t += d) {
        if ((discoverer || ChecksFrom(s, t, kind)) && Try(s, t, man)) return true;
      }
      // A capture gives check the same ways as a quiet move.
      if (b_[t] > BlackKing && (discoverer || ChecksFrom(s, t, kind)) && Try(s, t, man))
        return true;
    }
    return false;
  }

  // The square of a row and column, 0 off the board.
  static int Cell(int row, int column) {
    return row >= 2 && row <= 9 && column >= 2 && column <= 9 ? row * 10 + column : 0;
  }

  static bool SameDiagonal(int a, int b) {
    const int rows = a / 10 - b / 10;
    const int columns = a % 10 - b % 10;
    return rows == columns || rows == -columns;
  }

  // The move of the line piece on `s` to `t` along `step`, when every cell
  // between is empty, `t` is empty or holds a black man other than the king
  // and the line from `t` to the king is clear: played through Try.
  bool TryCrossing(int s, int t, int step, int kind) {
    if (!IsSquare(t)) return false;
    for (int p = s + step; p != t; p += step)
      if (b_[p] != Empty) return false;
    if (b_[t] != Empty && b_[t] <= BlackKing) return false;
    return ChecksFrom(s, t, kind) && Try(s, t, b_[s]);
  }

  // A rook neither on the king's rank nor file nor uncovering a line: its
  // only checking moves end where its rank meets the king's file and its
  // file the king's rank. Taken in the order of the rook's directions.
  bool RookCrossings(int s) {
    const int alongRank = (s / 10) * 10 + bk_ % 10;
    const int alongFile = (bk_ / 10) * 10 + s % 10;
    const int rankStep = alongRank < s ? -1 : 1;
    const int fileStep = alongFile < s ? -10 : 10;
    for (int d : RookOffsets) {
      if (d == rankStep && TryCrossing(s, alongRank, d, LineRankFile)) return true;
      if (d == fileStep && TryCrossing(s, alongFile, d, LineRankFile)) return true;
    }
    return false;
  }

  // A bishop of the king's colour off the king's diagonals and uncovering
  // nothing: its only checking moves end where one of its diagonals meets
  // the other diagonal through the king. Taken in the order of its directions.
  bool BishopCrossings(int s) {
    const int r = s / 10, c = s % 10, kr = bk_ / 10, kc = bk_ % 10;
    // On the bishop's falling diagonal (row - column fixed) and the king's
    // rising one (row + column fixed), and the other way round; the same
    // colour makes both sums even.
    const int falling = Cell((r - c + kr + kc) / 2, (kr + kc - r + c) / 2);
    const int rising = Cell((r + c + kr - kc) / 2, (r + c - kr + kc) / 2);
    const int fallingStep = falling < s ? -11 : 11;  // no square: never tried
    const int risingStep = rising < s ? -9 : 9;
    for (int d : BishopOffsets) {
      if (d == fallingStep && TryCrossing(s, falling, d, LineDiagonal)) return true;
      if (d == risingStep && TryCrossing(s, rising, d, LineDiagonal)) return true;
    }
    return false;
  }

  bool Knight(int s) {
    const bool discoverer = Discoverer(s);
    if (!discoverer && SquareColour[s] != SquareColour[bk_]) return false;
    for (int o : KnightOffsets) {
      const int t = s + o;
      if (b_[t] != Empty && b_[t] < BlackKing) continue;  // own man or border
      if ((discoverer || LineKind(t - bk_) == LineKnight) && Try(s, t, WhiteKnight)) return true;
    }
    return false;
  }

  bool King(int s) {
    if (Discoverer(s)) {
      for (int o : QueenOffsets) {
        const int t = s + o;
        if ((b_[t] == Empty || b_[t] >= BlackKing) && Try(s, t, WhiteKing)) return true;
      }
    }
    if (s != pos_.whiteKingSquare) return false;
    if (WhiteMayCastle(pos_, true) && Try(sq::E1, sq::C1, WhiteKing)) return true;
    return WhiteMayCastle(pos_, false) && Try(sq::E1, sq::G1, WhiteKing);
  }

  // Knight, then queen: a rook or bishop promotion mates only where the
  // queen does too.
  bool Promotions(int s, int t) {
    const int captured = b_[t];
    return Try(s, t, t, WhitePawn, WhiteKnight, captured) ||
           Try(s, t, t, WhitePawn, WhiteQueen, captured);
  }

  bool Pawn(int s) {
    if (s <= 39) {
      if (b_[s - 11] > OffBoard && Promotions(s, s - 11)) return true;
      if (b_[s - 9] > OffBoard && Promotions(s, s - 9)) return true;
      return b_[s - 10] == Empty && Promotions(s, s - 10);
    }
    // Below the seventh rank a pawn checks from where it attacks the king,
    // or by uncovering a line.
    const bool discoverer = Discoverer(s);
    auto checks = [&](int t) { return discoverer || t - bk_ == 9 || t - bk_ == 11; };
    if (b_[s - 11] > OffBoard && checks(s - 11) && Try(s, s - 11, WhitePawn)) return true;
    if (b_[s - 9] > OffBoard && checks(s - 9) && Try(s, s - 9, WhitePawn)) return true;
    if (b_[s - 10] == Empty) {
      if (checks(s - 10) && Try(s, s - 10, WhitePawn)) return true;
      if (s >= 82 && b_[s - 20] == Empty && checks(s - 20)) return Try(s, s - 20, WhitePawn);
    }
    if (lastTo_ - lastFrom_ == 20 && (lastTo_ == s - 1 || lastTo_ == s + 1) &&
        b_[lastTo_] == BlackPawn) {
      return Try(s, lastTo_ - 10, lastTo_, WhitePawn, WhitePawn, BlackPawn);
    }
    return false;
  }

  Position& pos_;
  const Board& b_;
  const int bk_;
  const int lastFrom_;
  const int lastTo_;
};

}  // namespace

int FindMateInOne(Position& pos, int lastFrom, int lastTo) {
  const int bk = pos.blackKingSquare;
  if (!IsSquare(bk)) return 0;
  assert(pos.whiteMen == WhiteMenOf(pos.board));
  if (AttackedByWhiteMen(pos, bk)) return -1;
  MateScan scan(pos, lastFrom, lastTo);
  // White's men in square order from the last mating man's square round to
  // the one before it: the same man often mates again.
  const std::uint64_t men = pos.whiteMen;
  const std::uint64_t fromStart =
      IsSquare(pos.lastMate.from) ? ~(SquareBit[pos.lastMate.from] - 1) : ~std::uint64_t{0};
  for (std::uint64_t part : {men & fromStart, men & ~fromStart}) {
    for (; part != 0; part &= part - 1) {
      if (scan.Man(BitSquare(std::countr_zero(part)))) return 1;
    }
  }
  return 0;
}

}  // namespace kv
