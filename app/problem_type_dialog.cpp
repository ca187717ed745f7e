#include "app/problem_type_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "solver/twins.h"
#include "strings/dialog_translation.h"

namespace kv::app {
namespace {

constexpr int FirstKindRadio = 170;
constexpr int MateRadio = 180;
constexpr int StalemateRadio = 181;
constexpr int MovesEdit = 177;
constexpr int HelpContext = 113;

// The layout is French; TranslateOnOpening puts the language's texts on.
const Language French{LanguageFrench, nullptr};

}  // namespace

ProblemTypeDialog::ProblemTypeDialog(const ProblemType& type, int mode, const Language& language,
                                     const QString& title, QWidget* parent)
    : QDialog(parent), original_(type), working_(OpenTypeDialog(type, mode)) {
  setObjectName("ProblemTypeDialog");
  auto* layout = new QVBoxLayout(this);

  auto* kindBox = new QGroupBox(MessageQ(French, 131), this);
  SetControlId(kindBox, 91);
  auto* kindLayout = new QVBoxLayout(kindBox);
  kinds_ = new QButtonGroup(this);
  for (int k = 0; k < 4; ++k) {
    auto* radio = new QRadioButton(MessageQ(French, 85 + k), kindBox);
    SetControlId(radio, FirstKindRadio + k);
    kinds_->addButton(radio, k);
    kindLayout->addWidget(radio);
  }
  layout->addWidget(kindBox);

  auto* movesRow = new QHBoxLayout;
  auto* movesLabel = new QLabel(MessageQ(French, 179), this);
  SetControlId(movesLabel, 174);
  // Up and down stay within 1..255 (one-movers are solved too); a stored
  // study (0) keeps its number until the user changes it. A twin's stipulation keeps its
  // number in one byte of the twins field, which holds at most 223.
  const int mostMoves = mode == TypeModeTwin ? MaxTwinStipulationMoves : 255;
  moves_ =
      AttachUpDown(this, 1077, MovesEdit, working_.moves, std::min(1, working_.moves), mostMoves);
  movesLabel->setBuddy(moves_);
  auto* movesUnit = new QLabel(MessageQ(French, 143), this);
  SetControlId(movesUnit, 92);
  movesRow->addWidget(movesLabel);
  movesRow->addWidget(moves_);
  movesRow->addWidget(movesUnit);
  movesRow->addStretch();
  layout->addLayout(movesRow);

  auto* goalBox = new QGroupBox(MessageQ(French, 136), this);
  SetControlId(goalBox, 93);
  auto* goalLayout = new QHBoxLayout(goalBox);
  goal_ = new QButtonGroup(this);
  for (int g = 0; g < 2; ++g) {
    auto* radio = new QRadioButton(MessageQ(French, 134 + g), goalBox);
    SetControlId(radio, MateRadio + g);
    goal_->addButton(radio, g);
    goalLayout->addWidget(radio);
  }
  layout->addWidget(goalBox);

  serial_ = new QCheckBox(MessageQ(French, 171), this);
  SetControlId(serial_, 175);
  maximum_ = new QCheckBox(MessageQ(French, 138), this);
  SetControlId(maximum_, 176);
  whiteBegins_ = new QCheckBox(QStringLiteral("&White Begin"), this);
  SetControlId(whiteBegins_, 178);
  layout->addWidget(serial_);
  layout->addWidget(maximum_);
  layout->addWidget(whiteBegins_);

  QDialogButtonBox* buttons =
      StandardButtons(this, language, mode == TypeModeSearch ? 0 : HelpContext);
  if (mode == TypeModeSearch) {
    const QString text =
        language.base == LanguageFrench ? QStringLiteral("Initialise") : MessageQ(language, 129);
    QPushButton* initialise = buttons->addButton(text, QDialogButtonBox::ResetRole);
    initialise->setAutoDefault(false);
    SetControlId(initialise, 3);
    connect(initialise, &QPushButton::clicked, this, &ProblemTypeDialog::Initialise);
  }
  layout->addWidget(buttons);

  connect(kinds_, &QButtonGroup::idClicked, this, [this](int) {
    Collect();
    whiteBegins_->setVisible(TypeDialogWhiteBeginsVisible(working_));
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &ProblemTypeDialog::Collect);

  TranslateOnOpening(this, language, DialogProblemType, title);
  Refresh();
}

void ProblemTypeDialog::Refresh() {
  moves_->setMinimum(std::min(1, working_.moves));
  moves_->setValue(working_.moves);
  // No kind selected (any kind of the search) leaves every radio clear.
  kinds_->setExclusive(false);
  for (QAbstractButton* b : kinds_->buttons()) b->setChecked(kinds_->id(b) == working_.kindIndex);
  kinds_->setExclusive(true);
  goal_->button(working_.flags & FlagStalemate ? 1 : 0)->setChecked(true);
  serial_->setChecked(working_.flags & FlagSeries);
  maximum_->setChecked(working_.flags & FlagMaximum);
  whiteBegins_->setChecked(working_.flags & FlagWhiteBegins);
  whiteBegins_->setVisible(TypeDialogWhiteBeginsVisible(working_));
}

void ProblemTypeDialog::Collect() {
  working_.moves = moves_->value();
  working_.kindIndex = kinds_->checkedId();  // -1 when none
  std::uint8_t flags = 0;
  if (goal_->checkedId() == 1) flags |= FlagStalemate;
  if (serial_->isChecked()) flags |= FlagSeries;
  if (maximum_->isChecked()) flags |= FlagMaximum;
  if (whiteBegins_->isChecked()) flags |= FlagWhiteBegins;
  working_.flags = flags;
}

void ProblemTypeDialog::Initialise() {
  TypeDialogInitialise(working_);
  Refresh();
}

ProblemType ProblemTypeDialog::Result() const {
  return TypeDialogOk(working_, original_);
}

bool RunProblemTypeDialog(QWidget* parent, const Language& language, const QString& title, int mode,
                          ProblemType& type) {
  ProblemTypeDialog dialog(type, mode, language, title, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  type = dialog.Result();
  return true;
}

}  // namespace kv::app
