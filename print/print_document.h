// The two printed documents, a diagram sheet and a report, as one object that
// knows its pages: it prepares its fonts for a page geometry, counts its
// pages and draws any page on a QPainter, whether a printer, a PDF file, a
// recorded picture of the preview or an image.
#pragma once

#include <QFont>
#include <QPainter>
#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "config/settings.h"
#include "core/position.h"
#include "print/page_geometry.h"
#include "print/print_layout.h"
#include "strings/language.h"

namespace kv::print {

enum class DocumentKind { DiagramSheet, Report };

// One problem as a diagram prints it.
struct PrintedProblem {
  CurrentProblem problem;
  Board board{};
  int number = 0;  // shown under the diagram; 0 for none
};

struct PrintDocument {
  DocumentKind kind = DocumentKind::DiagramSheet;
  OutputSettings settings;
  PaneFont paneFont = DefaultPaneFont();
  Language language;
  bool figurines = false;
  // A diagram sheet: its problems in print order. A report: the current
  // problem (number 0) and the text of the solution pane.
  std::vector<PrintedProblem> problems;
  std::string paneText;

  // Set by PreparePrinting.
  PageGeometry page;
  FontMetrics fonts;
  QFont textFont;
  std::vector<std::string> reportLines;
  ReportLayout report;
};

// Reads the problems of a sheet: `records` (from 0) of the collection, or the
// whole collection when `records` is empty, at most 2000. On failure nothing
// is kept and the result says why.
FileResult LoadSheetProblems(const std::string& fileName, const std::vector<int>& records,
                             std::vector<PrintedProblem>& problems);

// The fonts, metrics and page count for a page geometry.
void PreparePrinting(PrintDocument& document, const PageGeometry& page);
int PageCount(const PrintDocument& document);

// Draws page p (from 0) of the document.
void DrawPage(const PrintDocument& document, QPainter& painter, int page);
void DrawDiagramSheetPage(const PrintDocument& document, QPainter& painter, int page);
void DrawReportPage(const PrintDocument& document, QPainter& painter, int page);
// The dotted margin lines across the whole page (the preview only).
void DrawMarginGuides(const PrintDocument& document, QPainter& painter);

}  // namespace kv::print
