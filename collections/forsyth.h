// Text forms of the position: Forsyth notation, which the user reads, types
// and copies and which PGN and EPD carry, and the diagram text, ten lines of
// ten characters of the chess diagram font. Both walk the 64 squares a8 .. h8,
// a7 .. h7, ..., a1 .. h1.
#pragma once

#include <string>
#include <string_view>

#include "core/position.h"

namespace kv {

// Forsyth letters by PieceCode, English in every interface language.
inline constexpr std::string_view ForsythLetters = " RQBNPK   kpnbqr";
// Diagram font letters by PieceCode (light square; dark squares upper case).
inline constexpr std::string_view DiagramLetters = " rqbnpk   lomvwt";

inline constexpr int DiagramSide = 10;
inline constexpr int DiagramTextLength = DiagramSide * DiagramSide;
inline constexpr int MaxBorderStyle = 4;
// The longest Forsyth text: 64 letters and 7 slashes.
inline constexpr int MaxForsythLength = 71;

// Rank by rank from 8, empty squares as a count 1..8. With `slashes` a "/"
// closes every rank but the last; without, trailing empty squares are left
// out once the text is longer than 8 characters (an empty board stays
// "88888888").
std::string BoardToForsyth(const Board& board, bool slashes);

// Fills the 64 squares from a Forsyth text: "/" is skipped without
// realigning, a digit 1..8 is that many empty squares, a letter of the table
// its man, anything else one empty square. Reading stops after 64 squares
// (so the other fields of a FEN line are ignored); squares not reached are
// emptied. Never fails.
void ForsythToBoard(std::string_view text, Board& board);

// The 100 characters of the diagram text (Windows-1252 bytes), rows of ten
// for board cells 11 .. 110: border, eight squares, border. Border style 0
// is blank; 1 .. 4 draw a frame, 3 and 4 with coordinates; odd and even
// styles use the two frame sets of the font. A style outside 0 .. 4 counts as 0.
std::string BoardToDiagramText(const Board& board, int borderStyle);

}  // namespace kv
