#include "app/multiple_view_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/board_editing.h"
#include "app/dialog_frame.h"
#include "app/main_window.h"
#include "app/small_diagram.h"
#include "collections/export.h"
#include "collections/file_result.h"
#include "collections/problem_file.h"
#include "solver/problem_type.h"
#include "strings/line_ends.h"

namespace kv::app {

namespace {

// The text under a diagram: three lines in a small font.
constexpr int kTextPixelSize = 11;
constexpr int kTextGap = 3;

QString PaneLines(const std::string& text) {
  return FromCp1252(CrlfToLf(text));
}

}  // namespace

MultipleViewArea::MultipleViewArea(const MultipleViewSource& source, QWidget* parent)
    : QWidget(parent), source_(source), pieces_(RenderPieceImages(PieceSet::Modern, 16)) {
  setObjectName(QStringLiteral("multipleView"));
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette shade = palette();
  shade.setColor(QPalette::Window, palette().color(QPalette::Button));
  setPalette(shade);
}

QSize MultipleViewArea::sizeHint() const {
  return {MultipleViewColumns * MultipleCellWidth + MultipleLeft,
          (MultipleViewCells / MultipleViewColumns) * MultipleCellHeight + MultipleTop};
}

void MultipleViewArea::ShowFrom(int first) {
  first_ = first;
  for (int k = 0; k < MultipleViewCells; ++k) {
    Cell& cell = cells_[k];
    cell = Cell{};
    const ViewedProblem item = source_.At(first + k);
    if (item.record < 1) continue;
    CurrentProblem problem;
    cell.board = EmptyBoard();
    // A damaged problem's cell shows what can be read.
    FileResult damage;
    const FileResult read = LoadProblemNumber(item.file, item.record, problem, cell.board, &damage);
    if (!read) {
      // A record the list names but the file no longer holds: its cell says
      // which one it was, with an empty diagram.
      cell.board = EmptyBoard();
      cell.text = FileResultText(read, ViewFileTitle(item.file), Language{}) + "\r\n";
      cell.shown = true;
      continue;
    }
    const MenCount men = CountMen(cell.board);
    const std::string label = source_.selection ? ViewFileLabel(item.file) : " Pos.";
    cell.text = CellText(men.white, men.black, label, item.record, FormatProblemType(problem.type),
                         AuthorsDisplayText(problem.authors), problem.source);
    cell.shown = true;
  }
  update();
}

void MultipleViewArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFont font = painter.font();
  font.setPixelSize(kTextPixelSize);
  painter.setFont(font);
  for (int k = 0; k < MultipleViewCells; ++k) {
    const Cell& cell = cells_[k];
    if (!cell.shown) continue;
    const CellPoint at = CellOrigin(k);
    DrawSmallDiagram(painter, QPoint(at.x, at.y), cell.board, pieces_);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(at.x - 1, at.y - 1, MultipleDiagramSize + 1, MultipleDiagramSize + 1);
    // Each line is cut to the cell's width, so that a long source does not
    // run into the next line or the next cell.
    const int width = MultipleCellWidth - 10;
    int y = at.y + MultipleDiagramSize + kTextGap;
    for (const QString& line : PaneLines(cell.text).split('\n')) {
      if (y + painter.fontMetrics().height() > at.y + MultipleCellHeight - kTextGap - 4) break;
      painter.drawText(QRect(at.x, y, width, painter.fontMetrics().height()),
                       Qt::AlignLeft | Qt::AlignTop,
                       painter.fontMetrics().elidedText(line, Qt::ElideRight, width));
      y += painter.fontMetrics().height();
    }
  }
  if (framed_ >= 0) {
    const CellPoint at = CellOrigin(framed_);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(at.x - 4, at.y - 4, MultipleCellWidth - 4, MultipleCellHeight - 4);
  }
  if (hasFocus() && framed_ < 0) {
    // The keyboard's place: the top-left cell, which OK opens.
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(MultipleLeft - 4, MultipleTop - 4, MultipleCellWidth - 4,
                     MultipleCellHeight - 4);
  }
}

void MultipleViewArea::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int cell = CellAt(at.x(), at.y());
  if (cell < 0 || !cells_[cell].shown) return;
  framed_ = cell;
  update();
  emit cellFramed(cell);
}

void MultipleViewArea::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int cell = CellAt(at.x(), at.y());
  if (cell < 0 || !cells_[cell].shown) return;
  emit cellOpened(cell);
}

