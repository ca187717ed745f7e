// The deeper problems and the other kinds of the checked problem set against
// the independent solver's texts (tests/solver/peer/, copied from the shared
// problem set): for three- to five-movers, selfmates and the reflexmate the
// key, its threat and White's answers to every black reply the peer shows
// after the key; for helpmates every solution line.
//
// The peer shows more than this program writes in two places, and the
// comparison allows for them: a reply after which White mates sooner than
// the stipulation (a short variation) is not written here at all, and a
// reply that does not stop the threat is left out by the peer but written
// here (the threat filter acts only at the last move), so only the replies
// the peer shows are compared.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

using Moves = std::set<std::string>;
using Answers = std::map<std::string, Moves>;  // black reply -> White's answers
using Lines = std::set<std::vector<std::string>>;

struct Battle {
  std::string key;
  Moves threat;
  Answers answers;
  Moves shortReplies;  // replies the peer answers by an immediate mate
};

std::string Trim(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' ');
  const std::size_t b = s.find_last_not_of(" \r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// One move as both texts can be compared: no check, mate or key signs, the
// castling letters of this program, and capture signs dropped (a mate shared
// by replies of which only some leave a man to take is written "(*)").
std::string Plain(std::string move) {
  move = move.substr(0, move.find(" e.p."));
  while (!move.empty() && std::string("+#!?").find(move.back()) != std::string::npos)
    move.pop_back();
  if (move == "0-0") return "O-O";
  if (move == "0-0-0") return "O-O-O";
  const std::size_t marked = move.find("(*)");
  if (marked != std::string::npos) move.replace(marked, 3, "-");
  for (char& c : move)
    if (c == '*') c = '-';
  return move;
}

std::string FirstWord(const std::string& s) {
  return s.substr(0, s.find(' '));
}

// The peer's whole text; a missing or empty file fails the test, so that no
// comparison passes for want of anything to compare.
std::string PeerText(const std::string& id) {
  const std::string path = KESTROVALE_SOURCE_DIR "/tests/solver/peer/" + id + ".txt";
  std::ifstream in(path);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (text.str().empty()) ADD_FAILURE() << "no peer text " << path;
  return text.str();
}

// The key section of the peer's text: "   1.Kf1-e2 ! threat:", the threat's
// moves at column 10, replies "      1...Re8-d8" and White's answers
// "          2.Ke2-e3 threat:" (set play before the key, tries after it).
Battle PeerBattle(const std::string& id) {
  std::stringstream lines(PeerText(id));
  Battle battle;
  std::string line, reply;
  bool inKey = false, inThreat = false;
  while (std::getline(lines, line)) {
    if (line.rfind("   1.", 0) == 0) {
      if (inKey) break;
      inKey = line.find(" !") != std::string::npos;
      if (inKey) battle.key = Plain(FirstWord(line.substr(5)));
      inThreat = line.find("threat:") != std::string::npos;
      continue;
    }
    if (!inKey) continue;
    if (line.rfind("      1...", 0) == 0) {
      reply = Plain(FirstWord(line.substr(10)));
      inThreat = false;
    } else if (line.rfind("          2.", 0) == 0) {
      const std::string rest = line.substr(12);
      const std::string move = Plain(FirstWord(rest));
      if (inThreat) {
        battle.threat.insert(move);
      } else if (rest.find('#') != std::string::npos) {
        battle.shortReplies.insert(reply);
      } else {
        battle.answers[reply].insert(move);
      }
    }
  }
  return battle;
}

// The moves of a group as the writer joins them ("Rf6-f7/f8/*f2, Bb5-d3")
// into whole moves.
std::vector<std::string> Expand(const std::string& group) {
  std::vector<std::string> moves;
  std::stringstream tokens(group);
  std::string token;
  while (std::getline(tokens, token, ',')) {
    std::stringstream parts(Trim(token));
    std::string part, prefix;
    while (std::getline(parts, part, '/')) {
      if (prefix.empty()) {
        // The man's letter (not for a pawn) and its from square.
        prefix = part.substr(0, std::string("KQRBS").find(part[0]) != std::string::npos ? 3 : 2);
        moves.push_back(Plain(part));
      } else {
        moves.push_back(Plain(prefix + (part[0] == '*' ? part : "-" + part)));
      }
    }
  }
  return moves;
}

// The moves of a threat header's text ("Rf6-f7+", "Qd4, Qe5#", "Ke3 threat 3. ...").
std::vector<std::string> ThreatMoves(const std::string& text) {
  std::string moves = text;
  for (const char* end : {" threat", " waiting", " ad lib", " ..."}) {
    const std::size_t at = moves.find(end);
    if (at != std::string::npos) moves.resize(at);
  }
  return Expand(moves);
}

SolveOptions OptionsFor(const ProblemType& type, const char* digits) {
  SolveOptions options;
  for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
  options[Option::Kind] = type.kind;
  SwitchOptionsToKind(options, type.kind);
  return options;
}

std::string Solve(const char* fen, const char* stip, const char* digits) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(stip, type)) << stip;
  SolveOptions options = OptionsFor(type, digits);
  const std::string twins;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, twins, language, ui};
  return SolveEntry(*solver, env, type.moves);
}

