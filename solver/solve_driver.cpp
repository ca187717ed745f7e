#include "solver/solve_driver.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "core/rules.h"
#include "core/tables.h"
#include "core/test_move.h"
#include "core/validation.h"
#include "solver/help_root_helper.h"
#include "solver/play_words.h"
#include "solver/root_helper.h"
#include "solver/series_solve.h"
#include "solver/solution_writer.h"
#include "solver/solve_options_logic.h"
#include "solver/twin_pass.h"
#include "solver/twins.h"

namespace kv {
namespace {

constexpr const char* ProductName = "Kestrovale";

// The words of the solution text, by their position among the message parts.
enum Word {
  WordNoSolution = 9,
  WordSetPlay = 8,
  WordTry = 7,
  WordSolution = 6,
  WordSearching = 10,
  WordUserBreak = 13,
  WordChangedPosition = 14,
};

std::string Word(const SolveEnvironment& env, int position) {
  return MessagePart(env.language, position);
}

// Derives the king squares, castling counters and BlackForce and judges the
// position; 0 when the solve may go on. In a helpmate where Black begins
// Black could take a white king in check. The set-play run of a helpmate
// judges quietly: the solution run that follows shows the finding once.
int ValidateBeforeSolve(SolveEnvironment& env, bool quiet) {
  ValidationContext context;
  context.tryRefutations = env.options[Option::TryRefutations];
  context.actualPlay = env.options[Option::ActualPlay];
  context.blackMovesFirst = env.type.kind == KindHelp && (env.type.flags & FlagWhiteBegins) == 0;
  // A series helpmate's series is Black's; every other series is White's.
  context.series = (env.type.flags & FlagSeries) != 0;
  context.messageDisplay = !env.batch && !quiet;
  context.ui = &env.ui;
  context.language = &env.language;
  return ValidatePosition(env.pos, context);
}

// The validation refuses an empty board without a message; the driver tells
// that apart for its callers.
bool BoardIsEmpty(const Position& pos) {
  for (int square = FirstSquare; square <= LastSquare; ++square)
    if (IsSquare(square) && pos.board[square] != Empty) return false;
  return true;
}

// Whether White's men attack Black's king. A helpmate's set play begins with
// a white move, so there is none while Black must answer a check; the
// solution, where Black begins, is the whole play then.
bool BlackKingInCheck(const Position& diagram) {
  Position pos = diagram;
  DerivePositionState(pos);
  return IsSquare(pos.blackKingSquare) && AttackedByWhite(pos, pos.blackKingSquare) != 0;
}

// Tries are a battle-play matter: the helpmate dialog hides them, so a stray
// value never starts a key search in a Black-begins helpmate.
int EffectiveTries(const SolveEnvironment& env) {
  return env.type.kind == KindHelp ? 0 : env.options[Option::TryRefutations];
}

// The phase a first move belongs to, as the tree names it: a Black-begins
// helpmate's play is its solution even where the text writes it as set play
// (after White's null move); the set play of a White-begins helpmate and the
// set-play run of a Black-begins one are set play.
PlayPhase PlayPhaseOf(const Solver& s, const SolveEnvironment& env) {
  const HelpMode helpMode = s.search.helpMode;
  switch (s.phase) {
    case SolvePhase::Set:
      return helpMode == HelpMode::BlackBegins ? PlayPhase::Solution : PlayPhase::Set;
    case SolvePhase::Tries:
    case SolvePhase::EveryFirstMove:
      return (env.options[Option::ActualPlay] || env.options[Option::SetPlay]) ? PlayPhase::Try
                                                                               : PlayPhase::Test;
    default:
      return helpMode == HelpMode::SetPlayRun ? PlayPhase::Set : PlayPhase::Solution;
  }
}

// The first move the header writes; none for White's null move.
std::optional<TreeMove> FirstMoveOf(const Solver& s, const Writer& w, const Move& move) {
  if (s.phase == SolvePhase::Set) return std::nullopt;
  return TreeMoveOf(w, move);
}

// The header of a first move in the current phase: "Set Play:", "Try: 1. ..?",
// "Test : 1. ..." or "Solution: 1. ..!". A helpmate's set play has no header
// and wants every refutation.
void WriteHeader(Solver& s, SolveEnvironment& env, Writer& w, const Move& move,
                 bool& allRefutations) {
  SolutionText& t = s.text;
  const HelpMode helpMode = s.search.helpMode;
  if (w.tree != nullptr) w.tree->BeginPlay(PlayPhaseOf(s, env), FirstMoveOf(s, w, move));
  switch (s.phase) {
    case SolvePhase::Set:
      if (helpMode == HelpMode::None) {
        t.AppendText("\r\n" + Word(env, WordSetPlay));
      } else {
        allRefutations = true;
      }
      break;
    case SolvePhase::Tries:
    case SolvePhase::EveryFirstMove:
      if (env.options[Option::ActualPlay] || env.options[Option::SetPlay]) {
        t.AppendText("\r\n" + Word(env, WordTry) + " 1. " + MoveText(w, move) + "?");
      } else {
        t.AppendText("\r\nTest : 1. " + MoveText(w, move));
      }
      break;
    default:
      if (helpMode == HelpMode::WhiteBegins) {
        t.AppendText("\r\n 1. ... " + MoveText(w, move) + "!");
      } else if (helpMode == HelpMode::SetPlayRun) {
        t.AppendText("\r\n" + Word(env, WordSetPlay) + " 1. ... " + MoveText(w, move) + "!");
      } else {
        t.AppendText("\r\n" + Word(env, WordSolution) + " 1. " + MoveText(w, move) + "!");
      }
      break;
  }
}

// Copies the records of a key or try list into `moves`; returns their number.
int CopyRecords(const MoveRecords& list, std::array<Move, MoveListCapacity + 1>& moves) {
  const int count = list.Count();
  for (int i = 0; i < count; ++i) moves[i] = list.records[i];
  return count;
}

// Test a move: the user picks one of White's legal moves. False on Cancel.
bool ChooseTestedMove(Solver& s, SolveEnvironment& env, Writer& w, int n) {
  MoveList* list = s.search.LevelList(2);
  GenerateWhiteMoves(env.pos, 0, 0, *list);
  int noFilter = 0;
  int& filter = env.testMoveFilter != nullptr ? *env.testMoveFilter : noFilter;
  const int chosen = RunTestMoveDialog(env.pos, *list, filter, NotationFor(w), env.ui);
  if (chosen <= 0 || chosen > MoveListCapacity) return false;
  MoveRecords& tries = s.search.TryList(n);
  tries.records[0] = list->moves[chosen - 1];
  tries.records[1].from = 0;
  s.search.KeyList(n).Clear();
  return true;
}

// What one solve works with: the search context and writer over the
// environment, the number of moves searched (n), the length the key search
// found (r) and which of the remembered runs this solve is.
struct OneSolve {
  Solver& s;
  SolveEnvironment& env;
  SearchContext ctx;
  Writer w;
  int n = 0;
  int r = 0;
  int tries = 0;
  int runSlot = 1;
  bool refresh = false;
  bool searchKeys = true;
  int notesStart = 0;  // where the notes of the key search begin in the text

