// Solver input files carry every orthodox stipulation a problem type holds
// (stalemate goals, series play, White beginning, the maximummer, every
// length) both ways, and the published problems of the shared data files come
// back from an export with their boards, types and texts.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "collections/export_popeye.h"
#include "collections/forsyth.h"
#include "collections/import_popeye.h"
#include "solver/twins.h"
#include "strings/encoding.h"
#include "tests/solver/tab_fields.h"

namespace kv {
namespace {

std::vector<std::vector<std::string>> ReadRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    if (!line.empty()) rows.push_back(test::TabFields(line));
  }
  return rows;
}

ImportBatch ReadBack(const std::string& file) {
  SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  ImportBatch batch;
  EXPECT_TRUE(ReadPopeyeProblems(source, batch).ok());
  return batch;
}

struct Problem {
  CurrentProblem problem;
  Board board = EmptyImportBoard();
};

// The export of `problems` as one file; every problem must be written.
std::string ExportAll(const std::vector<Problem>& problems) {
  std::string file;
  for (const Problem& p : problems) {
    std::string text;
    std::string reason;
    EXPECT_TRUE(PopeyeProblemText(p.problem, p.board, text, reason))
        << FormatProblemType(p.problem.type) << ": " << reason;
    file += std::string(file.empty() ? PopeyeFirstProblem : PopeyeNextProblem) + text;
  }
  return file + std::string(PopeyeEndOfProblems);
}

bool SameTypeBytes(const ProblemType& a, const ProblemType& b) {
  return a.moves == b.moves && a.kind == b.kind && a.flags == b.flags && a.spare == b.spare &&
         a.directLetterFlag == b.directLetterFlag;
}

