#include "app/problem_list_dialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/check_soundness_window.h"
#include "app/design_text.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {

namespace {

constexpr std::array<const char*, ListActionCount> kActionLabels = {
    "Positions -> &Printer",  "&Positions -> KVL file", "&Positions -> PGN file",
    "&Positions -> EPD file", "Positions -> &Viewer",   "&Solutions -> TXT file",
    "Solutions -> Text",      "&Duplicate information", "Positions -> S&olver input file"};

// The control ids of the layout, which its translation table and the tests
// find the controls by.
using namespace problem_list_control;  // strings/dialog_controls.h

}  // namespace

const char* ListActionLabel(ListAction action) {
  return kActionLabels[static_cast<std::size_t>(action)];
}

ProblemListDialog::ProblemListDialog(ProblemList& list, const std::string& currentFile,
                                     int lastIndex, const Language& language, const QString& title,
                                     QWidget* parent)
    : QDialog(parent), list_(list), currentFile_(currentFile), lastIndex_(lastIndex) {
  setObjectName(QStringLiteral("ProblemListDialog"));
  setWindowTitle(title.isEmpty() ? QStringLiteral("Liste des problèmes") : title);
  listBox_ = new QListWidget(this);
  SetControlId(listBox_, ProblemsBox);
  listBox_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listBox_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  listBox_->setMinimumWidth(listBox_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
  Refill();

  up_ = new QPushButton(this);
  SetControlId(up_, UpButton);
  up_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  up_->setAutoDefault(false);
  up_->setToolTip(QStringLiteral("Alt+Up"));
  down_ = new QPushButton(this);
  SetControlId(down_, DownButton);
  down_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  down_->setAutoDefault(false);
  down_->setToolTip(QStringLiteral("Alt+Down"));
  connect(up_, &QPushButton::clicked, this, &ProblemListDialog::MoveCaretUp);
  connect(down_, &QPushButton::clicked, this, &ProblemListDialog::MoveCaretDown);
  // The arrows from the keyboard, without leaving the list.
  auto* upKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this);
  connect(upKey, &QShortcut::activated, this, &ProblemListDialog::MoveCaretUp);
  auto* downKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Down), this);
  connect(downKey, &QShortcut::activated, this, &ProblemListDialog::MoveCaretDown);

  auto* actionsButton = new QPushButton(DesignText(msg::Actions), this);
  SetControlId(actionsButton, ActionsButton);
  actionsButton->setAutoDefault(false);
  actions_ = new QMenu(actionsButton);
  for (int i = 0; i < ListActionCount; ++i) {
    const auto action = static_cast<ListAction>(i);
    actions_->addAction(QString::fromUtf8(ListActionLabel(action)), this,
                        [this, action] { emit actionChosen(action, SelectedEntries()); });
  }
  // The soundness check runs in a window of its own over the selection.
  actions_->addAction(QStringLiteral("Check soundness"), this,
                      [this] { OpenCheckSoundness(this, list_, SelectedEntries()); });
  actionsButton->setMenu(actions_);

  // "&Close" is the dialog's only way out; Escape does the same.
  auto* close = new QPushButton(DesignText(msg::Close), this);
  SetControlId(close, CloseButton);
  close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &ProblemListDialog::reject);

  auto* arrows = new QVBoxLayout;
  arrows->addStretch();
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  arrows->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(listBox_);
  top->addLayout(arrows);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(close);
  buttons->addWidget(actionsButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  setTabOrder(listBox_, up_);
  setTabOrder(up_, down_);
  setTabOrder(down_, close);
  setTabOrder(close, actionsButton);
  TranslateOnOpening(this, language, DialogProblemList, QString());

  connect(listBox_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    list_.position = row;
    emit caretChanged(row);
    ShowStatus();
  });
  connect(listBox_, &QListWidget::itemSelectionChanged, this, &ProblemListDialog::ShowStatus);
}

void ProblemListDialog::Refill() {
  listBox_->clear();
  for (int i = 0; i < list_.count(); ++i) {
    listBox_->addItem(FromCp1252(ListEntryLine(list_, i)));
  }
}

void ProblemListDialog::Start() {
  const QSignalBlocker blocker(listBox_);
  for (int entry : SelectionAtOpening(list_)) listBox_->item(entry)->setSelected(true);
  if (list_.position >= 0 && list_.position < list_.count()) {
    listBox_->setCurrentRow(list_.position, QItemSelectionModel::Current);
    listBox_->scrollToItem(listBox_->currentItem());
  }
  listBox_->setFocus();
  if (listBox_->currentRow() >= 0) emit caretChanged(listBox_->currentRow());
  ShowStatus();
}

std::vector<int> ProblemListDialog::SelectedEntries() const {
  std::vector<int> selected;
  for (int i = 0; i < listBox_->count(); ++i) {
    if (listBox_->item(i)->isSelected()) selected.push_back(i);
  }
  return selected;
}

void ProblemListDialog::ShowStatus() {
  emit statusText(QString::fromStdString(
      SelectionStatusText(static_cast<int>(SelectedEntries().size()), list_.count())));
}

void ProblemListDialog::MoveCaretUp() {
  const int row = listBox_->currentRow();
  if (row >= 0) ShowMovedEntry(row, MoveEntryUp(list_, row));
}

void ProblemListDialog::MoveCaretDown() {
  const int row = listBox_->currentRow();
  if (row >= 0) ShowMovedEntry(row, MoveEntryDown(list_, row));
}

void ProblemListDialog::ShowMovedEntry(int row, int moved) {
  if (moved == row) return;
  // The two lines swap places; the moved entry stays selected and the caret.
  const bool otherSelected = listBox_->item(moved)->isSelected();
  const QSignalBlocker blocker(listBox_);
  listBox_->item(moved)->setText(FromCp1252(ListEntryLine(list_, moved)));
  listBox_->item(row)->setText(FromCp1252(ListEntryLine(list_, row)));
  listBox_->item(row)->setSelected(otherSelected);
  listBox_->item(moved)->setSelected(true);
  listBox_->setCurrentRow(moved, QItemSelectionModel::Current);
}

void ProblemListDialog::reject() {
  KeepSelection(list_, SelectedEntries(), currentFile_, lastIndex_);
  emit statusText(QString());
  QDialog::reject();
}

}  // namespace kv::app
