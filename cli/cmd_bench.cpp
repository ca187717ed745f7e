// kestrovale-cli bench: solves the fixed suite of bench/problems/suite.tsv
// with tries and set play on and prints, per problem and in total, the time
// and the number of positions the searches reached. The node total is a
// signature of the search: it changes only when the search changes (the
// result table answers positions without reaching them, so its size changes
// it too; --table 0 turns the table off).
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cli/cmd_bench_helpmates.h"
#include "cli/command.h"
#include "cli/solve_support.h"
#include "cli/tsv_rows.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/series_solve.h"
#include "solver/solution_writer.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv::cli {
namespace {

struct BenchProblem {
  std::string id;
  std::string stipulation;
  std::string board;
  std::string key;
};

// The suite next to the sources: given, or found from the working folder or
// from the program's own place in a build folder of the repository.
std::string FindSuite(const std::string& given) {
  if (!given.empty()) return given;
  std::vector<std::string> candidates = {"bench/problems/suite.tsv"};
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    self[n] = 0;
    std::string dir = self;
    for (int up = 0; up < 4; ++up) {
      dir = dir.substr(0, dir.find_last_of('/'));
      candidates.push_back(dir + "/bench/problems/suite.tsv");
    }
  }
  for (const std::string& path : candidates) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return path;
  }
  return {};
}

bool ReadSuite(const std::string& path, std::vector<BenchProblem>& problems, std::string& error) {
  std::vector<std::vector<std::string>> rows;
  if (!ReadTsvRows(path, rows, error)) return false;
  for (std::vector<std::string>& cells : rows) {
    if (cells.size() < 4) cells.resize(4);
    problems.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return true;
}

// Processor time of the calling thread in milliseconds.
double MainThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return 1000.0 * static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e6;
}

constexpr OptionSpec Options[] = {
    {"--suite", "", "FILE", "the suite to solve (default bench/problems/suite.tsv of the sources)"},
    {"--table", "", "SLOTS",
     "the result table's slots, 0 (no table) to 268435456 (default: the "
     "solver's own size)"},
    ThreadsOption,
    {"--helpmates", "", "FILE",
     "instead of the suite, the helpmates of a checked list, timed beside the recorded times"},
    {"--no-fast-help", "", "", "with --helpmates: without the fast helpmate search"},
    {"--no-backward", "", "", "with --helpmates: without the backward helpmate walk"},
    {"--repeat", "", "N", "with --helpmates: the best of N solves of each problem (1 to 100)"},
    {"--only", "", "ID", "with --helpmates: only the problem of this id"}};

