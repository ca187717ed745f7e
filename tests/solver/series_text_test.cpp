// The text of series movers as the solution pane shows it, through the
// solve driver: one line per solution, the words of the four languages,
// short solutions, no solution, the refused position, the notation
// options, a twin that turns the problem into a series mover, the refresh
// and the tree beside the text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver_world.h"
#include "solver/series_writer.h"
#include "solver/twins.h"
#include "strings/custom_language.h"

namespace kv {
namespace {

using SeriesWorld = test::DriverWorld;

// Series helpstalemate in 3, four solutions by the four promotions (from an
// independent solver's example files).
constexpr const char* kPromotions = "8/8/8/7K/8/5N2/4Npp1/5k2";

TEST(SeriesText, EachSolutionIsOneNumberedLineUnderTheirCount) {
  SeriesWorld world(kPromotions, "sh=3");
  EXPECT_EQ(world.Solve(),
            "\n"
            " 4 solutions\n"
            " 1. g1=Q 2. Qg3 3. Qf4  Sxf4=\n"
            " 1. g1=R 2. Rg4 3. Rf4  Sxf4=\n"
            " 1. g1=B 2. Bh2 3. Bf4  Sxf4=\n"
            " 1. g1=S 2. Sh3 3. Sf4+  Sxf4=\n"
            " ");
  EXPECT_EQ(world.status4.front(), " Searching solution...");
  EXPECT_EQ(world.status4.back().rfind(" Search completed : ", 0), 0u);
  EXPECT_EQ(world.solver->stop, SolveStop::None);
}

TEST(SeriesText, TheWordsAndLettersOfEachLanguage) {
  const struct {
    int base;
    const char* text;
  } cases[] = {
      {LanguageFrench,
       "\n 4 solutions\n 1. g1=D 2. Dg3 3. Df4  Cxf4=\n 1. g1=T 2. Tg4 3. Tf4  Cxf4=\n"
       " 1. g1=F 2. Fh2 3. Ff4  Cxf4=\n 1. g1=C 2. Ch3 3. Cf4+  Cxf4=\n "},
      {LanguageItalian,
       "\n 4 soluzioni\n 1. g1=D 2. Dg3 3. Df4  Cxf4=\n 1. g1=T 2. Tg4 3. Tf4  Cxf4=\n"
       " 1. g1=A 2. Ah2 3. Af4  Cxf4=\n 1. g1=C 2. Ch3 3. Cf4+  Cxf4=\n "},
      {LanguageSpanish,
       "\n 4 soluciones\n 1. g1=D 2. Dg3 3. Df4  Cxf4=\n 1. g1=T 2. Tg4 3. Tf4  Cxf4=\n"
       " 1. g1=A 2. Ah2 3. Af4  Cxf4=\n 1. g1=C 2. Ch3 3. Cf4+  Cxf4=\n "},
  };
  for (const auto& c : cases) {
    SeriesWorld world(kPromotions, "sh=3", nullptr, c.base);
    EXPECT_EQ(world.Solve(), c.text) << c.base;
  }
  EXPECT_EQ(SeriesWord(Language{LanguageFrench, nullptr}, SeriesWordShortSolution),
            "Solution courte");
  EXPECT_EQ(SeriesWord(Language{LanguageItalian, nullptr}, SeriesWordShortSolution),
            "Soluzione corta");
  EXPECT_EQ(SeriesWord(Language{LanguageSpanish, nullptr}, SeriesWordShortSolution),
            "Soluci\xF3n corta");
  EXPECT_EQ(SeriesWord(Language{LanguageEnglish, nullptr}, SeriesWordShortSolution),
            "Short solution");
}

TEST(SeriesText, ACustomStringFileWithoutTheWordsSpeaksEnglish) {
  auto custom = std::make_shared<CustomLanguage>();
  ASSERT_EQ(ParseStringFile("Kestrovale string file 2.10\nSTRING 51 \"x;y;z;w;\"\n", *custom),
            StringFileResult::Ok);
  const Language language{LanguageCustom, custom};
  EXPECT_EQ(SeriesWord(language, SeriesWordShortSolution), "Short solution");
  EXPECT_EQ(SeriesWord(language, SeriesWordSolutions), "solutions");
  auto translated = std::make_shared<CustomLanguage>();
  ASSERT_EQ(
      ParseStringFile("Kestrovale string file 2.10\nSTRING 240 \"Kurz;Lösungen\"\n", *translated),
      StringFileResult::Ok);
  EXPECT_EQ(SeriesWord(Language{LanguageCustom, translated}, SeriesWordShortSolution), "Kurz");
}

TEST(SeriesText, SeriesMateAndSeriesSelfmateLines) {
  // A series mate in 8 (an independent solver's example files).
  SeriesWorld mate("4Q3/8/k5q1/8/8/8/8/7K", "s #8");
  EXPECT_EQ(mate.Solve(), "\n 1. Qe4 2. Qg2 3. Kg1 4. Kf2 5. Ke3 6. Kd4 7. Kc5 8. Qa8#\n ");
  // A series selfmate in 2: Black's forced mate after White's series.
  SeriesWorld self("8/8/8/1p6/bPp5/kpP5/Np6/bK6", "ss#2");
  EXPECT_EQ(self.Solve(), "\n 1. Sc1 2. Sa2  bxa2#\n ");
  // The last move of a series may check, and is marked.
  SeriesWorld check(kPromotions, "sh=3");
  EXPECT_NE(check.Solve().find(" 3. Sf4+  Sxf4=\n"), std::string::npos);
}

TEST(SeriesText, LongNotationAndAnotherCaptureSign) {
  SeriesWorld world("8/8/8/1p6/bPp5/kpP5/Np6/bK6", "ss#2");
  world.options[Option::ShortNotation] = 0;
  world.options[Option::CaptureSign] = 1;
  EXPECT_EQ(world.Solve(), "\n 1. Sa2-c1 2. Sc1-a2  b3:a2#\n ");
}

TEST(SeriesText, AShorterSolutionIsShownAsShortAndNoneAsNoSolution) {
  SeriesWorld longer("8/8/8/8/8/6p1/5prb/3K1Nkb", "sh=7");
  EXPECT_EQ(longer.Solve(), "\n Short solution\n 1. Kxf1 2. Rg1 3. g2 4. Bf4 5. Bd2  Kxd2=\n ");
  EXPECT_TRUE(longer.solver->series != nullptr);
  SeriesWorld shorter("8/8/8/8/8/6p1/5prb/3K1Nkb", "sh=4");
  EXPECT_EQ(shorter.Solve(), "\nNo solution");
  EXPECT_EQ(shorter.solver->stop, SolveStop::None);
}

TEST(SeriesText, TheSideThatDoesNotMoveMayNotStandInCheck) {
  // White to play a series selfmate with the black king in check.
  SeriesWorld world("k7/1P6/8/8/8/8/8/7K", "ss#3");
  EXPECT_EQ(world.Solve(), "");
  EXPECT_EQ(world.solver->stop, SolveStop::InvalidPosition);
  ASSERT_EQ(world.messages.size(), 1u);
  // Black to play a series helpmate with the white king in check.
  SeriesWorld help("k7/8/8/8/8/8/6q1/7K", "sh#2");
  EXPECT_EQ(help.Solve(), "");
  EXPECT_EQ(help.solver->stop, SolveStop::InvalidPosition);
}

TEST(SeriesText, ARefreshWritesTheLastLinesWithTheNotationOfNow) {
  SeriesWorld world("8/8/8/1p6/bPp5/kpP5/Np6/bK6", "ss#2");
  world.Solve();
  world.options[Option::ShortNotation] = 0;
  EXPECT_EQ(world.Solve(SolveRefresh), "\n 1. Sa2-c1 2. Sc1-a2  b3xa2#\n ");
}

TEST(SeriesText, ASeriesMoverOfOneMoveIsSolvedNotTakenForARefresh) {
  // A fresh solve of one move searches; only SolveRefresh rewrites the last.
  SeriesWorld world("k3N3/P7/K7/8/8/8/8/8", "s #1");
  EXPECT_EQ(world.Solve(), "\n 1. Sc7#\n ");
  EXPECT_EQ(world.solver->stop, SolveStop::None);
}

TEST(SeriesText, ATwinThatTurnsTheProblemIntoASeriesMoverIsSolvedAsOne) {
  SeriesWorld world("8/8/8/8/8/6p1/5prb/3K1Nkb", "h=2");
  TwinEntry entries[2];
  entries[0].kind = TwinDiagram;
  entries[1].kind = TwinChangeType;
  entries[1].square1 = KindHelp | FlagSeries | FlagStalemate;
  entries[1].square2 = 5;
  world.twins = BuildTwinsField(false, entries, 2);
  world.env.twins = world.twins;
  const std::string text = world.Solve();
  const std::string twinB = "\nb) sh=5\n 1. Kxf1 2. Rg1 3. g2 4. Bf4 5. Bd2  Kxd2=\n ";
  ASSERT_GE(text.size(), twinB.size()) << text;
  EXPECT_EQ(text.substr(text.size() - twinB.size()), twinB) << text;
  EXPECT_EQ(text.rfind("\na) ", 0), 0u) << text;
}

TEST(SeriesText, TheTreeHoldsEachSolutionsSeriesAndLastMoves) {
  SeriesWorld world(kPromotions, "sh=3");
  SolutionTree tree;
  SolutionTreeBuilder builder(tree);
  world.solver->tree = &builder;
  world.Solve();
  ASSERT_EQ(tree.twins.size(), 1u);
  ASSERT_EQ(tree.twins[0].runs.size(), 1u);
  const TreeRun& run = tree.twins[0].runs[0];
  EXPECT_EQ(run.series, 1 + static_cast<int>(SeriesFamily::Help));
  EXPECT_EQ(run.keyCount, 4);
  EXPECT_FALSE(run.noSolution);
  EXPECT_FALSE(run.shortMate);
  ASSERT_EQ(run.phases.size(), 1u);
  ASSERT_EQ(run.phases[0].plays.size(), 4u);
  const TreePlay& last = run.phases[0].plays[3];
  ASSERT_EQ(last.series.size(), 3u);
  EXPECT_EQ(last.series[0].text, "g1=S");
  EXPECT_EQ(last.series[0].promotion, 'S');
  EXPECT_FALSE(last.series[0].white);
  EXPECT_TRUE(last.series[2].check);
  ASSERT_EQ(last.finals.size(), 1u);
  EXPECT_EQ(last.finals[0].text, "Sxf4");
  EXPECT_TRUE(last.finals[0].white);
  EXPECT_TRUE(last.finals[0].capture);
}

}  // namespace
}  // namespace kv