  OneSolve(Solver& solver, SolveEnvironment& environment, int moves, bool refreshing)
      : s(solver),
        env(environment),
        ctx{environment.pos, environment.options, environment.ui, environment.language,
            solver.search},
        w{ctx,
          solver.text,
          nullptr,
          solver.duplexTwin,
          environment.batch,
          environment.figurines,
          solver.tree},
        n(moves),
        tries(EffectiveTries(environment)),
        runSlot((environment.type.kind == KindHelp && solver.helpSetPlayRun) ? 0 : 1),
        refresh(refreshing) {}

  SearchState& st() { return s.search; }
  const SolveOptions& o() const { return env.options; }
};

// A refresh rewrites the lists of the last search, under the modes it ran
// with; false when there was none.
bool TakeLastRun(OneSolve& p) {
  const SearchRun& run = p.s.lastRuns[p.runSlot];
  SearchState& st = p.st();
  st.helpMode = run.helpMode;
  st.selfMode = run.selfMode;
  st.goal = run.goal;
  st.maximummer = run.maximummer;
  p.n = run.topMoves;
  p.r = p.n;
  if (p.n < 1) return false;
  st.KeyList(p.n) = run.keys;
  st.TryList(p.n) = run.tries;
  p.s.text.AppendText(run.searchNotes);
  p.searchKeys = false;
  return true;
}

// The rules of the play the type states: the goal of its last move and
// whether Black is a maximummer.
void SetRulesFromType(SearchState& st, const ProblemType& type) {
  st.goal = (type.flags & FlagStalemate) ? Goal::Stalemate : Goal::Mate;
  st.maximummer = (type.flags & FlagMaximum) != 0;
}

// Every first move is tested; a selfmate or reflexmate gets its mode and its
// extra move (Black's forced mate), so the test is complete there too.
void SetEveryFirstMoveMode(OneSolve& p) {
  SearchState& st = p.st();
  const int kind = p.env.type.kind;
  p.s.phase = SolvePhase::EveryFirstMove;
  st.helpMode = HelpMode::None;
  st.selfMode = SelfModeOfKind(kind);
  SetRulesFromType(st, p.env.type);
  p.searchKeys = false;
  if (st.selfMode != SelfMode::None) ++p.n;
  st.EnsureLevels(p.n);
}

// The modes of the kind: a helpmate's set-play or White-begins run keeps its
// length; the other helpmates, selfmates and reflexmates search one white
// move more. The lists grow to the length searched.
void SetModeFromKind(OneSolve& p) {
  SearchState& st = p.st();
  const int kind = p.env.type.kind;
  st.selfMode = SelfMode::None;
  SetRulesFromType(st, p.env.type);
  if (kind == KindHelp && p.o()[Option::ActualPlay]) {
    st.helpMode = p.s.helpSetPlayRun ? HelpMode::SetPlayRun : HelpMode::WhiteBegins;
  } else {
    st.helpMode = HelpMode::None;
    if (kind == KindHelp) st.helpMode = HelpMode::BlackBegins;
    st.selfMode = SelfModeOfKind(kind);
    if (kind >= KindHelp && kind <= KindReflex) ++p.n;
  }
  st.EnsureLevels(p.n);
}

// The search mode: from the last run for a refresh, else from the problem
// type and the options; test a move asks for its move here. False when the
// solve writes nothing more.
bool ChooseSearchMode(OneSolve& p) {
  const SolveOptions& o = p.o();
  if (p.refresh) return TakeLastRun(p);
  if (p.tries != 0 && !o[Option::SetPlay] && !o[Option::ActualPlay] &&
      p.env.type.kind != KindHelp) {
    SetEveryFirstMoveMode(p);
    return true;
  }
  SetModeFromKind(p);
  if (o[Option::Kind] == TestMovePreset) {
    // Test a move: the chosen move alone, as a try.
    if (!ChooseTestedMove(p.s, p.env, p.w, p.n)) {
      p.s.stop = SolveStop::NoMoveChosen;
      return false;
    }
    p.s.phase = SolvePhase::Tries;
    p.searchKeys = false;
  } else if (p.tries == 0 && !o[Option::ActualPlay]) {
    p.searchKeys = false;
    // A helpmate's play is written as its set play; any other kind with
    // set play off too has nothing to write.
    if (!o[Option::SetPlay] && p.env.type.kind != KindHelp) p.s.stop = SolveStop::NothingAsked;
  }
  return true;
}

// The run as a refresh rewrites it, with what the key search wrote.
SearchRun SearchedRun(OneSolve& p) {
  SearchState& st = p.st();
  return {st.helpMode,
          st.selfMode,
          p.n,
          st.goal,
          st.maximummer,
          st.KeyList(p.n),
          st.TryList(p.n),
          std::string(p.s.text.View().substr(static_cast<std::size_t>(p.notesStart)))};
}

// The key search with its timer, and its notes: "User break", "No solution",
// "Short Mate". False when nothing else is to be written.
bool SearchKeysAndWriteNotes(OneSolve& p) {
  SearchState& st = p.st();
  SolutionText& text = p.s.text;
  const SolveEnvironment& env = p.env;
  env.ui.Status(4, " " + Word(env, WordSearching) + "...");
  st.TryList(p.n).Clear();
  st.KeyList(p.n).Clear();
  st.topMoves = p.n;
  const auto start = std::chrono::steady_clock::now();
  const TryLimit limit = WhiteBegins(st.helpMode) ? EveryReply : TryLimit{p.tries};
  StartRootHelper(p.ctx, p.n, limit);
  HelpRootHelper helpHelper(p.ctx, p.n, false);
  int r = RootSearch(p.ctx, p.n, limit);
  helpHelper.Stop();
  StopRootHelper(st);
  if (r < 0) r = 0;  // an illegal diagram or a reflexmate White must mate at once
  p.r = r;
  p.s.elapsedMilliseconds =
      static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
  env.ui.Status(4, SearchCompletedText(env.language, p.s.elapsedMilliseconds));
  if (p.s.tree != nullptr) {
    TreeRun& run = p.s.tree->Run();
    run.searched = true;
    run.searchMilliseconds = p.s.elapsedMilliseconds;
    run.userBreak = st.userBreak != 0;
    run.noSolution = r == 0 && st.helpMode != HelpMode::SetPlayRun;
    run.shortMate = r > 0 && r < p.n;
  }
  if (st.userBreak) {
    text.AppendText("\r\n" + Word(env, WordUserBreak));
    p.s.stop = SolveStop::UserBreak;
  }
  st.userBreak = 0;
  if (r == 0) {
    // The set-play run of a helpmate says nothing when it finds nothing:
    // the solution follows, and "No solution" there would mislead.
    if (st.helpMode != HelpMode::SetPlayRun) text.AppendText("\r\n" + Word(env, WordNoSolution));
    if (!p.o()[Option::SetPlay] && p.tries == 0) {
      p.s.lastRuns[p.runSlot] = SearchedRun(p);
      p.s.solutionStale = false;
      return false;
    }
  } else if (r < p.n) {
    p.n = r;
    text.NewLine();
    text.AppendText(ShortSolutionHeader(env.language, st.goal));
    text.NewLine();
  }
  return true;
}

// What the phases start from: the changed-mates mode, the run a refresh
// rewrites, and "%d solutions" when the key search found several.
void PrepareThePhases(OneSolve& p) {
  Solver& s = p.s;
  SearchState& st = p.st();
  const SolveOptions& o = p.o();
  // The test of every first move is no solution to compare phases in: its
  // second pass would restart at the set play and lose the whole text.
  s.changedPass = (p.n == 2 && s.phase != SolvePhase::EveryFirstMove &&
                   (o[Option::ShowChangedMates] || o[Option::ShowTransferredMates]))
                      ? ChangedMatesPass::Collecting
                      : ChangedMatesPass::Off;
  ChangedMatesClear(s.changedMates);
  st.topMoves = p.n;
  s.solutionStale = false;
  SearchRun& run = s.lastRuns[p.runSlot];
  if (p.searchKeys) {
    run = SearchedRun(p);
  } else if (!p.refresh) {
    run = {st.helpMode,     st.selfMode,     p.n,          st.goal, st.maximummer,
           st.KeyList(p.n), st.TryList(p.n), std::string()};
  }
  if (o[Option::ActualPlay] && p.r != 0 && st.KeyList(p.n).Count() >= 2) {
    s.text.NewLine();
    s.text.AppendText(std::to_string(st.KeyList(p.n).Count()) + " solutions");
    if (s.tree != nullptr) s.tree->Run().keyCount = st.KeyList(p.n).Count();
    s.text.NewLine();
  }
}

using FirstMoveList = std::array<Move, MoveListCapacity + 1>;

// The variations of an analysed first move: collected in the first pass of
// the changed-mates display, else written when asked for (for n >= 3 level
// by level). Returns the number of pairs written (2 when it does not count).
int WriteVariationsOfFirstMove(OneSolve& p) {
  Solver& s = p.s;
  SearchState& st = p.st();
  if (p.n > 2) {
    WriteDeeperVariations(p.w, 1, p.n, st.VariationList(p.n), st.helpMode != HelpMode::None, true);
    return 2;
  }
  if (s.changedPass == ChangedMatesPass::Collecting) {
    ChangedMatesAdd(p.w, s.changedMates, st.VariationList(p.n));
  } else if (p.o().Of(st.optionGroup, Option::Variations) ||
             s.changedPass == ChangedMatesPass::Printing) {
    return WriteVariations(p.w, 1, st.VariationList(p.n));
  }
  return 2;
}

// What ends the text of a first move: nothing when the changed-mates display
// drops it, else the refutations of a try, a tested move or the set play,
// and a line break.
void EndFirstMove(OneSolve& p, int mark, int a, int pairs) {
  Solver& s = p.s;
  SearchState& st = p.st();
  const SolveOptions& o = p.o();
  SolutionText& text = s.text;
  if ((s.changedPass == ChangedMatesPass::Printing && !o.Of(st.optionGroup, Option::Variations) &&
       pairs < 2) ||
      s.changedPass == ChangedMatesPass::Collecting) {
    text.textLength = mark;
    if (p.w.tree != nullptr) p.w.tree->DropPlay();
  } else if (st.helpMode != HelpMode::None && s.phase == SolvePhase::Set &&
             text.textLength == mark) {
    // A helpmate's null-move analysis that found no line writes nothing,
    // not even an empty line: a helpmate without solution gives an empty text.
    if (p.w.tree != nullptr) p.w.tree->DropPlay();
  } else {
    if (s.phase == SolvePhase::Tries || s.phase == SolvePhase::EveryFirstMove ||
        (s.phase == SolvePhase::Set && o[Option::SetPlay] && !o[Option::ActualPlay] &&
         st.helpMode == HelpMode::None))
      WriteRefutations(p.w, a, st.RefutationList(p.n));
    text.NewLine();
  }
}

// One first move: its header, its threat, its variations and what ends it.
void WriteFirstMove(OneSolve& p, const Move& move, bool allRefutations) {
  Solver& s = p.s;
  SolutionText& text = s.text;
  Position& pos = p.env.pos;
  const int mark = text.textLength;
  MakeMove(pos, move);
  if (AttackedByBlack(pos, pos.whiteKingSquare)) {
    UnmakeMove(pos, move);
    return;
  }
  WriteHeader(s, p.env, p.w, move, allRefutations);
  if (p.r == 1 && s.phase == SolvePhase::Solution) {
    text.AppendText(GoalInOneText(p.env.language, p.st().goal));
    if (p.w.tree != nullptr) p.w.tree->Play()->mateInOne = true;
    UnmakeMove(pos, move);
    return;
  }
  const int a = AnalyseMove(p.ctx, p.n, move, allRefutations);
  if (!(s.phase == SolvePhase::Set && p.o()[Option::ActualPlay])) WriteThreat(p.w, 1, a);
  const int pairs = WriteVariationsOfFirstMove(p);
  EndFirstMove(p, mark, a, pairs);
  UnmakeMove(pos, move);
}

// The first moves of the current phase, each written in turn. False when
// the user broke off.
bool WriteFirstMoves(OneSolve& p, const FirstMoveList& moves, int count, bool allRefutations) {
  SearchState& st = p.st();
  st.optionGroup = p.s.phase == SolvePhase::Tries ? OptionGroup::Tries : OptionGroup::Play;
  p.w.marks = p.s.changedPass == ChangedMatesPass::Printing ? &p.s.changedMates : nullptr;
  // The collecting pass of the changed-mates display writes nothing that stays.
  p.w.tree = p.s.changedPass == ChangedMatesPass::Collecting ? nullptr : p.s.tree;
  for (int i = 0; i < count; ++i) {
    // The searches poll for a break only in their mate-in-two layer; a
    // long text of short analyses is broken off here too.
    if (st.userBreak || p.env.ui.BreakRequested()) {
      st.userBreak = 1;
      return false;
    }
    WriteFirstMove(p, moves[i], allRefutations);
  }
  return true;
}

// A helpmate in which Black begins runs no key search, so its shorter
// solutions are looked for here: White's null move analysed at each shorter
// length, shortest first, the lines written under one "Short Mate" note in
// the layout of the full-length solutions. An analysis gives no line to a
// reply that allows a shorter mate, so each reply appears at its shortest
// length only, and without this a cook by a shorter solution went unseen.
// False when the user broke off.
bool WriteShortHelpSolutions(OneSolve& p, FirstMoveList& moves) {
  SearchState& st = p.st();
  SolutionText& text = p.s.text;
  const int full = p.n;
  const int mark = text.textLength;
  text.NewLine();
  text.AppendText(ShortSolutionHeader(p.env.language, st.goal));
  text.NewLine();
  const int linesStart = text.textLength;
  bool unbroken = true;
  if (p.s.tree != nullptr) p.s.tree->SetShortSolutions(true);
  for (int m = 2; m < full && unbroken; ++m) {
    p.n = m;
    st.topMoves = m;
    moves[0] = NullMove;
    unbroken = WriteFirstMoves(p, moves, 1, true);
  }
  p.n = full;
  st.topMoves = full;
  if (p.s.tree != nullptr) p.s.tree->SetShortSolutions(false);
  if (text.textLength == linesStart) {
    text.textLength = mark;  // none: no note either
  } else if (p.s.tree != nullptr) {
    p.s.tree->Run().shortMate = true;
  }
  return unbroken;
}

// Set play: White's null move, when asked for or in a Black-begins helpmate
// (whose shorter solutions come first). The set-play run of a helpmate
// (White first) has none: its null move would be the Black-begins play one
// move shorter, which the solution run writes as its shorter solutions.
bool WriteSetPlay(OneSolve& p, FirstMoveList& moves) {
  const HelpMode helpMode = p.st().helpMode;
  const bool wanted = helpMode == HelpMode::BlackBegins ||
                      (p.o()[Option::SetPlay] && helpMode != HelpMode::SetPlayRun);
  if (!wanted || p.n <= 1) return WriteFirstMoves(p, moves, 0, false);
  if (helpMode == HelpMode::BlackBegins && !WriteShortHelpSolutions(p, moves)) return false;
  moves[0] = NullMove;
  return WriteFirstMoves(p, moves, 1, true);
}

// Tries (or the one tested move) with all their refutations.
bool WriteTries(OneSolve& p, FirstMoveList& moves) {
  const bool wanted = p.tries != 0 || p.o()[Option::Kind] == TestMovePreset;
  if (!wanted || p.n <= 1) return WriteFirstMoves(p, moves, 0, false);
  return WriteFirstMoves(p, moves, CopyRecords(p.st().TryList(p.n), moves), true);
}

// The solution: every key.
bool WriteSolution(OneSolve& p, FirstMoveList& moves) {
  const int count = p.o()[Option::ActualPlay] ? CopyRecords(p.st().KeyList(p.n), moves) : 0;
  // A helpmate in which White begins lists every black reply after each
  // first move that leads on to the goal, not only the first: each is a
  // solution of its own.
  return WriteFirstMoves(p, moves, count, WhiteBegins(p.st().helpMode));
}

// Every legal first move of White with its refutations. The list is copied:
// the analyses reuse the work lists of every level.
bool WriteEveryFirstMove(OneSolve& p, FirstMoveList& moves) {
  MoveList* list = &p.st().SpareList();
  ListMatingMoves(p.ctx, 0, 0, list, false);
  int count = 0;
  while (count < MoveListCapacity && list->moves[count].from != 0) {
    moves[count] = list->moves[count];
    ++count;
  }
  return WriteFirstMoves(p, moves, count, true);
}

bool WritePhase(OneSolve& p, FirstMoveList& moves) {
  switch (p.s.phase) {
    case SolvePhase::Set:
      return WriteSetPlay(p, moves);
    case SolvePhase::Tries:
      return WriteTries(p, moves);
    case SolvePhase::Solution:
      return WriteSolution(p, moves);
    case SolvePhase::EveryFirstMove:
      return WriteEveryFirstMove(p, moves);
    default:
      return WriteFirstMoves(p, moves, 0, false);
  }
}

// The phases in order from the current one to the solution (a mate in one
// has only the solution); the changed-mates display runs them twice, first
// to collect, then to print. "Truncated" after a user break.
void WritePhases(OneSolve& p) {
  Solver& s = p.s;
  const SolveOptions& o = p.o();
  FirstMoveList moves{};
  bool broken = false;
  for (;;) {
    if (p.r == 1) s.phase = SolvePhase::Solution;
    if (!WritePhase(p, moves)) {
      broken = true;
      break;
    }
    if (s.phase == SolvePhase::Set) {
      s.phase = SolvePhase::Tries;
    } else if (s.phase == SolvePhase::Tries) {
      s.phase = SolvePhase::Solution;
    } else if (s.changedPass == ChangedMatesPass::Collecting) {
      ChangedMatesCompare(s.changedMates, o[Option::ShowChangedMates] != 0,
                          o[Option::ShowTransferredMates] != 0);
      s.phase = SolvePhase::Set;
      s.changedPass = ChangedMatesPass::Printing;
    } else {
      break;
    }
  }
  if (broken || p.st().userBreak) {
    s.text.NewLine();
    s.text.AppendText("Truncated");
    s.stop = SolveStop::UserBreak;
    if (s.tree != nullptr) s.tree->Run().truncated = true;
  }
  s.changedPass = ChangedMatesPass::Off;
}

}  // namespace

std::string SearchCompletedText(const Language& language, std::uint64_t milliseconds) {
  const std::uint64_t t = milliseconds / 10;
  char text[128];
  std::snprintf(text, sizeof text, " %s : %02d %02d %02d,%02d", MessagePart(language, 11).c_str(),
                static_cast<int>(t / 360000), static_cast<int>((t % 360000) / 6000),
                static_cast<int>((t % 6000) / 100), static_cast<int>(t % 100));
  return text;
}

void Solve(Solver& s, SolveEnvironment& env, int n) {
  const bool refresh = n == SolveRefresh;
  // A refresh needs the position of the last search.
  if (refresh && s.solutionStale) {
    env.ui.Message(Word(env, WordChangedPosition), ProductName, MbIconStop);
    s.stop = SolveStop::ChangedPosition;
    return;
  }
  // A series mover has a search and a text of its own.
  if (env.type.flags & FlagSeries) {
    SolveSeries(s, env, n);
    return;
  }
  // Nothing is searched in a position that breaks the rules.
  const bool helpSetPlayRun = env.type.kind == KindHelp && s.helpSetPlayRun;
  s.positionInvalid = ValidateBeforeSolve(env, helpSetPlayRun) != 0;
  if (s.positionInvalid) {
    s.stop = BoardIsEmpty(env.pos) ? SolveStop::EmptyBoard : SolveStop::InvalidPosition;
    return;
  }
  s.search.userBreak = 0;
  s.phase = (env.type.kind == KindHelp || env.options[Option::SetPlay]) ? SolvePhase::Set
                                                                        : SolvePhase::Tries;
  OneSolve p(s, env, refresh ? 0 : n, refresh);
  if (s.tree != nullptr) s.tree->BeginRun();
  if (!ChooseSearchMode(p)) return;
  if (s.tree != nullptr) {
    s.tree->Run().helpMode = s.search.helpMode;
    s.tree->Run().selfMode = s.search.selfMode;
    s.tree->Run().stalemate = s.search.goal == Goal::Stalemate;
    s.tree->Run().maximummer = s.search.maximummer;
  }
  p.notesStart = s.text.textLength;
  if (p.searchKeys && !SearchKeysAndWriteNotes(p)) return;
  // A helpmate's play is found while its phases are written, Black's first
  // moves one after another: the helper takes them from the last.
  const bool blackBegins = !p.searchKeys && s.search.helpMode == HelpMode::BlackBegins;
  HelpRootHelper helpHelper(p.ctx, blackBegins ? p.n : 0, blackBegins);
  PrepareThePhases(p);
  WritePhases(p);
}

void SolveTwinOrProblem(Solver& s, SolveEnvironment& env, int n) {
  // A helpmate's runs switch its actual play on and off; they work on a
  // copy, so that the caller's options (and the next twin's) stay as given.
  SolveOptions o = env.options;
  SolveEnvironment run{env.pos,   env.type,      o,
                       env.twins, env.language,  env.ui,
                       env.batch, env.figurines, env.testMoveFilter};
  // A series mover has no set play and no run in which White begins.
  const bool help = env.type.kind == KindHelp && (env.type.flags & FlagSeries) == 0;
  if (help) {
    if (env.type.flags & FlagWhiteBegins) {
      o[Option::ActualPlay] = 1;
    } else if (o[Option::SetPlay] && !BlackKingInCheck(env.pos)) {
      s.search.helpMode = HelpMode::None;
      s.helpSetPlayRun = true;
      o[Option::ActualPlay] = 1;
      Solve(s, run, n);
      s.helpSetPlayRun = false;
      o[Option::ActualPlay] = 0;
    }
  }
  s.search.helpMode = HelpMode::None;
  Solve(s, run, n);
}

namespace {

// Whether the last search left a list to take the key from.
bool HasKeyList(const SearchState& st) {
  return st.helpMode == HelpMode::BlackBegins || st.topMoves >= 1;
}

// The key of the list the search really filled, for "after the key": a
// selfmate's keys lie one level up, a Black-begins helpmate's first move
// opens the first solution line.
Move KeyOfLastSearch(const SearchState& st) {
  const int top = st.topMoves;
  if (st.helpMode == HelpMode::BlackBegins) return st.VariationList(top).records[0].reply.move;
  return st.KeyList(top).records[0];
}

// Each twin the twin pass yields, under its heading, with its own position
// and stipulation and the options of its own kind (a twin that turns a
// direct mate into a helpmate is solved as the helpmate alone would be);
// the board and type are the problem's again afterwards.
void SolveEachTwin(Solver& s, SolveEnvironment& env) {
  const Board saved = env.pos.board;
  const ProblemType typeBefore = env.type;
  TwinPass pass(env.twins, saved, typeBefore, env.language);
  TwinStep step;
  while (pass.Next(s.twinKey, step)) {
    s.text.AppendText("\r\n" + step.heading);
    if (s.tree != nullptr) s.tree->BeginTwin(step.heading);
    s.duplexTwin = step.duplex;
    env.pos.board = step.board;
    env.type = step.type;
    // A stipulation change to a type the solver does not take (a series
    // play, a study) shows its heading and no play.
    const bool solvable = CanSolve(step.type);
    if (solvable) {
      SolveOptions options = env.options;
      SwitchOptionsToKind(options, step.type.kind);
      SolveEnvironment twin{env.pos, env.type,  options,       env.twins,         env.language,
                            env.ui,  env.batch, env.figurines, env.testMoveFilter};
      // Each twin's text is its own: the killers of the twin before would
      // change the order in which its lines are met.
      s.search.ClearKillers();
      SolveTwinOrProblem(s, twin, step.type.moves);
    }
    env.type = typeBefore;
    env.pos.board = saved;
    if (!solvable) {
      s.twinKey = Move{};
    } else if (HasKeyList(s.search)) {
      s.twinKey = KeyOfLastSearch(s.search);
    }
    s.duplexTwin = false;
  }
}

}  // namespace

const std::string& SolveEntry(Solver& s, SolveEnvironment& env, int n) {
  s.stop = SolveStop::None;
  s.text.Clear();
  s.paneText.clear();
  env.ui.Status(1, "");
  env.ui.Status(2, "");
  const int twins = TwinCount(env.twins);
  const bool refresh = n == SolveRefresh;
  if (!refresh) {
    // A new solve: the runs a later refresh rewrites are this solve's, and
    // "after the key" plays only a key found in this solve.
    s.lastRuns[0] = s.lastRuns[1] = SearchRun{};
    s.twinKey = Move{};
    // The killers steer which reply a search tries first, and a helpmate's
    // shorter-solution search writes the line it meets first: a new solve
    // starts without the last one's, so its text is the problem's alone.
    s.search.ClearKillers();
  }
  if (twins == 0) {
    SolveTwinOrProblem(s, env, n);
  } else {
    if (refresh) {
      // The lists hold only the last twin's search; a refresh of twins
      // solves them again.
      if (s.solutionStale) {
        env.ui.Message(Word(env, WordChangedPosition), ProductName, MbIconStop);
        s.stop = SolveStop::ChangedPosition;
        return s.paneText;
      }
      s.lastRuns[0] = s.lastRuns[1] = SearchRun{};
      s.twinKey = Move{};
    }
    SolveEachTwin(s, env);
  }
  // A search ran unless only a helpmate's play was written: its time stays.
  if (EffectiveTries(env) == 0 && env.options[Option::ActualPlay] == 0 &&
      (env.type.flags & FlagSeries) == 0)
    env.ui.Status(4, "");
  env.ui.Status(1, "");
  return FinishPaneText(s, env.ui);
}

const std::string& FinishPaneText(Solver& s, const UiCallbacks& ui) {
  if (s.text.textLength > SolutionPaneLimit) {
    char message[64];
    std::snprintf(message, sizeof message, "truncated %d bytes ->%d bytes", s.text.textLength,
                  SolutionPaneLimit);
    ui.Message(message, "", MbOk);
    s.text.textLength = SolutionPaneLimit;
  }
  s.paneText.assign(s.text.View());
  s.text.Clear();
  return s.paneText;
}

}  // namespace kv
