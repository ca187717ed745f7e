// The page as printing sees it: the scale between printer and screen, the
// unprintable border, the margins in printer pixels and the printable area.
// Recomputed each time a printer device is made. No Qt here, so that tests
// build a geometry from plain numbers.
#pragma once

#include "config/settings.h"

namespace kv::print {

// What a printer device reports, in its own units.
struct PrinterMetrics {
  int dpiX = 600;
  int dpiY = 600;
  int screenDpiX = 96;
  int screenDpiY = 96;
  double paperWidthMm = 210;  // the whole sheet
  double paperHeightMm = 297;
  double printableWidthMm = 210;  // the part the device can mark
  double printableHeightMm = 297;
  int printableWidthPixels = 4960;
  int printableHeightPixels = 7016;
};

// The largest margin the options accept, in millimetres.
inline constexpr int MaxMarginMm = 200;

struct PageGeometry {
  int scaleX = 10;  // printer pixels per screen pixel, in tenths
  int scaleY = 10;
  bool landscape = false;
  int offsetX = 0;  // unprintable border on each side, printer pixels
  int offsetY = 0;
  // The page drawn: the printable part when printing, the whole sheet for
  // the preview.
  int pageWidth = 0;
  int pageHeight = 0;
  int marginLeft = 0;  // from the page's origin
  int marginRight = 0;
  int marginTop = 0;
  int marginBottom = 0;

  int printableWidth() const { return pageWidth - marginLeft - marginRight; }
  int printableHeight() const { return pageHeight - marginTop - marginBottom; }
};

// The geometry for the settings' margins. For printing the device's origin is
// the printable corner, so the unprintable offset comes off each margin; for
// the preview the whole sheet is drawn, so the page grows by twice the offset
// instead. A margin below the offset is raised to it: the printer could not
// mark there anyway.
PageGeometry ComputePageGeometry(const PrinterMetrics& metrics, const OutputSettings& settings,
                                 bool preview);

}  // namespace kv::print
