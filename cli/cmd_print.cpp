// kestrovale-cli print --format pdf|png --kind diagrams|report FILE.kvl OUT
// [-n N[,M...]]: diagram sheets and reports for scripts. The drawing lives in
// the Qt printing program kestrovale-print, found beside this one; the
// command line stays free of Qt and hands it the same arguments.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command.h"

namespace kv::cli {
namespace {

constexpr const char* PrintProgram = "kestrovale-print";

// The folder of the running program, from /proc/self/exe.
std::string OwnFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string text(path, static_cast<std::size_t>(length));
  const std::size_t slash = text.rfind('/');
  return slash == std::string::npos ? std::string() : text.substr(0, slash);
}

int Run(const Args& args) {
  const std::string program = OwnFolder() + "/" + PrintProgram;
  if (access(program.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "kestrovale-cli: print: %s not found beside kestrovale-cli\n",
                 program.c_str());
    return ExitFailure;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0) {
    std::fprintf(stderr, "kestrovale-cli: print: %s\n", std::strerror(errno));
    return ExitFailure;
  }
  if (child == 0) {
    execv(program.c_str(), argv.data());
    std::fprintf(stderr, "kestrovale-cli: print: cannot run %s: %s\n", program.c_str(),
                 std::strerror(errno));
    _exit(ExitFailure);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return ExitFailure;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  std::fprintf(stderr, "kestrovale-cli: print: %s stopped by signal %d\n", PrintProgram,
               WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return ExitFailure;
}

Registration reg({"print",
                  "--format pdf|png --kind diagrams|report FILE.kvl OUT [-n N[,M...]] "
                  "[--lang fr|en|it|es]   diagram sheets and reports as PDF or PNG pages",
                  &Run});

}  // namespace
}  // namespace kv::cli
