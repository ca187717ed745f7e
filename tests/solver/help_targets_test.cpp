// The targets of a helpmate (and helpstalemate): every last position a
// known solution reaches must match one of the targets made on its way
// there, with the moves then left; a missing target would be a lost
// solution.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/goals.h"
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

// Plays `line` (texts as `textOf` writes them) from `fen`, the first move
// White's when `whiteBegins`, and checks that its last position matches a
// target made from each position on the way with the moves then left.
// Returns the number of positions checked.
template <typename TextOf>
int CheckLine(const std::string& id, const std::string& fen, bool whiteBegins,
              const std::vector<std::string>& line, HelpGoal goal, const TextOf& textOf) {
  SearchWorld world(fen);
  Position& pos = world.pos;
  std::vector<Move> played;
  Move last{};
  for (std::size_t ply = 0; ply < line.size(); ++ply) {
    MoveList list;
    if ((ply % 2 == 0) == whiteBegins)
      GenerateWhiteMoves(pos, last.from, last.to, list);
    else
      GenerateBlackMoves(pos, last.from, last.to, list);
    last = Move{};
    for (int i = 0; list.moves[i].from != 0; ++i)
      if (textOf(list.moves[i]) == line[ply]) last = list.moves[i];
    if (last.from == 0) {
      ADD_FAILURE() << id << ": no move " << line[ply];
      return 0;
    }
    played.push_back(last);
    MakeMove(pos, last);
  }
  if (goal == HelpGoal::Mate)
    EXPECT_EQ(AttackedByWhite(pos, pos.blackKingSquare), 100) << id;
  else
    EXPECT_TRUE(BlackIsStalemated(pos, last.from, last.to)) << id;
  const Position end = pos;
  int checked = 0;
  for (int ply = static_cast<int>(played.size()) - 1; ply >= 0; --ply) {
    UnmakeMove(pos, played[ply]);
    int white = 0;
    int black = 0;
    for (std::size_t later = ply; later < played.size(); ++later)
      ++(played[later].moved > OffBoard ? black : white);
    HelpTargets targets;
    MakeHelpTargets(pos, white, black, goal, 1000000, targets);
    EXPECT_TRUE(targets.complete) << id;
    const std::vector<int> squares =
        SquaresAfter(targets, std::vector<Move>(played.begin() + ply, played.end()));
    bool matched = false;
    for (const HelpTarget& target : targets.targets)
      matched = matched || MatchesHelpTarget(end, targets, target, squares);
    EXPECT_TRUE(matched) << id << ": the last position is no target of move " << ply << " ("
                         << targets.targets.size() << " targets)";
    ++checked;
  }
  return checked;
}

TEST(HelpTargets, EveryKnownMateMatchesATargetMadeOnTheWayToIt) {
  int lines = 0;
  int checked = 0;
  for (const test::Helpmate& row : test::ReadHelpmates("helpmates-deep.tsv")) {
    const bool whiteBegins = row.stipulation.find(' ') != std::string::npos;  // "h#4 W"
    const int moves = std::atoi(row.stipulation.c_str() + 2);
    for (const std::vector<std::string>& line : test::SolutionLines(row.solutions)) {
      ASSERT_EQ(static_cast<int>(line.size()), whiteBegins ? 2 * moves - 1 : 2 * moves) << row.id;
      ++lines;
      checked += CheckLine(row.id, row.fen, whiteBegins, line, HelpGoal::Mate, test::LongText);
    }
  }
  EXPECT_EQ(lines, 77);
  EXPECT_EQ(checked, 506);
}

// A move as the helpstalemates' data writes it: from, to, promotion letter.
std::string SquaresText(const Move& move) {
  static constexpr char kLetters[] = " RQBSPK   KPSBQR";
  const auto square = [](int cell) {
    return std::string{static_cast<char>('a' + cell % 10 - 2),
                       static_cast<char>('0' + 10 - cell / 10)};
  };
  std::string text = square(move.from) + square(move.to);
  if (move.placed != move.moved) text += kLetters[move.placed];
  return text;
}

TEST(HelpTargets, EveryKnownStalemateMatchesAStalemateTargetMadeOnTheWayToIt) {
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/helpstalemates.tsv");
  ASSERT_TRUE(in.good());
  std::string text;
  std::getline(in, text);  // header
  int lines = 0;
  int checked = 0;
  while (std::getline(in, text)) {
    // id, stipulation, who begins, board, solutions
    const std::vector<std::string> cells = test::TabFields(text);
    ASSERT_EQ(cells.size(), 5u) << text;
    std::stringstream solutions(cells[4]);
    std::string solution;
    while (std::getline(solutions, solution, ';')) {
      std::stringstream words(solution);
      std::vector<std::string> line;
      for (std::string word; words >> word;) line.push_back(word);
      ++lines;
      checked += CheckLine(cells[0], cells[3], cells[2] == "white", line, HelpGoal::Stalemate,
                           SquaresText);
    }
  }
  EXPECT_EQ(lines, 37);
  EXPECT_EQ(checked, 298);
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
