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
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The control ids of the layout, which its translation table and the tests
// find the controls by (strings/dialog_controls.h).
using namespace problem_type_control;
constexpr int HelpContext = 113;

// The layout is French; TranslateOnOpening puts the language's texts on.
const Language French{LanguageFrench, nullptr};

}  // namespace

ProblemTypeDialog::ProblemTypeDialog(const ProblemType& type, int mode, const Language& language,
                                     const QString& title, QWidget* parent)
    : QDialog(parent), original_(type), working_(OpenTypeDialog(type, mode)) {
  setObjectName("ProblemTypeDialog");
  auto* layout = new QVBoxLayout(this);

  auto* kindBox = new QGroupBox(MessageQ(French, msg::Kind), this);
  SetControlId(kindBox, KindGroup);
  auto* kindLayout = new QVBoxLayout(kindBox);
  kinds_ = new QButtonGroup(this);
  for (int k = 0; k < 4; ++k) {
    auto* radio = new QRadioButton(MessageQ(French, msg::KindDirect + k), kindBox);
    SetControlId(radio, FirstKindRadio + k);
    kinds_->addButton(radio, k);
    kindLayout->addWidget(radio);
  }
  layout->addWidget(kindBox);

  auto* movesRow = new QHBoxLayout;
  auto* movesLabel = new QLabel(MessageQ(French, msg::SolutionIn), this);
  SetControlId(movesLabel, MovesLabel);
  // Up and down stay within 1..255 (one-movers are solved too); a stored
  // study (0) keeps its number until the user changes it. A twin's stipulation keeps its
  // number in one byte of the twins field, which holds at most 223.
  const int mostMoves = mode == TypeModeTwin ? MaxTwinStipulationMoves : 255;
  moves_ = AttachUpDown(this, MovesUpDown, MovesEdit, working_.moves, std::min(1, working_.moves),
                        mostMoves);
  movesLabel->setBuddy(moves_);
  auto* movesUnit = new QLabel(MessageQ(French, msg::Moves), this);
  SetControlId(movesUnit, MovesUnitLabel);
  movesRow->addWidget(movesLabel);
  movesRow->addWidget(moves_);
  movesRow->addWidget(movesUnit);
  movesRow->addStretch();
  layout->addLayout(movesRow);

  auto* goalBox = new QGroupBox(MessageQ(French, msg::MateOrStalemate), this);
  SetControlId(goalBox, GoalGroup);
  auto* goalLayout = new QHBoxLayout(goalBox);
  goal_ = new QButtonGroup(this);
  for (int g = 0; g < 2; ++g) {
    auto* radio = new QRadioButton(MessageQ(French, msg::Mate + g), goalBox);
    SetControlId(radio, MateRadio + g);
    goal_->addButton(radio, g);
    goalLayout->addWidget(radio);
  }
  layout->addWidget(goalBox);

  serial_ = new QCheckBox(MessageQ(French, msg::Serial), this);
  SetControlId(serial_, SerialBox);
  maximum_ = new QCheckBox(MessageQ(French, msg::Maximum), this);
  SetControlId(maximum_, MaximumBox);
  whiteBegins_ = new QCheckBox(QStringLiteral("&White Begin"), this);
  SetControlId(whiteBegins_, WhiteBeginsBox);
  layout->addWidget(serial_);
  layout->addWidget(maximum_);
  layout->addWidget(whiteBegins_);

  QDialogButtonBox* buttons =
      StandardButtons(this, language, mode == TypeModeSearch ? 0 : HelpContext);
  if (mode == TypeModeSearch) {
    const QString text = language.base == LanguageFrench ? QStringLiteral("Initialise")
                                                         : MessageQ(language, msg::Initialize);
    QPushButton* initialise = buttons->addButton(text, QDialogButtonBox::ResetRole);
    initialise->setAutoDefault(false);
    SetControlId(initialise, InitialiseButton);
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
