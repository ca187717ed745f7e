#include "print/print_preview_dialog.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "print/print_job.h"
#include "print/qt_text.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"

namespace kv::print {

namespace {

constexpr int ButtonBarHeight = 26;
constexpr const char* CopiedMessage = "Print preview has been copied to the clipboard";
constexpr const char* ProductName = "Kestrovale";

ScrollAction ActionOf(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::PageDown;
    case QAbstractSlider::SliderToMinimum:
      return ScrollAction::Top;
    case QAbstractSlider::SliderToMaximum:
      return ScrollAction::Bottom;
    default:
      return ScrollAction::Track;
  }
}

}  // namespace

// The area under the button bar: plays the recorded pages at the zoom.
class PreviewView : public QAbstractScrollArea {
 public:
  explicit PreviewView(PrintPreviewDialog& dialog) : dialog_(dialog) {
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
      bar->setSingleStep(ScrollLineStep);
      QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar](int action) {
        // The slider has moved by Qt's own step already; the offset is set
        // again from the value before the action with the preview's steps.
        ScrollAxis axis = Axis(bar == horizontalScrollBar());
        axis.offset = bar->value();
        bar->setSliderPosition(ScrollTo(axis, ActionOf(action), bar->sliderPosition()));
      });
      QObject::connect(bar, &QAbstractSlider::valueChanged, viewport(),
                       [this] { viewport()->update(); });
    }
  }

  ScrollAxis Axis(bool horizontal) const {
    ScrollAxis axis;
    axis.zoomed = horizontal ? dialog_.ZoomedWidth() : dialog_.ZoomedHeight();
    axis.client = horizontal ? viewport()->width() : viewport()->height();
    axis.offset = horizontal ? horizontalScrollBar()->value() : verticalScrollBar()->value();
    return axis;
  }

  // The bars appear only where the zoomed page is at least as large as the
  // client; their range is the zoomed size, their page the client size.
  void UpdateBars() {
    for (const bool horizontal : {true, false}) {
      QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
      const ScrollAxis axis = Axis(horizontal);
      const Qt::ScrollBarPolicy policy =
          axis.hasBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
      if (horizontal)
        setHorizontalScrollBarPolicy(policy);
      else
        setVerticalScrollBarPolicy(policy);
      bar->setRange(0, axis.maxOffset());
      bar->setPageStep(std::max(1, axis.client));
    }
    viewport()->update();
  }

  // The rectangle of the current page on the viewport.
  QRect PageRect() const {
    const ScrollAxis h = Axis(true), v = Axis(false);
    int x = PageOrigin(h);
    if (SecondPageShown()) x = h.client / 2 - h.zoomed;
    return QRect(x, PageOrigin(v), h.zoomed, v.zoomed);
  }

  bool SecondPageShown() const {
    return ShowsSecondPage(dialog_.twoPages_, dialog_.ZoomedWidth(), viewport()->width(),
                           dialog_.page_, dialog_.pageCount_);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(viewport());
    const QRect first = PageRect();
    DrawPicture(painter, first, dialog_.pictures_[0]);
    if (SecondPageShown()) {
      DrawPicture(painter, first.translated(first.width() + 8, 0), dialog_.pictures_[1]);
    }
  }

  void resizeEvent(QResizeEvent*) override { UpdateBars(); }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) dialog_.ClickAt(event->position().toPoint());
  }

 private:
  void DrawPicture(QPainter& painter, const QRect& where, const QPicture& picture) const {
    const PageGeometry& g = dialog_.geometry();
    painter.fillRect(where.translated(3, 3), Qt::black);
    painter.fillRect(where, Qt::white);
    painter.save();
    painter.setClipRect(where);
    painter.translate(where.topLeft());
    painter.scale(static_cast<double>(where.width()) / std::max(1, g.pageWidth),
                  static_cast<double>(where.height()) / std::max(1, g.pageHeight));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPicture(0, 0, picture);
    painter.restore();
  }

  PrintPreviewDialog& dialog_;
};

struct PrintPreviewDialog::Controls {
  QPushButton* print = nullptr;
  QPushButton* setup = nullptr;
  QPushButton* previous = nullptr;
  QLineEdit* pageEdit = nullptr;
  QPushButton* next = nullptr;
  QComboBox* zoomBox = nullptr;
  QPushButton* close = nullptr;
  QCheckBox* guides = nullptr;
  QPushButton* exportBmp = nullptr;
};

int RunPrintPreview(PrintDocument& document, QPrinter& printer, PreviewZoomMemory& memory,
                    QWidget* parent, const Language* language) {
  if (!printer.isValid()) return PreviewClosed;
  PrintPreviewDialog dialog(document, printer, memory, parent);
  if (language != nullptr) dialog.Translate(*language);
  if (parent) dialog.resize(parent->size());
  return dialog.exec();
}

