// The limits the print option pages hold their values to. No widgets here.
#pragma once

#include <string>

#include "print/page_geometry.h"

namespace kv::print {

inline constexpr int MinSheetColumns = 1, MaxSheetColumns = 8;
inline constexpr int MinSheetRows = 1, MaxSheetRows = 8;
inline constexpr int MinReportColumns = 1, MaxReportColumns = 4;

// The diagram size adjustment within -(2/3 x scale) .. scale, where a scale
// of 0 counts as 30: below that the diagram font would shrink to nothing.
int ClampDiagramSize(int value, int scaleX);
// The size as a percentage of the normal diagram: "%d%%".
std::string DiagramSizePercent(int value, int scaleX);

// A margin in millimetres within the unprintable offset .. 200.
int ClampMargin(int millimetres, int offsetMm);

// The unprintable offsets of a printer in whole millimetres, rounded up so
// that a margin at the offset stays printable.
struct OffsetsMm {
  int x = 0;
  int y = 0;
};
OffsetsMm UnprintableOffsetsMm(const PrinterMetrics& metrics);

}  // namespace kv::print
