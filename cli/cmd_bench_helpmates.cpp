// kestrovale-cli bench --helpmates FILE: solves every helpmate of a checked
// list (id, stipulation, board, solutions, the independent solver's fast and
// plain times in seconds) and prints, per problem, our time beside the
// recorded fast time and their ratio, then the totals, the median ratio and
// the problems beyond their bound: twice the recorded time, or 150 ms where
// that is 50 ms or less. Set play is off, so the time is that of the
// stipulation alone; each solve has a solver of its own, made before the
// clock starts, and with --repeat N the best of N solves counts.
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

// A problem's bound: twice the recorded time, or 150 ms when that is 50 ms
// or less (where the recorded times are too coarse to compare).
constexpr double kCoarseRecordMs = 50;
constexpr double kCoarseBoundMs = 150;
double BoundMs(double peerMs) {
  return peerMs > kCoarseRecordMs ? 2 * peerMs : kCoarseBoundMs;
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
  const bool backward = !args.Has("--no-backward");
  int repeat = 1;
  if (args.Has("--repeat")) {
    const std::string& text = args.Value("--repeat");
    char* end = nullptr;
    const long count = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || count < 1 || count > 100)
      return UsageError("bench: --repeat wants a count from 1 to 100");
    repeat = static_cast<int>(count);
  }
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
  // With one thread the processor time is measured; with two, the time on
  // the clock, which is what the second core shortens.
  const bool wall = threads > 1;
  std::vector<double> ratios;
  std::vector<std::string> beyond;
  double totalMs = 0;
  double totalPeerMs = 0;
  double slowestMs = 0;
  std::string slowest;
  int solved = 0;
  int bad = 0;
  std::printf("%-20s %-7s %10s %10s %10s %9s %12s\n", "problem", "type", "ms", "cpu ms", "peer ms",
              "ratio", "positions");
  for (const TimedHelpmate& p : problems) {
    if (!only.empty() && p.id != only) continue;
    auto setup = std::make_unique<SolveSetup>();
    if (!ParseFenBoard(p.board, setup->pos.board, nullptr) ||
        !ParseProblemType(p.stipulation, setup->type) || setup->type.kind != KindHelp) {
      std::printf("%-20s bad entry\n", p.id.c_str());
      ++bad;
      continue;
    }
    SwitchOptionsToKind(setup->options, setup->type.kind);
    setup->options[Option::SetPlay] = 0;
    // The best of the solves, each by a solver made before its clock starts.
    double ms = 0;
    double cpuMs = 0;
    std::uint64_t positions = 0;
    for (int run = 0; run < repeat; ++run) {
      auto solver = std::make_unique<Solver>();
      solver->search.helpFast.enabled = fast;
      solver->search.helpFast.backwardEnabled = backward;
      solver->search.threads = threads;
      Position pos = setup->pos;
      SolveEnvironment env{pos, setup->type, setup->options, setup->twins, language, ui};
      const auto start = std::chrono::steady_clock::now();
      const std::clock_t cpuStart = std::clock();
      SolveEntry(*solver, env, setup->type.moves);
      const double runCpuMs =
          1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
      const double runMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      if (run == 0 || (wall ? runMs < ms : runCpuMs < cpuMs)) {
        ms = runMs;
        cpuMs = runCpuMs;
        positions = solver->search.helpFast.nodes;
      }
      if (BreakRequested()) break;
    }
    ++solved;
    const double measured = wall ? ms : cpuMs;
    totalMs += measured;
    if (measured > slowestMs) {
      slowestMs = measured;
      slowest = p.id;
    }
    if (p.peerFastSeconds >= 0) {
      const double recordedMs = 1000.0 * p.peerFastSeconds;
      // The recorded times have a resolution of 10 ms.
      const double peerMs = std::max(recordedMs, 10.0);
      totalPeerMs += recordedMs;
      ratios.push_back(measured / peerMs);
      if (measured > BoundMs(recordedMs)) beyond.push_back(p.id);
      std::printf("%-20s %-7s %10.1f %10.1f %10.0f %9.2f %12llu\n", p.id.c_str(),
                  p.stipulation.c_str(), ms, cpuMs, recordedMs, measured / peerMs,
                  static_cast<unsigned long long>(positions));
    } else {
      std::printf("%-20s %-7s %10.1f %10.1f %10s %9s %12llu\n", p.id.c_str(), p.stipulation.c_str(),
                  ms, cpuMs, "-", "-", static_cast<unsigned long long>(positions));
    }
    std::fflush(stdout);
    if (BreakRequested()) break;
  }
  const char* unit = wall ? "ms" : "cpu ms";
  std::printf("%d helpmates, fast search %s, backward walk %s, %d thread%s, best of %d\n", solved,
              fast ? "on" : "off", backward ? "on" : "off", threads, threads > 1 ? "s" : "",
              repeat);
  std::printf("total %.1f %s, recorded %.1f ms (%.2f); median ratio %.2f; slowest %s %.1f %s\n",
              totalMs, unit, totalPeerMs, totalPeerMs > 0 ? totalMs / totalPeerMs : 0.0,
              Median(ratios), slowest.c_str(), slowestMs, unit);
  std::printf("beyond twice the recorded time (150 ms where that is 50 ms or less): %zu",
              beyond.size());
  for (const std::string& id : beyond) std::printf(" %s", id.c_str());
  std::printf("\n");
  return bad > 0 ? ExitFailure : ExitOk;
}

}  // namespace kv::cli
