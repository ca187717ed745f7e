// Printing a document: on a printer chosen in the platform's print dialog, to
// a PDF file, or into images, and the page geometry of a printer device.
#pragma once

#include <QImage>
#include <QPrinter>
#include <QString>
#include <QWidget>

#include "print/page_geometry.h"
#include "print/print_document.h"

namespace kv::print {

// The title of every print job.
inline constexpr const char* PrintJobName = "Impression en cours";
// Pages printed when the dialog names no range.
inline constexpr int DefaultLastPage = 100;
// The range the dialog offers before any document was counted.
inline constexpr int UnknownLastPage = 65535;

// What the device reports; the screen's resolution from the primary screen
// (96 dpi without one).
PrinterMetrics MetricsOf(QPrinter& printer);

// A page range from 1, brought within 1 .. page count.
struct PageRange {
  int from = 1;
  int to = DefaultLastPage;
};
PageRange ClampPageRange(PageRange range, int pageCount);

// Prints pages from .. to (from 1) of the document on `printer`, whose
// settings are already chosen. Stops at the first page that cannot be
// started. Returns the number of pages printed; -1 when the device could not
// be opened.
int PrintDocumentOn(PrintDocument& document, QPrinter& printer, PageRange range);

// Shows the print dialog over `parent` and prints the chosen pages.
// `lastPageCount` is the count of the previous run (0 for none) and is
// updated. A device that cannot be opened is a failure, not a print.
enum class PrintOutcome { Cancelled, Printed, Failed };
PrintOutcome PrintWithDialog(PrintDocument& document, QPrinter& printer, QWidget* parent,
                             int& lastPageCount);

// A printer that writes an A4 PDF file with no unprintable border.
void MakePdfPrinter(QPrinter& printer, const QString& fileName);

// Page p of the document drawn on a white image of the whole sheet at `dpi`,
// with the geometry of an A4 sheet seen by a printer of `printerDpi`.
QImage RenderPageImage(PrintDocument& document, const PrinterMetrics& metrics, int page, int dpi);

}  // namespace kv::print
