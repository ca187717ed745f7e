// The position search dialog: material counts, the matrix taken from the
// board with its symmetry and shifting flags, the scope, twins, aristocratic,
// the type and text criteria, and the "Actions" that clear, memorize, reload
// and recover. It edits a working copy of the criteria; OK hands them back
// with a result that is non-zero exactly when a criterion is set.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <array>
#include <functional>
#include <string>

#include "collections/search_criteria.h"
#include "config/settings.h"
#include "core/position.h"
#include "strings/language.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kv::app {

class UpDownBox;

inline constexpr int HelpContextSearch = 107;

// A group box that acts as a button: a click, or its mnemonic, opens the
// dialog that edits what it shows. The pointer over it is a hand.
class ClickableGroup : public QGroupBox {
  Q_OBJECT
 public:
  ClickableGroup(const QString& title, QWidget* parent);
 signals:
  void activated();

 protected:
  bool event(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class PositionSearchDialog : public QDialog {
  Q_OBJECT
 public:
  // `board` is the position the matrix is taken from and recovered onto;
  // `memory` the criteria kept in the configuration.
  PositionSearchDialog(const SearchCriteria& criteria, bool fileOpen,
                       const std::string& startDirectory, Board& board, SearchMemory& memory,
                       const Language& language, const QString& title, QWidget* parent = nullptr);

  const SearchCriteria& criteria() const { return working_; }
  int result() const { return result_; }

  // The actions, in the order of the "Actions" menu.
  void SearchInformation();
  void SearchType();
  void RecoverMatrixAction();
  void ClearCriteria();
  void MemorizeCriteria();
  void ReloadCriteria();

  UpDownBox* count(int which) const { return counts_[which]; }
  QComboBox* mode(int which) const { return modes_[which]; }
  QCheckBox* matrixBox(int bit) const { return matrix_[bit]; }
  QRadioButton* scopeButton(int scope) const { return scopes_[scope]; }
  QCheckBox* twinsBox() const { return twins_; }
  QCheckBox* aristocraticBox() const { return aristocratic_; }
  QLabel* textShown() const { return text_; }
  QLabel* typeShown() const { return type_; }
  ClickableGroup* informationGroup() const { return information_; }
  ClickableGroup* typeGroup() const { return typeGroup_; }
  QMenu* actionsMenu() const { return actions_; }
  QAction* recoverAction() const { return recover_; }

  void accept() override;
  void reject() override;

 signals:
  // The board took the recovered matrix: redraw it.
  void boardChanged();

 private:
  void Refresh();  // the controls from the working criteria
  void Collect();  // the working criteria from the controls

  SearchCriteria working_;
  bool fileOpen_;
  Board& board_;
  SearchMemory& memory_;
  Language language_;
  int result_ = 0;
  std::array<UpDownBox*, 3> counts_{};
  std::array<QComboBox*, 3> modes_{};
  std::array<QCheckBox*, 4> matrix_{};
  std::array<QRadioButton*, 3> scopes_{};
  QButtonGroup* scopeGroup_ = nullptr;
  QCheckBox* twins_ = nullptr;
  QCheckBox* aristocratic_ = nullptr;
  QLabel* text_ = nullptr;
  QLabel* type_ = nullptr;
  ClickableGroup* information_ = nullptr;
  ClickableGroup* typeGroup_ = nullptr;
  QMenu* actions_ = nullptr;
  QAction* recover_ = nullptr;
};

struct AppState;

// Opens the dialog on the criteria of `state`'s run; OK stores them back.
// Returns the dialog's result (0 for Cancel or when no criterion is set).
// `boardChanged` is called when the dialog recovers a matrix onto the board.
int RunPositionSearchDialog(QWidget* parent, AppState& state, const QString& title,
                            const std::function<void()>& boardChanged);

}  // namespace kv::app
