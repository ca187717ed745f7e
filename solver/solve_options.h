// The eighteen solving options (each 0..9), their per-kind sets and the
// test-a-move preset. Values 3..6 and 8..11 are two groups of the same four
// options: group 0 for the actual play, group 5 for tries; code reads
// options[optionGroup + Variations] and so on.
#pragma once

#include <array>

#include "solver/problem_type.h"

namespace kv {

inline constexpr int OptionCount = 18;

// Indices into SolveOptions::values.
inline constexpr int SetPlay = 0;
inline constexpr int TryRefutations = 1;
inline constexpr int ActualPlay = 2;
inline constexpr int Variations = 3;
inline constexpr int Separators = 4;
inline constexpr int DualizedVariations = 5;
inline constexpr int NonDefensiveMoves = 6;
inline constexpr int OptionsKind = 7;
inline constexpr int TriesGroup = 5;  // add to 3..6 for the tries' values 8..11
inline constexpr int ShortNotation = 12;
inline constexpr int AdLib = 13;
inline constexpr int ShowChangedMates = 14;
inline constexpr int ShowTransferredMates = 15;
inline constexpr int BlackMoveStyle = 16;
inline constexpr int CaptureSign = 17;

inline constexpr int TestMovePreset = 5;  // OptionsKind value of the test-a-move preset

// The "Options" default of the configuration file.
inline constexpr std::array<int, OptionCount> DefaultOptions = {1, 1, 1, 1, 1, 1, 0, 0, 1,
                                                                1, 1, 0, 1, 0, 1, 0, 0, 0};

struct SolveOptions {
  std::array<int, OptionCount> values = DefaultOptions;
  // Values 0..11 kept for each kind while another kind is shown.
  std::array<std::array<int, OptionCount>, 4> perKind = {{
      {0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0},
      {1, 0, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0},
      {0, 0, 1, 1, 1, 1, 0, 2, 0, 0, 0, 0},
      {0, 0, 1, 1, 1, 1, 0, 3, 0, 0, 0, 0},
  }};

  int operator[](int index) const { return values[index]; }
  int& operator[](int index) { return values[index]; }
};

}  // namespace kv
