// The rules operations on the one Position: generation, playing and taking
// back moves, attack tests, the pin test and the mate tests. None of them
// allocates; results are small codes as documented on each.
#pragma once

#include "core/position.h"

namespace kv {

// Sets all 121 cells to OffBoard, then the 64 squares to Empty.
void ClearBoard(Board& board);

// White's pseudo-legal moves into `list`, ended by a record with from == 0.
// lastFrom/lastTo: the previous (black) move, for en passant; 0, 0 for none.
// Returns -1 (and writes only the end mark) when the black king is attacked,
// i.e. Black's last move was illegal; else 0.
int GenerateWhiteMoves(Position& pos, int lastFrom, int lastTo, MoveList& list);

// Black's pseudo-legal moves. Returns 1 the moment a black man could take the
// white king (White's last move was illegal); the list then holds the moves
// written so far and an end mark. Else 0.
int GenerateBlackMoves(Position& pos, int lastFrom, int lastTo, MoveList& list);

// Whether Black's `move`, taken from another position (a killer), is one of
// the moves GenerateBlackMoves would write here after White's move
// lastFrom-lastTo; castling is never. When it is, `out` is the move as the
// generator writes it (the man it takes now) and a promotion widens
// BlackForce as the generator does. Legality is not tested.
bool BlackMoveFits(Position& pos, const Move& move, int lastFrom, int lastTo, Move& out);

// Writes the four promotions of a pawn from `from` to `to` (queen, rook,
// bishop, knight) at `out` and returns the position past them; the caller
// supplies room for four records. A black promotion adds the rook, bishop and
// knight flags to BlackForce, since the new man may be any of them.
Move* AddPromotions(Position& pos, bool white, int from, int to, int captured, Move* out);

// A generator that meets a full list (MoveListCapacity moves) drops the
// moves beyond it, still writes the end mark, still reports an attacked king,
// and counts the event in pos.listOverflows.

// Plays a move in place; UnmakeMove takes the same record back. The pair
// restores every cell, both king squares and all six counters.
void MakeMove(Position& pos, const Move& move);
void UnmakeMove(Position& pos, const Move& move);

// 100 when a white man attacks `square`, else 0 (also for a cell outside
// a8..h1, such as the king square 0 of a missing king).
int AttackedByWhite(const Position& pos, int square);
// 50 (the character '2', the check mark) when a black man attacks `square`, else 0.
int AttackedByBlack(const Position& pos, int square);

// 0 when the black man on `square` is pinned to the black king by a white
// line piece, else 1.
int ScreenTest(const Position& pos, int square);

// Examines pos.probeMove: 100 when it is legal and mates; 0 when it gives no
// check (or would mate but leaves the white king attacked); else the number
// of checks it gives (1 or 2). Board unchanged; a mate is copied to lastMate.
// A check line through pos.parrySquare counts as parried. A pawn promoting
// to a rook or bishop may uncover a check along either kind of line, and
// both are counted. After a checking double step, taking en passant counts
// as a defence only when it really leaves the black king unattacked. A
// checking move that does not mate is not checked for legality.
int TestMateMove(Position& pos);

// -1 when the black king is attacked (Black's last move illegal); 1 as soon
// as a white move mates (the scan starts at lastMate's from square and hands
// only moves able to give check to TestMateMove); else 0, also when there is
// no black king.
int FindMateInOne(Position& pos, int lastFrom, int lastTo);

}  // namespace kv
