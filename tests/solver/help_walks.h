// Helpers of the helpmate tests: the deep helpmates' data, a plain
// recursion the fast searches must agree with, and a walk over the
// positions near a diagram.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "search_fixture.h"
#include "solver/help_fast.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "tab_fields.h"

namespace kv::test {

struct Helpmate {
  std::string id, stipulation, fen;
  double plainSeconds = 0;  // the independent solver's time without its fast mode
  std::string solutions;    // "1.Sg4-f2 Bf3-h5 2.… #;1.…", when the file has them
};

// The helpmates of a data file of tests/solver/data (id, stipulation, board
// first; the plain time in column 6 when the file has one), or of another
// file of the sources by its path there. Lines starting with '#' are
// comments.
inline std::vector<Helpmate> ReadHelpmates(const std::string& file,
                                           const std::string& folder = "tests/solver/data/") {
  std::vector<Helpmate> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/" + folder + file);
  EXPECT_TRUE(in.good()) << file;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells = kv::test::TabFields(line);
    if (cells.size() < 3 || cells[1].rfind("h#", 0) != 0) continue;
    Helpmate row{cells[0], cells[1], cells[2], 0, {}};
    if (cells.size() > 5) row.plainSeconds = std::strtod(cells[5].c_str(), nullptr);
    if (cells.size() > 3) row.solutions = cells[3];
    rows.push_back(row);
  }
  return rows;
}

// Whether White, to move with `moves` left, is helped to mate: the plain
// recursion the fast search must agree with.
inline int PlainHelpMate(Position& pos, const Move& last, int moves) {
  if (moves == 1) return FindMateInOne(pos, last.from, last.to);
  const int now = FindMateInOne(pos, last.from, last.to);
  if (now != 0) return now;
  MoveList white;
  GenerateWhiteMoves(pos, last.from, last.to, white);
  for (int i = 0; white.moves[i].from != 0; ++i) {
    const Move w = white.moves[i];
    MakeMove(pos, w);
    MoveList black;
    bool mate = false;
    if (GenerateBlackMoves(pos, w.from, w.to, black) == 0) {
      for (int j = 0; !mate && black.moves[j].from != 0; ++j) {
        MakeMove(pos, black.moves[j]);
        mate = PlainHelpMate(pos, black.moves[j], moves - 1) == HelpMate;
        UnmakeMove(pos, black.moves[j]);
      }
    }
    UnmakeMove(pos, w);
    if (mate) return HelpMate;
  }
  return HelpNoMate;
}

// The moves of each solution of a row, in the long texts the tests write.
inline std::vector<std::vector<std::string>> SolutionLines(const std::string& solutions) {
  std::vector<std::vector<std::string>> lines;
  std::stringstream all(solutions);
  std::string solution;
  while (std::getline(all, solution, ';')) {
    std::vector<std::string>& line = lines.emplace_back();
    std::stringstream words(solution);
    std::string word;
    while (words >> word) {
      if (const auto dot = word.rfind('.'); dot != std::string::npos) word.erase(0, dot + 1);
      while (!word.empty() && (word.back() == '+' || word.back() == '#')) word.pop_back();
      if (word.empty()) continue;
      for (char& c : word) {
        if (c == '*') c = 'x';
        if (c == '0') c = 'O';  // castling; no square is numbered 0
      }
      line.push_back(word);
    }
  }
  return lines;
}

// How a helpmate is solved for a text: with or without the fast search and
// its backward walk, the table's slots, the threads.
struct HelpSolveSetup {
  bool setPlay = true;
  bool fast = true;
  bool backward = true;
  std::size_t tableSlots = DefaultHelpTableSlots;
  int threads = 1;
};

// The whole solution text of a helpmate, by a solver made for it.
inline std::string SolveText(const Helpmate& row, const HelpSolveSetup& setup) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(row.fen, pos.board, nullptr)) << row.id;
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(row.stipulation, type)) << row.id;
  SolveOptions options{};
  SwitchOptionsToKind(options, type.kind);
  options[Option::SetPlay] = setup.setPlay ? 1 : 0;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  solver->search.helpFast.enabled = setup.fast;
  solver->search.helpFast.backwardEnabled = setup.backward;
  solver->search.helpFast.table.Resize(setup.tableSlots);
  solver->search.threads = setup.threads;
  SolveEnvironment env{pos, type, options, "", language, ui};
  return SolveEntry(*solver, env, type.moves);
}

inline std::string DiagramOf(const std::string& id) {
  for (const Helpmate& row : ReadHelpmates("helpmates-deep.tsv"))
    if (row.id == id) return row.fen;
  ADD_FAILURE() << id;
  return {};
}

// Calls visit(last, whiteToMove) on every position within `plies` moves of
// the one given whose side to move still has a king that cannot be taken.
template <typename Visit>
void VisitPositions(Position& pos, const Move& last, bool whiteToMove, int plies,
                    const Visit& visit) {
  MoveList list;
  const int status = whiteToMove ? GenerateWhiteMoves(pos, last.from, last.to, list)
                                 : GenerateBlackMoves(pos, last.from, last.to, list);
  if (status != 0) return;
  visit(last, whiteToMove);
  if (plies == 0) return;
  for (int i = 0; list.moves[i].from != 0; ++i) {
    const Move m = list.moves[i];
    MakeMove(pos, m);
    VisitPositions(pos, m, !whiteToMove, plies - 1, visit);
    UnmakeMove(pos, m);
  }
}

// Calls visit(last, pairsPlayed, line) after each black move of the diagram
// (pairsPlayed 0) and, below the first `deepBlack` of them, after each of
// the first `deepWhite` white answers and every black move that follows
// (pairsPlayed 1); `line` names the moves played.
template <typename Visit>
void VisitBlackWhiteBlack(Position& pos, int deepBlack, int deepWhite, const Visit& visit) {
  MoveList black;
  GenerateBlackMoves(pos, 0, 0, black);
  for (int i = 0; black.moves[i].from != 0; ++i) {
    const Move b = black.moves[i];
    MakeMove(pos, b);
    visit(b, 0, LongText(b));
    MoveList white;
    if (i < deepBlack && GenerateWhiteMoves(pos, b.from, b.to, white) == 0) {
      for (int j = 0; j < deepWhite && white.moves[j].from != 0; ++j) {
        const Move w = white.moves[j];
        MakeMove(pos, w);
        MoveList answers;
        if (GenerateBlackMoves(pos, w.from, w.to, answers) == 0) {
          for (int a = 0; answers.moves[a].from != 0; ++a) {
            const Move r = answers.moves[a];
            MakeMove(pos, r);
            visit(r, 1, LongText(b) + " " + LongText(w) + " " + LongText(r));
            UnmakeMove(pos, r);
          }
        }
        UnmakeMove(pos, w);
      }
    }
    UnmakeMove(pos, b);
  }
}

}  // namespace kv::test
