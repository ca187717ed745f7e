#include "print/print_layout.h"
#include "strings/message_ids.h"

#include <algorithm>

namespace kv::print {
namespace {

constexpr int DiagramScreenHeight = 24;  // the diagram font's height on the screen
constexpr int SmallDiagramAdjustment = -4;
constexpr int BoardRanks = 8;
// Lines of a continued report line start this many blanks in, so that the
// reader sees they belong to the line above.
constexpr int ContinuationIndent = 2;

int CeilDiv(int a, int b) {
  return b <= 0 ? 0 : (a + b - 1) / b;
}

}  // namespace

int DiagramFontHeight(int scaleY, int sizeAdjustment) {
  return std::max(1, DiagramScreenHeight * (scaleY + sizeAdjustment) / 10);
}

int DiagramCellWidth(int diagramLineHeight, int scaleX, int scaleY) {
  if (scaleX <= 0) return diagramLineHeight;
  return std::max(1, diagramLineHeight * scaleY / scaleX);
}

int DiagramSheetPageCount(int problems, int columns, int rows) {
  problems = std::clamp(problems, 0, MaxSheetProblems);
  return CeilDiv(problems, std::max(1, columns) * std::max(1, rows));
}

SheetPageRange DiagramSheetPage(int page, int problems, int columns, int rows) {
  problems = std::clamp(problems, 0, MaxSheetProblems);
  const int perPage = std::max(1, columns) * std::max(1, rows);
  SheetPageRange range;
  range.first = std::max(0, page) * perPage;
  range.count = std::clamp(problems - range.first, 0, perPage);
  return range;
}

int ReportDiagramLines(const FontMetrics& fonts, int twinLines) {
  const int text = std::max(1, fonts.textLineHeight);
  int lines = (8 * text + 9 * fonts.diagramLineHeight) / text + 1;
  if (twinLines > 0) lines += twinLines + 1;
  return lines;
}

ReportLayout ComputeReportLayout(const PageGeometry& page, const FontMetrics& fonts, int columns,
                                 bool diagramBlock, int twinLines, int lines) {
  ReportLayout layout;
  layout.columns = std::clamp(columns, 1, 4);
  layout.columnWidth = std::max(1, page.printableWidth() / layout.columns);
  layout.linesPerColumn = std::max(1, page.printableHeight() / std::max(1, fonts.textLineHeight));
  layout.charactersPerColumn =
      std::max(1, layout.columnWidth / std::max(1, fonts.characterWidth) - 1);
  layout.headLines = diagramBlock ? ReportDiagramLines(fonts, twinLines) - 1 : 0;
  const int k = layout.columns;
  const int perPage = layout.linesPerColumn * k;
  // Page 0 gives each column's first r lines to the diagram block; when the
  // block fills the page, page 0 holds no text and the count still covers it.
  layout.pageCount = std::max(1, CeilDiv(std::max(0, lines) + layout.headLines * k, perPage));
  return layout;
}

int ReportPageFirstLine(const ReportLayout& layout, int page) {
  if (page <= 0) return 0;
  const int k = layout.columns;
  return page * layout.linesPerColumn * k - layout.headLines * k;
}

int ReportColumnLines(const ReportLayout& layout, int page) {
  if (page > 0) return layout.linesPerColumn;
  return std::max(0, layout.linesPerColumn - layout.headLines);
}

std::vector<std::string> ReportLines(std::string_view paneText, int charactersPerColumn) {
  const std::size_t width = static_cast<std::size_t>(std::max(1, charactersPerColumn));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= paneText.size()) {
    std::size_t end = paneText.find('\n', start);
    if (end == std::string_view::npos) end = paneText.size();
    std::string_view line = paneText.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const bool last = end >= paneText.size();
    if (last && line.empty()) break;  // the line break ending the text opens no line

    std::string indent;
    do {
      const std::size_t room = width > indent.size() ? width - indent.size() : 1;
      std::size_t cut = std::min(room, line.size());
      if (cut < line.size()) {
        // Break at the last blank of the second half of the room when there is one.
        const std::size_t blank = line.substr(0, cut + 1).find_last_of(' ');
        if (blank != std::string_view::npos && blank >= room / 2 && blank > 0) cut = blank;
      }
      lines.push_back(indent + std::string(line.substr(0, cut)));
      line.remove_prefix(cut);
      while (!line.empty() && line.front() == ' ' && !indent.empty()) line.remove_prefix(1);
      if (indent.empty()) {
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        if (width > ContinuationIndent + 1) indent.assign(ContinuationIndent, ' ');
      }
    } while (!line.empty());
    if (last) break;
    start = end + 1;
  }
  return lines;
}

DiagramBlockLayout LayoutDiagramBlock(const PageGeometry& page, const FontMetrics& fonts, int x,
                                      int y, int rowsPerPage, int borderStyle) {
  DiagramBlockLayout block;
  block.left = x + page.marginLeft;
  block.cellWidth = fonts.diagramCellWidth;
  block.infoLineCount = rowsPerPage >= 5 ? 4 : 6;
  block.boardTop = y + page.marginTop + (block.infoLineCount + 1) * fonts.textLineHeight;
  block.frameTop = block.boardTop - fonts.diagramLineHeight;
  // The frame's rules take this much of the border row next to the board;
  // the texts above and below keep clear of them.
  const int frame = borderStyle > 0 ? fonts.diagramLineHeight * 3 / 10 : 0;
  block.infoBottom = block.boardTop - frame;
  block.underBoardY = block.boardTop + BoardRanks * fonts.diagramLineHeight + frame + 2;
  // The coordinates fill the bottom border row: the line goes below them.
  if (borderStyle >= 3) {
    block.underBoardY = block.boardTop + (BoardRanks + 1) * fonts.diagramLineHeight + 2;
  }
  block.twinsY = block.underBoardY + fonts.textLineHeight;
  return block;
}

std::string PositionNumberLabel(const Language& language, int sizeAdjustment) {
  if (sizeAdjustment <= SmallDiagramAdjustment) return "Pos n\xB0";
  if (language.base == LanguageFrench) return "Position n\xB0";
  return LoadMessage(language, msg::PositionNumber);
}

}  // namespace kv::print
