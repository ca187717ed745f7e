// The table of a series search: positions proved to have no solution within
// a number of series moves. A series search proves its lengths one after
// the other, shortest first, so when it reaches a position with d moves
// left, no shorter series from there can exist either (with the moves that
// led there it would have been a shorter solution, found before): "none in
// exactly d moves" is "none within d moves", and the answer holds for every
// longer length searched later from the same diagram. It does not hold for
// another diagram, so each search starts with an empty table.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "solver/zeroed_words.h"

namespace kv {

// Slots of the table a SeriesMemory allocates (8 bytes each).
inline constexpr std::size_t DefaultSeriesTableSlots = std::size_t{1} << 21;

class SeriesTable {
 public:
  explicit SeriesTable(std::size_t slotCount = DefaultSeriesTableSlots);

  // Forgets every entry (cheaply: entries of an earlier search no longer
  // match).
  void Clear();
  bool Enabled() const { return !slots_.empty(); }
  std::size_t Slots() const { return slots_.size(); }

  // Whether `key` is known to have no solution within `moves` moves.
  bool ProvedNone(std::uint64_t key, int moves) const;
  // Starts loading `key`'s slots, so that a later ProvedNone or StoreNone
  // need not wait for them.
  void Prefetch(std::uint64_t key) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[BucketOf(key)]);
  }
  // Records that `key` has no solution within `moves` moves (1..255).
  void StoreNone(std::uint64_t key, int moves);

 private:
  // A slot holds the key's upper 48 bits, the search's generation and the
  // moves proved; 0 is empty.
  // Four slots to a bucket, one cache line's half: a store replaces the
  // entry with the fewest moves, the one that saves the least search.
  static constexpr std::size_t BucketSlots = 4;
  static std::uint64_t Check(std::uint64_t key) { return key & ~std::uint64_t{0xFFFF}; }
  std::size_t BucketOf(std::uint64_t key) const {
    return static_cast<std::size_t>(key & mask_) * BucketSlots;
  }
  // Each slot is one word, read and written whole: two walks of one search
  // share the table.
  std::atomic_ref<std::uint64_t> Word(std::size_t i) const { return std::atomic_ref(slots_[i]); }

  mutable ZeroedWords slots_;
  std::size_t mask_ = 0;
  std::uint64_t generation_ = 1;  // 1..255
};

}  // namespace kv
