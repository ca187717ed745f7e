// The toolbars above the board: three bands side by side that wrap onto
// further rows when the window is too narrow for them, band by band, and
// within a band button by button, so that no button ever hides behind an
// overflow arrow. Each band starts with a grip, as the bands of a rebar do.
#pragma once

#include <QWidget>
#include <vector>

class QAction;
class QMenu;
class QToolButton;

namespace kv::app {

// One band: its buttons, separators and widgets in a row that wraps.
class ToolBand : public QWidget {
  Q_OBJECT
 public:
  explicit ToolBand(QWidget* parent = nullptr);

  QToolButton* AddAction(QAction* action);
  // A button for `action` with a drop-down menu beside it.
  QToolButton* AddDropDown(QAction* action, QMenu* menu);
  void AddSeparator();
  void AddWidget(QWidget* widget);

  // The band's height when laid out in `width` pixels, and the width it
  // takes on one row.
  int BandHeight(int width) const;
  int RowWidth() const;
  // Places the items inside the band's own rectangle.
  void LayoutItems();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Lays the items out in `width` pixels (placing them when `place`);
  // returns the height used.
  int Flow(int width, bool place) const;

  std::vector<QWidget*> items_;
};

// The bands, laid out as a rebar lays its bands: a band that does not fit in
// what is left of a row starts the next row; a band wider than the whole
// width wraps its own buttons.
class ToolBandArea : public QWidget {
  Q_OBJECT
 public:
  explicit ToolBandArea(QWidget* parent = nullptr);

  void AddBand(ToolBand* band);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Arrange(int width, bool place) const;

  std::vector<ToolBand*> bands_;
};

}  // namespace kv::app
