// The words of the stalemate goal and the series play, in the four
// languages and from a string file that lacks some of them, and the texts
// the stalemate goal writes with them: "=" where a mate writes "#",
// " Stalemate in 1", "Short solution", "But Mate!".
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/fen.h"
#include "solver/play_words.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "strings/custom_language.h"

namespace kv {
namespace {

Language Built(int base) {
  Language language;
  language.base = base;
  return language;
}

TEST(PlayWords, TheTableInTheFourLanguages) {
  struct Row {
    int base;
    const char* stalemateInOne;
    const char* shortSolution;
    const char* butMate;
  };
  const Row rows[] = {
      {LanguageEnglish, " Stalemate in 1", "Short solution", "But Mate!"},
      {LanguageFrench, " Pat en 1", "Solution courte", "Mais mat !"},
      {LanguageItalian, " Stallo in 1", "Soluzione breve", "Ma matto!"},
      {LanguageSpanish, " Ahogado en 1", "Soluci\xF3n corta", "\xA1Pero mate!"},
  };
  for (const Row& row : rows) {
    const Language language = Built(row.base);
    EXPECT_EQ(PlayWordText(language, PlayWord::StalemateInOne), row.stalemateInOne);
    EXPECT_EQ(PlayWordText(language, PlayWord::ShortSolution), row.shortSolution);
    EXPECT_EQ(PlayWordText(language, PlayWord::ButMate), row.butMate);
    EXPECT_EQ(GoalInOneText(language, Goal::Stalemate), row.stalemateInOne);
    EXPECT_EQ(ShortSolutionHeader(language, Goal::Stalemate), row.shortSolution);
    EXPECT_EQ(OtherGoalText(language, Goal::Stalemate), row.butMate);
    // A mate keeps the words it always had.
    EXPECT_EQ(GoalInOneText(language, Goal::Mate), MessagePart(language, 5));
    EXPECT_EQ(OtherGoalText(language, Goal::Mate), MessagePart(language, 4));
    EXPECT_EQ(ShortSolutionHeader(language, Goal::Mate), "Short Mate");
  }
  EXPECT_STREQ(GoalSign(Goal::Mate), "#");
  EXPECT_STREQ(GoalSign(Goal::Stalemate), "=");
}

TEST(PlayWords, AStringFileLackingThemGetsTheEnglishOnes) {
  auto custom = std::make_shared<CustomLanguage>();
  // Message 218 with its first part only, and one without it at all.
  ASSERT_EQ(ParseStringFile("2.10\nSTRING 218 \" Patt in 1\"\n", *custom), StringFileResult::Ok);
  Language language = Built(LanguageCustom);
  language.custom = custom;
  EXPECT_EQ(PlayWordText(language, PlayWord::StalemateInOne), " Patt in 1");
  EXPECT_EQ(PlayWordText(language, PlayWord::ShortSolution), "Short solution");
  EXPECT_EQ(PlayWordText(language, PlayWord::ButMate), "But Mate!");
  auto none = std::make_shared<CustomLanguage>();
  ASSERT_EQ(ParseStringFile("2.10\nSTRING 51 \"a;b;c;d;\"\n", *none), StringFileResult::Ok);
  language.custom = none;
  EXPECT_EQ(PlayWordText(language, PlayWord::StalemateInOne), " Stalemate in 1");
}

std::string Solve(const char* fen, const char* stipulation, int languageBase = LanguageEnglish,
                  const char* digits = nullptr) {
  auto pos = std::make_unique<Position>();
  EXPECT_TRUE(ParseFenBoard(fen, pos->board, nullptr));
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stipulation, type)) << stipulation;
  SolveOptions options;
  if (digits != nullptr)
    for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
  SwitchOptionsToKind(options, type.kind);
  const Language language = Built(languageBase);
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{*pos, type, options, "", language, ui};
  std::string text = SolveEntry(*solver, env, type.moves);
  for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r'))
    text.erase(at, 1);
  return text;
}

TEST(PlayWords, TheTextsOfTheStalemateGoal) {
  // Three keys that stalemate at once; as a two-mover they are short.
  const char* queen = "k7/8/1K6/8/8/8/8/6Q1";
  EXPECT_EQ(Solve(queen, "=1"),
            "\n 3 solutions\n \nSolution: 1. Kc7! Stalemate in 1\nSolution: 1. Qg3! Stalemate in 1"
            "\nSolution: 1. Qh2! Stalemate in 1");
  EXPECT_EQ(Solve(queen, "=2", LanguageFrench),
            "\n Solution courte\n \n 3 solutions\n \nSolution : 1. R\xE7"
            "7! Pat en 1"
            "\nSolution : 1. Dg3! Pat en 1\nSolution : 1. Dh2! Pat en 1");
  // Tries: the stalemate threatened, and "=" after the last move.
  const std::string rook = Solve("7k/8/5K2/8/8/8/8/R7", "=2");
  EXPECT_NE(rook.find("\nTry: 1. Ra7? ad lib 2. Rg7=\n  But 1. ... Kg8! \n"), std::string::npos)
      << rook;
  // A helpstalemate: the lines end in "=".
  EXPECT_EQ(Solve("8/8/8/pp6/k1P5/1p6/pK6/8", "h=2", LanguageEnglish, "000111011110101000"),
            "\n 1. a1=Q+  Kxa1\n    2. b4  Kb2=\n 1. a1=R  Kxa1\n    2. b4  Kb2=\n 1. a1=B+  Kxa1"
            "\n    2. b4  Kb2=\n 1. a1=S  Kxa1\n    2. b4  Kb2=\n ");
  // A selfstalemate's last move is Black's forced stalemate, " ... " and "=".
  const std::string self = Solve("7n/2p1Pp2/2PppRp1/2pk2P1/B1Np4/3Kp3/4P3/8", "s=1");
  EXPECT_EQ(self.find('#'), std::string::npos) << self;
}

TEST(PlayWords, ATestedMoveThatMatesInAStalemateIsNoSuccess) {
  // Every first move tested (tries only): the rook's check on the eighth
  // rank mates, which a stalemate problem reports as "But Mate!".
  const std::string text =
      Solve("7k/8/6K1/8/8/8/8/R7", "=2", LanguageEnglish, "010111000000101000");
  EXPECT_NE(text.find("Test : 1. Ra8\n But Mate!"), std::string::npos) << text;
}

}  // namespace
}  // namespace kv