// The key section of this program's text: "Solution: 1. Kf1-e2! threat 2. ...",
// further threat moves on their own lines, then " 1... reply 2. answer ...".
Battle OurBattle(const char* fen, const char* stip) {
  // Actual play, variations with duals and separators, long notation, "1..."
  // and "*" for captures, as the peer writes them.
  std::stringstream lines(Solve(fen, stip, "001111001110000012"));
  Battle battle;
  std::string line;
  bool inKey = false, beforeReplies = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Solution: 1. ", 0) == 0) {
      inKey = beforeReplies = true;
      const std::string move = FirstWord(line.substr(13));
      battle.key = Plain(move.substr(0, move.find('!')));
    }
    if (!inKey) continue;
    if (line.rfind(" 1... ", 0) == 0) beforeReplies = false;
    const std::size_t threat = line.find("threat 2. ");
    if (beforeReplies && threat != std::string::npos) {
      for (const std::string& m : ThreatMoves(line.substr(threat + 10))) battle.threat.insert(m);
    }
    const std::size_t split = line.find(" 2. ");
    if (line.rfind(" 1... ", 0) == 0 && split != std::string::npos) {
      const std::string reply = Plain(line.substr(6, split - 6));
      battle.answers[reply].insert(Plain(FirstWord(line.substr(split + 4))));
    }
  }
  return battle;
}

struct Problem {
  const char* id;
  const char* stip;
  const char* fen;
};

void ExpectBattleAgrees(const Problem& p) {
  SCOPED_TRACE(p.id);
  const Battle peer = PeerBattle(p.id);
  const Battle ours = OurBattle(p.fen, p.stip);
  ASSERT_FALSE(peer.key.empty());
  EXPECT_FALSE(peer.threat.empty() && peer.answers.empty()) << "nothing to compare after the key";
  EXPECT_EQ(ours.key, peer.key);
  EXPECT_EQ(ours.threat, peer.threat);
  for (const auto& [reply, answers] : peer.answers) {
    const auto found = ours.answers.find(reply);
    if (found == ours.answers.end()) {
      ADD_FAILURE() << "reply " << reply << " missing";
      continue;
    }
    EXPECT_EQ(found->second, answers) << "after " << reply;
  }
  for (const std::string& reply : peer.shortReplies)
    EXPECT_EQ(ours.answers.count(reply), 0u) << "short variation " << reply << " written";
}

// Composers and sources in bench/problems/suite.tsv.
constexpr Problem kThreeMovers[] = {
    {"dm3_giegold1932", "#3", "K7/1Q6/3pk2p/2pR4/1N6/8/6P1/8"},
    {"dm3_wurzburg1941", "#3", "8/P7/8/5R2/4p3/8/2K1kB2/8"},
    {"dm3_johandl1967", "#3", "8/8/3N3n/3p4/3N4/n1B1k1K1/8/5B2"},
    {"dm3_kraemer1943", "#3", "k7/2RN4/8/1p2B3/np6/1Kb5/Qn6/8"},
    {"dm3_loyd1903", "#3", "4r1b1/1p4B1/pN2pR2/RB2k3/1P2N2p/2p3b1/n2P1p1r/5K1n"},
    {"dm3_shmatov2012", "#3", "8/7p/8/4p2K/5kPP/1Q4N1/8/8"},
    {"dm3_howard2008", "#3", "B7/8/7Q/4k3/KNp5/8/5P2/8"},
    {"dm3_turnbull1996", "#3", "7B/8/2B5/8/1p2pp2/kb5Q/7K/8"},
    {"dm3_spare1993", "#3", "7k/5Q2/8/6p1/8/7P/8/1n2K2R"},
    {"dm3_ivanov1957", "#3", "8/7B/1N6/ppB1p3/8/Pk6/8/R3K3"},
};

constexpr Problem kLongerAndSelfmates[] = {
    {"dm4_ivanov1963", "#4", "8/8/7P/8/8/5K1p/7k/8"},
    {"dm4_speckmann1967", "#4", "8/4Q3/2k5/5B2/pK6/1p6/8/7b"},
    {"sm2_argunow1999", "s#2", "2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4"},
    {"sm3_janevski2005", "s#3", "3B4/Np2pq2/2PkPp2/5Rp1/2BKp3/2rpP2Q/1brp4/7b"},
    {"sm3_janevski2009", "s#3", "8/RQ4p1/2NpBpP1/2k2Kp1/1Np3rr/B3p2b/qp1P2p1/1n6"},
    {"sm3_mladenovic2020", "s#3", "8/8/r2N3b/1R3PB1/1p3Q2/ppkP2R1/2p2ppq/2K2br1"},
    {"rm2_manolas2012", "r#2", "8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4"},
};