PrintPreviewDialog::PrintPreviewDialog(PrintDocument& document, QPrinter& printer,
                                       PreviewZoomMemory& memory, QWidget* parent)
    : QDialog(parent), document_(document), memory_(memory), controls_(new Controls) {
  setWindowTitle(QString::fromUtf8("Aper\xC3\xA7u"));
  Controls& c = *controls_;
  // The object name is the control id (strings/dialog_controls.h).
  auto button = [this](const char* text, int id) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
  };
  c.print = button("&Imprimer", print_preview_control::PrintButton);
  c.setup = button("&Print Setup...", print_preview_control::SetupButton);
  c.previous = button("&<<", print_preview_control::PreviousButton);
  c.pageEdit = new QLineEdit(this);
  c.pageEdit->setObjectName(QString::number(print_preview_control::PageEdit));
  c.pageEdit->setValidator(new QIntValidator(0, 99999, c.pageEdit));
  c.pageEdit->setMaximumWidth(50);
  c.next = button("&>>", print_preview_control::NextButton);
  c.zoomBox = new QComboBox(this);
  c.zoomBox->setObjectName(QString::number(print_preview_control::ZoomBox));
  c.zoomBox->setEditable(true);
  c.zoomBox->setInsertPolicy(QComboBox::NoInsert);
  for (int entry = 0; entry < ZoomEntryCount; ++entry) {
    c.zoomBox->addItem(QString::fromStdString(ZoomEntryText(entry)));
  }
  c.close = button("&Fermer", print_preview_control::CloseButton);
  c.guides = new QCheckBox("|--| ", this);
  c.guides->setObjectName(QString::number(print_preview_control::GuidesBox));
  c.exportBmp = button("&Export bmp", print_preview_control::ExportButton);

  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(2, 0, 2, 0);
  for (QWidget* w :
       std::initializer_list<QWidget*>{c.print, c.setup, c.previous, c.pageEdit, c.next, c.zoomBox,
                                       c.close, c.guides, c.exportBmp}) {
    w->setFixedHeight(ButtonBarHeight - 4);
    bar->addWidget(w);
  }
  bar->addStretch();
  view_ = new PreviewView(*this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(bar);
  layout->addWidget(view_, 1);

  const auto finish = [this](int result) { done(result); };
  connect(c.print, &QPushButton::clicked, this, [finish] { finish(PreviewPrint); });
  connect(c.setup, &QPushButton::clicked, this, [finish] { finish(PreviewPrintSetup); });
  connect(c.close, &QPushButton::clicked, this, [finish] { finish(PreviewClosed); });
  connect(c.previous, &QPushButton::clicked, this, [this] { GoToPage(page_ - 1); });
  connect(c.next, &QPushButton::clicked, this, [this] { GoToPage(page_ + 1); });
  connect(c.pageEdit, &QLineEdit::returnPressed, this,
          [this] { GoToPage(PageFromTyped(controls_->pageEdit->text().toInt(), pageCount_)); });
  connect(c.zoomBox, &QComboBox::activated, this, [this](int entry) { ChooseZoomEntry(entry); });
  connect(c.zoomBox->lineEdit(), &QLineEdit::textEdited, this, [this] { zoomEdited_ = true; });
  connect(c.zoomBox->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    QString typed = controls_->zoomBox->lineEdit()->text();
    typed.remove('%');
    ApplyTypedZoom(typed.trimmed().toInt());
  });
  connect(c.guides, &QCheckBox::toggled, this, [this](bool on) { SetGuides(on); });
  connect(c.exportBmp, &QPushButton::clicked, this, [this] { ExportToClipboard(); });

  // The whole sheet is drawn, unprintable border included.
  PreparePrinting(document_, ComputePageGeometry(MetricsOf(printer), document_.settings, true));
  pageCount_ = std::max(1, PageCount(document_));
  resize(900, 700);
  zoom_ = OpeningZoom(memory_, Fits());
  RecordPictures();
  UpdateControls();
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

FitZooms PrintPreviewDialog::Fits() const {
  // Before the dialog is first shown the view has no size yet: the client
  // is then the dialog less its button bar.
  const QSize client = view_->isVisible() ? view_->viewport()->size()
                                          : QSize(width(), height() - ButtonBarHeight - 2);
  const PageGeometry& g = document_.page;
  return ComputeFitZooms({g.pageWidth, g.pageHeight}, {client.width(), client.height()}, g.scaleX,
                         g.scaleY);
}

int PrintPreviewDialog::ZoomedWidth() const {
  return ZoomedSize(document_.page.pageWidth, zoom_, document_.page.scaleX);
}
int PrintPreviewDialog::ZoomedHeight() const {
  return ZoomedSize(document_.page.pageHeight, zoom_, document_.page.scaleY);
}

