// Subcommands of kestrovale-cli. Each one lives in its own file and registers
// itself with a static Registration, so adding a subcommand touches no other
// file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {

// Exit codes shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

using Args = std::vector<std::string>;
using CommandFn = int (*)(const Args& args);

struct Command {
  std::string_view name;
  std::string_view usage;  // one line, after the name
  CommandFn run;
};

struct Registration {
  explicit Registration(const Command& command);
};

const std::vector<Command>& Commands();

// Prints "kestrovale-cli: <message>" on stderr and returns ExitUsage.
int UsageError(const std::string& message);

}  // namespace kv::cli
