// Position validation: derives the state the rules need from the board and
// judges whether the position can be solved.
#pragma once

#include <string>

#include "core/position.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

// Derives from the board alone: the king squares (with several kings of a
// colour the last one from a8 to h1 stays; 0 when there is none), the six
// castling counters (a king and a rook on their home squares may castle,
// whatever the problem's history: 0 allows, otherwise the king counter is 1
// and a corner counter 15) and BlackForce. Also restores OffBoard in every
// cell that is not a square, so that no scan can run off the array whatever
// was loaded into it.
void DerivePositionState(Position& pos);

// Findings of the validation. 1..7 and 17 make a position invalid (the
// solve stops), 8..16 dubious (it is solved after the message).
inline constexpr int FindingNone = 0;
inline constexpr int FindingNoWhiteKing = 1;
inline constexpr int FindingNoBlackKing = 2;
inline constexpr int FindingWhiteKings = 3;
inline constexpr int FindingBlackKings = 4;
inline constexpr int FindingPawnsOnPromotionRanks = 5;
inline constexpr int FindingBlackKingInCheck = 6;
inline constexpr int FindingTooComplex = 7;
inline constexpr int FindingWhiteMen = 8;
inline constexpr int FindingBlackMen = 9;
inline constexpr int FindingWhitePawns = 10;
inline constexpr int FindingBlackPawns = 11;
inline constexpr int FindingPromotedMen = 12;
inline constexpr int FindingWhiteLightBishops = 13;
inline constexpr int FindingBlackLightBishops = 14;
inline constexpr int FindingWhiteDarkBishops = 15;
inline constexpr int FindingBlackDarkBishops = 16;
// The white king attacked in a problem in which Black moves first: Black
// could take it. Numbered after the others, which stored texts and callers
// know by their numbers.
inline constexpr int FindingWhiteKingInCheck = 17;
// A series problem whose side that does not move stands in check: the side
// of the series would take its king at once.
inline constexpr int FindingSeriesOtherSideInCheck = 18;

// True for the findings that stop the solve.
constexpr bool IsInvalidFinding(int code) {
  return (code >= FindingNoWhiteKing && code <= FindingTooComplex) ||
         code == FindingWhiteKingInCheck || code == FindingSeriesOtherSideInCheck;
}

// Either side with more pseudo-legal moves than this is refused.
inline constexpr int MaxValidatedMoves = 150;

// The one finding reported and the number its message shows (0: none).
struct PositionFinding {
  int code = FindingNone;
  int number = 0;
};

// What the validation reads besides the position.
struct ValidationContext {
  int tryRefutations = 0;        // SolveOptions: tries wanted
  int actualPlay = 0;            // SolveOptions: actual play wanted
  bool blackMovesFirst = false;  // the problem is a helpmate in which Black begins
  // A series play: Black plays the series when blackMovesFirst, else White;
  // the other side may not stand in check, whatever is asked for.
  bool series = false;
  bool messageDisplay = true;  // off while a batch operation runs
  const UiCallbacks* ui = nullptr;
  const Language* language = nullptr;  // the caption's language (English when null)
};

// Derives the state (DerivePositionState) and judges the position without
// showing anything: the last failing test in the fixed order wins. An empty
// board gives FindingNoWhiteKing. The white king in check is a finding only
// when Black moves first (with White to move it is a check to answer), the
// black king in check only when White does (Black answers it). In a
// series play the king in check of the side that does not move is
// FindingSeriesOtherSideInCheck instead.
PositionFinding JudgePosition(Position& pos, bool blackMovesFirst = false, bool series = false);

// The text of a finding (Windows-1252), with its number; empty for
// FindingNone. French for all but the white king in check and the series
// play's other side in check, which speak `language` (English when null).
std::string FindingText(const PositionFinding& finding, const Language* language = nullptr);

// Judges the position, shows the finding in a message box (unless message
// display is off, or the board is empty) and returns 0 when the solve may go
// on (no finding, a dubious one, or the black king in check while only set
// play is wanted), else the invalid finding (1..7 or 17).
int ValidatePosition(Position& pos, const ValidationContext& context);

}  // namespace kv
