#include "app/pane_font_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontInfo>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/display_options_logic.h"

namespace kv::app {

PaneFontDialog::PaneFontDialog(const QFont& current, const QString& title, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("paneFontDialog"));
  setWindowTitle(title);
  face_ = new QFontComboBox(this);
  face_->setObjectName(QStringLiteral("face"));
  // The face the panes really show: a stored face that is not installed
  // (Arial on most Linux systems) was replaced by the font system, and the
  // list shows the replacement rather than its first entry.
  face_->setCurrentFont(QFont(QFontInfo(current).family()));
  size_ = new QComboBox(this);
  size_->setObjectName(QStringLiteral("size"));
  for (int points = MinPanePointSize; points <= MaxPanePointSize; ++points)
    size_->addItem(QString::number(points), points);
  const int points = std::clamp(current.pointSize() > 0 ? current.pointSize() : 10,
                                MinPanePointSize, MaxPanePointSize);
  size_->setCurrentIndex(points - MinPanePointSize);
  bold_ = new QCheckBox(tr("Bold"), this);
  bold_->setChecked(current.bold());
  italic_ = new QCheckBox(tr("Italic"), this);
  italic_->setChecked(current.italic());
  sample_ = new QLabel(QStringLiteral("1.Qd4! Kxe5 2.Rf5#"), this);
  sample_->setObjectName(QStringLiteral("sample"));
  sample_->setFrameShape(QFrame::StyledPanel);
  sample_->setMinimumHeight(48);
  sample_->setAlignment(Qt::AlignCenter);

  auto* form = new QFormLayout;
  form->addRow(face_);
  form->addRow(size_);
  auto* styles = new QHBoxLayout;
  styles->addWidget(bold_);
  styles->addWidget(italic_);
  styles->addStretch();
  form->addRow(styles);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(sample_);
  layout->addWidget(buttons);

  connect(face_, &QFontComboBox::currentFontChanged, this, &PaneFontDialog::UpdateSample);
  connect(size_, &QComboBox::currentIndexChanged, this, &PaneFontDialog::UpdateSample);
  connect(bold_, &QCheckBox::toggled, this, &PaneFontDialog::UpdateSample);
  connect(italic_, &QCheckBox::toggled, this, &PaneFontDialog::UpdateSample);
  UpdateSample();
}

QFont PaneFontDialog::SelectedFont() const {
  QFont font(face_->currentFont().family());
  font.setPointSize(size_->currentData().toInt());
  font.setBold(bold_->isChecked());
  font.setItalic(italic_->isChecked());
  return font;
}

void PaneFontDialog::UpdateSample() {
  sample_->setFont(SelectedFont());
}

}  // namespace kv::app
