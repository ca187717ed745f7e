// Runs the solve driver on a worker thread, so that the window keeps
// repainting while the search runs. The driver works on a copy of the
// position, type and options; its status texts come back through queued
// signals, its message boxes and the move choice of "Test a move" are asked
// on the window's thread while the worker waits, and Escape reaches it
// through an atomic break flag that its break poll reads.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/position.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options.h"
#include "strings/language.h"

class QThread;

namespace kv::app {

// What one solve works on, copied from the program's state when it starts.
struct SolveJob {
  Position pos;
  ProblemType type;
  SolveOptions options;
  std::string twins;
  Language language;
  bool figurines = false;
  int moves = 2;           // the driver's n: the number of moves, 1 for a refresh
  int testMoveFilter = 0;  // the square of the man tested, 0 for none
};

class SolveRunner : public QObject {
  Q_OBJECT
 public:
  explicit SolveRunner(QObject* parent = nullptr);
  ~SolveRunner() override;

  // Asked on the window's thread while the worker waits.
  std::function<int(const std::string& text, const std::string& caption, int style)> messageBox;
  std::function<int(const std::vector<std::string>& moves)> chooseMove;

  // Starts a solve with `solver` (which the worker alone uses until
  // finished()); false when one is running already.
  bool Start(std::unique_ptr<SolveJob> job, Solver& solver);
  bool running() const { return thread_ != nullptr; }
  // Escape: the driver's next break poll answers "stop".
  void RequestBreak() { breakFlag_.store(true); }
  // Waits for a running solve to end, breaking it off (the window closes).
  void BreakAndWait();

  // The text of the finished solve (Windows-1252, CR LF lines).
  const std::string& paneText() const { return paneText_; }
  const SolveJob* job() const { return job_.get(); }

 signals:
  void statusText(int part, const QString& text);
  void finished();

 private:
  void OnThreadFinished();

  QThread* thread_ = nullptr;
  std::unique_ptr<SolveJob> job_;
  std::atomic<bool> breakFlag_{false};
  std::string paneText_;
};

}  // namespace kv::app
