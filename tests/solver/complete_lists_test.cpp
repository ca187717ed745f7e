// The result lists hold everything a position gives: more than nineteen
// keys of a cooked two-mover, more than nineteen mating continuations of a
// helpmate, more than a hundred variations of one analysis. Each list is
// checked against a plain count made move by move with the rules core.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "search_fixture.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

using test::LongText;
using test::SearchWorld;

// The legal moves of the side to move, in generation order.
std::vector<Move> LegalMoves(Position& pos, bool white) {
  MoveList list;
  std::vector<Move> legal;
  if (white ? GenerateWhiteMoves(pos, 0, 0, list) == -1 : GenerateBlackMoves(pos, 0, 0, list) == 1)
    return legal;
  for (int i = 0; list.moves[i].from != 0; ++i) {
    const Move& move = list.moves[i];
    MakeMove(pos, move);
    const bool attacked = white ? AttackedByBlack(pos, pos.whiteKingSquare)
                                : AttackedByWhite(pos, pos.blackKingSquare);
    UnmakeMove(pos, move);
    if (!attacked) legal.push_back(move);
  }
  return legal;
}

// White's moves that mate at once, as long texts.
std::set<std::string> MatingMoves(Position& pos) {
  std::set<std::string> mates;
  for (const Move& move : LegalMoves(pos, true)) {
    MakeMove(pos, move);
    const bool mate = AttackedByWhite(pos, pos.blackKingSquare) && LegalMoves(pos, false).empty();
    UnmakeMove(pos, move);
    if (mate) mates.insert(LongText(move));
  }
  return mates;
}

// White's first moves after which every black reply allows a mate (and
// Black has a reply): the keys of a mate in two with no mate in one.
std::set<std::string> KeysOfMateInTwo(Position& pos) {
  std::set<std::string> keys;
  for (const Move& key : LegalMoves(pos, true)) {
    MakeMove(pos, key);
    const std::vector<Move> replies = LegalMoves(pos, false);
    bool forced = !replies.empty();
    for (const Move& reply : replies) {
      MakeMove(pos, reply);
      forced = forced && !MatingMoves(pos).empty();
      UnmakeMove(pos, reply);
    }
    UnmakeMove(pos, key);
    if (forced) keys.insert(LongText(key));
  }
  return keys;
}

std::set<std::string> AsSet(const std::vector<std::string>& texts) {
  return {texts.begin(), texts.end()};
}

int Occurrences(const std::string& text, const std::string& word) {
  int count = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
    ++count;
  return count;
}

// Queen and rook against the bare king, as a two-mover: 25 keys, every one
// listed by the search and written by the driver.
TEST(CompleteLists, EveryKeyOfABadlyCookedTwoMover) {
  const char* fen = "8/8/6R1/k7/2K4Q/8/8/8";
  SearchWorld world(fen);
  ASSERT_TRUE(MatingMoves(world.pos).empty());
  const std::set<std::string> expected = KeysOfMateInTwo(world.pos);
  ASSERT_EQ(expected.size(), 25u);
  EXPECT_EQ(world.RootSearch(2, 0), 2);
  const std::vector<std::string> keys = world.Texts(world.state->KeyList(2));
  EXPECT_EQ(keys.size(), expected.size());
  EXPECT_EQ(AsSet(keys), expected);

  Position pos;
  ASSERT_TRUE(ParseFenBoard(fen, pos.board, nullptr));
  ProblemType type;
  ASSERT_TRUE(ParseProblemType("#2", type));
  SolveOptions options{};
  SwitchOptionsToKind(options, type.kind);
  options[Option::SetPlay] = 0;
  options[Option::TryRefutations] = 0;
  options[Option::ActualPlay] = 1;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, "", language, ui};
  const std::string text = SolveEntry(*solver, env, type.moves);
  EXPECT_NE(text.find("\r\n 25 solutions\r\n"), std::string::npos) << text;
  EXPECT_EQ(Occurrences(text, "Solution: 1. "), 25) << text;
}

// A helpmate position after 1.Ka1-b1 of the h#2 n5Q1/8/8/8/6N1/K7/8/k7:
// White has 21 moves after which Black can help mate, all of them keys.
TEST(CompleteLists, EveryContinuationOfAHelpmate) {
  SearchWorld world("n5Q1/8/8/8/6N1/K7/8/1k6");
  world.state->helpMode = HelpMode::WhiteBegins;
  EXPECT_EQ(world.RootSearch(2, EveryReply), 2);
  const std::vector<std::string> keys = world.Texts(world.state->KeyList(2));
  EXPECT_EQ(keys.size(), 21u);
  const std::set<std::string> set = AsSet(keys);
  EXPECT_EQ(set.size(), keys.size());
  // The two that a list of nineteen lost.
  EXPECT_TRUE(set.count("Sg4-f2"));
  EXPECT_TRUE(set.count("Sg4-h2"));
}

// A helpmate in which Black begins, analysed as the driver does (the null
// move, every reply): after each move of Black's king or bishop White has
// many moves that let Black help mate, far more than a hundred pairs in
// all. A reply after which White mates at once is a shorter solution and
// gets no pair here.
TEST(CompleteLists, EveryVariationOfOneAnalysis) {
  SearchWorld world("8/8/6R1/k7/2K4Q/8/8/7b");
  SearchState& state = *world.state;
  world.options[Option::Variations] = 1;
  world.options[Option::DualizedVariations] = 1;
  state.helpMode = HelpMode::BlackBegins;
  state.topMoves = 3;
  MakeMove(world.pos, NullMove);
  AnalyseMove(world.ctx, 3, NullMove, true);
  std::multiset<std::string> expected;
  for (const Move& reply : LegalMoves(world.pos, false)) {
    MakeMove(world.pos, reply);
    if (MatingMoves(world.pos).empty()) {
      for (const Move& answer : LegalMoves(world.pos, true)) {
        MakeMove(world.pos, answer);
        bool helps = false;
        for (const Move& second : LegalMoves(world.pos, false)) {
          MakeMove(world.pos, second);
          helps = helps || !MatingMoves(world.pos).empty();
          UnmakeMove(world.pos, second);
        }
        UnmakeMove(world.pos, answer);
        if (helps) expected.insert(LongText(reply) + " " + LongText(answer));
      }
    }
    UnmakeMove(world.pos, reply);
  }
  UnmakeMove(world.pos, NullMove);
  ASSERT_GT(expected.size(), 100u);
  std::multiset<std::string> found;
  const VariationRecords& lines = state.VariationList(3);
  for (int i = 0; i < lines.Count(); ++i)
    found.insert(LongText(lines.records[i].reply.move) + " " +
                 LongText(lines.records[i].continuation.move));
  EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace kv
