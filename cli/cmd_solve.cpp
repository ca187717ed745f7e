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
#include "cli/twins_argument.h"
#include "collections/current_problem.h"
#include "collections/problem_file.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/twins.h"
#include "strings/encoding.h"
#include "strings/message_ids.h"

namespace kv::cli {
namespace {

constexpr int ExitInvalidPosition = 3;
constexpr int ExitCannotSolve = 4;

constexpr OptionSpec Options[] = {
    {FenOption.name, "", FenOption.value, FenOption.help},
    {StipOption.name, "", StipOption.value, StipOption.help},
    {"--twins", "", "FIELD", TwinsArgumentHelp},
    {"-n", "", "N", "with FILE.kvl: problem N, counted from 1 (default 1)"},
    {"--options", "", "DIGITS",
     "the 18 solving options, one digit each, as the \"Options\" setting stores them (its "
     "default: 111111001110101000): set play, tries (refutations allowed), actual play, "
     "variations, separators, dualized variations, non-defensive moves, kind, the same four for "
     "tries, shortened notation, ad lib, changed mates, transferred mates, black move style 0-2, "
     "capture sign 0-2. The digits are used as given; the eighth (kind) is set from the problem, "
     "except 5, the test-a-move preset, which needs a move chosen in the program. Without "
     "--options each kind starts from its own set, as in the program."},
    {LangOption.name, "", LangOption.value,
     "the language of the text: fr, en, it, es or a .str file"},
    {"--json", "", "", "the solution as a JSON document, its text beside it"},
    {ThreadsOption.name, "", ThreadsOption.value,
     "1 or 2 (default 2): the cores a key search uses"}};

constexpr CommandSpec Spec{
    .name = "solve",
    .operands = "FILE.kvl",
    .maxOperands = 1,
    .summary = "solve as Search solution (F5) does",
    .options = Options,
    .synopsis =
        "--fen BOARD --stip TYPE [--twins FIELD] [OPTIONS]\n"
        "FILE.kvl [-n N] [OPTIONS]",
    .about =
        "Solves a position, or problem N (from 1) of a collection with its twins, as\n"
        "\"Search solution\" does, and prints the solution text; status texts go to stderr.\n"
        "OPTIONS are --options, --lang, --json and --threads.\n",
    .notes =
        "A twins field typed in the old raw form reads the same unless it holds a\n"
        "backslash, which is now written \\\\.\n"
        "\n"
        "Ctrl+C breaks the search off as Escape does in the program.\n",
    .exitStatus =
        "0 solved (or nothing asked by the options); 1 the file cannot be read, or "
        "broken off; 2 bad arguments; 3 invalid position; 4 the problem cannot be "
        "solved (its kind, goal or number of moves)."};

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
  else if (setup.options[Option::Kind] != TestMovePreset)
    setup.options[Option::Kind] = setup.type.kind;
  if (!CanSolve(setup.type)) {
    std::fprintf(
        stderr, "%s\n",
        Cp1252ToUtf8(FormatMessage(LoadMessage(language, msg::UnableToSolve), "")).c_str());
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

// solve FILE [-n N]: a stored problem with its twins.
int ReadFileProblem(const ParsedOptions& args, SolveSetup& setup) {
  const std::string& file = args.Operand(0);
  int number = 1;
  int exitCode = ExitUsage;
  if (!TakeNumber(args, "solve", "-n", 1, 32768, 1, number, exitCode)) return exitCode;
  auto problem = std::make_unique<CurrentProblem>();
  const FileResult result = LoadProblemNumber(file, number, *problem, setup.pos.board);
  if (!result) return FileError(result, file);
  setup.type = problem->type;
  setup.twins = problem->twins;
  return ExitOk;
}

// solve --fen BOARD --stip TYPE [--twins FIELD]: a position typed in.
int ReadTypedProblem(const ParsedOptions& args, SolveSetup& setup) {
  if (!args.Has("--fen") || !args.Has("--stip"))
    return UsageError("solve: --fen BOARD and --stip TYPE are required");
  // Only the board field counts; the rest of a FEN line is ignored.
  const std::string& fen = args.Value("--fen");
  std::string error;
  if (!ParseFenBoard(fen.substr(0, fen.find(' ')), setup.pos.board, &error))
    return UsageError("solve: bad board: " + error);
  const std::string& stip = args.Value("--stip");
  if (!ParseProblemType(stip, setup.type)) return UsageError("solve: bad type '" + stip + "'");
  if (!ParseTwinsArgument(args.Value("--twins"), setup.twins, error))
    return UsageError("solve: " + error);
  return ExitOk;
}

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  Language language;
  std::string error;
  if (args.Has("--lang") && !LanguageFromName(args.Value("--lang"), language, &error))
    return UsageError("solve: " + error);
  auto setup = std::make_unique<SolveSetup>();
  if (args.Has("--threads") && !ParseThreads(args.Value("--threads"), setup->threads, &error))
    return UsageError("solve: " + error);
  setup->json = args.Has("--json");
  const bool fromFile = !args.operands.empty();
  if (fromFile && (args.Has("--fen") || args.Has("--stip") || args.Has("--twins")))
    return UsageError("solve: --fen, --stip and --twins are not taken with FILE.kvl");
  if (!fromFile && args.Has("-n")) return UsageError("solve: -n goes with FILE.kvl");
  setup->optionsGiven = args.Has("--options");
  if (setup->optionsGiven && !ParseOptionDigits(args.Value("--options"), setup->options))
    return BadOptionDigits(args.Value("--options"));
  const int read = fromFile ? ReadFileProblem(args, *setup) : ReadTypedProblem(args, *setup);
  if (read != ExitOk) return read;
  return SolveAndPrint(*setup, language);
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
