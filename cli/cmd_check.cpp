// kestrovale-cli check: the soundness check of a collection. Every problem
// is solved with its own stipulation and twins on several worker threads; the
// report has one line per problem, in problem order, and a summary.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cmd_kvl_support.h"
#include "cli/command.h"
#include "cli/solve_support.h"
#include "collections/problem_file.h"
#include "collections/soundness_run.h"

namespace kv::cli {
namespace {

// Exit codes besides the shared ones.
constexpr int ExitNotSound = 3;  // a problem is cooked, unsolved, invalid, ... or timed out
constexpr int ExitStopped = 4;   // broken off by Ctrl+C: the report is partial

constexpr OptionSpec Options[] = {
    {"-n", "", "N[-M]", "problems N to M (or N alone; \"N-\" to the end)"},
    {"--jobs", "", "N", "worker threads (default: all cores)"},
    {"--timeout", "", "S", "seconds one problem may take; then it is \"timed out\""},
    {"--shard", "", "K/N", "every N-th problem from the K-th, for splitting a collection"},
    {"--format", "", "text|tsv|json", "text (default), tsv (summary on stderr) or json"}};

constexpr CommandSpec Spec{
    .name = "check",
    .operands = "FILE.kvl",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "soundness check of a collection",
    .options = Options,
    .about =
        "Solves every problem of the collection with its own stipulation and twins and\n"
        "reports one line per problem (number, stipulation, verdict, time), then a summary.\n"
        "Verdicts: sound (one key; a helpmate: the number of solutions its comment states,\n"
        "\"2 solutions\" or \"2.1.1.1\", else one), cooked (every key listed), too few\n"
        "solutions, no solution, short mate, invalid position (with the validation's text),\n"
        "kind not solvable, timed out, stopped, unreadable record.\n",
    .notes =
        "A progress bar with the time left goes to stderr when it is a terminal.\n"
        "Ctrl+C stops the check and reports what was checked.\n",
    .exitStatus =
        "0 every problem checked is sound; 1 the file cannot be read or has no "
        "problem N; 2 bad arguments; 3 some problem is not sound (or timed out); 4 "
        "stopped by Ctrl+C."};

enum class Format { Text, Tsv, Json };

struct CheckArgs {
  std::string file;
  int first = 1, last = 0;
  bool rangeGiven = false;  // -n was given
  int jobs = 0;
  double timeout = 0;
  int shard = 1, shardCount = 1;
  Format format = Format::Text;
};

bool ParseRange(const std::string& text, int& first, int& last) {
  const std::size_t dash = text.find('-');
  if (dash == std::string::npos) {
    if (!ParseWholeNumber(text, 1, 1 << 20, first)) return false;
    last = first;
    return true;
  }
  if (!ParseWholeNumber(text.substr(0, dash), 1, 1 << 20, first)) return false;
  const std::string end = text.substr(dash + 1);
  if (end.empty()) {
    last = 0;
    return true;
  }
  return ParseWholeNumber(end, first, 1 << 20, last);
}

bool ParseSeconds(const std::string& text, double& seconds) {
  if (text.empty()) return false;
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && seconds > 0 && seconds <= 1e6;
}

bool ParseShard(const std::string& text, int& shard, int& count) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  return ParseWholeNumber(text.substr(slash + 1), 1, 100000, count) &&
         ParseWholeNumber(text.substr(0, slash), 1, count, shard);
}

// Fills `parsed`; returns nothing when the check is to run, else its exit
// code (the help printed, or a usage error).
std::optional<int> ParseCheckArgs(const Args& args, CheckArgs& parsed) {
  ParsedOptions kvl;
  if (int exitCode = 0; !ReadCommandLine(args, Spec, kvl, exitCode)) return exitCode;
  parsed.file = kvl.Operand(0);
  parsed.rangeGiven = kvl.Has("-n");
  if (kvl.Has("-n") && !ParseRange(kvl.Value("-n"), parsed.first, parsed.last))
    return UsageError("check: -n needs N or N-M (from 1, N <= M), not '" + kvl.Value("-n") + "'");
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  int exitCode = 0;
  if (!TakeNumber(kvl, "check", "--jobs", 1, 256, cores > 0 ? cores : 1, parsed.jobs, exitCode))
    return exitCode;
  if (kvl.Has("--timeout") && !ParseSeconds(kvl.Value("--timeout"), parsed.timeout))
    return UsageError("check: --timeout needs a number of seconds above 0, not '" +
                      kvl.Value("--timeout") + "'");
  if (kvl.Has("--shard") && !ParseShard(kvl.Value("--shard"), parsed.shard, parsed.shardCount))
    return UsageError("check: --shard needs K/N with 1 <= K <= N, not '" + kvl.Value("--shard") +
                      "'");
  if (kvl.Has("--format")) {
    const std::string& f = kvl.Value("--format");
    if (f == "text") {
      parsed.format = Format::Text;
    } else if (f == "tsv") {
      parsed.format = Format::Tsv;
    } else if (f == "json") {
      parsed.format = Format::Json;
    } else {
      return UsageError("check: --format is text, tsv or json, not '" + f + "'");
    }
  }
  return std::nullopt;
}

std::string OneLine(const std::string& cp1252) {
  std::string text = Cp1252ToUtf8(cp1252);
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string Minutes(double seconds) {
  const int s = static_cast<int>(std::lround(seconds));
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d", s / 60, s % 60);
  return text;
}

// The progress bar on stderr: drawn over itself, erased before each line of
// the report so that the two never mix on one terminal.
class ProgressBar {
 public:
  ProgressBar(bool shown, std::size_t total)
      : shown_(shown), total_(total), start_(std::chrono::steady_clock::now()) {}

  void Update(std::size_t done) {
    done_ = done;
    Draw();
  }
  void Erase() {
    if (shown_) std::fputs("\r\033[K", stderr);
  }
  void Draw() {
    if (!shown_ || total_ == 0) return;
    constexpr int Width = 30;
    const int filled = static_cast<int>(Width * done_ / total_);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const std::string left =
        done_ == 0
            ? "--:--"
            : Minutes(elapsed / static_cast<double>(done_) * static_cast<double>(total_ - done_));
    std::fprintf(stderr, "\r[%s%s] %zu/%zu  %s left ", std::string(filled, '#').c_str(),
                 std::string(Width - filled, '.').c_str(), done_, total_, left.c_str());
    std::fflush(stderr);
  }

 private:
  bool shown_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::chrono::steady_clock::time_point start_;
};

void PrintReport(Format format, const CheckItem& item, const CheckReport& report) {
  const std::string verdict(VerdictName(report.verdict.verdict));
  const std::string detail = OneLine(report.verdict.detail);
  if (format == Format::Text) {
    std::printf("%5d  %-7s %-17s %s%s(%.2f s)\n", item.number, item.stipulation.c_str(),
                verdict.c_str(), detail.c_str(), detail.empty() ? "" : "  ", report.seconds);
  } else if (format == Format::Tsv) {
    std::printf("%d\t%s\t%s\t%s\t%.3f\n", item.number, item.stipulation.c_str(), verdict.c_str(),
                detail.c_str(), report.seconds);
  }
  std::fflush(stdout);
}

std::string SummaryText(const CheckSummary& summary, double seconds, int jobs, bool stopped) {
  std::string text = std::to_string(summary.checked) + " problem(s) checked in ";
  char time[32];
  std::snprintf(time, sizeof time, "%.2f s", seconds);
  text += time;
  text += " on " + std::to_string(jobs) + " job(s): " + std::to_string(summary.sound) + " sound";
  for (const auto& [verdict, count] : summary.others)
    text += ", " + std::to_string(count) + " " + std::string(VerdictName(verdict));
  text += "\n";
  if (stopped || summary.notChecked > 0)
    text +=
        "stopped by the user: " + std::to_string(summary.notChecked) + " problem(s) not checked\n";
  return text;
}

nlohmann::json JsonReport(const std::string& file, const std::vector<CheckItem>& items,
                          const std::vector<CheckReport>& reports, const CheckSummary& summary,
                          double seconds, int jobs, bool stopped) {
  nlohmann::json problems = nlohmann::json::array();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!reports[i].done) continue;
    problems.push_back({{"number", items[i].number},
                        {"stipulation", items[i].stipulation},
                        {"verdict", std::string(VerdictName(reports[i].verdict.verdict))},
                        {"detail", Cp1252ToUtf8(reports[i].verdict.detail)},
                        {"seconds", reports[i].seconds}});
  }
  nlohmann::json verdicts = nlohmann::json::object();
  verdicts["sound"] = summary.sound;
  for (const auto& [verdict, count] : summary.others)
    verdicts[std::string(VerdictName(verdict))] = count;
  return {{"file", file},
          {"problems", problems},
          {"summary",
           {{"checked", summary.checked},
            {"not_checked", summary.notChecked},
            {"verdicts", verdicts},
            {"seconds", seconds},
            {"jobs", jobs},
            {"stopped", stopped}}}};
}

