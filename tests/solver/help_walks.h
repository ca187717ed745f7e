// Helpers of the helpmate tests: the deep helpmates' data, a plain
// recursion the fast searches must agree with, and a walk over the
// positions near a diagram.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/rules.h"
#include "solver/help_fast.h"
#include "tab_fields.h"

namespace kv::test {

struct Helpmate {
  std::string id, stipulation, fen;
  double plainSeconds = 0;  // the independent solver's time without its fast mode
  std::string solutions;    // "1.Sg4-f2 Bf3-h5 2.… #;1.…", when the file has them
};

// The helpmates of a data file of tests/solver/data (id, stipulation, board
// first; the plain time in column 6 when the file has one).
inline std::vector<Helpmate> ReadHelpmates(const std::string& file) {
  std::vector<Helpmate> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/" + file);
  EXPECT_TRUE(in.good()) << file;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
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

}  // namespace kv::test
