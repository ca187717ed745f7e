// kestrovale-cli solve: solves one position as "Search solution" (F5) does
// and prints the text of the solution pane; the status texts go to stderr.
// Ctrl-C breaks the search off as Escape does in the program.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/lang_option.h"
#include "cli/solve_support.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/twins.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

constexpr int ExitInvalidPosition = 3;
constexpr int ExitCannotSolve = 4;

int Run(const Args& input) {
  Args args = input;
  Language language;
  std::string error;
  if (!TakeLangOption(args, language, &error)) return UsageError("solve: " + error);
  std::string fen, stip, twins, digits;
  bool haveFen = false, haveStip = false, haveOptions = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out, bool& seen) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      seen = true;
      return true;
    };
    bool ok = true;
    bool unused = false;
    if (a == "--fen") ok = value(fen, haveFen);
    else if (a == "--stip") ok = value(stip, haveStip);
    else if (a == "--twins") ok = value(twins, unused);
    else if (a == "--options") ok = value(digits, haveOptions);
    else return UsageError("solve: unknown argument '" + a + "'");
    if (!ok) return UsageError("solve: " + a + " needs a value");
  }
  if (!haveFen || !haveStip) return UsageError("solve: --fen BOARD and --stip TYPE are required");

  auto env = std::make_unique<SolveSetup>();
  // Only the board field counts; the rest of a FEN line is ignored.
  const std::string board = fen.substr(0, fen.find(' '));
  if (!ParseFenBoard(board, env->pos.board, &error)) return UsageError("solve: bad board: " + error);
  if (!ParseProblemType(stip, env->type)) return UsageError("solve: bad type '" + stip + "'");
  if (haveOptions && !ParseOptionDigits(digits, env->options))
    return UsageError("solve: --options needs 18 digits, not '" + digits + "'");
  // The twins field as stored: printable bytes after the mode byte. The mode
  // byte may be given as '~' (successive) or any other character (usual).
  env->twins = Utf8ToCp1252(twins);
  if (!env->twins.empty() && env->twins[0] != TwinModeSuccessive) env->twins[0] = TwinModeUsual;

  // Showing the problem switches the options to its kind.
  SwitchOptionsToKind(env->options, env->type.kind);
  if (!CanSolve(env->type)) {
    std::fprintf(stderr, "%s\n",
                 Cp1252ToUtf8(FormatMessage(LoadMessage(language, 48), "")).c_str());
    return ExitCannotSolve;
  }
  InstallBreakHandler();
  UiCallbacks ui = StderrCallbacks();
  auto solver = std::make_unique<Solver>();
  SolveEnvironment solve{env->pos, env->type, env->options, env->twins, language, ui};
  const std::string& text = SolveEntry(*solver, solve, env->type.moves);
  std::fputs(PaneTextForTerminal(text).c_str(), stdout);
  if (solver->positionInvalid) return ExitInvalidPosition;
  return ExitOk;
}

Registration reg({"solve",
                  "--fen BOARD --stip TYPE [--twins FIELD] [--options DIGITS] [--lang LL]   "
                  "solve as Search solution (F5) does",
                  &Run});

}  // namespace
}  // namespace kv::cli
