// The solution tree filled beside the text: the text stays byte for byte
// what it is without the tree, every move of the tree stands in the text in
// the tree's order, and the tree's shape says what the text says (phases,
// threats, joined replies, duals, refutations, helpmate lines, letters,
// twins).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/twins.h"

namespace kv {
namespace {

// One solve of a position, once without and once with the tree.
struct TreeSolve {
  SolutionTree tree;
  std::string plainText;
  std::string treeText;
  SolveStop stop = SolveStop::None;

  TreeSolve(const char* fen, const char* stip, const char* optionDigits = nullptr,
            const std::string& twins = {}) {
    plainText = Run(fen, stip, optionDigits, twins, nullptr);
    SolutionTreeBuilder builder(tree);
    treeText = Run(fen, stip, optionDigits, twins, &builder);
  }

  std::string Run(const char* fen, const char* stip, const char* digits, const std::string& twins,
                  SolutionTreeBuilder* builder) {
    Position pos;
    ProblemType type;
    SolveOptions options;
    EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
    EXPECT_TRUE(ParseProblemType(stip, type)) << stip;
    if (digits != nullptr)
      for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
    SwitchOptionsToKind(options, type.kind);
    Language language;
    UiCallbacks ui;
    auto solver = std::make_unique<Solver>();
    solver->tree = builder;
    SolveEnvironment env{pos, type, options, twins, language, ui};
    std::string text = SolveEntry(*solver, env, type.moves);
    stop = solver->stop;
    return text;
  }

  const TreeRun& OnlyRun() const {
    EXPECT_EQ(tree.twins.size(), 1u);
    EXPECT_EQ(tree.twins.at(0).runs.size(), 1u);
    return tree.twins.at(0).runs.at(0);
  }
};

// Every move text of the tree in the order the text writes them. A further
// reply or dual of the same man is written in the text as "/" and its
// destination, so those are looked for by their square.
struct OrderCheck {
  const std::string& text;
  std::size_t at = 0;
  int found = 0;