constexpr CommandSpec Spec{
    .name = "bench",
    .summary = "solve the bench suite; time and positions per problem",
    .options = Options,
    .synopsis =
        "[--suite FILE] [--table SLOTS] [--threads N]\n"
        "--helpmates FILE [--no-fast-help] [--no-backward] [--repeat N] [--only ID] [--threads N]",
    .about =
        "Solves the fixed suite with tries and set play on and prints, per problem and in\n"
        "total, the time and the number of positions the searches reached, and the first\n"
        "key against the one the suite records. The positions are a signature of the\n"
        "search: they change only when the search changes. With --helpmates, each\n"
        "helpmate of a list (id, stipulation, board, solutions, recorded fast and plain\n"
        "times in seconds) is solved without set play and timed beside the recorded fast\n"
        "time; the median ratio and the slowest problem end the report. One thread unless\n"
        "--threads asks for two.\n",
    .notes = "Ctrl+C stops after the problem being solved.\n",
    .exitStatus =
        "0 every key as recorded; 1 the list cannot be read or holds no problem, a key "
        "differs or an entry is bad; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  // One thread unless asked: the positions counted are the main thread's,
  // and with a helper they depend on how far it got.
  int threads = 1;
  std::string threadsError;
  if (args.Has("--threads") && !ParseThreads(args.Value("--threads"), threads, &threadsError))
    return UsageError("bench: " + threadsError);
  // The deep-helpmate run has its own list and table.
  if (args.Has("--helpmates")) {
    if (args.Has("--suite") || args.Has("--table"))
      return UsageError("bench: --suite and --table are not taken with --helpmates");
    return RunHelpmateBench(args, threads);
  }
  if (args.Has("--no-fast-help") || args.Has("--no-backward") || args.Has("--repeat") ||
      args.Has("--only"))
    return UsageError(
        "bench: --no-fast-help, --no-backward, --repeat and --only go with --helpmates");
  const std::string& given = args.Value("--suite");
  long long tableSlots = -1;  // the solver's own size unless given
  if (args.Has("--table")) {
    const std::string& value = args.Value("--table");
    char* end = nullptr;
    tableSlots = std::strtoll(value.c_str(), &end, 10);
    if (value.empty() || *end != 0 || tableSlots < 0 || tableSlots > (1LL << 28))
      return UsageError("bench: --table wants a number of slots from 0 to 268435456, not '" +
                        value + "'");
  }
  const std::string path = FindSuite(given);
  std::vector<BenchProblem> problems;
  std::string error = "not found";
  if (path.empty() || !ReadSuite(path, problems, error)) {
    std::fprintf(stderr, "kestrovale-cli: bench: cannot read the suite %s: %s\n",
                 given.empty() ? "bench/problems/suite.tsv" : given.c_str(), error.c_str());
    return ExitFailure;
  }
  if (problems.empty()) {
    std::fprintf(stderr, "kestrovale-cli: bench: the suite %s holds no problem\n", path.c_str());
    return ExitFailure;
  }
  InstallBreakHandler();
  const UiCallbacks ui = StderrCallbacks(true);
  const Language language;
  auto solver = std::make_unique<Solver>();
  if (tableSlots >= 0) solver->search.resultTable.Resize(static_cast<std::size_t>(tableSlots));
  solver->search.threads = threads;
  std::uint64_t totalNodes = 0;
  double totalMs = 0;
  double totalCpuMs = 0;
  int mismatches = 0;
  // Wall-clock and processor time: on a busy machine the second is the
  // steadier figure. The processor time is the main thread's: with a helper
  // thread it is what the solve takes when both cores are free.
  std::printf("%-28s %-6s %10s %10s %14s  %s\n", "problem", "type", "ms", "cpu ms", "positions",
              "key");
  for (const BenchProblem& p : problems) {
    auto setup = std::make_unique<SolveSetup>();
    if (!ParseFenBoard(p.board, setup->pos.board, nullptr) ||
        !ParseProblemType(p.stipulation, setup->type)) {
      std::printf("%-28s bad entry\n", p.id.c_str());
      ++mismatches;
      continue;
    }
    SwitchOptionsToKind(setup->options, setup->type.kind);
    setup->options[Option::SetPlay] = 1;
    if (setup->type.kind != KindHelp) {
      setup->options[Option::TryRefutations] = 1;
      setup->options[Option::ActualPlay] = 1;
    }
    SolveEnvironment env{setup->pos, setup->type, setup->options, setup->twins, language, ui};
    solver->search.nodes = 0;
    solver->solutionStale = true;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = MainThreadCpuMs();
    SolveEntry(*solver, env, setup->type.moves);
    const double cpuMs = MainThreadCpuMs() - cpuStart;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // The first key against the one recorded in the suite (battle play).
    std::string verdict;
    if ((setup->type.flags & FlagSeries) != 0) {
      // A series mover: the number of solutions against the suite's.
      const std::uint64_t count = solver->series != nullptr && solver->series->haveLast
                                      ? solver->series->lastResult.count
                                      : 0;
      const std::string found = std::to_string(count) + " solutions";
      verdict = p.key.empty() || std::to_string(count) == p.key
                    ? found
                    : "DIFFERS: " + found + " (expected " + p.key + ")";
      if (!p.key.empty() && std::to_string(count) != p.key) ++mismatches;
    } else if (!p.key.empty()) {
      const int top = solver->search.topMoves;
      SearchContext ctx{setup->pos, setup->options, ui, language, solver->search};
      setup->options[Option::ShortNotation] = 0;
      Writer w{ctx, solver->text};
      const Move key = top >= 1 ? solver->search.KeyList(top).records[0] : Move{};
      const std::string found = key.from != 0 ? MoveText(w, key) : "-";
      verdict = found == p.key ? "ok" : "DIFFERS: " + found + " (expected " + p.key + ")";
      if (found != p.key) ++mismatches;
    }
    std::printf("%-28s %-6s %10.1f %10.1f %14" PRIu64 "  %s\n", p.id.c_str(), p.stipulation.c_str(),
                ms, cpuMs, solver->search.nodes, verdict.c_str());
    std::fflush(stdout);
    totalNodes += solver->search.nodes;
    totalMs += ms;
    totalCpuMs += cpuMs;
    if (BreakRequested()) break;
  }
  std::printf("%-28s %-6s %10.1f %10.1f %14" PRIu64 "  %d problems%s\n", "total", "", totalMs,
              totalCpuMs, totalNodes, static_cast<int>(problems.size()),
              mismatches ? ", some keys differ" : "");
  return mismatches ? ExitFailure : ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
