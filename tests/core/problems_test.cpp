// Published two-movers whose answers an independent solver checked: after
// the key every legal black reply allows a mate at once, and after each try
// its refutation allows none. Exercises generation, legality and the
// mate-in-one scan on real positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/notation.h"
#include "tests/core/test_position.h"

namespace kv {
namespace {

struct TwoMover {
  const char* id;
  const char* board;
  const char* key;
  const char* tries;  // "move:refutation; ..."
};

const TwoMover kTwoMovers[] = {
    {"dm2_planck1884", "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2", "Kh3-g2",
     "Qf1-f5:Ke4xf5; Qf1-f3:Ke4xf3; d2-d3:Ke4-e3; Kh3-g4:Sc6-e5; Sb5-c3:Ke4-d4; Sd7-c5:Ke4-e5"},
    {"dm2_howard1926", "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6", "Qc5-d4",
     "Qc5xb4:Ra4xb4; Sc7-b5:Sd6xb5; Bf8-g7:Sd6-c4"},
    {"dm2_bettmann1901", "5Q2/2pbpN2/3p4/8/3kP1R1/2R5/1K6/6b1", "Qf8-a8",
     "Sf7-g5:Bd7xg4; Qf8-g7:e7-e5; Qf8-h8:e7-e5"},
    {"dm2_touw1984", "1QK5/3B4/3N4/1R1Pk3/4Np1R/4Pq2/8/8", "Qb8-b6",
     "Rh4xf4:Qf3xf4; Rh4-h5:Qf3xh5; Sd6-c4:Ke5xe4; Sd6-f5:Ke5xe4; Sd6-f7:Ke5xe4; Sd6-e8:Ke5xe4; "
     "Sd6-b7:Ke5xe4; Qb8-a7:Qf3xe4; Kc8-b7:Qf3-g4"},
    {"dm2_buchwald1946", "3Q1b2/7b/3npN2/2p5/2P2P1R/2P1k3/1N6/3BK3", "Qd8-c7",
     "Bd1-e2:Bh7-c2; Rh4-h3:Ke3xf4; Qd8xd6:Bf8xd6"},
    {"dm2_volf1905", "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q", "Sh4-f3", "Qh1-b1:Qa2xb1"},
    {"dm2_goldschmeding1992", "2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8", "Se4-g5",
     "Qc4xc3:Bb2xc3; Qc4-d4:Ke5xd4; Se4-d2:Qb7-b4; Se4-f2:Qb7-b4; Se4-f6:Be2xf3; Se4xd6:Be2xf3; "
     "Se4-c5:Qb7xh7; Bh4-f6:Rh6xf6"},
    {"dm2_forster2007a", "8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8", "Sf4-g6",
     "Sf4-g2:Ke4-f5; Sf4-h3:Ke4-f5; Sf4-d5:Ke4-f5; Qd6xd3:Ke4-e5; Qd6-d5:Be6xd5; Qd6xe6:Sg5xe6"},
    {"dm2_forster2007b", "8/2N2qPQ/4R1p1/1R1BNk1p/K2p1p1B/3P1p2/1p2r1P1/8", "Re6xg6",
     "Bd5-e4:Re2xe4; Se5xg6:Qf7-f6; Se5xf7:Kf5-g4; Re6-f6:Qf7xf6; Qh7xg6:Qf7xg6; Qh7xh5:g6xh5; "
     "Qh7-h6:Qf7-f6"},
    {"dm2_kubbel1940", "8/7Q/8/8/6p1/6N1/6kP/4K2R", "Qh7-h6",
     "Rh1-g1:Kg2xg1; Qh7-b1:Kg2-h3; Qh7-c2:Kg2-h3; Qh7-d3:Kg2-h3; Qh7-e4:Kg2-h3; Qh7-f5:Kg2-h3; "
     "Qh7-g6:Kg2-h3; Qh7-h4:Kg2-f3; Qh7-h5:Kg2-f3; Qh7-a7:Kg2-h3; Qh7-b7:Kg2-h3; Qh7-e7:Kg2-h3; "
     "Qh7-f7:Kg2-h3; Qh7-h8:Kg2-f3"},
    {"dm2_szoghy1935", "2B5/7q/pR2pr1n/K1N1k2P/2PR2b1/2P2rn1/3B3N/1Q6", "Qb1-f5",
     "Sh2xg4:Sh6xg4; Rd4-d5:e6xd5; Sc5-d7:Qh7xd7"},
    {"dm2_ahues1983", "6R1/b1NN4/1p5K/1B1P4/3kp3/1R1pn3/6b1/1n4Q1", "Rg8-a8",
     "Qg1xe3:Kd4xe3; Qg1-f2:Bg2-f3; Rb3-b4:Kd4-c3; Rb3xd3:e4xd3; d5-d6:Ba7-b8; Kh6-h7:Ba7-b8; "
     "Sc7-e6:Kd4xd5; Rg8xg2:Ba7-b8; Rg8-g3:Bg2-f3; Rg8-g4:Bg2-f1; Rg8-g5:Bg2-h3; Rg8-b8:Ba7xb8; "
     "Rg8-c8:Ba7-b8; Rg8-d8:Ba7-b8; Rg8-e8:Ba7-b8; Rg8-f8:Ba7-b8; Rg8-h8:Ba7-b8"},
    {"dm2_prins1985", "3br3/Q4Rp1/1nNp2K1/R6N/3r2kB/6P1/B5P1/8", "Bh4-e7",
     "Ba2-e6:Re8xe6; Ra5-g5:Bd8xg5; Sc6-e7:d6-d5; Qa7-e7:Sb6-d5; Qa7-d7:Sb6xd7; Rf7-f4:Rd4xf4; "
     "Rf7-e7:Rd4-d5"},
    {"dm2_tura1962", "2B1N1q1/2N1Pb2/1pP3rn/b3k1p1/r2p2R1/BR1p2K1/5Q2/8", "Bc8-e6",
     "Qf2-e1:Ba5xe1; Qf2xd4:Ra4xd4; Qf2-e3:d4xe3; Qf2-e2:d3xe2; Qf2-f6:Rg6xf6; Qf2-f5:Sh6xf5; "
     "Qf2-f4:g5xf4; Ba3-d6:Rg6xd6; Ba3-b4:Rg6-e6; Rb3-b5:Bf7-d5; Rb3-b4:Bf7-e6; Rg4-e4:Ke5xe4; "
     "Rg4xg5:Rg6xg5"},
    {"dm2_mansfield1962", "8/4p2K/3P4/5kP1/2R1Np2/1B3Q2/8/8", "Se4-f6",
     "Qf3xf4:Kf5xf4; Qf3-h3:Kf5-e5; Rc4-c5:e7-e5"},
    {"dm2_reeves1962", "1r2NbK1/8/6R1/2n1p3/1Qp1k1P1/2P1N1p1/q1P1BrP1/2B1R3", "Se3xc4",
     "Be2-f3:Rf2xf3; Be2xc4:Rb8xb4; Be2-d3:Sc5xd3; Se3-d1:Ke4-d5; Se3-f1:Ke4-d5; Se3-f5:Ke4-d5; "
     "Se3-d5:Ke4xd5; Qb4xc4:Qa2xc4; Se8-d6:Bf8xd6; Se8-f6:Rf2xf6"},
    {"dm2_macleod1962", "5kNK/3pRp2/r5pp/1n2NB2/5R2/7q/p2rp3/1b5Q", "Bf5-d3",
     "Qh1-a8:Ra6xa8; Se5xg6:f7xg6; Se5xd7:Rd2xd7; Bf5xb1:f7-f5; Bf5-c2:f7-f5; Bf5xd7:Sb5-d6; "
     "Bf5-e6:Bb1-f5; Re7-e8:Kf8xe8; Re7xf7:Kf8-e8"},
};

// The long English text of a move as the problem set writes it (en passant
// as a plain capture).
std::string Text(const Board& board, const Move& move) {
  std::string text = MoveToText(board, move, 0, NotationContext{});
  const auto ep = text.find(" e.p.");
  if (ep != std::string::npos) text.erase(ep);
  return text;
}

// The legal move of the side to move written `text`; false when none.
bool FindMove(Position& pos, bool white, int lastFrom, int lastTo, const std::string& text,
              Move& found) {
  MoveList list;
  if (white) {
    GenerateWhiteMoves(pos, lastFrom, lastTo, list);
  } else {
    GenerateBlackMoves(pos, lastFrom, lastTo, list);
  }
  for (const Move& m : testing::Moves(list)) {
    if (Text(pos.board, m) != text) continue;
    found = m;
    return true;
  }
  return false;
}

// The tries of a problem as (try, refutation) pairs. An item that is not
// such a pair fails the test rather than being skipped unchecked.
std::vector<std::pair<std::string, std::string>> Tries(const std::string& tries) {
  std::vector<std::pair<std::string, std::string>> result;
  std::stringstream in(tries);
  std::string item;
  while (std::getline(in, item, ';')) {
    while (!item.empty() && item.front() == ' ') item.erase(0, 1);
    const auto colon = item.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == item.size()) {
      ADD_FAILURE() << "malformed try '" << item << "'";
      continue;
    }
    result.emplace_back(item.substr(0, colon), item.substr(colon + 1));
  }
  return result;
}

TEST(TwoMovers, EveryReplyToTheKeyAllowsMateAndEachRefutationDoesNot) {
  std::size_t problemsChecked = 0;
  std::size_t triesChecked = 0;
  for (const TwoMover& problem : kTwoMovers) {
    SCOPED_TRACE(problem.id);
    Position pos = testing::FromFen(problem.board);
    ASSERT_EQ(FindMateInOne(pos, 0, 0), 0) << "no mate in one";
    Move key;
    ASSERT_TRUE(FindMove(pos, true, 0, 0, problem.key, key)) << problem.key;
    MakeMove(pos, key);
    ASSERT_EQ(AttackedByBlack(pos, pos.whiteKingSquare), 0);
    MoveList replies;
    ASSERT_EQ(GenerateBlackMoves(pos, key.from, key.to, replies), 0);
    int legalReplies = 0;
    for (const Move& reply : testing::Moves(replies)) {
      MakeMove(pos, reply);
      const int mate = FindMateInOne(pos, reply.from, reply.to);
      UnmakeMove(pos, reply);
      if (mate == -1) continue;  // the reply left its king attacked
      ++legalReplies;
      EXPECT_EQ(mate, 1) << problem.key << " " << Text(pos.board, reply);
    }
    EXPECT_GT(legalReplies, 0);
    UnmakeMove(pos, key);

    for (const auto& [tryText, refutationText] : Tries(problem.tries)) {
      Move attempt;
      ASSERT_TRUE(FindMove(pos, true, 0, 0, tryText, attempt)) << tryText;
      MakeMove(pos, attempt);
      Move refutation;
      ASSERT_TRUE(FindMove(pos, false, attempt.from, attempt.to, refutationText, refutation))
          << tryText << " " << refutationText;
      MakeMove(pos, refutation);
      EXPECT_EQ(FindMateInOne(pos, refutation.from, refutation.to), 0)
          << tryText << " " << refutationText;
      UnmakeMove(pos, refutation);
      UnmakeMove(pos, attempt);
      ++triesChecked;
    }
    ++problemsChecked;
  }
  // Every problem and every try of the table was checked: 17 problems with
  // 122 tries between them, one colon each.
  std::size_t triesInTable = 0;
  for (const TwoMover& problem : kTwoMovers)
    triesInTable += static_cast<std::size_t>(
        std::count(problem.tries, problem.tries + std::strlen(problem.tries), ':'));
  EXPECT_EQ(problemsChecked, std::size(kTwoMovers));
  EXPECT_GE(problemsChecked, 17u);
  EXPECT_EQ(triesChecked, triesInTable);
  EXPECT_GE(triesChecked, 122u);
}

}  // namespace
}  // namespace kv