int Run(const Args& args) {
  CheckArgs parsed;
  if (const std::optional<int> code = ParseCheckArgs(args, parsed)) return *code;
  std::vector<CheckItem> items;
  if (FileResult loaded = LoadCheckItems(parsed.file, parsed.first, parsed.last, parsed.shard,
                                         parsed.shardCount, items);
      !loaded)
    return FileError(loaded, parsed.file);
  if (parsed.rangeGiven && items.empty()) {
    // The range starts past the last problem: nothing would be checked, and
    // an exit status of 0 would read as "all sound".
    CollectionReader reader;
    if (reader.Open(parsed.file) && parsed.first > reader.count())
      return NoSuchProblem(parsed.first, reader.count(), parsed.file);
  }

  InstallBreakHandler();
  const auto start = std::chrono::steady_clock::now();
  ProgressBar bar(isatty(STDERR_FILENO) != 0, items.size());
  std::vector<CheckReport> reports(items.size());
  std::size_t printed = 0, finished = 0;
  bool stopped = false;
  const bool lines = parsed.format != Format::Json;

  SoundnessRunEvents events;
  events.stopRequested = [&] { return stopped = stopped || BreakRequested(); };
  // Lines come in problem order: a finished problem waits for those before it.
  events.finished = [&](std::size_t index, const CheckReport& report) {
    reports[index] = report;
    ++finished;
    bar.Erase();
    for (; lines && printed < items.size() && reports[printed].done; ++printed)
      PrintReport(parsed.format, items[printed], reports[printed]);
    bar.Update(finished);
  };
  events.tick = [&] { bar.Draw(); };
  reports = RunSoundnessCheck(items, parsed.jobs, parsed.timeout, events);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  bar.Erase();
  stopped = stopped || BreakRequested();
  // After a stop, the problems finished beyond the first one left unchecked.
  for (; lines && printed < items.size(); ++printed)
    if (reports[printed].done) PrintReport(parsed.format, items[printed], reports[printed]);

  const CheckSummary summary = Summarise(reports);
  if (parsed.format == Format::Json) {
    std::printf("%s\n",
                JsonReport(parsed.file, items, reports, summary, seconds, parsed.jobs, stopped)
                    .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                    .c_str());
  } else {
    const std::string text = SummaryText(summary, seconds, parsed.jobs, stopped);
    std::fputs(text.c_str(), parsed.format == Format::Tsv ? stderr : stdout);
  }
  if (stopped) return ExitStopped;
  return summary.sound == summary.checked ? ExitOk : ExitNotSound;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
