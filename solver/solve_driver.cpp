#include "solver/solve_driver.h"

#include <chrono>
#include <cstdio>

#include "core/rules.h"
#include "core/test_move.h"
#include "core/validation.h"
#include "solver/solution_writer.h"
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
// position; 0 when the solve may go on.
int ValidateBeforeSolve(SolveEnvironment& env) {
  ValidationContext context;
  context.tryRefutations = env.options[TryRefutations];
  context.actualPlay = env.options[ActualPlay];
  context.messageDisplay = !env.batch;
  context.ui = &env.ui;
  context.language = &env.language;
  return ValidatePosition(env.pos, context);
}

// Tries are a battle-play matter: the helpmate dialog hides them, so a stray
// value never starts a key search in a Black-begins helpmate.
int EffectiveTries(const SolveEnvironment& env) {
  return env.type.kind == KindHelp ? 0 : env.options[TryRefutations];
}

void WriteHeader(Solver& s, SolveEnvironment& env, Writer& w, const Move& move,
                 bool& allRefutations) {
  SolutionText& t = s.text;
  const int helpMode = s.search.helpMode;
  switch (s.phase) {
    case 1:
      if (helpMode == 0) {
        t.AppendText("\r\n" + Word(env, WordSetPlay));
      } else {
        allRefutations = true;
      }
      break;
    case 2:
    case 4:
      if (env.options[ActualPlay] || env.options[SetPlay]) {
        t.AppendText("\r\n" + Word(env, WordTry) + " 1. " + MoveText(w, move) + "?");
      } else {
        t.AppendText("\r\nTest : 1. " + MoveText(w, move));
      }
      break;
    default:
      if (helpMode == HelpWhiteBegins) {
        t.AppendText("\r\n 1. ... " + MoveText(w, move) + "!");
      } else if (helpMode == HelpSetPlay) {
        t.AppendText("\r\n" + Word(env, WordSetPlay) + " 1. ... " + MoveText(w, move) + "!");
      } else {
        t.AppendText("\r\n" + Word(env, WordSolution) + " 1. " + MoveText(w, move) + "!");
      }
      break;
  }
}

