#include "app/position_search_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/design_text.h"
#include "app/position_search_logic.h"
#include "app/problem_type_dialog.h"
#include "app/search_details_dialog.h"
#include "app/up_down.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// Control ids of the dialog (strings/dialog_controls.h, which the
// translation table shares).
using namespace position_search_control;
constexpr std::array<int, 3> kCountLabelIds = {AmountLabel, WhiteLabel, BlackLabel};
constexpr std::array<int, 3> kCountLabelMessages = {msg::Amount, msg::White, msg::Black};
constexpr std::array<int, 3> kCountIds = {AmountEdit, WhiteEdit, BlackEdit};
constexpr std::array<int, 3> kModeIds = {AmountMode, WhiteMode, BlackMode};
constexpr std::array<int, 4> kMatrixIds = {IdentityBox, GapBox, SymmetryBox, RotationBox};
constexpr std::array<int, 4> kMatrixMessages = {msg::Identity, msg::Gap, msg::Symmetry,
                                                msg::Rotation};
constexpr std::array<int, 4> kMatrixFlags = {MatrixIdentity, MatrixGap, MatrixSymmetry,
                                             MatrixRotation};
constexpr std::array<int, 3> kScopeIds = {FileRadio, DirectoryRadio, DiskRadio};
constexpr std::array<int, 3> kScopeMessages = {msg::File, msg::Directory, msg::Disk};
// "exactly", "at least", "at the most".
constexpr int FirstModeMessage = msg::CountExactly;

QString WithoutMnemonic(QString text) {
  return text.remove(QLatin1Char('&')).trimmed();
}

MaterialCriterion& Material(SearchCriteria& criteria, int which) {
  return which == 0 ? criteria.total : which == 1 ? criteria.white : criteria.black;
}

}  // namespace

ClickableGroup::ClickableGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setCursor(Qt::PointingHandCursor);
}

bool ClickableGroup::event(QEvent* event) {
  // The group holds nothing that takes the focus, so its mnemonic opens it.
  if (event->type() == QEvent::Shortcut) {
    emit activated();
    return true;
  }
  return QGroupBox::event(event);
}

void ClickableGroup::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit activated();
  }
  QGroupBox::mouseReleaseEvent(event);
}

