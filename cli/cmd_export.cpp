// kestrovale-cli export --format pgn|epd|txt|popeye FILE.kvl OUT [-n N[,M...]]:
// the list actions "Positions -> PGN / EPD file" and "Solutions -> TXT file"
// over the problems of one collection (all of them, or those named, in the
// order named), and solver input commands. Each problem is solved first
// (solver input needs no solution); the output file is appended to. A problem
// the solver input cannot express whole is skipped, named on stderr. A
// progress line goes to stderr when it is a terminal; Ctrl-C stops after the
// problem being solved.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cmd_kvl_support.h"
#include "cli/command.h"
#include "cli/lang_option.h"
#include "cli/solve_support.h"
#include "collections/export.h"
#include "collections/problem_file.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

// The border style of the report's diagram when nothing else is set.
constexpr int ReportBorderStyle = 2;

// "3,1,7": record numbers from 1 to `count`, in the order given.
bool ParseNumbers(const std::string& text, int count, std::vector<int>& numbers,
                  std::string& error) {
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) {
    int number = 0;
    if (!ParseWholeNumber(item, 1, 32768, number)) {
      error = "-n takes problem numbers separated by commas, not '" + text + "'";
      return false;
    }
    if (number > count) {
      error = "there is no problem " + std::to_string(number) + "; the file holds " +
              std::to_string(count);
      return false;
    }
    numbers.push_back(number);
  }
  if (numbers.empty()) {
    error = "-n needs at least one problem number";
    return false;
  }
  return true;
}

constexpr OptionSpec Options[] = {
    {"--format", "", "pgn|epd|txt|popeye",
     "positions as PGN or EPD, solutions as a text report, or solver input commands", true},
    {"-n", "", "N[,M...]", "these problems, counted from 1, in the order given (default all)"},
    {"--options", "", "DIGITS",
     "the 18 solving options of the solve, one digit each, as solve --options takes them "
     "(default: each kind's own set)"},
    LangOption};

constexpr CommandSpec Spec{
    .name = "export",
    .operands = "FILE.kvl OUT",
    .minOperands = 2,
    .maxOperands = 2,
    .summary = "solve each problem and append it to OUT",
    .options = Options,
    .about =
        "The list actions \"Positions -> PGN / EPD file\" and \"Solutions -> TXT file\" over\n"
        "the problems of one collection, and solver input commands. Each problem is\n"
        "solved first (solver input needs no solution); OUT is appended to. A problem\n"
        "the solver input cannot express whole is skipped, named on stderr. Progress goes\n"
        "to stderr when it is a terminal; Ctrl+C stops after the problem being solved.\n",
    .exitStatus =
        "0 exported (skipped problems named on stderr); 1 FILE.kvl cannot be read, a "
        "problem cannot be read or OUT written, or stopped by Ctrl+C; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  Language language;
  std::string error;
  if (args.Has("--lang") && !LanguageFromName(args.Value("--lang"), language, &error))
    return UsageError("export: " + error);
  const std::string& format = args.Value("--format");
  const std::string& file = args.Operand(0);
  const std::string& out = args.Operand(1);

  ExportAction action;
  if (format == "pgn") {
    action = ExportAction::PgnFile;
  } else if (format == "epd") {
    action = ExportAction::EpdFile;
  } else if (format == "txt") {
    action = ExportAction::SolutionsToText;
  } else if (format == "popeye") {
    action = ExportAction::PopeyeFile;
  } else {
    return UsageError("export: --format must be pgn, epd, txt or popeye");
  }
  auto options = std::make_unique<SolveOptions>();
  if (args.Has("--options") && !ParseOptionDigits(args.Value("--options"), *options))
    return UsageError("export: --options needs 18 digits, not '" + args.Value("--options") + "'");

  int count = 0;
  {
    CollectionReader reader;
    const FileResult opened = reader.Open(file);
    if (!opened) return FileError(opened, file);
    count = reader.count();
  }
  std::vector<int> numbers;
  if (!args.Has("-n")) {
    for (int n = 1; n <= count; ++n) numbers.push_back(n);
  } else if (!ParseNumbers(args.Value("-n"), count, numbers, error)) {
    return UsageError("export: " + error);
  }

  ProblemList list;
  list.files.push_back(file);
  for (int n : numbers) list.entries.push_back({0, static_cast<std::uint16_t>(n)});

  InstallBreakHandler();
  const UiCallbacks ui = StderrCallbacks(true);
  CollectionState collection;
  auto problem = std::make_unique<CurrentProblem>();
  Board board{};
  ExportContext context{collection, *problem,          board,  *options, language,
                        ui,         ReportBorderStyle, nullptr};
  const bool showProgress = isatty(STDERR_FILENO) != 0;
  if (showProgress) {
    context.progress = [](int done, int total) {
      std::fprintf(stderr, "\rexport: %d / %d", done, total);
      if (done == total) std::fputc('\n', stderr);
      std::fflush(stderr);
    };
  }
  const ExportOutcome outcome = RunExport(action, out, list, list.entries, context);
  if (showProgress && outcome.interrupted) std::fputc('\n', stderr);

  std::printf("%d problem%s exported to %s\n", outcome.written, outcome.written == 1 ? "" : "s",
              out.c_str());
  for (const std::string& note : outcome.notExportableNotes) {
    std::fprintf(stderr, "export: skipped %s\n", Cp1252ToUtf8(note).c_str());
  }
  if (outcome.notExportable > 0) {
    std::fprintf(stderr, "export: %d problem%s skipped\n", outcome.notExportable,
                 outcome.notExportable == 1 ? "" : "s");
  }
  if (outcome.interrupted) std::fprintf(stderr, "export: stopped by the user\n");
  const bool complete =
      !outcome.interrupted && outcome.unreadable == 0 && outcome.failedWrites == 0;
  return complete ? ExitOk : ExitFailure;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
