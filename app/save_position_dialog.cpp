#include "app/save_position_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
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
using namespace save_position_control;

}  // namespace

SavePositionDialog::SavePositionDialog(CollectionState& state, CurrentProblem& problem,
                                       const Board& board, const Language& language,
                                       const std::string& startFolder, QWidget* parent)
    : QDialog(parent), state_(state), problem_(problem), board_(board) {
  setObjectName(QStringLiteral("SavePositionDialog"));
  setWindowTitle(QStringLiteral("Enregistrer position"));
  openResult_ = OpenSaveDialog(state_, dialog_);

  auto* fileCaption = new QLabel(DesignText(msg::CurrentFile), this);
  SetControlId(fileCaption, FileCaption);
  auto* fileName =
      new QLabel(QString::fromStdString(ShownFileName(state_.currentFileName, startFolder)), this);
  fileName->setObjectName(QStringLiteral("fileName"));
  fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* numberCaption = new QLabel(DesignText(msg::Number), this);
  SetControlId(numberCaption, NumberCaption);
  number_ = new UpDownBox(NumberEdit, dialog_.number, 1, dialog_.Size(), dialog_.MaxNumber(), this);
  numberCaption->setBuddy(number_);

  auto* sizeCaption = new QLabel(DesignText(msg::Size), this);
  SetControlId(sizeCaption, SizeCaption);
  size_ = new QLabel(QString::number(dialog_.Size()), this);
  size_->setObjectName(QStringLiteral("size"));

  auto* grid = new QGridLayout;
  grid->addWidget(fileCaption, 0, 0);
  grid->addWidget(fileName, 0, 1);
  grid->addWidget(numberCaption, 1, 0);
  grid->addWidget(number_, 1, 1);
  grid->addWidget(sizeCaption, 2, 0);
  grid->addWidget(size_, 2, 1);
  QDialogButtonBox* buttons = StandardButtons(this, language, HelpContextSave);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  TranslateOnOpening(this, language, DialogSave, QString());
  number_->setFocus();
  number_->selectAll();
}

void SavePositionDialog::accept() {
  number_->interpretText();
  if (!AcceptSaveDialog(state_, dialog_, number_->value(), problem_, board_, saveResult_)) return;
  QDialog::accept();
}

void SavePositionDialog::reject() {
  if (!CancelSaveDialog(state_, dialog_)) return;
  QDialog::reject();
}

FileResult RunSavePositionDialog(QWidget* parent, AppState& state, const QString& title) {
  SavePositionDialog dialog(state.collection, state.problem, state.pos.board, state.language,
                            state.startDirectory, parent);
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  if (!dialog.openResult()) return dialog.openResult();
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.saveResult();
}

}  // namespace kv::app
