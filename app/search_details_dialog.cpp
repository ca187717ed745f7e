#include "app/search_details_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/design_text.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// Labels 91..94 ("&Author", "&Source:", "&Award:", "&Comment:"), fields 101..104.
using namespace search_details_control;  // strings/dialog_controls.h
constexpr std::array<int, SearchTextParts> kLabelIds = {AuthorLabel, SourceLabel, AwardLabel,
                                                        CommentLabel};
constexpr std::array<int, SearchTextParts> kLabelMessages = {msg::Author, msg::Source, msg::Award,
                                                             msg::Comment};

}  // namespace

SearchDetailsDialog::SearchDetailsDialog(const std::string& text, const Language& language,
                                         const QString& title, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("SearchDetailsDialog"));
  setWindowTitle(title);
  auto* form = new QFormLayout;
  // The backslash separates the parts of the stored criterion: a field that
  // took one would shift the parts after it.
  auto* noBackslash =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\\\]*")), this);
  const std::array<std::string, SearchTextParts> parts = SearchTextFields(text);
  for (int i = 0; i < SearchTextParts; ++i) {
    auto* label = new QLabel(DesignText(kLabelMessages[i]), this);
    SetControlId(label, kLabelIds[i]);
    fields_[i] = new QLineEdit(FromCp1252(parts[i]), this);
    SetControlId(fields_[i], FirstField + i);
    fields_[i]->setMaxLength(MaxSearchTextLength);
    fields_[i]->setValidator(noBackslash);
    fields_[i]->setMinimumWidth(fields_[i]->fontMetrics().horizontalAdvance(QLatin1Char('x')) *
                                MaxSearchTextLength);
    label->setBuddy(fields_[i]);
    form->addRow(label, fields_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(StandardButtons(this, language, 0));
  TranslateOnOpening(this, language, DialogSearchInformation, QString());
  fields_[0]->setFocus();
}

std::string SearchDetailsDialog::SearchText() const {
  std::array<std::string, SearchTextParts> parts;
  bool any = false;
  for (int i = 0; i < SearchTextParts; ++i) {
    parts[i] = ToCp1252(fields_[i]->text());
    any = any || !parts[i].empty();
  }
  // Four empty fields are no criterion, not a text of three backslashes
  // that would let every record through.
  if (!any) return {};
  return BuildSearchText(parts[0], parts[1], parts[2], parts[3]);
}

bool RunSearchDetailsDialog(QWidget* parent, const Language& language, const QString& title,
                            std::string& text) {
  SearchDetailsDialog dialog(text, language, title, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.SearchText();
  return true;
}

}  // namespace kv::app
