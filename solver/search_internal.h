// Helpers shared by the search files: list walking, bounded appends to the
// result lists and the status texts of the top level.
#pragma once

#include <cstddef>
#include <cstdint>

#include "solver/search.h"

namespace kv::search_detail {

// Number of moves before the end record (never more than the list holds).
inline int ListLength(const MoveList& list) {
  int n = 0;
  while (n < MoveListCapacity && list.moves[n].from != 0) ++n;
  return n;
}

// Index of the first move with the same from and to as `wanted`, or 0 when
// there is none (the scan then starts at the beginning).
inline int StartIndex(const MoveList& list, int length, const Move& wanted) {
  if (wanted.from == 0) return 0;
  for (int i = 0; i < length; ++i)
    if (SameSquares(list.moves[i], wanted)) return i;
  return 0;
}

// The check marks of a list: its own row when it lies in the work area.
inline std::uint8_t* CheckMarksOf(SearchState& state, const MoveList* list) {
  const auto index = list - state.work.data();
  const auto lists = static_cast<std::ptrdiff_t>(state.work.size());
  if (index >= 0 && index < lists) return state.checkMarks[static_cast<std::size_t>(index)].data();
  return state.checkMarks[static_cast<std::size_t>(lists)].data();
}

// Appends a record. A key, try or refutation list has room for every move of
// the move list it is drawn from; the bound only guards against a caller
// that appends one move twice.
inline void Append(MoveRecords& list, int& count, const Move& move) {
  if (count < ListedRecords) list.records[count++] = move;
}
inline void Close(MoveRecords& list, int count) {
  list.records[count].from = 0;
}

inline void Append(RefutationRecords& list, int& count, const Move& move, int mark) {
  if (count < ListedRecords) {
    list.records[count].move = move;
    list.records[count].mark = static_cast<std::int8_t>(mark);
    ++count;
  }
}
inline void Close(RefutationRecords& list, int count) {
  list.records[count].move.from = 0;
}

inline void Append(VariationRecords& list, int& count, const Move& reply, int mark,
                   const Move& continuation) {
  // One record more than the count is needed for the end record.
  if (static_cast<std::size_t>(count) + 1 >= list.records.size())
    list.records.resize(list.records.size() * 2);
  VariationRecord& record = list.records[count++];
  record.reply.move = reply;
  record.reply.mark = static_cast<std::int8_t>(mark);
  record.continuation.move = continuation;
  record.continuation.mark = 0;
}
inline void Close(VariationRecords& list, int count) {
  list.records[count].reply.move.from = 0;
}

// How many refuting replies a search below the root may meet: a helpmate's
// move succeeds when any reply leads on, so every reply is examined; battle
// play gives a white move up at its first refutation.
inline TryLimit SearchLimit(const SearchState& state) {
  return state.helpMode != HelpMode::None ? EveryReply : NoTries;
}

// What the rules of the play add to a position's key: nothing for a mate
// without a maximummer, so that the keys of the mate searches stay as they
// were; one number each for the stalemate goal and the maximummer, so that
// the answers of another play never meet.
inline std::uint64_t RulesKey(const SearchState& state) {
  std::uint64_t key = 0;
  if (state.goal == Goal::Stalemate) key ^= 0x9B05688C2B3E6C1Full;
  if (state.maximummer) key ^= 0x1F83D9ABFB41BD6Bull;
  return key;
}

// The helpmate memo slot of a key whose two low bits are clear (they hold
// the answer); the slot is chosen by the bits above them.
inline std::uint64_t& MemoSlot(SearchState& state, std::uint64_t key) {
  return state.helpMemo[(key >> 2) & (state.helpMemo.size() - 1)];
}
// The answer a slot holds for `key` (1 solved, 2 not solved, 3 illegal); 0
// when it holds nothing or another position.
inline int MemoAnswer(std::uint64_t slot, std::uint64_t key) {
  return (slot & ~std::uint64_t{3}) == key ? static_cast<int>(slot & 3) : 0;
}

// A direct, selfmate or reflexmate search `moves` deep (2..6) below the
// root, without tries, answered from the result table when it can be. When
// `listWanted`, `list` is left as the search leaves it when it finds nothing
// (White's moves with their check marks, in the search's order), since the
// caller goes on with it.
// The result table's key of the position with White to move after Black's
// move lastFrom-lastTo: the men, castling rights, en passant and the mode.
std::uint64_t ResultKey(const Position& pos, SelfMode selfMode, int lastFrom, int lastTo);
// The same with the goal and the maximummer of the state's play.
std::uint64_t ResultKey(const SearchState& state, const Position& pos, int lastFrom, int lastTo);

int SearchBelow(SearchContext& ctx, int moves, int lastFrom, int lastTo, MoveList* list,
                bool listWanted);

// Status part `part`: `prefix` followed by the move in plain letters.
void ShowMoveStatus(SearchContext& ctx, int part, const char* prefix, const Move& move);
// Status part `part`: " %s " with the message part `word`, then the move.
void ShowWordMoveStatus(SearchContext& ctx, int part, int word, const Move& move);
// The same for a move already played (its text is read before it).
void ShowPlayedMoveStatus(SearchContext& ctx, int part, int word, const Move& move);

}  // namespace kv::search_detail

namespace kv::search_detail {

// The count of Black's replies to one white move: legal replies, replies
// after which White succeeds, and the try limit with the promotion rule.
struct ReplyCount {
  int legal = 0;
  int solved = 0;

  // Counts a reply whose lower search gave `result` (below 0: illegal; 0:
  // White fails; above 0: White succeeds). Returns true when the reply scan
  // may stop: the replies that refute already exceed the limit.
  bool Add(int result, const Move& reply, Move& killer, TryLimit limit) {
    if (result >= 0) ++legal;
    if (result > 0) ++solved;
    if (limit.ListsTries()) {
      // The promotions of one pawn to different men refute as one.
      if (limit.ExceededBy(legal - solved) && reply.from == killer.from && IsPromotion(reply) &&
          IsPromotion(killer))
        --legal;
      if (result == 0) killer = reply;
    }
    if (limit.ExceededBy(legal - solved)) {
      killer = reply;
      return true;
    }
    return false;
  }
};

}  // namespace kv::search_detail
