// The writers of the solution text: a black reply with White's answer, the
// threat of a white move, the final variations, the refutations, and the walk
// over deeper variations. They read the lists the searches leave in the
// SearchState and append to the SolutionText.
#pragma once

#include <array>
#include <string>

#include "core/notation.h"
#include "solver/search.h"
#include "solver/solution_text.h"
#include "solver/solution_tree.h"

namespace kv {

struct ChangedMatesStore;

// What the writers work on during one solve.
struct Writer {
  SearchContext& ctx;
  SolutionText& text;
  // Set during the printing pass of the changed-mates display: moves found in
  // its tables are followed by their letter, and without variations
  // WriteVariations writes only the lettered pairs.
  const ChangedMatesStore* marks = nullptr;
  // Set while a twin that mirrors the ranks (duplex) is solved.
  bool rankMirror = false;
  // Set while a batch export over the problem list runs: English letters.
  bool batchExport = false;
  // Figurine notation (the display option of the text panes).
  bool figurines = false;
  // Set when the caller wants the solution as data too: the writers fill it
  // beside the text.
  SolutionTreeBuilder* tree = nullptr;
};

// The text of one move: `record` is a move and its mark byte ('2' check,
// '3' any move of that man). flags: 1 the continuation form (destination
// only, after "/"), 2 the plain letters.
std::string MoveText(const Writer& w, const SolutionRecord& record, int flags = 0);
std::string MoveText(const Writer& w, const Move& move, int flags = 0);

// A move of the tree: its text as MoveText writes it (full form), its plain
// fields and its changed-mates letter.
TreeMove TreeMoveOf(const Writer& w, const SolutionRecord& record);
TreeMove TreeMoveOf(const Writer& w, const Move& move);

// The notation options of the writer: the solving options' notation values,
// the language's letters, the changed-mates letters while they are shown.
NotationContext NotationFor(const Writer& w);

// The text written after the number of a black move: ". ... ", "... " or
// ".- " by blackMoveStyle; ". " in the helpmate modes.
std::string BlackMovePrefix(const Writer& w);

// A black reply and White's answer, on a line already begun.
void WriteMovePair(Writer& w, int level, const VariationRecord& record);

// The part of a line after a white move that tells its threat; `flags` are
// AnalyseMove's result for that move.
void WriteThreat(Writer& w, int level, int flags);

// The final variations of `list` (a copy; the writer tags records in it).
// Returns the number of reply-and-mate pairs written.
int WriteVariations(Writer& w, int level, VariationRecords list);

// The refutation line of a try, a tested move or the set play: " Mate in 1"
// or "But Draw!" by the analysis flags, then "But 1. ... x! y! ".
void WriteRefutations(Writer& w, int flags, const RefutationRecords& refutations);

// The variations of a first move with k moves left, one line per black
// reply, each followed by the analysis of White's answer, down to the last
// level. `allRefutations` is passed to the analyses; with
// `needVariationsOption` the last level is written only when the option
// group's variations value is set.
void WriteDeeperVariations(Writer& w, int level, int k, const VariationRecords& list,
                           bool allRefutations, bool needVariationsOption);

// "%d. " in the helpmate modes where the numbers shift by one.
int HelpShift(const SearchContext& ctx);

}  // namespace kv
