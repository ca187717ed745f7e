// Direct mates: keys, tries, threats and variations of published problems
// (tests/solver/data/search_problems.tsv, checked with an independent
// solver), and the counting rules of the search.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "search_fixture.h"
#include "solver/search_internal.h"

namespace kv {
namespace {

using test::CheckedProblem;
using test::LoadCheckedProblems;
using test::LongText;
using test::SearchWorld;

std::vector<CheckedProblem> ProblemsOf(const std::string& stipulation) {
  std::vector<CheckedProblem> rows;
  for (const CheckedProblem& row : LoadCheckedProblems())
    if (row.stipulation == stipulation) rows.push_back(row);
  return rows;
}

// The variations of VariationList(k) as "reply continuation" texts.
std::vector<std::string> VariationTexts(const SearchState& state, int k) {
  std::vector<std::string> texts;
  const VariationRecords& lines = state.VariationList(k);
  texts.reserve(static_cast<std::size_t>(lines.Count()));
  for (int i = 0; i < lines.Count(); ++i)
    texts.push_back(LongText(lines.records[i].reply.move) + " " +
                    LongText(lines.records[i].continuation.move));
  return texts;
}

std::vector<std::string> RefutationTexts(const SearchState& state, int k) {
  std::vector<std::string> texts;
  const RefutationRecords& list = state.RefutationList(k);
  for (int i = 0; i < ListedRecords && list.records[i].move.from != 0; ++i)
    texts.push_back(LongText(list.records[i].move));
  return texts;
}

// Finds a white move of the diagram by its long text.
Move WhiteMove(SearchWorld& world, const std::string& text) {
  const Move move = world.FindMove(text, true);
  EXPECT_NE(move.from, 0) << "no move " << text;
  return move;
}

// Plays `move` and analyses it as the driver does for a first move.
int Analyse(SearchWorld& world, int k, const Move& move, bool allRefutations) {
  world.state->topMoves = k;
  MakeMove(world.pos, move);
  const int flags = AnalyseMove(world.ctx, k, move, allRefutations);
  UnmakeMove(world.pos, move);
  return flags;
}

TEST(DirectSearch, FindsTheKeyOfEveryTwoAndThreeMover) {
  for (const char* stipulation : {"#2", "#3"}) {
    const int n = stipulation[1] - '0';
    for (const CheckedProblem& problem : ProblemsOf(stipulation)) {
      SearchWorld world(problem.fen);
      EXPECT_EQ(world.RootSearch(n, 0), n) << problem.id;
      EXPECT_EQ(world.Texts(world.state->KeyList(n)), std::vector<std::string>{problem.key})
          << problem.id << " (" << problem.author << ", " << problem.source << ")";
    }
  }
}

TEST(DirectSearch, FindsTheKeyOfFourAndFiveMovers) {
  std::vector<CheckedProblem> problems = ProblemsOf("#4");
#ifdef NDEBUG
  // The five-mover takes seconds without optimisation.
  for (const CheckedProblem& problem : ProblemsOf("#5")) problems.push_back(problem);
#endif
  for (const CheckedProblem& problem : problems) {
    const int n = problem.stipulation[1] - '0';
    SearchWorld world(problem.fen);
    EXPECT_EQ(world.RootSearch(n, 0), n) << problem.id;
    EXPECT_EQ(world.Texts(world.state->KeyList(n)), std::vector<std::string>{problem.key})
        << problem.id;
  }
}

// The checked tries are the moves refuted by exactly one reply. Ours are the
// same with one refutation allowed, except that a quiet move with a single
// legal reply that threatens nothing is no try, and that the promotions of
// one pawn refute as one.
TEST(DirectSearch, TriesOfTwoMoversMatchTheCheckedOnes) {
  for (const CheckedProblem& problem : ProblemsOf("#2")) {
    SearchWorld world(problem.fen);
    ASSERT_EQ(world.RootSearch(2, 1), 2) << problem.id;
    std::set<std::string> found;
    for (const std::string& text : world.Texts(world.state->TryList(2))) found.insert(text);
    std::set<std::string> expected;
    std::string rest = problem.tries;
    while (!rest.empty()) {
      const std::size_t end = rest.find("; ");
      const std::string item = rest.substr(0, end);
      expected.insert(item.substr(0, item.find(':')));
      rest = end == std::string::npos ? "" : rest.substr(end + 2);
    }
    for (const std::string& tryText : found) {
      const Move move = WhiteMove(world, tryText);
      world.state->optionGroup = OptionGroup::Tries;
      Analyse(world, 2, move, true);
      const RefutationRecords& list = world.state->RefutationList(2);
      const std::vector<std::string> refutations = RefutationTexts(*world.state, 2);
      ASSERT_FALSE(refutations.empty()) << problem.id << " " << tryText;
      if (expected.count(tryText) != 0) {
        // The checked refutation, found by the analysis.
        ASSERT_EQ(refutations.size(), 1u) << problem.id << " " << tryText;
        EXPECT_NE(problem.tries.find(tryText + ":" + refutations[0]), std::string::npos)
            << problem.id << " " << tryText << " but " << refutations[0];
      } else {
        // Ours only: refuted by the promotions of one pawn, which count as one.
        for (int r = 0; r < list.Count(); ++r) {
          EXPECT_TRUE(IsPromotion(list.records[r].move)) << problem.id << " " << tryText;
          EXPECT_EQ(list.records[r].move.from, list.records[0].move.from) << problem.id;
        }
        expected.insert(tryText);
      }
    }
    // Checked only: quiet moves with a single legal reply and no threat.
    for (const std::string& tryText : std::set<std::string>(expected)) {
      if (found.count(tryText) != 0) continue;
      const Move move = WhiteMove(world, tryText);
      EXPECT_EQ(Analyse(world, 2, move, true) & ~AnalysisParried, AnalysisHasReply)
          << problem.id << " " << tryText;
      MakeMove(world.pos, move);
      MoveList replies;
      GenerateBlackMoves(world.pos, move.from, move.to, replies);
      int legal = 0;
      for (int i = 0; replies.moves[i].from != 0; ++i)
        legal += world.LegalAfter(replies.moves[i], false);
      UnmakeMove(world.pos, move);
      EXPECT_EQ(legal, 1) << problem.id << " " << tryText;
      expected.erase(tryText);
    }
    EXPECT_EQ(found, expected) << problem.id;
  }
}

// The search and the analysis agree on how many replies refute each first
// move: keys none, tries 1..limit, the rest more (or a lone reply).
TEST(DirectSearch, TryLimitAgreesWithTheRefutationsOfTheAnalysis) {
  for (const char* id : {"dm2_planck1884", "dm2_touw1984", "dm2_volf1905", "dm2_tura1962"}) {
    const CheckedProblem problem = test::FindProblem(id);
    for (int limit = 1; limit <= 3; ++limit) {
      SearchWorld world(problem.fen);
      ASSERT_EQ(world.RootSearch(2, limit), 2) << id;
      const std::vector<std::string> keys = world.Texts(world.state->KeyList(2));
      const std::vector<std::string> tries = world.Texts(world.state->TryList(2));
      MoveList first;
      GenerateWhiteMoves(world.pos, 0, 0, first);
      for (int i = 0; first.moves[i].from != 0; ++i) {
        const Move move = first.moves[i];
        if (!world.LegalAfter(move, true)) continue;
        const int flags = Analyse(world, 2, move, true);
        const RefutationRecords& list = world.state->RefutationList(2);
        const int refuted = list.Count();
        bool promotions = false;
        for (int r = 0; r < refuted; ++r) promotions |= IsPromotion(list.records[r].move);
        if (promotions) continue;
        const std::string text = LongText(move);
        const bool isKey = std::count(keys.begin(), keys.end(), text) > 0;
        const bool isTry = std::count(tries.begin(), tries.end(), text) > 0;
        EXPECT_EQ(isKey, refuted == 0 && (flags & AnalysisHasReply)) << id << " " << text;
        if (refuted > limit) {
          EXPECT_FALSE(isTry) << id << " limit " << limit << " " << text;
        }
        if (isTry) {
          EXPECT_TRUE(refuted >= 1 && refuted <= limit) << id << " " << text;
        }
      }
    }
  }
}

TEST(DirectSearch, MateInOneOfATwoMoverListsEveryMate) {
  // White Kb6, Qh2, Rc1; Black Ka8: Qh8 and Rc8 both mate at once.
  SearchWorld world("k7/8/1K6/8/8/8/7Q/2R5");
  EXPECT_EQ(world.RootSearch(2, 1), 1);
  const std::vector<std::string> mates = world.Texts(world.state->KeyList(1));
  EXPECT_NE(std::find(mates.begin(), mates.end(), "Qh2-h8"), mates.end());
  EXPECT_NE(std::find(mates.begin(), mates.end(), "Rc1-c8"), mates.end());
  for (int i = 0; world.state->KeyList(1).records[i].from != 0; ++i) {
    world.pos.probeMove = world.state->KeyList(1).records[i];
    EXPECT_EQ(TestMateMove(world.pos), 100) << mates[i];
  }
}

TEST(DirectSearch, ShortMateOfAThreeMoverListsEveryShortKey) {
  // The same mate in one stated as a three-mover: the length found is 1 and
  // every mate is listed, not only the first.
  SearchWorld world("k7/8/1K6/8/8/8/7Q/2R5");
  EXPECT_EQ(world.RootSearch(3, 0), 1);
  const std::vector<std::string> mates = world.Texts(world.state->KeyList(1));
  EXPECT_GE(mates.size(), 2u);
  // A two-mover stated as a three-mover returns 2 with its key.
  const CheckedProblem planck = test::FindProblem("dm2_planck1884");
  SearchWorld two(planck.fen);
  EXPECT_EQ(two.RootSearch(3, 0), 2);
  EXPECT_EQ(two.Texts(two.state->KeyList(2)), std::vector<std::string>{"Kh3-g2"});
}

TEST(DirectSearch, IllegalPositionIsReported) {
  // The black king already in check with White to move.
  SearchWorld world("k7/8/1K6/8/8/8/8/7Q");
  EXPECT_EQ(world.RootSearch(2, 0), -1);
  EXPECT_EQ(world.RootSearch(3, 0), -1);
}

TEST(ReplyCounting, PromotionsOfOnePawnRefuteAsOne) {
  const Move queen{82, 92, 92, BlackPawn, BlackQueen, 0};
  const Move knight{82, 92, 92, BlackPawn, BlackKnight, 0};
  const Move other{45, 55, 55, BlackRook, BlackRook, 0};
  Move killer{};
  search_detail::ReplyCount count;
  EXPECT_FALSE(count.Add(0, queen, killer, TryLimit{1}));
  EXPECT_FALSE(
      count.Add(0, knight, killer, TryLimit{1}));  // the limit reached by the second promotion
  EXPECT_EQ(count.legal - count.solved, 1);
  EXPECT_TRUE(SameMove(killer, knight));
  EXPECT_FALSE(count.Add(1, other, killer, TryLimit{1}));  // a solved reply changes nothing
  EXPECT_TRUE(count.Add(0, other, killer, TryLimit{1}));   // a second, different refutation
  EXPECT_TRUE(SameMove(killer, other));
  // Without a limit the first refutation ends the scan.
  search_detail::ReplyCount plain;
  Move plainKiller{};
  EXPECT_FALSE(plain.Add(1, other, plainKiller, NoTries));
  EXPECT_TRUE(plain.Add(0, queen, plainKiller, NoTries));
  EXPECT_EQ(plain.legal, 2);
  EXPECT_TRUE(SameMove(plainKiller, queen));
  // With limit 2, three refutations are too many.
  search_detail::ReplyCount three;
  Move threeKiller{};
  EXPECT_FALSE(three.Add(0, other, threeKiller, TryLimit{2}));
  EXPECT_FALSE(three.Add(0, queen, threeKiller, TryLimit{2}));
  EXPECT_TRUE(
      three.Add(0, Move{34, 44, 44, BlackBishop, BlackBishop, 0}, threeKiller, TryLimit{2}));
}

TEST(Analysis, KeyOfATwoMoverHasItsThreatAndVariations) {
  // Charles Planck, Illustrated Sporting and Dramatic News 1884.
  SearchWorld world(test::FindProblem("dm2_planck1884").fen);
  const int flags = Analyse(world, 2, WhiteMove(world, "Kh3-g2"), false);
  EXPECT_EQ(flags, AnalysisHasReply | AnalysisParried | 1 * AnalysisThreatUnit);
  EXPECT_EQ(world.Texts(world.state->ThreatList(2)), std::vector<std::string>{"Qf1-f3"});
  EXPECT_EQ(VariationTexts(*world.state, 2),
            (std::vector<std::string>{"Sc6-e5 Sd7-c5", "Sc6-d4 Sb5-c3", "Bg5-f4 Qf1-b1",
                                      "Bg5-e3 d2-d3"}));
  EXPECT_TRUE(world.state->RefutationList(2).Empty());
}

TEST(Analysis, SetPlayListsTheProvidedRepliesAndTheRestAsRefutations) {
  SearchWorld world(test::FindProblem("dm2_planck1884").fen);
  const int flags = Analyse(world, 2, NullMove, true);
  EXPECT_EQ(flags & ~AnalysisParried, AnalysisHasReply);  // no threat, no check
  EXPECT_EQ(VariationTexts(*world.state, 2),
            (std::vector<std::string>{"Sc6-e5 Sd7-c5", "Sc6-d4 Sb5-c3", "Bg5-e3 d2-d3"}));
  EXPECT_FALSE(world.state->RefutationList(2).Empty());
}

TEST(Analysis, SeparatorsAndDualsFollowTheOptions) {
  // After 1.Kg4 White threatens Qb1, Qf5 and Qf3. 1...d4 stops only Qb1 and
  // separates the threats; 1...Be3 allows d3, Qb1 and Qf5 (a dual).
  const CheckedProblem planck = test::FindProblem("dm2_planck1884");
  const auto linesAfter = [&](bool separators, bool dualized, bool nonDefensive) {
    SearchWorld world(planck.fen);
    world.options[Option::Separators] = separators;
    world.options[Option::DualizedVariations] = dualized;
    world.options[Option::NonDefensiveMoves] = nonDefensive;
    Analyse(world, 2, WhiteMove(world, "Kh3-g4"), true);
    EXPECT_EQ(world.Texts(world.state->ThreatList(2)),
              (std::vector<std::string>{"Qf1-b1", "Qf1-f3", "Qf1-f5"}));
    std::vector<std::string> texts = VariationTexts(*world.state, 2);
    return std::set<std::string>(texts.begin(), texts.end());
  };
  const std::set<std::string> all = linesAfter(true, true, false);
  EXPECT_TRUE(all.count("d5-d4 Qf1-f5") && all.count("d5-d4 Qf1-f3"));
  EXPECT_TRUE(all.count("Bg5-e3 d2-d3") && all.count("Bg5-e3 Qf1-b1"));
  EXPECT_TRUE(all.count("Sc6-d4 Sb5-c3"));
  const std::set<std::string> noSeparators = linesAfter(false, true, false);
  EXPECT_FALSE(noSeparators.count("d5-d4 Qf1-f5"));
  EXPECT_TRUE(noSeparators.count("Sc6-d4 Sb5-c3"));
  const std::set<std::string> nonDefensive = linesAfter(false, true, true);
  EXPECT_TRUE(nonDefensive.count("d5-d4 Qf1-f5"));
  const std::set<std::string> noDuals = linesAfter(true, false, false);
  EXPECT_FALSE(noDuals.count("Bg5-e3 d2-d3"));
  EXPECT_FALSE(noDuals.count("d5-d4 Qf1-f5"));
  EXPECT_TRUE(noDuals.count("Sc6-d4 Sb5-c3"));
}

TEST(Analysis, CheckingTryHasItsRefutationAndNoVariations) {
  SearchWorld world(test::FindProblem("dm2_planck1884").fen);
  world.state->optionGroup = OptionGroup::Tries;
  const int flags = Analyse(world, 2, WhiteMove(world, "Qf1-f5"), true);
  EXPECT_EQ(flags, AnalysisCheck | AnalysisHasReply);
  EXPECT_EQ(RefutationTexts(*world.state, 2), std::vector<std::string>{"Ke4xf5"});
  EXPECT_TRUE(world.state->VariationList(2).Empty());
}

TEST(Analysis, ThreeMoverKeyHasItsThreatAndVariations) {
  // Giegold 1932: 1.Sc6! threat 2.Sd8+ Kf6 3.Qf7#; 1...Kxd5 2.Qf7+. Above
  // the last level no threat filter applies, so the replies answered by
  // the threat (and 1...h5 with its dual 2.Rg5) are variations too.
  SearchWorld world(test::FindProblem("dm3_giegold1932").fen);
  const int flags = Analyse(world, 3, WhiteMove(world, "Sb4-c6"), false);
  EXPECT_EQ(flags, AnalysisHasReply | AnalysisParried | 2 * AnalysisThreatUnit);
  EXPECT_EQ(world.Texts(world.state->ThreatList(3)), std::vector<std::string>{"Sc6-d8"});
  EXPECT_EQ(VariationTexts(*world.state, 3),
            (std::vector<std::string>{"Ke6-f6 Sc6-d8", "Ke6xd5 Qb7-f7", "h6-h5 Sc6-d8",
                                      "h6-h5 Rd5-g5", "c5-c4 Sc6-d8"}));
  // Without dualized variations the reply with two continuations goes.
  SearchWorld strict(test::FindProblem("dm3_giegold1932").fen);
  strict.options[Option::DualizedVariations] = 0;
  Analyse(strict, 3, WhiteMove(strict, "Sb4-c6"), false);
  EXPECT_EQ(VariationTexts(*strict.state, 3),
            (std::vector<std::string>{"Ke6-f6 Sc6-d8", "Ke6xd5 Qb7-f7", "c5-c4 Sc6-d8"}));
}

TEST(Analysis, ZugzwangKeyOfAThreeMoverHasNoThreat) {
  // Wurzburg 1941: 1.a8=B! waiting; 1...Kf1 2.Bxe4, 1...e3 2.Bg2.
  SearchWorld world(test::FindProblem("dm3_wurzburg1941").fen);
  const int flags = Analyse(world, 3, WhiteMove(world, "a7-a8=B"), false);
  EXPECT_EQ(flags / AnalysisThreatUnit, 0);
  EXPECT_EQ(VariationTexts(*world.state, 3),
            (std::vector<std::string>{"e4-e3 Ba8-g2", "Ke2-f1 Ba8xe4"}));
}

TEST(Analysis, AdLibMarksTheMovesThatAllowWhatTheLiftedManAllows) {
  // White Ka6, Rb1, Be2; Black Ka8, Sb3. The knight blocks the rook's guard
  // of b8; lifted off, it allows Bf3#. Sa1 and Sc1 allow just that mate
  // (ad lib); Sd2, Sd4, Sc5 and Sa5 parry it.
  const auto setPlay = [](int adLib) {
    SearchWorld world("k7/8/K7/8/8/1n6/4B3/1R6");
    world.options[Option::AdLib] = adLib;
    Analyse(world, 2, NullMove, true);
    std::vector<std::string> texts;
    const VariationRecords& lines = world.state->VariationList(2);
    for (int i = 0; lines.records[i].reply.move.from != 0; ++i)
      texts.push_back(LongText(lines.records[i].reply.move) + " " +
                      LongText(lines.records[i].continuation.move) + " " +
                      std::to_string(lines.records[i].reply.mark));
    return texts;
  };
  EXPECT_EQ(setPlay(1), (std::vector<std::string>{"Sb3-a1 Be2-f3 51", "Sb3-c1 Be2-f3 51"}));
  EXPECT_EQ(setPlay(0), (std::vector<std::string>{"Sb3-a1 Be2-f3 0", "Sb3-c1 Be2-f3 0"}));
}

TEST(Search, NothingIsLeftOnTheBoard) {
  for (const char* id : {"dm2_planck1884", "dm3_loyd1903", "dm2_ahues1983"}) {
    const CheckedProblem problem = test::FindProblem(id);
    SearchWorld world(problem.fen);
    const Position before = world.pos;
    const int n = problem.stipulation[1] - '0';
    world.RootSearch(n, 2);
    Analyse(world, n, WhiteMove(world, problem.key), true);
    EXPECT_EQ(world.pos.board, before.board) << id;
    EXPECT_EQ(world.pos.whiteKingSquare, before.whiteKingSquare) << id;
    EXPECT_EQ(world.pos.blackKingSquare, before.blackKingSquare) << id;
    EXPECT_EQ(world.pos.castlingCounters, before.castlingCounters) << id;
    EXPECT_EQ(world.pos.parrySquare, 0) << id;
  }
}

TEST(Search, TopLevelShowsTheMoveTestedTheLastKeyAndTheMoveAnalysed) {
  SearchWorld world(test::FindProblem("dm3_wurzburg1941").fen);
  std::vector<std::pair<int, std::string>> shown;
  world.ui.statusText = [&shown](int part, const std::string& text) {
    shown.emplace_back(part, text);
  };
  ASSERT_EQ(world.RootSearch(3, 0), 3);
  const auto has = [&shown](int part, const std::string& text) {
    return std::find(shown.begin(), shown.end(), std::make_pair(part, text)) != shown.end();
  };
  EXPECT_TRUE(has(1, " Test : a8=B"));
  EXPECT_TRUE(has(1, " Test : Kd1"));  // a move tested after the key was found
  EXPECT_TRUE(has(2, " Mate: a8=B"));
  shown.clear();
  Analyse(world, 3, WhiteMove(world, "a7-a8=B"), false);
  EXPECT_TRUE(has(2, " Analyzing a8=B"));
  EXPECT_TRUE(has(1, " Test : Kf1"));
}

TEST(Search, UserBreakIsPolledAndStopsTheTopLevel) {
  SearchWorld world(test::FindProblem("dm3_loyd1903").fen);
  int polls = 0;
  world.ui.breakPoll = [&polls] { return ++polls > 5; };
  world.RootSearch(3, 0);
  EXPECT_EQ(world.state->userBreak, 1);
  EXPECT_LT(polls, 1000);
}

}  // namespace
}  // namespace kv
