#include "app/duplicate_info_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/design_text.h"
#include "app/up_down.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {

namespace {

// The check boxes' messages, in field order.
constexpr std::array<int, DuplicatedFieldCount> kFieldMessages = {
    msg::Author, msg::Source, msg::Award, msg::Comment, msg::SecondSource};
constexpr int kMaxStartNumber = 65535;

// The control ids of the layout, which its translation table and the tests
// find the controls by: a check box and a text per field, in field order.
using namespace duplicate_info_control;  // strings/dialog_controls.h

}  // namespace

DuplicateInfoDialog::DuplicateInfoDialog(const Language& language, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("DuplicateInfoDialog"));
  setWindowTitle(QStringLiteral("Dupliquer les informations"));
  auto* grid = new QGridLayout;
  for (int field = 0; field < DuplicatedFieldCount; ++field) {
    boxes_[field] = new QCheckBox(DesignText(kFieldMessages[field]), this);
    SetControlId(boxes_[field], FirstFieldBox + field);
    texts_[field] = new QLineEdit(this);
    SetControlId(texts_[field], FirstFieldText + field);
    texts_[field]->setMaxLength(static_cast<int>(MaxDuplicatedTextLength));
    texts_[field]->setMinimumWidth(texts_[field]->fontMetrics().horizontalAdvance('M') * 24);
    // A field takes part only while its box is ticked.
    texts_[field]->setEnabled(false);
    QLineEdit* edit = texts_[field];
    connect(boxes_[field], &QCheckBox::toggled, edit, [edit](bool on) {
      edit->setEnabled(on);
      if (on) edit->setFocus();
    });
    grid->addWidget(boxes_[field], field, 0);
    grid->addWidget(texts_[field], field, 1);
  }
  auto* startLabel = new QLabel(DesignText(msg::StartNumberingFrom), this);
  SetControlId(startLabel, StartLabel);
  start_ = new UpDownBox(StartNumberEdit, 0, 0, kMaxStartNumber, kMaxStartNumber, this);
  startLabel->setBuddy(start_);
  grid->addWidget(startLabel, DuplicatedFieldCount, 0);
  grid->addWidget(start_, DuplicatedFieldCount, 1, Qt::AlignLeft);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(StandardButtons(this, language, 0));
  for (int field = 0; field < DuplicatedFieldCount; ++field) {
    if (field > 0) setTabOrder(texts_[field - 1], boxes_[field]);
    setTabOrder(boxes_[field], texts_[field]);
  }
  setTabOrder(texts_[DuplicatedFieldCount - 1], start_);
  TranslateOnOpening(this, language, DialogDuplicateInformation, QString());
  boxes_[0]->setFocus();
}

DuplicateInformation DuplicateInfoDialog::Information() const {
  DuplicateInformation info;
  for (int field = 0; field < DuplicatedFieldCount; ++field) {
    info.ticked[field] = boxes_[field]->isChecked();
    info.texts[field] = ToCp1252(texts_[field]->text()).substr(0, MaxDuplicatedTextLength);
  }
  start_->interpretText();
  info.startNumber = start_->value();
  return info;
}

}  // namespace kv::app
