// The decisions of the print preview: its zoom list, the zooms it remembers
// between previews, the zoom that fits the window, where a page is placed and
// how far it scrolls. No widgets here; the preview dialog only shows what
// these give.
#pragma once

#include <array>
#include <string>

namespace kv::print {

inline constexpr int MinZoom = 12;
inline constexpr int MaxZoom = 1200;
inline constexpr int ScrollLineStep = 20;
inline constexpr int ScrollPageStep = 100;
// Pixels left around a page that fits the window.
inline constexpr int FitSpace = 20;

// The zoom box's entries in order: the percentages, then the two fits.
inline constexpr std::array<int, 7> ZoomPercentages = {400, 200, 150, 100, 75, 50, 25};
inline constexpr int ZoomEntryFullPage = 7;
inline constexpr int ZoomEntryTwoPages = 8;
inline constexpr int ZoomEntryCount = 9;
// The text of entry i: "400%" .. "25%", "Full Page", "2 Pages".
std::string ZoomEntryText(int entry);
// "%d%%".
std::string ZoomText(int zoom);

// A typed zoom brought within 12 .. 1200 %.
int ClampZoom(int zoom);

// The zooms remembered while the program runs: the last chosen below 100 %
// (35 while none was chosen) and the last chosen at 100 % or more.
inline constexpr int NoSmallZoomYet = 35;
struct PreviewZoomMemory {
  int small = NoSmallZoomYet;
  int large = 100;
};
// Records a chosen zoom as the small or the large one.
void RememberZoom(PreviewZoomMemory& memory, int zoom);

// Printer units to screen pixels at a zoom; scale in tenths.
int ZoomedSize(int units, int zoom, int scale);

struct PreviewSize {
  int width = 0;
  int height = 0;
};

// The two fits of a page (printer units) into a client area (pixels).
struct FitZooms {
  int fullPage = 100;  // the larger dimension fits the client less 20, minus 1
  int twoPages = 50;   // the page width fits half the client width less 20
};
FitZooms ComputeFitZooms(PreviewSize page, PreviewSize client, int scaleX, int scaleY);

// The zoom a preview opens at: the remembered small zoom, or "Full Page"
// the first time (which is then remembered).
int OpeningZoom(PreviewZoomMemory& memory, const FitZooms& fits);

// The zoom a click on the page switches to: the remembered large zoom from a
// small one, the small from a large one.
int ClickZoom(const PreviewZoomMemory& memory, int zoom);

// One axis of the preview: the zoomed page's size, the client's, the scroll
// offset and where the page's left (or top) edge is drawn.
struct ScrollAxis {
  int zoomed = 0;
  int client = 0;
  int offset = 0;
  // Shown only when the zoomed page is at least as large as the client.
  bool hasBar() const { return zoomed >= client; }
  int maxOffset() const { return zoomed > client ? zoomed - client : 0; }
};
int ClampOffset(const ScrollAxis& axis, int offset);
// The page's origin on the screen: centred when it is smaller than the
// client, else moved by the offset.
int PageOrigin(const ScrollAxis& axis);

enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Track };
int ScrollTo(const ScrollAxis& axis, ScrollAction action, int trackPosition = 0);

// A zoom change keeps the offsets in proportion to the zoomed size.
int ProportionalOffset(int offset, int oldZoomed, int newZoomed);

// After a click at `clicked` (client pixels) the offset that brings the same
// point of the page, zoomed anew, to the centre of the client area.
int CentreOnClick(int clicked, int oldOrigin, int oldZoomed, int newZoomed, int client);

// Whether "2 Pages" shows the next page beside the current one.
bool ShowsSecondPage(bool twoPages, int zoomedWidth, int clientWidth, int page, int pageCount);

// The page typed into the page box, brought within 1 .. count; 0-based.
int PageFromTyped(int typed, int pageCount);

}  // namespace kv::print
