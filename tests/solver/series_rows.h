// The series movers of tests/solver/data/stipulations.tsv (problems whose
// solutions an independent solver listed) and the helpers the series tests
// share: the stipulation of a row as a problem type, and a solution as the
// data writes it (each move from-square, to-square and promotion letter,
// castling "O-O"/"O-O-O", both sides' moves in playing order).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/position.h"
#include "core/rules.h"
#include "core/validation.h"
#include "solver/problem_type.h"
#include "solver/series_search.h"
#include "tab_fields.h"

namespace kv::test {

struct SeriesRow {
  std::string id, stipulation, board;
  int count = 0;
  std::vector<std::string> solutions;  // as the data writes them
};

// The series rows the data holds: a loader that finds fewer fails the test.
inline constexpr std::size_t SeriesRowCount = 18;

// "ser-h=5" -> series helpstalemate in 5; false for a row of another kind.
inline bool SeriesTypeOf(const std::string& stipulation, ProblemType& type) {
  if (stipulation.rfind("ser-", 0) != 0) return false;
  std::size_t i = 4;
  type = ProblemType{};
  type.flags = FlagSeries;
  type.kind = KindDirect;
  if (i < stipulation.size() && stipulation[i] == 'h')
    type.kind = KindHelp, ++i;
  else if (i < stipulation.size() && stipulation[i] == 's')
    type.kind = KindSelf, ++i;
  else if (i < stipulation.size() && stipulation[i] == 'r')
    type.kind = KindReflex, ++i;
  if (i >= stipulation.size() || (stipulation[i] != '#' && stipulation[i] != '=')) return false;
  if (stipulation[i] == '=') type.flags |= FlagStalemate;
  type.moves = static_cast<std::uint8_t>(std::stoi(stipulation.substr(i + 1)));
  return true;
}

inline std::vector<std::string> SplitSolutions(const std::string& field) {
  std::vector<std::string> out;
  std::stringstream parts(field);
  std::string part;
  while (std::getline(parts, part, ';'))
    if (!part.empty()) out.push_back(part);
  return out;
}

inline std::vector<SeriesRow> LoadSeriesRows() {
  std::vector<SeriesRow> rows;
  const char* path = KESTROVALE_SOURCE_DIR "/tests/solver/data/stipulations.tsv";
  std::ifstream in(path);
  if (!in) {
    ADD_FAILURE() << "cannot read " << path;
    return rows;
  }
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells = TabFields(line);
    if (cells.size() < 6) continue;
    cells.resize(7);
    ProblemType type;
    if (!SeriesTypeOf(cells[1], type)) continue;
    rows.push_back({cells[0], cells[1], cells[4], std::stoi(cells[5]), SplitSolutions(cells[6])});
  }
  EXPECT_EQ(rows.size(), SeriesRowCount) << "series rows of " << path;
  return rows;
}

// A move as the data writes it: "b2b1R", "e1g1" is "O-O".
inline std::string DataMoveText(const Move& m) {
  static constexpr char kLetters[] = " RQBSPK   KPSBQR";
  const bool king = m.moved == WhiteKing || m.moved == BlackKing;
  if (king && m.to - m.from == 2) return "O-O";
  if (king && m.from - m.to == 2) return "O-O-O";
  const auto square = [](int s) {
    return std::string{static_cast<char>('a' + s % 10 - 2), static_cast<char>('0' + 10 - s / 10)};
  };
  std::string text = square(m.from) + square(m.to);
  if (m.placed != m.moved) text += kLetters[m.placed];
  return text;
}

// Every line of the result as the data writes it: a series with each of
// its final moves in turn (one line when it has none).
inline std::vector<std::string> DataLines(const SeriesResult& result) {
  std::vector<std::string> lines;
  for (const SeriesSolution& s : result.solutions) {
    std::string series;
    for (const Move& m : s.series) series += (series.empty() ? "" : " ") + DataMoveText(m);
    if (s.finals.empty()) lines.push_back(series);
    for (const Move& f : s.finals) lines.push_back(series + " " + DataMoveText(f));
  }
  return lines;
}

// A position where stalemates are near: the black king in a corner with 2..4
// black men within `reach` squares of it (of the kinds `blackKinds`), the
// white king and one or two other white men anywhere. False when the draw
// gives no legal position (Black in check among them: the judge refuses it).
template <std::size_t BlackKinds>
bool CornerPosition(std::mt19937& random, Position& pos, int reach,
                    const std::int8_t (&blackKinds)[BlackKinds]) {
  constexpr std::int8_t kWhite[] = {WhiteQueen, WhiteRook, WhiteBishop, WhiteKnight, WhitePawn};
  pos = Position{};
  ClearBoard(pos.board);
  auto cell = [](int row, int column) { return 22 + row * 10 + column; };
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int kingRow = pick(2) == 0 ? 0 : 7;
  const int kingColumn = pick(2) == 0 ? 0 : 7;
  pos.board[cell(kingRow, kingColumn)] = BlackKing;
  const int blackMen = 2 + pick(3);
  for (int i = 0; i < blackMen; ++i) {
    const int row = kingRow == 0 ? pick(reach) : 7 - pick(reach);
    const int column = kingColumn == 0 ? pick(reach) : 7 - pick(reach);
    const std::int8_t man = blackKinds[pick(static_cast<int>(BlackKinds))];
    if (pos.board[cell(row, column)] != Empty || (man == BlackPawn && (row == 0 || row == 7)))
      continue;
    pos.board[cell(row, column)] = man;
  }
  const int whiteMen = 1 + pick(2);
  for (int i = 0; i <= whiteMen; ++i) {
    const int row = pick(8);
    const int column = pick(8);
    const std::int8_t man = i == 0 ? WhiteKing : kWhite[pick(5)];
    if (pos.board[cell(row, column)] != Empty) {
      if (i == 0) return false;
      continue;
    }
    if (man == WhitePawn && (row == 0 || row == 7)) continue;
    pos.board[cell(row, column)] = man;
  }
  return JudgePosition(pos, true).code == FindingNone;
}

}  // namespace kv::test
