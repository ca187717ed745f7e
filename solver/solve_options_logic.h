// What the solving options do when the problem shown changes, when a single
// move is tested, and on the Ctrl+A toggle; and the decisions of the two
// dialogs that edit the options and the problem type, kept free of widgets so
// that the Qt dialogs and the tests share them.
#pragma once

#include <array>
#include <cstdint>

#include "solver/problem_type.h"
#include "solver/solve_options.h"
#include "strings/dialog_controls.h"

namespace kv {

// Values 0..11 are the per-kind part of the options.
inline constexpr int PerKindCount = 12;

// The preset of "Test a move": only the tries group and the marker 5.
inline constexpr std::array<int, PerKindCount> TestMoveOptions = {0, 0, 0, 0, 0, 0,
                                                                  0, 5, 1, 1, 1, 0};

// Called whenever a problem is shown: parks values 0..11 in the set of the
// kind they belong to and takes those of `kind`. Nothing happens while the
// test-a-move preset is in force or when the kind is already current.
void SwitchOptionsToKind(SolveOptions& options, int kind);

// Values 0..11 as they were before a test of one move.
using SavedPerKindOptions = std::array<int, PerKindCount>;

// Saves values 0..11 and installs the test-a-move preset.
SavedPerKindOptions BeginTestMove(SolveOptions& options);
// Puts values 0..11 back, unless something replaced the preset meanwhile
// (another problem was shown and switched the kind).
void EndTestMove(SolveOptions& options, const SavedPerKindOptions& saved);

// Ctrl+A (command 146): toggles the actual play and makes the tries follow it.
void ToggleActualPlay(SolveOptions& options);

// The ids of the solving-options dialog's controls, which its decisions
// below are asked by, are named in strings/dialog_controls.h
// (options_control). A check box of the search and of the group shown is
// 140 + the option's index (SetPlay .. NonDefensiveMoves; the last four
// apply to the group shown); a check box of the notation is 152 + its index
// from ShortNotation.
namespace options_control {
constexpr int SearchBox(Option option) {
  return FirstSearchBox + IndexOf(option);
}
constexpr int NotationBox(Option option) {
  return ShortNotationBox + IndexOf(option) - IndexOf(Option::ShortNotation);
}
static_assert(SetPlayBox == SearchBox(Option::SetPlay));
static_assert(TriesBox == SearchBox(Option::TryRefutations));
static_assert(ActualPlayBox == SearchBox(Option::ActualPlay));
static_assert(VariationsBox == SearchBox(Option::Variations));
static_assert(SeparatorsBox == SearchBox(Option::Separators));
static_assert(DualizedVariationsBox == SearchBox(Option::DualizedVariations));
static_assert(NonDefensiveMovesBox == SearchBox(Option::NonDefensiveMoves));
static_assert(AdLibBox == NotationBox(Option::AdLib));
static_assert(ShowChangedMatesBox == NotationBox(Option::ShowChangedMates));
static_assert(ShowTransferredMatesBox == NotationBox(Option::ShowTransferredMates));
}  // namespace options_control

// The solving-options dialog without its widgets, its controls known by
// their ids (options_control).
struct OptionsDialog {
  SolveOptions saved;    // the whole array as it was on opening
  SolveOptions working;  // what the controls show
  int kind = KindDirect;
  OptionGroup group = OptionGroup::Play;  // the group the dialog shows
  int notationChanged = 0;
  int searchChanged = 0;
};

OptionsDialog OpenOptionsDialog(const SolveOptions& options, int kind, OptionGroup lastGroup);
// A click on a button of the dialog.
void OptionsDialogCommand(OptionsDialog& dialog, int control);
// A number typed into the try edit while it has the focus.
void OptionsDialogEditTries(OptionsDialog& dialog, int number);
// Whether the check box with this id is ticked / the control is enabled /
// shown.
bool OptionsDialogChecked(const OptionsDialog& dialog, int control);
bool OptionsDialogEnabled(const OptionsDialog& dialog, int control);
bool OptionsDialogVisible(const OptionsDialog& dialog, int control);
// OK: stores the working values into the options and the kind's set.
void OptionsDialogOk(OptionsDialog& dialog, SolveOptions& options);
// Cancel: the options stay as they were; both change counters are cleared.
void OptionsDialogCancel(OptionsDialog& dialog, SolveOptions& options);
// After the dialog: whether the main window should refresh the solution text
// (command 121) to show the new notation.
bool RefreshAfterOptions(const OptionsDialog& dialog, bool solutionStale);

// The problem-type dialog without its widgets. mode: 0 the current problem,
// 1 the search criterion (kind 0 = any kind, real kinds one higher), 2 a twin
// entry.
struct TypeDialog {
  int mode = 0;
  int moves = 2;
  int kindIndex = 0;  // 0..3; -1 none selected (mode 1 only)
  std::uint8_t flags = 0;
};

TypeDialog OpenTypeDialog(const ProblemType& type, int mode);
// "&White Begin" is shown for helpmates and while no kind is selected.
bool TypeDialogWhiteBeginsVisible(const TypeDialog& dialog);
// OK: the type the dialog stores (moves, kind, flags; the other bytes kept).
ProblemType TypeDialogOk(const TypeDialog& dialog, const ProblemType& original);
// Button 3 in mode 1: clears the criterion.
void TypeDialogInitialise(TypeDialog& dialog);

}  // namespace kv
