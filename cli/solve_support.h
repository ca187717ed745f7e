// What the solve and bench subcommands share: the problem they set up, the
// option digits, Ctrl-C as the user break, and the pane text for a terminal.
#pragma once

#include <string>
#include <string_view>

#include "cli/options.h"
#include "core/position.h"
#include "solver/problem_type.h"
#include "solver/solve_options.h"
#include "strings/ui_callbacks.h"

namespace kv::cli {

struct SolveSetup {
  Position pos;
  ProblemType type;
  SolveOptions options;
  bool optionsGiven = false;  // --options: the digits are used as typed
  std::string twins;
  bool json = false;  // --json: the solution tree as a JSON document
  int threads = 2;    // --threads: the key search's threads
};

// Reads the 18-digit "Options" value; false (options untouched) otherwise.
bool ParseOptionDigits(std::string_view digits, SolveOptions& options);

// SIGINT sets a flag that the break poll reads; a second Ctrl-C is not
// caught again, so it ends the program.
void InstallBreakHandler();
bool BreakRequested();

// Status texts (parts 2 and 4) and message boxes to stderr; the break poll.
UiCallbacks StderrCallbacks(bool quiet = false);

// The value of --threads: the threads of a key search, 1 or 2 (a helper
// thread fills the result table; the text is the same). False with `error`
// set for any other value, `threads` untouched.
bool ParseThreads(const std::string& value, int& threads, std::string* error);

// The option as the tables of solve and bench list it.
inline constexpr OptionSpec ThreadsOption{
    "--threads", "", "N", "1 or 2: the cores a key search uses (the text is the same)"};

// The pane text as UTF-8 with LF line ends.
std::string PaneTextForTerminal(std::string_view text);

}  // namespace kv::cli
