#include "print/print_preview_logic.h"

#include <algorithm>

namespace kv::print {

std::string ZoomText(int zoom) {
  return std::to_string(zoom) + "%";
}

std::string ZoomEntryText(int entry) {
  if (entry >= 0 && entry < static_cast<int>(ZoomPercentages.size())) {
    return ZoomText(ZoomPercentages[entry]);
  }
  if (entry == ZoomEntryFullPage) return "Full Page";
  if (entry == ZoomEntryTwoPages) return "2 Pages";
  return {};
}

int ClampZoom(int zoom) {
  return std::clamp(zoom, MinZoom, MaxZoom);
}

void RememberZoom(PreviewZoomMemory& memory, int zoom) {
  if (zoom < 100) {
    memory.small = zoom;
  } else {
    memory.large = zoom;
  }
}

int ZoomedSize(int units, int zoom, int scale) {
  if (scale <= 0) scale = 10;
  return static_cast<int>(static_cast<long long>(units) * zoom / (scale * 10LL));
}

FitZooms ComputeFitZooms(PreviewSize page, PreviewSize client, int scaleX, int scaleY) {
  // zoom = pixels x scale x 10 / units, the inverse of ZoomedSize.
  const auto zoomFor = [](int pixels, int units, int scale) {
    if (units <= 0) return 100;
    return static_cast<int>(static_cast<long long>(std::max(1, pixels)) * scale * 10 / units);
  };
  FitZooms fits;
  const int across = zoomFor(client.width - FitSpace, page.width, scaleX);
  const int down = zoomFor(client.height - FitSpace, page.height, scaleY);
  // The page's larger dimension decides; taking the smaller of the two fits
  // also keeps a page whole in a client shaped against it.
  fits.fullPage = ClampZoom(std::min(across, down) - 1);
  fits.twoPages = ClampZoom(zoomFor(client.width / 2 - FitSpace, page.width, scaleX));
  return fits;
}

int OpeningZoom(PreviewZoomMemory& memory, const FitZooms& fits) {
  if (memory.small == NoSmallZoomYet) memory.small = fits.fullPage;
  return memory.small;
}

int ClickZoom(const PreviewZoomMemory& memory, int zoom) {
  return zoom < 100 ? memory.large : memory.small;
}

int ClampOffset(const ScrollAxis& axis, int offset) {
  return std::clamp(offset, 0, axis.maxOffset());
}

int PageOrigin(const ScrollAxis& axis) {
  if (axis.zoomed < axis.client) return (axis.client - axis.zoomed) / 2;
  return -ClampOffset(axis, axis.offset);
}

int ScrollTo(const ScrollAxis& axis, ScrollAction action, int trackPosition) {
  int offset = axis.offset;
  switch (action) {
    case ScrollAction::LineUp:
      offset -= ScrollLineStep;
      break;
    case ScrollAction::LineDown:
      offset += ScrollLineStep;
      break;
    case ScrollAction::PageUp:
      offset -= ScrollPageStep;
      break;
    case ScrollAction::PageDown:
      offset += ScrollPageStep;
      break;
    case ScrollAction::Top:
      offset = 0;
      break;
    case ScrollAction::Bottom:
      offset = axis.maxOffset();
      break;
    case ScrollAction::Track:
      offset = trackPosition;
      break;
  }
  return ClampOffset(axis, offset);
}

int ProportionalOffset(int offset, int oldZoomed, int newZoomed) {
  if (oldZoomed <= 0) return 0;
  return static_cast<int>(static_cast<long long>(offset) * newZoomed / oldZoomed);
}

int CentreOnClick(int clicked, int oldOrigin, int oldZoomed, int newZoomed, int client) {
  if (oldZoomed <= 0) return 0;
  const long long onPage = static_cast<long long>(clicked - oldOrigin) * newZoomed / oldZoomed;
  return std::max(0, static_cast<int>(onPage - client / 2));
}

bool ShowsSecondPage(bool twoPages, int zoomedWidth, int clientWidth, int page, int pageCount) {
  return twoPages && zoomedWidth <= clientWidth / 2 && page + 1 < pageCount;
}

int PageFromTyped(int typed, int pageCount) {
  return std::clamp(typed, 1, std::max(1, pageCount)) - 1;
}

}  // namespace kv::print
