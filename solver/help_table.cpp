#include "solver/help_table.h"

#include <algorithm>
#include <utility>

namespace kv {

void HelpTable::Resize(std::size_t slotCount) {
  std::size_t size = 1;
  while (size * 2 <= slotCount) size *= 2;
  // The default table is written at once; a deep one page by page.
  const bool touchNow = size <= DefaultHelpTableSlots;
  ZeroedWords words(2 * size, touchNow);
  while (words.empty() && size > 1) {
    size /= 2;
    words = ZeroedWords(2 * size, touchNow);
  }
  if (words.empty()) return;  // not even one slot: the table as it was
  words_ = std::move(words);
  slotCount_ = size;
}

void HelpTable::Clear() {
  words_.Clear();
}

std::uint64_t HelpTable::Read(std::uint64_t key) const {
  const std::size_t first = FirstWordOf(key);
  const std::uint64_t known = Word(first).load(std::memory_order_relaxed);
  const std::uint64_t check = Word(first + 1).load(std::memory_order_relaxed);
  return known != 0 && (known ^ check) == key ? known : 0;
}

void HelpTable::Write(std::uint64_t key, std::uint64_t known) {
  const std::size_t first = FirstWordOf(key);
  Word(first).store(known, std::memory_order_relaxed);
  Word(first + 1).store(known ^ key, std::memory_order_relaxed);
}

HelpTable::Known HelpTable::Find(std::uint64_t key, int moves) const {
  const std::uint64_t known = Read(key);
  if (known == 0) return Known::Nothing;
  if ((known & IllegalBit) != 0) return Known::Illegal;
  const auto mateWithin = static_cast<int>(known & 0xFF);
  const auto noneWithin = static_cast<int>(known >> 8 & 0xFF);
  if (mateWithin != 0 && mateWithin <= moves) return Known::Mate;
  if (noneWithin >= moves) return Known::NoMate;
  return Known::Nothing;
}

void HelpTable::Store(std::uint64_t key, int moves, bool mate) {
  // Another position's answers are replaced: the newest is the likeliest to
  // be asked again.
  std::uint64_t known = Read(key);
  if (known == 0 || (known & IllegalBit) != 0) known = Used;
  auto mateWithin = static_cast<int>(known & 0xFF);
  auto noneWithin = static_cast<int>(known >> 8 & 0xFF);
  if (mate) {
    if (mateWithin == 0 || moves < mateWithin) mateWithin = moves;
  } else {
    noneWithin = std::max(noneWithin, moves);
  }
  Write(key, Used | static_cast<std::uint64_t>(noneWithin) << 8 |
                 static_cast<std::uint64_t>(mateWithin));
}

void HelpTable::StoreIllegal(std::uint64_t key) {
  Write(key, Used | IllegalBit);
}

}  // namespace kv
