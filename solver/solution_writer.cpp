#include "solver/solution_writer.h"

#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "core/notation.h"
#include "core/rules.h"
#include "solver/changed_mates.h"
#include "solver/play_words.h"

namespace kv {
namespace {

constexpr std::array<const char*, 3> BlackPrefixes = {". ... ", "... ", ".- "};

bool HelpModeOn(const SearchContext& ctx) {
  return ctx.state.helpMode != HelpMode::None;
}

int Group(const Writer& w, Option option) {
  return w.ctx.options.Of(w.ctx.state.optionGroup, option);
}

// The start of a variation line at move number `l`: the indent, the number
// with the black-move prefix, and the reply.
void WriteReply(Writer& w, int l, const SolutionRecord& reply) {
  w.text.AppendText(std::string(3 * (l - 1), ' '));
  w.text.AppendText(std::to_string(l) + BlackMovePrefix(w));
  w.text.AppendText(MoveText(w, reply));
}

// A reply and White's answer as a line of the tree.
TreeLine PairLine(const Writer& w, const VariationRecord& record, bool mate = false) {
  TreeLine line;
  line.replies.push_back(TreeMoveOf(w, record.reply));
  line.answers.push_back(TreeMoveOf(w, record.continuation.move));  // written without its mark
  line.mate = mate;
  return line;
}

// The tree's name of what WriteThreat writes: an unparried threat of the
// selfmate and reflexmate modes is Black's forced mate (" ... ").
ThreatKind ThreatKindOf(int flags, bool selfMode) {
  if (flags & AnalysisCheck) return ThreatKind::Check;
  if (flags / AnalysisThreatUnit == 0) return ThreatKind::Waiting;
  if (flags & AnalysisParried) return ThreatKind::Threat;
  return selfMode ? ThreatKind::Forced : ThreatKind::Unparried;
}

// What stands between a reply and White's answer: the next move number, or
// in a helpmate two blanks.
void WriteAnswerNumber(Writer& w, int l) {
  w.text.AppendText(HelpModeOn(w.ctx) ? "  " : " " + std::to_string(l + 1) + ". ");
}

}  // namespace

int HelpShift(const SearchContext& ctx) {
  return WhiteBegins(ctx.state.helpMode) ? 1 : 0;
}

std::string BlackMovePrefix(const Writer& w) {
  if (HelpModeOn(w.ctx)) return ". ";
  const int style = w.ctx.options[Option::BlackMoveStyle];
  return BlackPrefixes[(style >= 0 && style <= 2) ? style : 0];
}

NotationContext NotationFor(const Writer& w) {
  NotationContext context = NotationContextFor(w.ctx.language, w.figurines);
  context.shortNotation = w.ctx.options[Option::ShortNotation] != 0;
  const int sign = w.ctx.options[Option::CaptureSign];
  context.captureSign = (sign >= 0 && sign <= 2) ? sign : 0;
  context.rankMirror = w.rankMirror;
  context.batchExport = w.batchExport;
  if (w.marks != nullptr)
    context.marks = std::span<const SolutionPair>(w.marks->table.data(), w.marks->tableSize + 1);
  return context;
}

std::string MoveText(const Writer& w, const SolutionRecord& record, int flags) {
  return MoveToText(w.ctx.pos.board, record, flags, NotationFor(w));
}

std::string MoveText(const Writer& w, const Move& move, int flags) {
  return MoveText(w, SolutionRecord{move, 0}, flags);
}

TreeMove TreeMoveOf(const Writer& w, const SolutionRecord& record) {
  TreeMove m = PlainTreeMove(record.move, w.rankMirror);
  m.text = MoveText(w, record);
  m.check = record.mark == CheckMark;
  m.anyMove = record.mark == AdLibMark;
  if (w.marks != nullptr) {
    // The letter the notation shows: a white mate is told apart by its from
    // square when a like man could reach the same square.
    if (!m.white) {
      m.letter = ReplyLetter(*w.marks, record.move);
    } else {
      const bool french = NotationFor(w).french;
      m.letter = MateLetter(*w.marks, record.move,
                            DisambiguationChar(w.ctx.pos.board, record.move, french) != 0);
    }
  }
  return m;
}

TreeMove TreeMoveOf(const Writer& w, const Move& move) {
  return TreeMoveOf(w, SolutionRecord{move, 0});
}

void WriteMovePair(Writer& w, int level, const VariationRecord& record) {
  const int l = level + HelpShift(w.ctx);
  WriteReply(w, l, record.reply);
  WriteAnswerNumber(w, l);
  w.text.AppendText(MoveText(w, record.continuation.move));
}

void WriteDeeperVariations(Writer& w, int level, int k, const VariationRecords& list,
                           bool allRefutations, bool needVariationsOption) {
  SearchContext& ctx = w.ctx;
  const int count = list.Count();
  for (int i = 0; i < count; ++i) {
    if (ctx.state.userBreak) return;
    const VariationRecord& record = list.records[i];
    w.text.NewLine();
    WriteMovePair(w, level, record);
    if (w.tree != nullptr) w.tree->OpenVariation(PairLine(w, record));
    MakeMove(ctx.pos, record.reply.move);
    MakeMove(ctx.pos, record.continuation.move);
    const int a = AnalyseMove(ctx, k - 1, record.continuation.move, allRefutations);
    WriteThreat(w, level + 1, a);
    if (k - 1 <= 2) {
      if (!needVariationsOption || Group(w, Option::Variations) != 0)
        WriteVariations(w, level + 1, ctx.state.VariationList(2));
    } else {
      const VariationRecords deeper = ctx.state.VariationList(k - 1);
      WriteDeeperVariations(w, level + 1, k - 1, deeper, allRefutations, needVariationsOption);
    }
    UnmakeMove(ctx.pos, record.continuation.move);
    UnmakeMove(ctx.pos, record.reply.move);
    if (w.tree != nullptr) w.tree->CloseLine();
  }
}

void WriteThreat(Writer& w, int level, int flags) {
  SearchContext& ctx = w.ctx;
  if (HelpModeOn(ctx) || flags <= 1) return;
  if (w.tree != nullptr)
    w.tree->Line().threat.kind = ThreatKindOf(flags, ctx.state.selfMode != SelfMode::None);
  if (flags & AnalysisCheck) {
    w.text.AppendText("+");
    return;
  }
  const int k = flags / AnalysisThreatUnit;
  if (k == 0) {
    w.text.AppendText(" " + MessagePart(ctx.language, 1));
    return;
  }
  // The analyses below overwrite the lists of lower levels; walk a copy.
  const MoveRecords threats = ctx.state.ThreatList(k + 1);
  const bool shortForm = ctx.options[Option::ShortNotation] != 0;
  const bool parried = (flags & AnalysisParried) != 0;
  const bool brackets = !threats.Empty() && shortForm && parried;
  if (brackets) w.text.AppendText(" [");
  int column = w.text.textColumn;
  auto header = [&]() {
    if (!parried) {
      w.text.AppendText(ctx.state.selfMode != SelfMode::None
                            ? std::string(" ... ")
                            : " ad lib " + std::to_string(level + 1) + ". ");
    } else if (shortForm) {
      w.text.AppendText(std::to_string(level + 1) + ". ");
    } else {
      w.text.AppendText(" " + MessagePart(ctx.language, 0) + " " + std::to_string(level + 1) +
                        ". ");
    }
  };
  const int count = threats.Count();
  for (int i = 0; i < count; ++i) {
    const Move& move = threats.records[i];
    if (i == 0) {
      column = w.text.textColumn;
      header();
    } else if (k == 1) {
      w.text.AppendText(", ");
    } else {
      w.text.NewLine();
      w.text.PadToColumn(column);
      header();
    }
    w.text.AppendText(MoveText(w, move));
    if (w.tree != nullptr) {
      TreeLine line;
      line.answers.push_back(TreeMoveOf(w, move));
      line.mate = k == 1;
      w.tree->OpenThreatMove(std::move(line));
    }
    if (k > 1) {
      MakeMove(ctx.pos, move);
      const int a = AnalyseMove(ctx, k, move, false);
      WriteThreat(w, level + 1, a);
      if (k == 2) {
        WriteVariations(w, level + 1, ctx.state.VariationList(2));
      } else {
        const VariationRecords list = ctx.state.VariationList(k);
        if (a & AnalysisParried) WriteDeeperVariations(w, level + 1, k, list, false, false);
      }
      UnmakeMove(ctx.pos, move);
    }
    if (w.tree != nullptr) w.tree->CloseLine();
  }
  if (k == 1) w.text.AppendText(GoalSign(ctx.state.goal));
  if (brackets) w.text.AppendText("]");
}

namespace {

// A further reply written on the line of the one before it: after a comma,
// or, for another move of the same man, as its destination after "/". A
// reply marked ad lib stands for any move of its man, so the man's further
// moves are not written.
void AppendJoinedReply(Writer& w, const SolutionRecord& reply, const Move& before, TreeLine* line) {
  if (reply.move.from != before.from) {
    w.text.AppendText(", " + MoveText(w, reply));
  } else if (reply.mark != AdLibMark) {
    w.text.AppendText("/" + MoveText(w, reply, 1));
  } else {
    return;
  }
  if (line != nullptr) line->replies.push_back(TreeMoveOf(w, reply));
}

// The special output of the changed-mates printing pass without variations:
// only the lettered pairs, in the order of their reply letters.
int WriteLetteredPairs(Writer& w, const VariationRecords& list, const std::vector<int>& dual) {
  const ChangedMatesStore& store = *w.marks;
  const int count = list.Count();
  std::vector<char> letters(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (dual[i] != 0) continue;
    const VariationRecord& r = list.records[i];
    const char reply = ReplyLetter(store, r.reply.move);
    if (reply == 0) continue;
    const bool needFrom = DisambiguationChar(w.ctx.pos.board, r.continuation.move, false) != 0;
    if (MateLetter(store, r.continuation.move, needFrom) == 0) continue;
    letters[i] = reply;
  }
  int written = 0;
  for (int letter = 'a'; letter < 'a' + ChangedLetterCount; ++letter) {
    for (int i = 0; i < count; ++i) {
      if (letters[i] != letter) continue;
      const VariationRecord& r = list.records[i];
      w.text.NewLine();
      // No mate sign: the letters end the line.
      w.text.AppendText("1..." + MoveText(w, r.reply) + " 2. " + MoveText(w, r.continuation.move));
      if (w.tree != nullptr) {
        w.tree->OpenVariation(PairLine(w, r, true));
        w.tree->CloseLine();
      }
      ++written;
    }
  }
  return written;
}

}  // namespace

namespace {

// The tags of a variation list: dual[i] = -(first + 1) for every record of
// a reply with several continuations; same[i] = first + 1 for the records
// answered by the same move; absorbed[i] for a dual group written on the
// line of an earlier one. (A list may hold more than a hundred records:
// sized by its count.)
struct VariationTags {
  explicit VariationTags(int count)
      : dual(static_cast<std::size_t>(count)),
        same(static_cast<std::size_t>(count)),
        absorbed(static_cast<std::size_t>(count)) {}
  std::vector<int> dual;
  std::vector<int> same;
  std::vector<bool> absorbed;
};

// Records with the same black reply stand together in the list.
void TagDuals(const VariationRecords& list, int count, VariationTags& tags) {
  for (int i = 0; i < count;) {
    int j = i + 1;
    while (j < count && SameMove(list.records[j].reply.move, list.records[i].reply.move)) ++j;
    if (j - i > 1)
      for (int m = i; m < j; ++m) tags.dual[m] = -(i + 1);
    i = j;
  }
}

// Untagged records answered by the same move form a group under the first;
// when some of the group's mates capture and some do not, the first mate is
// marked so that its capture sign is written "(x)".
void GroupSameContinuations(VariationRecords& list, int count, VariationTags& tags) {
  std::vector<int>& dual = tags.dual;
  std::vector<int>& same = tags.same;
  for (int i = 0; i < count; ++i) {
    if (dual[i] != 0 || same[i] != 0) continue;
    bool grouped = false;
    bool allCapture = list.records[i].continuation.move.captured != 0;
    bool anyCapture = allCapture;
    for (int j = i + 1; j < count; ++j) {
      if (dual[j] != 0 || same[j] != 0) continue;
      if (!SameMove(list.records[j].continuation.move, list.records[i].continuation.move)) continue;
      same[j] = i + 1;
      grouped = true;
      const bool capture = list.records[j].continuation.move.captured != 0;
      allCapture = allCapture && capture;
      anyCapture = anyCapture || capture;
    }
    if (grouped) same[i] = i + 1;
    if (anyCapture && !allCapture) list.records[i].continuation.move.captured = 100;
  }
}

// The further replies of a same-continuation group, on its first's line.
void AppendSameMateReplies(Writer& w, const VariationRecords& list, int count,
                           const VariationTags& tags, int first, TreeLine* line) {
  int previous = first;
  for (int j = first + 1; j < count; ++j) {
    if (tags.same[j] != first + 1) continue;
    AppendJoinedReply(w, list.records[j].reply, list.records[previous].reply.move, line);
    previous = j;
  }
}

// The records of the dual group that begins at `first`; later dual groups
// answered by the same continuations, one by one, join its line.
int JoinEqualDualGroups(Writer& w, const VariationRecords& list, int count, VariationTags& tags,
                        int first, TreeLine* line) {
  const std::vector<int>& dual = tags.dual;
  int groupSize = 1;
  while (first + groupSize < count && dual[first + groupSize] == dual[first]) ++groupSize;
  for (int g = first + groupSize; g < count;) {
    int size = 1;
    while (g + size < count && dual[g + size] == dual[g] && dual[g] != 0) ++size;
    if (dual[g] == -(g + 1) && !tags.absorbed[g] && size == groupSize) {
      bool equal = true;
      for (int m = 0; m < size && equal; ++m)
        equal = SameMove(list.records[g + m].continuation.move,
                         list.records[first + m].continuation.move);
      if (equal) {
        AppendJoinedReply(w, list.records[g].reply, list.records[first].reply.move, line);
        tags.absorbed[g] = true;
      }
    }
    g += size;
  }
  return groupSize;
}

// The further continuations of a dual: the destination after "/" for
// another move of the same man (not a promotion on another square), else
// ", " and the move.
void AppendDualContinuations(Writer& w, const VariationRecords& list, int first, int groupSize,
                             TreeLine* line) {
  for (int m = 1; m < groupSize; ++m) {
    const Move& next = list.records[first + m].continuation.move;
    const Move& before = list.records[first + m - 1].continuation.move;
    const bool sameMan = next.from == before.from && !(IsPromotion(next) && next.to != before.to);
    if (sameMan) {
      w.text.AppendText("/" + MoveText(w, next, 1));
    } else {
      w.text.AppendText(", " + MoveText(w, next));
    }
    if (line != nullptr) line->answers.push_back(TreeMoveOf(w, next));
  }
}

// One variation line: the reply with the replies that share its mate, the
// answer's number, White's continuation (a dual's further ones) and "#".
void WriteVariationLine(Writer& w, int l, const VariationRecords& list, int count,
                        VariationTags& tags, int i) {
  const VariationRecord& r = list.records[i];
  // The tree's line gathers the replies and answers as the text joins them.
  std::optional<TreeLine> line;
  if (w.tree != nullptr) line.emplace().replies.push_back(TreeMoveOf(w, r.reply));
  TreeLine* joined = line ? &*line : nullptr;
  w.text.NewLine();
  WriteReply(w, l, r.reply);
  if (tags.same[i] == i + 1) AppendSameMateReplies(w, list, count, tags, i, joined);
  const int groupSize =
      tags.dual[i] != 0 ? JoinEqualDualGroups(w, list, count, tags, i, joined) : 1;
  WriteAnswerNumber(w, l);
  w.text.AppendText(MoveText(w, r.continuation.move));
  if (line) line->answers.push_back(TreeMoveOf(w, r.continuation.move));
  AppendDualContinuations(w, list, i, groupSize, joined);
  w.text.AppendText(GoalSign(w.ctx.state.goal));
  if (line) {
    line->mate = true;
    w.tree->OpenVariation(std::move(*line));
    w.tree->CloseLine();
  }
}

}  // namespace

int WriteVariations(Writer& w, int level, VariationRecords list) {
  const int l = level + HelpShift(w.ctx);
  const int count = list.Count();
  VariationTags tags(count);
  TagDuals(list, count, tags);
  if (w.marks != nullptr && Group(w, Option::Variations) == 0)
    return WriteLetteredPairs(w, list, tags.dual);
  GroupSameContinuations(list, count, tags);
  int pairs = 0;
  for (int i = 0; i < count; ++i) {
    // Later members of a group are written on their first's line.
    if (tags.same[i] != 0 && tags.same[i] != i + 1) continue;
    if (tags.dual[i] != 0 && tags.dual[i] != -(i + 1)) continue;
    if (tags.absorbed[i]) continue;
    WriteVariationLine(w, l, list, count, tags, i);
    ++pairs;
  }
  return pairs;
}

void WriteRefutations(Writer& w, int flags, const RefutationRecords& refutations) {
  w.text.NewLine();
  // The move mates (it checks and Black has no legal reply) or stalemates
  // (no check, no reply): the goal at once, or the other ending.
  const Goal goal = w.ctx.state.goal;
  if (flags == AnalysisCheck)
    w.text.AppendText(goal == Goal::Mate ? GoalInOneText(w.ctx.language, goal)
                                         : OtherGoalText(w.ctx.language, goal));
  if (flags == 0)
    w.text.AppendText(goal == Goal::Stalemate ? GoalInOneText(w.ctx.language, goal)
                                              : OtherGoalText(w.ctx.language, goal));
  TreePlay* play = w.tree != nullptr ? w.tree->Play() : nullptr;
  if (play != nullptr) {
    play->refutationsShown = true;
    play->refutedByMate = flags == AnalysisCheck;
    play->stalemate = flags == 0;
  }
  const int count = refutations.Count();
  for (int i = 0; i < count; ++i) {
    if (i == 0) w.text.AppendText(" " + MessagePart(w.ctx.language, 2) + " 1" + BlackMovePrefix(w));
    w.text.AppendText(MoveText(w, refutations.records[i]) + "! ");
    if (play != nullptr) play->refutations.push_back(TreeMoveOf(w, refutations.records[i]));
  }
}

}  // namespace kv