// Fills `moves` with the first moves of the current phase; returns their
// number and whether all refutations are wanted.
int FirstMoves(Solver& s, SolveEnvironment& env, SearchContext& ctx, int n,
               std::array<Move, MoveListCapacity + 1>& moves, bool& allRefutations) {
  SearchState& st = s.search;
  int count = 0;
  allRefutations = false;
  auto copy = [&](const MoveRecords& list) {
    const int c = list.Count();
    for (int i = 0; i < c; ++i) moves[count++] = list.records[i];
  };
  switch (s.phase) {
    case 1:
      if ((st.helpMode == HelpBlackBegins || env.options[SetPlay]) && n > 1) {
        moves[count++] = NullMove;
        allRefutations = true;
      }
      break;
    case 2:
      if ((EffectiveTries(env) || env.options[OptionsKind] == TestMovePreset) && n > 1) {
        copy(st.TryList(n));
        allRefutations = true;
      }
      break;
    case 3:
      if (env.options[ActualPlay]) copy(st.KeyList(n));
      break;
    case 4: {
      // The list is copied: the analyses reuse the work lists of every level.
      MoveList* list = st.LevelList(6);
      ListMatingMoves(ctx, 0, 0, list, false);
      while (count < MoveListCapacity && list->moves[count].from != 0) {
        moves[count] = list->moves[count];
        ++count;
      }
      allRefutations = true;
      break;
    }
    default:
      break;
  }
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
  SearchState& st = s.search;
  SolutionText& text = s.text;
  const SolveOptions& o = env.options;
  SearchContext ctx{env.pos, env.options, env.ui, env.language, st};
  Writer w{ctx, text, nullptr, s.duplexTwin, env.batch, env.figurines};
  const int kind = env.type.kind;
  // Which of the remembered runs this is: the set-play run of a helpmate is
  // entered with helpMode 1.
  const int runSlot = (kind == KindHelp && st.helpMode == 1) ? 0 : 1;

  // A refresh needs the position of the last search.
  if (n == 1 && s.solutionStale) {
    env.ui.Message(Word(env, WordChangedPosition), ProductName, MbIconStop);
    return;
  }
  // Nothing is searched in a position that breaks the rules.
  s.positionInvalid = ValidateBeforeSolve(env) != 0;
  if (s.positionInvalid) return;
  st.userBreak = 0;
  int r = 0;
  s.phase = (kind == KindHelp || o[SetPlay]) ? 1 : 2;
  const int tries = EffectiveTries(env);
  bool searchKeys = true;

  // The search mode: from the last run for a refresh, else from the problem type.
  const bool refresh = n == 1;
  if (refresh) {
    // Rewrite the lists of the last search, under the modes it ran with.
    const SearchRun& run = s.lastRuns[runSlot];
    st.helpMode = run.helpMode;
    st.selfMode = run.selfMode;
    n = run.topMoves;
    r = n;
    if (n < 1) return;
    st.KeyList(n) = run.keys;
    st.TryList(n) = run.tries;
    text.AppendText(run.searchNotes);
    searchKeys = false;
  } else if (tries != 0 && !o[SetPlay] && !o[ActualPlay] && kind != KindHelp) {
    // Every first move is tested; a selfmate or reflexmate gets its mode and
    // its extra move (Black's forced mate), so the test is complete there too.
    s.phase = 4;
    st.helpMode = 0;
    st.selfMode = (kind == KindSelf || kind == KindReflex) ? kind - 1 : 0;
    if (st.selfMode != 0) {
      if (n >= 6) return;
      ++n;
    }
    searchKeys = false;
  } else {
    st.selfMode = 0;
    if (kind == KindHelp && o[ActualPlay]) {
      st.helpMode = st.helpMode != 0 ? HelpSetPlay : HelpWhiteBegins;
      if (n >= 6) return;  // helpmates are solved up to 5 moves, whoever begins
    } else {
      st.helpMode = 0;
      if (kind == KindHelp) st.helpMode = HelpBlackBegins;
      if (kind == KindSelf || kind == KindReflex) st.selfMode = kind - 1;
      if (kind >= KindHelp && kind <= KindReflex) {
        if (n >= 6) return;
        ++n;
      }
    }
    // Test a move: the chosen move alone, as a try.
    if (o[OptionsKind] == TestMovePreset) {
      if (!ChooseTestedMove(s, env, w, n)) return;
      s.phase = 2;
      searchKeys = false;
    } else if (tries == 0 && !o[ActualPlay]) {
      searchKeys = false;
    }
  }

  // The key search.
  const int notesStart = text.textLength;
  // The run as a refresh rewrites it, with what the key search wrote.
  auto searchedRun = [&]() -> SearchRun {
    return {st.helpMode,
            st.selfMode,
            n,
            st.KeyList(n),
            st.TryList(n),
            std::string(text.View().substr(static_cast<std::size_t>(notesStart)))};
  };
  if (searchKeys) {
    env.ui.Status(4, " " + Word(env, WordSearching) + "...");
    st.TryList(n).Clear();
    st.KeyList(n).Clear();
    st.topMoves = n;
    const auto start = std::chrono::steady_clock::now();
    const int limit = st.helpMode > HelpBlackBegins ? st.helpMode : tries;
    r = n == 2 ? SearchMateInTwo(ctx, 0, 0, st.LevelList(2), true, limit)
               : SearchMateInN(ctx, n, 0, 0, st.LevelList(n), true, limit);
    if (r < 0) r = 0;  // an illegal diagram or a reflexmate White must mate at once
    s.elapsedMilliseconds =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - start)
                                       .count());
    env.ui.Status(4, SearchCompletedText(env.language, s.elapsedMilliseconds));
    if (st.userBreak) text.AppendText("\r\n" + Word(env, WordUserBreak));
    st.userBreak = 0;
    if (r == 0) {
      // The set-play run of a helpmate says nothing when it finds nothing:
      // the solution follows, and "No solution" there would mislead.
      if (st.helpMode != HelpSetPlay) text.AppendText("\r\n" + Word(env, WordNoSolution));
      if (!o[SetPlay] && tries == 0) {
        s.lastRuns[runSlot] = searchedRun();
        s.solutionStale = false;
        return;
      }
    } else if (r < n) {
      n = r;
      text.NewLine();
      text.AppendText("Short Mate");
      text.NewLine();
    }
  }

  // The test of every first move is no solution to compare phases in: its
  // second pass would restart at the set play and lose the whole text.
  s.changedMode =
      (n == 2 && s.phase != 4 && (o[ShowChangedMates] || o[ShowTransferredMates])) ? 2 : 0;
  ChangedMatesClear(s.changedMates);
  st.topMoves = n;
  s.solutionStale = false;
  SearchRun& run = s.lastRuns[runSlot];
  if (searchKeys) {
    run = searchedRun();
  } else if (!refresh) {
    run = {st.helpMode, st.selfMode, n, st.KeyList(n), st.TryList(n), std::string()};
  }
  if (o[ActualPlay] && r != 0 && st.KeyList(n).Count() >= 2) {
    text.NewLine();
    text.AppendText(std::to_string(st.KeyList(n).Count()) + " solutions");
    text.NewLine();
  }

  // The phases, each writing its first moves with their play.
  std::array<Move, MoveListCapacity + 1> moves{};
  bool broken = false;
  for (;;) {
    if (r == 1) s.phase = 3;
    bool allRefutations = false;
    const int count = FirstMoves(s, env, ctx, n, moves, allRefutations);
    st.optionGroup = s.phase == 2 ? TriesGroup : 0;
    w.marks = s.changedMode == 1 ? &s.changedMates : nullptr;
    for (int i = 0; i < count; ++i) {
      // The searches poll for a break only in their mate-in-two layer; a
      // long text of short analyses is broken off here too.
      if (st.userBreak || env.ui.BreakRequested()) {
        st.userBreak = 1;
        broken = true;
        break;
      }
      const Move& move = moves[i];
      const int mark = text.textLength;
      MakeMove(env.pos, move);
      if (AttackedByBlack(env.pos, env.pos.whiteKingSquare)) {
        UnmakeMove(env.pos, move);
        continue;
      }
      bool all = allRefutations;
      WriteHeader(s, env, w, move, all);
      if (r == 1 && s.phase == 3) {
        text.AppendText(MessagePart(env.language, 5));
        UnmakeMove(env.pos, move);
        continue;
      }
      const int a = AnalyseMove(ctx, n, move, all);
      if (!(s.phase == 1 && o[ActualPlay])) WriteThreat(w, 1, a);
      int pairs = 2;
      if (n <= 2) {
        if (s.changedMode == 2) {
          ChangedMatesAdd(w, s.changedMates, st.VariationList(n));
        } else if (o[st.optionGroup + Variations] || s.changedMode == 1) {
          pairs = WriteVariations(w, 1, st.VariationList(n));
        }
      } else {
        WriteDeeperVariations(w, 1, n, st.VariationList(n), st.helpMode, true);
      }
      if ((s.changedMode == 1 && !o[st.optionGroup + Variations] && pairs < 2) ||
          s.changedMode == 2) {
        text.textLength = mark;
      } else if (st.helpMode != 0 && s.phase == 1 && text.textLength == mark) {
        // A helpmate's null-move analysis that found no line writes nothing,
        // not even an empty line: a helpmate without solution gives an empty text.
      } else {
        if (s.phase == 2 || s.phase == 4 ||
            (s.phase == 1 && o[SetPlay] && !o[ActualPlay] && st.helpMode == 0))
          WriteRefutations(w, a, st.RefutationList(n));
        text.NewLine();
      }
      UnmakeMove(env.pos, move);
    }
    if (broken) break;
    if (s.phase < 3) {
      ++s.phase;
    } else if (s.changedMode == 2) {
      ChangedMatesCompare(s.changedMates, o[ShowChangedMates] != 0, o[ShowTransferredMates] != 0);
      s.phase = 1;
      s.changedMode = 1;
    } else {
      break;
    }
  }
  if (broken || st.userBreak) {
    text.NewLine();
    text.AppendText("Truncated");
  }
  s.changedMode = 0;
}

