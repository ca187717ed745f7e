// kestrovale-cli: the program's rules, solver and collections without windows.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/command.h"

namespace kv::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: kestrovale-cli COMMAND [ARGS]\n\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  for (const Command& c : commands) {
    std::fprintf(out, "  %.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                 static_cast<int>(c.usage.size()), c.usage.data());
  }
}

}  // namespace

Registration::Registration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const std::string& message) {
  std::fprintf(stderr, "kestrovale-cli: %s\n", message.c_str());
  return ExitUsage;
}

}  // namespace kv::cli

int main(int argc, char** argv) {
  using namespace kv::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return ExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return ExitOk;
  }
  for (const Command& command : Commands()) {
    if (command.name == name) return command.run(Args(argv + 2, argv + argc));
  }
  return UsageError("unknown command '" + name + "' (try --help)");
}
