// Other writers for the collection tests: child processes started by fork,
// held at a gate until every one is ready, and killed or waited for.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace kv::testing {

// Children that start their work together when the gate opens, so that
// their operations overlap from the first one.
class StartGate {
 public:
  StartGate() {
    if (::pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
  }
  ~StartGate() { Open(); }
  // In a child: waits until the parent opens the gate.
  void Wait() {
    ::close(fds_[1]);
    char byte;
    while (::read(fds_[0], &byte, 1) < 0) {
    }
  }
  void Open() {
    if (fds_[1] >= 0) ::close(fds_[1]);
    fds_[1] = -1;
  }

 private:
  int fds_[2];
};

// Runs `work` in a child process, which exits with what it returns (the
// number of failures, say) and never returns into the test.
inline pid_t StartChild(const std::function<int()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(work());
  return pid;
}

// The child's exit status, or -1 when it did not exit (killed by a signal).
inline int WaitForChild(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

inline void KillChild(pid_t pid) {
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

// The size of a stress test: `small` for the ordinary run, `large` when the
// environment sets KVL_STRESS (the full-size trials, run by hand).
inline int StressSize(int small, int large) {
  const char* stress = std::getenv("KVL_STRESS");
  return stress && *stress ? large : small;
}

}  // namespace kv::testing
