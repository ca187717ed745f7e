#include "print/print_job.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QScreen>
#include <algorithm>

namespace kv::print {
namespace {

constexpr int FallbackScreenDpi = 96;

}  // namespace

PrinterMetrics MetricsOf(QPrinter& printer) {
  PrinterMetrics m;
  m.dpiX = printer.logicalDpiX();
  m.dpiY = printer.logicalDpiY();
  m.screenDpiX = m.screenDpiY = FallbackScreenDpi;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    m.screenDpiX = std::max(1, static_cast<int>(screen->logicalDotsPerInchX()));
    m.screenDpiY = std::max(1, static_cast<int>(screen->logicalDotsPerInchY()));
  }
  const QPageLayout layout = printer.pageLayout();
  const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
  const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
  m.paperWidthMm = paper.width();
  m.paperHeightMm = paper.height();
  m.printableWidthMm = printable.width();
  m.printableHeightMm = printable.height();
  const QRect pixels = layout.paintRectPixels(m.dpiX);
  m.printableWidthPixels = pixels.width();
  m.printableHeightPixels = pixels.height();
  return m;
}

PageRange ClampPageRange(PageRange range, int pageCount) {
  const int last = std::max(1, pageCount);
  range.from = std::clamp(range.from, 1, last);
  range.to = std::clamp(range.to, range.from, last);
  return range;
}

int PrintDocumentOn(PrintDocument& document, QPrinter& printer, PageRange range) {
  printer.setDocName(PrintJobName);
  PreparePrinting(document, ComputePageGeometry(MetricsOf(printer), document.settings, false));
  range = ClampPageRange(range, PageCount(document));
  QPainter painter;
  if (!painter.begin(&printer)) return -1;
  int printed = 0;
  for (int page = range.from; page <= range.to; ++page) {
    if (page > range.from && !printer.newPage()) break;
    DrawPage(document, painter, page - 1);
    ++printed;
  }
  painter.end();
  return printed;
}

PrintOutcome PrintWithDialog(PrintDocument& document, QPrinter& printer, QWidget* parent,
                             int& lastPageCount) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, lastPageCount > 0 ? lastPageCount : UnknownLastPage);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
  PageRange range;
  if (printer.printRange() == QPrinter::PageRange) {
    range.from = printer.fromPage();
    range.to = printer.toPage();
  }
  const int printed = PrintDocumentOn(document, printer, range);
  if (printed < 0) return PrintOutcome::Failed;
  lastPageCount = PageCount(document);
  return PrintOutcome::Printed;
}

void MakePdfPrinter(QPrinter& printer, const QString& fileName) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(fileName);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(false);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QImage RenderPageImage(PrintDocument& document, const PrinterMetrics& metrics, int page, int dpi) {
  const PageGeometry geometry = ComputePageGeometry(metrics, document.settings, true);
  PreparePrinting(document, geometry);
  const double scale = static_cast<double>(dpi) / std::max(1, metrics.dpiX);
  QImage image(std::max(1, static_cast<int>(geometry.pageWidth * scale)),
               std::max(1, static_cast<int>(geometry.pageHeight * scale)), QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
  image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  DrawPage(document, painter, page);
  return image;
}

}  // namespace kv::print
