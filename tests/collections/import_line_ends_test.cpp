// Line ends of the text importers: a file written with LF (Unix), CR LF
// (Windows) or a lone CR (old Mac) imports as the same problems.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "collections/import_alybadix.h"
#include "collections/import_epd.h"
#include "collections/import_pgn.h"
#include "collections/import_popeye.h"
#include "collections/import_source.h"
#include "import_test_util.h"

namespace kv {
namespace {

using Reader = std::function<FileResult(SourceReader&, ImportBatch&)>;

// The text with every "\n" replaced by `lineEnd`.
std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += lineEnd;
    } else {
      out += c;
    }
  }
  return out;
}

struct Problem {
  PositionBytes position;
  std::string authors;
  std::string solution;
  int moves;
  bool operator==(const Problem&) const = default;
};

std::vector<Problem> ReadWith(const Reader& read, const std::string& text) {
  SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  ImportBatch batch;
  EXPECT_TRUE(read(source, batch).ok());
  std::vector<Problem> problems;
  for (const ImportedProblem& p : batch.problems()) {
    problems.push_back(
        {p.position, p.problem.authors, p.problem.solutionText, p.problem.type.moves});
  }
  return problems;
}

TEST(ImportLineEnds, LfCrLfAndLoneCrReadAlikeInEveryTextFormat) {
  struct Format {
    const char* name;
    Reader read;
    std::string text;
    std::size_t problems;
  };
  const Format formats[] = {
      {"PGN", ReadPgnProblems,
       "[Event \"One\"]\n[FEN \"4k3/8/8/8/8/8/8/4K2R w - - 0 1\"]\n\n1. Rh8# *\n\n"
       "[Event \"Two\"]\n[FEN \"k7/8/1K6/8/8/8/8/7Q w - - 0 1\"]\n\n1. Qh8# *\n",
       2},
      {"EPD", ReadEpdProblems,
       "4k3/8/4K3/8/8/8/8/R7 Loyd, Sam\n\nk7/8/1K6/8/8/8/8/7Q\n7k/8/6K1/8/8/8/8/R7 Brown\n", 3},
      {"archive text", ReadArchiveProblems,
       "title1: Study\ntitle1: Zeppa, Mario\nstipulation: 3\nwhite: Kc1 Rh8\nblack: Ka1\n"
       "endproblem:\nwhite: Kg1\nblack: Kg8\nstipulation: h2\nendproblem:\n",
       2},
      {"solver input", ReadPopeyeProblems,
       "beginproblem\nauthor Loyd, Sam\nstipulation #3\npieces white Kc1 Rh8\nblack Ka1\n"
       "nextproblem\nstipulation h#2\npieces white Kg1 black Kg8\nendproblem\n",
       2},
  };
  int checked = 0;
  for (const Format& f : formats) {
    SCOPED_TRACE(f.name);
    const std::vector<Problem> lf = ReadWith(f.read, f.text);
    ASSERT_EQ(lf.size(), f.problems);
    const std::vector<Problem> crlf = ReadWith(f.read, WithLineEnds(f.text, "\r\n"));
    const std::vector<Problem> cr = ReadWith(f.read, WithLineEnds(f.text, "\r"));
    EXPECT_EQ(crlf, lf);
    EXPECT_EQ(cr, lf);
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

TEST(ImportLineEnds, ACrLfSplitBetweenTwoReadsOfTheFileIsOneLineEnd) {
  // The reader takes a file in pieces of 64 KiB: put a CR LF across the
  // first boundary and check that no empty line appears between the two.
  const std::size_t piece = 1 << 16;
  std::string text(piece - 1, 'a');
  text += "\r\nnext\rlast";
  testing::ScratchFolder folder;
  testing::WriteText(folder.File("long.txt"), text);
  SourceReader source;
  ASSERT_TRUE(source.Open(folder.File("long.txt")).ok());
  std::vector<std::string> lines;
  std::string line;
  while (source.ReadLine(piece + 10, LongLine::Split, line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), piece - 1);
  EXPECT_EQ(lines[1], "next");
  EXPECT_EQ(lines[2], "last");
}

}  // namespace
}  // namespace kv
