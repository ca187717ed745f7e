#include "app/solving_options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

using namespace options_control;

// The labels of the layout; the check boxes and radio buttons have the ids
// the dialog's decisions know them by (solver/solve_options_logic.h).
constexpr int HelpContext = 124;

const Language French{LanguageFrench, nullptr};

}  // namespace

QString OptionsDialogTitle(const QString& menuText, const Language& language, int kind) {
  QString name = MessageQ(language, msg::KindDirect + kind);
  if (!name.isEmpty()) name[0] = QLatin1Char(':');
  return menuText + name;
}

SolvingOptionsDialog::SolvingOptionsDialog(const SolveOptions& options, int kind,
                                           OptionGroup lastGroup, const Language& language,
                                           const QString& title, QWidget* parent)
    : QDialog(parent), logic_(OpenOptionsDialog(options, kind, lastGroup)) {
  setObjectName("SolvingOptionsDialog");
  auto label = [this](int id, int message) {
    auto* l = new QLabel(MessageQ(French, message), this);
    SetControlId(l, id);
    controls_[id] = l;
    return l;
  };
  auto check = [this](int id, const QString& text) {
    auto* box = new QCheckBox(text, this);
    SetControlId(box, id);
    controls_[id] = box;
    connect(box, &QCheckBox::clicked, this, [this, id] { Command(id); });
    return box;
  };
  auto radios = [this](int firstId, const QStringList& texts, QHBoxLayout* row) {
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < texts.size(); ++i) {
      auto* radio = new QRadioButton(texts[i], this);
      SetControlId(radio, firstId + i);
      controls_[firstId + i] = radio;
      group->addButton(radio, firstId + i);
      row->addWidget(radio);
    }
    row->addStretch();
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { Command(id); });
    return qobject_cast<QRadioButton*>(controls_[firstId]);
  };

  auto* left = new QVBoxLayout;
  left->addWidget(label(SearchLabel, msg::Search));
  left->addWidget(check(SetPlayBox, MessageQ(French, msg::SetPlay)));
  auto* tryRow = new QHBoxLayout;
  tryRow->addWidget(check(TriesBox, MessageQ(French, msg::TryPlay)));
  tries_ = AttachUpDown(this, TryUpDown, TryEdit, logic_.working[Option::TryRefutations], 0, 9);
  controls_[TryEdit] = tries_;
  tryRow->addWidget(tries_);
  tryRow->addStretch();
  left->addLayout(tryRow);
  left->addWidget(check(ActualPlayBox, MessageQ(French, msg::ActualPlay)));
  QLabel* show = label(ShowLabel, msg::Show);
  left->addWidget(show);
  auto* groupRow = new QHBoxLayout;
  show->setBuddy(radios(ActualPlayGroupRadio,
                        {MessageQ(French, msg::ActualPlay), MessageQ(French, msg::Tries)},
                        groupRow));
  left->addLayout(groupRow);
  left->addWidget(check(VariationsBox, MessageQ(French, msg::Variations)));
  left->addWidget(check(SeparatorsBox, MessageQ(French, msg::Separators)));
  left->addWidget(check(DualizedVariationsBox, MessageQ(French, msg::DualizedVariations)));
  left->addWidget(check(NonDefensiveMovesBox, MessageQ(French, msg::NonDefensiveMoves)));
  left->addStretch();

  auto* right = new QVBoxLayout;
  QLabel* notation = label(NotationLabel, msg::Notation);
  right->addWidget(notation);
  notation->setBuddy(check(ShortNotationBox, MessageQ(French, msg::Shortened)));
  right->addWidget(controls_[ShortNotationBox]);
  right->addWidget(check(AdLibBox, QStringLiteral("ad &lib")));
  QLabel* capture = label(CaptureSignLabel, msg::CaptureSymbol);
  right->addWidget(capture);
  auto* captureRow = new QHBoxLayout;
  capture->setBuddy(radios(FirstCaptureSignRadio, {"x", ":", "*"}, captureRow));
  right->addLayout(captureRow);
  QLabel* black = label(BlackMoveLabel, msg::BlackMoveNotation);
  right->addWidget(black);
  auto* blackRow = new QHBoxLayout;
  black->setBuddy(radios(FirstBlackMoveRadio, {"1. ...", "1...", "1.-"}, blackRow));
  right->addLayout(blackRow);
  right->addWidget(check(ShowChangedMatesBox, MessageQ(French, msg::ShowChangedMates)));
  right->addWidget(check(ShowTransferredMatesBox, MessageQ(French, msg::ShowTransferredMates)));
  right->addStretch();

  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addSpacing(16);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(StandardButtons(this, language, HelpContext));

  // A number typed into the try box (while it has the focus) is the number
  // of refutations; 0 means no tries, so the box's tick follows it.
  connect(tries_, &QSpinBox::valueChanged, this, [this](int value) {
    if (!tries_->hasFocus()) return;
    OptionsDialogEditTries(logic_, value);
    typing_ = true;
    Refresh();
    typing_ = false;
  });

  TranslateOnOpening(this, language, DialogSolvingOptions,
                     OptionsDialogTitle(title, language, kind));
  for (const auto& [id, widget] : controls_) widget->setVisible(OptionsDialogVisible(logic_, id));
  Refresh();
}

void SolvingOptionsDialog::Command(int control) {
  OptionsDialogCommand(logic_, control);
  Refresh();
}

void SolvingOptionsDialog::Refresh() {
  for (const auto& [id, widget] : controls_) {
    widget->setEnabled(OptionsDialogEnabled(logic_, id));
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      if (button->isCheckable()) button->setChecked(OptionsDialogChecked(logic_, id));
    }
  }
  if (!typing_) {
    const QSignalBlocker block(tries_);
    tries_->setValue(logic_.working[Option::TryRefutations]);
  }
}

bool RunSolvingOptionsDialog(QWidget* parent, const Language& language, const QString& title,
                             SolveOptions& options, int kind, OptionGroup lastGroup,
                             bool solutionStale) {
  SolvingOptionsDialog dialog(options, kind, lastGroup, language, title, parent);
  if (dialog.exec() == QDialog::Accepted) {
    OptionsDialogOk(dialog.logic(), options);
  } else {
    OptionsDialogCancel(dialog.logic(), options);
  }
  return RefreshAfterOptions(dialog.logic(), solutionStale);
}

}  // namespace kv::app
