#include "app/twins_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "app/problem_type_dialog.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The control ids of the layout, which its translation table and the tests
// find the controls by (strings/dialog_controls.h); a kind's radio is
// FirstKindRadio + its TwinKind.
using namespace twins_control;
static_assert(DiagramRadio == FirstKindRadio + TwinDiagram);
static_assert(TranslateRadio == FirstKindRadio + TwinTranslate);
static_assert(DuplexRadio == FirstKindRadio + TwinDuplex);
constexpr int HelpContext = 137;

const Language French{LanguageFrench, nullptr};

}  // namespace

TwinsDialog::TwinsDialog(const std::string& twins, const Board& board, const Language& language,
                         const QString& title, QWidget* parent)
    : QDialog(parent), board_(board), language_(language), editor_(OpenTwinsEditor(twins)) {
  setObjectName("TwinsDialog");
  auto radio = [](QWidget* box, int id, const QString& text) {
    auto* r = new QRadioButton(text, box);
    SetControlId(r, id);
    return r;
  };

  auto* modeBox = new QGroupBox(MessageQ(French, msg::TwinType), this);
  SetControlId(modeBox, ModeGroup);
  auto* modeLayout = new QHBoxLayout(modeBox);
  mode_ = new QButtonGroup(this);
  mode_->addButton(radio(modeBox, UsualRadio, MessageQ(French, msg::Usual)), 0);
  mode_->addButton(radio(modeBox, SuccessiveRadio, MessageQ(French, msg::Successive)), 1);
  modeLayout->addWidget(mode_->button(0));
  modeLayout->addWidget(mode_->button(1));
  modeLayout->addStretch();

  // The seventeen kinds; the board-wide ones sit under their family label.
  auto* kindBox = new QGroupBox(MessageQ(French, msg::Discriminants), this);
  SetControlId(kindBox, KindGroup);
  auto* kindGrid = new QGridLayout(kindBox);
  kinds_ = new QButtonGroup(this);
  auto addKind = [&](int kind, const QString& text, int row, int column) {
    QRadioButton* r = radio(kindBox, FirstKindRadio + kind, text);
    kinds_->addButton(r, kind);
    kindGrid->addWidget(r, row, column);
  };
  const auto family = [&](int id, int message, int row) {
    auto* label = new QLabel(MessageQ(French, message), kindBox);
    SetControlId(label, id);
    kindGrid->addWidget(label, row, 2);
  };
  addKind(TwinDiagram, MessageQ(French, msg::Diagram), 0, 0);
  addKind(TwinMove, MessageQ(French, msg::MoveMan), 1, 0);
  addKind(TwinRemove, MessageQ(French, msg::RemoveMan), 2, 0);
  addKind(TwinAdd, MessageQ(French, msg::AddMan), 3, 0);
  addKind(TwinRemoveAdd, MessageQ(French, msg::RemoveAndAddMan), 4, 0);
  addKind(TwinExchange, MessageQ(French, msg::ExchangeMen), 5, 0);
  addKind(TwinChangeType, MessageQ(French, msg::ChangeProblemType), 6, 0);
  addKind(TwinAfterKey, MessageQ(French, msg::AfterKey), 7, 0);
  addKind(TwinReverseColours, MessageQ(French, msg::ReverseColours), 8, 0);
  addKind(TwinDuplex, MessageQ(French, msg::Duplex), 9, 0);
  family(RotationLabel, msg::RotationBy, 0);
  addKind(TwinRotate90, QStringLiteral("90°"), 1, 2);
  addKind(TwinRotate180, QStringLiteral("180°"), 2, 2);
  addKind(TwinRotate270, QStringLiteral("270°"), 3, 2);
  family(TranslationLabel, msg::Translation, 4);
  addKind(TwinTranslate, MessageQ(French, msg::Normal), 5, 2);
  addKind(TwinTranslateToroidal, MessageQ(French, msg::Toroidal), 6, 2);
  family(MirrorLabel, msg::Mirror, 7);
  addKind(TwinMirrorVertical, MessageQ(French, msg::Vertical), 8, 2);
  addKind(TwinMirrorHorizontal, MessageQ(French, msg::Horizontal), 9, 2);
  kindGrid->setColumnMinimumWidth(1, 12);

  combined_ = new QCheckBox(MessageQ(French, msg::CombinedDiscriminant), this);
  SetControlId(combined_, CombinedBox);

  auto field = [this](int id, int labelId, int message, int slot) {
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    edit->setMaxLength(2);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
    auto* label = new QLabel(MessageQ(French, message), this);
    SetControlId(label, labelId);
    label->setBuddy(edit);
    fieldLabels_[slot] = label;
    // A kind that needs fewer fields hides the others but keeps their
    // room, so that the dialog does not change size with the choice.
    for (QWidget* widget : {static_cast<QWidget*>(edit), static_cast<QWidget*>(label)}) {
      QSizePolicy policy = widget->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      widget->setSizePolicy(policy);
    }
    return edit;
  };
  square1_ = field(FirstSquareEdit, FirstSquareLabel, msg::FirstSquare, 0);
  square2_ = field(SecondSquareEdit, SecondSquareLabel, msg::SecondSquare, 1);
  man_ = field(ManEdit, ManLabel, msg::Man, 2);
  auto* fields = new QGridLayout;
  fields->addWidget(fieldLabels_[0], 0, 0);
  fields->addWidget(square1_, 0, 1);
  fields->addWidget(fieldLabels_[1], 1, 0);
  fields->addWidget(square2_, 1, 1);
  fields->addWidget(fieldLabels_[2], 2, 0);
  fields->addWidget(man_, 2, 1);
  fields->setColumnStretch(2, 1);

  list_ = new QListWidget(this);
  SetControlId(list_, TwinList);
  list_->setMinimumWidth(220);
  auto button = [this](int id, int message) {
    auto* b = new QPushButton(MessageQ(French, message), this);
    SetControlId(b, id);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* add = button(AddButton, msg::Add);
  QPushButton* modify = button(ModifyButton, msg::Modify);
  QPushButton* remove = button(RemoveButton, msg::Remove);
  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(add);
  listButtons->addWidget(modify);
  listButtons->addWidget(remove);

  auto* left = new QVBoxLayout;
  left->addWidget(modeBox);
  left->addWidget(kindBox);
  left->addWidget(combined_);
  left->addLayout(fields);
  auto* right = new QVBoxLayout;
  right->addWidget(list_, 1);
  right->addLayout(listButtons);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(StandardButtons(this, language, HelpContext));

  connect(kinds_, &QButtonGroup::idClicked, this, &TwinsDialog::ShowKind);
  connect(mode_, &QButtonGroup::idClicked, this, [this](int id) {
    editor_.successive = id == 1;
    ShowList();
  });
  connect(list_, &QListWidget::currentRowChanged, this, &TwinsDialog::LineSelected);
  connect(add, &QPushButton::clicked, this, &TwinsDialog::Add);
  connect(modify, &QPushButton::clicked, this, &TwinsDialog::Modify);
  connect(remove, &QPushButton::clicked, this, &TwinsDialog::Remove);

  TranslateOnOpening(this, language, DialogTwins, title);
  mode_->button(editor_.successive ? 1 : 0)->setChecked(true);
  kinds_->button(TwinDiagram)->setChecked(true);
  ShowKind(TwinDiagram);
  ShowList();
}

void TwinsDialog::ShowKind(int kind) {
  const TwinFields used = FieldsOfKind(kind);
  const std::array<bool, 3> shown = {used.square1, used.square2, used.man};
  const std::array<QLineEdit*, 3> edits = {square1_, square2_, man_};
  for (int i = 0; i < 3; ++i) {
    fieldLabels_[i]->setVisible(shown[i]);
    edits[i]->setVisible(shown[i]);
  }
}

void TwinsDialog::ShowList() {
  const std::string field = TwinsEditorField(editor_);
  const QSignalBlocker block(list_);
  list_->clear();
  for (int i = 0; i < int(editor_.entries.size()); ++i) {
    list_->addItem(FromCp1252(DescribeTwin(field, i, board_, language_).text));
  }
  list_->setCurrentRow(editor_.selected);
}

void TwinsDialog::LineSelected(int row) {
  editor_.selected = row;
  if (row < 0 || row >= int(editor_.entries.size())) return;
  const TwinEntry& entry = editor_.entries[row];
  kinds_->button(entry.kind)->setChecked(true);
  ShowKind(entry.kind);
  combined_->setChecked(entry.combined);
  if (entry.kind == TwinChangeType) {
    twinType_ = TwinProblemType(entry);
    return;
  }
  const TwinFields used = FieldsOfKind(entry.kind);
  square1_->setText(used.square1 ? FromCp1252(TwinSquareText(entry.square1)) : QString());
  square2_->setText(used.square2 ? FromCp1252(TwinSquareText(entry.square2)) : QString());
  man_->setText(used.man ? FromCp1252(TwinManText(entry.man, language_)) : QString());
}

bool TwinsDialog::BuildEntry(TwinEntry& entry) {
  entry = TwinEntry{};
  entry.kind = std::max(0, kinds_->checkedId());
  entry.combined = combined_->isChecked();
  if (entry.kind == TwinChangeType) {
    ProblemType type = twinType_;
    if (!RunProblemTypeDialog(this, language_, QString(), TypeModeTwin, type)) return false;
    twinType_ = type;
    entry.square1 = type.kind | type.flags;
    entry.square2 = type.moves;
    return true;
  }
  const TwinFields used = FieldsOfKind(entry.kind);
  // A square field that names no square keeps the list as it is and waits
  // for a correction there: a twin on a square nobody typed is worse.
  const auto readSquare = [](QLineEdit* field, int& square) {
    const std::optional<int> read = ParseTwinSquare(ToCp1252(field->text()));
    if (read) {
      square = *read;
      return true;
    }
    field->setFocus();
    field->selectAll();
    return false;
  };
  if (used.square1 && !readSquare(square1_, entry.square1)) return false;
  if (used.square2 && !readSquare(square2_, entry.square2)) return false;
  if (used.man) entry.man = ParseTwinMan(ToCp1252(man_->text()), language_);
  return true;
}

void TwinsDialog::Add() {
  if (int(editor_.entries.size()) >= MaxTwinEntries) return;
  TwinEntry entry;
  if (!BuildEntry(entry)) return;
  AddTwin(editor_, entry);
  ShowList();
}

void TwinsDialog::Modify() {
  if (editor_.selected < 0) return;
  TwinEntry entry;
  if (!BuildEntry(entry)) return;
  ModifyTwin(editor_, entry);
  ShowList();
}

void TwinsDialog::Remove() {
  RemoveTwin(editor_);
  ShowList();
}

bool RunTwinsDialog(QWidget* parent, const Language& language, const QString& title,
                    const Board& board, std::string& twins) {
  TwinsDialog dialog(twins, board, language, title, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  twins = dialog.Field();
  return true;
}

}  // namespace kv::app
