// The whole text of the checked helpmates, as the solution pane shows it,
// against the texts stored in tests/solver/data/helpmate_texts/ (written by
// the command-line tool, with line feeds for the pane's line ends): a
// helpmate without shorter solutions keeps its text byte for byte, with set
// play and without.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

struct StoredText {
  std::string id, stipulation, fen;
};

std::vector<StoredText> ReadRows(const std::string& file) {
  std::vector<StoredText> rows;
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/" + file);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    StoredText row;
    std::getline(fields, row.id, '\t');
    std::getline(fields, row.stipulation, '\t');
    std::getline(fields, row.fen, '\t');
    if (row.stipulation.rfind("h#", 0) == 0) rows.push_back(row);
  }
  return rows;
}

// The helpmates of the checked set (the same problems as the peer texts)
// and the quick deep ones.
std::vector<StoredText> Helpmates() {
  std::vector<StoredText> rows = ReadRows("search_problems.tsv");
  for (const StoredText& row : ReadRows("helpmates-deep.tsv")) {
    if (row.id == "hm_hpint_41a" || row.id == "hm_hpint_51a" || row.id == "hm_ex59" ||
        row.id == "hm_ex84a")
      rows.push_back(row);
  }
  return rows;
}

std::string StoredTextOf(const std::string& id) {
  std::ifstream in(KESTROVALE_SOURCE_DIR "/tests/solver/data/helpmate_texts/" + id + ".txt",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The pane text as the command-line tool prints it: line feeds for "\r\n"
// and a final line feed.
std::string AsPrinted(const std::string& pane) {
  std::string out;
  for (std::size_t i = 0; i < pane.size(); ++i) {
    if (pane[i] == '\r' && i + 1 < pane.size() && pane[i + 1] == '\n') continue;
    out += pane[i];
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

std::string SolveText(const StoredText& row, bool setPlay) {
  Position pos;
  EXPECT_TRUE(ParseFenBoard(row.fen, pos.board, nullptr)) << row.id;
  ProblemType type;
  EXPECT_TRUE(ParseProblemType(row.stipulation, type)) << row.id;
  SolveOptions options{};
  SwitchOptionsToKind(options, type.kind);
  options[Option::SetPlay] = setPlay ? 1 : 0;
  const Language language;
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, "", language, ui};
  return AsPrinted(SolveEntry(*solver, env, type.moves));
}

TEST(HelpmateTexts, UnchangedWithAndWithoutSetPlay) {
  const std::vector<StoredText> rows = Helpmates();
  ASSERT_EQ(rows.size(), 13u);
  for (const StoredText& row : rows) {
#ifndef NDEBUG
    // Without optimisation the slower three-movers take seconds each.
    if (row.id == "hm3_jonsson2009" || row.id == "hm3_loyd1860" || row.id == "hm3_weenink2010" ||
        row.id == "hm3w_abdurahmanovic2009")
      continue;
#endif
    const std::string stored = StoredTextOf(row.id);
    ASSERT_FALSE(stored.empty()) << row.id;
    EXPECT_EQ(SolveText(row, true), stored) << row.id;
    EXPECT_EQ(SolveText(row, false), stored) << row.id;
  }
}

}  // namespace
}  // namespace kv
