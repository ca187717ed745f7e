#include "solver/solve_options_logic.h"

namespace kv {

void SwitchOptionsToKind(SolveOptions& options, int kind) {
  const int current = options[OptionsKind];
  if (current == TestMovePreset || current == kind) return;
  if (kind < 0 || kind > KindReflex) return;
  // A value outside the four kinds (a damaged ini file) has no set to park
  // the values in; they are simply replaced.
  if (current >= KindDirect && current <= KindReflex) {
    for (int i = 0; i < PerKindCount; ++i) options.perKind[current][i] = options[i];
  }
  for (int i = 0; i < PerKindCount; ++i) options[i] = options.perKind[kind][i];
  // The built-in sets carry their kind at index 7; keep it true whatever a
  // dialog stored there.
  options[OptionsKind] = kind;
}

SavedPerKindOptions BeginTestMove(SolveOptions& options) {
  SavedPerKindOptions saved{};
  for (int i = 0; i < PerKindCount; ++i) {
    saved[i] = options[i];
    options[i] = TestMoveOptions[i];
  }
  return saved;
}

void EndTestMove(SolveOptions& options, const SavedPerKindOptions& saved) {
  if (options[OptionsKind] != TestMovePreset) return;
  for (int i = 0; i < PerKindCount; ++i) options[i] = saved[i];
}

void ToggleActualPlay(SolveOptions& options) {
  options[ActualPlay] = options[ActualPlay] ? 0 : 1;
  options[TryRefutations] = options[ActualPlay];
}

OptionsDialog OpenOptionsDialog(const SolveOptions& options, int kind, int lastGroup) {
  OptionsDialog dialog;
  dialog.saved = options;
  dialog.working = options;
  dialog.kind = kind;
  dialog.group = lastGroup == TriesGroup ? TriesGroup : 0;
  return dialog;
}

void OptionsDialogCommand(OptionsDialog& dialog, int control) {
  using namespace options_control;
  SolveOptions& o = dialog.working;
  auto toggle = [&o](int index) { o[index] = o[index] ? 0 : 1; };
  if (control >= FirstCaptureSignRadio && control <= LastCaptureSignRadio) {
    o[CaptureSign] = control - FirstCaptureSignRadio;
    ++dialog.notationChanged;
  } else if (control >= FirstBlackMoveRadio && control <= LastBlackMoveRadio) {
    o[BlackMoveStyle] = control - FirstBlackMoveRadio;
    ++dialog.notationChanged;
  } else if (control == ActualPlayGroupRadio || control == TriesGroupRadio) {
    dialog.group = control == ActualPlayGroupRadio ? 0 : TriesGroup;
  } else if (control >= VariationsBox && control <= NonDefensiveMovesBox) {
    toggle(dialog.group + control - FirstSearchBox);
    ++dialog.notationChanged;
  } else if (control == FirstSearchBox + SetPlay || control == ActualPlayBox) {
    toggle(control - FirstSearchBox);
    ++dialog.searchChanged;
    ++dialog.notationChanged;
  } else if (control == TriesBox) {
    o[TryRefutations] = o[TryRefutations] ? 0 : 1;
    ++dialog.searchChanged;
    ++dialog.notationChanged;
  } else if (control >= ShortNotationBox && control <= ShowTransferredMatesBox) {
    toggle(ShortNotation + control - ShortNotationBox);
    ++dialog.notationChanged;
  }
}

void OptionsDialogEditTries(OptionsDialog& dialog, int number) {
  if (number < 0) number = 0;
  if (number > 9) number = 9;
  dialog.working[TryRefutations] = number;
  ++dialog.searchChanged;
}

bool OptionsDialogChecked(const OptionsDialog& dialog, int control) {
  using namespace options_control;
  const SolveOptions& o = dialog.working;
  if (control >= FirstSearchBox && control <= ActualPlayBox)
    return o[control - FirstSearchBox] != 0;
  if (control >= VariationsBox && control <= NonDefensiveMovesBox)
    return o[dialog.group + control - FirstSearchBox] != 0;
  if (control >= ShortNotationBox && control <= ShowTransferredMatesBox)
    return o[ShortNotation + control - ShortNotationBox] != 0;
  if (control >= FirstCaptureSignRadio && control <= LastCaptureSignRadio)
    return o[CaptureSign] == control - FirstCaptureSignRadio;
  if (control >= FirstBlackMoveRadio && control <= LastBlackMoveRadio)
    return o[BlackMoveStyle] == control - FirstBlackMoveRadio;
  if (control == ActualPlayGroupRadio) return dialog.group == 0;
  if (control == TriesGroupRadio) return dialog.group == TriesGroup;
  return false;
}

bool OptionsDialogEnabled(const OptionsDialog& dialog, int control) {
  using namespace options_control;
  const SolveOptions& o = dialog.working;
  // Separators, dualized variations and non-defensive moves belong to the
  // variations.
  if (control >= SeparatorsBox && control <= NonDefensiveMovesBox)
    return o[dialog.group + Variations] != 0;
  const bool testMode = o[OptionsKind] == TestMovePreset;
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