void MultipleViewArea::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      emit scrollRequested(ViewScroll::LineUp);
      break;
    case Qt::Key_Down:
      emit scrollRequested(ViewScroll::LineDown);
      break;
    case Qt::Key_PageUp:
      emit scrollRequested(ViewScroll::PageUp);
      break;
    case Qt::Key_PageDown:
      emit scrollRequested(ViewScroll::PageDown);
      break;
    case Qt::Key_Home:
      emit scrollRequested(ViewScroll::Start);
      break;
    case Qt::Key_End:
      emit scrollRequested(ViewScroll::End);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void MultipleViewArea::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta != 0) emit scrollRequested(delta > 0 ? ViewScroll::LineUp : ViewScroll::LineDown);
  event->accept();
}

MultipleViewDialog::MultipleViewDialog(MultipleViewSource source, const Language& language,
                                       QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
  setObjectName(QStringLiteral("MultipleViewDialog"));
  setWindowTitle(QStringLiteral("Vue multiple"));
  area_ = new MultipleViewArea(source_, this);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setRange(0, std::max(0, source_.count - 1));
  scrollBar_->setSingleStep(MultipleLineStep);
  scrollBar_->setPageStep(MultiplePageStep);
  scrollBar_->setValue(source_.start);
  // Every move of the scroll bar goes through ScrollView, so the bar, the
  // keys and the wheel stop at the same places.
  connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd:
        return Scroll(ViewScroll::LineDown);
      case QAbstractSlider::SliderSingleStepSub:
        return Scroll(ViewScroll::LineUp);
      case QAbstractSlider::SliderPageStepAdd:
        return Scroll(ViewScroll::PageDown);
      case QAbstractSlider::SliderPageStepSub:
        return Scroll(ViewScroll::PageUp);
      case QAbstractSlider::SliderToMinimum:
        return Scroll(ViewScroll::Start);
      case QAbstractSlider::SliderToMaximum:
        return Scroll(ViewScroll::End);
      default:
        return;
    }
  });
  connect(scrollBar_, &QScrollBar::sliderMoved, this, [this](int position) {
    emit statusText(QString::fromStdString(TrackingText(position)));
  });
  connect(scrollBar_, &QScrollBar::valueChanged, area_, &MultipleViewArea::ShowFrom);
  connect(area_, &MultipleViewArea::scrollRequested, this, &MultipleViewDialog::Scroll);
  connect(area_, &MultipleViewArea::cellOpened, this, [this](int cell) {
    chosen_ = area_->first() + cell;
    QDialog::accept();
  });

  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->addWidget(area_);
  row->addWidget(scrollBar_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(StandardButtons(this, language, HelpContextMultipleView));
  TranslateOnOpening(this, language, 0, FromCp1252(source_.title));
  area_->ShowFrom(scrollBar_->value());
  area_->setFocus();
}

void MultipleViewDialog::Scroll(ViewScroll action) {
  const int first = ScrollView(scrollBar_->value(), action, source_.count);
  // Set as the slider's position, so that a move made inside actionTriggered
  // replaces the bar's own step.
  scrollBar_->setSliderPosition(first);
  scrollBar_->setValue(first);
}

void MultipleViewDialog::accept() {
  chosen_ = area_->first();
  emit statusText(QString());
  QDialog::accept();
}

void MultipleViewDialog::reject() {
  chosen_ = -1;
  emit statusText(QString());
  QDialog::reject();
}

bool RunMultipleViewDialog(MainWindow& window, MultipleViewSource source) {
  if (source.count < 1) return false;
  AppState& state = window.state();
  MultipleViewDialog dialog(std::move(source), state.language, &window);
  QObject::connect(&dialog, &MultipleViewDialog::statusText, &window,
                   [&window](const QString& text) { window.StatusText(1, text); });
  if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0) return false;
  const ViewedProblem item = dialog.source().At(dialog.chosen());
  FileResult damage;
  const FileResult result = LoadListEntry(item.file, item.record, state.collection, state.problem,
                                          state.pos.board, &damage);
  if (!result) {
    UiCallbacks ui;
    ui.messageBox = [&window](const std::string& text, const std::string& caption, int style) {
      return DefaultPrompts(&window).messageBox(FromCp1252(text), FromCp1252(caption), style);
    };
    ReportFileResult(ui, state.language, result, ViewFileTitle(item.file));
    return false;
  }
  state.fileOpen = true;
  window.ShowLoadedProblem();
  window.ReportDamage(damage);
  return true;
}

void VisualizerCommand(MainWindow& window) {
  AppState& state = window.state();
  if (!state.fileOpen) return;
  // Opening a problem from the view replaces the current one: a Cancel of the
  // offer to save keeps it.
  if (window.AskToSave() == IdCancel) return;
  RunMultipleViewDialog(
      window, CurrentFileView(state.collection.currentFileName, state.collection.lastIndex,
                              state.collection.currentIndex));
  window.AfterCommandRefresh(false);
}

}  // namespace kv::app
