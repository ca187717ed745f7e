#include "app/biographical_selection_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextOption>
#include <QVBoxLayout>

#include "app/choose_file.h"
#include "app/choose_file_logic.h"
#include "app/description_commands.h"
#include "app/design_text.h"
#include "config/ini_location.h"
#include "config/settings.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {

namespace {

// The control ids of the layout, which its translation table and the tests
// find the controls by.
using namespace biographical_selection_control;  // strings/dialog_controls.h
constexpr int kYearIds[4] = {BirthFromEdit, BirthToEdit, DeathFromEdit, DeathToEdit};

QLineEdit* YearEdit(QWidget* parent, int id) {
  auto* edit = new QLineEdit(parent);
  SetControlId(edit, id);
  edit->setValidator(new QIntValidator(0, MaxYearFieldValue, edit));
  edit->setMaxLength(4);
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  return edit;
}

// A group of two years, from and to; its "&" label gives the first the focus.
QGroupBox* YearGroup(QWidget* parent, int id, int message, QLineEdit* from, QLineEdit* to) {
  auto* group = new QGroupBox(DesignText(message), parent);
  SetControlId(group, id);
  auto* row = new QHBoxLayout(group);
  row->addWidget(from);
  row->addWidget(new QLabel(QStringLiteral("\u2013"), group));
  row->addWidget(to);
  row->addStretch();
  return group;
}

}  // namespace

