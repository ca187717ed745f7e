// kestrovale-cli solve: solves one position as "Search solution" (F5) does
// and prints the text of the solution pane; the status texts go to stderr.
// Ctrl-C breaks the search off as Escape does in the program.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cmd_kvl_support.h"
#include "cli/command.h"
#include "cli/lang_option.h"
#include "cli/solution_json.h"
#include "cli/solve_support.h"
#include "collections/current_problem.h"
#include "collections/problem_file.h"
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

constexpr const char* Help =
    "usage: kestrovale-cli solve --fen BOARD --stip TYPE [--twins FIELD] [OPTIONS]\n"
    "       kestrovale-cli solve FILE.kvl [-n N] [OPTIONS]\n"
    "\n"
    "Solves a position, or problem N (from 1) of a collection with its twins, as\n"
    "\"Search solution\" does, and prints the solution text; status texts go to stderr.\n"
    "\n"
    "  --options DIGITS  the 18 solving options, one digit each, as the \"Options\"\n"
    "                    setting stores them (its default: 111111001110101000): set play,\n"
    "                    tries (refutations allowed), actual play, variations,\n"
    "                    separators, dualized variations, non-defensive moves, kind,\n"
    "                    the same four for tries, shortened notation, ad lib,\n"
    "                    changed mates, transferred mates, black move style 0-2,\n"
    "                    capture sign 0-2. The digits are used as given; the eighth\n"
    "                    (kind) is set from the problem, except 5, the test-a-move\n"
    "                    preset, which needs a move chosen in the program. Without\n"
    "                    --options each kind starts from its own set, as in the\n"
    "                    program.\n"
    "  --lang LL         fr, en, it, es or a .str file: the language of the text\n"
    "  --json            the solution as a JSON document, its text beside it\n"
    "  --threads N       1 or 2 (default 2): the cores a key search uses\n"
    "\n"
    "Ctrl+C breaks the search off as Escape does in the program.\n"
    "\n"
    "Exit status: 0 solved (or nothing asked by the options); 1 the file cannot be\n"
    "read, or broken off; 2 bad arguments; 3 invalid position; 4 the problem cannot\n"
    "be solved (its kind, goal or number of moves).\n";

// Says on stderr why a solve wrote less than a solution, when no message
// box has said it already, and gives the exit code.
int ExitForStop(SolveStop stop) {
  auto say = [](const char* why) { std::fprintf(stderr, "solve: %s\n", why); };
  switch (stop) {
    case SolveStop::None:
      return ExitOk;
    case SolveStop::InvalidPosition:
    case SolveStop::ChangedPosition:
      return ExitInvalidPosition;  // the message box text is on stderr
    case SolveStop::EmptyBoard:
      say("the board is empty: there is nothing to solve");
      return ExitInvalidPosition;
    case SolveStop::TooManyMoves:  // no longer happens: every length is solved
      return ExitCannotSolve;
    case SolveStop::NoMoveChosen:
      say("test a move needs a move chosen in the program: nothing was tested");
      return ExitCannotSolve;
    case SolveStop::NothingAsked:
      say("set play, tries and actual play are all off in the options: nothing to write");
      return ExitOk;
    case SolveStop::UserBreak:
      say("broken off by the user: the text is incomplete");
      return ExitFailure;
  }
  return ExitFailure;
}

// The stop as the JSON document names it.
const char* StopName(SolveStop stop) {
  switch (stop) {
    case SolveStop::None:
      return "none";
    case SolveStop::ChangedPosition:
      return "changedPosition";
    case SolveStop::InvalidPosition:
      return "invalidPosition";
    case SolveStop::EmptyBoard:
      return "emptyBoard";
    case SolveStop::TooManyMoves:
      return "tooManyMoves";
    case SolveStop::NoMoveChosen:
      return "noMoveChosen";
    case SolveStop::NothingAsked:
      return "nothingAsked";
    case SolveStop::UserBreak:
      return "userBreak";
  }
  return "none";
}

// Solves what `setup` holds as the program would after showing it: the options
// switch to the problem's kind, the type must be solvable, then the Search
// solution command runs and the pane text goes to stdout. Digits typed with
// --options are what the user asked for, so they are kept whatever kind their
// eighth digit names; only that digit is made the problem's kind (unless it
// asks for the test-a-move preset, which is a mode, not a kind).
int SolveAndPrint(SolveSetup& setup, const Language& language) {
  if (!setup.optionsGiven)
    SwitchOptionsToKind(setup.options, setup.type.kind);
  else if (setup.options[OptionsKind] != TestMovePreset)
    setup.options[OptionsKind] = setup.type.kind;
  if (!CanSolve(setup.type)) {
    std::fprintf(stderr, "%s\n",
                 Cp1252ToUtf8(FormatMessage(LoadMessage(language, 48), "")).c_str());
    return ExitCannotSolve;
  }
  InstallBreakHandler();
  UiCallbacks ui = StderrCallbacks();
  auto solver = std::make_unique<Solver>();
  solver->search.threads = setup.threads;
  SolveEnvironment solve{setup.pos, setup.type, setup.options, setup.twins, language, ui};
  SolutionTree tree;
  SolutionTreeBuilder builder(tree);
  if (setup.json) solver->tree = &builder;
  const std::string& text = SolveEntry(*solver, solve, setup.type.moves);
  if (setup.json) {
    const std::string printed = text.empty() ? std::string() : PaneTextForTerminal(text);
    std::fputs(SolutionJson(tree, setup.type, StopName(solver->stop), printed).c_str(), stdout);
  } else if (!text.empty()) {
    std::fputs(PaneTextForTerminal(text).c_str(), stdout);
  }
  return ExitForStop(solver->stop);
}

