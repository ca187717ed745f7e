// Dialogs are laid out with French texts; when one opens in another
// language, its table of (control, message) pairs says which controls take
// which message of the string table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "strings/language.h"

namespace kv {

struct DialogLabel {
  int control;
  int message;
};

// The table indices the dialogs pass.
inline constexpr int DialogDisplayOptions = 1;
inline constexpr int DialogInformation = 3;
inline constexpr int DialogBiographicalSelection = 4;
inline constexpr int DialogOrganise = 5;
inline constexpr int DialogSolvingOptions = 6;
inline constexpr int DialogPrintOptionPages = 9;
inline constexpr int DialogSave = 10;
inline constexpr int DialogProblemList = 11;
inline constexpr int DialogPositionSearch = 12;
inline constexpr int DialogTestMove = 13;
inline constexpr int DialogProblemType = 14;
inline constexpr int DialogSearchInformation = 16;
inline constexpr int DialogTwins = 18;
inline constexpr int DialogAdditionalInformation = 20;
inline constexpr int DialogDuplicateInformation = 21;
inline constexpr int DialogPrintPreview = 22;
inline constexpr int DialogAbout = 25;

// The pairs of a table; empty for the tables without pairs and unknown ones.
std::span<const DialogLabel> DialogLabels(int tableIndex);

struct ControlText {
  int control;
  std::string text;  // Windows-1252
};

// The texts to put on the controls of a dialog that opens: none in French
// (the dialogs are French already) or for a table index of 256 and more;
// otherwise every pair of the table with the message of the language.
std::vector<ControlText> TranslateDialog(const Language& language, int tableIndex);

// The text of a standard button (control 1, 2 or 3) whose template text has
// fewer than two characters: OK, Cancel or Help of the language. Any other
// button keeps currentText.
std::string StandardButtonText(const Language& language, int control,
                               const std::string& currentText);

}  // namespace kv
