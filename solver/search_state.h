// The solver's working memory: the move lists of every search level, the
// result lists the searches leave for the driver and the writer, the killers
// and the mode values of one solve. One instance per program (each test
// builds its own); it is allocated once and nothing in it is allocated
// during a search.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/goals.h"
#include "core/position.h"
#include "solver/help_fast.h"
#include "solver/result_table.h"
#include "solver/search_modes.h"
#include "solver/solve_options.h"

namespace kv {

class RootHelper;

// The most records a key, try, threat or refutation list holds; the list has
// one slot more for the end record. Each is drawn from one move list (White's
// moves or Black's replies of one position), so it can never need more: every
// key, mate and refutation a legal position has is listed.
inline constexpr int ListedRecords = MoveListCapacity;
// The records a variation list starts with; it grows when a first move has
// more (each reply times its continuations, too many to reserve for).
inline constexpr int InitialVariations = 100;
// Search levels the work area holds from the start: a direct mate in six,
// a helpmate, selfmate or reflexmate in five. A longer problem makes the
// lists grow (SearchState::EnsureLevels) before its search starts.
inline constexpr int InitialLevels = 6;
// Move lists in the work area of a state with `levels` levels: two per level
// (White's moves, Black's replies), the spare list under the lowest level and
// the reordering scratch list, which is also the lowest level's list.
constexpr int WorkListsFor(int levels) {
  return 2 * levels + 1;
}
inline constexpr int WorkLists = WorkListsFor(InitialLevels);

// The null move of the set play: all three squares 100 (an off-board cell),
// every man 8, so that playing and taking it back leave the board unchanged.
inline constexpr Move NullMove{100, 100, 100, OffBoard, OffBoard, OffBoard};

inline bool IsNullMove(const Move& move) {
  return move.from == 100;
}
inline bool SameSquares(const Move& a, const Move& b) {
  return a.from == b.from && a.to == b.to;
}
// Same from, to and placed man: how the writer and the threat filter compare moves.
inline bool SameMove(const Move& a, const Move& b) {
  return a.from == b.from && a.to == b.to && a.placed == b.placed;
}
inline bool IsPromotion(const Move& move) {
  return move.placed != move.moved;
}

// Keys, tries, threats: up to ListedRecords moves, ended by a record whose
// from is 0.
struct MoveRecords {
  std::array<Move, ListedRecords + 1> records{};

  bool Empty() const { return records[0].from == 0; }
  int Count() const {
    int n = 0;
    while (n < ListedRecords && records[n].from != 0) ++n;
    return n;
  }
  void Clear() { records[0].from = 0; }
};

// Refutations: a black reply and its mark ('2' when it checks the white king).
struct RefutationRecords {
  std::array<SolutionRecord, ListedRecords + 1> records{};

  bool Empty() const { return records[0].move.from == 0; }
  int Count() const {
    int n = 0;
    while (n < ListedRecords && records[n].move.from != 0) ++n;
    return n;
  }
  void Clear() { records[0].move.from = 0; }
};

// A variation: the black reply with its mark ('2' check, '3' ad lib) and
// White's continuation, whose mark byte is 0. The writer uses the two mark
// bytes (bytes 6 and 13 of the 14-byte pair) for its own tags.
struct VariationRecord {
  SolutionRecord reply{};
  SolutionRecord continuation{};
};
static_assert(sizeof(VariationRecord) == 14);

// The variations of one first move and the end record (reply.move.from 0).
// The records only grow (AnalyseMove appends, outside the searches' inner
// loops), so a list keeps the room its largest analysis needed and at least
// InitialVariations records can always be indexed.
struct VariationRecords {
  std::vector<VariationRecord> records = std::vector<VariationRecord>(InitialVariations);

  bool Empty() const { return records[0].reply.move.from == 0; }
  int Count() const {
    const int size = static_cast<int>(records.size());
    int n = 0;
    while (n < size && records[n].reply.move.from != 0) ++n;
    return n;
  }
  void Clear() { records[0].reply.move.from = 0; }
};

struct SearchState {
  SearchState() { EnsureLevels(InitialLevels); }

  // The work area. A level with k moves left uses LevelList(k) for White's
  // moves and the next list for Black's replies; the level below starts two
  // lists further on. The top level of the deepest search lies at work[0];
  // LevelList(1) is the reordering scratch list and also the mate-in-one
  // list under level 2; the last list is spare room.
  std::vector<MoveList> work;

  // TestMateMove's result for each move of a work list (0 quiet, 1 or 2
  // checks, 100 mate), kept per list so that reordering can use it; the
  // row after the work lists' takes the marks of a list outside the work
  // area.
  std::vector<std::array<std::uint8_t, MoveListCapacity + 1>> checkMarks;

  // Result lists by number of moves; use the accessors, which map the shared
  // numbers (TryList 1 = 2, RefutationList 0 and 1 = 2, VariationList 1 = 2).
  std::vector<MoveRecords> keyLists;
  std::vector<MoveRecords> tryLists;
  std::vector<MoveRecords> threatLists;
  std::vector<RefutationRecords> refutationLists;
  std::vector<VariationRecords> variationLists;

