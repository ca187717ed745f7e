// The decisions of the twins dialog, without widgets: the entry list being
// edited, the fields each twin kind uses, and how the typed square and man
// texts become the bytes of an entry (and back, when a line is selected).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "solver/twins.h"
#include "strings/language.h"

namespace kv::app {

inline constexpr int TwinKindCount = 17;

// Which input fields a kind shows.
struct TwinFields {
  bool square1 = false;
  bool square2 = false;
  bool man = false;
};
TwinFields FieldsOfKind(int kind);

// "e4" → 0..63 (0 = a8, 63 = h1); a text that is not a square of the
// board is nothing, refused rather than taken for a8.
std::optional<int> ParseTwinSquare(std::string_view text);
std::string TwinSquareText(int square);
// Two characters: a man letter of the language (white letters; a letter not
// found gives a king) and the colour letter (black when it is the black
// initial of the language, in either case; else white).
int ParseTwinMan(std::string_view text, const Language& language);
std::string TwinManText(int man, const Language& language);

// The list the dialog edits.
struct TwinsEditor {
  bool successive = false;
  std::vector<TwinEntry> entries;
  int selected = -1;
};

TwinsEditor OpenTwinsEditor(std::string_view field);
// Appends the entry and selects it; false (nothing done) with 31 entries.
bool AddTwin(TwinsEditor& editor, const TwinEntry& entry);
// Replaces the selected entry; false when none is selected.
bool ModifyTwin(TwinsEditor& editor, const TwinEntry& entry);
// Deletes the selected entry and selects the one before it (or the first).
void RemoveTwin(TwinsEditor& editor);
// The stored field: empty when the list holds no entry.
std::string TwinsEditorField(const TwinsEditor& editor);

}  // namespace kv::app
