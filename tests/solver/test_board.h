// A board from the piece field of a FEN line, for the solver's tests.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "core/fen.h"
#include "core/position.h"

namespace kv::test {

inline Board BoardFromFen(std::string_view fen) {
  Board board;
  EXPECT_TRUE(ParseFenBoard(fen.substr(0, fen.find(' ')), board, nullptr)) << fen;
  return board;
}

// A square from its name, "e4".
constexpr int Sq(const char* name) {
  return (10 - (name[1] - '0')) * 10 + (name[0] - 'a') + 2;
}

}  // namespace kv::test
