// The table of the fast helpmate search: for a position (men, castling
// rights, en passant, side to move) what is known about the helpmates from
// it. A helpmate within k white moves is also one within any larger k, and
// none within k means none within any smaller k, so each slot keeps the
// smallest number of moves proved enough and the largest proved too few.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

// The slots a search state allocates (16 bytes each).
inline constexpr std::size_t DefaultHelpTableSlots = std::size_t{1} << 20;

class HelpTable {
 public:
  // What the table knows of a position asked with `moves` white moves left.
  enum class Known { Nothing, Mate, NoMate, Illegal };

  explicit HelpTable(std::size_t slotCount = DefaultHelpTableSlots) { Resize(slotCount); }

  // Replaces the table by one of `slotCount` slots (rounded down to a power
  // of two, at least one). Not to be called during a search.
  void Resize(std::size_t slotCount);
  void Clear();
  std::size_t Slots() const { return slots_.size(); }

  Known Find(std::uint64_t key, int moves) const;
  // Records that the position has a helpmate within `moves` (mate true) or
  // none within `moves` (mate false).
  void Store(std::uint64_t key, int moves, bool mate);
  // Records that the move leading to the position was illegal.
  void StoreIllegal(std::uint64_t key);

  std::uint64_t hits = 0;
  std::uint64_t stores = 0;

 private:
  // mateWithin 0 means not known; noneWithin 0 means nothing proved.
  struct Slot {
    std::uint64_t key = 0;
    std::uint8_t mateWithin = 0;
    std::uint8_t noneWithin = 0;
    std::uint8_t illegal = 0;
  };
  Slot& SlotOf(std::uint64_t key) { return slots_[key & (slots_.size() - 1)]; }
  const Slot& SlotOf(std::uint64_t key) const { return slots_[key & (slots_.size() - 1)]; }

  std::vector<Slot> slots_;
};

}  // namespace kv
