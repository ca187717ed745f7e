// A plain enumeration of the orthodox stipulations, written from their
// definitions with the rules core alone (legal moves, make and take back,
// attacks): no search code of the solver, no tables, no pruning. It is slow
// and meant for small depths, as the reference the searches must agree
// with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/position.h"
#include "core/rules.h"

namespace kv::test {

enum class BruteGoal { Mate, Stalemate };
enum class BruteKind { Direct, Help, Self, Reflex };

struct BruteRules {
  BruteKind kind = BruteKind::Direct;
  BruteGoal goal = BruteGoal::Mate;
  bool maximummer = false;
};

class BruteForce {
 public:
  BruteForce(const Position& diagram, const BruteRules& rules) : pos_(diagram), rules_(rules) {}

  // Battle play: the shortest length m <= n at which White has a key, and
  // the keys there (from-to squares and promotion letter, "e2e4", "a7a8q",
  // castling as the king's move). 0 and no keys when none is within n.
  int Keys(int n, std::set<std::string>& keys) {
    keys.clear();
    // A reflexmate's White that could reach the goal at once must, and fails.
    if (rules_.kind == BruteKind::Reflex && WhiteCanReachGoal(Move{})) return 0;
    for (int m = 1; m <= n; ++m) {
      keys.clear();
      for (const Move& w : Legal(true, Move{})) {
        MakeMove(pos_, w);
        const bool key =
            rules_.kind == BruteKind::Direct ? DirectAfterWhite(w, m) : SelfAfterWhite(w, m);
        UnmakeMove(pos_, w);
        if (key) keys.insert(Name(w));
      }
      if (!keys.empty()) return m;
    }
    return 0;
  }

  // Help play: every line of exactly `halfMoves` moves (Black first unless
  // `whiteFirst`) whose last move, White's, reaches the goal, each line as
  // its moves' names joined by blanks.
  std::set<std::string> HelpLines(int halfMoves, bool whiteFirst) {
    std::set<std::string> lines;
    std::vector<std::string> path;
    HelpWalk(halfMoves, !whiteFirst, Move{}, path, lines);
    return lines;
  }

  static std::string Name(const Move& m) {
    std::string text{
        static_cast<char>('a' + m.from % 10 - 2), static_cast<char>('0' + 10 - m.from / 10),
        static_cast<char>('a' + m.to % 10 - 2), static_cast<char>('0' + 10 - m.to / 10)};
    if (m.placed != m.moved) text += " rqbnpk   kpnbqr"[m.placed];
    return text;
  }

 private:
  // The legal moves of a side after `last` (for en passant); a maximummer
  // Black keeps only its longest ones (castling counts as the king's two
  // steps, since the move is stored as the king's).
  std::vector<Move> Legal(bool white, const Move& last) {
    MoveList list;
    const int status = white ? GenerateWhiteMoves(pos_, last.from, last.to, list)
                             : GenerateBlackMoves(pos_, last.from, last.to, list);
    std::vector<Move> legal;
    if (status != 0) return legal;
    for (int i = 0; list.moves[i].from != 0; ++i) {
      const Move& m = list.moves[i];
      MakeMove(pos_, m);
      const bool attacked = white ? AttackedByBlack(pos_, pos_.whiteKingSquare) != 0
                                  : AttackedByWhite(pos_, pos_.blackKingSquare) != 0;
      UnmakeMove(pos_, m);
      if (!attacked) legal.push_back(m);
    }
    if (!white && rules_.maximummer) {
      int longest = -1;
      for (const Move& m : legal) longest = std::max(longest, Length(m));
      std::vector<Move> kept;
      for (const Move& m : legal)
        if (Length(m) == longest) kept.push_back(m);
      legal = kept;
    }
    return legal;
  }
  static int Length(const Move& m) {
    const int dr = m.to / 10 - m.from / 10;
    const int dc = m.to % 10 - m.from % 10;
    return dr * dr + dc * dc;
  }

