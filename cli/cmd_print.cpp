// kestrovale-cli print --format pdf|png --kind diagrams|report FILE.kvl OUT
// [-n N[,M...]]: diagram sheets and reports for scripts. The drawing lives in
// the Qt printing program kestrovale-print, found beside this one; the
// command line stays free of Qt, reads the arguments and hands them on.
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

constexpr OptionSpec Options[] = {
    {"--format", "", "pdf|png", "one A4 PDF file, or PNG pages OUT-1.png, OUT-2.png ...", true},
    {"--kind", "", "diagrams|report",
     "a sheet of diagrams, or the report of one problem with its solution", true},
    {"-n", "", "N[,M...]",
     "these problems, counted from 1 (default: the whole collection, at most 2000; a "
     "report prints one problem, by default the first)"},
    {"--lang", "", "fr|en|it|es", "the language of the texts (default en)"},
    {"--output", "", "VALUE",
     "the 16 characters of the \"Output\" setting: display and print "
     "settings"}};

constexpr CommandSpec Spec{
    .name = "print",
    .operands = "FILE.kvl OUT",
    .minOperands = 2,
    .maxOperands = 2,
    .summary = "diagram sheets and reports as PDF or PNG pages",
    .options = Options,
    .about =
        "Draws diagram sheets and reports for scripts, with the printing program\n"
        "kestrovale-print, found beside kestrovale-cli. A report of a problem without a\n"
        "stored solution is solved first.\n",
    .exitStatus =
        "0 written; 1 FILE.kvl cannot be read, OUT cannot be written, or "
        "kestrovale-print cannot be run; 2 bad arguments."};

// The arguments of the printing program: the options as read, then the
// operands after "--", so that an operand is never taken for an option.
std::vector<std::string> PrintArguments(const ParsedOptions& parsed) {
  std::vector<std::string> args;
  for (const auto& [name, value] : parsed.values) {
    args.push_back(name);
    args.push_back(value);
  }
  args.push_back("--");
  for (const std::string& operand : parsed.operands) args.push_back(operand);
  return args;
}

int Run(const Args& input) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, parsed, exitCode)) return exitCode;
  const std::vector<std::string> args = PrintArguments(parsed);
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

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
