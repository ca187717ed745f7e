// The targets of a helpmate: every mating position a known solution reaches
// must match one of the targets made on its way there, with the moves then
// left; a missing target would be a lost solution.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/rules.h"
#include "core/tables.h"
#include "help_walks.h"
#include "search_fixture.h"
#include "solver/help_targets.h"

namespace kv {
namespace {

using test::SearchWorld;

// Which square each man of `targets` stands on after `moves` were played
// from the position the targets were made from (0 for a man taken).
std::vector<int> SquaresAfter(const HelpTargets& targets, const std::vector<Move>& moves) {
  std::vector<int> squareOf;
  for (const HelpTargets::Man& man : targets.men) squareOf.push_back(man.square);
  const auto moveMan = [&squareOf](int from, int to) {
    for (int& square : squareOf)
      if (square == from) square = to;
  };
  for (const Move& move : moves) {
    if (move.captured != Empty)
      for (int& square : squareOf)
        if (square == move.capture) square = 0;
    moveMan(move.from, move.to);
    const bool king = move.moved == WhiteKing || move.moved == BlackKing;
    if (king && move.to - move.from == 2) moveMan(move.from + 3, move.from + 1);
    if (king && move.to - move.from == -2) moveMan(move.from - 4, move.from - 1);
  }
  return squareOf;
}

// The move of `list` written `text`, or a null record.
Move FindMove(const MoveList& list, const std::string& text) {
  for (int i = 0; list.moves[i].from != 0; ++i)
    if (test::LongText(list.moves[i]) == text) return list.moves[i];
  return Move{};
}

TEST(HelpTargets, EveryKnownMateMatchesATargetMadeOnTheWayToIt) {
  int lines = 0;
  int checked = 0;
  for (const test::Helpmate& row : test::ReadHelpmates("helpmates-deep.tsv")) {
    const bool whiteBegins = row.stipulation.find(' ') != std::string::npos;  // "h#4 W"
    const int moves = std::atoi(row.stipulation.c_str() + 2);
    for (const std::vector<std::string>& line : test::SolutionLines(row.solutions)) {
      const int plies = whiteBegins ? 2 * moves - 1 : 2 * moves;
      ASSERT_EQ(static_cast<int>(line.size()), plies) << row.id;
      ++lines;
      // Play the whole line, keeping its moves.
      SearchWorld world(row.fen);
      Position& pos = world.pos;
      std::vector<Move> played;
      Move last{};
      for (int ply = 0; ply < plies; ++ply) {
        const bool white = (ply % 2 == 0) == whiteBegins;
        MoveList list;
        if (white)
          GenerateWhiteMoves(pos, last.from, last.to, list);
        else
          GenerateBlackMoves(pos, last.from, last.to, list);
        last = FindMove(list, line[ply]);
        ASSERT_NE(last.from, 0) << row.id << ": no move " << line[ply];
        played.push_back(last);
        MakeMove(pos, last);
      }
      ASSERT_EQ(AttackedByWhite(pos, pos.blackKingSquare), 100) << row.id;
      const Position mate = pos;
      // From each position of the line, with the moves left from there.
      for (int ply = plies - 1; ply >= 0; --ply) {
        UnmakeMove(pos, played[ply]);
        int white = 0;
        int black = 0;
        for (int later = ply; later < plies; ++later)
          ++(played[later].moved > OffBoard ? black : white);
        HelpTargets targets;
        MakeHelpTargets(pos, white, black, HelpGoal::Mate, 1000000, targets);
        ASSERT_TRUE(targets.complete) << row.id;
        const std::vector<int> squares =
            SquaresAfter(targets, std::vector<Move>(played.begin() + ply, played.end()));
        bool matched = false;
        for (const HelpTarget& target : targets.targets)
          matched = matched || MatchesHelpTarget(mate, targets, target, squares);
        EXPECT_TRUE(matched) << row.id << ": the mate of line " << lines << " is no target of move "
                             << ply << " (" << targets.targets.size() << " targets)";
        ++checked;
      }
    }
  }
  EXPECT_EQ(lines, 77);
  EXPECT_EQ(checked, 506);
}

TEST(HelpTargets, NoneWhereWhiteCannotCoverTheFlights) {
  // A knight and a king never mate a bare king, however many moves.
  SearchWorld knight("8/8/8/4k3/8/8/8/4K1N1");
  HelpTargets targets;
  MakeHelpTargets(knight.pos, 6, 6, HelpGoal::Mate, 1000, targets);
  EXPECT_TRUE(targets.complete);
  EXPECT_TRUE(targets.targets.empty());
  // Behind two pawns the queen mates at once from d8 (or checks from
  // e8..g8 with g7 and h7 blocked).
  SearchWorld queen("7k/6pp/8/8/8/8/8/K2Q4");
  MakeHelpTargets(queen.pos, 1, 0, HelpGoal::Mate, 1000, targets);
  ASSERT_EQ(targets.targets.size(), 1u);
  const HelpTarget& mate = targets.targets[0];
  EXPECT_EQ(mate.kingSquare, 7);  // h8
  EXPECT_EQ(mate.whiteCount, 1);
  const HelpPlace& checker = targets.places[mate.white[0]];
  EXPECT_EQ(targets.men[checker.man].code, WhiteQueen);
  EXPECT_NE(checker.squares & SquareBit[25], 0u);  // d8
  EXPECT_EQ(mate.blackCount, 3);                   // the king and the two pawns
  // A limit below the targets there are marks the list incomplete.
  SearchWorld many("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R");
  MakeHelpTargets(many.pos, 5, 5, HelpGoal::Mate, 10, targets);
  EXPECT_FALSE(targets.complete);
  EXPECT_EQ(targets.targets.size(), 10u);
}

TEST(HelpTargets, CastlingAndPromotionCountAsTheirMoves) {
  constexpr int castlings = 1 | 2 | 4 | 8;
  // The king castles to g1 in one move, and the rook reaches f1 with it.
  EXPECT_EQ(HelpPartDistance(WhiteKing, 60, EndShape::AsItIs, 62, castlings), 1);
  EXPECT_EQ(HelpPartDistance(WhiteKing, 60, EndShape::AsItIs, 55, castlings), 2);  // h2 by g1
  EXPECT_EQ(HelpPartDistance(WhiteKing, 60, EndShape::AsItIs, 55, 0), 3);
  EXPECT_EQ(HelpPartDistance(WhiteRook, 63, EndShape::AsItIs, 61, castlings), 0);
  EXPECT_EQ(HelpPartDistance(WhiteRook, 63, EndShape::AsItIs, 5, castlings), 1);   // f8 by f1
  EXPECT_EQ(HelpPartDistance(BlackRook, 0, EndShape::AnyShape, 3, castlings), 0);  // d8 by O-O-O
  EXPECT_EQ(HelpPartDistance(BlackKing, 4, EndShape::AsItIs, 1, castlings), 2);    // b8 by c8
  // A pawn on b7 promotes in one move and then stands on b8 as a queen or
  // reaches h2 as one in two; as a pawn it never stands on the last row.
  EXPECT_EQ(HelpPartDistance(WhitePawn, 9, EndShape::PromotedLine, 1, 0), 1);
  EXPECT_EQ(HelpPartDistance(WhitePawn, 9, EndShape::PromotedLine, 55, 0), 2);
  EXPECT_GE(HelpPartDistance(WhitePawn, 9, EndShape::AsItIs, 1, 0), 64);
  EXPECT_GE(HelpPartDistance(WhiteKnight, 9, EndShape::PromotedLine, 1, 0), 64);
  // A black pawn on e2 blocks e1 by promoting, or d1 by taking on it.
  EXPECT_EQ(HelpPartDistance(BlackPawn, 52, EndShape::AnyShape, 60, 0), 1);
  EXPECT_EQ(HelpPartDistance(BlackPawn, 52, EndShape::AnyShape, 59, 0), 1);
}

}  // namespace
}  // namespace kv
