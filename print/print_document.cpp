#include "print/print_document.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>

#include "collections/export_formats.h"
#include "collections/forsyth.h"
#include "collections/problem_file.h"
#include "print/diagram_drawing.h"
#include "print/qt_text.h"
#include "print/twin_lines.h"
#include "solver/problem_type.h"

namespace kv::print {
namespace {

constexpr int DefaultPaneFontHeight = 13;
constexpr int BoldWeight = 600;
constexpr const char* SubstituteFace = "DejaVu Sans Condensed";

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

QFont PrintTextFont(const PaneFont& paneFont, int scaleY) {
  QString face = QString::fromStdString(FaceName(paneFont));
  // The panes' face may be one this system lacks (the default is Arial); a
  // narrow face then keeps the lines close to the widths the layout expects.
  if (!QFontDatabase::hasFamily(face)) face = SubstituteFace;
  QFont font(face);
  const int height = paneFont.height == 0 ? DefaultPaneFontHeight : std::abs(paneFont.height);
  font.setPixelSize(std::max(1, height * scaleY / 10));
  font.setBold(paneFont.weight >= BoldWeight);
  font.setItalic(paneFont.italic != 0);
  return font;
}

// One line of text with its top-left corner in `box`, cut at the box's edges.
void DrawLine(QPainter& painter, const QRectF& box, int alignment, const QString& text) {
  painter.drawText(box, alignment | Qt::AlignTop | Qt::TextSingleLine, text);
}

void DrawDiagramBlock(const PrintDocument& doc, QPainter& painter, int x, int y,
                      const PrintedProblem& printed) {
  const int rows = doc.settings[OutputDiagramRows];
  const int border = doc.settings[OutputDiagramBorder];
  const DiagramBlockLayout block = LayoutDiagramBlock(doc.page, doc.fonts, x, y, rows, border);
  const int X = block.left;
  const int W = block.cellWidth;
  const int T = doc.fonts.textLineHeight;
  const auto band = [&](int top) { return QRectF(X + W, top, 8.0 * W, T); };

  painter.setFont(doc.textFont);
  painter.setPen(Qt::black);

  // 1. The first lines of the information, the last one just above the board.
  std::vector<std::string> info = SplitLines(InformationPaneText(printed.problem, doc.language));
  while (!info.empty() && TrimBlanks(info.back()).empty()) info.pop_back();
  const int shown = std::min<int>(block.infoLineCount, static_cast<int>(info.size()));
  for (int i = 0; i < shown; ++i) {
    DrawLine(painter, band(block.infoBottom - (shown - i) * T), Qt::AlignLeft, ToQString(info[i]));
  }

  // 2. The board.
  DrawDiagramText(painter, X, block.frameTop, W, doc.fonts.diagramLineHeight,
                  BoardToDiagramText(printed.board, border));

  // 3. Men, number and stipulation under it.
  painter.setFont(doc.textFont);
  painter.setPen(Qt::black);
  const int under = block.underBoardY;
  DrawLine(painter, band(under), Qt::AlignLeft, ToQString(MenCountText(printed.board)));
  if (printed.number != 0) {
    const std::string label = PositionNumberLabel(doc.language, doc.settings[OutputDiagramSize]) +
                              " " + std::to_string(printed.number);
    DrawLine(painter, band(under), Qt::AlignHCenter, ToQString(label));
  }
  DrawLine(painter, band(under), Qt::AlignRight,
           ToQString(TrimBlanks(FormatProblemType(printed.problem.type))));

  // 4. The twins, one per line.
  const std::vector<std::string> twins = TwinLines(printed.problem, printed.board, doc.language);
  for (std::size_t i = 0; i < twins.size(); ++i) {
    DrawLine(painter, band(block.twinsY + static_cast<int>(i) * T), Qt::AlignHCenter,
             ToQString(twins[i]));
  }
}

}  // namespace

FileResult LoadSheetProblems(const std::string& fileName, const std::vector<int>& records,
                             std::vector<PrintedProblem>& problems) {
  CollectionReader reader;
  if (FileResult opened = reader.Open(fileName); !opened) return opened;
  std::vector<int> wanted = records;
  if (wanted.empty()) {
    for (int r = 0; r < std::min(reader.count(), MaxSheetProblems); ++r) wanted.push_back(r);
  }
  if (wanted.size() > static_cast<std::size_t>(MaxSheetProblems)) wanted.resize(MaxSheetProblems);
  std::vector<PrintedProblem> loaded(wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const int record = wanted[i];
    if (record < 0 || record >= reader.count()) {
      return Fail(FileStatus::NoRecord, "there is no problem " + std::to_string(record + 1) +
                                            "; the file holds " + std::to_string(reader.count()));
    }
    PrintedProblem& printed = loaded[i];
    if (FileResult read = reader.ReadProblem(record, printed.problem); !read) return read;
    printed.board.fill(OffBoard);
    PositionBytesToBoard(printed.problem.storedBoard, printed.board);
    printed.number = record + 1;
  }
  problems = std::move(loaded);
  return {};
}

void PreparePrinting(PrintDocument& document, const PageGeometry& page) {
  document.page = page;
  document.textFont = PrintTextFont(document.paneFont, page.scaleY);
  const QFontMetricsF metrics(document.textFont);
  FontMetrics& fonts = document.fonts;
  fonts.textLineHeight =
      std::max(1, static_cast<int>(std::ceil(metrics.height() + metrics.leading())));
  fonts.characterWidth = std::max(1, static_cast<int>(std::round(metrics.averageCharWidth())));
  fonts.diagramLineHeight = DiagramFontHeight(page.scaleY, document.settings[OutputDiagramSize]);
  fonts.diagramCellWidth = DiagramCellWidth(fonts.diagramLineHeight, page.scaleX, page.scaleY);

  if (document.kind == DocumentKind::Report) {
    int twinLines = 0;
    if (!document.problems.empty()) {
      twinLines = static_cast<int>(
          TwinLines(document.problems[0].problem, document.problems[0].board, document.language)
              .size());
    }
    const int columns = document.settings[OutputReportColumns];
    const bool block = document.settings[OutputReportDiagram] != 0 && !document.problems.empty();
    // The characters per column do not depend on the line count.
    const ReportLayout probe = ComputeReportLayout(page, fonts, columns, block, twinLines, 0);
    document.reportLines = ReportLines(document.paneText, probe.charactersPerColumn);
    document.report = ComputeReportLayout(page, fonts, columns, block, twinLines,
                                          static_cast<int>(document.reportLines.size()));
  }
}

int PageCount(const PrintDocument& document) {
  if (document.kind == DocumentKind::Report) return document.report.pageCount;
  return DiagramSheetPageCount(static_cast<int>(document.problems.size()),
                               document.settings[OutputDiagramColumns],
                               document.settings[OutputDiagramRows]);
}

void DrawPage(const PrintDocument& document, QPainter& painter, int page) {
  if (document.kind == DocumentKind::Report) {
    DrawReportPage(document, painter, page);
  } else {
    DrawDiagramSheetPage(document, painter, page);
  }
}

void DrawDiagramSheetPage(const PrintDocument& document, QPainter& painter, int page) {
  const int columns = std::max(1, document.settings[OutputDiagramColumns]);
  const int rows = std::max(1, document.settings[OutputDiagramRows]);
  const SheetPageRange range =
      DiagramSheetPage(page, static_cast<int>(document.problems.size()), columns, rows);
  const int width = document.page.printableWidth();
  const int height = document.page.printableHeight();
  for (int i = 0; i < range.count; ++i) {
    const int column = i % columns;
    const int row = i / columns;
    DrawDiagramBlock(document, painter, column * width / columns, row * height / rows,
                     document.problems[range.first + i]);
  }
}

void DrawReportPage(const PrintDocument& document, QPainter& painter, int page) {
  const PageGeometry& geometry = document.page;
  const ReportLayout& layout = document.report;
  const int T = document.fonts.textLineHeight;
  const int W = document.fonts.diagramCellWidth;
  int textTop = geometry.marginTop;
  if (page == 0 && layout.headLines > 0) {
    PrintedProblem unnumbered = document.problems[0];
    unnumbered.number = 0;
    DrawDiagramBlock(document, painter, 0, 0, unnumbered);
    textTop += layout.headLines * T;
  }
  const int bottom = geometry.marginTop + geometry.printableHeight();
  const int columnLines = ReportColumnLines(layout, page);
  const int figurines = document.settings[OutputFigurineNotation] != 0 || document.figurines;
  int line = ReportPageFirstLine(layout, page);
  const int lineCount = static_cast<int>(document.reportLines.size());

  painter.setFont(document.textFont);
  for (int c = 0; c < layout.columns; ++c) {
    const int E = c * layout.columnWidth + geometry.marginLeft;
    if (c > 0) {
      painter.setPen(QPen(Qt::black, std::max(1, geometry.scaleX / 10)));
      painter.drawLine(QPointF(E + W / 2.0, textTop), QPointF(E + W / 2.0, bottom));
    }
    painter.setPen(Qt::black);
    for (int i = 0; i < columnLines && line < lineCount; ++i, ++line) {
      const QRectF box(E + W, textTop + i * T, layout.columnWidth - W, T);
      DrawLine(painter, box, Qt::AlignLeft, ToQString(document.reportLines[line], figurines));
    }
  }
}

void DrawMarginGuides(const PrintDocument& document, QPainter& painter) {
  const PageGeometry& g = document.page;
  painter.save();
  painter.setPen(QPen(Qt::gray, std::max(1, g.scaleX / 10), Qt::DotLine));
  const double left = g.marginLeft, right = g.pageWidth - g.marginRight;
  const double top = g.marginTop, bottom = g.pageHeight - g.marginBottom;
  painter.drawLine(QPointF(left, 0), QPointF(left, g.pageHeight));
  painter.drawLine(QPointF(right, 0), QPointF(right, g.pageHeight));
  painter.drawLine(QPointF(0, top), QPointF(g.pageWidth, top));
  painter.drawLine(QPointF(0, bottom), QPointF(g.pageWidth, bottom));
  painter.restore();
}

}  // namespace kv::print
