// The table of battle-play search results. Below the root a direct,
// selfmate or reflexmate search runs without tries, so what it returns
// depends on the position alone: the shortest forced mate, "none within d
// moves", an illegal last move or (reflexmate) White's compulsory mate. The
// table remembers these answers by position key, so that a position reached
// again, by transposition or from another branch, is not searched again.
// Helpmates are not kept: their shorter searches depend on the reply order.
//
// Two search threads may share one table. Each slot is two atomic words, the
// answer and the key XOR the answer; a lookup that reads a half-written slot
// finds the key wrong and treats it as empty, so no lock is needed and only
// whole answers are ever read.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kv {

// The slots of the table a SearchState allocates (16 bytes each).
inline constexpr std::size_t DefaultResultTableSlots = std::size_t{1} << 20;

class ResultTable {
 public:
  // What a lookup found: `known` false when the search must run.
  struct Answer {
    bool known = false;
    int result = 0;
  };

  explicit ResultTable(std::size_t slotCount = DefaultResultTableSlots) { Resize(slotCount); }
  // A table of `slotCount` slots made at its first use (Make): a search
  // state that never plays a battle-play search, or whose table is turned
  // off before it, neither allocates nor touches its 16 MB.
  struct Deferred {};
  ResultTable(std::size_t slotCount, Deferred) : wanted_(slotCount) {}

  // Replaces the table by one of `slotCount` slots (rounded down to a power of
  // two; 0 turns the table off). Not to be called during a search.
  void Resize(std::size_t slotCount);
  void Clear();
  // Makes a deferred table; not during a search, nor while a second thread
  // may use it.
  void Make() {
    if (size_ == 0 && wanted_ != 0) Resize(wanted_);
  }
  bool Enabled() const { return size_ != 0 || wanted_ != 0; }
  bool Made() const { return size_ != 0; }

  // The result of a search `moves` deep (2..6) of the position `key`, when
  // the table can tell it.
  Answer Find(std::uint64_t key, int moves) const;
  // Records the result `result` of a search `moves` deep. Results: 1..6 the
  // shortest mate, 0 none within `moves`, -1 illegal, -2 reflexmate failure.
  void Store(std::uint64_t key, int moves, int result);

  // Counters for the bench and the tests (shared by the threads).
  std::atomic<std::uint64_t> hits{0};
  std::atomic<std::uint64_t> stores{0};
  std::atomic<std::uint64_t> replacements{0};

  // When set, every hit is searched again and a differing answer aborts the
  // program: the check that the table never changes a result.
  bool verifyHits = false;

 private:
  // `data` holds the outcome in its low byte (0 empty, see Outcome), the
  // depth in the next: the exact shortest mate (outcome Mate), the depth
  // searched without success (outcome NoneWithin), or unused; and in the
  // third the depth of the search that stored it, which decides what a
  // store replaces. `check` is the key XOR data.
  struct Slot {
    std::atomic<std::uint64_t> check{0};
    std::atomic<std::uint64_t> data{0};
  };
  // The first slot of the pair `key` may stand in.
  std::size_t PairOf(std::uint64_t key) const;

  std::unique_ptr<Slot[]> slots_;
  std::size_t size_ = 0;
  std::size_t wanted_ = 0;  // the slots asked for, made or still deferred
};

}  // namespace kv