TEST(DeepPeerComparison, ThreeMoversKeyThreatAndAnswersToEachReply) {
  for (const Problem& p : kThreeMovers) ExpectBattleAgrees(p);
}

TEST(DeepPeerComparison, FourMoversSelfmatesAndReflexmate) {
  for (const Problem& p : kLongerAndSelfmates) ExpectBattleAgrees(p);
#ifdef NDEBUG
  ExpectBattleAgrees({"dm5_zakhodyakin", "#5", "8/8/8/p7/8/8/4RKR1/kb6"});
  ExpectBattleAgrees(
      {"sm3_jorgensen1952", "s#3", "2b2Knq/RP1BP1rr/7b/4p1p1/1N2k1P1/3n2P1/1pQPP3/NR4B1"});
#endif
}

// The last two moves under each first-level pair of a three-mover or
// selfmate: for White's answer (or threat move, reply "") the black replies
// at the second move and White's answers to them.
using Deeper = std::map<std::pair<std::string, std::string>, Answers>;

Deeper PeerDeeper(const std::string& id) {
  std::stringstream lines(PeerText(id));
  Deeper deeper;
  std::string line, reply, answer, reply2;
  bool inKey = false;
  while (std::getline(lines, line)) {
    if (line.rfind("   1.", 0) == 0) {
      if (inKey) break;
      inKey = line.find(" !") != std::string::npos;
      continue;
    }
    if (!inKey) continue;
    if (line.rfind("      1...", 0) == 0) {
      reply = Plain(FirstWord(line.substr(10)));
    } else if (line.rfind("          2.", 0) == 0) {
      answer = Plain(FirstWord(line.substr(12)));
      reply2.clear();
    } else if (line.rfind("              2...", 0) == 0) {
      reply2 = Plain(FirstWord(line.substr(18)));
      deeper[{reply, answer}][reply2];
    } else if (line.rfind("                  3.", 0) == 0 && !reply2.empty()) {
      deeper[{reply, answer}][reply2].insert(Plain(FirstWord(line.substr(20))));
    }
  }
  return deeper;
}

Deeper OurDeeper(const char* fen, const char* stip) {
  std::stringstream lines(Solve(fen, stip, "001111001110000012"));
  Deeper deeper;
  std::string line, reply, answer;
  bool inKey = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Solution: 1. ", 0) == 0) inKey = true;
    if (!inKey) continue;
    const std::size_t threat = line.find("threat 2. ");
    if (line.rfind(" 1... ", 0) == 0) {
      const std::size_t split = line.find(" 2. ");
      reply = Plain(line.substr(6, split - 6));
      answer = Plain(FirstWord(line.substr(split + 4)));
    } else if (threat != std::string::npos) {
      reply.clear();
      answer = Plain(FirstWord(line.substr(threat + 10)));
    } else if (line.rfind("    2... ", 0) == 0) {
      const std::size_t split = line.find(" 3. ");
      std::string mates = line.substr(split + 4);
      mates = mates.substr(0, mates.find(" ..."));  // a selfmate's forced mates follow
      for (const std::string& r : Expand(line.substr(9, split - 9)))
        for (const std::string& m : ThreatMoves(mates)) deeper[{reply, answer}][r].insert(m);
    }
  }
  return deeper;
}

// Every reply the peer shows at the last move is written here with the same
// mates (this program leaves out the replies that allow the threat, as the
// peer does, but keeps king moves).
// Returns the number of replies compared.
int ExpectLastMovesAgree(const Problem& p) {
  SCOPED_TRACE(p.id);
  const Deeper peer = PeerDeeper(p.id);
  const Deeper ours = OurDeeper(p.fen, p.stip);
  int compared = 0;
  for (const auto& [pair, answers] : peer) {
    const auto found = ours.find(pair);
    if (found == ours.end()) continue;  // a short variation, or a threat repeat
    for (const auto& [reply, mates] : answers) {
      ++compared;
      const auto mine = found->second.find(reply);
      if (mine == found->second.end()) {
        ADD_FAILURE() << pair.first << " " << pair.second << ": reply " << reply << " missing";
        continue;
      }
      EXPECT_EQ(mine->second, mates) << pair.first << " " << pair.second << " " << reply;
    }
  }
  return compared;
}

