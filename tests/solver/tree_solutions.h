// What "Search solution" writes, read from the solution tree built beside
// the text: the first moves of battle play and the lines of help play, each
// move named as the caller's reference data names it.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv::test {

struct TreeSolutions {
  std::set<std::string> keys;        // battle play: the solution's first moves
  std::set<std::string> lines;       // help play: the lines of the stated length
  std::set<std::string> shortLines;  // help play: the shorter ones
  int shortPlays = 0;                // plays written as shorter solutions
  bool shortNote = false;            // "Short Mate" / "Short solution"
  SolveStop stop = SolveStop::None;
};

using TreeMoveName = std::string (*)(const TreeMove&);

// Every line below `lines`, each the moves of `path` and then a reply and
// its answer per level, joined by spaces.
inline void CollectTreeLines(const std::vector<TreeLine>& lines, TreeMoveName name,
                             std::vector<std::string>& path, std::set<std::string>& out) {
  for (const TreeLine& l : lines)
    for (const TreeMove& reply : l.replies)
      for (const TreeMove& answer : l.answers) {
        path.push_back(name(reply));
        path.push_back(name(answer));
        if (l.variations.empty()) {
          std::string joined;
          for (const std::string& m : path) joined += (joined.empty() ? "" : " ") + m;
          out.insert(joined);
        } else {
          CollectTreeLines(l.variations, name, path, out);
        }
        path.pop_back();
        path.pop_back();
      }
}

// Solves the diagram on one thread with the solution alone (no set play, no
// tries; the actual play of battle problems) and reads what was written.
inline TreeSolutions SolveToTree(const Position& diagram, const ProblemType& type,
                                 TreeMoveName name) {
  auto pos = std::make_unique<Position>(diagram);
  ProblemType solved = type;
  SolveOptions options;
  SwitchOptionsToKind(options, type.kind);
  options[Option::SetPlay] = 0;
  options[Option::TryRefutations] = 0;
  if (type.kind != KindHelp) options[Option::ActualPlay] = 1;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  solver->search.threads = 1;
  SolutionTree tree;
  SolutionTreeBuilder builder(tree);
  solver->tree = &builder;
  SolveEnvironment env{*pos, solved, options, "", language, ui};
  env.batch = true;
  SolveEntry(*solver, env, type.moves);

  TreeSolutions written;
  written.stop = solver->stop;
  for (const TreeTwin& twin : tree.twins)
    for (const TreeRun& run : twin.runs) {
      written.shortNote = written.shortNote || run.shortMate;
      for (const TreePhase& phase : run.phases) {
        if (phase.phase != PlayPhase::Solution) continue;
        for (const TreePlay& play : phase.plays) {
          if (play.shortSolution) ++written.shortPlays;
          std::vector<std::string> path;
          if (!play.line.answers.empty()) path.push_back(name(play.line.answers.front()));
          if (type.kind != KindHelp) {
            written.keys.insert(path.front());
            continue;
          }
          std::set<std::string>& out = play.shortSolution ? written.shortLines : written.lines;
          if (play.mateInOne && !path.empty()) out.insert(path.front());
          CollectTreeLines(play.line.variations, name, path, out);
        }
      }
    }
  return written;
}

}  // namespace kv::test
