// The font choice of the display options: a face, a size among those the
// panes allow (8 to 14 points), bold and italic, with a sample line. It
// opens at the font the panes show now.
#pragma once

#include <QDialog>
#include <QFont>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;

namespace kv::app {

class PaneFontDialog : public QDialog {
  Q_OBJECT
 public:
  // current: the panes' font, its size in points.
  PaneFontDialog(const QFont& current, const QString& title, QWidget* parent = nullptr);

  QFont SelectedFont() const;
  QFontComboBox* faceBox() const { return face_; }
  QComboBox* sizeBox() const { return size_; }

 private:
  void UpdateSample();

  QFontComboBox* face_ = nullptr;
  QComboBox* size_ = nullptr;
  QCheckBox* bold_ = nullptr;
  QCheckBox* italic_ = nullptr;
  QLabel* sample_ = nullptr;
};

}  // namespace kv::app
