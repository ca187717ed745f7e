// The multiple view: eight small diagrams at a time, in two rows of four,
// from the current file or from the selection of the problem list. A scroll
// bar moves through the range; a click frames a cell, a double-click opens
// its problem; OK opens the problem of the top-left cell. The shown records
// are read for painting only: the current problem changes only when the
// view answers with a problem to open.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>

#include "app/multiple_view_logic.h"
#include "app/piece_images.h"
#include "collections/current_problem.h"
#include "core/position.h"
#include "strings/language.h"

class QScrollBar;

namespace kv::app {

class MainWindow;

inline constexpr int HelpContextMultipleView = 114;

// The eight cells: their diagrams and texts, read from the source.
class MultipleViewArea : public QWidget {
  Q_OBJECT
 public:
  MultipleViewArea(const MultipleViewSource& source, QWidget* parent = nullptr);

  int first() const { return first_; }
  int framed() const { return framed_; }  // the framed cell, -1 for none
  // Shows the problems from `first` on, each read from its file.
  void ShowFrom(int first);
  // The text under cell k as drawn (Windows-1252); empty past the range.
  const std::string& CellTextOf(int cell) const { return cells_[cell].text; }
  QSize sizeHint() const override;

 signals:
  void cellFramed(int cell);
  void cellOpened(int cell);
  void scrollRequested(ViewScroll action);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct Cell {
    bool shown = false;  // within the range and read
    Board board{};
    std::string text;  // Windows-1252, CR LF lines
  };

  const MultipleViewSource& source_;
  PieceImages pieces_;
  std::array<Cell, MultipleViewCells> cells_{};
  int first_ = 0;
  int framed_ = -1;
};

class MultipleViewDialog : public QDialog {
  Q_OBJECT
 public:
  MultipleViewDialog(MultipleViewSource source, const Language& language,
                     QWidget* parent = nullptr);

  // The problem to open (an index of the source's range), -1 after Cancel.
  int chosen() const { return chosen_; }
  const MultipleViewSource& source() const { return source_; }
  MultipleViewArea* area() const { return area_; }
  QScrollBar* scrollBar() const { return scrollBar_; }

  void accept() override;  // the top-left cell's problem
  void reject() override;

 signals:
  // Status part 1: the position while the thumb is dragged, empty on closing.
  void statusText(const QString& text);

 private:
  void Scroll(ViewScroll action);

  MultipleViewSource source_;
  MultipleViewArea* area_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  int chosen_ = -1;
};

// The view over `source`; the chosen problem becomes the current one and is
// shown. Nothing happens for an empty range. Returns whether a problem was
// opened.
bool RunMultipleViewDialog(MainWindow& window, MultipleViewSource source);

// Command 114: the view of the current file, after the offer to save.
void VisualizerCommand(MainWindow& window);

}  // namespace kv::app
