// A fresh solver world for the search tests: a position from a FEN board,
// options, a silent user interface and the search state, plus move texts in
// the long and short algebraic forms of the checked problem set.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "solver/search.h"
#include "tab_fields.h"

namespace kv::test {

// One row of the checked problem set (tests/solver/data/search_problems.tsv).
struct CheckedProblem {
  std::string id, stipulation, fen, key, tries, helpSolutions, author, source;
};

// The rows the checked problem set holds: a loader that reads fewer (a cut
// or missing file) fails the test instead of letting it check nothing.
inline constexpr std::size_t CheckedProblemCount = 45;

inline std::vector<CheckedProblem> LoadCheckedProblems() {
  std::vector<CheckedProblem> rows;
  const char* path = KESTROVALE_SOURCE_DIR "/tests/solver/data/search_problems.tsv";
  std::ifstream in(path);
  if (!in) {
    ADD_FAILURE() << "cannot read the checked problem set " << path;
    return rows;
  }
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::vector<std::string> cells = kv::test::TabFields(line);
    if (cells.size() < 3 || cells[0].empty() || cells[1].empty() || cells[2].empty()) {
      ADD_FAILURE() << "a row of " << path << " lacks its id, stipulation or board: " << line;
      continue;
    }
    cells.resize(10);
    rows.push_back(
        {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7]});
  }
  EXPECT_EQ(rows.size(), CheckedProblemCount) << "rows of " << path;
  return rows;
}

// A row by its id; a missing row fails the test.
inline CheckedProblem FindProblem(const std::string& id) {
  for (const CheckedProblem& row : LoadCheckedProblems())
    if (row.id == id) return row;
  ADD_FAILURE() << "no row " << id << " in the checked problem set";
  return {};
}

// Long algebraic as the checked set writes keys and tries: Sb5-c3, Re6xg6,
// a7-a8=B, O-O.
inline std::string LongText(const Move& move) {
  static constexpr char kLetters[] = " RQBSPK   KPSBQR";
  const int man = move.moved;
  if ((man == WhiteKing || man == BlackKing) && move.from - move.to == -2) return "O-O";
  if ((man == WhiteKing || man == BlackKing) && move.from - move.to == 2) return "O-O-O";
  std::string text;
  if (man != WhitePawn && man != BlackPawn) text += kLetters[man];
  text += static_cast<char>('a' + move.from % 10 - 2);
  text += static_cast<char>('0' + 10 - move.from / 10);
  text += move.captured != 0 ? 'x' : '-';
  text += static_cast<char>('a' + move.to % 10 - 2);
  text += static_cast<char>('0' + 10 - move.to / 10);
  if (move.placed != move.moved) {
    text += '=';
    text += kLetters[move.placed];
  }
  return text;
}

struct SearchWorld {
  Position pos{};
  SolveOptions options{};
  UiCallbacks ui{};
  Language language{};
  std::unique_ptr<SearchState> state = std::make_unique<SearchState>();
  SearchContext ctx{pos, options, ui, language, *state};

  SearchWorld(const SearchWorld&) = delete;
  SearchWorld& operator=(const SearchWorld&) = delete;
  explicit SearchWorld(const std::string& fen) {
    std::string error;
    ParseFenBoard(fen, pos.board, &error);
    DerivePositionState(pos);
  }

  // Short algebraic as the checked helpmate solutions write it (Rdxd8,
  // exd8=Q, no check signs), for a move about to be played in this position.
  std::string ShortText(const Move& move, bool white) {
    static constexpr char kLetters[] = " RQBSPK   KPSBQR";
    const int man = move.moved;
    if ((man == WhiteKing || man == BlackKing) && move.from - move.to == -2) return "O-O";
    if ((man == WhiteKing || man == BlackKing) && move.from - move.to == 2) return "O-O-O";
    const auto file = [](int square) { return static_cast<char>('a' + square % 10 - 2); };
    const auto rank = [](int square) { return static_cast<char>('0' + 10 - square / 10); };
    std::string text;
    const bool pawn = man == WhitePawn || man == BlackPawn;
    if (pawn) {
      if (move.captured != 0) text += file(move.from);
    } else {
      text += kLetters[man];
      MoveList& rivals = state->work[WorkLists - 1];
      if (white)
        GenerateWhiteMoves(pos, 0, 0, rivals);
      else
        GenerateBlackMoves(pos, 0, 0, rivals);
      bool sameFile = false, sameRank = false, any = false;
      for (int i = 0; rivals.moves[i].from != 0; ++i) {
        const Move& other = rivals.moves[i];
        if (other.to != move.to || other.moved != man || other.from == move.from) continue;
        if (!LegalAfter(other, white)) continue;
        any = true;
        sameFile |= other.from % 10 == move.from % 10;
        sameRank |= other.from / 10 == move.from / 10;
      }
      if (any) {
        if (!sameFile)
          text += file(move.from);
        else if (!sameRank)
          text += rank(move.from);
        else
          text += std::string{file(move.from), rank(move.from)};
      }
    }
    if (move.captured != 0) text += 'x';
    text += std::string{file(move.to), rank(move.to)};
    if (move.placed != move.moved) text += std::string{'=', kLetters[move.placed]};
    return text;
  }

  bool LegalAfter(const Move& move, bool white) {
    MakeMove(pos, move);
    const bool legal = white ? AttackedByBlack(pos, pos.whiteKingSquare) == 0
                             : AttackedByWhite(pos, pos.blackKingSquare) == 0;
    UnmakeMove(pos, move);
    return legal;
  }

  // Key search at the root as the driver runs it: topMoves = n; `tries`
  // refutations at most make a try.
  int RootSearch(int n, int tries) { return RootSearch(n, TryLimit{tries}); }
  int RootSearch(int n, TryLimit limit) {
    state->topMoves = n;
    state->KeyList(n).Clear();
    state->TryList(n).Clear();
    MoveList* list = state->LevelList(n);
    return n == 2 ? SearchMateInTwo(ctx, 0, 0, list, true, limit)
                  : SearchMateInN(ctx, n, 0, 0, list, true, limit);
  }

  // A move of the side to move found by its long text (from 0, 0 when absent).
  Move FindMove(const std::string& text, bool white) {
    MoveList& list = state->work[WorkLists - 1];
    if (white)
      GenerateWhiteMoves(pos, 0, 0, list);
    else
      GenerateBlackMoves(pos, 0, 0, list);
    for (int i = 0; list.moves[i].from != 0; ++i)
      if (LongText(list.moves[i]) == text) return list.moves[i];
    return Move{};
  }

  std::vector<std::string> Texts(const MoveRecords& list) const {
    std::vector<std::string> texts;
    for (int i = 0; i < ListedRecords && list.records[i].from != 0; ++i)
      texts.push_back(LongText(list.records[i]));
    return texts;
  }
};

}  // namespace kv::test
