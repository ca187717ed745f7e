// The squares that the rules name, and the steps between neighbouring
// squares. The board is 10 × 12 with a border (core/position.h): a8 is 22,
// h8 29, a1 92, h1 99; a rank is ten cells, rank 8 at the top.
#pragma once

#include "core/position.h"

namespace kv::sq {

inline constexpr SquareIndex A8 = 22;
inline constexpr SquareIndex B8 = 23;
inline constexpr SquareIndex C8 = 24;
inline constexpr SquareIndex D8 = 25;
inline constexpr SquareIndex E8 = 26;
inline constexpr SquareIndex F8 = 27;
inline constexpr SquareIndex G8 = 28;
inline constexpr SquareIndex H8 = 29;
// The seventh and second ranks, where the pawns promote next or start.
inline constexpr SquareIndex A7 = 32;
inline constexpr SquareIndex H7 = 39;
inline constexpr SquareIndex A2 = 82;
inline constexpr SquareIndex H2 = 89;

inline constexpr SquareIndex A1 = 92;
inline constexpr SquareIndex B1 = 93;
inline constexpr SquareIndex C1 = 94;
inline constexpr SquareIndex D1 = 95;
inline constexpr SquareIndex E1 = 96;
inline constexpr SquareIndex F1 = 97;
inline constexpr SquareIndex G1 = 98;
inline constexpr SquareIndex H1 = 99;

static_assert(A8 == FirstSquare && H1 == LastSquare);

}  // namespace kv::sq

namespace kv {

// Steps to a neighbouring square: up is toward rank 8, the way White's
// pawns move; left is toward the a-file.
inline constexpr int StepUp = -10;
inline constexpr int StepDown = 10;
inline constexpr int StepLeft = -1;
inline constexpr int StepRight = 1;
inline constexpr int StepUpLeft = StepUp + StepLeft;
inline constexpr int StepUpRight = StepUp + StepRight;
inline constexpr int StepDownLeft = StepDown + StepLeft;
inline constexpr int StepDownRight = StepDown + StepRight;

}  // namespace kv