BiographicalSelectionDialog::BiographicalSelectionDialog(BiographicalSelection& selection,
                                                         AuthorAndSourceLists& lists,
                                                         const Language& language,
                                                         const QString& title, QWidget* parent)
    : QDialog(parent), selection_(selection), lists_(lists) {
  setObjectName(QStringLiteral("BiographicalSelectionDialog"));
  setWindowTitle(QStringLiteral("S\u00e9lection biographique"));
  for (int i = 0; i < 4; ++i) years_[i] = YearEdit(this, kYearIds[i]);
  QGroupBox* birth = YearGroup(this, BirthGroup, msg::Birth, years_[0], years_[1]);
  QGroupBox* death = YearGroup(this, DeathGroup, msg::Death, years_[2], years_[3]);

  auto* countryLabel = new QLabel(DesignText(msg::Country), this);
  SetControlId(countryLabel, CountryLabel);
  country_ = new QComboBox(this);
  SetControlId(country_, CountryField);
  country_->setEditable(true);
  country_->setInsertPolicy(QComboBox::NoInsert);
  country_->lineEdit()->setMaxLength(static_cast<int>(MaxCountryLength));
  country_->setMinimumContentsLength(static_cast<int>(MaxCountryLength));
  countryLabel->setBuddy(country_);
  initialize_ = new QPushButton(DesignText(msg::Initialize), this);
  SetControlId(initialize_, InitializeButton);
  initialize_->setAutoDefault(false);
  initialize_->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
  list_ = new QPushButton(DesignText(msg::List), this);
  SetControlId(list_, ListButton);
  list_->setAutoDefault(false);
  list_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));

  result_ = new QPlainTextEdit(this);
  SetControlId(result_, ResultList);
  result_->setReadOnly(true);
  result_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Three tab stops: after the name (at most 32 characters), the birth and
  // the death.
  const int w = result_->fontMetrics().averageCharWidth();
  QTextOption option = result_->document()->defaultTextOption();
  option.setTabs({QTextOption::Tab(26.0 * w, QTextOption::LeftTab),
                  QTextOption::Tab(33.0 * w, QTextOption::LeftTab),
                  QTextOption::Tab(40.0 * w, QTextOption::LeftTab)});
  result_->document()->setDefaultTextOption(option);
  result_->setMinimumSize(58 * w, 12 * result_->fontMetrics().lineSpacing());
  total_ = new QLabel(this);
  SetControlId(total_, TotalLabel);
  // Room for the largest total from the start, so that showing a count does
  // not widen the dialog.
  total_->setMinimumWidth(total_->fontMetrics().horizontalAdvance(
      QString::fromStdString(BiographicalTotalText(MaxAuthorListEntries))));
  update_ = new QCheckBox(DesignText(msg::UpdateAuthorList), this);
  SetControlId(update_, UpdateButton);

  auto* grid = new QGridLayout;
  grid->addWidget(birth, 0, 0, 1, 2);
  grid->addWidget(death, 0, 2, 1, 2);
  grid->addWidget(countryLabel, 1, 0);
  grid->addWidget(country_, 1, 1);
  grid->addWidget(initialize_, 1, 2);
  grid->addWidget(list_, 1, 3);
  grid->addWidget(result_, 2, 0, 1, 4);
  grid->addWidget(total_, 3, 0);
  grid->addWidget(update_, 3, 1, 1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(StandardButtons(this, language, HelpContextBiographical));

  QWidget* order[] = {years_[0],   years_[1], years_[2], years_[3], country_,
                      initialize_, list_,     result_,   update_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(initialize_, &QPushButton::clicked, this, [this] {
    BiographicalSelection cleared;
    InitializeSelection(cleared);
    ShowFields(cleared);
  });
  connect(list_, &QPushButton::clicked, this, [this] {
    if (!chooseAuthorList || !chooseAuthorList(this)) return;
    const QString typed = country_->currentText();
    FillCountries();
    country_->setEditText(typed);
    result_->clear();
    total_->clear();
  });

  FillCountries();
  ShowFields(selection_);
  TranslateOnOpening(this, language, DialogBiographicalSelection, title);
  years_[0]->setFocus();
}

void BiographicalSelectionDialog::FillCountries() {
  country_->clear();
  for (const std::string& name : lists_.countries) country_->addItem(FromCp1252(name));
}

void BiographicalSelectionDialog::ShowFields(const BiographicalSelection& fields) {
  const int values[4] = {fields.bornFrom, fields.bornTo, fields.diedFrom, fields.diedTo};
  for (int i = 0; i < 4; ++i) years_[i]->setText(QString::number(values[i]));
  country_->setEditText(FromCp1252(fields.country));
}

BiographicalSelection BiographicalSelectionDialog::Fields() const {
  BiographicalSelection fields;
  int* values[4] = {&fields.bornFrom, &fields.bornTo, &fields.diedFrom, &fields.diedTo};
  for (int i = 0; i < 4; ++i) *values[i] = YearValue(ToCp1252(years_[i]->text()));
  fields.country = ToCp1252(country_->currentText()).substr(0, MaxCountryLength);
  return fields;
}

void BiographicalSelectionDialog::accept() {
  selection_ = Fields();
  const BiographicalResult found =
      ApplyBiographicalSelection(selection_, lists_.authors, update_->isChecked());
  result_->setPlainText(FromCp1252(found.text));
  total_->setText(QString::fromStdString(BiographicalTotalText(found.total)));
}

bool ChangeAuthorList(AppState& state, const std::string& path, const std::string& iniPath) {
  state.authorListFile = path;
  const bool written =
      UpdateIniFile(iniPath, [&](IniDocument& document) { SaveAuthorListFile(document, path); });
  ReloadDialogLists(state);
  return written;
}

void RunBiographicalSelectionDialog(QWidget* parent, AppState& state, const QString& title,
                                    const std::function<void()>& listsReloaded) {
  BiographicalSelectionDialog dialog(state.biographical, DialogLists(state), state.language, title,
                                     parent);
  dialog.chooseAuthorList = [&state, listsReloaded](QWidget* owner) {
    std::string name = state.authorListFile;
    if (!ChooseFile(owner, state.language, name, ChooseAuthorList)) return false;
    ChangeAuthorList(state, name, IniFilePath());
    if (listsReloaded) listsReloaded();
    return true;
  };
  dialog.exec();
}

}  // namespace kv::app
