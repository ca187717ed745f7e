#include "app/information_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The control ids of the layouts, which their translation tables and the
// tests find the controls by. Additional information: a label and a field
// per extra string, in extra-string order.
using namespace additional_information_control;  // strings/dialog_controls.h
// Information.
using namespace information_control;  // strings/dialog_controls.h
constexpr int HelpContext = 112;
constexpr int AwardCount = 8;

const Language French{LanguageFrench, nullptr};

QComboBox* EditableCombo(QWidget* parent, int id, int maxLength,
                         const std::vector<std::string>& choices) {
  auto* combo = new QComboBox(parent);
  SetControlId(combo, id);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->lineEdit()->setMaxLength(maxLength);
  for (const std::string& choice : choices) combo->addItem(FromCp1252(choice));
  combo->setMinimumContentsLength(32);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

// A backslash would start the next tag of the stored slot and cut the text
// when the record is read back, so the field turns it into "/" as it is
// typed: what the field shows is what the problem keeps.
void RefuseBackslash(QComboBox* combo) {
  QLineEdit* edit = combo->lineEdit();
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    if (!text.contains(QLatin1Char('\\'))) return;
    const int cursor = edit->cursorPosition();
    QString cleaned = text;
    cleaned.replace(QLatin1Char('\\'), QLatin1Char('/'));
    edit->setText(cleaned);
    edit->setCursorPosition(cursor);
  });
}

