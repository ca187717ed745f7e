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
  wanted_ = size;
}

void ResultTable::Clear() {
  for (std::size_t i = 0; i < size_; ++i) {
    slots_[i].data.store(0, std::memory_order_relaxed);
    slots_[i].check.store(0, std::memory_order_relaxed);
  }
}

// A position may stand in either slot of its pair. The first slot keeps the
// answer of the deepest search stored there (a search of five moves below
// the root costs thousands of shallow ones, and the tens of thousands of
// shallow answers stored after it would otherwise push it out); the second
// takes whatever comes.
std::size_t ResultTable::PairOf(std::uint64_t key) const {
  return size_ < 2 ? 0 : static_cast<std::size_t>(key) & (size_ - 1) & ~std::size_t{1};
}

ResultTable::Answer ResultTable::Find(std::uint64_t key, int moves) const {
  if (size_ == 0) return {};
  const std::size_t first = PairOf(key);
  const std::size_t ways = size_ < 2 ? 1 : 2;
  for (std::size_t way = 0; way < ways; ++way) {
    const Slot& slot = slots_[first + way];
    const std::uint64_t data = slot.data.load(std::memory_order_relaxed);
    const std::uint64_t check = slot.check.load(std::memory_order_relaxed);
    if (data == 0 || (check ^ data) != key) continue;
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
  return {};
}

void ResultTable::Store(std::uint64_t key, int moves, int result) {
  if (size_ == 0) return;
  std::uint64_t fresh = 0;
  if (result > 0) {
    fresh = Pack(Mate, result);
  } else if (result == 0) {
    fresh = Pack(NoneWithin, moves);
  } else {
    fresh = Pack(result == -1 ? Illegal : ReflexFails, 0);
  }
  // The depth searched, which the first slot of a pair keeps the deepest of
  // (a lookup reads only the two low bytes).
  fresh |= static_cast<std::uint64_t>(moves & 0xff) << 16;
  const std::size_t first = PairOf(key);
  const std::size_t ways = size_ < 2 ? 1 : 2;
  std::uint64_t data[2] = {};
  std::uint64_t check[2] = {};
  for (std::size_t way = 0; way < ways; ++way) {
    data[way] = slots_[first + way].data.load(std::memory_order_relaxed);
    check[way] = slots_[first + way].check.load(std::memory_order_relaxed);
  }
  std::size_t way = ways;
  for (std::size_t w = 0; w < ways; ++w)
    if (data[w] != 0 && (check[w] ^ data[w]) == key) way = w;
  if (way < ways) {
    const std::uint64_t old = data[way];
    if ((old & 0xff) == NoneWithin && (fresh & 0xff) == NoneWithin &&
        ((old >> 8) & 0xff) > ((fresh >> 8) & 0xff))
      return;  // a deeper failure says more
  } else {
    const bool deeperFirst = ((data[0] >> 16) & 0xff) > static_cast<std::uint64_t>(moves);
    way = ways == 2 && data[0] != 0 && deeperFirst ? 1 : 0;
    if (data[way] != 0) replacements.fetch_add(1, std::memory_order_relaxed);
  }
  Slot& slot = slots_[first + way];
  // The answer first: a reader between the two stores finds the key wrong.
  slot.data.store(fresh, std::memory_order_relaxed);
  slot.check.store(key ^ fresh, std::memory_order_relaxed);
  stores.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace kv
