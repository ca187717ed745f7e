#include "solver/solve_options_logic.h"

namespace kv {

namespace {

// The option of a check box of the search or of the group shown.
Option OptionOfSearchBox(int control) {
  return static_cast<Option>(control - options_control::FirstSearchBox);
}

// The option of a check box of the notation.
Option OptionOfNotationBox(int control) {
  return static_cast<Option>(IndexOf(Option::ShortNotation) + control -
                             options_control::ShortNotationBox);
}

}  // namespace

void SwitchOptionsToKind(SolveOptions& options, int kind) {
  const int current = options[Option::Kind];
  if (current == TestMovePreset || current == kind) return;
  if (kind < 0 || kind > KindReflex) return;
  // A value outside the four kinds (a damaged ini file) has no set to park
  // the values in; they are simply replaced.
  if (current >= KindDirect && current <= KindReflex) {
    for (int i = 0; i < PerKindCount; ++i) options.perKind[current][i] = options.values[i];
  }
  for (int i = 0; i < PerKindCount; ++i) options.values[i] = options.perKind[kind][i];
  // The built-in sets carry their kind in Option::Kind; keep it true whatever a
  // dialog stored there.
  options[Option::Kind] = kind;
}

SavedPerKindOptions BeginTestMove(SolveOptions& options) {
  SavedPerKindOptions saved{};
  for (int i = 0; i < PerKindCount; ++i) {
    saved[i] = options.values[i];
    options.values[i] = TestMoveOptions[i];
  }
  return saved;
}

void EndTestMove(SolveOptions& options, const SavedPerKindOptions& saved) {
  if (options[Option::Kind] != TestMovePreset) return;
  for (int i = 0; i < PerKindCount; ++i) options.values[i] = saved[i];
}

void ToggleActualPlay(SolveOptions& options) {
  options[Option::ActualPlay] = options[Option::ActualPlay] ? 0 : 1;
  options[Option::TryRefutations] = options[Option::ActualPlay];
}

OptionsDialog OpenOptionsDialog(const SolveOptions& options, int kind, OptionGroup lastGroup) {
  OptionsDialog dialog;
  dialog.saved = options;
  dialog.working = options;
  dialog.kind = kind;
  dialog.group = lastGroup;
  return dialog;
}

void OptionsDialogCommand(OptionsDialog& dialog, int control) {
  using namespace options_control;
  SolveOptions& o = dialog.working;
  auto toggle = [](int& value) { value = value ? 0 : 1; };
  if (control >= FirstCaptureSignRadio && control <= LastCaptureSignRadio) {
    o[Option::CaptureSign] = control - FirstCaptureSignRadio;
    ++dialog.notationChanged;
  } else if (control >= FirstBlackMoveRadio && control <= LastBlackMoveRadio) {
    o[Option::BlackMoveStyle] = control - FirstBlackMoveRadio;
    ++dialog.notationChanged;
  } else if (control == ActualPlayGroupRadio || control == TriesGroupRadio) {
    dialog.group = control == ActualPlayGroupRadio ? OptionGroup::Play : OptionGroup::Tries;
  } else if (control >= VariationsBox && control <= NonDefensiveMovesBox) {
    toggle(o.Of(dialog.group, OptionOfSearchBox(control)));
    ++dialog.notationChanged;
  } else if (control == SetPlayBox || control == ActualPlayBox) {
    toggle(o[OptionOfSearchBox(control)]);
    ++dialog.searchChanged;
    ++dialog.notationChanged;
  } else if (control == TriesBox) {
    toggle(o[Option::TryRefutations]);
    ++dialog.searchChanged;
    ++dialog.notationChanged;
  } else if (control >= ShortNotationBox && control <= ShowTransferredMatesBox) {
    toggle(o[OptionOfNotationBox(control)]);
    ++dialog.notationChanged;
  }
}

void OptionsDialogEditTries(OptionsDialog& dialog, int number) {
  if (number < 0) number = 0;
  if (number > 9) number = 9;
  dialog.working[Option::TryRefutations] = number;
  ++dialog.searchChanged;
}

bool OptionsDialogChecked(const OptionsDialog& dialog, int control) {
  using namespace options_control;
  const SolveOptions& o = dialog.working;
  if (control >= FirstSearchBox && control <= ActualPlayBox)
    return o[OptionOfSearchBox(control)] != 0;
  if (control >= VariationsBox && control <= NonDefensiveMovesBox)
    return o.Of(dialog.group, OptionOfSearchBox(control)) != 0;
  if (control >= ShortNotationBox && control <= ShowTransferredMatesBox)
    return o[OptionOfNotationBox(control)] != 0;
  if (control >= FirstCaptureSignRadio && control <= LastCaptureSignRadio)
    return o[Option::CaptureSign] == control - FirstCaptureSignRadio;
  if (control >= FirstBlackMoveRadio && control <= LastBlackMoveRadio)
    return o[Option::BlackMoveStyle] == control - FirstBlackMoveRadio;
  if (control == ActualPlayGroupRadio) return dialog.group == OptionGroup::Play;
  if (control == TriesGroupRadio) return dialog.group == OptionGroup::Tries;
  return false;
}

bool OptionsDialogEnabled(const OptionsDialog& dialog, int control) {
  using namespace options_control;
  const SolveOptions& o = dialog.working;
  // Separators, dualized variations and non-defensive moves belong to the
  // variations.
  if (control >= SeparatorsBox && control <= NonDefensiveMovesBox)
    return o.Of(dialog.group, Option::Variations) != 0;
  const bool testMode = o[Option::Kind] == TestMovePreset;
  if (testMode && ((control >= FirstSearchBox && control <= ActualPlayBox) || control == TryEdit ||
                   control == TryUpDown))
    return false;
  return true;
}

bool OptionsDialogVisible(const OptionsDialog& dialog, int control) {
  using namespace options_control;
  if (dialog.kind != KindHelp) return true;
  switch (control) {
    case ActualPlayGroupRadio:
    case TriesGroupRadio:
    case ShowLabel:
    case TriesBox:
    case ActualPlayBox:
    case TryEdit:
    case TryUpDown:
      return false;
    default:
      return true;
  }
}

void OptionsDialogOk(OptionsDialog& dialog, SolveOptions& options) {
  options.values = dialog.working.values;
  if (dialog.kind >= KindDirect && dialog.kind <= KindReflex) {
    options.perKind[dialog.kind] = options.values;
  }
}

void OptionsDialogCancel(OptionsDialog& dialog, SolveOptions& options) {
  options.values = dialog.saved.values;
  dialog.working = dialog.saved;
  dialog.notationChanged = 0;
  dialog.searchChanged = 0;
}

bool RefreshAfterOptions(const OptionsDialog& dialog, bool solutionStale) {
  return dialog.notationChanged != 0 && dialog.searchChanged == 0 && !solutionStale;
}

TypeDialog OpenTypeDialog(const ProblemType& type, int mode) {
  TypeDialog dialog;
  dialog.mode = mode;
  dialog.moves = type.moves;
  dialog.kindIndex = mode == 1 ? type.kind - 1 : type.kind;
  dialog.flags = type.flags;
  return dialog;
}

bool TypeDialogWhiteBeginsVisible(const TypeDialog& dialog) {
  return dialog.kindIndex == KindHelp || dialog.kindIndex < 0;
}

ProblemType TypeDialogOk(const TypeDialog& dialog, const ProblemType& original) {
  ProblemType type = original;
  type.moves = static_cast<std::uint8_t>(dialog.moves);
  if (dialog.kindIndex < 0) {
    type.kind = 0;
  } else {
    type.kind = static_cast<std::uint8_t>(dialog.kindIndex + (dialog.mode == 1 ? 1 : 0));
  }
  type.flags = dialog.flags & (FlagSeries | FlagStalemate | FlagMaximum | FlagWhiteBegins);
  return type;
}

void TypeDialogInitialise(TypeDialog& dialog) {
  dialog.kindIndex = -1;
  dialog.flags = 0;
  dialog.moves = 0;
}

}  // namespace kv