void PrintPreviewDialog::RecordPictures() {
  for (int i = 0; i < 2; ++i) {
    pictures_[i] = QPicture();
    const int page = page_ + i;
    if (page >= pageCount_) continue;
    QPainter painter(&pictures_[i]);
    painter.fillRect(QRect(0, 0, document_.page.pageWidth, document_.page.pageHeight), Qt::white);
    DrawPage(document_, painter, page);
    if (guides_) DrawMarginGuides(document_, painter);
  }
}

void PrintPreviewDialog::Translate(const Language& language) {
  for (const ControlText& label : TranslateDialog(language, DialogPrintPreview)) {
    QWidget* control = findChild<QWidget*>(QString::number(label.control));
    if (auto* button = qobject_cast<QPushButton*>(control))
      button->setText(ToQString(label.text));
    else if (control != nullptr)
      control->setToolTip(ToQString(label.text));
  }
}

void PrintPreviewDialog::GoToPage(int page) {
  if (page < 0 || page >= pageCount_ || page == page_) return;
  page_ = page;
  RecordPictures();
  UpdateControls();
}

void PrintPreviewDialog::SetZoom(int zoom, bool twoPages) {
  const int oldWidth = ZoomedWidth(), oldHeight = ZoomedHeight();
  const int offsetX = view_->horizontalScrollBar()->value();
  const int offsetY = view_->verticalScrollBar()->value();
  zoom_ = ClampZoom(zoom);
  twoPages_ = twoPages;
  view_->UpdateBars();
  view_->horizontalScrollBar()->setValue(ProportionalOffset(offsetX, oldWidth, ZoomedWidth()));
  view_->verticalScrollBar()->setValue(ProportionalOffset(offsetY, oldHeight, ZoomedHeight()));
  UpdateControls();
}

void PrintPreviewDialog::ChooseZoomEntry(int entry) {
  zoomEdited_ = false;
  const FitZooms fits = Fits();
  int zoom = fits.fullPage;
  if (entry >= 0 && entry < static_cast<int>(ZoomPercentages.size())) zoom = ZoomPercentages[entry];
  if (entry == ZoomEntryTwoPages) zoom = fits.twoPages;
  RememberZoom(memory_, ClampZoom(zoom));
  SetZoom(zoom, entry == ZoomEntryTwoPages);
}

void PrintPreviewDialog::ApplyTypedZoom(int typed) {
  zoomEdited_ = false;
  const int zoom = ClampZoom(typed);
  RememberZoom(memory_, zoom);
  SetZoom(zoom, false);
}

void PrintPreviewDialog::SetGuides(bool on) {
  if (guides_ == on) return;
  guides_ = on;
  RecordPictures();
  UpdateControls();
}

void PrintPreviewDialog::ClickAt(QPoint point) {
  const QRect page = view_->PageRect();
  if (!page.contains(point)) return;
  const int newZoom = ClampZoom(ClickZoom(memory_, zoom_));
  const int newWidth = ZoomedSize(document_.page.pageWidth, newZoom, document_.page.scaleX);
  const int newHeight = ZoomedSize(document_.page.pageHeight, newZoom, document_.page.scaleY);
  const int x =
      CentreOnClick(point.x(), page.left(), page.width(), newWidth, view_->viewport()->width());
  const int y =
      CentreOnClick(point.y(), page.top(), page.height(), newHeight, view_->viewport()->height());
  zoom_ = newZoom;
  view_->UpdateBars();
  view_->horizontalScrollBar()->setValue(x);
  view_->verticalScrollBar()->setValue(y);
  UpdateControls();
}

QImage PrintPreviewDialog::PageImage() const {
  QImage image(std::max(1, ZoomedWidth()), std::max(1, ZoomedHeight()), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(static_cast<double>(image.width()) / std::max(1, document_.page.pageWidth),
                static_cast<double>(image.height()) / std::max(1, document_.page.pageHeight));
  painter.drawPicture(0, 0, pictures_[0]);
  return image;
}

void PrintPreviewDialog::ExportToClipboard() {
  const QImage image = PageImage();
  if (image.isNull()) return;  // no bitmap: nothing copied, nothing said
  QApplication::clipboard()->setImage(image);
  QMessageBox::information(this, ProductName, CopiedMessage);
}

void PrintPreviewDialog::UpdateControls() {
  Controls& c = *controls_;
  c.pageEdit->setText(QString::number(page_ + 1));
  c.next->setEnabled(page_ + 1 < pageCount_);
  c.previous->setEnabled(page_ > 0);
  {
    const QSignalBlocker block(c.guides);
    c.guides->setChecked(guides_);
  }
  if (!zoomEdited_) c.zoomBox->setEditText(QString::fromStdString(ZoomText(zoom_)));
  view_->UpdateBars();
}

}  // namespace kv::print