PositionSearchDialog::PositionSearchDialog(const SearchCriteria& criteria, bool fileOpen,
                                           const std::string& startDirectory, Board& board,
                                           SearchMemory& memory, const Language& language,
                                           const QString& title, QWidget* parent)
    : QDialog(parent),
      working_(criteria),
      fileOpen_(fileOpen),
      board_(board),
      memory_(memory),
      language_(language) {
  setObjectName(QStringLiteral("PositionSearchDialog"));
  setWindowTitle(title.isEmpty() ? QStringLiteral("Rechercher position") : title);
  working_.scope = OpeningScope(working_.scope, fileOpen_);

  information_ = new ClickableGroup(DesignText(msg::Information), this);
  SetControlId(information_, InformationGroup);
  text_ = new QLabel(information_);
  SetControlId(text_, InformationText);
  text_->setTextFormat(Qt::PlainText);
  text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QLatin1Char('x')) *
                         MaxSearchTextLength);
  (new QVBoxLayout(information_))->addWidget(text_);
  connect(information_, &ClickableGroup::activated, this, &PositionSearchDialog::SearchInformation);

  auto* men = new QGroupBox(DesignText(msg::Men), this);
  SetControlId(men, MenGroup);
  auto* menGrid = new QGridLayout(men);
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(DesignText(kCountLabelMessages[i]), men);
    SetControlId(label, kCountLabelIds[i]);
    counts_[i] = new UpDownBox(kCountIds[i], 0, 0, MaxMaterialCount, MaxMaterialCount, men);
    counts_[i]->setProperty("upDownId", kCountIds[i] + 1000);
    label->setBuddy(counts_[i]);
    modes_[i] = new QComboBox(men);
    SetControlId(modes_[i], kModeIds[i]);
    for (int m = 0; m < 3; ++m) modes_[i]->addItem(MessageQ(language, FirstModeMessage + m));
    // A count of 0 is no criterion: its mode goes back to "exactly".
    connect(counts_[i], &QSpinBox::valueChanged, this, [this, i](int value) {
      if (value == 0) modes_[i]->setCurrentIndex(MaterialExactly);
    });
    menGrid->addWidget(label, i, 0);
    menGrid->addWidget(counts_[i], i, 1);
    menGrid->addWidget(modes_[i], i, 2);
  }

  auto* matrix = new QGroupBox(DesignText(msg::Matrix), this);
  SetControlId(matrix, MatrixGroup);
  auto* matrixGrid = new QGridLayout(matrix);
  for (int i = 0; i < 4; ++i) {
    matrix_[i] = new QCheckBox(DesignText(kMatrixMessages[i]), matrix);
    SetControlId(matrix_[i], kMatrixIds[i]);
    matrixGrid->addWidget(matrix_[i], i / 2, i % 2);
    connect(matrix_[i], &QCheckBox::toggled, this, [this, i](bool on) {
      int flags = 0;
      for (int b = 0; b < 4; ++b)
        if (matrix_[b]->isChecked()) flags |= kMatrixFlags[b];
      flags = SetMatrixFlag(flags, kMatrixFlags[i], on);
      for (int b = 0; b < 4; ++b) {
        const QSignalBlocker blocker(matrix_[b]);
        matrix_[b]->setChecked((flags & kMatrixFlags[b]) != 0);
      }
    });
  }

  auto* scope = new QGroupBox(DesignText(msg::Scope), this);
  SetControlId(scope, ScopeGroup);
  auto* scopeLayout = new QVBoxLayout(scope);
  scopeGroup_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    scopes_[i] = new QRadioButton(DesignText(kScopeMessages[i]), scope);
    SetControlId(scopes_[i], kScopeIds[i]);
    scopeGroup_->addButton(scopes_[i], i);
    scopeLayout->addWidget(scopes_[i]);
  }
  scopes_[ScopeFile]->setEnabled(fileOpen_);

  twins_ = new QCheckBox(DesignText(msg::Twins), this);
  SetControlId(twins_, TwinsBox);
  aristocratic_ = new QCheckBox(DesignText(msg::Aristocratic), this);
  SetControlId(aristocratic_, AristocraticBox);

  typeGroup_ = new ClickableGroup(DesignText(msg::Type), this);
  SetControlId(typeGroup_, TypeGroup);
  type_ = new QLabel(typeGroup_);
  SetControlId(type_, TypeText);
  type_->setTextFormat(Qt::PlainText);
  type_->setMinimumWidth(type_->fontMetrics().horizontalAdvance(QStringLiteral(" sh=255 max")));
  (new QVBoxLayout(typeGroup_))->addWidget(type_);
  connect(typeGroup_, &ClickableGroup::activated, this, &PositionSearchDialog::SearchType);

  auto* actionsButton = new QPushButton(DesignText(msg::Actions), this);
  SetControlId(actionsButton, ActionsButton);
  actionsButton->setAutoDefault(false);
  actionsButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  actions_ = new QMenu(actionsButton);
  actions_->addAction(QStringLiteral("Search for &Information..."), this,
                      &PositionSearchDialog::SearchInformation);
  actions_->addAction(QStringLiteral("Search for &Type..."), this,
                      &PositionSearchDialog::SearchType);
  actions_->addSeparator();
  recover_ = actions_->addAction(QStringLiteral("&Recover the matrix"), this,
                                 &PositionSearchDialog::RecoverMatrixAction);
  actions_->addAction(QStringLiteral("&Clear the criteria"), this,
                      &PositionSearchDialog::ClearCriteria);
  actions_->addAction(QStringLiteral("&Memorize the criterias"), this,
                      &PositionSearchDialog::MemorizeCriteria);
  actions_->addAction(QStringLiteral("&Reload the criterias"), this,
                      &PositionSearchDialog::ReloadCriteria);
  actionsButton->setMenu(actions_);

  // Two columns read top to bottom: the information, men and matrix on the
  // left; the scope, the two flags and the type on the right.
  auto* left = new QVBoxLayout;
  left->addWidget(information_);
  left->addWidget(men);
  left->addWidget(matrix);
  auto* right = new QVBoxLayout;
  right->addWidget(scope);
  right->addWidget(twins_);
  right->addWidget(aristocratic_);
  right->addWidget(typeGroup_);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  QDialogButtonBox* buttons = StandardButtons(this, language, HelpContextSearch);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(actionsButton);
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(bottom);

  QWidget* order[] = {counts_[0], modes_[0],  counts_[1],    modes_[1],    counts_[2], modes_[2],
                      matrix_[0], matrix_[1], matrix_[2],    matrix_[3],   scopes_[0], scopes_[1],
                      scopes_[2], twins_,     aristocratic_, actionsButton};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  setTabOrder(actionsButton, ControlById(this, 1));

  TranslateOnOpening(this, language, DialogPositionSearch, QString());
  // The disk scope names the file system it walks.
  scopes_[ScopeDisk]->setText(
      FromCp1252(DiskLabel(ToCp1252(scopes_[ScopeDisk]->text()), startDirectory)));
  Refresh();
  counts_[0]->setFocus();
}

