// The arithmetic of the two printed documents: how many pages a diagram
// sheet or a report takes, where each report page starts in the text, and
// where the parts of a diagram block go. Plain numbers in printer pixels, no
// drawing, so that tests check a layout without a printer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "print/page_geometry.h"
#include "strings/language.h"

namespace kv::print {

// The most problems one diagram sheet prints.
inline constexpr int MaxSheetProblems = 2000;

// Heights and widths of the two print fonts, in printer pixels.
struct FontMetrics {
  int textLineHeight = 1;  // text font height plus external leading
  int characterWidth = 1;  // the text font's average width
  int diagramLineHeight = 1;
  int diagramCellWidth = 1;  // diagram line height, corrected for unequal scales
};

// Diagram font height: 24 screen pixels, grown or shrunk by the size
// adjustment in tenths of the scale; never below one pixel.
int DiagramFontHeight(int scaleY, int sizeAdjustment);
// The diagram cell width for a diagram line height.
int DiagramCellWidth(int diagramLineHeight, int scaleX, int scaleY);

// Pages of a diagram sheet: problems / (columns x rows), rounded up.
int DiagramSheetPageCount(int problems, int columns, int rows);
// The problems of page p: the first index and how many.
struct SheetPageRange {
  int first = 0;
  int count = 0;
};
SheetPageRange DiagramSheetPage(int page, int problems, int columns, int rows);

// The text lines the diagram block of a report takes, its twins included.
int ReportDiagramLines(const FontMetrics& fonts, int twinLines);

struct ReportLayout {
  int columns = 1;         // K
  int linesPerColumn = 1;  // R
  int charactersPerColumn = 1;
  int headLines = 0;  // r: lines every column of page 0 leaves to the diagram block
  int pageCount = 1;
  int columnWidth = 1;  // printable width / K
};

// The layout of a report of `lines` text lines. headLines is the diagram
// block's height less one when it is printed, else 0. A report always has at
// least one page, even when it is empty.
ReportLayout ComputeReportLayout(const PageGeometry& page, const FontMetrics& fonts, int columns,
                                 bool diagramBlock, int twinLines, int lines);
// The first text line page p prints: p x R x K - r x K, and 0 on page 0.
// Computed for every page, so that reports longer than any table print whole.
int ReportPageFirstLine(const ReportLayout& layout, int page);
// Lines a column of page p holds.
int ReportColumnLines(const ReportLayout& layout, int page);

// The pane's text as the report prints it: one entry per line of the text,
// each line longer than the column continued on further lines (broken at a
// blank where one is near) rather than cut, so that no move is lost on paper.
std::vector<std::string> ReportLines(std::string_view paneText, int charactersPerColumn);

// The parts of a diagram block at (x, y), relative to the margins.
struct DiagramBlockLayout {
  int left = 0;           // X: left edge of the frame column
  int cellWidth = 0;      // W
  int infoLineCount = 6;  // n: 6, or 4 with five rows or more per page
  int boardTop = 0;       // B: top edge of rank 8
  int frameTop = 0;       // top of the diagram text's first row
  int infoBottom = 0;     // bottom of the last information line, clear of the frame
  int underBoardY = 0;    // the line under the board (men, number, stipulation)
  int twinsY = 0;         // the first twin line
};
DiagramBlockLayout LayoutDiagramBlock(const PageGeometry& page, const FontMetrics& fonts, int x,
                                      int y, int rowsPerPage, int borderStyle);

// The label before a diagram's number: "Position n°" in French, message 152
// in the other languages, "Pos n°" when the diagrams are printed small
// (size adjustment -4 or less). Windows-1252.
std::string PositionNumberLabel(const Language& language, int sizeAdjustment);

}  // namespace kv::print
