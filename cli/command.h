// Subcommands of kestrovale-cli. Each one lives in its own file and registers
// itself with a static Registration, so adding a subcommand touches no other
// file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"

namespace kv::cli {

// Exit codes shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

using Args = std::vector<std::string>;
using CommandFn = int (*)(const Args& args);

struct Command {
  const CommandSpec* spec;  // its name, options and help
  CommandFn run;
};

struct Registration {
  Registration(const CommandSpec& spec, CommandFn run);
};

const std::vector<Command>& Commands();

// Prints "kestrovale-cli: <message>" on stderr and returns ExitUsage.
int UsageError(const std::string& message);

// Reads the command line of a subcommand against its table. False when the
// subcommand is to stop at once with `exitCode`: after printing its help
// (ExitOk), or after a usage error named on stderr (ExitUsage).
bool ReadCommandLine(const Args& args, const CommandSpec& spec, ParsedOptions& parsed,
                     int& exitCode);

}  // namespace kv::cli
