#include "app/display_options_logic.h"

#include <algorithm>

namespace kv::app {

PaneFont FigurinePaneFont() {
  PaneFont font;
  font.height = -13;
  font.weight = 300;
  font.charSet = 2;  // symbol
  font.clipPrecision = 2;
  font.quality = 1;
  font.pitchAndFamily = 2;
  SetFaceName(font, FigurineFace);
  return font;
}

bool IsFigurineFace(std::string_view face) {
  return face.find(FigurineFace) != std::string_view::npos;
}

DisplayEffects SetSquares3D(OutputSettings& output, bool on) {
  output[OutputSquares3D] = on ? 1 : 0;
  DisplayEffects effects;
  effects.board = true;
  return effects;
}

DisplayEffects SetOtherPieces(OutputSettings& output, bool on) {
  output[OutputClassicPieces] = on ? 1 : 0;
  DisplayEffects effects;
  effects.board = true;
  return effects;
}

DisplayEffects SetFigurineNotation(OutputSettings& output, PaneFont& font, bool on) {
  output[OutputFigurineNotation] = on ? 1 : 0;
  if (on) font = FigurinePaneFont();
  DisplayEffects effects;
  effects.font = true;
  effects.clearSolution = true;
  return effects;
}

DisplayEffects ChooseFont(OutputSettings& output, PaneFont& font, std::string_view face,
                          int pointSize, int weight, bool italic) {
  const int points = std::clamp(pointSize, MinPanePointSize, MaxPanePointSize);
  const bool figurines = IsFigurineFace(face);
  PaneFont chosen;
  // A negative height is the characters' height in pixels.
  chosen.height = -((points * 96 + 36) / 72);
  chosen.weight = weight;
  chosen.italic = italic ? 1 : 0;
  chosen.charSet = figurines ? 2 : 0;
  chosen.outPrecision = 4;
  chosen.clipPrecision = 2;
  chosen.quality = 1;
  chosen.pitchAndFamily = 2;
  SetFaceName(chosen, face);
  font = chosen;
  output[OutputFigurineNotation] = figurines ? 1 : 0;
  DisplayEffects effects;
  effects.font = true;
  return effects;
}

}  // namespace kv::app
