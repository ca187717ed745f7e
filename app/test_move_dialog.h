// The test-a-move dialog: White's legal moves in columns; the chosen one is
// tested alone. Answers the entry's index + 1, 0 for Cancel.
#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

#include "strings/language.h"

class QListWidget;

namespace kv::app {

class TestMoveDialog : public QDialog {
  Q_OBJECT
 public:
  TestMoveDialog(const QStringList& moves, const QFont& font, const Language& language,
                 const QString& title, QWidget* parent = nullptr);
  // The answer once the dialog has ended: index + 1 of the chosen move, or 0.
  int Answer() const { return answer_; }

 private:
  void Choose();

  QListWidget* list_ = nullptr;
  int answer_ = 0;
};

// Shows the dialog; with no move it answers 0 without opening.
int RunTestMoveDialog(QWidget* parent, const Language& language, const QString& title,
                      const QStringList& moves, const QFont& font);

}  // namespace kv::app
