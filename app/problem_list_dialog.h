// The problem list dialog: the entries of the list, several selectable; the
// caret's problem is shown as it moves; two arrows reorder the list; the
// "Actions" menu runs an action over the selection.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "collections/problem_list.h"
#include "strings/language.h"

class QListWidget;
class QMenu;
class QPushButton;

namespace kv::app {

inline constexpr int HelpContextProblemList = 108;

// The entries of the "Actions" menu, in its order.
enum class ListAction {
  Printer,             // "Positions -> &Printer"
  CopyPositions,       // "&Positions -> KVL file"
  PgnFile,             // "&Positions -> PGN file"
  EpdFile,             // "&Positions -> EPD file"
  Viewer,              // "Positions -> &Viewer"
  SolutionsToText,     // "&Solutions -> TXT file"
  SolutionsToRecords,  // "Solutions -> Text"
  DuplicateInformation,
  PopeyeFile,  // "Positions -> S&olver input file"
};
inline constexpr int ListActionCount = 9;

// The menu's label of an action.
const char* ListActionLabel(ListAction action);

class ProblemListDialog : public QDialog {
  Q_OBJECT
 public:
  // `currentFile` and `lastIndex` tell, on closing, whether the selection
  // covers the whole current file.
  ProblemListDialog(ProblemList& list, const std::string& currentFile, int lastIndex,
                    const Language& language, const QString& title, QWidget* parent = nullptr);

  QListWidget* listBox() const { return listBox_; }
  QPushButton* upButton() const { return up_; }
  QPushButton* downButton() const { return down_; }
  QMenu* actionsMenu() const { return actions_; }
  std::vector<int> SelectedEntries() const;

  // Shows the opening state: the kept selection and the list position
  // selected, the position as the caret, its problem shown. Call once the
  // signals are connected.
  void Start();

  void MoveCaretUp();
  void MoveCaretDown();
  // Redraws the lines of an entry moved from `row` to `moved` (nothing when
  // it could not move), keeping it selected and the caret.
  void ShowMovedEntry(int row, int moved);

  void reject() override;  // "&Close", Cancel and Escape keep the selection

 signals:
  // The caret moved to `entry`: load and show its problem.
  void caretChanged(int entry);
  // " Select : %d / %d ", or empty on closing, for status part 1.
  void statusText(const QString& text);
  void actionChosen(ListAction action, const std::vector<int>& selected);

 private:
  void ShowStatus();
  void Refill();

  ProblemList& list_;
  std::string currentFile_;
  int lastIndex_;
  QListWidget* listBox_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  QMenu* actions_ = nullptr;
};

}  // namespace kv::app
