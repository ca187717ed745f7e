#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "print/page_geometry.h"
#include "print/print_layout.h"

namespace kv::print {
namespace {

TEST(DiagramSheetPages, CountsFullAndPartPages) {
  EXPECT_EQ(DiagramSheetPageCount(9, 3, 3), 1);
  EXPECT_EQ(DiagramSheetPageCount(10, 3, 3), 2);
  EXPECT_EQ(DiagramSheetPageCount(0, 3, 3), 0);
  EXPECT_EQ(DiagramSheetPageCount(64, 8, 8), 1);
  // At most 2000 problems go on one sheet.
  EXPECT_EQ(DiagramSheetPageCount(5000, 1, 1), MaxSheetProblems);
}

TEST(DiagramSheetPages, LastPageHoldsTheRest) {
  const SheetPageRange last = DiagramSheetPage(1, 10, 3, 3);
  EXPECT_EQ(last.first, 9);
  EXPECT_EQ(last.count, 1);
  EXPECT_EQ(DiagramSheetPage(2, 10, 3, 3).count, 0);
}

PageGeometry A4At300() {
  PrinterMetrics m;
  m.dpiX = m.dpiY = 300;
  m.printableWidthPixels = 2480;
  m.printableHeightPixels = 3508;
  OutputSettings settings;
  return ComputePageGeometry(m, settings, false);
}

FontMetrics Fonts() {
  FontMetrics f;
  f.textLineHeight = 50;
  f.characterWidth = 25;
  f.diagramLineHeight = 70;
  f.diagramCellWidth = 70;
  return f;
}

// Every line of the text is printed exactly once, in order, for reports of
// several lengths and column counts, with and without the diagram block.
TEST(ReportPages, EveryLinePrintedOnce) {
  const PageGeometry page = A4At300();
  for (const bool block : {false, true}) {
    for (int columns = 1; columns <= 4; ++columns) {
      for (const int lines : {0, 1, 59, 60, 61, 400, 3000}) {
        const ReportLayout layout = ComputeReportLayout(page, Fonts(), columns, block, 2, lines);
        int next = 0;
        for (int p = 0; p < layout.pageCount; ++p) {
          ASSERT_EQ(ReportPageFirstLine(layout, p), next) << "page " << p << " of " << lines;
          next += ReportColumnLines(layout, p) * layout.columns;
        }
        EXPECT_GE(next, lines);
        // No page is left without a line of its own (the first may hold the block only).
        if (layout.pageCount > 1) {
          EXPECT_LT(ReportPageFirstLine(layout, layout.pageCount - 1), lines);
        }
      }
    }
  }
}

TEST(ReportPages, DiagramBlockAndTwinsPushTheTextDown) {
  const PageGeometry page = A4At300();
  const ReportLayout bare = ComputeReportLayout(page, Fonts(), 2, false, 0, 100);
  const ReportLayout block = ComputeReportLayout(page, Fonts(), 2, true, 0, 100);
  const ReportLayout twins = ComputeReportLayout(page, Fonts(), 2, true, 3, 100);
  EXPECT_EQ(bare.headLines, 0);
  // (8 x 50 + 9 x 70) / 50 + 1 = 21 lines, the text starts one line less down.
  EXPECT_EQ(block.headLines, 20);
  // Three twin lines and the line under them.
  EXPECT_EQ(twins.headLines, 24);
  EXPECT_EQ(ReportColumnLines(twins, 0), twins.linesPerColumn - 24);
}

TEST(ReportPages, ReportsLongerThanThirtyTwoPagesPrintWhole) {
  const ReportLayout layout = ComputeReportLayout(A4At300(), Fonts(), 1, false, 0, 40 * 70);
  ASSERT_GT(layout.pageCount, 32);
  EXPECT_EQ(ReportPageFirstLine(layout, 40), 40 * layout.linesPerColumn);
}

TEST(ReportLines, LongLinesContinueInsteadOfBeingCut) {
  const std::string text = "1.Qf1-f5! threat: 2.Qd3#\r\n1...Kxf5 2.Sd6#\r\n\r\nend\r\n";
  const std::vector<std::string> lines = ReportLines(text, 12);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 12u) << line;
    joined += line;
  }
  for (const char* piece : {"1.Qf1-f5!", "threat:", "2.Qd3#", "1...Kxf5", "2.Sd6#", "end"}) {
    EXPECT_NE(joined.find(piece), std::string::npos) << piece;
  }
  // The blank line between stays; the final line break opens no line.
  EXPECT_EQ(lines.back(), "end");
  EXPECT_NE(std::find(lines.begin(), lines.end(), ""), lines.end());
}

