// The solution as data: the same play the solution text shows, filled by
// the writers at the points where they write its lines, so that a caller
// reads keys, threats, replies and mates without reading the text. The
// writers fill it only when a builder is given to them; without one the
// text is written exactly as before and nothing else happens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/position.h"
#include "solver/search_modes.h"

namespace kv {

// One move, as the text writes it and in a plain form.
struct TreeMove {
  std::string text;  // the notation of the text (Windows-1252), never the "/" form
  std::string from;  // "e2" (the ranks mirrored as the text mirrors them)
  std::string to;    // "e4"
  char piece = 0;    // 'K', 'Q', 'R', 'B', 'S' or 'P': the man that moves
  bool white = true;
  char promotion = 0;    // the man a pawn becomes, else 0
  bool capture = false;  // also set when "(x)" says some of the replies let it capture
  bool check = false;    // marked as giving check
  bool anyMove = false;  // an "ad lib" reply: any move of that man
  char letter = 0;       // the letter of the changed- and transferred-mates display, else 0
};

// What a white move threatens.
enum class ThreatKind {
  None,       // nothing is written: a helpmate, or Black has no legal reply
  Check,      // the move gives check
  Waiting,    // no threat
  Threat,     // a threat that some reply parries
  Unparried,  // a threat no reply parries (ad lib.)
  Forced,     // selfmate and reflexmate: Black's mate that White's move forces
};

struct TreeLine;

struct TreeThreat {
  ThreatKind kind = ThreatKind::None;
  std::vector<TreeLine> moves;  // each threat move is a line without replies
};

// One line of play: Black's replies that White answers alike (one reply in
// all but the last level), White's answer with its duals, and what follows
// the answer. A first move or a threat move has no replies.
struct TreeLine {
  std::vector<TreeMove> replies;
  std::vector<TreeMove> answers;  // the answer first, then its duals
  bool mate = false;              // the answers mate (stalemate, when that is the goal)
  TreeThreat threat;
  std::vector<TreeLine> variations;
};

// Set: the set play.
enum class PlayPhase { Set, Try, Test, Solution };

// One first move of a phase with everything written under it. The set play
// of a direct problem and the play of a helpmate in which Black begins have
// no first move (White's null move).
struct TreePlay {
  PlayPhase phase = PlayPhase::Solution;
  TreeLine line;                  // answers: the first move, when there is one
  bool mateInOne = false;         // a key that mates (or stalemates, by the goal) at once
  bool shortSolution = false;     // a helpmate's solution shorter than stated
  bool refutationsShown = false;  // the refutation line is written
  bool refutedByMate = false;     // " Mate in 1": the move mates
  bool stalemate = false;         // "But Draw!"
  std::vector<TreeMove> refutations;
  // A series mover's solution: the moves of the series, and the other
  // side's last move (a series helpmate's, one) or moves (a series
  // selfmate's forced moves, a series reflexmate's goal moves); none in a
  // series direct mate.
  std::vector<TreeMove> series;
  std::vector<TreeMove> finals;
};

struct TreePhase {
  PlayPhase phase = PlayPhase::Solution;
  std::vector<TreePlay> plays;
};

// One search of a twin (a helpmate with set play has two).
struct TreeRun {
  HelpMode helpMode = HelpMode::None;  // the search's helpMode and selfMode
  SelfMode selfMode = SelfMode::None;
  bool stalemate = false;   // the goal is stalemate ("=") rather than mate
  bool maximummer = false;  // Black plays only its longest moves
  bool searched = false;    // a key search ran
  std::uint64_t searchMilliseconds = 0;
  bool userBreak = false;   // "User break"
  bool noSolution = false;  // "No solution"
  bool shortMate = false;   // "Short Mate"
  bool truncated = false;   // "Truncated"
  int keyCount = 0;         // keys found, when the actual play is shown
  // A series mover's run: 1 + its SeriesFamily (1 direct, 2 help, 3 self,
  // 4 reflex); 0 for every other run.
  int series = 0;
  std::vector<TreePhase> phases;
};

struct TreeTwin {
  std::string heading;  // "a) ..." as the text writes it; empty without twins
  std::vector<TreeRun> runs;
};

struct SolutionTree {
  std::vector<TreeTwin> twins;
};

// The plain fields of a move (everything but text and letter).
TreeMove PlainTreeMove(const Move& move, bool rankMirror);

// Fills a tree in the order the text is written. Lines are opened and
// closed like the nesting of the text; a line opened is where threats and
// variations go until it is closed.
class SolutionTreeBuilder {
 public:
  explicit SolutionTreeBuilder(SolutionTree& tree) : tree_(tree) {}

  void BeginTwin(std::string heading);
  // Starts a run (in an unnamed twin when none was begun).
  TreeRun& BeginRun();
  TreeRun& Run();

  // While set, the plays begun are a helpmate's shorter solutions.
  void SetShortSolutions(bool on) { shortSolutions_ = on; }
  TreePlay& BeginPlay(PlayPhase phase, std::optional<TreeMove> firstMove);
  TreePlay* Play() { return play_; }
  // Forgets the play begun last: its text was taken back.
  void DropPlay();

  // The line being written: the last line opened, else the play's.
  TreeLine& Line();
  // Adds a variation or a threat move to the current line and opens it.
  void OpenVariation(TreeLine line);
  void OpenThreatMove(TreeLine line);
  void CloseLine();

 private:
  SolutionTree& tree_;
  TreePlay* play_ = nullptr;
  std::vector<TreeLine*> open_;
  bool shortSolutions_ = false;
  TreeLine scratch_;  // takes what is written outside any play
};

}  // namespace kv
