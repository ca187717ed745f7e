// The move count of the mating positions: it may only rule out what a plain
// walk confirms has no helpmate, and it must rule out enough to matter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/rules.h"
#include "help_walks.h"
#include "search_fixture.h"
#include "solver/help_bound.h"

namespace kv {
namespace {

using test::SearchWorld;

// Whether Black, to move, can help White mate at once.
bool PlainHelpMateAfterOneBlackMove(Position& pos, const Move& last) {
  MoveList black;
  if (GenerateBlackMoves(pos, last.from, last.to, black) != 0) return false;
  bool mate = false;
  for (int i = 0; !mate && black.moves[i].from != 0; ++i) {
    MakeMove(pos, black.moves[i]);
    mate = test::PlainHelpMate(pos, black.moves[i], 1) == HelpMate;
    UnmakeMove(pos, black.moves[i]);
  }
  return mate;
}

struct Tally {
  int mates = 0;     // positions with a helpmate, each kept by the bound
  int ruledOut = 0;  // positions the bound proved hopeless
};

// Every position within two moves of the diagram, Black to move: one white
// move left (White to move, or Black then White), and when `deeper` two
// white moves left after Black's first move.
Tally CheckNearDiagram(const std::string& id, const std::string& fen, bool deeper) {
  Tally tally;
  SearchWorld world(fen);
  Position& pos = world.pos;
  const auto check = [&](bool plain, int whiteMoves, int blackMoves, const Move& last) {
    const bool possible = HelpMatePossible(pos, whiteMoves, blackMoves);
    if (plain) {
      ++tally.mates;
      EXPECT_TRUE(possible) << id << " after " << test::LongText(last) << ", " << whiteMoves
                            << " white and " << blackMoves << " black moves";
    }
    if (!possible) ++tally.ruledOut;
  };
  test::VisitPositions(pos, Move{}, false, 2, [&](const Move& last, bool whiteToMove) {
    if (!whiteToMove) {
      check(PlainHelpMateAfterOneBlackMove(pos, last), 1, 1, last);
      return;
    }
    check(test::PlainHelpMate(pos, last, 1) == HelpMate, 1, 0, last);
    if (deeper) check(test::PlainHelpMate(pos, last, 2) == HelpMate, 2, 1, last);
  });
  return tally;
}

TEST(HelpMateBound, NeverRulesOutAHelpmateAPlainWalkFinds) {
  Tally total;
  const auto add = [&total](const Tally& tally) {
    total.mates += tally.mates;
    total.ruledOut += tally.ruledOut;
  };
  // The two-movers mate within these moves on their solutions' lines.
  for (const char* id : {"hm2_forsberg1935", "hm2_garai1989", "hm2_feather1975", "hm2_muller2009"})
    add(CheckNearDiagram(id, test::FindProblem(id).fen, true));
  EXPECT_GT(total.mates, 10);
  // White with a king, knights and pawns; then with a rook, bishops and a
  // pawn about to promote on both sides.
  for (const char* id : {"hm_ex1b", "hm_ex98", "hm_ex35", "hm_ex3b", "hm_ex13b", "hm_ex104"}) {
#ifdef NDEBUG
    const bool deeper = true;
#else
    // Without optimisation the two-move walks of the line pieces take long.
    const bool deeper = std::string(id) != "hm_ex104" && std::string(id) != "hm_ex13b";
#endif
    add(CheckNearDiagram(id, test::DiagramOf(id), deeper));
  }
  EXPECT_GT(total.ruledOut, 1000);
}

TEST(HelpMateBound, KeepsEveryPositionOfEveryKnownSolution) {
  int positions = 0;
  for (const test::Helpmate& row : test::ReadHelpmates("helpmates-deep.tsv")) {
    // Black begins, White mates: "h#3", not "h#3 W".
    if (row.stipulation.find(' ') != std::string::npos) continue;
    const int moves = std::atoi(row.stipulation.c_str() + 2);
    for (const std::vector<std::string>& line : test::SolutionLines(row.solutions)) {
      ASSERT_EQ(static_cast<int>(line.size()), 2 * moves) << row.id;
      SearchWorld world(row.fen);
      Position& pos = world.pos;
      Move last{};
      for (int ply = 0; ply < 2 * moves; ++ply) {
        const int white = moves - ply / 2;
        EXPECT_TRUE(HelpMatePossible(pos, white, white - ply % 2))
            << row.id << " before " << line[ply] << ", move " << ply;
        ++positions;
        MoveList list;
        if (ply % 2 == 0)
          GenerateBlackMoves(pos, last.from, last.to, list);
        else
          GenerateWhiteMoves(pos, last.from, last.to, list);
        Move next{};
        for (int i = 0; list.moves[i].from != 0; ++i)
          if (test::LongText(list.moves[i]) == line[ply]) next = list.moves[i];
        ASSERT_NE(next.from, 0) << row.id << ": no move " << line[ply];
        MakeMove(pos, next);
        last = next;
      }
    }
  }
  EXPECT_GT(positions, 450);
}

TEST(HelpMateBound, KnowsWhatAFewMenCanMate) {
  // A knight and a king never mate a bare king, however many moves.
  SearchWorld knight("8/8/8/4k3/8/8/8/4K1N1");
  EXPECT_FALSE(HelpMatePossible(knight.pos, 6, 6));
  // Behind two pawns the queen mates at once: Qd1-d8#.
  SearchWorld queen("7k/6pp/8/8/8/8/8/K2Q4");
  EXPECT_TRUE(HelpMatePossible(queen.pos, 1, 0));
  // With g7 free she cannot both check and cover it, nor can her king.
  SearchWorld flight("7k/7p/4n3/8/8/8/8/K2Q4");
  EXPECT_FALSE(HelpMatePossible(flight.pos, 1, 0));
  // Unless a black move fills g7 first: Se6-g7, then Qd1-d8.
  EXPECT_TRUE(HelpMatePossible(flight.pos, 1, 1));
  // The last move must give the check or uncover it: the rook on the
  // king's file checks only by moving, and then Sd5 cannot cover g8.
  SearchWorld file("7k/6pp/8/3N4/8/8/8/K6R");
  EXPECT_FALSE(HelpMatePossible(file.pos, 1, 0));
  // Uncovered by the bishop's move: Bd8 away, Ra8#.
  SearchWorld uncovered("R2B3k/6pp/8/8/8/8/8/K7");
  EXPECT_TRUE(HelpMatePossible(uncovered.pos, 1, 0));
  // Uncovered by taking en passant the pawn on the bishop's line (after
  // d7-d5, e5xd6 opens a2-g8).
  SearchWorld enPassant("5rkr/6pp/8/3pP3/8/8/B7/K7");
  EXPECT_TRUE(HelpMatePossible(enPassant.pos, 1, 0));
  // No white move left: nothing to mate with.
  EXPECT_FALSE(HelpMatePossible(queen.pos, 0, 3));
}

TEST(HelpMateBound, TheStalemateCountNeedsNoCheck) {
  // A bare king in the corner: the queen takes its squares without checking.
  SearchWorld corner("k7/8/1K6/8/8/8/8/6Q1");
  EXPECT_TRUE(HelpStalematePossible(corner.pos, 1, 0));
  // With the white king on c6 the squares a7 and b8 are free, and no one
  // white move (the knight far away) takes both.
  SearchWorld knight("k7/8/2K5/8/8/8/8/6N1");
  EXPECT_FALSE(HelpStalematePossible(knight.pos, 1, 0));
  // The mate count asks for a check, which a bare king cannot give.
  SearchWorld bare("k7/8/1K6/8/8/8/8/8");
  EXPECT_FALSE(HelpMatePossible(bare.pos, 1, 0));
}

// A move as the problem file writes it: from, to, the promotion letter.
std::string FileName(const Move& m) {
  std::string text{static_cast<char>('a' + m.from % 10 - 2),
                   static_cast<char>('0' + 10 - m.from / 10),
                   static_cast<char>('a' + m.to % 10 - 2), static_cast<char>('0' + 10 - m.to / 10)};
  if (m.placed != m.moved) text += " RQBSPK   KPSBQR"[m.placed];
  return text;
}

// The count never rules out a position on the way of a published
// helpstalemate: each position of each solution, with the moves left.
TEST(HelpMateBound, TheStalemateCountKeepsEveryPositionOfAHelpstalemate) {
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/stipulations.tsv");
  std::string line;
  std::getline(in, line);
  int positions = 0;
  while (std::getline(in, line)) {
    const std::vector<std::string> cells = test::TabFields(line);
    if (cells.size() < 7 || cells[2] != "h=" || cells[3] == "white") continue;
    std::stringstream solutions(cells[6]);
    std::string solution;
    while (std::getline(solutions, solution, ';')) {
      SearchWorld world(cells[4]);
      std::stringstream moves(solution);
      std::vector<std::string> names;
      for (std::string name; moves >> name;) names.push_back(name);
      const int whiteMoves = static_cast<int>(names.size()) / 2;
      Move last{};
      for (std::size_t i = 0; i < names.size(); ++i) {
        const bool white = i % 2 == 1;
        const int whiteLeft = whiteMoves - static_cast<int>(i / 2);
        const int blackLeft = white ? whiteLeft - 1 : whiteLeft;
        EXPECT_TRUE(HelpStalematePossible(world.pos, whiteLeft, blackLeft))
            << cells[0] << " before move " << i + 1;
        ++positions;
        MoveList list;
        if (white)
          GenerateWhiteMoves(world.pos, last.from, last.to, list);
        else
          GenerateBlackMoves(world.pos, last.from, last.to, list);
        Move found{};
        for (int m = 0; list.moves[m].from != 0; ++m) {
          const Move& move = list.moves[m];
          if (FileName(move) == names[i]) found = move;
        }
        ASSERT_NE(found.from, 0) << cells[0] << " " << names[i];
        MakeMove(world.pos, found);
        last = found;
      }
    }
  }
  EXPECT_GT(positions, 150);
}

}  // namespace
}  // namespace kv