void PositionSearchDialog::Refresh() {
  for (int i = 0; i < 3; ++i) {
    const MaterialCriterion& material = Material(working_, i);
    const QSignalBlocker blocker(counts_[i]);
    counts_[i]->setValue(material.count);
    modes_[i]->setCurrentIndex(material.mode);
  }
  for (int b = 0; b < 4; ++b) {
    const QSignalBlocker blocker(matrix_[b]);
    matrix_[b]->setChecked((working_.matrixFlags & kMatrixFlags[b]) != 0);
  }
  scopes_[working_.scope]->setChecked(true);
  twins_->setChecked(working_.twins);
  aristocratic_->setChecked(working_.aristocratic);
  text_->setText(FromCp1252(working_.text));
  type_->setText(QString::fromStdString(TypeCriterionText(working_.type)));
  recover_->setEnabled(CanRecoverMatrix(working_));
}

void PositionSearchDialog::Collect() {
  for (int i = 0; i < 3; ++i) {
    counts_[i]->interpretText();
    MaterialCriterion& material = Material(working_, i);
    material.mode = modes_[i]->currentIndex();
    SetMaterialCount(material, counts_[i]->value());
  }
  working_.matrixFlags = 0;
  for (int b = 0; b < 4; ++b)
    if (matrix_[b]->isChecked()) working_.matrixFlags |= kMatrixFlags[b];
  working_.scope = scopeGroup_->checkedId();
  working_.twins = twins_->isChecked();
  working_.aristocratic = aristocratic_->isChecked();
}

void PositionSearchDialog::SearchInformation() {
  if (RunSearchDetailsDialog(
          this, language_, WithoutMnemonic(MessageQ(language_, msg::Information)), working_.text)) {
    text_->setText(FromCp1252(working_.text));
  }
}

void PositionSearchDialog::SearchType() {
  ProblemType type = TypeForDialog(working_.type);
  if (RunProblemTypeDialog(this, language_, WithoutMnemonic(MessageQ(language_, msg::Type)),
                           TypeModeSearch, type)) {
    working_.type = TypeCriterionOf(type);
    type_->setText(QString::fromStdString(TypeCriterionText(working_.type)));
  }
}

void PositionSearchDialog::RecoverMatrixAction() {
  if (!CanRecoverMatrix(working_)) return;
  RecoverMatrix(working_.pattern, board_);
  emit boardChanged();
}

void PositionSearchDialog::ClearCriteria() {
  ClearSearchCriteria(working_, fileOpen_);
  Refresh();
}

void PositionSearchDialog::MemorizeCriteria() {
  Collect();
  memory_ = MemorizeSearch(working_, board_);
}

void PositionSearchDialog::ReloadCriteria() {
  ReloadSearch(memory_, fileOpen_, working_);
  Refresh();
  RecoverMatrixAction();
}

void PositionSearchDialog::accept() {
  Collect();
  result_ = AcceptSearchCriteria(working_);
  QDialog::accept();
}

void PositionSearchDialog::reject() {
  result_ = 0;
  QDialog::reject();
}

int RunPositionSearchDialog(QWidget* parent, AppState& state, const QString& title,
                            const std::function<void()>& boardChanged) {
  PositionSearchDialog dialog(state.searchCriteria, state.fileOpen, state.startDirectory,
                              state.pos.board, state.searchMemory, state.language, title, parent);
  if (boardChanged)
    QObject::connect(&dialog, &PositionSearchDialog::boardChanged, &dialog, boardChanged);
  if (dialog.exec() != QDialog::Accepted) return 0;
  state.searchCriteria = dialog.criteria();
  return dialog.result();
}

}  // namespace kv::app