  // The side to move (after `last`) stands at the goal.
  bool AtGoal(bool whiteToMove, const Move& last) {
    const bool check = whiteToMove ? AttackedByBlack(pos_, pos_.whiteKingSquare) != 0
                                   : AttackedByWhite(pos_, pos_.blackKingSquare) != 0;
    if (check != (rules_.goal == BruteGoal::Mate)) return false;
    // (The maximummer's choice does not change whether a move exists.)
    const bool saved = rules_.maximummer;
    rules_.maximummer = false;
    const bool none = Legal(whiteToMove, last).empty();
    rules_.maximummer = saved;
    return none;
  }

  bool WhiteCanReachGoal(const Move& last) {
    for (const Move& w : Legal(true, last)) {
      MakeMove(pos_, w);
      const bool goal = AtGoal(false, w);
      UnmakeMove(pos_, w);
      if (goal) return true;
    }
    return false;
  }

  // Direct: White has played `w`; White forces the goal within m moves
  // counting w.
  bool DirectAfterWhite(const Move& w, int m) {
    if (AtGoal(false, w)) return true;
    if (m == 1) return false;
    const std::vector<Move> replies = Legal(false, w);
    if (replies.empty()) return false;
    for (const Move& b : replies) {
      MakeMove(pos_, b);
      bool forced = false;
      for (const Move& w2 : Legal(true, b)) {
        MakeMove(pos_, w2);
        forced = DirectAfterWhite(w2, m - 1);
        UnmakeMove(pos_, w2);
        if (forced) break;
      }
      UnmakeMove(pos_, b);
      if (!forced) return false;
    }
    return true;
  }

  // Self and reflex: White has played `w`; Black must reach the goal (White
  // mated or stalemated) by its m-th move from here on.
  bool SelfAfterWhite(const Move& w, int m) {
    const std::vector<Move> replies = Legal(false, w);
    if (replies.empty()) return false;
    const bool reflex = rules_.kind == BruteKind::Reflex;
    std::vector<bool> reaches(replies.size());
    bool any = false;
    for (std::size_t i = 0; i < replies.size(); ++i) {
      MakeMove(pos_, replies[i]);
      reaches[i] = AtGoal(true, replies[i]);
      UnmakeMove(pos_, replies[i]);
      any = any || reaches[i];
    }
    // A reflexmate's Black must reach the goal when it can.
    if (reflex && any) return true;
    if (m == 1)
      return !reflex && std::all_of(reaches.begin(), reaches.end(), [](bool r) { return r; });
    for (std::size_t i = 0; i < replies.size(); ++i) {
      if (reaches[i]) continue;
      const Move& b = replies[i];
      MakeMove(pos_, b);
      bool forced = false;
      // A reflexmate's White must reach the goal when it can, and fails.
      if (!(reflex && WhiteCanReachGoal(b))) {
        for (const Move& w2 : Legal(true, b)) {
          MakeMove(pos_, w2);
          forced = SelfAfterWhite(w2, m - 1);
          UnmakeMove(pos_, w2);
          if (forced) break;
        }
      }
      UnmakeMove(pos_, b);
      if (!forced) return false;
    }
    return true;
  }

  void HelpWalk(int left, bool blackToMove, const Move& last, std::vector<std::string>& path,
                std::set<std::string>& lines) {
    for (const Move& m : Legal(!blackToMove, last)) {
      MakeMove(pos_, m);
      path.push_back(Name(m));
      if (left == 1) {
        if (!blackToMove && AtGoal(false, m)) {
          std::string line;
          for (const std::string& name : path) line += (line.empty() ? "" : " ") + name;
          lines.insert(line);
        }
      } else {
        HelpWalk(left - 1, !blackToMove, m, path, lines);
      }
      path.pop_back();
      UnmakeMove(pos_, m);
    }
  }

  Position pos_;
  BruteRules rules_;
};

}  // namespace kv::test