TEST(PopeyeExchange, EveryStipulationTheTypeHoldsIsWrittenAndReadBack) {
  struct Family {
    std::uint8_t kind;
    std::uint8_t flags;
  };
  std::vector<Family> families;
  for (std::uint8_t kind = KindDirect; kind <= KindReflex; ++kind) {
    for (int flags : {0, FlagSeries + 0, FlagStalemate + 0, FlagSeries | FlagStalemate}) {
      families.push_back({kind, static_cast<std::uint8_t>(flags)});
      families.push_back({kind, static_cast<std::uint8_t>(flags | FlagMaximum)});
    }
  }
  families.push_back({KindHelp, FlagWhiteBegins});
  families.push_back({KindHelp, FlagWhiteBegins | FlagStalemate});
  families.push_back({KindHelp, FlagWhiteBegins | FlagStalemate | FlagMaximum});
  int checked = 0;
  for (const Family& family : families) {
    for (int moves = 1; moves <= 255; ++moves) {
      ProblemType type;
      type.kind = family.kind;
      type.flags = family.flags;
      type.moves = static_cast<std::uint8_t>(moves);
      const std::string text = PopeyeStipulation(type);
      ProblemType back;
      ASSERT_TRUE(ParsePopeyeStipulation(text, back)) << FormatProblemType(type);
      // The maximum mark is a condition of the file, not part of the text.
      back.flags |= type.flags & FlagMaximum;
      ASSERT_TRUE(SameTypeBytes(back, type)) << FormatProblemType(type) << " as " << text;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 35 * 255);

  // The texts as the other solvers write them.
  const std::pair<const char*, const char*> texts[] = {
      {"=1", "=1"},        {"h=3", "h=3"},        {"s=4", "s=4"},         {"r=2", "r=2"},
      {"sh#5", "ser-h#5"}, {"sh=18", "ser-h=18"}, {"s #65", "ser-#65"},   {"s =14", "ser-=14"},
      {"ss#4", "ser-s#4"}, {"ss=3", "ser-s=3"},   {"sr#2", "ser-r#2"},    {"sr=2", "ser-r=2"},
      {"h#1 W", "h#0.5"},  {"h=3 W", "h=2.5"},    {"h#255 W", "h#254.5"}, {"#255", "#255"},
      {"s#1", "s#1"},      {"h#6 W", "h#5.5"},
  };
  for (const auto& [typeText, written] : texts) {
    ProblemType type;
    ASSERT_TRUE(ParseProblemType(typeText, type)) << typeText;
    EXPECT_EQ(PopeyeStipulation(type), written) << typeText;
  }
}

Problem KingsProblem(const std::string& typeText) {
  Problem p;
  ClearWholeProblem(p.problem);
  EXPECT_TRUE(ParseProblemType(typeText, p.problem.type)) << typeText;
  ForsythToBoard("4k3/8/8/8/8/8/8/4K3", p.board);
  return p;
}

TEST(PopeyeExchange, TheMaximumMarkMapsBothWays) {
  // Read in every language and either spelling of the condition, and as the
  // option.
  const ImportBatch read = ReadBack(
      "beginproblem\ncondition blackmaximummer\nstipulation s#3\npieces white Ke1 black Ke8\n"
      "nextproblem\nstipulation ser-h=4\ncondition Maximummer\npieces white Ke1 black Ke8\n"
      "nextproblem\nstipulation h#2\noption maxi\npieces white Ke1 black Ke8\n"
      "endproblem\n"
      "debutprobleme\ncondition noirmaximum\nenonce #2\npieces blanc Re1 noir Re8\n"
      "finprobleme\n"
      "anfangproblem\nbedingung laengstzueger\nforderung h=2.5\nsteine weiss Ke1 schwarz Ke8\n"
      "zwilling forderung h#2\nendeproblem\n");
  ASSERT_EQ(read.skipNotes(), std::vector<std::string>{});
  ASSERT_EQ(read.count(), 5);
  const char* types[] = {" s#3 max", "sh=4 max", " h#2 max", "  #2 max", " h=3 max W"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(FormatProblemType(read.problems()[std::size_t(i)].problem.type), types[i]);
  }
  // The condition holds for every twin: a twin's stipulation carries the mark.
  const std::string& twins = read.problems()[4].problem.twins;
  ASSERT_EQ(TwinCount(twins), 2);
  EXPECT_EQ(FormatProblemType(TwinProblemType(TwinEntryAt(twins, 1))), " h#2 max");

  // Written as the condition, and read back with the twin's mark.
  Problem twinned = KingsProblem("h=3 max W");
  TwinEntry entries[] = {TwinEntry{}, {TwinChangeType, false, KindHelp | FlagMaximum, 2, 0}};
  twinned.problem.twins = BuildTwinsField(false, entries, 2);
  const std::string file = ExportAll({KingsProblem("ss#7 max"), twinned});
  EXPECT_NE(file.find("condition blackmaximummer\r\nstipulation ser-s#7\r\n"), std::string::npos);
  const ImportBatch back = ReadBack(file);
  ASSERT_EQ(back.count(), 2);
  EXPECT_EQ(FormatProblemType(back.problems()[0].problem.type), "ss#7 max");
  EXPECT_EQ(back.problems()[1].problem.twins, twinned.problem.twins);

  // A twin whose maximum mark differs from the problem's cannot be said: the
  // condition of the file would hold for it too.
  Problem mixed = KingsProblem("h#3");
  mixed.problem.twins = BuildTwinsField(false, entries, 2);
  std::string text;
  std::string reason;
  EXPECT_FALSE(PopeyeProblemText(mixed.problem, mixed.board, text, reason));
  EXPECT_EQ(reason, "a twin that changes the maximum condition");
}

TEST(PopeyeExchange, WhiteToPlayHoldsForEveryTwin) {
  const ImportBatch read = ReadBack(
      "beginproblem\nstipulation h#3\noption whitetoplay\npieces white Ke1 black Ke8\n"
      "twin stipulation h=2\n"
      "nextproblem\nstipulation h#3\noption whitetoplay\npieces white Ke1 black Ke8\n"
      "twin stipulation s#2\nendproblem\n");
  ASSERT_EQ(read.count(), 1);
  const std::string& twins = read.problems()[0].problem.twins;
  ASSERT_EQ(TwinCount(twins), 2);
  EXPECT_EQ(FormatProblemType(TwinProblemType(TwinEntryAt(twins, 1))), " h=2 W");
  EXPECT_EQ(read.skipNotes(),
            std::vector<std::string>{
                "problem 2: whitetoplay on a twin's stipulation other than a helpmate"});
}

// The stipulation column written as the type text of the program:
// "ser-h=5" is "sh=5", "h#2.5" is "h#3 W", and a helpmate whose row says
// White begins is written with its own number of White moves ("h=3", White
// first: "h=3 W").
std::string TypeTextOfRow(std::string stipulation, bool whiteBegins) {
  std::string prefix;
  if (stipulation.rfind("ser-", 0) == 0) {
    stipulation.erase(0, 4);
    prefix = stipulation[0] == '#' || stipulation[0] == '=' ? "s " : "s";
  }
  std::string marks;
  if (stipulation.size() > 2 && stipulation.substr(stipulation.size() - 2) == ".5") {
    const std::size_t goal = stipulation.find_first_of("#=");
    const int moves = std::stoi(stipulation.substr(goal + 1)) + 1;
    stipulation = stipulation.substr(0, goal + 1) + std::to_string(moves);
    marks = " W";
  } else if (whiteBegins) {
    marks = " W";
  }
  return prefix + stipulation + marks;
}

struct DataFile {
  const char* path;
  int stipulationColumn;
  int boardColumn;
  int authorColumn;  // -1: none
  int sourceColumn;  // -1: none
  std::size_t rows;
};

TEST(PopeyeExchange, TheSharedProblemsComeBackWithTheirBoardsTypesAndTexts) {
  const DataFile files[] = {
      {KESTROVALE_SOURCE_DIR "/tests/collections/data/stipulations.tsv", 1, 4, -1, -1, 66},
      {KESTROVALE_SOURCE_DIR "/tests/collections/data/checked.tsv", 1, 2, 6, 7, 45},
      {KESTROVALE_SOURCE_DIR "/tests/solver/data/helpmates-deep.tsv", 1, 2, -1, 6, 68},
  };
  for (const DataFile& data : files) {
    SCOPED_TRACE(data.path);
    const auto rows = ReadRows(data.path);
    ASSERT_EQ(rows.size(), data.rows) << "missing or cut";
    std::vector<Problem> problems;
    for (const auto& row : rows) {
      Problem p;
      ClearWholeProblem(p.problem);
      std::string stipulation = row[std::size_t(data.stipulationColumn)];
      // "h#3 W" in the checked files.
      const bool white =
          stipulation.size() > 2 && stipulation.substr(stipulation.size() - 2) == " W";
      if (white) stipulation.resize(stipulation.size() - 2);
      const bool rowSaysWhite = row.size() > 3 && row[3] == "white" && data.boardColumn == 4;
      const std::string typeText = TypeTextOfRow(stipulation, white || rowSaysWhite);
      ASSERT_TRUE(ParseProblemType(typeText, p.problem.type)) << row[0] << ": " << typeText;
      ForsythToBoard(row[std::size_t(data.boardColumn)], p.board);
      p.problem.comment = row[0];
      if (data.authorColumn >= 0) {
        p.problem.authors = Utf8ToCp1252(row[std::size_t(data.authorColumn)]);
      }
      if (data.sourceColumn >= 0) {
        // Cut to the field; a blank left at the end of a text is not kept by
        // a file whose lines are read without their blanks at either end.
        std::string source(
            FitText(Utf8ToCp1252(row[std::size_t(data.sourceColumn)]), MaxSourceLength));
        while (!source.empty() && source.back() == ' ') source.pop_back();
        p.problem.source = source;
      }
      problems.push_back(p);
    }
    const ImportBatch back = ReadBack(ExportAll(problems));
    EXPECT_EQ(back.skipNotes(), std::vector<std::string>{});
    ASSERT_EQ(back.count(), static_cast<int>(problems.size()));
    int same = 0;
    for (std::size_t i = 0; i < problems.size(); ++i) {
      const CurrentProblem& want = problems[i].problem;
      const ImportedProblem& got = back.problems()[i];
      SCOPED_TRACE(want.comment);
      const bool board = got.position == BoardToPositionBytes(problems[i].board);
      const bool type = SameTypeBytes(got.problem.type, want.type);
      const bool texts = got.problem.authors == want.authors && got.problem.source == want.source &&
                         got.problem.comment == want.comment;
      EXPECT_TRUE(board && type && texts) << FormatProblemType(got.problem.type);
      same += board && type && texts;
    }
    EXPECT_EQ(same, static_cast<int>(data.rows));
  }
}

// The stipulations of the other solver's own files, as it writes them, read
// as the types the rows mean.
TEST(PopeyeExchange, TheStipulationsOfTheSharedFileAreReadAsTheyAreMeant) {
  const auto rows = ReadRows(KESTROVALE_SOURCE_DIR "/tests/collections/data/stipulations.tsv");
  ASSERT_EQ(rows.size(), 66u) << "missing or cut";
  int read = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    const bool white = row[3] == "white";
    // A White-first helpmate written without ".5" takes the option.
    const bool option = white && row[1].find(".5") == std::string::npos;
    const ImportBatch batch = ReadBack("beginproblem\nstipulation " + row[1] + "\n" +
                                       (option ? "option whitetoplay\n" : "") +
                                       "pieces white Ke1 black Ke8\nendproblem\n");
    ASSERT_EQ(batch.count(), 1) << (batch.skipNotes().empty() ? "" : batch.skipNotes()[0]);
    ProblemType meant;
    ASSERT_TRUE(ParseProblemType(TypeTextOfRow(row[1], white), meant));
    EXPECT_TRUE(SameTypeBytes(batch.problems()[0].problem.type, meant))
        << FormatProblemType(batch.problems()[0].problem.type) << " for "
        << FormatProblemType(meant);
    ++read;
  }
  EXPECT_EQ(read, 66);
}

}  // namespace
}  // namespace kv
