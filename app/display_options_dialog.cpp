#include "app/display_options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "app/design_text.h"
#include "app/pane_font_dialog.h"
#include "strings/dialog_translation.h"
#include "strings/encoding.h"
#include "strings/message_ids.h"

namespace kv::app {

QFont PaneFontFor(const PaneFont& record) {
  QFont font(QString::fromStdString(Cp1252ToUtf8(FaceName(record))));
  const int pixels = record.height == 0 ? 13 : std::abs(record.height);
  font.setPointSize(std::max(1, (pixels * 72 + 48) / 96));
  font.setWeight(record.weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(record.italic != 0);
  return font;
}

DisplayOptionsDialog::DisplayOptionsDialog(OutputSettings& output, PaneFont& font,
                                           const Language& language, const QString& title,
                                           std::function<void(const DisplayEffects&)> apply,
                                           QWidget* parent)
    : QDialog(parent), output_(output), font_(font), apply_(std::move(apply)) {
  setObjectName(QStringLiteral("DisplayOptionsDialog"));
  setWindowTitle(QStringLiteral("Options d'affichage"));
  chooseFont = [this](QFont& chosen) {
    QString fontTitle = fontButton_->text();
    fontTitle.remove(QLatin1Char('&')).remove(QLatin1Char('.'));
    PaneFontDialog dialog(chosen, fontTitle.trimmed(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    chosen = dialog.SelectedFont();
    return true;
  };

  auto box = [this](int id, int message, bool checked) {
    auto* check = new QCheckBox(DesignText(message), this);
    SetControlId(check, id);
    check->setChecked(checked);
    return check;
  };
  QCheckBox* squares = box(DisplaySquares3DBox, msg::Squares3D, output_[OutputSquares3D] != 0);
  notation_ = box(DisplayNotationBox, msg::SymbolicNotation, output_[OutputFigurineNotation] != 0);
  QCheckBox* pieces =
      box(DisplayOtherPiecesBox, msg::OtherPieces, output_[OutputClassicPieces] == 1);
  auto* fontButton = new QPushButton(DesignText(msg::Font), this);
  fontButton_ = fontButton;
  SetControlId(fontButton, DisplayFontButton);
  fontButton->setAutoDefault(false);

  connect(squares, &QCheckBox::toggled, this,
          [this](bool on) { Apply(SetSquares3D(output_, on)); });
  connect(pieces, &QCheckBox::toggled, this,
          [this](bool on) { Apply(SetOtherPieces(output_, on)); });
  connect(notation_, &QCheckBox::toggled, this,
          [this](bool on) { Apply(SetFigurineNotation(output_, font_, on)); });
  connect(fontButton, &QPushButton::clicked, this, &DisplayOptionsDialog::FontClicked);

  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(fontButton);
  fontRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(squares);
  layout->addWidget(notation_);
  layout->addWidget(pieces);
  layout->addLayout(fontRow);
  layout->addWidget(StandardButtons(this, language, DisplayOptionsHelpContext));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  TranslateOnOpening(this, language, DialogDisplayOptions, title);
}

void DisplayOptionsDialog::Apply(const DisplayEffects& effects) {
  if (apply_) apply_(effects);
}

void DisplayOptionsDialog::FontClicked() {
  QFont chosen = PaneFontFor(font_);
  if (!chooseFont || !chooseFont(chosen)) return;
  const int points = chosen.pointSize() > 0 ? chosen.pointSize() : (chosen.pixelSize() * 72) / 96;
  const DisplayEffects effects =
      ChooseFont(output_, font_, Utf8ToCp1252(chosen.family().toStdString()), points,
                 chosen.weight(), chosen.italic());
  // The box follows the face without toggling the notation a second time.
  const QSignalBlocker block(notation_);
  notation_->setChecked(output_[OutputFigurineNotation] != 0);
  Apply(effects);
}

int RunDisplayOptionsDialog(QWidget* parent, OutputSettings& output, PaneFont& font,
                            const Language& language, const QString& title,
                            std::function<void(const DisplayEffects&)> apply) {
  DisplayOptionsDialog dialog(output, font, language, title, std::move(apply), parent);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace kv::app
