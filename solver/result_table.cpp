#include "solver/result_table.h"

namespace kv {

namespace {

enum Outcome : std::int8_t {
  EmptySlot = 0,
  Mate = 1,
  NoneWithin = 2,
  Illegal = 3,
  ReflexFails = 4
};

}  // namespace

void ResultTable::Resize(std::size_t slotCount) {
  std::size_t size = 0;
  if (slotCount > 0) {
    size = 1;
    while (size * 2 <= slotCount) size *= 2;
  }
  slots_.assign(size, Slot{});
  slots_.shrink_to_fit();
}

void ResultTable::Clear() {
  for (Slot& slot : slots_) slot = Slot{};
}

ResultTable::Answer ResultTable::Find(std::uint64_t key, int moves) const {
  if (slots_.empty()) return {};
  const Slot& slot = slots_[key & (slots_.size() - 1)];
  if (slot.outcome == EmptySlot || slot.key != key) return {};
  switch (slot.outcome) {
    case Mate:
      return {true, slot.depth <= moves ? slot.depth : 0};
    case NoneWithin:
      if (moves <= slot.depth) return {true, 0};
      return {};
    case Illegal:
      return {true, -1};
    case ReflexFails:
      return {true, -2};
    default:
      return {};
  }
}

void ResultTable::Store(std::uint64_t key, int moves, int result) {
  if (slots_.empty()) return;
  Slot& slot = slots_[key & (slots_.size() - 1)];
  Slot fresh{key, EmptySlot, 0};
  if (result > 0) {
    fresh.outcome = Mate;
    fresh.depth = static_cast<std::int8_t>(result);
  } else if (result == 0) {
    fresh.outcome = NoneWithin;
    fresh.depth = static_cast<std::int8_t>(moves);
  } else {
    fresh.outcome = result == -1 ? Illegal : ReflexFails;
  }
  if (slot.outcome != EmptySlot) {
    if (slot.key != key) {
      ++replacements;
    } else if (slot.outcome == NoneWithin && fresh.outcome == NoneWithin &&
               slot.depth > fresh.depth) {
      return;  // a deeper failure says more
    }
  }
  slot = fresh;
  ++stores;
}

}  // namespace kv
