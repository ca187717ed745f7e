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

namespace {

constexpr int ChangedMark = 96;  // a reply whose mate changes
constexpr int LetterTag = 'A';   // a mate that gets a letter

// The working marks of the comparison: the reply mark and the mate tag of
// the store (a tag starts as the pair's phase), and the copy's own pair of
// values, which serves the transferred mates.
struct CompareMarks {
  std::array<int, ChangedStoreCapacity> mark{}, tag{}, copyMark{}, copyTag{};
};

// Changed mates: a reply stored again later (necessarily with another mate)
// marks both pairs.
void MarkChangedMates(const ChangedMatesStore& store, CompareMarks& m) {
  const auto& pairs = store.pairs;
  for (int i = 0; i < store.count; ++i) {
    if (m.mark[i] < 0) continue;
    for (int j = i + 1; j < store.count; ++j) {
      if (!SameMove(pairs[i].reply, pairs[j].reply)) continue;
      m.mark[i] = ChangedMark;
      m.tag[i] = LetterTag;
      m.tag[j] = LetterTag;
      m.mark[j] = -1;
    }
  }
}

// Transferred mates, on the copy: a mate that comes back in a later phase
// after another reply marks the pairs it passes between.
void MarkTransferredMates(const ChangedMatesStore& store, CompareMarks& m) {
  const auto& pairs = store.pairs;
  for (int i = 0; i < store.count; ++i) {
    if (m.copyTag[i] < 0) continue;
    int phase = m.copyTag[i];
    m.copyTag[i] = 0;
    for (int j = i + 1; j < store.count; ++j) {
      if (!SameMove(pairs[i].mate, pairs[j].mate)) continue;
      if (m.copyTag[j] > phase) {
        m.copyTag[i] = LetterTag;
        m.copyMark[i] = 'a';
        m.copyMark[j] = 'a';
        phase = m.copyTag[j];
      }
      m.copyTag[j] = -1;
    }
  }
}

struct Letters {
  std::array<char, ChangedStoreCapacity> reply{}, mate{};
};

// Walking the store: the marked replies get a, b, ... (further moves of the
// same man answered by the same mate share one letter) and the tagged mates
// A, B, ...; at most ChangedLetterCount of each.
Letters HandOutLetters(const ChangedMatesStore& store, CompareMarks& m) {
  const auto& pairs = store.pairs;
  const int n = store.count;
  Letters letters;
  std::array<bool, ChangedStoreCapacity> done{};
  int replies = 0;
  int mates = 0;
  for (int i = 0; i < n; ++i) {
    if (m.mark[i] == ChangedMark && !done[i]) {
      if (replies < ChangedLetterCount) {
        const char letter = static_cast<char>('a' + replies++);
        letters.reply[i] = letter;
        for (int j = i + 1; j < n && m.mark[j] == ChangedMark; ++j) {
          if (pairs[j].reply.from != pairs[i].reply.from ||
              pairs[j].reply.placed != pairs[i].reply.placed ||
              !SameMove(pairs[j].mate, pairs[i].mate))
            break;
          letters.reply[j] = letter;
          done[j] = true;
        }
      }
    } else if (m.mark[i] == 0 && m.copyMark[i] == 'a' && replies < ChangedLetterCount) {
      letters.reply[i] = static_cast<char>('a' + replies++);
    }
    if (m.tag[i] >= 0 && (m.tag[i] == LetterTag || m.copyTag[i] == LetterTag)) {
      if (mates < ChangedLetterCount) letters.mate[i] = static_cast<char>('A' + mates++);
      for (int j = i + 1; j < n; ++j)
        if (SameMove(pairs[j].mate, pairs[i].mate)) m.tag[j] = -2;
    }
  }
  return letters;
}

// The lettered replies and mates in two independent columns, and the table
// the move notation reads them from.
void RebuildTables(ChangedMatesStore& store, const Letters& letters) {
  const auto& pairs = store.pairs;
  store.replyCount = 0;
  store.mateCount = 0;
  for (int i = 0; i < store.count; ++i) {
    if (letters.reply[i] != 0)
      store.replies[store.replyCount++] = {pairs[i].reply, letters.reply[i]};
    if (letters.mate[i] != 0) store.mates[store.mateCount++] = {pairs[i].mate, letters.mate[i]};
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

}  // namespace

void ChangedMatesCompare(ChangedMatesStore& store, bool showChanged, bool showTransferred) {
  CompareMarks marks;
  for (int i = 0; i < store.count; ++i) marks.tag[i] = marks.copyTag[i] = store.pairs[i].phase;
  if (showChanged) MarkChangedMates(store, marks);
  if (showTransferred) MarkTransferredMates(store, marks);
  RebuildTables(store, HandOutLetters(store, marks));
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
