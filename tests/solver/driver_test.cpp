// The solve driver on published problems: the whole text of a solve as the
// solution pane shows it, for direct mates, helpmates, selfmates and
// reflexmates, and the driver's own paths: short mate, refresh, user break,
// the test of one move and of every first move, changed mates, the cut at
// 50000 characters. Positions are given with their composer and source.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver_world.h"
#include "solver/twins.h"
#include "test_board.h"

namespace kv {
namespace {

using test::DriverWorld;

// Charles Planck, Illustrated Sporting and Dramatic News 1884.
constexpr const char* kPlanck = "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2";

TEST(DriverTwoMover, SetPlayTriesAndSolutionWithDefaultOptions) {
  DriverWorld world(kPlanck, "#2");
  EXPECT_EQ(world.Solve(),
            "\n"
            "Set Play:\n"
            " 1. ... Se5 2. Sc5#\n"
            " 1. ... Sd4 2. Sc3#\n"
            " 1. ... Be3 2. d3#\n"
            " \n"
            "Try: 1. Sc5?+\n"
            "  But 1. ... Ke5! \n"
            " \n"
            "Try: 1. Sc3?+\n"
            "  But 1. ... Kd4! \n"
            " \n"
            "Try: 1. Kg4? [2. Qb1, Qf3, Qf5#]\n"
            " 1. ... Se7, Bf4 2. Qb1/f3#\n"
            " 1. ... Sb4, d4 2. Qf3/f5#\n"
            " 1. ... Sd4 2. Sc3#\n"
            " 1. ... Be3 2. d3, Qb1/f5#\n"
            " 1. ... Bxd2 2. Qf3#\n"
            "  But 1. ... Se5+! \n"
            " \n"
            "Try: 1. d3?+\n"
            "  But 1. ... Ke3! \n"
            " \n"
            "Try: 1. Qf3?+\n"
            "  But 1. ... Kxf3! \n"
            " \n"
            "Try: 1. Qf5?+\n"
            "  But 1. ... Kxf5! \n"
            " \n"
            "Solution: 1. Kg2! [2. Qf3#]\n"
            " 1. ... Se5 2. Sc5#\n"
            " 1. ... Sd4 2. Sc3#\n"
            " 1. ... Bf4 2. Qb1#\n"
            " 1. ... Be3 2. d3#\n"
            " ");
  EXPECT_EQ(world.status4.front(), " Searching solution...");
  EXPECT_EQ(world.status4.back().rfind(" Search completed : ", 0), 0u);
}

TEST(DriverTwoMover, LongNotationAndBlackMoveStyle) {
  // Only the actual play; long notation, "1...".
  DriverWorld world(kPlanck, "#2", "001111001110001110");
  EXPECT_EQ(world.Solve(),
            "\n"
            "Solution: 1. Kh3-g2! threat 2. Qf1-f3#\n"
            " 1... Sc6-e5 2. Sd7-c5#\n"
            " 1... Sc6-d4 2. Sb5-c3#\n"
            " 1... Bg5-f4 2. Qf1-b1#\n"
            " 1... Bg5-e3 2. d2-d3#\n"
            " ");
}

TEST(DriverTwoMover, OnlySetPlayListsItsUnprovidedMovesAsRefutations) {
  DriverWorld world(kPlanck, "#2", "100111001110101000");
  const std::string text = world.Solve();
  EXPECT_EQ(text.find("Solution"), std::string::npos);
  EXPECT_NE(text.find("Set Play: waiting\n 1. ... Se5 2. Sc5#"), std::string::npos);
  EXPECT_NE(text.find("  But 1. ... Sb8! Sd8! "), std::string::npos);
  for (const std::string& s : world.status4) EXPECT_EQ(s, "");  // no key search ran
}

TEST(DriverTwoMover, OnlyTriesTestsEveryFirstMove) {
  DriverWorld world(kPlanck, "#2", "010111001110101000");
  const std::string text = world.Solve();
  EXPECT_EQ(text.rfind("\nTest : 1. Sb8 waiting\n  But 1. ... Sxb8! ", 0), 0u);
  EXPECT_NE(text.find("\nTest : 1. Kg2 [2. Qf3#]\n 1. ... Se5 2. Sc5#"), std::string::npos);
  EXPECT_EQ(text.find("Solution"), std::string::npos);
}

TEST(DriverTwoMover, ShortMateWritesEveryMateInOne) {
  // Constructed: White mates at once, so the two-mover is a short mate.
  DriverWorld world("7k/8/6K1/8/8/8/8/R7", "#2");
  EXPECT_EQ(world.Solve(), "\n Short Mate\n \nSolution: 1. Ra8! Mate in 1");
}

TEST(DriverTwoMover, ChangedMatesAreLettered) {
  // Klaus Förster, Die Schwalbe 2007: the set mates of Ke3 and Kf5 change.
  // Without variations only the lettered pairs are written, "1...", the
  // reply, " 2. " and the mate with their letters: no mate sign follows.
  DriverWorld world("8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8", "#2", "101000000000101000");
  EXPECT_EQ(world.Solve(),
            "\n"
            "Set Play:\n"
            " 1...Ke3 [a]  2. Qxd3 [A] \n"
            " 1...Kf5 [b]  2. Qxe6 [B] \n"
            " \n"
            "Solution: 1. Sg6! [2. Qf4#]\n"
            " 1...Ke3 [a]  2. Qxe6 [B] \n"
            " 1...Kf5 [b]  2. Qxd3 [A] \n"
            " ");
  // With variations the letters stand inside the usual lines, which end in
  // the mate sign.
  DriverWorld withVariations("8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8", "#2", "101100000000101000");
  const std::string text = withVariations.Solve();
  EXPECT_NE(text.find("\nSolution: 1. Sg6! [2. Qf4#]\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" 1. ... Kf5 [b]  2. Qxd3 [A] #\n"), std::string::npos) << text;
}

TEST(DriverTwoMover, RefreshRewritesWithoutSearchingAndRefusesAChangedPosition) {
  DriverWorld world(kPlanck, "#2");
  const std::string first = world.Solve();
  const std::uint64_t nodes = world.solver->search.nodes;
  world.options[Option::CaptureSign] = 2;
  const std::string refreshed = world.Solve(SolveRefresh);
  EXPECT_EQ(world.solver->search.nodes, nodes);
  EXPECT_NE(refreshed.find("Try: 1. Qf3?+\n  But 1. ... K*f3! "), std::string::npos);
  world.options[Option::CaptureSign] = 0;
  EXPECT_EQ(world.Solve(SolveRefresh), first);
  world.solver->solutionStale = true;
  EXPECT_EQ(world.Solve(SolveRefresh), "");
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_EQ(world.messages[0], "Changed position");
}

TEST(DriverTwoMover, TestOfOneMove) {
  DriverWorld world(kPlanck, "#2");
  const auto saved = BeginTestMove(world.options);
  std::vector<std::string> offered;
  world.ui.chooseMove = [&offered](const std::vector<std::string>& texts) {
    offered = texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (texts[i] == "Kh3-g2") return static_cast<int>(i) + 1;
    return 0;
  };
  const std::string text = world.Solve();
  EndTestMove(world.options, saved);
  EXPECT_FALSE(offered.empty());
  EXPECT_EQ(text,
            "\nTest : 1. Kg2 [2. Qf3#]\n 1. ... Se5 2. Sc5#\n 1. ... Sd4 2. Sc3#\n"
            " 1. ... Bf4 2. Qb1#\n 1. ... Be3 2. d3#\n \n ");
  EXPECT_EQ(world.options[Option::Kind], KindDirect);
}

TEST(DriverTwoMover, UserBreakKeepsWhatWasFound) {
  DriverWorld world(kPlanck, "#2");
  world.breakAfterPolls = 0;  // Escape is down from the start
  const std::string text = world.Solve();
  EXPECT_EQ(text.rfind("\nUser break", 0), 0u);
  EXPECT_NE(text.find("Truncated"), std::string::npos);
}

TEST(DriverThreeMover, ThreatAndVariationsLevelByLevel) {
  // Vladimir Shmatov 2012 (checked problem set): a waiting key.
  DriverWorld world("8/7p/8/4p2K/5kPP/1Q4N1/8/8", "#3", "001111001110001000");
  EXPECT_EQ(world.Solve(),
            "\n"
            "Solution: 1. Qb3-a3! waiting\n"
            " 1. ... h7-h6 2. Qa3-c3 waiting\n"
            "    2. ... e5-e4 3. Sg3-e2#\n"
            " 1. ... e5-e4 2. Sg3-f5 threat 3. Qa3-g3#\n"
            "    2. ... e4-e3 3. Qa3xe3#\n"
            "    2. ... Kf4-e5 3. Qa3-d6#\n"
            " ");
}

TEST(DriverThreeMover, TwoMoveThreatIsWrittenWithItsVariations) {
  // Turnbull 1996 (checked problem set): the threat has its own threat and reply.
  DriverWorld world("7B/8/2B5/8/1p2pp2/kb5Q/7K/8", "#3", "001111001110001000");
  const std::string text = world.Solve();
  EXPECT_EQ(text.rfind("\nSolution: 1. Bh8-a1! threat 2. Qh3-h8 threat 3. Qh8-b2#\n"
                       "    2. ... Ka3-a2 3. Qh8-b2#\n",
                       0),
            0u)
      << text;
}

TEST(DriverThreeMover, FurtherMovesOfATwoMoveThreatStandUnderTheFirstThreatHeader) {
  // Kenneth S. Howard 2008 (checked problem set): the try Sd5 threatens
  // Qf6+ and, after Ke4 is met, f3. The header line begins with its line
  // break, which is not a column: f3's threat header starts where Qf6's did
  // (after " [" in the short form, at the blank before "threat" in the long).
  constexpr const char* kHoward = "B7/8/7Q/4k3/KNp5/8/5P2/8";
  DriverWorld shortForm(kHoward, "#3", "011111001110101000");
  const std::string shortText = shortForm.Solve();
  EXPECT_NE(shortText.find("\nTry: 1. Sd5? [2. Qf6+\n"
                           "    2. ... Ke4 3. Sb4/f4#\n"
                           "              2. f3 [3. Qf6#]\n"
                           "    2. ... Kf5 3. Qf6#\n"
                           "    2. ... Kd4 3. Qe3#]\n"),
            std::string::npos)
      << shortText;
  DriverWorld longForm(kHoward, "#3", "011111001110001012");
  const std::string longText = longForm.Solve();
  EXPECT_NE(longText.find("\nTry: 1. Sb4-d5? threat 2. Qh6-f6+\n"
                          "    2... Ke5-e4 3. Sd5-b4/f4#\n"
                          "                threat 2. f2-f3 threat 3. Qh6-f6#\n"),
            std::string::npos)
      << longText;
}

TEST(DriverFourAndFiveMovers, KeysOfPublishedProblems) {
  // Ivanov 1963 (checked problem set), a four-mover with a waiting key.
  DriverWorld four("8/8/7P/8/8/5K1p/7k/8", "#4", "001111001110101000");
  EXPECT_EQ(four.Solve().rfind("\nSolution: 1. h7! waiting", 0), 0u);
#ifdef NDEBUG
  // Zakhodyakin (checked problem set), a five-mover.
  DriverWorld five("8/8/8/p7/8/8/4RKR1/kb6", "#5", "001111001110101000");
  const std::string text = five.Solve();
  EXPECT_EQ(text.rfind("\nSolution: 1. Rg1! ", 0), 0u) << text;
#endif
}

// Fadil Abdurahmanović, Sakkélet 1997, 3rd Prize: h#2, four solutions.
constexpr const char* kHelpTwo = "4RK2/8/6p1/6p1/2bp1k1B/7P/5p2/1Bb5";

TEST(DriverHelpmate, EverySolutionNumberedAsBlackBegins) {
  DriverWorld world(kHelpTwo, "h#2", "000111011110101000");  // no set play
  EXPECT_EQ(world.Solve(),
            "\n"
            " 1. g4  Re4\n"
            "    2. Kf5  hxg4#\n"
            " 1. Be2  Be4\n"
            "    2. Ke3  Bxg5#\n"
            " 1. Kf3  Re1\n"
            "    2. Bf4  Be4#\n"
            " 1. f1=R  Bxg6\n"
            "    2. Rf3  Re4#\n"
            " ");
  // Without set play no key search runs for a Black-begins helpmate: no time.
  for (const std::string& s : world.status4) EXPECT_EQ(s.find("completed"), std::string::npos);
}

TEST(DriverHelpmate, RefreshRewritesEachRunWithItsOwnModes) {
  // The set-play run (White first) and the solution run (Black first) are
  // rewritten under the modes they were searched with.
  DriverWorld world(kHelpTwo, "h#2");
  const std::string first = world.Solve();
  EXPECT_EQ(world.Solve(SolveRefresh), first);
  DriverWorld white("k7/8/1K6/8/8/8/8/6Q1", "h#2");
  const std::string setPlay = white.Solve();
  EXPECT_EQ(white.Solve(SolveRefresh), setPlay);
}

TEST(DriverHelpmate, NoSolutionGivesAnEmptyText) {
  DriverWorld none("4k3/8/8/8/8/8/8/4K3", "h#2");
  EXPECT_EQ(none.Solve(), "");
}

TEST(DriverHelpmate, SetPlayRunComesFirst) {
  // Constructed: with White to move first, 1. ... Qb7# (no black move is
  // needed), and the Black-begins play 1. Kb8 Qb7# is shorter than stated.
  DriverWorld world("k7/8/1K6/8/8/8/8/6Q1", "h#2");
  const std::string text = world.Solve();
  EXPECT_NE(text.find("Set Play: 1. ... "), std::string::npos) << text;
}

// A helpstalemate whose black king stands in check (the independent
// solver's example files): Black begins and answers the check, so the
// position is sound. It has no set play (that would begin with a white move)
// and no finding to show; the solve ends as a full one.
TEST(DriverHelpmate, BlackBeginningInCheckIsNoFault) {
  const char* inCheck = "8/1P6/8/8/5p2/6p1/pp2ppKp/Nk3R2";
  DriverWorld world(inCheck, "h=3");
  ASSERT_EQ(world.options[Option::SetPlay], 1);
  EXPECT_EQ(world.Solve(),
            "\n"
            " 1. e1=B  b8=Q\n"
            "    2. h1=S  Qxf4\n"
            "       3. bxa1=R  Qd2=\n"
            " ");
  EXPECT_TRUE(world.messages.empty());
  EXPECT_EQ(world.solver->stop, SolveStop::None);
  EXPECT_FALSE(world.solver->positionInvalid);

  // With White beginning the check could not have arisen: refused, once.
  DriverWorld whiteFirst(inCheck, "h=3 W");
  EXPECT_EQ(whiteFirst.Solve(), "");
  EXPECT_EQ(whiteFirst.solver->stop, SolveStop::InvalidPosition);
  EXPECT_EQ(whiteFirst.messages.size(), 1u);
}

#ifdef NDEBUG
TEST(DriverHelpmate, WhiteBeginsWritesEachKeyAfterOneDots) {
  // Fadil Abdurahmanović 2009 (checked problem set): h#3 with White beginning.
  DriverWorld world("3b1q2/1r5p/K3k2r/n3B2p/4BP2/3P4/4R3/8", "h#3 W");
  EXPECT_EQ(world.Solve(),
            "\n"
            " 4 solutions\n"
            " \n"
            " 1. ... Ba1!\n"
            "    2. Qxf4  Rb2\n"
            "       3. Ke5+  Rb6#\n"
            " \n"
            " 1. ... Bh8!\n"
            "    2. Bf6  f5\n"
            "       3. Kf7  Bd5#\n"
            " \n"
            " 1. ... Bh1!\n"
            "    2. Qc5  Rg2\n"
            "       3. Kd5+  Rg6#\n"
            " \n"
            " 1. ... Rg2!\n"
            "    2. Bb6  Bd5\n"
            "       3. Kf5  Rg5#\n"
            " ");
}

TEST(DriverSelfmate, ThreeMoverThreatAndForcedMates) {
  // Živko Janevski, Problemesis 2005, 1st Prize: s#3.
  DriverWorld world("3B4/Np2pq2/2PkPp2/5Rp1/2BKp3/2rpP2Q/1brp4/7b", "s#3");
  const std::string text = world.Solve();
  EXPECT_EQ(text.rfind("\nSolution: 1. Bb5! [2. Sc8+\n    2. ... Kxe6 3. Bc4 ... Rxc4#]\n"
                       " 1. ... bxc6 2. Rd5+\n    2. ... cxd5 3. Sc8 ... Rxc8#\n",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find(" 1. ... Kxe6 2. Re5+\n    2. ... Kd6 3. Rd5 ... Qxd5#"), std::string::npos);
}
#endif

TEST(DriverSelfmate, ForcedMatesEndEachLine) {
  // Wolfgang Pauly, The Theory of Pawn Promotion 1912. 1...Bxg2# at once is
  // a success one move early and gets no line.
  DriverWorld world("KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b", "s#2");
  EXPECT_EQ(world.Solve(),
            "\n"
            "Solution: 1. c8=S! waiting\n"
            " 1. ... exf6 2. exf6 ... Bxg2#\n"
            " 1. ... e6 2. g8=B ... Bxg2#\n"
            " ");
}

TEST(DriverReflexmate, CheckingKeyAndBlacksMate) {
  // Manolas 2012 (checked problem set): r#2.
  DriverWorld world("8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4", "r#2");
  EXPECT_EQ(world.Solve(), "\nSolution: 1. R1d3!+\n 1. ... cxd3 2. Kc1 ... Qh1#\n ");
}

TEST(DriverSelfmate, EveryFirstMoveIsTestedInTheSelfmateMode) {
  DriverWorld world("KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b", "s#2", "010111021110101000");
  const std::string text = world.Solve();
  EXPECT_NE(text.find("\nTest : 1. c8=S waiting\n 1. ... exf6 2. exf6 ... Bxg2#"),
            std::string::npos)
      << text;
}

TEST(DriverTwins, HeadingsAndEachTwinFromTheDiagram) {
  DriverWorld world(kPlanck, "#2", "001111001110101000");
  // a) the diagram; b) the white king from h3 to h2 and (combined) the white
  // pawn d2 removed; c) a selfmate in 2 of the diagram.
  TwinEntry entries[4] = {{TwinDiagram, false, 0, 0, 0},
                          {TwinMove, true, 47, 55, 0},
                          {TwinRemove, false, 51, 0, 0},
                          {TwinChangeType, false, KindSelf, 2, 0}};
  world.twins = BuildTwinsField(false, entries, 4);
  world.env.twins = world.twins;
  const Board diagram = world.pos.board;
  const std::string text = world.Solve();
  EXPECT_EQ(text.rfind("\na) Diagram\nSolution: 1. Kg2! [2. Qf3#]", 0), 0u) << text;
  EXPECT_NE(text.find("\nb) Kwh3->h2 et -Pwd2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nc)  s#2"), std::string::npos) << text;
  EXPECT_EQ(world.pos.board, diagram);
  EXPECT_EQ(world.type.kind, KindDirect);
  EXPECT_EQ(world.type.moves, 2);
}

TEST(DriverTwins, SuccessiveTwinsAndAfterTheKey) {
  DriverWorld world(kPlanck, "#2", "001111001110101000");
  TwinEntry entries[2] = {{TwinDiagram, false, 0, 0, 0}, {TwinAfterKey, false, 0, 0, 0}};
  world.twins = BuildTwinsField(true, entries, 2);
  world.env.twins = world.twins;
  const std::string text = world.Solve();
  EXPECT_NE(text.find("\nb) then Apr\xE8s la cl\xE9"), std::string::npos) << text;
  // The key Kh3-g2 was played for b): the king's move is no longer there.
  EXPECT_EQ(text.find("Kg2!", text.find("b) ")), std::string::npos) << text;
}

TEST(DriverTwins, KeyOfASelfmateTwinAndAnUnsolvableTypeChange) {
  // Pauly's s#2: the key lies in the list of the search's own length (one
  // more than the stated moves), and "after the key" must find it there.
  DriverWorld world("KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b", "s#2");
  TwinEntry entries[2] = {{TwinDiagram, false, 0, 0, 0},
                          {TwinChangeType, false, KindHelp | FlagSeries | FlagWhiteBegins, 2, 0}};
  world.twins = BuildTwinsField(false, entries, 2);
  world.env.twins = world.twins;
  const std::string text = world.Solve();
  const Move& key = world.solver->twinKey;
  EXPECT_EQ(key.from, 0);  // b) was not solved, so it found no key
  EXPECT_NE(text.find("\na) Diagram\nSolution: 1. c8=S! waiting"), std::string::npos) << text;
  // b) a series helpmate in which White begins is shown with its heading
  // and not solved.
  EXPECT_EQ(text.substr(text.find("\nb) ")), "\nb) sh#2 W");
  world.twins = BuildTwinsField(false, entries, 1);
  world.env.twins = world.twins;
  world.Solve();
  EXPECT_EQ(key.from, test::Sq("c7"));
  EXPECT_EQ(key.placed, WhiteKnight);
}

TEST(DriverText, CutAtFiftyThousandCharactersWithAMessage) {
  DriverWorld world(kPlanck, "#2");
  world.solver->text.AppendText(std::string(50123, 'x'));
  const std::string& text = FinishPaneText(*world.solver, world.ui);
  EXPECT_EQ(text.size(), 50000u);
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_EQ(world.messages[0], "truncated 50123 bytes ->50000 bytes");
  EXPECT_EQ(world.solver->text.textLength, 0);
}

TEST(DriverPosition, InvalidPositionStopsWithoutText) {
  DriverWorld world("8/8/8/8/8/8/8/4K3", "#2");
  EXPECT_EQ(world.Solve(), "");
  EXPECT_TRUE(world.solver->positionInvalid);
  EXPECT_EQ(world.solver->stop, SolveStop::InvalidPosition);
  ASSERT_EQ(world.messages.size(), 1u);  // the validation says why
}

// Each way a solve ends with less than a solution leaves its reason, so that
// a caller without message boxes can say why; a full solve leaves none.
TEST(DriverStop, EveryEarlyEndLeavesItsReason) {
  DriverWorld empty("8/8/8/8/8/8/8/8", "#2");
  EXPECT_EQ(empty.Solve(), "");
  EXPECT_TRUE(empty.messages.empty());  // the program stays silent here
  EXPECT_EQ(empty.solver->stop, SolveStop::EmptyBoard);

  DriverWorld nothingAsked(kPlanck, "#2", "000111001110101000");
  EXPECT_EQ(nothingAsked.Solve(), "");
  EXPECT_EQ(nothingAsked.solver->stop, SolveStop::NothingAsked);

  // The test-a-move preset with no move chosen in the dialog.
  DriverWorld noMove(kPlanck, "#2", "000000050000101000");
  EXPECT_EQ(noMove.Solve(), "");
  EXPECT_EQ(noMove.solver->stop, SolveStop::NoMoveChosen);

  DriverWorld broken(kPlanck, "#2");
  broken.breakAfterPolls = 0;
  const std::string text = broken.Solve();
  EXPECT_NE(text.find("User break"), std::string::npos) << text;
  EXPECT_EQ(broken.solver->stop, SolveStop::UserBreak);

  // The next solve starts without the last one's reason.
  broken.breakAfterPolls = -1;
  broken.Solve();
  EXPECT_EQ(broken.solver->stop, SolveStop::None);
}

}  // namespace
}  // namespace kv