void SolveTwinOrProblem(Solver& s, SolveEnvironment& env, int n) {
  SolveOptions& o = env.options;
  const bool help = env.type.kind == KindHelp;
  if (help) {
    if (env.type.flags & FlagWhiteBegins) {
      o[ActualPlay] = 1;
    } else if (o[SetPlay]) {
      s.search.helpMode = 1;
      o[ActualPlay] = 1;
      Solve(s, env, n);
      o[ActualPlay] = 0;
    }
  }
  s.search.helpMode = 0;
  Solve(s, env, n);
  if (help) o[ActualPlay] = 0;
}

const std::string& SolveEntry(Solver& s, SolveEnvironment& env, int n) {
  SearchState& st = s.search;
  s.text.Clear();
  s.paneText.clear();
  env.ui.Status(1, "");
  env.ui.Status(2, "");
  const int twins = TwinCount(env.twins);
  if (n != 1) {
    // A new solve: the runs a later refresh rewrites are this solve's, and
    // "after the key" plays only a key found in this solve.
    s.lastRuns[0] = s.lastRuns[1] = SearchRun{};
    s.twinKey = Move{};
  }
  if (twins == 0) {
    SolveTwinOrProblem(s, env, n);
  } else {
    if (n == 1) {
      // The lists hold only the last twin's search; a refresh of twins
      // solves them again.
      if (s.solutionStale) {
        env.ui.Message(Word(env, WordChangedPosition), ProductName, MbIconStop);
        return s.paneText;
      }
      n = env.type.moves;
      s.lastRuns[0] = s.lastRuns[1] = SearchRun{};
      s.twinKey = Move{};
    }
    const Board saved = env.pos.board;
    const bool successive = TwinsSuccessive(env.twins);
    int letter = 0;
    for (int k = 0; k < twins; ++k) {
      const ProblemType typeBefore = env.type;
      const char letterChar =
          letter < 26 ? static_cast<char>('a' + letter) : static_cast<char>('A' + letter - 26);
      ++letter;
      std::string line = "\r\n";
      line += letterChar;
      line += ") ";
      line += DescribeTwin(env.twins, k, env.pos.board, env.language).text;
      TwinEntry entry = TwinEntryAt(env.twins, k);
      s.duplexTwin = entry.kind == TwinDuplex;
      int moves = ApplyTwin(entry, env.pos.board, env.type, s.savedType, s.twinKey);
      while (entry.combined && k + 1 < twins) {
        ++k;
        const TwinDescription next = DescribeTwin(env.twins, k, env.pos.board, env.language);
        line += next.text.substr(static_cast<std::size_t>(next.prefixLength));
        entry = TwinEntryAt(env.twins, k);
        s.duplexTwin = s.duplexTwin || entry.kind == TwinDuplex;
        const int m = ApplyTwin(entry, env.pos.board, env.type, s.savedType, s.twinKey);
        if (m != 0) moves = m;
      }
      s.text.AppendText(line);
      const bool solvable = env.type.kind <= KindReflex && CanSolve(env.type);
      // A stipulation change to a type the solver does not take (series,
      // stalemate, maximum) shows its heading and no play.
      if (solvable) SolveTwinOrProblem(s, env, moves != 0 ? moves : n);
      env.type = typeBefore;
      if (!successive) env.pos.board = saved;
      // The key of the list the search really filled: a selfmate's keys
      // lie one level up, a Black-begins helpmate's first move opens the
      // first solution line.
      const int top = st.topMoves;
      if (st.helpMode == HelpBlackBegins) {
        s.twinKey = st.VariationList(top).records[0].reply.move;
      } else if (top >= 1 && top <= 6) {
        s.twinKey = st.KeyList(top).records[0];
      }
      if (!solvable) s.twinKey = Move{};
      s.duplexTwin = false;
    }
    env.pos.board = saved;
  }
  if (EffectiveTries(env) == 0 && env.options[ActualPlay] == 0) env.ui.Status(4, "");
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
