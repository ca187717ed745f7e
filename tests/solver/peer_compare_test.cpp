// The variations of every published two-mover of the checked set against
// the independent solver's own text (tests/solver/peer/, copied from the
// shared problem set): after the key, the same black replies must be met by
// the same mates. The layouts differ; only the pairs are compared.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

using Pairs = std::set<std::pair<std::string, std::string>>;

// A mate shared by several replies carries its capture sign in parentheses
// when only some of them leave a man to take; compare mates by their squares.
std::string Squares(std::string mate) {
  for (char& c : mate)
    if (c == '*') c = '-';
  return mate;
}

struct PeerProblem {
  const char* id;
  const char* fen;
};

// The two-movers of the checked problem set (composers and sources in
// bench/problems/suite.tsv).
constexpr PeerProblem kTwoMovers[] = {
    {"dm2_planck1884", "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2"},
    {"dm2_howard1926", "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6"},
    {"dm2_bettmann1901", "5Q2/2pbpN2/3p4/8/3kP1R1/2R5/1K6/6b1"},
    {"dm2_touw1984", "1QK5/3B4/3N4/1R1Pk3/4Np1R/4Pq2/8/8"},
    {"dm2_buchwald1946", "3Q1b2/7b/3npN2/2p5/2P2P1R/2P1k3/1N6/3BK3"},
    {"dm2_volf1905", "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q"},
    {"dm2_goldschmeding1992", "2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8"},
    {"dm2_forster2007a", "8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8"},
    {"dm2_forster2007b", "8/2N2qPQ/4R1p1/1R1BNk1p/K2p1p1B/3P1p2/1p2r1P1/8"},
    {"dm2_kubbel1940", "8/7Q/8/8/6p1/6N1/6kP/4K2R"},
    {"dm2_szoghy1935", "2B5/7q/pR2pr1n/K1N1k2P/2PR2b1/2P2rn1/3B3N/1Q6"},
    {"dm2_ahues1983", "6R1/b1NN4/1p5K/1B1P4/3kp3/1R1pn3/6b1/1n4Q1"},
    {"dm2_prins1985", "3br3/Q4Rp1/1nNp2K1/R6N/3r2kB/6P1/B5P1/8"},
    {"dm2_tura1962", "2B1N1q1/2N1Pb2/1pP3rn/b3k1p1/r2p2R1/BR1p2K1/5Q2/8"},
    {"dm2_mansfield1962", "8/4p2K/3P4/5kP1/2R1Np2/1B3Q2/8/8"},
    {"dm2_reeves1962", "1r2NbK1/8/6R1/2n1p3/1Qp1k1P1/2P1N1p1/q1P1BrP1/2B1R3"},
    {"dm2_macleod1962", "5kNK/3pRp2/r5pp/1n2NB2/5R2/7q/p2rp3/1b5Q"},
};

std::string Trim(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' ');
  const std::size_t b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// The pairs under the key of the peer's text ("   1.Kh3-g2 ! threat:").
Pairs PeerPairs(const std::string& id) {
  const std::string path = KESTROVALE_SOURCE_DIR "/tests/solver/peer/" + id + ".txt";
  std::ifstream in(path);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  Pairs pairs;
  std::string line, reply;
  bool inKey = false;
  while (std::getline(in, line)) {
    if (line.rfind("   1.", 0) == 0) {
      inKey = line.find(" !") != std::string::npos;
      reply.clear();
      continue;
    }
    if (!inKey) continue;
    if (line.rfind("      1...", 0) == 0) {
      reply = Trim(line.substr(10));
    } else if (line.rfind("          2.", 0) == 0 && !reply.empty()) {
      std::string mate = Trim(line.substr(12));
      mate = mate.substr(0, mate.find(' '));
      pairs.insert({reply.substr(0, reply.find(' ')), Squares(mate)});
    }
  }
  return pairs;
}

// A group as the writer joins it ("Bg5-e3/f4, Sc6-d4") into whole moves.
std::vector<std::string> Expand(const std::string& group) {
  std::vector<std::string> moves;
  std::stringstream tokens(group);
  std::string token;
  while (std::getline(tokens, token, ',')) {
    token = Trim(token);
    std::stringstream parts(token);
    std::string part, prefix;
    bool first = true;
    while (std::getline(parts, part, '/')) {
      if (first) {
        // The man's letter (not for a pawn) and its from square.
        prefix = part.substr(0, std::string("RQBSK").find(part[0]) != std::string::npos ? 3 : 2);
        moves.push_back(part);
        first = false;
      } else {
        moves.push_back(prefix + (part[0] == '*' ? part : "-" + part));
      }
    }
  }
  for (std::string& m : moves) {
    if (!m.empty() && m.back() == '+') m.pop_back();
    const std::size_t marked = m.find("(*)");
    if (marked != std::string::npos) m.replace(marked, 3, "*");
    if (m == "O-O") m = "0-0";
    if (m == "O-O-O") m = "0-0-0";
  }
  return moves;
}

Pairs OurPairs(const char* fen) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr));
  ProblemType type;
  SolveOptions options;
  // Actual play, variations with duals and separators, long notation,
  // "1..." and the capture sign "*" as the peer writes them.
  const char digits[] = "001111001110000012";
  for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
  const std::string twins;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, twins, language, ui};
  const std::string text = SolveEntry(*solver, env, 2);
  Pairs pairs;
  std::stringstream lines(text);
  std::string l;
  bool inSolution = false;
  while (std::getline(lines, l)) {
    if (l.rfind("Solution:", 0) == 0) inSolution = true;
    if (!l.empty() && l.back() == '\r') l.pop_back();
    const std::size_t split = l.find(" 2. ");
    if (!inSolution || l.rfind(" 1... ", 0) != 0 || split == std::string::npos || l.back() != '#')
      continue;
    const std::string replies = l.substr(6, split - 6);
    const std::string mates = l.substr(split + 4, l.size() - split - 5);
    for (const std::string& reply : Expand(replies))
      for (const std::string& mate : Expand(mates)) pairs.insert({reply, Squares(mate)});
  }
  return pairs;
}

TEST(PeerComparison, VariationsAfterTheKeyOfEveryTwoMover) {
  std::size_t pairs = 0;
  for (const PeerProblem& p : kTwoMovers) {
    const Pairs peer = PeerPairs(p.id);
    ASSERT_FALSE(peer.empty()) << p.id;
    EXPECT_EQ(OurPairs(p.fen), peer) << p.id;
    pairs += peer.size();
  }
  // Every two-mover of the checked set, with its pairs (their total as the
  // peer texts hold them), was compared.
  EXPECT_EQ(std::size(kTwoMovers), 17u);
  EXPECT_GE(pairs, std::size(kTwoMovers) * 2);
}

}  // namespace
}  // namespace kv