TEST(DeepPeerComparison, LastTwoMovesOfThreeMoversAndSelfmates) {
  // The threat of the Loyd problem has more than the 99 variations a list
  // holds; the rest are not listed.
  // (Turnbull's peer text shows only the threat: nothing at this depth.)
  int problems = 0;
  int replies = 0;
  for (const Problem& p : kThreeMovers) {
    if (std::string(p.id) == "dm3_loyd1903") continue;
    replies += ExpectLastMovesAgree(p);
    ++problems;
  }
  for (const Problem& p : kLongerAndSelfmates) {
    if (std::string(p.stip) != "s#3") continue;
    replies += ExpectLastMovesAgree(p);
    ++problems;
  }
  EXPECT_EQ(problems, 9 + 3);  // nine three-movers and three selfmates in three
  // The peer texts hold 53 replies at this depth that this program writes
  // too; fewer means a text was cut or lost.
  EXPECT_GE(replies, 53);
}

// Every line of the peer's helpmate text
// ("  1.Rb1-g1 Ba6-f1 +   2.Kg2-h1 + Bf1-g2 +   3.h3*g2 Rd7-h7 #").
Lines PeerLines(const std::string& id) {
  std::stringstream text(PeerText(id));
  Lines lines;
  std::string line;
  while (std::getline(text, line)) {
    if (line.rfind("  1.", 0) != 0) continue;
    std::stringstream words(line);
    std::vector<std::string> moves;
    std::string word;
    while (words >> word) {
      if (word == "+" || word == "#") continue;
      const std::size_t dot = word.find_last_of('.');
      moves.push_back(Plain(dot == std::string::npos ? word : word.substr(dot + 1)));
    }
    lines.insert(moves);
  }
  return lines;
}

// This program's helpmate tree (" 1. Kf3  Rd3", "    2. exd3  Bb5", with
// "1. ... Be5-a1!" first when White begins) as whole lines, one per mate.
Lines OurLines(const char* fen, const char* stip) {
  std::stringstream text(Solve(fen, stip, "000111010000000012"));
  Lines lines;
  std::vector<std::vector<std::string>> levels;
  std::string line;
  while (std::getline(text, line)) {
    line = Trim(line);
    const std::size_t dot = line.find(". ");
    if (line.empty() || dot == std::string::npos || dot > 1 || line[0] < '1' || line[0] > '9')
      continue;
    const std::size_t level = line[0] - '0';
    std::string rest = line.substr(dot + 2);
    if (rest.rfind("... ", 0) == 0) rest = rest.substr(4);
    std::vector<std::string> moves;
    std::stringstream words(rest);
    std::string word;
    bool mates = false;
    while (words >> word) {
      mates = word.back() == '#';
      moves.push_back(Plain(word));
    }
    levels.resize(level);
    levels[level - 1] = moves;
    if (mates) {
      std::vector<std::string> whole;
      for (const auto& l : levels) whole.insert(whole.end(), l.begin(), l.end());
      lines.insert(whole);
    }
  }
  return lines;
}

constexpr Problem kHelpmatesInTwo[] = {
    {"hm2_forsberg1935", "h#2", "8/8/q7/8/1R4K1/k2N4/8/8"},
    {"hm2_garai1989", "h#2", "4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1"},
    {"hm2_feather1975", "h#2", "1RrB2b1/8/4n3/2n3p1/2K2b2/1p1rk3/6BR/8"},
    {"hm2_muller2009", "h#2", "8/8/Kp3p2/p1B1pP2/1r1NPpq1/1rk2p2/1p1p4/1B6"},
};

TEST(DeepPeerComparison, EveryHelpmateSolution) {
  for (const Problem& p : kHelpmatesInTwo) {
    const Lines peer = PeerLines(p.id);
    ASSERT_FALSE(peer.empty()) << p.id;
    EXPECT_EQ(OurLines(p.fen, p.stip), peer) << p.id;
  }
#ifdef NDEBUG
  constexpr Problem kHelpmatesInThree[] = {
      {"hm3_weenink2010", "h#3", "3q4/3b4/8/bPpk2p1/1p6/rppK3p/6p1/6NR"},
      {"hm3_turner1995", "h#3", "q1b1n1K1/2P1P3/8/3k4/8/8/8/8"},
      {"hm3_jonsson2009", "h#3", "6K1/3R4/B7/4pp2/4p3/4P2p/3P2k1/1r6"},
      {"hm3_loyd1860", "h#3", "6R1/7q/8/5k2/5B2/8/5Kbb/8"},
      {"hm3w_abdurahmanovic2009", "h#3 W", "3b1q2/1r5p/K3k2r/n3B2p/4BP2/3P4/4R3/8"},
  };
  for (const Problem& p : kHelpmatesInThree) {
    const Lines peer = PeerLines(p.id);
    ASSERT_FALSE(peer.empty()) << p.id;
    EXPECT_EQ(OurLines(p.fen, p.stip), peer) << p.id;
  }
#endif
}

}  // namespace
}  // namespace kv
