// The text search of the solution pane: asks for the text to find.
#pragma once

#include <QDialog>
#include <string>

#include "strings/language.h"

class QLineEdit;

namespace kv::app {

// The longest search text the dialog takes.
inline constexpr int MaxFindTextLength = 119;

class TextSearchDialog : public QDialog {
  Q_OBJECT
 public:
  // `proposed`: the pane's selection, offered as the text to find (cut to
  // the field's length).
  TextSearchDialog(const QString& proposed, const Language& language, QWidget* parent = nullptr);
  QLineEdit* textField() const { return text_; }
  std::string SearchText() const;  // Windows-1252

 private:
  QLineEdit* text_ = nullptr;
};

// Shows the dialog, titled by the menu item that opened it (the French
// design title when empty); on OK puts the text into `text` and answers true.
bool RunTextSearchDialog(QWidget* parent, const Language& language, const QString& proposed,
                         std::string& text, const QString& title = {});

}  // namespace kv::app
