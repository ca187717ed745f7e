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

namespace kv::app {
namespace {

constexpr int TryEdit = 147;
constexpr int TryUpDown = 1000;
constexpr int HelpContext = 124;

const Language French{LanguageFrench, nullptr};

}  // namespace

QString OptionsDialogTitle(const QString& menuText, const Language& language, int kind) {
  QString name = MessageQ(language, 85 + kind);
  if (!name.isEmpty()) name[0] = QLatin1Char(':');
  return menuText + name;
}

SolvingOptionsDialog::SolvingOptionsDialog(const SolveOptions& options, int kind, int lastGroup,
                                           const Language& language, const QString& title,
                                           QWidget* parent)
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
  left->addWidget(label(91, 169));
  left->addWidget(check(140, MessageQ(French, 172)));
  auto* tryRow = new QHBoxLayout;
  tryRow->addWidget(check(141, MessageQ(French, 192)));
  tries_ = AttachUpDown(this, TryUpDown, TryEdit, logic_.working[TryRefutations], 0, 9);
  controls_[TryEdit] = tries_;
  tryRow->addWidget(tries_);
  tryRow->addStretch();
  left->addLayout(tryRow);
  left->addWidget(check(142, MessageQ(French, 178)));
  QLabel* show = label(92, 176);
  left->addWidget(show);
  auto* groupRow = new QHBoxLayout;
  show->setBuddy(radios(401, {MessageQ(French, 178), MessageQ(French, 191)}, groupRow));
  left->addLayout(groupRow);
  left->addWidget(check(143, MessageQ(French, 199)));
  left->addWidget(check(144, MessageQ(French, 170)));
  left->addWidget(check(145, MessageQ(French, 121)));
  left->addWidget(check(146, MessageQ(French, 145)));
  left->addStretch();

  auto* right = new QVBoxLayout;
  QLabel* notation = label(93, 147);
  right->addWidget(notation);
  notation->setBuddy(check(152, MessageQ(French, 173)));
  right->addWidget(controls_[152]);
  right->addWidget(check(153, QStringLiteral("ad &lib")));
  QLabel* capture = label(94, 103);
  right->addWidget(capture);
  auto* captureRow = new QHBoxLayout;
  capture->setBuddy(radios(201, {"x", ":", "*"}, captureRow));
  right->addLayout(captureRow);
  QLabel* black = label(95, 102);
  right->addWidget(black);
  auto* blackRow = new QHBoxLayout;
  black->setBuddy(radios(301, {"1. ...", "1...", "1.-"}, blackRow));
  right->addLayout(blackRow);
  right->addWidget(check(154, MessageQ(French, 174)));
  right->addWidget(check(155, MessageQ(French, 175)));
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
    tries_->setValue(logic_.working[TryRefutations]);
  }
}

bool RunSolvingOptionsDialog(QWidget* parent, const Language& language, const QString& title,
                             SolveOptions& options, int kind, int lastGroup, bool solutionStale) {
  SolvingOptionsDialog dialog(options, kind, lastGroup, language, title, parent);
  if (dialog.exec() == QDialog::Accepted) {
    OptionsDialogOk(dialog.logic(), options);
  } else {
    OptionsDialogCancel(dialog.logic(), options);
  }
  return RefreshAfterOptions(dialog.logic(), solutionStale);
}

}  // namespace kv::app
