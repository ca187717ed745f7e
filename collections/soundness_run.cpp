#include "collections/soundness_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "collections/problem_file.h"
#include "core/rules.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;

// What the workers and the waiting caller share.
struct RunShared {
  const std::vector<CheckItem>& items;
  const double timeoutSeconds;
  std::vector<CheckReport> reports;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::size_t> finished;  // guarded by mutex
  int running = 0;                   // guarded by mutex

  RunShared(const std::vector<CheckItem>& all, double timeout)
      : items(all), timeoutSeconds(timeout), reports(all.size()) {}
};

std::string TrimmedType(const ProblemType& type) {
  std::string text = FormatProblemType(type);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

// One item with the worker's own search state. The break poll reads the
// clock only every few hundred calls: the searches poll very often.
CheckReport CheckOne(RunShared& run, SearchState& state, const CheckItem& item) {
  CheckReport report;
  report.done = true;
  const Clock::time_point start = Clock::now();
  if (!item.readError.empty()) {
    report.verdict = {Verdict::Unreadable, item.readError};
    return report;
  }
  const bool limited = run.timeoutSeconds > 0;
  const Clock::time_point deadline =
      start + std::chrono::duration_cast<Clock::duration>(
                  std::chrono::duration<double>(limited ? run.timeoutSeconds : 0));
  bool late = false;
  unsigned polls = 0;
  UiCallbacks ui;
  ui.breakPoll = [&] {
    if (run.stop.load(std::memory_order_relaxed)) return true;
    if (limited && !late && (++polls & 255U) == 0) late = Clock::now() >= deadline;
    return late;
  };
  const SoundnessResult result = CheckSoundness(state, item.input, ui, [&] { return late; });
  report.verdict = result.verdict;
  report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return report;
}

void Work(RunShared& run) {
  auto state = std::make_unique<SearchState>();
  for (;;) {
    if (run.stop.load()) break;
    const std::size_t index = run.next.fetch_add(1);
    if (index >= run.items.size()) break;
    CheckReport report = CheckOne(run, *state, run.items[index]);
    std::lock_guard lock(run.mutex);
    run.reports[index] = std::move(report);
    run.finished.push_back(index);
    run.changed.notify_all();
  }
  std::lock_guard lock(run.mutex);
  --run.running;
  run.changed.notify_all();
}

}  // namespace

CheckItem CheckItemFromProblem(int number, const CurrentProblem& problem) {
  CheckItem item;
  item.number = number;
  item.stipulation = TrimmedType(problem.type);
  ClearBoard(item.input.board);
  PositionBytesToBoard(problem.storedBoard, item.input.board);
  item.input.type = problem.type;
  item.input.twins = problem.twins;
  item.input.statedSolutions = StatedSolutions(problem.comment);
  return item;
}

FileResult LoadCheckItems(const std::string& path, int first, int last, int shard, int shardCount,
                          std::vector<CheckItem>& items) {
  CollectionReader reader;
  if (FileResult opened = reader.Open(path); !opened) return opened;
  const int end = last == 0 ? reader.count() : std::min(last, reader.count());
  for (int number = std::max(first, 1), position = 0; number <= end; ++number, ++position) {
    if (shardCount > 1 && position % shardCount != shard - 1) continue;
    CurrentProblem problem;
    if (FileResult read = reader.ReadProblem(number - 1, problem); !read) {
      CheckItem damaged;
      damaged.number = number;
      damaged.readError = read.detail.empty() ? "damaged record" : read.detail;
      items.push_back(std::move(damaged));
      continue;
    }
    items.push_back(CheckItemFromProblem(number, problem));
  }
  return {};
}

std::vector<CheckReport> RunSoundnessCheck(const std::vector<CheckItem>& items, int jobs,
                                           double timeoutSeconds,
                                           const SoundnessRunEvents& events) {
  RunShared run(items, timeoutSeconds);
  const int workers = std::max(1, std::min<int>(jobs, static_cast<int>(items.size())));
  std::vector<std::thread> threads;
  run.running = items.empty() ? 0 : workers;
  threads.reserve(static_cast<std::size_t>(run.running));
  for (int i = 0; i < run.running; ++i) threads.emplace_back([&run] { Work(run); });

  // The caller's thread hands on what finished and polls for a stop; the
  // callbacks run outside the lock so that they may take their time.
  for (;;) {
    std::deque<std::size_t> done;
    bool over = false;
    {
      std::unique_lock lock(run.mutex);
      run.changed.wait_for(lock, std::chrono::milliseconds(100),
                           [&] { return !run.finished.empty() || run.running == 0; });
      done.swap(run.finished);
      over = run.running == 0;
    }
    for (std::size_t index : done)
      if (events.finished) events.finished(index, run.reports[index]);
    if (events.tick) events.tick();
    if (over) break;
    if (events.stopRequested && events.stopRequested()) run.stop = true;
  }
  for (std::thread& thread : threads) thread.join();
  return std::move(run.reports);
}

CheckSummary Summarise(const std::vector<CheckReport>& reports) {
  CheckSummary summary;
  for (const CheckReport& report : reports) {
    if (!report.done) {
      ++summary.notChecked;
      continue;
    }
    ++summary.checked;
    if (report.verdict.verdict == Verdict::Sound) {
      ++summary.sound;
      continue;
    }
    auto found = std::find_if(summary.others.begin(), summary.others.end(), [&](const auto& entry) {
      return entry.first == report.verdict.verdict;
    });
    if (found == summary.others.end()) {
      summary.others.emplace_back(report.verdict.verdict, 1);
    } else {
      ++found->second;
    }
  }
  std::sort(summary.others.begin(), summary.others.end());
  return summary;
}

}  // namespace kv