TEST(ReportLines, ShortLinesStayAsTheyAre) {
  const std::vector<std::string> lines = ReportLines("a\r\nb c\r\n", 40);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "b c");
  EXPECT_TRUE(ReportLines("", 40).empty());
}

TEST(PositionLabel, ShortWhenDiagramsArePrintedSmall) {
  Language english;
  Language french;
  french.base = LanguageFrench;
  EXPECT_EQ(PositionNumberLabel(english, -4), "Pos n\xB0");
  EXPECT_EQ(PositionNumberLabel(french, -20), "Pos n\xB0");
  EXPECT_EQ(PositionNumberLabel(english, -3), "Position n\xB0:");
  EXPECT_EQ(PositionNumberLabel(french, 0), "Position n\xB0");
}

PrinterMetrics PrinterWithBorder() {
  // A4 at 600 dpi with 5 mm the printer cannot reach on each side.
  PrinterMetrics m;
  m.dpiX = m.dpiY = 600;
  m.printableWidthMm = 200;
  m.printableHeightMm = 287;
  m.printableWidthPixels = 4724;  // 200 mm
  m.printableHeightPixels = 6780;
  return m;
}

TEST(PageGeometry, MarginsBelowTheUnprintableBorderAreRaisedToIt) {
  OutputSettings settings;
  settings[OutputMarginLeft] = 2;
  settings[OutputMarginTop] = 0;
  settings[OutputMarginRight] = 20;
  const PageGeometry preview = ComputePageGeometry(PrinterWithBorder(), settings, true);
  EXPECT_EQ(preview.offsetX, 118);  // 5 mm at 600 dpi
  EXPECT_EQ(preview.marginLeft, preview.offsetX);
  EXPECT_EQ(preview.marginTop, preview.offsetY);
  EXPECT_EQ(preview.marginRight, 472);  // 20 mm
  // The preview draws the whole sheet; printing starts at the printable corner.
  EXPECT_EQ(preview.pageWidth, 4724 + 2 * 118);
  const PageGeometry printing = ComputePageGeometry(PrinterWithBorder(), settings, false);
  EXPECT_EQ(printing.marginLeft, 0);
  EXPECT_EQ(printing.marginRight, 472 - 118);
  EXPECT_EQ(printing.pageWidth, 4724);
  EXPECT_EQ(printing.scaleX, 62);  // 600 x 10 / 96
}

TEST(PageGeometry, LandscapeSwapsThePaperSides) {
  PrinterMetrics m = PrinterWithBorder();
  m.printableWidthMm = 287;
  m.printableHeightMm = 200;
  m.printableWidthPixels = 6780;
  m.printableHeightPixels = 4724;
  const PageGeometry page = ComputePageGeometry(m, OutputSettings{}, true);
  EXPECT_TRUE(page.landscape);
  EXPECT_EQ(page.offsetX, 118);
  EXPECT_EQ(page.offsetY, 118);
}

TEST(DiagramFont, SizeFollowsScaleAndAdjustment) {
  EXPECT_EQ(DiagramFontHeight(125, -6), 24 * 119 / 10);
  EXPECT_EQ(DiagramFontHeight(10, -20), 1);  // never vanishes
  EXPECT_EQ(DiagramCellWidth(100, 20, 10), 50);
}

}  // namespace
}  // namespace kv::print
