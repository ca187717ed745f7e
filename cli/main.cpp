// kestrovale-cli: the program's rules, solver and collections without windows.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/command.h"

#ifndef KESTROVALE_VERSION
#define KESTROVALE_VERSION "unknown"
#endif

namespace kv::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

// The list of subcommands, one line each, which the man page and the shell
// completion read as well.
void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: kestrovale-cli COMMAND [ARGS]\n\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.spec->name < b.spec->name; });
  for (const Command& c : commands) std::fputs(CommandListEntry(*c.spec).c_str(), out);
  std::fprintf(out,
               "\nEvery command takes -h or --help: its options and exit codes.\n"
               "kestrovale-cli --version prints the version.\n");
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands())
    if (command.spec->name == name) return &command;
  return nullptr;
}

}  // namespace

Registration::Registration(const CommandSpec& spec, CommandFn run) {
  Registry().push_back({&spec, run});
}

const std::vector<Command>& Commands() {
  return Registry();
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "kestrovale-cli: %s\n", message.c_str());
  return ExitUsage;
}

bool ReadCommandLine(const Args& args, const CommandSpec& spec, ParsedOptions& parsed,
                     int& exitCode) {
  std::string error;
  if (!ParseOptions(args, spec, parsed, error)) {
    exitCode = UsageError(std::string(spec.name) + ": " + error);
    return false;
  }
  if (parsed.help) {
    std::fputs(HelpText(spec).c_str(), stdout);
    exitCode = ExitOk;
    return false;
  }
  return true;
}

}  // namespace kv::cli

int main(int argc, char** argv) {
  using namespace kv::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return ExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h") {
    PrintUsage(stdout);
    return ExitOk;
  }
  if (name == "--version") {
    std::printf("kestrovale-cli %s\n", KESTROVALE_VERSION);
    return ExitOk;
  }
  // "help COMMAND" is "COMMAND --help"; "help" alone, the list.
  if (name == "help") {
    if (argc == 2) {
      PrintUsage(stdout);
      return ExitOk;
    }
    const Command* command = FindCommand(argv[2]);
    if (command == nullptr)
      return UsageError("unknown command '" + std::string(argv[2]) + "' (try --help)");
    std::fputs(HelpText(*command->spec).c_str(), stdout);
    return ExitOk;
  }
  if (const Command* command = FindCommand(name)) return command->run(Args(argv + 2, argv + argc));
  if (name.size() > 1 && name[0] == '-')
    return UsageError("unknown option " + name + " (try --help)");
  return UsageError("unknown command '" + name + "' (try --help)");
}
