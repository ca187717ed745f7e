// The print preview: the pages of a document as they will print, one or two
// side by side, at a chosen zoom, with paging, margin guides and a copy of
// the page to the clipboard. Its decisions live in print_preview_logic.h; this
// dialog shows them and collects the user's choices.
#pragma once

#include <QDialog>
#include <QPicture>
#include <QPrinter>
#include <memory>

#include "print/print_document.h"
#include "print/print_preview_logic.h"
#include "strings/dialog_controls.h"
#include "strings/language.h"

namespace kv::print {

// What the preview's caller does next: closed, or the id of the button that
// ended it (strings/dialog_controls.h): open the print options, or print the
// document shown.
inline constexpr int PreviewClosed = 2;
inline constexpr int PreviewPrintSetup = print_preview_control::SetupButton;
inline constexpr int PreviewPrint = print_preview_control::PrintButton;

// Shows the preview of `document` on `printer`'s pages as a modal dialog
// over `parent`, its buttons in `language` (the French layout without one);
// PreviewClosed at once when the printer cannot be used.
int RunPrintPreview(PrintDocument& document, QPrinter& printer, PreviewZoomMemory& memory,
                    QWidget* parent, const Language* language = nullptr);

class PreviewView;

class PrintPreviewDialog : public QDialog {
 public:
  PrintPreviewDialog(PrintDocument& document, QPrinter& printer, PreviewZoomMemory& memory,
                     QWidget* parent = nullptr);
  ~PrintPreviewDialog() override;

  int page() const { return page_; }
  int pageCount() const { return pageCount_; }
  int zoom() const { return zoom_; }
  bool twoPages() const { return twoPages_; }
  bool guides() const { return guides_; }
  const PageGeometry& geometry() const { return document_.page; }
  const QPicture& picture(int which) const { return pictures_[which]; }

  // The buttons' texts in `language`; the zoom box takes its label as tooltip.
  void Translate(const Language& language);
  void GoToPage(int page);
  // Entry of the zoom box: 0..6 the percentages, 7 "Full Page", 8 "2 Pages".
  void ChooseZoomEntry(int entry);
  void ApplyTypedZoom(int typed);
  void SetGuides(bool on);
  // Renders the current page at the zoomed size, as the clipboard gets it.
  QImage PageImage() const;
  void ExportToClipboard();
  void ClickAt(QPoint viewportPoint);

 private:
  friend class PreviewView;
  void RecordPictures();
  void SetZoom(int zoom, bool twoPages);
  void UpdateControls();
  FitZooms Fits() const;
  int ZoomedWidth() const;
  int ZoomedHeight() const;

  PrintDocument& document_;
  PreviewZoomMemory& memory_;
  PreviewView* view_ = nullptr;
  QPicture pictures_[2];
  int page_ = 0;
  int pageCount_ = 1;
  int zoom_ = 100;
  bool twoPages_ = false;
  bool guides_ = false;
  bool zoomEdited_ = false;
  struct Controls;
  std::unique_ptr<Controls> controls_;
};

}  // namespace kv::print
