// The print options: three pages of one sheet, "Diagrammes", "Rapport" and
// the margins, that edit the print settings and can open the preview.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>

#include "config/settings.h"
#include "print/page_geometry.h"
#include "print/print_document.h"
#include "strings/language.h"

namespace kv::print {

// The dialog's result when a page's "Aperçu..." button closed it: the
// settings are applied and the preview of previewKind() should open.
inline constexpr int OptionsOpenPreview = 142;

class PrintOptionsDialog : public QDialog {
 public:
  // `metrics` gives the scale and the unprintable offsets the values are held to.
  PrintOptionsDialog(const OutputSettings& settings, QPrinter& printer, QWidget* parent = nullptr);
  ~PrintOptionsDialog() override;

  // Puts the texts of `language` on the sheet: the page titles, the labels
  // and buttons of the pages, the standard buttons; `title` (when not empty)
  // is the menu text of the command that opened it. The Help button shows
  // when onHelp is set.
  void Translate(const Language& language, const QString& title);
  // Opens at the "Diagrams" page or at the "Report" page.
  void ShowPageOf(DocumentKind kind);
  std::function<void(int context)> onHelp;

  // The settings as the pages hold them now.
  OutputSettings Settings() const;
  DocumentKind previewKind() const { return previewKind_; }

  // Typed values go through the same corrections as the spin boxes.
  void SetDiagramSize(int value);
  void SetMargin(int position, int millimetres);
  QString DiagramSizePercentText() const;
  int MarginValue(int position) const;
  int DiagramSizeValue() const;

 private:
  void ReadPrinter();
  void PrinterSetup();
  struct Pages;
  std::unique_ptr<Pages> pages_;
  OutputSettings settings_;
  QPrinter& printer_;
  PrinterMetrics metrics_;
  DocumentKind previewKind_ = DocumentKind::DiagramSheet;
};

}  // namespace kv::print
