// The display of changed and transferred mates of a two-mover. A first pass
// collects every reply that has exactly one mate, with the phase it came
// from (set play, each try, each key); the comparison then letters the
// replies whose mate changes between phases (a, b, ...) and the mates that
// pass from one reply to another (A, B, ...); the printing pass shows those
// letters after the moves.
#pragma once

#include <array>

#include "solver/search_state.h"

namespace kv {

struct Writer;

// At most this many pairs are collected (the rest of a large solution is
// not compared), and at most 26 letters of each case are handed out, so
// every lettered pair is printed and no letter goes beyond 'z' or 'Z'.
inline constexpr int ChangedStoreCapacity = 99;
inline constexpr int ChangedLetterCount = 26;

struct LetteredMove {
  Move move{};
  char letter = 0;
};

struct ChangedMatesStore {
  struct Pair {
    Move reply{};
    Move mate{};
    int phase = 0;
  };
  std::array<Pair, ChangedStoreCapacity> pairs{};
  int count = 0;
  int phaseCounter = 0;  // one step per first move analysed

  // The result of the comparison: the lettered replies and mates.
  std::array<LetteredMove, ChangedStoreCapacity> replies{};
  int replyCount = 0;
  std::array<LetteredMove, ChangedStoreCapacity> mates{};
  int mateCount = 0;
  // The same letters as the move notation reads them: the n-th lettered
  // reply in the first half of pair n, the n-th lettered mate in its second
  // half; a half without an entry has 30 (an off-board cell) in its squares
  // so that it matches no move and does not end the table.
  std::array<SolutionPair, ChangedStoreCapacity + 1> table{};
  int tableSize = 0;
};

// Mode 0: empties the store.
void ChangedMatesClear(ChangedMatesStore& store);
// Mode 1: adds the single-mate replies of one first move (the move is on the
// board) and counts the phase.
void ChangedMatesAdd(Writer& w, ChangedMatesStore& store, const VariationRecords& list);
// Mode 2: compares and letters. showChanged / showTransferred select the two
// kinds of marks.
void ChangedMatesCompare(ChangedMatesStore& store, bool showChanged, bool showTransferred);

// The letter of a black reply or a white mate in the tables, or 0.
char ReplyLetter(const ChangedMatesStore& store, const Move& reply);
char MateLetter(const ChangedMatesStore& store, const Move& mate, bool compareFrom);

}  // namespace kv
