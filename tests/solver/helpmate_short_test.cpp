// Helpmates that hide an answer unless the driver reports it: shorter
// solutions of a helpmate in which Black begins, every one of more than
// nineteen continuations, and an illegal position with the white king in
// check while Black is to move.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/validation.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "strings/line_ends.h"

namespace kv {
namespace {

struct HelpWorld {
  Position pos;
  ProblemType type;
  SolveOptions options{};
  Language language;
  UiCallbacks ui;
  std::vector<std::string> messages;
  std::unique_ptr<Solver> solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, "", language, ui};

  HelpWorld(const char* fen, const char* stip, bool setPlay) {
    EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
    EXPECT_TRUE(ParseProblemType(stip, type)) << stip;
    SwitchOptionsToKind(options, type.kind);
    options[Option::SetPlay] = setPlay ? 1 : 0;
    ui.messageBox = [this](const std::string& text, const std::string&, int) {
      messages.push_back(text);
      return IdOk;
    };
  }
  std::string Solve(int n = 0) {
    return CrlfToLf(SolveEntry(*solver, env, n == 0 ? type.moves : n));
  }
};

// Constructed: after 1. Sb6 or 1. Sc7 White mates at once (Qa2#), so the
// h#2 is cooked by two shorter solutions. Before its full-length solutions
// the text now shows them under "Short Mate", in the same layout.
constexpr const char* kCooked = "n5Q1/8/8/8/6N1/K7/8/k7";

// Its full-length solutions (a reply after which White can mate at once,
// 1. Sb6 or 1. Sc7, has none), 2 x 21 lines after 1. Kb1.
const std::string kCookedFullLength =
    "\n"
    " 1. Kb1  Qf8\n"
    "    2. Ka1  Qf1#\n"
    " 1. Kb1  Qe8\n"
    "    2. Ka1  Qe1#\n"
    " 1. Kb1  Qd8\n"
    "    2. Sc7/b6, Ka1  Qd1#\n"
    " 1. Kb1  Qc8\n"
    "    2. Ka1  Qc1#\n"
    " 1. Kb1  Qb8\n"
    "    2. Ka1  Qb2#\n"
    " 1. Kb1  Qxa8\n"
    "    2. Ka1  Qh1#\n"
    " 1. Kb1  Qh8\n"
    "    2. Sc7/b6  Qb2#\n"
    " 1. Kb1  Qg7\n"
    "    2. Sc7/b6  Qb2#\n"
    " 1. Kb1  Qg5\n"
    "    2. Ka1  Qc1#\n"
    " 1. Kb1  Qh7\n"
    "    2. Ka1  Qh1#\n"
    " 1. Kb1  Qf7\n"
    "    2. Ka1  Qf1/a2#\n"
    " 1. Kb1  Qe6\n"
    "    2. Ka1  Qe1/a2#\n"
    " 1. Kb1  Qd5\n"
    "    2. Sc7/b6  Qd1#\n"
    "    2. Ka1  Qd1/h1/a2#\n"
    " 1. Kb1  Qc4\n"
    "    2. Ka1  Qc1/f1/a2#\n"
    " 1. Kb1  Qb3\n"
    "    2. Ka1  Qb2/d1/a2#\n"
    " 1. Kb1  Sf6\n"
    "    2. Ka1  Qg1/a2#\n"
    " 1. Kb1  Sh6\n"
    "    2. Ka1  Qg1/a2#\n"
    " 1. Kb1  Se5\n"
    "    2. Ka1  Qg1/a2#\n"
    " 1. Kb1  Se3\n"
    "    2. Sc7/b6  Qg1#\n"
    "    2. Ka1  Qg1/a2#\n"
    " 1. Kb1  Sf2\n"
    "    2. Ka1  Qg1/a2#\n"
    " 1. Kb1  Sh2\n"
    "    2. Ka1  Qg1/a2#\n"
    " ";

TEST(HelpmateShortSolutions, BlackBeginsWritesThemBeforeTheFullLength) {
  HelpWorld world(kCooked, "h#2", false);
  EXPECT_EQ(world.Solve(),
            "\n"
            " Short Mate\n"
            " \n"
            " 1. Sc7/b6  Qa2#\n"
            " " +
                kCookedFullLength);
  // A refresh writes them again.
  EXPECT_EQ(world.Solve(SolveRefresh), world.Solve());
}

TEST(HelpmateShortSolutions, SetPlayRunKeepsItsOwnShortMate) {
  // The set play (White first) mates at once; the solution run follows with
  // its shorter solutions, each once.
  HelpWorld world(kCooked, "h#2", true);
  EXPECT_EQ(world.Solve(),
            "\n"
            " Short Mate\n"
            " \n"
            "Set Play: 1. ... Qa2! Mate in 1\n"
            " Short Mate\n"
            " \n"
            " 1. Sc7/b6  Qa2#\n"
            " " +
                kCookedFullLength);
}

TEST(HelpmateShortSolutions, OnlyShorterSolutions) {
  // Constructed: Black's one move allows mate at once, so an h#3 has only
  // the shorter solution.
  HelpWorld world("k7/8/1K6/8/8/8/8/6Q1", "h#3", false);
  EXPECT_EQ(world.Solve(),
            "\n"
            " Short Mate\n"
            " \n"
            " 1. Kb8  Qg8#\n"
            " ");
}

// The cooked h#2 after 1. Kb1, with White to move: 21 first moves after
// which Black can help mate, all written (a list of nineteen lost 1. ... Sf2
// and 1. ... Sh2).
TEST(HelpmateContinuations, AllTwentyOneWhiteBeginsSolutions) {
  HelpWorld world("n5Q1/8/8/8/6N1/K7/8/1k6", "h#2 W", false);
  world.options[Option::ShowChangedMates] = 0;
  EXPECT_EQ(world.Solve(),
            "\n"
            " 21 solutions\n"
            " \n"
            " 1. ... Qf8!\n"
            "    2. Ka1  Qf1#\n"
            " \n"
            " 1. ... Qe8!\n"
            "    2. Ka1  Qe1#\n"
            " \n"
            " 1. ... Qd8!\n"
            "    2. Sc7/b6, Ka1  Qd1#\n"
            " \n"
            " 1. ... Qc8!\n"
            "    2. Ka1  Qc1#\n"
            " \n"
            " 1. ... Qb8!\n"
            "    2. Ka1  Qb2#\n"
            " \n"
            " 1. ... Qxa8!\n"
            "    2. Ka1  Qh1#\n"
            " \n"
            " 1. ... Qh8!\n"
            "    2. Sc7/b6  Qb2#\n"
            " \n"
            " 1. ... Qg7!\n"
            "    2. Sc7/b6  Qb2#\n"
            " \n"
            " 1. ... Qg5!\n"
            "    2. Ka1  Qc1#\n"
            " \n"
            " 1. ... Qh7!\n"
            "    2. Ka1  Qh1#\n"
            " \n"
            " 1. ... Qf7!\n"
            "    2. Ka1  Qf1/a2#\n"
            " \n"
            " 1. ... Qe6!\n"
            "    2. Ka1  Qe1/a2#\n"
            " \n"
            " 1. ... Qd5!\n"
            "    2. Sc7/b6  Qd1#\n"
            "    2. Ka1  Qd1/h1/a2#\n"
            " \n"
            " 1. ... Qc4!\n"
            "    2. Ka1  Qc1/f1/a2#\n"
            " \n"
            " 1. ... Qb3!\n"
            "    2. Ka1  Qb2/d1/a2#\n"
            " \n"
            " 1. ... Sf6!\n"
            "    2. Ka1  Qg1/a2#\n"
            " \n"
            " 1. ... Sh6!\n"
            "    2. Ka1  Qg1/a2#\n"
            " \n"
            " 1. ... Se5!\n"
            "    2. Ka1  Qg1/a2#\n"
            " \n"
            " 1. ... Se3!\n"
            "    2. Sc7/b6  Qg1#\n"
            "    2. Ka1  Qg1/a2#\n"
            " \n"
            " 1. ... Sf2!\n"
            "    2. Ka1  Qg1/a2#\n"
            " \n"
            " 1. ... Sh2!\n"
            "    2. Ka1  Qg1/a2#\n"
            " ");
}

// Black to move could take the white king: an illegal position, reported
// once (the set-play run judges quietly) and not solved.
TEST(HelpmateIllegalPosition, WhiteKingInCheckWithBlackToMove) {
  for (const bool setPlay : {true, false}) {
    HelpWorld world("8/N7/8/8/8/8/1b6/K6k", "h#2", setPlay);
    EXPECT_EQ(world.Solve(), "");
    EXPECT_TRUE(world.solver->positionInvalid);
    ASSERT_EQ(world.messages.size(), 1u) << setPlay;
    EXPECT_EQ(world.messages[0], "white king in check");
  }
  // With White to move it is a check to answer, and the play is solved.
  HelpWorld white("8/N7/8/8/8/8/1b6/K6k", "h#2 W", false);
  white.Solve();
  EXPECT_FALSE(white.solver->positionInvalid);
  EXPECT_TRUE(white.messages.empty());
}

}  // namespace
}  // namespace kv
