// "Check soundness" of the problem list: the check of the selected problems
// runs in the background on every core while a progress bar counts them;
// each result comes into a table, and a double click on a line shows that
// problem.
#pragma once

#include <QDialog>
#include <atomic>
#include <vector>

#include "collections/problem_list.h"
#include "collections/soundness_run.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace kv::app {

class ProblemListDialog;

class CheckSoundnessWindow : public QDialog {
  Q_OBJECT
 public:
  // Checks `entries` (list entry numbers) of `list`; `jobs` 0 = all cores.
  CheckSoundnessWindow(const ProblemList& list, std::vector<int> entries, int jobs = 0,
                       QWidget* parent = nullptr);
  ~CheckSoundnessWindow() override;  // stops the run and waits for it

  void Start();
  void Stop();  // the problems being searched are reported "stopped"
  bool running() const { return thread_ != nullptr; }

  QTableWidget* table() const { return table_; }
  QProgressBar* progressBar() const { return progress_; }
  QLabel* summaryLabel() const { return summary_; }

 signals:
  // A line was double-clicked: show list entry `entry`.
  void openEntry(int entry);
  void checkFinished();

 private:
  void ShowReport(std::size_t index, const CheckReport& report);
  void Finish();

  std::vector<int> entries_;
  std::vector<CheckItem> items_;
  std::vector<std::string> fileNames_;
  std::vector<CheckReport> reports_;
  int jobs_;
  std::atomic<bool> stop_{false};
  QThread* thread_ = nullptr;
  QTableWidget* table_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  int done_ = 0;
};

// The list dialog's action: opens the window over the selection (or the
// caret's entry) and shows a double-clicked problem through the dialog's
// caret, as moving the caret there would.
CheckSoundnessWindow* OpenCheckSoundness(ProblemListDialog* dialog, const ProblemList& list,
                                         const std::vector<int>& selected);

}  // namespace kv::app
