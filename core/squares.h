// The squares of the first and last ranks by name, where the castling and
// the home squares of the men are decided. The board is 10 × 12 with a
// border (core/position.h): a8 is 22, h8 29, a1 92, h1 99.
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
