#include "solver/help_table.h"

#include <algorithm>
#include <utility>

namespace kv {

void HelpTable::Resize(std::size_t slotCount) {
  Allocate(slotCount, true);
}

void HelpTable::Allocate(std::size_t slotCount, bool mayTouchNow) {
  std::size_t size = 1;
  while (size * 2 <= slotCount) size *= 2;
  // The default table is written at once; a deep one page by page.
  const bool touchNow = mayTouchNow && size <= DefaultHelpTableSlots;
  ZeroedWords words(2 * size, touchNow);
  while (words.empty() && size > 1) {
    size /= 2;
    words = ZeroedWords(2 * size, touchNow);
  }
  if (words.empty()) return;  // not even one slot: the table as it was
  words_ = std::move(words);
  slotCount_ = size;
  touched_ = touchNow;
}

void HelpTable::Make(bool touchNow) {
  if (slotCount_ == 0) {
    Allocate(wantedSlots_, touchNow);
  } else if (touchNow && !touched_ && slotCount_ <= DefaultHelpTableSlots) {
    // Made untouched for a short walk; a walk two threads share follows.
    words_.TouchPages();
    touched_ = true;
  }
}

void HelpTable::Clear() {
  words_.Clear();
}

namespace {

// The moves an answer is worth: what it spares a search that finds it.
int MovesWorth(std::uint64_t known) {
  const auto mateWithin = static_cast<int>(known & 0xFF);
  const auto noneWithin = static_cast<int>(known >> 8 & 0xFF);
  return std::max(mateWithin, noneWithin);
}

}  // namespace

std::uint64_t HelpTable::Read(std::uint64_t key, std::size_t& slot) const {
  const std::size_t first = FirstSlotOf(key);
  for (std::size_t i = first; i < first + PairSlots && i < slotCount_; ++i) {
    const std::uint64_t known = Word(2 * i).load(std::memory_order_relaxed);
    const std::uint64_t check = Word(2 * i + 1).load(std::memory_order_relaxed);
    if (known != 0 && (known ^ check) == key) {
      slot = i;
      return known;
    }
  }
  return 0;
}

void HelpTable::Write(std::size_t slot, std::uint64_t key, std::uint64_t known) {
  Word(2 * slot).store(known, std::memory_order_relaxed);
  Word(2 * slot + 1).store(known ^ key, std::memory_order_relaxed);
}

std::size_t HelpTable::SlotForNew(std::uint64_t key, std::uint64_t known) const {
  const std::size_t first = FirstSlotOf(key);
  if (first + 1 >= slotCount_) return first;
  const std::uint64_t deepest = Word(2 * first).load(std::memory_order_relaxed);
  const bool earlier = (deepest >> GenerationShift & MaxGeneration) != generation_;
  return earlier || MovesWorth(known) >= MovesWorth(deepest) ? first : first + 1;
}

HelpTable::Known HelpTable::Find(std::uint64_t key, int moves) const {
  std::size_t slot = 0;
  const std::uint64_t known = Read(key, slot);
  if (known == 0) return Known::Nothing;
  if ((known & IllegalBit) != 0) return Known::Illegal;
  const auto mateWithin = static_cast<int>(known & 0xFF);
  const auto noneWithin = static_cast<int>(known >> 8 & 0xFF);
  if (mateWithin != 0 && mateWithin <= moves) return Known::Mate;
  if (noneWithin >= moves) return Known::NoMate;
  return Known::Nothing;
}

void HelpTable::Store(std::uint64_t key, int moves, bool mate) {
  if (slotCount_ == 0) return;  // deferred and not made: nothing is kept
  std::size_t slot = 0;
  std::uint64_t known = Read(key, slot);
  const bool held = known != 0;
  if (known == 0 || (known & IllegalBit) != 0) known = 0;
  auto mateWithin = static_cast<int>(known & 0xFF);
  auto noneWithin = static_cast<int>(known >> 8 & 0xFF);
  if (mate) {
    if (mateWithin == 0 || moves < mateWithin) mateWithin = moves;
  } else {
    noneWithin = std::max(noneWithin, moves);
  }
  known = Used | generation_ << GenerationShift | static_cast<std::uint64_t>(noneWithin) << 8 |
          static_cast<std::uint64_t>(mateWithin);
  Write(held ? slot : SlotForNew(key, known), key, known);
}

void HelpTable::StoreIllegal(std::uint64_t key) {
  if (slotCount_ == 0) return;
  const std::uint64_t known = Used | generation_ << GenerationShift | IllegalBit;
  std::size_t slot = 0;
  if (Read(key, slot) == 0) slot = SlotForNew(key, known);
  Write(slot, key, known);
}

}  // namespace kv
