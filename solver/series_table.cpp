#include "solver/series_table.h"

#include <algorithm>
#include <bit>

namespace kv {
namespace {

// Four slots to a bucket: a store replaces the entry with the fewest moves,
// the one that saves the least search.
constexpr std::size_t BucketSlots = 4;
constexpr std::uint64_t MovesMask = 0xFF;
constexpr int GenerationShift = 8;
constexpr std::uint64_t GenerationMask = 0xFF;

int MovesOf(std::uint64_t slot) {
  return static_cast<int>(slot & MovesMask);
}
std::uint64_t GenerationOf(std::uint64_t slot) {
  return (slot >> GenerationShift) & GenerationMask;
}

}  // namespace

SeriesTable::SeriesTable(std::size_t slotCount) {
  if (slotCount < BucketSlots) return;
  const std::size_t size = std::bit_floor(slotCount);
  // The default table is written at once; a deep one page by page.
  slots_ = ZeroedWords(size, size <= DefaultSeriesTableSlots);
  mask_ = slots_.empty() ? 0 : size / BucketSlots - 1;
}

void SeriesTable::Clear() {
  hits = stores = 0;
  if (++generation_ > GenerationMask) {
    slots_.Clear();
    generation_ = 1;
  }
}

std::size_t SeriesTable::BucketOf(std::uint64_t key) const {
  return static_cast<std::size_t>(key & mask_) * BucketSlots;
}

bool SeriesTable::ProvedNone(std::uint64_t key, int moves) const {
  if (slots_.empty()) return false;
  const std::size_t bucket = BucketOf(key);
  for (std::size_t i = 0; i < BucketSlots; ++i) {
    const std::uint64_t slot = slots_[bucket + i];
    if (Check(slot) == Check(key) && GenerationOf(slot) == generation_ && MovesOf(slot) >= moves) {
      ++hits;
      return true;
    }
  }
  return false;
}

void SeriesTable::StoreNone(std::uint64_t key, int moves) {
  if (slots_.empty()) return;
  ++stores;
  const std::uint64_t entry =
      Check(key) | (generation_ << GenerationShift) | static_cast<std::uint64_t>(moves & 0xFF);
  const std::size_t bucket = BucketOf(key);
  std::size_t victim = bucket;
  int victimMoves = 256;
  for (std::size_t i = bucket; i < bucket + BucketSlots; ++i) {
    const std::uint64_t slot = slots_[i];
    if (GenerationOf(slot) != generation_) {  // empty, or of an earlier search
      victim = i;
      victimMoves = -1;
      continue;
    }
    if (Check(slot) == Check(key)) {
      if (MovesOf(slot) < moves) slots_[i] = entry;
      return;
    }
    if (victimMoves >= 0 && MovesOf(slot) < victimMoves) {
      victim = i;
      victimMoves = MovesOf(slot);
    }
  }
  slots_[victim] = entry;
}

}  // namespace kv
