#include "solver/changed_mates.h"

#include <algorithm>

#include "core/notation.h"
#include "core/rules.h"
#include "solver/solution_writer.h"

namespace kv {
namespace {

bool SameMate(const Move& a, const Move& b, bool compareFrom) {
  return a.to == b.to && a.placed == b.placed && (!compareFrom || a.from == b.from);
}

}  // namespace

void ChangedMatesClear(ChangedMatesStore& store) {
  store.count = 0;
  store.phaseCounter = 0;
  store.replyCount = 0;
  store.mateCount = 0;
}

void ChangedMatesAdd(Writer& w, ChangedMatesStore& store, const VariationRecords& list) {
  Position& pos = w.ctx.pos;
  const int count = list.Count();
  for (int i = 0; i < count; ++i) {
    const VariationRecord& r = list.records[i];
    const bool dualBefore = i > 0 && SameMove(list.records[i - 1].reply.move, r.reply.move);
    const bool dualAfter = i + 1 < count && SameMove(list.records[i + 1].reply.move, r.reply.move);
    if (dualBefore || dualAfter) continue;
    // A mate by one of two like men is told apart by its from square.
    MakeMove(pos, r.reply.move);
    const bool needFrom = DisambiguationChar(pos.board, r.continuation.move, false) != 0;
    UnmakeMove(pos, r.reply.move);
    bool stored = false;
    for (int p = 0; p < store.count && !stored; ++p) {
      stored = SameMove(store.pairs[p].reply, r.reply.move) &&
               SameMate(store.pairs[p].mate, r.continuation.move, needFrom);
    }
    if (stored || store.count >= ChangedStoreCapacity) continue;
    store.pairs[store.count++] = {r.reply.move, r.continuation.move, store.phaseCounter};
  }
  ++store.phaseCounter;
}

void ChangedMatesCompare(ChangedMatesStore& store, bool showChanged, bool showTransferred) {
  const int n = store.count;
  constexpr int Changed = 96;
  constexpr int Letter = 'A';
  // mark/tag: the reply mark and the mate tag of the store; the copy's own
  // pair of values serves the transferred mates.
  std::array<int, ChangedStoreCapacity> mark{}, tag{}, copyMark{}, copyTag{};
  for (int i = 0; i < n; ++i) tag[i] = copyTag[i] = store.pairs[i].phase;
  const auto& pairs = store.pairs;

  if (showChanged) {
    for (int i = 0; i < n; ++i) {
      if (mark[i] < 0) continue;
      for (int j = i + 1; j < n; ++j) {
        if (!SameMove(pairs[i].reply, pairs[j].reply)) continue;
        mark[i] = Changed;
        tag[i] = Letter;
        tag[j] = Letter;
        mark[j] = -1;
      }
    }
  }
  if (showTransferred) {
    for (int i = 0; i < n; ++i) {
      if (copyTag[i] < 0) continue;
      int phase = copyTag[i];
      copyTag[i] = 0;
      for (int j = i + 1; j < n; ++j) {
        if (!SameMove(pairs[i].mate, pairs[j].mate)) continue;
        if (copyTag[j] > phase) {
          copyTag[i] = Letter;
          copyMark[i] = 'a';
          copyMark[j] = 'a';
          phase = copyTag[j];
        }
        copyTag[j] = -1;
      }
    }
  }

  std::array<char, ChangedStoreCapacity> replyLetter{}, mateLetter{};
  std::array<bool, ChangedStoreCapacity> done{};
  int replies = 0;
  int mates = 0;
  for (int i = 0; i < n; ++i) {
    if (mark[i] == Changed && !done[i]) {
      if (replies < ChangedLetterCount) {
        const char letter = static_cast<char>('a' + replies++);
        replyLetter[i] = letter;
        // Further moves of the same man answered by the same mate share it.
        for (int j = i + 1; j < n && mark[j] == Changed; ++j) {
          if (pairs[j].reply.from != pairs[i].reply.from ||
              pairs[j].reply.placed != pairs[i].reply.placed ||
              !SameMove(pairs[j].mate, pairs[i].mate))
            break;
          replyLetter[j] = letter;
          done[j] = true;
        }
      }
    } else if (mark[i] == 0 && copyMark[i] == 'a' && replies < ChangedLetterCount) {
      replyLetter[i] = static_cast<char>('a' + replies++);
    }
    if (tag[i] >= 0 && (tag[i] == Letter || copyTag[i] == Letter)) {
      if (mates < ChangedLetterCount) mateLetter[i] = static_cast<char>('A' + mates++);
      for (int j = i + 1; j < n; ++j)
        if (SameMove(pairs[j].mate, pairs[i].mate)) tag[j] = -2;
    }
  }

  store.replyCount = 0;
  store.mateCount = 0;
  for (int i = 0; i < n; ++i) {
    if (replyLetter[i] != 0) store.replies[store.replyCount++] = {pairs[i].reply, replyLetter[i]};
    if (mateLetter[i] != 0) store.mates[store.mateCount++] = {pairs[i].mate, mateLetter[i]};
  }
  Move nothing{};
  nothing.from = nothing.to = 30;
  store.tableSize = std::max(store.replyCount, store.mateCount);
  for (int i = 0; i < store.tableSize; ++i) {
    SolutionPair& pair = store.table[i];
    pair.first = i < store.replyCount
                     ? SolutionRecord{store.replies[i].move, store.replies[i].letter}
                     : SolutionRecord{nothing, 0};
    pair.second = i < store.mateCount ? SolutionRecord{store.mates[i].move, store.mates[i].letter}
                                      : SolutionRecord{nothing, 0};
  }
  store.table[store.tableSize] = SolutionPair{};
}

char ReplyLetter(const ChangedMatesStore& store, const Move& reply) {
  for (int i = 0; i < store.replyCount; ++i)
    if (SameMove(store.replies[i].move, reply)) return store.replies[i].letter;
  return 0;
}

char MateLetter(const ChangedMatesStore& store, const Move& mate, bool compareFrom) {
  for (int i = 0; i < store.mateCount; ++i)
    if (SameMate(store.mates[i].move, mate, compareFrom)) return store.mates[i].letter;
  return 0;
}

}  // namespace kv