int BadOptionDigits(const std::string& digits) {
  return UsageError("solve: --options needs 18 digits, not '" + digits + "'");
}

// Removes every `flag` from the arguments; true when there was one.
bool TakeFlag(Args& args, const std::string& flag) {
  const std::size_t before = args.size();
  std::erase(args, flag);
  return args.size() != before;
}

// solve FILE [-n N] [--options DIGITS]: a stored problem with its twins.
int RunFile(const Args& args, const Language& language, bool json, int threads) {
  KvlArgs parsed;
  std::string error;
  if (!ParseKvlArgs(args, {"-n", "--options"}, parsed, error)) return UsageError("solve: " + error);
  int number = 1;
  int exitCode = ExitUsage;
  if (!TakeNumber(parsed, "solve", "-n", 1, 32768, 1, number, exitCode)) return exitCode;
  auto setup = std::make_unique<SolveSetup>();
  setup->optionsGiven = parsed.Has("--options");
  if (setup->optionsGiven && !ParseOptionDigits(parsed.Value("--options"), setup->options))
    return BadOptionDigits(parsed.Value("--options"));
  auto problem = std::make_unique<CurrentProblem>();
  const FileResult result = LoadProblemNumber(parsed.file, number, *problem, setup->pos.board);
  if (!result) return FileError(result, parsed.file);
  setup->type = problem->type;
  setup->twins = problem->twins;
  setup->json = json;
  setup->threads = threads;
  return SolveAndPrint(*setup, language);
}

int Run(const Args& input) {
  for (const std::string& a : input) {
    if (a == "--help" || a == "-h") {
      std::fputs(Help, stdout);
      return ExitOk;
    }
  }
  Args args = input;
  Language language;
  std::string error;
  if (!TakeLangOption(args, language, &error)) return UsageError("solve: " + error);
  const bool json = TakeFlag(args, "--json");
  int threads = 2;
  if (!TakeThreadsOption(args, threads, &error)) return UsageError("solve: " + error);
  if (!args.empty() && args[0].rfind("--", 0) != 0) return RunFile(args, language, json, threads);
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
    if (a == "--fen")
      ok = value(fen, haveFen);
    else if (a == "--stip")
      ok = value(stip, haveStip);
    else if (a == "--twins")
      ok = value(twins, unused);
    else if (a == "--options")
      ok = value(digits, haveOptions);
    else
      return UsageError("solve: unknown argument '" + a + "'");
    if (!ok) return UsageError("solve: " + a + " needs a value");
  }
  if (!haveFen || !haveStip) return UsageError("solve: --fen BOARD and --stip TYPE are required");

  auto env = std::make_unique<SolveSetup>();
  // Only the board field counts; the rest of a FEN line is ignored.
  const std::string board = fen.substr(0, fen.find(' '));
  if (!ParseFenBoard(board, env->pos.board, &error))
    return UsageError("solve: bad board: " + error);
  if (!ParseProblemType(stip, env->type)) return UsageError("solve: bad type '" + stip + "'");
  if (haveOptions && !ParseOptionDigits(digits, env->options)) return BadOptionDigits(digits);
  env->optionsGiven = haveOptions;
  // The twins field as stored: printable bytes after the mode byte. The mode
  // byte may be given as '~' (successive) or any other character (usual).
  env->twins = Utf8ToCp1252(twins);
  if (!env->twins.empty() && env->twins[0] != TwinModeSuccessive) env->twins[0] = TwinModeUsual;
  env->json = json;
  env->threads = threads;

  return SolveAndPrint(*env, language);
}

Registration reg({"solve",
                  "--fen BOARD --stip TYPE [--twins FIELD] [--options DIGITS] [--lang LL] | "
                  "FILE [-n N] [--options DIGITS] [--json] [--threads N]   solve as Search "
                  "solution (F5) does; --json: the solution as a JSON document; --threads 1 "
                  "or 2 (default 2): the cores a key search uses (solve --help)",
                  &Run});

}  // namespace
}  // namespace kv::cli
