// The client area under the toolbars: places the board, the two panes and
// the piece box, draws the etched frames and the three small boxes below the
// board (men count, twins, stipulation), and turns clicks on the twins and
// stipulation boxes into commands.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace kv::app {

class BoardWidget;
class PieceBox;

class MainArea : public QWidget {
  Q_OBJECT
 public:
  // The smallest client area that shows the board and the boxes.
  static constexpr int MinimumWidth = 272;
  static constexpr int MinimumHeight = 294;

  explicit MainArea(QWidget* parent = nullptr);

  void SetChildren(BoardWidget* board, QPlainTextEdit* solution, QPlainTextEdit* information,
                   PieceBox* box);
  void SetBoxTexts(const QString& menCount, const QString& twins, int twinLines,
                   const QString& stipulation);
  // The panes' font; the small boxes use it too, placed by the stored
  // height of the font record (negative for a character height: -13 gives
  // an offset of 3).
  void SetBoxFont(const QFont& font, int recordHeight);

 signals:
  void commandRequested(int command);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Layout();

  BoardWidget* board_ = nullptr;
  QPlainTextEdit* solution_ = nullptr;
  QPlainTextEdit* information_ = nullptr;
  PieceBox* box_ = nullptr;
  QString menCount_;
  QString twins_;
  int twinLines_ = 0;
  QString stipulation_;
  QFont boxFont_;
  int textOffset_ = 3;
};

}  // namespace kv::app
