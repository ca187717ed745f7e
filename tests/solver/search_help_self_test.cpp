// Helpmates, selfmates and reflexmates: the searches under their modes, run
// as the solve driver runs them, on published problems of the checked set.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "search_fixture.h"

namespace kv {
namespace {

using test::CheckedProblem;
using test::LongText;
using test::SearchWorld;

std::set<std::string> SplitSolutions(const std::string& field) {
  std::set<std::string> solutions;
  std::string rest = field;
  while (!rest.empty()) {
    const std::size_t end = rest.find("; ");
    solutions.insert(rest.substr(0, end));
    rest = end == std::string::npos ? "" : rest.substr(end + 2);
  }
  return solutions;
}

// Walks the variations of level k as the driver writes them: each reply and
// White's answer, then the analysis of that answer one level lower, down to
// the mates. Collects every line in short notation.
void WalkSolutions(SearchWorld& world, int k, const std::string& prefix,
                   std::set<std::string>& out) {
  const VariationRecords lines = world.state->VariationList(k);
  for (int i = 0; lines.records[i].reply.move.from != 0; ++i) {
    const Move reply = lines.records[i].reply.move;
    const Move answer = lines.records[i].continuation.move;
    std::string text = prefix + world.ShortText(reply, false) + " ";
    MakeMove(world.pos, reply);
    text += world.ShortText(answer, true);
    MakeMove(world.pos, answer);
    if (k == 2) {
      out.insert(text);
    } else {
      AnalyseMove(world.ctx, k - 1, answer, world.state->helpMode != HelpMode::None);
      WalkSolutions(world, k - 1, text + " ", out);
    }
    UnmakeMove(world.pos, answer);
    UnmakeMove(world.pos, reply);
  }
}

// Black begins: the null move first, analysed with all refutations; its
// variations are Black's first moves with White's answers.
std::set<std::string> BlackBeginsSolutions(SearchWorld& world, int moves) {
  SearchState& state = *world.state;
  state.helpMode = HelpMode::BlackBegins;
  const int n = moves + 1;
  state.topMoves = n;
  MakeMove(world.pos, NullMove);
  AnalyseMove(world.ctx, n, NullMove, true);
  std::set<std::string> solutions;
  WalkSolutions(world, n, "", solutions);
  UnmakeMove(world.pos, NullMove);
  return solutions;
}

// White begins: a key search for White's first moves, then each key analysed.
std::set<std::string> WhiteBeginsSolutions(SearchWorld& world, int moves, HelpMode mode) {
  SearchState& state = *world.state;
  state.helpMode = mode;
  const int found = world.RootSearch(moves, EveryReply);
  std::set<std::string> solutions;
  if (found != moves) return solutions;
  const MoveRecords keys = state.KeyList(moves);
  for (int i = 0; keys.records[i].from != 0; ++i) {
    const Move key = keys.records[i];
    const std::string text = world.ShortText(key, true) + " ";
    MakeMove(world.pos, key);
    AnalyseMove(world.ctx, moves, key, false);
    WalkSolutions(world, moves, text, solutions);
    UnmakeMove(world.pos, key);
  }
  return solutions;
}

std::vector<CheckedProblem> ProblemsOf(const std::string& stipulation) {
  std::vector<CheckedProblem> rows;
  for (const CheckedProblem& row : test::LoadCheckedProblems())
    if (row.stipulation == stipulation) rows.push_back(row);
  return rows;
}

TEST(Helpmate, EverySolutionOfTheTwoMoversIsFound) {
  for (const CheckedProblem& problem : ProblemsOf("h#2")) {
    SearchWorld world(problem.fen);
    EXPECT_EQ(BlackBeginsSolutions(world, 2), SplitSolutions(problem.helpSolutions))
        << problem.id << " (" << problem.author << ", " << problem.source << ")";
  }
}

TEST(Helpmate, EverySolutionOfTheThreeMoversIsFound) {
  std::vector<CheckedProblem> problems = ProblemsOf("h#3");
#ifndef NDEBUG
  // The others take seconds without optimisation.
  problems.erase(std::remove_if(problems.begin(), problems.end(),
                                [](const CheckedProblem& p) { return p.id != "hm3_turner1995"; }),
                 problems.end());
#endif
  for (const CheckedProblem& problem : problems) {
    SearchWorld world(problem.fen);
    EXPECT_EQ(BlackBeginsSolutions(world, 3), SplitSolutions(problem.helpSolutions)) << problem.id;
  }
}

TEST(Helpmate, RememberedPositionsGiveTheSameSolutions) {
  // The memo of positions already searched may only save time: a warm memo
  // (the same state again) and one that remembers almost nothing (a single
  // slot) give the solutions of a fresh search.
  for (const CheckedProblem& problem : ProblemsOf("h#2")) {
    SearchWorld world(problem.fen);
    const std::set<std::string> fresh = BlackBeginsSolutions(world, 2);
    EXPECT_EQ(BlackBeginsSolutions(world, 2), fresh) << problem.id;
    SearchWorld forgetful(problem.fen);
    forgetful.state->helpMemo.assign(1, 0);
    EXPECT_EQ(BlackBeginsSolutions(forgetful, 2), fresh) << problem.id;
  }
#ifdef NDEBUG
  const CheckedProblem problem = test::FindProblem("hm3_jonsson2009");
  SearchWorld forgetful(problem.fen);
  forgetful.state->helpMemo.assign(1, 0);
  EXPECT_EQ(BlackBeginsSolutions(forgetful, 3), SplitSolutions(problem.helpSolutions));
#endif
}

TEST(Helpmate, WhiteBeginsFindsEverySolution) {
#ifdef NDEBUG
  for (const CheckedProblem& problem : ProblemsOf("h#3 W")) {
    SearchWorld world(problem.fen);
    EXPECT_EQ(WhiteBeginsSolutions(world, 3, HelpMode::WhiteBegins),
              SplitSolutions(problem.helpSolutions))
        << problem.id;
  }
#endif
  // Forsberg 1935, h#2, played with White passing first: the set play of a
  // helpmate is the White-begins search of the same number of white moves.
  SearchWorld world(test::FindProblem("hm2_forsberg1935").fen);
  const std::set<std::string> setPlay = WhiteBeginsSolutions(world, 2, HelpMode::SetPlayRun);
  for (const std::string& line : setPlay) EXPECT_EQ(std::count(line.begin(), line.end(), ' '), 2);
}

TEST(Helpmate, SolutionsSharingWhitesFirstMoveAreAllKept) {
  // White Kb6, Rh1; Black Ka8, g7. With White beginning, 1.Rh2 is answered
  // by Kb8, g6 and g5, each allowing 2.Rh8#: three solutions that share
  // White's first move. The analysis of that move keeps all of them.
  SearchWorld world("k7/6p1/1K6/8/8/8/8/7R");
  world.state->helpMode = HelpMode::WhiteBegins;
  world.state->topMoves = 2;
  const Move waiting{99, 89, 89, WhiteRook, WhiteRook, 0};  // Rh1-h2
  MakeMove(world.pos, waiting);
  AnalyseMove(world.ctx, 2, waiting, false);
  std::set<std::string> lines;
  const VariationRecords& list = world.state->VariationList(2);
  for (int i = 0; list.records[i].reply.move.from != 0; ++i)
    lines.insert(LongText(list.records[i].reply.move) + " " +
                 LongText(list.records[i].continuation.move));
  UnmakeMove(world.pos, waiting);
  EXPECT_EQ(lines, (std::set<std::string>{"Ka8-b8 Rh2-h8", "g7-g6 Rh2-h8", "g7-g5 Rh2-h8"}));
}

TEST(Selfmate, KeysOfSelfAndReflexMates) {
  std::vector<CheckedProblem> problems = ProblemsOf("s#2");
  for (const CheckedProblem& problem : ProblemsOf("r#2")) problems.push_back(problem);
#ifdef NDEBUG
  for (const CheckedProblem& problem : ProblemsOf("s#3")) problems.push_back(problem);
#else
  problems.push_back(ProblemsOf("s#3").front());
#endif
  for (const CheckedProblem& problem : problems) {
    SearchWorld world(problem.fen);
    world.state->selfMode = problem.stipulation[0] == 'r' ? SelfMode::Reflex : SelfMode::Self;
    const int n = problem.stipulation[2] - '0' + 1;  // Black's forced mate is one more white move
    EXPECT_EQ(world.RootSearch(n, 0), n) << problem.id;
    EXPECT_EQ(world.Texts(world.state->KeyList(n)), std::vector<std::string>{problem.key})
        << problem.id << " (" << problem.author << ", " << problem.source << ")";
  }
}

TEST(Selfmate, KeyAnalysisEndsWithBlacksForcedMates) {
  // Argunow 1999, s#2: 1.Se6+! Kf6 2.exf8=S Sa3#, 1...Kxh8 2.exf8=R Sa3#.
  SearchWorld world(test::FindProblem("sm2_argunow1999").fen);
  world.state->selfMode = SelfMode::Self;
  world.state->topMoves = 3;
  const Move key = world.FindMove("Sc5-e6", true);
  ASSERT_NE(key.from, 0);
  MakeMove(world.pos, key);
  const int flags = AnalyseMove(world.ctx, 3, key, false);
  EXPECT_TRUE(flags & AnalysisCheck);
  const VariationRecords lines = world.state->VariationList(3);
  std::vector<std::string> texts;
  for (int i = 0; lines.records[i].reply.move.from != 0; ++i)
    texts.push_back(LongText(lines.records[i].reply.move) + " " +
                    LongText(lines.records[i].continuation.move));
  EXPECT_EQ(texts, (std::vector<std::string>{"Kg7-f6 e7xf8=S", "Kg7xh8 e7xf8=R"}));
  // The last white move: Black's forced mates are its threat, nothing else.
  const Move reply = lines.records[0].reply.move;
  const Move answer = lines.records[0].continuation.move;
  MakeMove(world.pos, reply);
  MakeMove(world.pos, answer);
  EXPECT_EQ(AnalyseMove(world.ctx, 2, answer, false), AnalysisThreatUnit);
  EXPECT_EQ(world.Texts(world.state->ThreatList(2)), std::vector<std::string>{"Sb1-a3"});
  EXPECT_TRUE(world.state->VariationList(2).Empty());
  UnmakeMove(world.pos, answer);
  UnmakeMove(world.pos, reply);
  UnmakeMove(world.pos, key);
}

TEST(Selfmate, BlackMustMateDiffersBetweenSelfAndReflex) {
  // Black to move: Ra1 mates, every other move does not.
  SearchWorld world("r7/8/8/4k3/8/8/6PP/7K");
  MoveList* list = world.state->LevelList(2);
  world.state->selfMode = SelfMode::Reflex;
  EXPECT_EQ(BlackMustMate(world.ctx, 0, 0, list), 1);
  EXPECT_EQ(world.Texts(world.state->KeyList(1)), std::vector<std::string>{"Ra8-a1"});
  world.state->selfMode = SelfMode::Self;
  EXPECT_EQ(BlackMustMate(world.ctx, 0, 0, list), 0);
  // White's king capturable: White's last move was illegal.
  SearchWorld illegal("8/8/8/4k3/8/8/6PP/r6K");
  illegal.state->selfMode = SelfMode::Self;
  EXPECT_EQ(BlackMustMate(illegal.ctx, 0, 0, illegal.state->LevelList(2)), -1);
}

TEST(Selfmate, BlackMatingAtOnceSucceedsEarlyAndAWhiteMateFailsAReflexmate) {
  // White Kh1 is mated by Qg2 (guarded by Kg3): success one move early.
  SearchWorld mated("8/8/8/8/8/6k1/6q1/7K");
  mated.state->selfMode = SelfMode::Self;
  MoveList* list = mated.state->LevelList(2);
  GenerateWhiteMoves(mated.pos, 0, 0, *list);
  EXPECT_EQ(WhiteIsMated(mated.ctx, list), 1);
  EXPECT_EQ(SearchMateInTwo(mated.ctx, 0, 0, list, false, NoTries), 1);
  mated.state->selfMode = SelfMode::Reflex;
  EXPECT_EQ(SearchMateInTwo(mated.ctx, 0, 0, list, false, NoTries), 1);
  // White can mate at once: a reflexmate line fails (-2), a selfmate goes on.
  SearchWorld canMate("k7/8/1K6/8/8/8/7Q/2R5");
  canMate.state->selfMode = SelfMode::Reflex;
  EXPECT_EQ(SearchMateInTwo(canMate.ctx, 0, 0, canMate.state->LevelList(2), false, NoTries), -2);
  canMate.state->selfMode = SelfMode::Self;
  EXPECT_NE(SearchMateInTwo(canMate.ctx, 0, 0, canMate.state->LevelList(2), false, NoTries), -2);
  // A white king in check that can step away is not mated.
  SearchWorld escapes("8/8/8/8/8/8/6q1/7K");
  MoveList* moves = escapes.state->LevelList(2);
  GenerateWhiteMoves(escapes.pos, 0, 0, *moves);
  EXPECT_EQ(WhiteIsMated(escapes.ctx, moves), 0);
}

// Refutations of a first move in the r#2 of Manolas 2012, analysed with all
// refutations as the tries are.
std::vector<std::string> ReflexRefutations(const std::string& moveText) {
  SearchWorld world(test::FindProblem("rm2_manolas2012").fen);
  world.state->selfMode = SelfMode::Reflex;
  world.state->topMoves = 3;
  world.state->optionGroup = OptionGroup::Tries;
  const Move move = world.FindMove(moveText, true);
  EXPECT_NE(move.from, 0) << moveText;
  MakeMove(world.pos, move);
  AnalyseMove(world.ctx, 3, move, true);
  UnmakeMove(world.pos, move);
  std::vector<std::string> refutations;
  const RefutationRecords& list = world.state->RefutationList(3);
  for (int i = 0; list.records[i].move.from != 0; ++i)
    refutations.push_back(LongText(list.records[i].move));
  return refutations;
}

TEST(Reflexmate, TriesHaveTheirRefutations) {
  // The checked tries: 1.Sb5+? cxb5! and 1.Sd5+? cxd5!.
  EXPECT_EQ(ReflexRefutations("Sc7-b5"), std::vector<std::string>{"c6xb5"});
  EXPECT_EQ(ReflexRefutations("Sc7-d5"), std::vector<std::string>{"c6xd5"});
  // After 1.Rxd7 c5 White could mate at once, so White must and the
  // reflexmate fails: the reply defends and is listed among the refutations.
  const std::vector<std::string> refutations = ReflexRefutations("Rd6xd7");
  EXPECT_NE(std::find(refutations.begin(), refutations.end(), "c6-c5"), refutations.end())
      << testing::PrintToString(refutations);
}

}  // namespace
}  // namespace kv
