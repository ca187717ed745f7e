// The soundness check of many problems of a collection on several worker
// threads, each with its own search state: the command line's `check` and
// the problem list's "Check soundness" share it. The caller's thread waits,
// polls for a stop and hears of every finished problem.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "solver/soundness_check.h"

namespace kv {

// One problem to check: its record number (from 1), its stipulation text and
// what the check searches; a record that could not be read keeps the reason.
struct CheckItem {
  int number = 0;
  std::string stipulation;  // the type text without its leading blank
  SoundnessInput input;
  std::string readError;  // empty when the record was read
};

// The problem as the check takes it: board, type, twins, and the number of
// solutions its stipulation or comment announces.
CheckItem CheckItemFromProblem(int number, const CurrentProblem& problem);

// Records `first` .. `last` (from 1; last 0 = to the end) of the collection,
// every `shardCount`-th of them from the `shard`-th (1 .. shardCount), so
// that several runs can share a collection. A damaged record becomes an item
// with its reason; a file that cannot be opened fails.
FileResult LoadCheckItems(const std::string& path, int first, int last, int shard, int shardCount,
                          std::vector<CheckItem>& items);

// The outcome of one item.
struct CheckReport {
  bool done = false;  // false: not checked before a stop
  ProblemVerdict verdict;
  double seconds = 0;
};

struct SoundnessRunEvents {
  // Polled on the caller's thread a few times a second; true stops the run:
  // the problems being searched are broken off and reported "stopped".
  std::function<bool()> stopRequested;
  // On the caller's thread, once for each item that is done, in the order
  // they finish.
  std::function<void(std::size_t index, const CheckReport& report)> finished;
  // On the caller's thread a few times a second (a progress display).
  std::function<void()> tick;
};

// Checks every item on `jobs` threads (at least 1); `timeoutSeconds` > 0
// limits each problem's search ("timed out"). Returns one report per item.
std::vector<CheckReport> RunSoundnessCheck(const std::vector<CheckItem>& items, int jobs,
                                           double timeoutSeconds, const SoundnessRunEvents& events);

// Counts by verdict, for the summary lines.
struct CheckSummary {
  int checked = 0;
  int notChecked = 0;
  int sound = 0;
  std::vector<std::pair<Verdict, int>> others;  // verdicts other than sound, in table order
};
CheckSummary Summarise(const std::vector<CheckReport>& reports);

}  // namespace kv
