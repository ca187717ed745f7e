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

struct ExportArgs {
  std::string format;
  std::string file;
  std::string out;
  std::string numbers;
  std::string options;
};

bool ParseArgs(const Args& args, ExportArgs& parsed, std::string& error) {
  int positionals = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* target = nullptr;
    if (arg == "--format") target = &parsed.format;
    if (arg == "-n") target = &parsed.numbers;
    if (arg == "--options") target = &parsed.options;
    if (target == nullptr) {
      if (arg.size() > 1 && arg[0] == '-') {
        error = "unknown option '" + arg + "'";
        return false;
      }
      // FILE.kvl first, then OUT; a third is an error below.
      if (positionals == 0) parsed.file = arg;
      if (positionals == 1) parsed.out = arg;
      ++positionals;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    *target = args[++i];
  }
  if (positionals != 2) {
    error = "expected FILE.kvl and OUT";
    return false;
  }
  return true;
}

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

int Run(const Args& input) {
  Args args = input;
  Language language;
  std::string error;
  if (!TakeLangOption(args, language, &error)) return UsageError("export: " + error);
  ExportArgs parsed;
  if (!ParseArgs(args, parsed, error)) return UsageError("export: " + error);

  ExportAction action;
  if (parsed.format == "pgn") {
    action = ExportAction::PgnFile;
  } else if (parsed.format == "epd") {
    action = ExportAction::EpdFile;
  } else if (parsed.format == "txt") {
    action = ExportAction::SolutionsToText;
  } else if (parsed.format == "popeye") {
    action = ExportAction::PopeyeFile;
  } else {
    return UsageError("export: --format must be pgn, epd, txt or popeye");
  }
  auto options = std::make_unique<SolveOptions>();
  if (!parsed.options.empty() && !ParseOptionDigits(parsed.options, *options))
    return UsageError("export: --options needs 18 digits, not '" + parsed.options + "'");

  int count = 0;
  {
    CollectionReader reader;
    const FileResult opened = reader.Open(parsed.file);
    if (!opened) return FileError(opened, parsed.file);
    count = reader.count();
  }
  std::vector<int> numbers;
  if (parsed.numbers.empty()) {
    for (int n = 1; n <= count; ++n) numbers.push_back(n);
  } else if (!ParseNumbers(parsed.numbers, count, numbers, error)) {
    return UsageError("export: " + error);
  }

  ProblemList list;
  list.files.push_back(parsed.file);
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
  const ExportOutcome outcome = RunExport(action, parsed.out, list, list.entries, context);
  if (showProgress && outcome.interrupted) std::fputc('\n', stderr);

  std::printf("%d problem%s exported to %s\n", outcome.written, outcome.written == 1 ? "" : "s",
              parsed.out.c_str());
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

Registration reg({"export",
                  "--format pgn|epd|txt|popeye FILE.kvl OUT [-n N[,M...]] [--options DIGITS] "
                  "[--lang LL]   solve each problem and append it to OUT",
                  &Run});

}  // namespace
}  // namespace kv::cli
