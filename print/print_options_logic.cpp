#include "print/print_options_logic.h"

#include <algorithm>
#include <cmath>

namespace kv::print {
namespace {

constexpr int UnknownScale = 30;

int EffectiveScale(int scaleX) {
  return scaleX == 0 ? UnknownScale : scaleX;
}

}  // namespace

int ClampDiagramSize(int value, int scaleX) {
  const int scale = EffectiveScale(scaleX);
  return std::clamp(value, -(2 * scale / 3), scale);
}

std::string DiagramSizePercent(int value, int scaleX) {
  const int scale = EffectiveScale(scaleX);
  return std::to_string((value + scale) * 100 / scale) + "%";
}

int ClampMargin(int millimetres, int offsetMm) {
  return std::clamp(millimetres, std::min(std::max(0, offsetMm), MaxMarginMm), MaxMarginMm);
}

OffsetsMm UnprintableOffsetsMm(const PrinterMetrics& metrics) {
  double paperW = metrics.paperWidthMm, paperH = metrics.paperHeightMm;
  if (metrics.printableWidthMm > metrics.printableHeightMm && paperW < paperH)
    std::swap(paperW, paperH);
  OffsetsMm offsets;
  offsets.x =
      std::max(0, static_cast<int>(std::ceil((paperW - metrics.printableWidthMm) / 2 - 1e-6)));
  offsets.y =
      std::max(0, static_cast<int>(std::ceil((paperH - metrics.printableHeightMm) / 2 - 1e-6)));
  return offsets;
}

}  // namespace kv::print
