// The text criterion of the position search in four fields: author, source,
// award and comment, each at most 32 characters, joined with backslashes.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "collections/search_criteria.h"
#include "strings/language.h"

class QLineEdit;

namespace kv::app {

class SearchDetailsDialog : public QDialog {
  Q_OBJECT
 public:
  SearchDetailsDialog(const std::string& text, const Language& language, const QString& title,
                      QWidget* parent = nullptr);

  // The text criterion the four fields make (Windows-1252).
  std::string SearchText() const;
  QLineEdit* field(int part) const { return fields_[part]; }

 private:
  std::array<QLineEdit*, SearchTextParts> fields_{};
};

// Opens the dialog on `text`; true with `text` rebuilt on OK.
bool RunSearchDetailsDialog(QWidget* parent, const Language& language, const QString& title,
                            std::string& text);

}  // namespace kv::app
