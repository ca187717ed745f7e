#include "print/page_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kv::print {
namespace {

int ScaleFactor(int printerDpi, int screenDpi) {
  if (printerDpi <= 0 || screenDpi <= 0) return 10;
  return std::max(1, printerDpi * 10 / screenDpi);
}

int MarginPixels(int millimetres, double pixelsPerMm, int offset) {
  const int pixels = static_cast<int>(std::lround(millimetres * pixelsPerMm));
  return std::max(pixels, offset);
}

}  // namespace

PageGeometry ComputePageGeometry(const PrinterMetrics& metrics, const OutputSettings& settings,
                                 bool preview) {
  PageGeometry page;
  page.scaleX = ScaleFactor(metrics.dpiX, metrics.screenDpiX);
  page.scaleY = ScaleFactor(metrics.dpiY, metrics.screenDpiY);

  const double printableW = std::max(1.0, metrics.printableWidthMm);
  const double printableH = std::max(1.0, metrics.printableHeightMm);
  page.landscape = printableW > printableH;
  double paperW = metrics.paperWidthMm;
  double paperH = metrics.paperHeightMm;
  // A paper size given upright while the device prints across.
  if (page.landscape && paperW < paperH) std::swap(paperW, paperH);

  const double pixelsPerMmX = metrics.printableWidthPixels / printableW;
  const double pixelsPerMmY = metrics.printableHeightPixels / printableH;
  page.offsetX =
      std::max(0, static_cast<int>(std::lround((paperW - printableW) / 2 * pixelsPerMmX)));
  page.offsetY =
      std::max(0, static_cast<int>(std::lround((paperH - printableH) / 2 * pixelsPerMmY)));

  page.marginLeft = MarginPixels(settings[OutputMarginLeft], pixelsPerMmX, page.offsetX);
  page.marginRight = MarginPixels(settings[OutputMarginRight], pixelsPerMmX, page.offsetX);
  page.marginTop = MarginPixels(settings[OutputMarginTop], pixelsPerMmY, page.offsetY);
  page.marginBottom = MarginPixels(settings[OutputMarginBottom], pixelsPerMmY, page.offsetY);

  page.pageWidth = metrics.printableWidthPixels;
  page.pageHeight = metrics.printableHeightPixels;
  if (preview) {
    page.pageWidth += 2 * page.offsetX;
    page.pageHeight += 2 * page.offsetY;
  } else {
    page.marginLeft -= page.offsetX;
    page.marginRight -= page.offsetX;
    page.marginTop -= page.offsetY;
    page.marginBottom -= page.offsetY;
  }
  return page;
}

}  // namespace kv::print
