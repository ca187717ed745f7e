#include "solver/series_table.h"

#include <algorithm>
#include <bit>

namespace kv {
namespace {

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
  // Every table is written when made, the deep one too (80 ms): a search
  // long enough for it touches most of its pages anyway, and a page first
  // touched during a search costs it more, the more so with two threads
  // touching at once (a ser-h=10 spent 1.2 s in the system then).
  slots_ = ZeroedWords(size, true);
  mask_ = slots_.empty() ? 0 : size / BucketSlots - 1;
}

void SeriesTable::Clear() {
  if (++generation_ > GenerationMask) {
    slots_.Clear();
    generation_ = 1;
  }
}

bool SeriesTable::ProvedNone(std::uint64_t key, int moves) const {
  if (slots_.empty()) return false;
  const std::size_t bucket = BucketOf(key);
  for (std::size_t i = 0; i < BucketSlots; ++i) {
    const std::uint64_t slot = Word(bucket + i).load(std::memory_order_relaxed);
    if (Check(slot) == Check(key) && GenerationOf(slot) == generation_ && MovesOf(slot) >= moves)
      return true;
  }
  return false;
}

void SeriesTable::StoreNone(std::uint64_t key, int moves) {
  if (slots_.empty()) return;
  const std::uint64_t entry =
      Check(key) | (generation_ << GenerationShift) | static_cast<std::uint64_t>(moves & 0xFF);
  const std::size_t bucket = BucketOf(key);
  std::size_t victim = bucket;
  int victimMoves = 256;
  for (std::size_t i = bucket; i < bucket + BucketSlots; ++i) {
    const std::uint64_t slot = Word(i).load(std::memory_order_relaxed);
    if (GenerationOf(slot) != generation_) {  // empty, or of an earlier search
      victim = i;
      victimMoves = -1;
      continue;
    }
    if (Check(slot) == Check(key)) {
      if (MovesOf(slot) < moves) Word(i).store(entry, std::memory_order_relaxed);
      return;
    }
    if (victimMoves >= 0 && MovesOf(slot) < victimMoves) {
      victim = i;
      victimMoves = MovesOf(slot);
    }
  }
  Word(victim).store(entry, std::memory_order_relaxed);
}

}  // namespace kv
