// The soundness verdict: the judgement of what the searches found, the
// number of solutions a helpmate states, and the check of real problems
// (sound, cooked, unsolved, short, invalid, twins) with a fresh search state.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/fen.h"
#include "core/rules.h"
#include "solver/soundness_check.h"
#include "solver/twins.h"

namespace kv {
namespace {

PartOutcome Battle(int asked, int found, std::vector<std::string> keys) {
  PartOutcome part;
  part.movesAsked = asked;
  part.movesFound = found;
  part.keys = std::move(keys);
  return part;
}

PartOutcome Help(int asked, int solutions, int shorter = 0) {
  PartOutcome part;
  part.helpmate = true;
  part.movesAsked = asked;
  part.movesFound = solutions > 0 ? asked : 0;
  for (int i = 0; i < solutions; ++i) part.keys.push_back("line " + std::to_string(i));
  part.shortSolutions = shorter;
  return part;
}

TEST(SoundnessVerdict, BattlePlayWantsExactlyOneKeyAtTheStatedLength) {
  EXPECT_EQ(JudgePart(Battle(2, 2, {"Qd4"}), 1), Verdict::Sound);
  EXPECT_EQ(JudgePart(Battle(2, 2, {"Qd4", "Qe5"}), 1), Verdict::Cooked);
  EXPECT_EQ(JudgePart(Battle(3, 0, {}), 1), Verdict::NoSolution);
  EXPECT_EQ(JudgePart(Battle(3, 2, {"Qd4"}), 1), Verdict::ShortMate);
  // A stated helpmate count never excuses a second key of a direct mate.
  EXPECT_EQ(JudgePart(Battle(2, 2, {"Qd4", "Qe5"}), 2), Verdict::Cooked);
}

TEST(SoundnessVerdict, HelpmatesAreMeasuredAgainstTheirStatedCount) {
  EXPECT_EQ(JudgePart(Help(2, 2), 2), Verdict::Sound);
  EXPECT_EQ(JudgePart(Help(2, 3), 2), Verdict::Cooked);
  EXPECT_EQ(JudgePart(Help(2, 1), 2), Verdict::TooFewSolutions);
  EXPECT_EQ(JudgePart(Help(2, 0), 1), Verdict::NoSolution);
  // A shorter solution cooks even a helpmate whose full-length count is right.
  EXPECT_EQ(JudgePart(Help(3, 1, 1), 1), Verdict::ShortMate);
}

TEST(SoundnessVerdict, StopsInvalidAndUnsolvableComeBeforeTheSearchResults) {
  PartOutcome part = Battle(2, 2, {"Qd4"});
  part.invalidText = "2 white kings";
  EXPECT_EQ(JudgePart(part, 1), Verdict::InvalidPosition);
  part.solvable = false;
  EXPECT_EQ(JudgePart(part, 1), Verdict::NotSolvable);
  part.broken = true;
  EXPECT_EQ(JudgePart(part, 1), Verdict::Stopped);
  part.timedOut = true;
  EXPECT_EQ(JudgePart(part, 1), Verdict::TimedOut);
}

TEST(SoundnessVerdict, TheFirstUnsoundTwinDecidesAndIsNamed) {
  const std::vector<std::string> names = {"a)", "b)", "c)"};
  const ProblemVerdict sound =
      JudgeProblem({Battle(2, 2, {"Qd4"}), Battle(2, 2, {"Re1"})}, {"a)", "b)"}, 1);
  EXPECT_EQ(sound.verdict, Verdict::Sound);
  EXPECT_EQ(sound.detail, "a) Qd4  b) Re1");
  const ProblemVerdict cooked = JudgeProblem(
      {Battle(2, 2, {"Qd4"}), Battle(2, 2, {"Re1", "Re2"}), Battle(2, 0, {})}, names, 1);
  EXPECT_EQ(cooked.verdict, Verdict::Cooked);
  EXPECT_EQ(cooked.detail, "b) Re1; Re2");
  PartOutcome invalid;
  invalid.invalidText = "no black king";
  EXPECT_EQ(JudgeProblem({invalid}, {}, 1).detail, "no black king");
}

TEST(SoundnessVerdict, StatedSolutionsAreReadFromTheTexts) {
  EXPECT_EQ(StatedSolutions(""), 1);
  EXPECT_EQ(StatedSolutions("part a) of five twins"), 1);
  EXPECT_EQ(StatedSolutions("2 solutions"), 2);
  EXPECT_EQ(StatedSolutions("twin b) added; 3 Solutions"), 3);
  EXPECT_EQ(StatedSolutions("4 sol."), 4);
  EXPECT_EQ(StatedSolutions("h#2 2.1.1.1"), 2);
  EXPECT_EQ(StatedSolutions("3.1..."), 3);
  // Numbers that are no count: a date, a source's issue, a year.
  EXPECT_EQ(StatedSolutions("12.1.1990"), 1);
  EXPECT_EQ(StatedSolutions("Die Schwalbe 164, 4/1997"), 1);
  EXPECT_EQ(StatedSolutions("1st Prize 1984"), 1);
}

// A problem checked with its own fresh state, as one worker of the
// collection check runs it.
SoundnessResult Check(const std::string& fen, const std::string& stipulation, int stated = 1,
                      const std::string& twins = "") {
  SoundnessInput input;
  ClearBoard(input.board);
  std::string error;
  EXPECT_TRUE(ParseFenBoard(fen, input.board, &error)) << error;
  EXPECT_TRUE(ParseProblemType(stipulation, input.type)) << stipulation;
  input.twins = twins;
  input.statedSolutions = stated;
  auto state = std::make_unique<SearchState>();
  return CheckSoundness(*state, input, UiCallbacks{});
}

constexpr const char* Planck = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";  // #2, key Kh3-g2
constexpr const char* Garai = "4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1";  // h#2, two solutions

TEST(SoundnessCheck, DirectMatesGiveEachVerdict) {
  const SoundnessResult sound = Check(Planck, "#2");
  EXPECT_EQ(sound.verdict.verdict, Verdict::Sound);
  EXPECT_EQ(sound.verdict.detail, "Kh3-g2");
  // Without the black knight c6 White has more than one key.
  const SoundnessResult cooked = Check("8/2pN4/8/1N1p2b1/4k3/7K/3P4/5Q2", "#2");
  EXPECT_EQ(cooked.verdict.verdict, Verdict::Cooked);
  ASSERT_EQ(cooked.parts.size(), 1u);
  EXPECT_GE(cooked.parts[0].keys.size(), 2u);
  EXPECT_NE(cooked.verdict.detail.find("; "), std::string::npos);
  EXPECT_EQ(Check(Planck, "#3").verdict.verdict, Verdict::ShortMate);
  EXPECT_EQ(Check("4k3/8/4K3/8/8/8/8/8", "#2").verdict.verdict, Verdict::NoSolution);
}

TEST(SoundnessCheck, PositionsAndKindsTheSolverRefuses) {
  const SoundnessResult kings = Check("4k3/8/4K3/8/8/8/8/K7", "#2");
  EXPECT_EQ(kings.verdict.verdict, Verdict::InvalidPosition);
  EXPECT_FALSE(kings.verdict.detail.empty());
  // A series mover in which White begins is not searched; every other kind
  // and length is.
  EXPECT_EQ(Check(Planck, "sh=2 W").verdict.verdict, Verdict::NotSolvable);
  EXPECT_EQ(Check(Planck, "sh#2 W").verdict.verdict, Verdict::NotSolvable);
}

// Series movers from an independent solver's example files.
TEST(SoundnessCheck, SeriesMoversCountEverySolution) {
  const SoundnessResult sound = Check("4Q3/8/k5q1/8/8/8/8/7K", "s #8");
  EXPECT_EQ(sound.verdict.verdict, Verdict::Sound);
  EXPECT_NE(sound.verdict.detail.find("Qe8-e4 Qe4-g2"), std::string::npos) << sound.verdict.detail;
  // Four promotions: four solutions, as stated or a cook.
  EXPECT_EQ(Check("8/8/8/7K/8/5N2/4Npp1/5k2", "sh=3", 4).verdict.verdict, Verdict::Sound);
  EXPECT_EQ(Check("8/8/8/7K/8/5N2/4Npp1/5k2", "sh=3").verdict.verdict, Verdict::Cooked);
  EXPECT_EQ(Check("8/8/8/8/8/6p1/5prb/3K1Nkb", "sh=7").verdict.verdict, Verdict::ShortMate);
  EXPECT_EQ(Check("8/8/8/8/8/6p1/5prb/3K1Nkb", "sh=4").verdict.verdict, Verdict::NoSolution);
  // The black king in check with White to play the series.
  EXPECT_EQ(Check("k7/1P6/8/8/8/8/8/7K", "ss#3").verdict.verdict, Verdict::InvalidPosition);
}

TEST(SoundnessCheck, HelpmatesCountEverySolution) {
  const SoundnessResult two = Check(Garai, "h#2", 2);
  EXPECT_EQ(two.verdict.verdict, Verdict::Sound);
  ASSERT_EQ(two.parts.size(), 1u);
  EXPECT_EQ(two.parts[0].keys.size(), 2u);
  EXPECT_EQ(Check(Garai, "h#2", 1).verdict.verdict, Verdict::Cooked);
  EXPECT_EQ(Check(Garai, "h#2", 3).verdict.verdict, Verdict::TooFewSolutions);
  // Black begins in check and answers it: a sound helpstalemate, not an
  // invalid position (with White beginning it would be one).
  const char* inCheck = "8/1P6/8/8/5p2/6p1/pp2ppKp/Nk3R2";
  EXPECT_EQ(Check(inCheck, "h=3").verdict.verdict, Verdict::Sound);
  EXPECT_EQ(Check(inCheck, "h=3 W").verdict.verdict, Verdict::InvalidPosition);
  // An h#2.5 with two solutions in h#1.5 (1. Se4/Sd3 b4 2. Sc5#) is short.
  const char* shorter = "8/8/8/pp6/k1P5/1p6/pK3N2/8";
  EXPECT_EQ(Check(shorter, "h#2 W", 2).verdict.verdict, Verdict::Sound);
  EXPECT_EQ(Check(shorter, "h#3 W", 4).verdict.verdict, Verdict::ShortMate);
}

TEST(SoundnessCheck, SelfmatesSearchBlacksForcedMate) {
  const SoundnessResult self = Check("2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4", "s#2");
  EXPECT_EQ(self.verdict.verdict, Verdict::Sound);
  EXPECT_EQ(self.verdict.detail, "Sc5-e6");
}

TEST(SoundnessCheck, EachTwinIsJudgedOnItsOwnPosition) {
  // b) without the black pawn d5 (square 27): one solution instead of two.
  const TwinEntry remove{TwinRemove, false, 27, 0, 0};
  const std::string twins = BuildTwinsField(false, &remove, 1);
  const TwinEntry entries[2] = {{TwinDiagram, false, 0, 0, 0}, remove};
  const std::string both = BuildTwinsField(false, entries, 2);
  const SoundnessResult result = Check(Garai, "h#2", 2, both);
  ASSERT_EQ(result.parts.size(), 2u);
  EXPECT_EQ(result.parts[0].keys.size(), 2u);
  EXPECT_EQ(result.parts[1].keys.size(), 1u);
  EXPECT_EQ(result.verdict.verdict, Verdict::TooFewSolutions);
  EXPECT_EQ(result.verdict.detail.rfind("b) ", 0), 0u) << result.verdict.detail;
  // The diagram is restored between usual twins: b) alone sees d5 removed once.
  EXPECT_EQ(Check(Garai, "h#2", 1, twins).verdict.verdict, Verdict::Sound);
}

TEST(SoundnessCheck, ABreakStopsTheCheck) {
  SoundnessInput input;
  ClearBoard(input.board);
  ASSERT_TRUE(ParseFenBoard(Planck, input.board, nullptr));
  ParseProblemType("#2", input.type);
  UiCallbacks ui;
  ui.breakPoll = [] { return true; };
  auto state = std::make_unique<SearchState>();
  EXPECT_EQ(CheckSoundness(*state, input, ui).verdict.verdict, Verdict::Stopped);
  EXPECT_EQ(CheckSoundness(*state, input, ui, [] { return true; }).verdict.verdict,
            Verdict::TimedOut);
  // The same state checks the next problem soundly once the break is gone.
  EXPECT_EQ(CheckSoundness(*state, input, UiCallbacks{}).verdict.verdict, Verdict::Sound);
}

}  // namespace
}  // namespace kv