QLabel* BuddyLabel(QWidget* parent, int id, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  if (id != 0) SetControlId(label, id);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

// ---- Additional information.

AdditionalInformationDialog::AdditionalInformationDialog(
    const std::array<std::string, ExtraStringCount>& extra, const AuthorAndSourceLists& lists,
    const Language& language, const QString& title, QWidget* parent)
    : QDialog(parent) {
  setObjectName("AdditionalInformationDialog");
  // Labels in extra-string order: dedication, after, second source,
  // version author, version source.
  constexpr std::array<int, ExtraStringCount> labelMessages = {
      msg::DedicatedTo, msg::After, msg::SecondSource, msg::Version, msg::In};
  const std::vector<std::string> authors = OfferedAuthors(lists.authors);
  auto* form = new QFormLayout;
  for (int i = 0; i < ExtraStringCount; ++i) {
    const bool sourceField = i == ExtraSecondSource || i == ExtraVersionSource;
    fields_[i] = EditableCombo(this, FirstExtraField + i, ExtraStringCapacity,
                               sourceField ? lists.sources : authors);
    fields_[i]->setEditText(FromCp1252(extra[i]));
    RefuseBackslash(fields_[i]);
    form->addRow(
        BuddyLabel(this, FirstExtraLabel + i, MessageQ(French, labelMessages[i]), fields_[i]),
        fields_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(StandardButtons(this, language, HelpContext));
  TranslateOnOpening(this, language, DialogAdditionalInformation, title);
}

std::array<std::string, ExtraStringCount> AdditionalInformationDialog::Texts() const {
  std::array<std::string, ExtraStringCount> texts;
  for (int i = 0; i < ExtraStringCount; ++i) texts[i] = ToCp1252(fields_[i]->currentText());
  return texts;
}

bool RunAdditionalInformationDialog(QWidget* parent, const Language& language, const QString& title,
                                    const AuthorAndSourceLists& lists, CurrentProblem& problem) {
  AdditionalInformationDialog dialog(problem.extraStrings, lists, language, title, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  StoreExtraStrings(dialog.Texts(), problem);
  return true;
}

// ---- Information.

InformationDialog::InformationDialog(const CurrentProblem& problem,
                                     const AuthorAndSourceLists& lists, const Language& language,
                                     const QString& title, QWidget* parent)
    : QDialog(parent),
      lists_(lists),
      language_(language),
      fields_(OpenInformationFields(problem)),
      extra_(problem.extraStrings) {
  setObjectName("InformationDialog");

  entry_ = EditableCombo(this, AuthorEntryField, MaxAuthorsLength, OfferedAuthors(lists.authors));
  entry_->setEditText({});
  authors_ = new QListWidget(this);
  SetControlId(authors_, AuthorListBox);
  authors_->setMinimumHeight(90);
  auto* add = new QPushButton(MessageQ(French, msg::Add), this);
  SetControlId(add, AddAuthorButton);
  auto* remove = new QPushButton(MessageQ(French, msg::Remove), this);
  SetControlId(remove, RemoveAuthorButton);
  auto* info = new QPushButton(MessageQ(French, msg::Information), this);
  SetControlId(info, InformationButton);
  auto* more = new QPushButton(QStringLiteral("&>>"), this);
  SetControlId(more, MoreButton);
  for (QPushButton* b : {add, remove, info, more}) b->setAutoDefault(false);

  source_ = EditableCombo(this, SourceField, MaxSourceLength, lists.sources);
  source_->setEditText(FromCp1252(fields_.source));
  ordinal_ = AttachUpDown(this, 0, AwardOrdinalEdit, fields_.awardOrdinal, 0, 99);
  // An ordinal of 0 shows an empty field.
  ordinal_->setSpecialValueText(QStringLiteral(" "));
  std::vector<std::string> awards{""};
  for (int i = 0; i < AwardCount; ++i) awards.push_back(LoadMessage(language, msg::Prize + i));
  award_ = EditableCombo(this, AwardField, MaxAwardLength, awards);
  award_->setEditText(FromCp1252(fields_.awardText));
  comment_ = new QLineEdit(FromCp1252(fields_.comment), this);
  SetControlId(comment_, CommentField);
  comment_->setMaxLength(MaxCommentLength);

  auto* grid = new QGridLayout;
  grid->addWidget(BuddyLabel(this, AuthorLabel, MessageQ(French, msg::Authors), entry_), 0, 0);
  grid->addWidget(entry_, 0, 1, 1, 3);
  grid->addWidget(add, 0, 4);
  grid->addWidget(authors_, 1, 1, 3, 3);
  grid->addWidget(remove, 1, 4);
  grid->addWidget(info, 2, 4);
  grid->addWidget(BuddyLabel(this, 0, MessageQ(language, msg::Source), source_), 4, 0);
  grid->addWidget(source_, 4, 1, 1, 3);
  grid->addWidget(BuddyLabel(this, 0, MessageQ(language, msg::Award), ordinal_), 5, 0);
  grid->addWidget(ordinal_, 5, 1);
  grid->addWidget(award_, 5, 2, 1, 2);
  grid->addWidget(BuddyLabel(this, 0, MessageQ(language, msg::Comment), comment_), 6, 0);
  grid->addWidget(comment_, 6, 1, 1, 3);
  grid->addWidget(more, 6, 4);
  grid->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(StandardButtons(this, language, HelpContext));

  connect(add, &QPushButton::clicked, this, &InformationDialog::Add);
  connect(remove, &QPushButton::clicked, this, &InformationDialog::Remove);
  connect(info, &QPushButton::clicked, this, &InformationDialog::Information);
  connect(more, &QPushButton::clicked, this, &InformationDialog::MoreInformation);
  connect(authors_, &QListWidget::itemDoubleClicked, this, &InformationDialog::EditLine);
  connect(entry_, &QComboBox::editTextChanged, this, [this] { entryPending_ = true; });

  setTabOrder(entry_, add);
  setTabOrder(add, authors_);
  setTabOrder(authors_, remove);
  setTabOrder(remove, info);
  setTabOrder(info, source_);
  setTabOrder(source_, ordinal_);
  setTabOrder(ordinal_, award_);
  setTabOrder(award_, comment_);
  setTabOrder(comment_, more);

  TranslateOnOpening(this, language, DialogInformation, title);
  ShowLines();
  entryPending_ = false;
}

void InformationDialog::ShowLines() {
  authors_->clear();
  for (const std::string& line : fields_.authors.lines) authors_->addItem(FromCp1252(line));
  authors_->setCurrentRow(fields_.authors.selected);
  if (fields_.authors.selected < 0) authors_->clearSelection();
}

void InformationDialog::TakeSelection() {
  const auto selected = authors_->selectedItems();
  fields_.authors.selected = selected.isEmpty() ? -1 : authors_->row(selected.first());
}

void InformationDialog::Add() {
  TakeSelection();
  AddAuthorLine(fields_.authors, ToCp1252(entry_->currentText()));
  // The entry is ready for the next name: what was added is in the list.
  entry_->setEditText(QString());
  entryPending_ = false;
  entry_->setFocus(Qt::OtherFocusReason);
  ShowLines();
}

void InformationDialog::Remove() {
  TakeSelection();
  RemoveAuthorLine(fields_.authors);
  ShowLines();
}

void InformationDialog::EditLine() {
  TakeSelection();
  if (fields_.authors.selected < 0) return;
  entry_->setEditText(FromCp1252(fields_.authors.lines[fields_.authors.selected]));
  RemoveAuthorLine(fields_.authors);
  ShowLines();
}

void InformationDialog::Information() {
  const AuthorEntry* author = FindAuthor(lists_.authors, ToCp1252(entry_->currentText()));
  if (author != nullptr && statusText) statusText(FromCp1252(AuthorInformationText(*author)));
}

void InformationDialog::MoreInformation() {
  AdditionalInformationDialog dialog(extra_, lists_, language_, QString(), this);
  dialog.setWindowTitle(windowTitle());
  if (dialog.exec() != QDialog::Accepted) return;
  const auto texts = dialog.Texts();
  for (int i = 0; i < ExtraStringCount; ++i) extra_[i] = CleanExtraString(texts[i]);
}

void InformationDialog::mousePressEvent(QMouseEvent* event) {
  // A click on the dialog's background clears the list's selection.
  authors_->clearSelection();
  authors_->setCurrentRow(-1);
  QDialog::mousePressEvent(event);
}

void InformationDialog::Store(CurrentProblem& problem) const {
  InformationFields fields = fields_;
  const auto selected = authors_->selectedItems();
  fields.authors.selected = selected.isEmpty() ? -1 : authors_->row(selected.first());
  fields.source = ToCp1252(source_->currentText());
  fields.awardOrdinal = ordinal_->value();
  fields.awardText = ToCp1252(award_->currentText());
  fields.comment = ToCp1252(comment_->text());
  StoreInformationFields(std::move(fields), ToCp1252(entry_->currentText()), entryPending_,
                         problem);
  problem.extraStrings = extra_;
}

bool RunInformationDialog(QWidget* parent, const Language& language, const QString& title,
                          const AuthorAndSourceLists& lists, CurrentProblem& problem,
                          std::function<void(const QString&)> statusText) {
  InformationDialog dialog(problem, lists, language, title, parent);
  dialog.statusText = std::move(statusText);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Store(problem);
  return true;
}

}  // namespace kv::app
