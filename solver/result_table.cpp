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

constexpr std::uint64_t Pack(int outcome, int depth) {
  return static_cast<std::uint64_t>(outcome) | static_cast<std::uint64_t>(depth) << 8;
}

}  // namespace

void ResultTable::Resize(std::size_t slotCount) {
  std::size_t size = 0;
  if (slotCount > 0) {
    size = 1;
    while (size * 2 <= slotCount) size *= 2;
  }
  slots_.reset();
  slots_ = size > 0 ? std::make_unique<Slot[]>(size) : nullptr;
  size_ = size;
}

void ResultTable::Clear() {
  for (std::size_t i = 0; i < size_; ++i) {
    slots_[i].data.store(0, std::memory_order_relaxed);
    slots_[i].check.store(0, std::memory_order_relaxed);
  }
}

ResultTable::Answer ResultTable::Find(std::uint64_t key, int moves) const {
  if (size_ == 0) return {};
  const Slot& slot = slots_[key & (size_ - 1)];
  const std::uint64_t data = slot.data.load(std::memory_order_relaxed);
  const std::uint64_t check = slot.check.load(std::memory_order_relaxed);
  if (data == 0 || (check ^ data) != key) return {};
  const int depth = static_cast<int>((data >> 8) & 0xff);
  switch (data & 0xff) {
    case Mate:
      return {true, depth <= moves ? depth : 0};
    case NoneWithin:
      if (moves <= depth) return {true, 0};
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
  if (size_ == 0) return;
  Slot& slot = slots_[key & (size_ - 1)];
  std::uint64_t fresh = 0;
  if (result > 0) {
    fresh = Pack(Mate, result);
  } else if (result == 0) {
    fresh = Pack(NoneWithin, moves);
  } else {
    fresh = Pack(result == -1 ? Illegal : ReflexFails, 0);
  }
  const std::uint64_t data = slot.data.load(std::memory_order_relaxed);
  const std::uint64_t check = slot.check.load(std::memory_order_relaxed);
  if (data != 0) {
    if ((check ^ data) != key) {
      replacements.fetch_add(1, std::memory_order_relaxed);
    } else if ((data & 0xff) == NoneWithin && (fresh & 0xff) == NoneWithin &&
               (data >> 8) > (fresh >> 8)) {
      return;  // a deeper failure says more
    }
  }
  // The answer first: a reader between the two stores finds the key wrong.
  slot.data.store(fresh, std::memory_order_relaxed);
  slot.check.store(key ^ fresh, std::memory_order_relaxed);
  stores.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace kv
