#include "app/text_search_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/design_text.h"

namespace kv::app {

TextSearchDialog::TextSearchDialog(const QString& proposed, const Language& language,
                                   QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TextSearchDialog"));
  setWindowTitle(QStringLiteral("Recherche de chaîne"));
  text_ = new QLineEdit(this);
  SetControlId(text_, 101);
  text_->setMaxLength(MaxFindTextLength);
  text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
  // A selection spanning lines proposes its first line only.
  QString first = proposed;
  first.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text_->setText(first.section(QLatin1Char('\n'), 0, 0).left(MaxFindTextLength));
  text_->selectAll();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(StandardButtons(this, language, 0));
  text_->setFocus();
}

std::string TextSearchDialog::SearchText() const {
  return ToCp1252(text_->text());
}

bool RunTextSearchDialog(QWidget* parent, const Language& language, const QString& proposed,
                         std::string& text, const QString& title) {
  TextSearchDialog dialog(proposed, language, parent);
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.SearchText();
  return true;
}

}  // namespace kv::app
