// The decisions of the display options: what each box changes in the output
// settings and the pane font, and what the window must redo afterwards.
#pragma once

#include <string_view>

#include "config/settings.h"
#include "strings/dialog_controls.h"

namespace kv::app {

// The dialog's controls (strings/dialog_controls.h).
inline constexpr int DisplaySquares3DBox = display_options_control::Squares3DBox;
inline constexpr int DisplayNotationBox = display_options_control::NotationBox;
inline constexpr int DisplayOtherPiecesBox = display_options_control::OtherPiecesBox;
inline constexpr int DisplayFontButton = display_options_control::FontButton;
inline constexpr int DisplayOptionsHelpContext = 133;
// Point sizes the font choice keeps to.
inline constexpr int MinPanePointSize = 8;
inline constexpr int MaxPanePointSize = 14;

// What the window redoes after a change.
struct DisplayEffects {
  bool board = false;          // repaint the board with its settings
  bool font = false;           // give the panes the pane font again
  bool clearSolution = false;  // empty the solution pane
};

// The face of the figurine font the notation uses.
inline constexpr std::string_view FigurineFace = "Kestrovale";
// The record that turning figurine notation on installs: height -13,
// weight 300, symbol character set, face "Kestrovale".
PaneFont FigurinePaneFont();
// A face counts as the figurine font when its name contains "Kestrovale".
bool IsFigurineFace(std::string_view face);

DisplayEffects SetSquares3D(OutputSettings& output, bool on);
DisplayEffects SetOtherPieces(OutputSettings& output, bool on);
// On: the figurine font replaces the pane font. Off: the font record stays.
// Either way the panes take the font anew and the solution pane is emptied,
// since its text was written for the other notation.
DisplayEffects SetFigurineNotation(OutputSettings& output, PaneFont& font, bool on);

// A font chosen in the font dialog (its size cut to 8 .. 14 points, at the
// screen's 96 dots per inch): it becomes the pane font, and figurine notation
// follows its face.
DisplayEffects ChooseFont(OutputSettings& output, PaneFont& font, std::string_view face,
                          int pointSize, int weight, bool italic);

}  // namespace kv::app
