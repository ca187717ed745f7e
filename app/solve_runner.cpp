#include "app/solve_runner.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QThread>

#include "strings/encoding.h"

namespace kv::app {

SolveRunner::SolveRunner(QObject* parent) : QObject(parent) {}

SolveRunner::~SolveRunner() {
  BreakAndWait();
}

bool SolveRunner::Start(std::unique_ptr<SolveJob> job, Solver& solver) {
  if (running()) return false;
  job_ = std::move(job);
  breakFlag_.store(false);
  paneText_.clear();
  SolveJob* j = job_.get();
  // Both cores: a helper thread fills the result table during key searches.
  solver.search.threads = 2;
  thread_ = QThread::create([this, j, &solver] {
    UiCallbacks ui;
    ui.statusText = [this](int part, const std::string& text) {
      emit statusText(part, QString::fromStdString(Cp1252ToUtf8(text)));
    };
    ui.breakPoll = [this] { return breakFlag_.load(); };
    ui.messageBox = [this](const std::string& text, const std::string& caption, int style) {
      // The callbacks are read on the window's thread only.
      int answer = (style & 0x0f) == MbYesNoCancel ? IdCancel : IdOk;
      QMetaObject::invokeMethod(
          this,
          [&] {
            if (messageBox) answer = messageBox(text, caption, style);
          },
          Qt::BlockingQueuedConnection);
      return answer;
    };
    ui.chooseMove = [this](const std::vector<std::string>& moves) {
      int chosen = 0;
      QMetaObject::invokeMethod(
          this,
          [&] {
            if (chooseMove) chosen = chooseMove(moves);
          },
          Qt::BlockingQueuedConnection);
      return chosen;
    };
    SolveEnvironment env{j->pos, j->type, j->options, j->twins, j->language, ui};
    env.figurines = j->figurines;
    int filter = j->testMoveFilter;
    env.testMoveFilter = filter != 0 ? &filter : nullptr;
    paneText_ = SolveEntry(solver, env, j->moves);
  });
  connect(thread_, &QThread::finished, this, &SolveRunner::OnThreadFinished, Qt::QueuedConnection);
  thread_->start();
  return true;
}

void SolveRunner::OnThreadFinished() {
  if (thread_ == nullptr) return;
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  emit finished();
}

void SolveRunner::BreakAndWait() {
  if (thread_ == nullptr) return;
  breakFlag_.store(true);
  // A message box the worker waits for cannot be answered while this thread
  // waits, so answers are taken from here on without asking.
  messageBox = nullptr;
  chooseMove = nullptr;
  while (!thread_->wait(20)) QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  delete thread_;
  thread_ = nullptr;
}

}  // namespace kv::app
