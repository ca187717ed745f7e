#include "app/organize_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/choose_file_logic.h"
#include "app/design_text.h"
#include "app/up_down.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The control ids of the layout, which its translation table and the tests
// find the controls by (strings/dialog_controls.h).
using namespace organize_control;

}  // namespace

OrganizeDialog::OrganizeDialog(const CollectionState& state, const Language& language,
                               const std::string& startFolder, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("OrganizeDialog"));
  setWindowTitle(QStringLiteral("Organiser"));
  auto* grid = new QGridLayout;
  int row = 0;
  auto addInfo = [&](int control, int message, const QString& value) {
    auto* caption = new QLabel(DesignText(message), this);
    SetControlId(caption, control);
    grid->addWidget(caption, row, 0);
    grid->addWidget(new QLabel(value, this), row, 1);
    ++row;
  };
  addInfo(FileCaption, msg::CurrentFile,
          QString::fromStdString(ShownFileName(state.currentFileName, startFolder)));
  addInfo(PositionCaption, msg::PositionNumber, QString::number(state.currentIndex + 1));
  addInfo(SizeCaption, msg::Size, QString::number(state.lastIndex + 1));

  insert_ = new QRadioButton(DesignText(msg::Insert), this);
  SetControlId(insert_, InsertRadio);
  insertCount_ = new UpDownBox(InsertCountEdit, 1, 1, MaxInsertCount, MaxInsertCount, this);
  // The delete count stops where one record would be left or the file ends.
  const int deleteLimit = LimitDeleteCount(MaxInsertCount, state.currentIndex, state.lastIndex);
  delete_ = new QRadioButton(DesignText(msg::Delete), this);
  SetControlId(delete_, DeleteRadio);
  deleteCount_ = new UpDownBox(DeleteCountEdit, 1, 1, deleteLimit, deleteLimit, this);
  delete_->setEnabled(deleteLimit > 0);
  deleteCount_->setEnabled(deleteLimit > 0);
  auto* group = new QButtonGroup(this);
  group->addButton(insert_);
  group->addButton(delete_);
  insert_->setChecked(true);
  // Typing into a count selects its radio button.
  connect(insertCount_->edit(), &QLineEdit::textEdited, insert_,
          [this] { insert_->setChecked(true); });
  connect(insertCount_, &QSpinBox::valueChanged, insert_, [this] { insert_->setChecked(true); });
  connect(deleteCount_->edit(), &QLineEdit::textEdited, delete_,
          [this] { delete_->setChecked(true); });
  connect(deleteCount_, &QSpinBox::valueChanged, delete_, [this] { delete_->setChecked(true); });
  grid->addWidget(insert_, row, 0);
  grid->addWidget(insertCount_, row, 1);
  ++row;
  grid->addWidget(delete_, row, 0);
  grid->addWidget(deleteCount_, row, 1);

  auto* compact = new QPushButton(DesignText(msg::Compact), this);
  SetControlId(compact, CompactButton);
  compact->setAutoDefault(false);
  compact->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  connect(compact, &QPushButton::clicked, this, [this] {
    answer_ = OrganiseCompact;
    QDialog::accept();
  });
  QDialogButtonBox* buttons = StandardButtons(this, language, HelpContextOrganise);
  buttons->addButton(compact, QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  TranslateOnOpening(this, language, DialogOrganise, QString());
  insert_->setFocus();
}

void OrganizeDialog::accept() {
  insertCount_->interpretText();
  deleteCount_->interpretText();
  answer_ = insert_->isChecked() ? insertCount_->value() : -deleteCount_->value();
  QDialog::accept();
}

void OrganizeDialog::reject() {
  answer_ = OrganiseCancel;
  QDialog::reject();
}

int RunOrganizeDialog(QWidget* parent, AppState& state, FileResult& result, const QString& title) {
  result = {};
  OrganizeDialog dialog(state.collection, state.language, state.startDirectory, parent);
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  if (dialog.exec() != QDialog::Accepted || dialog.answer() == OrganiseCancel) {
    return OrganiseCancel;
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  result = ApplyOrganiseAnswer(state.collection, dialog.answer());
  QGuiApplication::restoreOverrideCursor();
  if (dialog.answer() != OrganiseCompact) state.problemListCount = 0;
  return dialog.answer();
}

}  // namespace kv::app
