// The solve driver: turns "Search solution", "Test a move" and "Refresh
// solution" into the text of the solution pane. It checks the position,
// chooses the search mode from the problem type, runs the key search with a
// timer, walks the phases (set play, tries, solution, or the test of every
// first move), has each first move analysed and written, handles twins, the
// user break and the size of the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/position.h"
#include "solver/changed_mates.h"
#include "solver/problem_type.h"
#include "solver/search.h"
#include "solver/search_state.h"
#include "solver/solution_text.h"
#include "solver/solution_tree.h"
#include "solver/solve_options.h"
#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

struct SeriesSolves;  // solver/series_solve.h

// The finished text is cut to this many characters.
inline constexpr int SolutionPaneLimit = 50000;

// The n of SolveEntry and Solve that asks for "Refresh solution": the lists
// of the last search written again with the options now in force. (Every
// other n is a number of moves, 1 included.)
inline constexpr int SolveRefresh = -1;

// The phases of a solve's text in the order they are written: set play,
// tries (or the tested move), the solution. The test of every first move
// is a phase of its own, written alone.
enum class SolvePhase : int { None, Set, Tries, Solution, EveryFirstMove };

// The passes of the changed-mates display: the phases are written once to
// collect the mates of each phase (nothing of that pass stays in the text),
// then again to print them with the changes marked.
enum class ChangedMatesPass : int { Off, Collecting, Printing };

// What one solve works on: the program's position, the current problem's
// type and twins field, the options, the language and the user interface.
struct SolveEnvironment {
  Position& pos;
  ProblemType& type;
  SolveOptions& options;
  std::string_view twins;  // stored form; empty for no twins
  const Language& language;
  const UiCallbacks& ui;
  // A batch operation over the problem list: no message boxes from the
  // validation, English piece letters.
  bool batch = false;
  // Figurine notation in the text panes.
  bool figurines = false;
  // The from-square filter of the test-a-move dialog (the board window sets
  // it to the square of the man it tests); null for none.
  int* testMoveFilter = nullptr;
};

// The modes and size of one search, kept so that a refresh rewrites the lists
// of a search with the modes that search ran under.
struct SearchRun {
  HelpMode helpMode = HelpMode::None;
  SelfMode selfMode = SelfMode::None;
  int topMoves = 0;
  Goal goal = Goal::Mate;
  bool maximummer = false;
  // The keys and tries it found: a helpmate's second run searches the same
  // levels again, so the lists themselves do not survive until a refresh.
  MoveRecords keys{};
  MoveRecords tries{};
  // What the key search wrote ("User break", "No solution", "Short Mate"),
  // written again by the refresh.
  std::string searchNotes;
};

// Why the last solve wrote less than a solution, for a caller that must say
// so (the command-line tool). The program itself shows the message boxes of
// the changed and the invalid position, and stays silent on an empty board.
enum class SolveStop {
  None,             // the solve ran to its end
  ChangedPosition,  // a refresh after the position changed ("Changed position" shown)
  InvalidPosition,  // the validation refused the position (its finding shown)
  EmptyBoard,       // no man on the board: refused without a message
  TooManyMoves,     // no longer happens: every length is solved (kept for its name)
  NoMoveChosen,     // test a move ended without a move to test
  NothingAsked,     // set play, tries and actual play are all off: nothing to write
  UserBreak,        // broken off by the user: the text ends early
};

// The driver's state between solves. Large (the solution buffer and the work
// lists): allocate it once, e.g. with std::make_unique<Solver>().
struct Solver {
  SearchState search;
  SolutionText text;
  ChangedMatesStore changedMates;
  SolvePhase phase = SolvePhase::None;
  // The solve under way is the set-play run of a helpmate (SolveTwinOrProblem
  // makes it before the solution run): it searches with HelpMode::SetPlayRun.
  bool helpSetPlayRun = false;
  ChangedMatesPass changedPass = ChangedMatesPass::Off;
  Move twinKey{};  // first key of the last twin solved, for "after the key"
  ProblemType savedType{};
  bool solutionStale = true;  // the position changed since the last solve
  // Runs of the last solve: [0] the set-play run of a helpmate, [1] the main run.
  SearchRun lastRuns[2]{};
  bool duplexTwin = false;                // the twin being solved is the duplex
  bool positionInvalid = false;           // the last solve stopped at the position validation
  SolveStop stop = SolveStop::None;       // the last early end of the last SolveEntry
  std::string paneText;                   // what the solution pane shows after SolveEntry
  std::uint64_t elapsedMilliseconds = 0;  // of the last key search
  // Set by a caller that wants the solution as data beside the text.
  SolutionTreeBuilder* tree = nullptr;
  // The memory of the series searches and their last result, made at the
  // first series mover solved.
  std::shared_ptr<SeriesSolves> series;
};

// The solve entry: n = the problem's number of moves for "Search solution"
// and "Test a move", SolveRefresh for "Refresh solution". Solves every twin
// (each with its own number of moves and the options of its own kind), cuts
// the text at 50000 characters and leaves it in solver.paneText
// (Windows-1252, lines ended by "\r\n"), which it also returns. The caller
// checks CanSolve first. For a loaded problem: env.pos.board = the
// problem's board, env.type = its type, env.twins = its twins field.
// env.options are left as they were.
const std::string& SolveEntry(Solver& solver, SolveEnvironment& env, int n);

// The last step of the entry: a text above 50000 characters is cut there,
// with the message "truncated %d bytes ->%d bytes"; the text moves from the
// buffer into paneText.
const std::string& FinishPaneText(Solver& solver, const UiCallbacks& ui);

// One twin (or the problem without twins): for a helpmate with set play,
// first the set-play run, then the solution.
void SolveTwinOrProblem(Solver& solver, SolveEnvironment& env, int n);

// One solve of the current position with n moves (SolveRefresh: refresh).
void Solve(Solver& solver, SolveEnvironment& env, int n);

// " Search completed : hh mm ss,cc" for an elapsed time.
std::string SearchCompletedText(const Language& language, std::uint64_t milliseconds);

}  // namespace kv
