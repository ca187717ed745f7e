#include "solver/help_table.h"

#include <algorithm>

namespace kv {

void HelpTable::Resize(std::size_t slotCount) {
  std::size_t size = 1;
  while (size * 2 <= slotCount) size *= 2;
  slots_.assign(size, Slot{});
  hits = 0;
  stores = 0;
}

void HelpTable::Clear() {
  std::fill(slots_.begin(), slots_.end(), Slot{});
}

HelpTable::Known HelpTable::Find(std::uint64_t key, int moves) const {
  const Slot& slot = SlotOf(key);
  if (slot.key != key) return Known::Nothing;
  if (slot.illegal != 0) return Known::Illegal;
  if (slot.mateWithin != 0 && slot.mateWithin <= moves) return Known::Mate;
  if (slot.noneWithin >= moves) return Known::NoMate;
  return Known::Nothing;
}

void HelpTable::Store(std::uint64_t key, int moves, bool mate) {
  Slot& slot = SlotOf(key);
  ++stores;
  // Another position's answers are replaced: the newest is the likeliest to
  // be asked again.
  if (slot.key != key) slot = Slot{key, 0, 0, 0};
  const auto depth = static_cast<std::uint8_t>(moves);
  if (mate) {
    if (slot.mateWithin == 0 || depth < slot.mateWithin) slot.mateWithin = depth;
  } else {
    slot.noneWithin = std::max(slot.noneWithin, depth);
  }
}

void HelpTable::StoreIllegal(std::uint64_t key) {
  Slot& slot = SlotOf(key);
  ++stores;
  slot = Slot{key, 0, 0, 1};
}

}  // namespace kv
