// kestrovale-cli bench --helpmates FILE: solves every helpmate of a checked
// list (id, stipulation, board, solutions, the independent solver's fast and
// plain times in seconds) and prints, per problem, our time beside the
// recorded fast time and their ratio, then the median ratio and the slowest
// problem. Set play is off, so the time is that of the stipulation alone.
#include "cli/cmd_bench_helpmates.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cli/solve_support.h"
#include "cli/tsv_rows.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv::cli {
namespace {

struct TimedHelpmate {
  std::string id;
  std::string stipulation;
  std::string board;
  double peerFastSeconds = 0;  // below 0 when the list gives none
};

bool ReadHelpmates(const std::string& path, std::vector<TimedHelpmate>& problems,
                   std::string& error) {
  std::vector<std::vector<std::string>> rows;
  if (!ReadTsvRows(path, rows, error)) return false;
  for (const std::vector<std::string>& cells : rows) {
    if (cells.size() < 3) continue;
    TimedHelpmate problem{cells[0], cells[1], cells[2], -1};
    if (cells.size() > 4 && !cells[4].empty()) {
      char* end = nullptr;
      const double seconds = std::strtod(cells[4].c_str(), &end);
      if (*end == 0 && seconds >= 0) problem.peerFastSeconds = seconds;
    }
    problems.push_back(problem);
  }
  return true;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

int RunHelpmateBench(const ParsedOptions& args, int threads) {
  const std::string& path = args.Value("--helpmates");
  const std::string& only = args.Value("--only");
  const bool fast = !args.Has("--no-fast-help");
  if (path.empty()) return UsageError("bench: --helpmates wants a file");
  std::vector<TimedHelpmate> problems;
  std::string error;
  if (!ReadHelpmates(path, problems, error)) {
    std::fprintf(stderr, "kestrovale-cli: bench: cannot read helpmates from %s: %s\n", path.c_str(),
                 error.c_str());
    return ExitFailure;
  }
  if (problems.empty()) {
    std::fprintf(stderr, "kestrovale-cli: bench: %s holds no helpmate\n", path.c_str());
    return ExitFailure;
  }
  InstallBreakHandler();
  const UiCallbacks ui = StderrCallbacks(true);
  const Language language;
  auto solver = std::make_unique<Solver>();
  solver->search.helpFast.enabled = fast;
  solver->search.threads = threads;
  // With one thread the processor time is measured; with two, the time on
  // the clock, which is what the second core shortens.
  const bool wall = threads > 1;
  std::vector<double> ratios;
  double slowestMs = 0;
  std::string slowest;
  int solved = 0;
  int bad = 0;
  std::printf("%-20s %-7s %10s %10s %10s %9s\n", "problem", "type", "ms", "cpu ms", "peer ms",
              "ratio");
  for (const TimedHelpmate& p : problems) {
    if (!only.empty() && p.id != only) continue;
    auto setup = std::make_unique<SolveSetup>();
    std::string error;
    if (!ParseFenBoard(p.board, setup->pos.board, &error) ||
        !ParseProblemType(p.stipulation, setup->type) || setup->type.kind != KindHelp) {
      std::printf("%-20s bad entry\n", p.id.c_str());
      ++bad;
      continue;
    }
    SwitchOptionsToKind(setup->options, setup->type.kind);
    setup->options[SetPlay] = 0;
    SolveEnvironment env{setup->pos, setup->type, setup->options, setup->twins, language, ui};
    solver->solutionStale = true;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    SolveEntry(*solver, env, setup->type.moves);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ++solved;
    const double measured = wall ? ms : cpuMs;
    if (measured > slowestMs) {
      slowestMs = measured;
      slowest = p.id;
    }
    if (p.peerFastSeconds >= 0) {
      // The recorded times have a resolution of 10 ms.
      const double peerMs = std::max(1000.0 * p.peerFastSeconds, 10.0);
      ratios.push_back(measured / peerMs);
      std::printf("%-20s %-7s %10.1f %10.1f %10.0f %9.2f\n", p.id.c_str(), p.stipulation.c_str(),
                  ms, cpuMs, 1000.0 * p.peerFastSeconds, measured / peerMs);
    } else {
      std::printf("%-20s %-7s %10.1f %10.1f %10s %9s\n", p.id.c_str(), p.stipulation.c_str(), ms,
                  cpuMs, "-", "-");
    }
    std::fflush(stdout);
    if (BreakRequested()) break;
  }
  std::printf(
      "%d helpmates, fast search %s, %d thread%s; slowest %s %.1f %s; median ratio to the "
      "recorded fast time %.2f\n",
      solved, fast ? "on" : "off", threads, threads > 1 ? "s" : "", slowest.c_str(), slowestMs,
      wall ? "ms" : "cpu ms", Median(ratios));
  return bad > 0 ? ExitFailure : ExitOk;
}

}  // namespace kv::cli