  // The copy of the changed-mates store that the writer's comparison works on.
  VariationRecords changedMatesCopy{};

  // Killers: the last black reply that refuted a white move at each level.
  // (The white killer of a level is the first record of its key list.)
  std::vector<Move> refutationKiller;
  // The last black mate in one found on the turned board (FindBlackMateInOne):
  // where the next scan starts.
  Move blackMateHint{};
  // A selfmate's killer before the last, tried at its last white move.
  Move selfSecondKiller{};

  // Helpmate memo: for positions reached after White's next-to-last move of
  // a helpmate, whether some black move then allows mate. Each entry is a
  // position key with the answer in its two low bits (0 empty, 1 yes, 2 no).
  // The answer depends on the position alone, so entries stay valid across
  // searches. Allocated with the state, never during a search.
  std::vector<std::uint64_t> helpMemo = std::vector<std::uint64_t>(std::size_t{1} << 19);

  // The fast helpmate search and its table: which positions lead to a
  // helpmate at all, asked before a black reply is searched. Its answers
  // depend on the position alone and stay valid across searches.
  HelpFast helpFast{HelpTable::Deferred{}};

  // The battle-play results of positions searched below the root; kept
  // between searches and solves, since each answer depends on the position
  // and the mode alone.
  ResultTable resultTable{DefaultResultTableSlots, ResultTable::Deferred{}};
  // The table the searches use when it is not their own: a helper thread's
  // state points at the main state's table.
  ResultTable* sharedTable = nullptr;
  // Threads of a key search: 1, or 2 for a helper thread that fills the
  // result table from the other end of the root's moves.
  int threads = 1;
  // The helper thread with its own state, made at its first use.
  std::shared_ptr<RootHelper> rootHelper;

  HelpMode helpMode = HelpMode::None;
  Goal goal = Goal::Mate;   // what the last move of the play must reach
  bool maximummer = false;  // Black plays only its longest legal moves
  SelfMode selfMode = SelfMode::None;
  int topMoves = 0;                             // number of moves of the top-level search
  OptionGroup optionGroup = OptionGroup::Play;  // the variation options in force
  int userBreak = 0;                            // set when the user asked to stop
  // Positions the searches reached (moves played by SearchMateInTwo and
  // SearchMateInN); the bench reports it as a signature of the search.
  std::uint64_t nodes = 0;

  MoveRecords& KeyList(int k) { return keyLists[k]; }
  MoveRecords& TryList(int k) { return tryLists[k <= 1 ? 2 : k]; }
  MoveRecords& ThreatList(int j) { return threatLists[j]; }
  RefutationRecords& RefutationList(int k) { return refutationLists[k <= 1 ? 2 : k]; }
  VariationRecords& VariationList(int k) { return variationLists[k <= 1 ? 2 : k]; }
  const MoveRecords& KeyList(int k) const { return keyLists[k]; }
  const MoveRecords& TryList(int k) const { return tryLists[k <= 1 ? 2 : k]; }
  const MoveRecords& ThreatList(int j) const { return threatLists[j]; }
  const RefutationRecords& RefutationList(int k) const { return refutationLists[k <= 1 ? 2 : k]; }
  const VariationRecords& VariationList(int k) const { return variationLists[k <= 1 ? 2 : k]; }

  // White's list of the level with k moves left (k = 1..Levels()); its
  // replies are LevelList(k) + 1, the level below LevelList(k) + 2.
  MoveList* LevelList(int k) { return &work[static_cast<std::size_t>(2 * (levels_ - k))]; }
  // The reordering scratch list and the spare list.
  MoveList& ScratchList() { return *LevelList(1); }
  MoveList& SpareList() { return work.back(); }

  // The deepest search the lists hold, in levels (a selfmate's or a
  // helpmate's extra white move counted).
  int Levels() const { return levels_; }
  // Makes room for a search `levels` deep: the work area, the marks and the
  // result lists grow and never shrink. The level lists move, so it must
  // not be called while a search runs; the result lists keep their contents.
  void EnsureLevels(int levels) {
    if (levels <= levels_ && !work.empty()) return;
    if (levels < levels_) levels = levels_;
    levels_ = levels;
    const auto lists = static_cast<std::size_t>(WorkListsFor(levels));
    work.assign(lists, MoveList{});
    checkMarks.assign(lists + 1, {});
    // Index k + 1 is read for a level's threat; the keys of a selfmate's
    // top level lie one above its stated length.
    const auto results = static_cast<std::size_t>(levels + 2);
    keyLists.resize(results);
    tryLists.resize(results);
    threatLists.resize(results);
    refutationLists.resize(results);
    variationLists.resize(results);
    refutationKiller.resize(results);
    helpFast.EnsureMoves(levels);
  }
  // Forgets every killer (a new solve starts without the last one's).
  void ClearKillers() {
    std::fill(refutationKiller.begin(), refutationKiller.end(), Move{});
    blackMateHint = Move{};
    selfSecondKiller = Move{};
  }

 private:
  int levels_ = 0;
};

}  // namespace kv
