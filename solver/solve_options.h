// The eighteen solving options (each 0..9), their per-kind sets and the
// test-a-move preset. Values 3..6 and 8..11 are two groups of the same four
// options, one for the actual play and one for the tries; code reads
// options.Of(group, Option::Variations) and so on.
#pragma once

#include <array>

#include "solver/problem_type.h"

namespace kv {

inline constexpr int OptionCount = 18;

// The options by their index in SolveOptions::values, which is also their
// place in the stored digit strings (the ini file, the .kvl files, the
// command line's option digits).
enum class Option : int {
  SetPlay = 0,
  TryRefutations = 1,  // the number of refutations a try may have; 0 no tries
  ActualPlay = 2,
  // The four options of a group (OptionGroup): these indices are the actual
  // play's, the tries' are the same four at 8..11. Read them with Of.
  Variations = 3,
  Separators = 4,
  DualizedVariations = 5,
  NonDefensiveMoves = 6,
  Kind = 7,  // the problem kind the values 0..11 belong to, or TestMovePreset
  ShortNotation = 12,
  AdLib = 13,
  ShowChangedMates = 14,
  ShowTransferredMates = 15,
  BlackMoveStyle = 16,
  CaptureSign = 17,
};

constexpr int IndexOf(Option option) {
  return static_cast<int>(option);
}

// The two groups of the variation options: what the actual play (and the
// set play) writes, and what the tries write.
enum class OptionGroup : int { Play, Tries };

// The index of a group's option (Variations .. NonDefensiveMoves).
constexpr int IndexOf(OptionGroup group, Option option) {
  constexpr int triesOffset = 5;  // values 3..6 → 8..11
  return IndexOf(option) + (group == OptionGroup::Tries ? triesOffset : 0);
}

inline constexpr int TestMovePreset = 5;  // Option::Kind value of the test-a-move preset

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

  int operator[](Option option) const { return values[IndexOf(option)]; }
  int& operator[](Option option) { return values[IndexOf(option)]; }
  // An option of a group: Of(OptionGroup::Tries, Option::Variations).
  int Of(OptionGroup group, Option option) const { return values[IndexOf(group, option)]; }
  int& Of(OptionGroup group, Option option) { return values[IndexOf(group, option)]; }
};

}  // namespace kv
