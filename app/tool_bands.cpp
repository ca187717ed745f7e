#include "app/tool_bands.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

namespace kv::app {
namespace {

// The grip at the start of a band, and the room around the buttons.
constexpr int GripWidth = 8;
constexpr int BandMargin = 2;
constexpr int BandSpacing = 4;
constexpr int ButtonIconSize = 16;

// The size an item takes: its preferred size within its own limits (a
// field of fixed width prefers a wider one).
QSize ItemSize(const QWidget* item) {
  return item->sizeHint().expandedTo(item->minimumSize()).boundedTo(item->maximumSize());
}

}  // namespace

ToolBand::ToolBand(QWidget* parent) : QWidget(parent) {}

QToolButton* ToolBand::AddAction(QAction* action) {
  auto* button = new QToolButton(this);
  button->setDefaultAction(action);
  button->setAutoRaise(true);
  button->setIconSize(QSize(ButtonIconSize, ButtonIconSize));
  button->setObjectName(QStringLiteral("button%1").arg(action->objectName()));
  items_.push_back(button);
  updateGeometry();
  return button;
}

QToolButton* ToolBand::AddDropDown(QAction* action, QMenu* menu) {
  QToolButton* button = AddAction(action);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::MenuButtonPopup);
  return button;
}

void ToolBand::AddSeparator() {
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedWidth(6);
  items_.push_back(line);
}

void ToolBand::AddWidget(QWidget* widget) {
  widget->setParent(this);
  items_.push_back(widget);
}

int ToolBand::RowWidth() const {
  int width = GripWidth + BandMargin;
  for (const QWidget* item : items_) width += ItemSize(item).width();
  return width + BandMargin;
}

int ToolBand::BandHeight(int width) const {
  return Flow(width, false);
}

int ToolBand::Flow(int width, bool place) const {
  int x = GripWidth + BandMargin;
  int y = BandMargin;
  int rowHeight = 0;
  for (QWidget* item : items_) {
    const QSize size = ItemSize(item);
    // A separator that would start a row is left out of it.
    const bool separator = qobject_cast<QFrame*>(item) != nullptr;
    if (x + size.width() > width - BandMargin && x > GripWidth + BandMargin) {
      x = GripWidth + BandMargin;
      y += rowHeight;
      rowHeight = 0;
      if (separator) {
        if (place) item->hide();
        continue;
      }
    }
    if (place) {
      item->setGeometry(x, y, size.width(), size.height());
      item->show();
    }
    x += size.width();
    rowHeight = std::max(rowHeight, size.height());
  }
  return y + rowHeight + BandMargin;
}

void ToolBand::LayoutItems() {
  Flow(width(), true);
}

void ToolBand::resizeEvent(QResizeEvent*) {
  LayoutItems();
}

void ToolBand::paintEvent(QPaintEvent*) {
  // The grip: two etched lines down the start of the band.
  QPainter p(this);
  const QColor shadow = palette().color(QPalette::Mid);
  const QColor light = palette().color(QPalette::Light);
  for (int x : {2, 5}) {
    p.setPen(shadow);
    p.drawLine(x, 3, x, height() - 4);
    p.setPen(light);
    p.drawLine(x + 1, 3, x + 1, height() - 4);
  }
}

ToolBandArea::ToolBandArea(QWidget* parent) : QWidget(parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

void ToolBandArea::AddBand(ToolBand* band) {
  band->setParent(this);
  band->installEventFilter(this);
  bands_.push_back(band);
  updateGeometry();
}

int ToolBandArea::Arrange(int width, bool place) const {
  int x = 0;
  int y = 0;
  int rowHeight = 0;
  for (ToolBand* band : bands_) {
    if (band->isHidden()) continue;
    const int full = band->RowWidth();
    if (x > 0 && x + full > width) {
      x = 0;
      y += rowHeight;
      rowHeight = 0;
    }
    // The last band of a row takes what is left of it; a band wider than
    // the whole row wraps inside it.
    const int bandWidth = std::min(full, width - x);
    const int bandHeight = band->BandHeight(std::max(bandWidth, 1));
    if (place) band->setGeometry(x, y, bandWidth, bandHeight);
    x += bandWidth + BandSpacing;
    rowHeight = std::max(rowHeight, bandHeight);
  }
  return y + rowHeight;
}

int ToolBandArea::heightForWidth(int width) const {
  return Arrange(width, false);
}

QSize ToolBandArea::sizeHint() const {
  int width = 0;
  for (const ToolBand* band : bands_)
    if (!band->isHidden()) width += band->RowWidth() + BandSpacing;
  return {width, heightForWidth(std::max(width, 1))};
}

QSize ToolBandArea::minimumSizeHint() const {
  return {0, heightForWidth(std::max(width(), 1))};
}

void ToolBandArea::resizeEvent(QResizeEvent*) {
  Arrange(width(), true);
  if (height() != heightForWidth(width())) updateGeometry();
}

bool ToolBandArea::eventFilter(QObject* watched, QEvent* event) {
  // A band shown or hidden changes the rows.
  if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
    updateGeometry();
    Arrange(width(), true);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kv::app
