#include "solver/series_solve.h"

#include <chrono>

#include "core/validation.h"
#include "solver/series_writer.h"
#include "solver/solve_driver.h"

namespace kv {
namespace {

// Positions of the words among the message parts.
constexpr int WordNoSolution = 9;
constexpr int WordSearching = 10;
constexpr int WordUserBreak = 13;

// Derives the position's state and judges it for the side that plays the
// series: the side that does not move first may not stand in check (the
// series side could take its king), which has a message of its own; the
// series side may, and answers the check with its first move. 0 when the
// solve may go on.
int ValidateSeries(SolveEnvironment& env, const SeriesRules& rules) {
  ValidationContext context;
  context.blackMovesFirst = BlackPlaysSeries(rules);
  context.series = true;
  // With Black to move a black king in check is Black's to answer; with
  // White to move it is refused (as with the actual play of a direct mate).
  context.tryRefutations = 0;
  context.actualPlay = BlackPlaysSeries(rules) ? 0 : 1;
  context.messageDisplay = !env.batch;
  context.ui = &env.ui;
  context.language = &env.language;
  return ValidatePosition(env.pos, context);
}

bool BoardIsEmpty(const Position& pos) {
  for (int square = FirstSquare; square <= LastSquare; ++square)
    if (pos.board[square] > Empty && pos.board[square] != OffBoard) return false;
  return true;
}

// The notes over the lines and the lines, with the run's entry of the tree.
void WriteResult(Solver& s, SolveEnvironment& env, const SeriesRules& rules,
                 const SeriesResult& result, int moves, std::uint64_t milliseconds) {
  SearchContext ctx{env.pos, env.options, env.ui, env.language, s.search};
  Writer w{ctx, s.text, nullptr, s.duplexTwin, env.batch, env.figurines, s.tree};
  if (s.tree != nullptr) {
    TreeRun& run = s.tree->BeginRun();
    run.series = 1 + static_cast<int>(rules.family);
    run.stalemate = rules.stalemate;
    run.maximummer = rules.maximum;
    run.searched = true;
    run.searchMilliseconds = milliseconds;
    run.userBreak = result.broken;
    run.noSolution = result.length == 0;
    run.shortMate = result.length > 0 && result.length < moves;
    run.keyCount = result.count >= 2 ? static_cast<int>(result.count) : 0;
  }
  if (result.broken) s.text.AppendText("\r\n" + MessagePart(env.language, WordUserBreak));
  if (result.length == 0) s.text.AppendText("\r\n" + MessagePart(env.language, WordNoSolution));
  WriteSeriesSolutions(w, rules, result, moves);
}

}  // namespace

bool CanSolveSeries(const ProblemType& type) {
  return type.kind <= KindReflex && type.moves >= 1 && (type.flags & FlagWhiteBegins) == 0;
}

void SolveSeries(Solver& s, SolveEnvironment& env, int n) {
  if (!s.series) s.series = std::make_shared<SeriesSolves>();
  SeriesSolves& series = *s.series;
  SearchState& st = s.search;
  // The driver's twin walk takes "the key" from these when they are set.
  st.helpMode = HelpMode::None;
  st.selfMode = SelfMode::None;
  st.topMoves = 0;
  if (n == SolveRefresh) {
    // A refresh: the last solve's lines again, with the options of now.
    if (series.haveLast)
      WriteResult(s, env, series.lastRules, series.lastResult, series.lastMoves,
                  series.lastMilliseconds);
    return;
  }
  const SeriesRules rules = SeriesRulesOf(env.type);
  s.positionInvalid = ValidateSeries(env, rules) != 0;
  if (s.positionInvalid) {
    s.stop = BoardIsEmpty(env.pos) ? SolveStop::EmptyBoard : SolveStop::InvalidPosition;
    return;
  }
  st.userBreak = 0;
  env.ui.Status(4, " " + MessagePart(env.language, WordSearching) + "...");
  const auto start = std::chrono::steady_clock::now();
  SeriesResult result = SearchSeries(env.pos, rules, n, series.memory, &env.ui, st.threads);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  s.elapsedMilliseconds = static_cast<std::uint64_t>(elapsed.count());
  st.nodes += result.nodes;
  env.ui.Status(4, SearchCompletedText(env.language, s.elapsedMilliseconds));
  if (result.broken) s.stop = SolveStop::UserBreak;
  WriteResult(s, env, rules, result, n, s.elapsedMilliseconds);
  // "After the key" of a later twin plays the first move of the first
  // solution.
  s.twinKey = result.solutions.empty() ? Move{} : result.solutions.front().series.front();
  s.solutionStale = false;
  series.haveLast = true;
  series.lastRules = rules;
  series.lastMoves = n;
  series.lastMilliseconds = s.elapsedMilliseconds;
  series.lastResult = std::move(result);
}

}  // namespace kv