  void Expect(const std::string& what, const std::string& fallback = {}) {
    std::size_t hit = text.find(what, at);
    if (!fallback.empty()) {
      const std::size_t other = text.find("/" + fallback, at);
      if (other != std::string::npos && other < hit) hit = other;
    }
    ASSERT_NE(hit, std::string::npos) << "'" << what << "' not found after " << at << " in\n"
                                      << text;
    at = hit + 1;
    ++found;
  }
  void Move(const TreeMove& m) { Expect(m.text, m.to); }
  void Line(const TreeLine& line) {
    for (const TreeMove& m : line.replies) Move(m);
    for (const TreeMove& m : line.answers) Move(m);
    for (const TreeLine& t : line.threat.moves) Line(t);
    for (const TreeLine& v : line.variations) Line(v);
  }
  void Tree(const SolutionTree& tree) {
    for (const TreeTwin& twin : tree.twins) {
      if (!twin.heading.empty()) Expect(twin.heading);
      for (const TreeRun& run : twin.runs)
        for (const TreePhase& phase : run.phases)
          for (const TreePlay& play : phase.plays) {
            Line(play.line);
            for (const TreeMove& m : play.refutations) Move(m);
          }
    }
  }
};

// The two texts are equal and the tree's moves are all in the text; returns
// how many were found.
int CheckBesideText(const TreeSolve& solve) {
  EXPECT_EQ(solve.treeText, solve.plainText);
  OrderCheck check{solve.treeText};
  check.Tree(solve.tree);
  return check.found;
}

std::vector<std::string> Texts(const std::vector<TreeMove>& moves) {
  std::vector<std::string> texts;
  texts.reserve(moves.size());
  for (const TreeMove& m : moves) texts.push_back(m.text);
  return texts;
}

// Charles Planck, Illustrated Sporting and Dramatic News 1884.
constexpr const char* kPlanck = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";

TEST(SolutionTree, TwoMoverWithSetPlayTriesJoinedRepliesAndDuals) {
  const TreeSolve solve(kPlanck, "#2");
  EXPECT_GT(CheckBesideText(solve), 40);
  const TreeRun& run = solve.OnlyRun();
  EXPECT_TRUE(run.searched);
  ASSERT_EQ(run.phases.size(), 3u);
  EXPECT_EQ(run.phases[0].phase, PlayPhase::Set);
  EXPECT_EQ(run.phases[1].phase, PlayPhase::Try);
  EXPECT_EQ(run.phases[1].plays.size(), 6u);
  EXPECT_EQ(run.phases[2].phase, PlayPhase::Solution);

  // Set play: White's null move, no first move.
  EXPECT_TRUE(run.phases[0].plays[0].line.answers.empty());
  EXPECT_EQ(run.phases[0].plays[0].line.variations.size(), 3u);

  // Try: 1. Kg4? [2. Qb1, Qf3, Qf5#], "1. ... Se7, Bf4 2. Qb1/f3#", the dual
  // "1. ... Be3 2. d3, Qb1/f5#" and "But 1. ... Se5+!".
  const TreePlay& kg4 = run.phases[1].plays[2];
  EXPECT_EQ(kg4.line.answers.at(0).text, "Kg4");
  EXPECT_EQ(kg4.line.threat.kind, ThreatKind::Threat);
  EXPECT_EQ(kg4.line.threat.moves.size(), 3u);
  EXPECT_TRUE(kg4.line.threat.moves[0].mate);
  const TreeLine& joined = kg4.line.variations.at(0);
  EXPECT_EQ(Texts(joined.replies), (std::vector<std::string>{"Se7", "Bf4"}));
  EXPECT_EQ(Texts(joined.answers), (std::vector<std::string>{"Qb1", "Qf3"}));
  const TreeLine& dual = kg4.line.variations.at(3);
  EXPECT_EQ(Texts(dual.answers), (std::vector<std::string>{"d3", "Qb1", "Qf5"}));
  EXPECT_TRUE(kg4.refutationsShown);
  ASSERT_EQ(kg4.refutations.size(), 1u);
  EXPECT_EQ(kg4.refutations[0].text, "Se5+");
  EXPECT_TRUE(kg4.refutations[0].check);
  EXPECT_FALSE(kg4.refutations[0].white);

  // A checking try has the check as its threat.
  EXPECT_EQ(run.phases[1].plays[0].line.threat.kind, ThreatKind::Check);

  // The key in the plain form.
  const TreePlay& key = run.phases[2].plays.at(0);
  const TreeMove& kg2 = key.line.answers.at(0);
  EXPECT_EQ(kg2.text, "Kg2");
  EXPECT_EQ(kg2.piece, 'K');
  EXPECT_EQ(kg2.from, "h3");
  EXPECT_EQ(kg2.to, "g2");
  EXPECT_FALSE(kg2.capture);
  EXPECT_FALSE(key.refutationsShown);
  EXPECT_EQ(key.line.variations.size(), 4u);
}

TEST(SolutionTree, ThreeMoverNestsThreatsAndVariationsByLevel) {
  // Vladimir Shmatov 2012: a waiting key, then 1. ... e4 2. Sf5 threat 3. Qg3#.
  const TreeSolve solve("8/7p/8/4p2K/5kPP/1Q4N1/8/8", "#3", "001111001110001000");
  EXPECT_GT(CheckBesideText(solve), 8);
  const TreePlay& key = solve.OnlyRun().phases.at(0).plays.at(0);
  EXPECT_EQ(key.line.answers.at(0).text, "Qb3-a3");
  EXPECT_EQ(key.line.threat.kind, ThreatKind::Waiting);
  ASSERT_EQ(key.line.variations.size(), 2u);
  const TreeLine& e4 = key.line.variations[1];
  EXPECT_FALSE(e4.mate);
  EXPECT_EQ(e4.answers.at(0).text, "Sg3-f5");
  EXPECT_EQ(e4.threat.kind, ThreatKind::Threat);
  EXPECT_EQ(e4.threat.moves.at(0).answers.at(0).text, "Qa3-g3");
  EXPECT_EQ(e4.variations.size(), 2u);
  EXPECT_TRUE(e4.variations[0].mate);
  EXPECT_TRUE(e4.variations[0].answers.at(0).capture);  // 3. Qa3xe3#
}

TEST(SolutionTree, HelpmateSolutionsAreLinesWithoutAFirstMove) {
  // Fadil Abdurahmanović, Sakkélet 1997, 3rd Prize: h#2, four solutions.
  const TreeSolve solve("4RK2/8/6p1/6p1/2bp1k1B/7P/5p2/1Bb5", "h#2", "000111011110101000");
  EXPECT_EQ(CheckBesideText(solve), 16);
  const TreeRun& run = solve.OnlyRun();
  EXPECT_EQ(run.helpMode, HelpMode::BlackBegins);
  ASSERT_EQ(run.phases.size(), 1u);
  EXPECT_EQ(run.phases[0].phase, PlayPhase::Solution);
  const TreePlay& play = run.phases[0].plays.at(0);
  EXPECT_TRUE(play.line.answers.empty());
  ASSERT_EQ(play.line.variations.size(), 4u);
  // 1. f1=R Bxg6 2. Rf3 Re4#
  const TreeLine& last = play.line.variations[3];
  EXPECT_EQ(last.replies.at(0).promotion, 'R');
  EXPECT_EQ(last.replies.at(0).piece, 'P');
  EXPECT_EQ(last.replies.at(0).to, "f1");
  EXPECT_EQ(last.variations.at(0).answers.at(0).text, "Re4");
  EXPECT_TRUE(last.variations.at(0).mate);
}

TEST(SolutionTree, WhiteBeginsHelpplayKeepsItsSetPlayApart) {
  // h=2.5: Black's set play after White's null move, then four promotions.
  const TreeSolve solve("3K4/1kP2r2/8/8/8/8/8/8", "h=3 W", "100111011110101000");
  EXPECT_GT(CheckBesideText(solve), 20);
  const TreeRun& run = solve.OnlyRun();
  EXPECT_EQ(run.helpMode, HelpMode::WhiteBegins);
  ASSERT_EQ(run.phases.size(), 2u);
  EXPECT_EQ(run.phases[0].phase, PlayPhase::Set);
  ASSERT_EQ(run.phases[0].plays.size(), 1u);
  EXPECT_TRUE(run.phases[0].plays[0].line.answers.empty());
  EXPECT_EQ(run.phases[0].plays[0].line.variations.size(), 2u);
  EXPECT_EQ(run.phases[1].phase, PlayPhase::Solution);
  ASSERT_EQ(run.phases[1].plays.size(), 4u);
  EXPECT_EQ(run.phases[1].plays[3].line.answers.at(0).text, "c8=S");
}

TEST(SolutionTree, SelfAndReflexmatesEndInBlacksForcedMate) {
  // Wolfgang Pauly 1912: s#2; Manolas 2012: r#2.
  const TreeSolve self("KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b", "s#2");
  EXPECT_GT(CheckBesideText(self), 5);
  const TreeLine& exf6 = self.OnlyRun().phases.at(0).plays.at(0).line.variations.at(0);
  EXPECT_EQ(exf6.threat.kind, ThreatKind::Forced);
  EXPECT_EQ(exf6.threat.moves.at(0).answers.at(0).text, "Bxg2");
  EXPECT_FALSE(exf6.threat.moves.at(0).answers.at(0).white);

  const TreeSolve reflex("8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4", "r#2");
  EXPECT_EQ(CheckBesideText(reflex), 4);
  EXPECT_EQ(reflex.OnlyRun().selfMode, SelfMode::Reflex);
}

TEST(SolutionTree, ChangedMatesCarryTheirLettersAndDroppedPlaysAreGone) {
  // Klaus Förster, Die Schwalbe 2007: without variations only the lettered
  // pairs are written; the tries the printing pass drops leave no play.
  const TreeSolve solve("8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8", "#2", "101000000000101000");
  EXPECT_EQ(CheckBesideText(solve), 10);
  const TreeRun& run = solve.OnlyRun();
  ASSERT_EQ(run.phases.size(), 2u);
  const TreeLine& setKe3 = run.phases[0].plays.at(0).line.variations.at(0);
  EXPECT_EQ(setKe3.replies.at(0).letter, 'a');
  EXPECT_EQ(setKe3.answers.at(0).letter, 'A');
  const TreeLine& keyKe3 = run.phases[1].plays.at(0).line.variations.at(0);
  EXPECT_EQ(keyKe3.replies.at(0).letter, 'a');
  EXPECT_EQ(keyKe3.answers.at(0).letter, 'B');
}

TEST(SolutionTree, TwinsOneAfterAnotherAndAMateInOne) {
  // a) the diagram; b) the white king from h3 to h2 and the pawn d2 removed.
  TwinEntry entries[3] = {
      {TwinDiagram, false, 0, 0, 0}, {TwinMove, true, 47, 55, 0}, {TwinRemove, false, 51, 0, 0}};
  const TreeSolve twins(kPlanck, "#2", "001111001110101000", BuildTwinsField(false, entries, 3));
  EXPECT_GT(CheckBesideText(twins), 10);
  ASSERT_EQ(twins.tree.twins.size(), 2u);
  EXPECT_EQ(twins.tree.twins[0].heading, "a) Diagram");
  EXPECT_EQ(twins.tree.twins[1].heading.rfind("b) ", 0), 0u);
  EXPECT_EQ(twins.tree.twins[1].runs.size(), 1u);

  const TreeSolve short2("7k/8/6K1/8/8/8/8/R7", "#2");
  CheckBesideText(short2);
  const TreeRun& run = short2.OnlyRun();
  EXPECT_TRUE(run.shortMate);
  EXPECT_TRUE(run.phases.at(0).plays.at(0).mateInOne);
}

TEST(SolutionTree, NoSolutionAndAnInvalidPosition) {
  // Bare kings: "No solution", then the set play (White has no threat and
  // Black no move that could be answered): no solution phase.
  const TreeSolve none("4k3/8/8/8/8/8/8/4K3", "#2");
  CheckBesideText(none);
  EXPECT_TRUE(none.OnlyRun().noSolution);
  for (const TreePhase& phase : none.OnlyRun().phases) EXPECT_NE(phase.phase, PlayPhase::Solution);
  const TreeSolve invalid("K7/8/8/8/8/8/8/K6k", "#2");
  EXPECT_EQ(invalid.stop, SolveStop::InvalidPosition);
  EXPECT_TRUE(invalid.tree.twins.empty());
}

}  // namespace
}  // namespace kv
