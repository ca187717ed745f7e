// What the solve and bench subcommands share: the problem they set up, the
// option digits, Ctrl-C as the user break, and the pane text for a terminal.
#pragma once

#include <string>
#include <string_view>

#include "core/position.h"
#include "solver/problem_type.h"
#include "solver/solve_options.h"
#include "strings/ui_callbacks.h"

namespace kv::cli {

struct SolveSetup {
  Position pos;
  ProblemType type;
  SolveOptions options;
  std::string twins;
  bool json = false;  // --json: the solution tree as a JSON document
};

// Reads the 18-digit "Options" value; false (options untouched) otherwise.
bool ParseOptionDigits(std::string_view digits, SolveOptions& options);

// SIGINT sets a flag that the break poll reads; a second Ctrl-C is not
// caught again, so it ends the program.
void InstallBreakHandler();
bool BreakRequested();

// Status texts (parts 2 and 4) and message boxes to stderr; the break poll.
UiCallbacks StderrCallbacks(bool quiet = false);

// The pane text as UTF-8 with LF line ends.
std::string PaneTextForTerminal(std::string_view text);

}  // namespace kv::cli
