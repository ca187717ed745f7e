#include "app/test_move_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

constexpr int ColumnWidth = 60;
constexpr int HelpContext = 174;
// The control ids of the layout, which its translation table and the tests
// find the controls by.
using namespace test_move_control;  // strings/dialog_controls.h

const Language French{LanguageFrench, nullptr};

}  // namespace

TestMoveDialog::TestMoveDialog(const QStringList& moves, const QFont& font,
                               const Language& language, const QString& title, QWidget* parent)
    : QDialog(parent) {
  setObjectName("TestMoveDialog");
  setWindowTitle(QStringLiteral("Coups valides"));
  list_ = new QListWidget(this);
  SetControlId(list_, MovesBox);
  list_->setFont(font);
  // Moves in columns of 60 pixels, filled top to bottom.
  list_->setFlow(QListView::TopToBottom);
  list_->setWrapping(true);
  list_->setResizeMode(QListView::Adjust);
  list_->setGridSize(QSize(ColumnWidth, QFontMetrics(font).lineSpacing() + 2));
  list_->addItems(moves);
  list_->setMinimumSize(ColumnWidth * 6, 160);
  if (!moves.isEmpty()) list_->setCurrentRow(0);

  QDialogButtonBox* buttons = StandardButtons(this, language, HelpContext);
  // "Tester" takes OK's place.
  QPushButton* ok = qobject_cast<QPushButton*>(ControlById(this, 1));
  buttons->removeButton(ok);
  delete ok;
  auto* test = buttons->addButton(MessageQ(French, msg::Test), QDialogButtonBox::AcceptRole);
  SetControlId(test, TestButton);
  test->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  test->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);

  disconnect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::accepted, this, &TestMoveDialog::Choose);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    list_->setCurrentItem(item);
    Choose();
  });

  TranslateOnOpening(this, language, DialogTestMove, title);
}

void TestMoveDialog::Choose() {
  const int row = list_->currentRow();
  if (row < 0) return;
  answer_ = row + 1;
  accept();
}

int RunTestMoveDialog(QWidget* parent, const Language& language, const QString& title,
                      const QStringList& moves, const QFont& font) {
  if (moves.isEmpty()) return 0;
  TestMoveDialog dialog(moves, font, language, title, parent);
  return dialog.exec() == QDialog::Accepted ? dialog.Answer() : 0;
}

}  // namespace kv::app
