#include <gtest/gtest.h>

#include "print/print_options_logic.h"
#include "print/print_preview_logic.h"

namespace kv::print {
namespace {

TEST(Zoom, TypedZoomIsClamped) {
  EXPECT_EQ(ClampZoom(5), 12);
  EXPECT_EQ(ClampZoom(5000), 1200);
  EXPECT_EQ(ClampZoom(75), 75);
}

TEST(Zoom, ListReadsAsTheBoxShowsIt) {
  EXPECT_EQ(ZoomEntryText(0), "400%");
  EXPECT_EQ(ZoomEntryText(6), "25%");
  EXPECT_EQ(ZoomEntryText(ZoomEntryFullPage), "Full Page");
  EXPECT_EQ(ZoomEntryText(ZoomEntryTwoPages), "2 Pages");
}

TEST(Zoom, FirstPreviewOpensAtFullPageThenAtTheChosenSmallZoom) {
  PreviewZoomMemory memory;
  FitZooms fits;
  fits.fullPage = 41;
  EXPECT_EQ(OpeningZoom(memory, fits), 41);
  EXPECT_EQ(memory.small, 41);
  RememberZoom(memory, 50);
  EXPECT_EQ(OpeningZoom(memory, fits), 50);
  RememberZoom(memory, 200);  // a large zoom leaves the small one alone
  EXPECT_EQ(OpeningZoom(memory, fits), 50);
  EXPECT_EQ(memory.large, 200);
}

TEST(Zoom, ClickSwitchesBetweenTheRememberedZooms) {
  PreviewZoomMemory memory;
  memory.small = 40;
  memory.large = 150;
  EXPECT_EQ(ClickZoom(memory, 40), 150);
  EXPECT_EQ(ClickZoom(memory, 150), 40);
}

TEST(Zoom, FitsKeepTheWholePageInView) {
  // An A4 page at 1200 dpi (scale 125) in a 900 x 700 client.
  const FitZooms fits = ComputeFitZooms({9921, 14031}, {900, 700}, 125, 125);
  EXPECT_LE(ZoomedSize(14031, fits.fullPage, 125), 700 - FitSpace);
  EXPECT_GT(ZoomedSize(14031, fits.fullPage + 2, 125), 700 - FitSpace);
  EXPECT_LE(ZoomedSize(9921, fits.twoPages, 125), 450 - FitSpace);
}

TEST(Scroll, StepsStayWithinTheZoomedPage) {
  ScrollAxis axis{1000, 400, 0};
  EXPECT_EQ(ScrollTo(axis, ScrollAction::LineDown), 20);
  EXPECT_EQ(ScrollTo(axis, ScrollAction::PageDown), 100);
  EXPECT_EQ(ScrollTo(axis, ScrollAction::LineUp), 0);
  EXPECT_EQ(ScrollTo(axis, ScrollAction::Bottom), 600);
  axis.offset = 590;
  EXPECT_EQ(ScrollTo(axis, ScrollAction::PageDown), 600);
  EXPECT_EQ(ScrollTo(axis, ScrollAction::Track, 5000), 600);
  EXPECT_EQ(ScrollTo(axis, ScrollAction::Top), 0);
}

TEST(Scroll, SmallPageIsCentredWithoutBar) {
  const ScrollAxis axis{300, 500, 40};
  EXPECT_FALSE(axis.hasBar());
  EXPECT_EQ(PageOrigin(axis), 100);
  const ScrollAxis large{800, 500, 40};
  EXPECT_TRUE(large.hasBar());
  EXPECT_EQ(PageOrigin(large), -40);
}

TEST(Scroll, ClickBringsThePointToTheCentre) {
  // The point 100 pixels into a 500-pixel page, zoomed to 1000 pixels, lies
  // 200 pixels in; a 300-pixel client puts it at its centre.
  EXPECT_EQ(CentreOnClick(150, 50, 500, 1000, 300), 50);
  EXPECT_EQ(CentreOnClick(60, 50, 500, 1000, 300), 0);  // never below 0
}

TEST(Paging, TwoPagesOnTheLastPageShowsItAlone) {
  EXPECT_TRUE(ShowsSecondPage(true, 400, 900, 0, 2));
  EXPECT_FALSE(ShowsSecondPage(true, 400, 900, 1, 2));
  EXPECT_FALSE(ShowsSecondPage(true, 500, 900, 0, 2));  // half the client too narrow
  EXPECT_EQ(PageFromTyped(0, 5), 0);
  EXPECT_EQ(PageFromTyped(9, 5), 4);
}

TEST(OptionLimits, DiagramSizeWithinTwoThirdsOfTheScale) {
  EXPECT_EQ(ClampDiagramSize(-20, 0), -20);  // scale 0 counts as 30
  EXPECT_EQ(ClampDiagramSize(-20, 12), -8);
  EXPECT_EQ(ClampDiagramSize(10, 6), 6);
  EXPECT_EQ(DiagramSizePercent(-6, 30), "80%");
}

TEST(OptionLimits, MarginsBetweenTheOffsetAndTwoHundred) {
  EXPECT_EQ(ClampMargin(2, 5), 5);
  EXPECT_EQ(ClampMargin(250, 5), 200);
  EXPECT_EQ(ClampMargin(10, 0), 10);
  PrinterMetrics m;
  m.printableWidthMm = 203.2;  // 3.4 mm unprintable on each side
  EXPECT_EQ(UnprintableOffsetsMm(m).x, 4);
  EXPECT_EQ(UnprintableOffsetsMm(m).y, 0);
}

}  // namespace
}  // namespace kv::print
