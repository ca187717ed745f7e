// The twins dialog: usual or successive twins, the list of entries, and the
// kind, squares and man of the entry being built. The list and its rules live
// in TwinsEditor; this window shows them.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "app/twins_logic.h"
#include "core/position.h"
#include "strings/language.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace kv::app {

class TwinsDialog : public QDialog {
  Q_OBJECT
 public:
  TwinsDialog(const std::string& twins, const Board& board, const Language& language,
              const QString& title, QWidget* parent = nullptr);

  // The twins field OK stores (empty without entries).
  std::string Field() const { return TwinsEditorField(editor_); }
  const TwinsEditor& editor() const { return editor_; }

 private:
  void ShowKind(int kind);
  void ShowList();
  void LineSelected(int row);
  // The entry the fields describe; false when the type dialog of a
  // stipulation change was cancelled.
  bool BuildEntry(TwinEntry& entry);
  void Add();
  void Modify();
  void Remove();

  const Board& board_;
  const Language& language_;
  TwinsEditor editor_;
  ProblemType twinType_;
  QButtonGroup* mode_ = nullptr;
  QButtonGroup* kinds_ = nullptr;
  QCheckBox* combined_ = nullptr;
  QLineEdit* square1_ = nullptr;
  QLineEdit* square2_ = nullptr;
  QLineEdit* man_ = nullptr;
  std::array<QLabel*, 3> fieldLabels_{};
  QListWidget* list_ = nullptr;
};

// Opens the dialog on the twins field; true on OK with `twins` replaced,
// false on Cancel with it untouched.
bool RunTwinsDialog(QWidget* parent, const Language& language, const QString& title,
                    const Board& board, std::string& twins);

}  // namespace kv::app
