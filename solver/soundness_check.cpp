#include "solver/soundness_check.h"

#include <algorithm>
#include <memory>

#include "core/notation.h"
#include "core/rules.h"
#include "core/validation.h"
#include "solver/search.h"
#include "solver/series_search.h"
#include "solver/solve_options_logic.h"
#include "solver/twin_pass.h"
#include "solver/twins.h"

namespace kv {
namespace {

// What the check of one problem works with: its own position and options
// beside the caller's search state.
struct CheckWork {
  SearchState& st;
  const UiCallbacks& ui;
  Position pos{};
  SolveOptions options{};
  Language language{};
  NotationContext notation{};
  SearchContext ctx{pos, options, ui, language, st};

  CheckWork(SearchState& state, const UiCallbacks& callbacks) : st(state), ui(callbacks) {
    notation.shortNotation = false;  // long algebraic: Qc5-d4, unambiguous in a report
  }

  // A break seen by a search, or asked for since.
  bool Broken() {
    if (st.userBreak == 0 && ui.BreakRequested()) st.userBreak = 1;
    return st.userBreak != 0;
  }
  std::string Text(const Move& move) const { return MoveToText(pos.board, move, 0, notation); }
  // The series search's memory, made at the first series mover checked.
  std::unique_ptr<SeriesMemory> series;
};

// Every helpmate line below the analysis of level k, as the driver writes
// them: each black reply with White's answer, then the analysis of that
// answer one level lower, down to the mates. The list is copied because the
// analyses below reuse it.
void CollectHelpLines(CheckWork& w, int k, const std::string& prefix,
                      std::vector<std::string>& lines, Move* firstReply) {
  const VariationRecords pairs = w.st.VariationList(k);
  for (int i = 0; i < static_cast<int>(pairs.records.size()); ++i) {
    const Move reply = pairs.records[i].reply.move;
    const Move answer = pairs.records[i].continuation.move;
    if (reply.from == 0 || w.Broken()) return;
    if (firstReply != nullptr && firstReply->from == 0) *firstReply = reply;
    std::string text = prefix + w.Text(reply) + " ";
    MakeMove(w.pos, reply);
    text += w.Text(answer);
    MakeMove(w.pos, answer);
    if (k == 2) {
      lines.push_back(text);
    } else {
      AnalyseMove(w.ctx, k - 1, answer, true);
      CollectHelpLines(w, k - 1, text + " ", lines, nullptr);
    }
    UnmakeMove(w.pos, answer);
    UnmakeMove(w.pos, reply);
  }
}

// The lines that follow White's null move with k levels: the play of a
// helpmate in which Black begins, k - 1 moves long.
void CollectNullMoveLines(CheckWork& w, int k, std::vector<std::string>& lines, Move* first) {
  w.st.topMoves = k;
  MakeMove(w.pos, NullMove);
  if (AttackedByBlack(w.pos, w.pos.whiteKingSquare) == 0) {
    AnalyseMove(w.ctx, k, NullMove, true);
    CollectHelpLines(w, k, "", lines, first);
  }
  UnmakeMove(w.pos, NullMove);
}

// The key search at the root with n levels, as the driver runs it.
int SearchKeys(CheckWork& w, int n, TryLimit tryLimit) {
  SearchState& st = w.st;
  st.topMoves = n;
  st.KeyList(n).Clear();
  st.TryList(n).Clear();
  const int r = RootSearch(w.ctx, n, tryLimit);
  return r < 0 ? 0 : r;  // an illegal diagram, or a reflexmate White must mate at once
}

void CheckBlackBeginsHelpmate(CheckWork& w, int moves, PartOutcome& part, Move& key) {
  w.st.helpMode = HelpMode::BlackBegins;
  w.st.selfMode = SelfMode::None;
  w.st.EnsureLevels(moves + 1);
  w.st.helpFast.PrepareTable(moves, w.st.goal);
  // Shorter play first, as the driver writes it: any line there is a cook.
  for (int m = 2; m <= moves && !w.Broken(); ++m) {
    std::vector<std::string> shorter;
    CollectNullMoveLines(w, m, shorter, nullptr);
    part.shortSolutions += static_cast<int>(shorter.size());
  }
  if (w.Broken()) return;
  CollectNullMoveLines(w, moves + 1, part.keys, &key);
  part.movesFound = part.keys.empty() ? 0 : moves;
}

void CheckWhiteBeginsHelpmate(CheckWork& w, int moves, PartOutcome& part, Move& key) {
  SearchState& st = w.st;
  st.helpMode = HelpMode::WhiteBegins;
  st.selfMode = SelfMode::None;
  st.EnsureLevels(moves);
  st.helpFast.PrepareTable(moves, st.goal);
  const int r = SearchKeys(w, moves, EveryReply);
  part.movesFound = r;
  if (r != moves || w.Broken()) return;
  const MoveRecords keys = st.KeyList(moves);
  key = keys.records[0];
  for (int i = 0; i < ListedRecords && keys.records[i].from != 0 && !w.Broken(); ++i) {
    const Move first = keys.records[i];
    // A helpmate in half a move: White's goal move is the whole solution.
    if (moves == 1) {
      part.keys.push_back(w.Text(first));
      continue;
    }
    const std::string text = w.Text(first) + " ";
    MakeMove(w.pos, first);
    AnalyseMove(w.ctx, moves, first, true);  // every black reply that leads on
    CollectHelpLines(w, moves, text, part.keys, nullptr);
    UnmakeMove(w.pos, first);
  }
}

// Direct mates search the stipulated length; selfmates and reflexmates one
// white move more (Black's forced mate).
void CheckBattlePlay(CheckWork& w, const ProblemType& type, PartOutcome& part, Move& key) {
  SearchState& st = w.st;
  st.helpMode = HelpMode::None;
  st.selfMode = SelfModeOfKind(type.kind);
  const int extra = st.selfMode != SelfMode::None ? 1 : 0;
  const int n = type.moves + extra;
  st.EnsureLevels(n);
  const int r = SearchKeys(w, n, NoTries);
  if (w.Broken()) return;
  part.movesFound = r == 0 ? 0 : std::max(1, r - extra);
  const MoveRecords& keys = st.KeyList(r == 0 ? n : r);
  for (int i = 0; r != 0 && i < ListedRecords && keys.records[i].from != 0; ++i)
    part.keys.push_back(w.Text(keys.records[i]));
  if (r != 0) key = keys.records[0];
}

// A series mover: every solution counts, as a helpmate's do, and one
// shorter than stated is a short solution. The side that does not play the
// series may not stand in check; the series side answers its check.
void CheckSeries(CheckWork& w, const ProblemType& type, PartOutcome& part, Move& key) {
  const SeriesRules rules = SeriesRulesOf(type);
  part.helpmate = true;
  const PositionFinding finding = JudgePosition(w.pos, BlackPlaysSeries(rules));
  if (IsInvalidFinding(finding.code)) {
    part.invalidText = FindingText(finding, &w.language);
    return;
  }
  if (!w.series) w.series = std::make_unique<SeriesMemory>();
  const SeriesResult result = SearchSeries(w.pos, rules, type.moves, *w.series, &w.ui);
  if (result.broken) w.st.userBreak = 1;
  part.movesFound = result.length;
  for (const SeriesSolution& solution : result.solutions) {
    std::string line;
    for (const Move& m : solution.series) {
      line += (line.empty() ? "" : " ") + w.Text(m);
      MakeMove(w.pos, m);
    }
    for (std::size_t i = 0; i < solution.finals.size(); ++i)
      line += (i == 0 ? " " : ", ") + w.Text(solution.finals[i]);
    for (std::size_t i = solution.series.size(); i-- > 0;) UnmakeMove(w.pos, solution.series[i]);
    part.keys.push_back(line);
  }
  if (!result.solutions.empty()) key = result.solutions.front().series.front();
}

// One part: the position is judged as the driver judges it, then searched.
PartOutcome CheckPart(CheckWork& w, const ProblemType& type, Move& key) {
  PartOutcome part;
  key = Move{};
  part.helpmate = type.kind == KindHelp;
  part.stalemate = (type.flags & FlagStalemate) != 0;
  part.movesAsked = type.moves;
  part.solvable = CanSolve(type);
  if (!part.solvable) return part;
  if (type.flags & FlagSeries) {
    w.st.userBreak = 0;
    CheckSeries(w, type, part, key);
    part.broken = w.Broken();
    return part;
  }
  const bool whiteBegins = (type.flags & FlagWhiteBegins) != 0;
  const PositionFinding finding =
      JudgePosition(w.pos, part.helpmate && !whiteBegins, (type.flags & FlagSeries) != 0);
  if (IsInvalidFinding(finding.code)) {
    part.invalidText = FindingText(finding, &w.language);
    return part;
  }
  w.options = SolveOptions{};
  SwitchOptionsToKind(w.options, type.kind);
  w.st.userBreak = 0;
  w.st.goal = (type.flags & FlagStalemate) ? Goal::Stalemate : Goal::Mate;
  w.st.maximummer = (type.flags & FlagMaximum) != 0;
  if (part.helpmate && whiteBegins) {
    CheckWhiteBeginsHelpmate(w, type.moves, part, key);
  } else if (part.helpmate) {
    CheckBlackBeginsHelpmate(w, type.moves, part, key);
  } else {
    CheckBattlePlay(w, type, part, key);
  }
  part.broken = w.Broken();
  return part;
}

}  // namespace

SoundnessResult CheckSoundness(SearchState& state, const SoundnessInput& input,
                               const UiCallbacks& ui, const std::function<bool()>& timedOut) {
  CheckWork w(state, ui);
  w.pos.board = input.board;
  SoundnessResult result;
  // Each part as the twin pass yields it, as the driver solves it: combined
  // entries make one part; "after the key" plays the first key of the part
  // before.
  Move key{};
  TwinPass pass(input.twins, input.board, input.type, w.language);
  TwinStep step;
  const bool twins = TwinCount(input.twins) > 0;
  while (pass.Next(key, step)) {
    w.pos.board = step.board;
    result.parts.push_back(CheckPart(w, step.type, key));
    if (twins) result.partNames.push_back(std::string(1, TwinLetter(step.letter)) + ")");
    if (w.Broken()) break;
  }
  if (timedOut && timedOut())
    for (PartOutcome& part : result.parts) part.timedOut = part.broken;
  result.verdict = JudgeProblem(result.parts, result.partNames, input.statedSolutions);
  return result;
}

}  // namespace kv
