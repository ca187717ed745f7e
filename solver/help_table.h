// The table of the fast helpmate search: for a position (men, castling
// rights, en passant, side to move) what is known about the helpmates from
// it. A helpmate within k white moves is also one within any larger k, and
// none within k means none within any smaller k, so each slot keeps the
// smallest number of moves proved enough and the largest proved too few.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "solver/zeroed_words.h"

namespace kv {

// The slots a search state allocates (16 bytes each).
inline constexpr std::size_t DefaultHelpTableSlots = std::size_t{1} << 20;

class HelpTable {
 public:
  // What the table knows of a position asked with `moves` white moves left.
  enum class Known { Nothing, Mate, NoMate, Illegal };

  explicit HelpTable(std::size_t slotCount = DefaultHelpTableSlots) { Resize(slotCount); }
  // A table of `slotCount` slots made at its first use (Make): a search
  // state that never walks a helpmate neither allocates nor touches it.
  struct Deferred {};
  HelpTable(std::size_t slotCount, Deferred) : wantedSlots_(slotCount) {}

  // Replaces the table by one of `slotCount` slots (rounded down to a power
  // of two, at least one; halved while the memory cannot be had). Not to be
  // called during a search.
  void Resize(std::size_t slotCount);
  void Clear();
  // Makes a deferred table; not during a walk, nor while a second thread
  // may use it.
  // `touchNow`: written at once, as the default table always is when
  // sized, for a walk that two threads may share (pages first touched by
  // two threads at once cost far more); else page by page as used, which
  // spares a short walk the writing of pages it never reaches.
  void Make(bool touchNow = true);
  bool Made() const { return slotCount_ != 0; }
  std::size_t Slots() const { return slotCount_; }

  Known Find(std::uint64_t key, int moves) const;
  // Records that the position has a helpmate within `moves` (mate true) or
  // none within `moves` (mate false).
  void Store(std::uint64_t key, int moves, bool mate);
  // Records that the move leading to the position was illegal.
  void StoreIllegal(std::uint64_t key);
  // A new search begins: the deepest answers of the searches before it
  // stay true but give way to its own. Not during a search.
  void BeginSearch() { generation_ = generation_ % MaxGeneration + 1; }

 private:
  // Two searches of one solve (the main thread's and a helper's) share the
  // table without a lock. A slot is two words: what is known, and the key
  // XOR it. A reader takes the slot only when they agree, so a slot torn
  // by two writers at once reads as empty; each writer writes only facts,
  // so whichever wins, what is read is true. Slot i is words 2i (known)
  // and 2i + 1 (check), each read and written atomically.
  // What is known, packed: mateWithin (0 not known) in bits 0-7, noneWithin
  // (0 nothing proved) in bits 8-15, illegal in bit 16; bit 17 marks a
  // used slot, so that no packed value is 0.
  static constexpr std::uint64_t Used = std::uint64_t{1} << 17;
  static constexpr std::uint64_t IllegalBit = std::uint64_t{1} << 16;
  // Bits 24-31: the search that wrote the answer (1..255), which only the
  // choice of a slot reads.
  static constexpr int GenerationShift = 24;
  static constexpr std::uint64_t MaxGeneration = 255;
  // Slots go in pairs, in one cache line: a key may stand in either slot
  // of its pair. The first keeps the deepest answer the pair has been
  // given, the second the newest: a long search writes far more answers
  // than the table holds, and an answer of many moves, found at great
  // cost near the search's first moves, is not to be pushed out by the
  // flood of answers of one or two moves from its last ones.
  static constexpr std::size_t PairSlots = 2;
  void Allocate(std::size_t slotCount, bool mayTouchNow);
  // The packed value of `key`'s slot (in `slot`), 0 when neither slot of
  // its pair holds it.
  std::uint64_t Read(std::uint64_t key, std::size_t& slot) const;
  void Write(std::size_t slot, std::uint64_t key, std::uint64_t known);
  std::size_t FirstSlotOf(std::uint64_t key) const {
    return static_cast<std::size_t>(key & (slotCount_ - 1)) & ~(PairSlots - 1);
  }
  // The slot a new answer of `known` for `key` goes to.
  std::size_t SlotForNew(std::uint64_t key, std::uint64_t known) const;
  std::atomic_ref<std::uint64_t> Word(std::size_t i) const { return std::atomic_ref(words_[i]); }

  mutable ZeroedWords words_;
  std::size_t slotCount_ = 0;    // 0 while deferred
  std::size_t wantedSlots_ = 0;  // the slots a deferred table is made with
  bool touched_ = false;         // every page written
  std::uint64_t generation_ = 1;
};

}  // namespace kv
