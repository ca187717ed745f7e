// Solver input files: import of the orthodox problems in the three keyword
// languages, skipping of what the collection cannot hold, export and reading
// the export back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/export_popeye.h"
#include "collections/import_popeye.h"
#include "import_test_util.h"
#include "solver/twins.h"

namespace kv {
namespace {

using namespace testing;

struct Read {
  FileResult result;
  ImportBatch batch;
};

Read ReadText(const std::string& text) {
  Read read;
  SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  read.result = ReadPopeyeProblems(source, read.batch);
  return read;
}

std::string Fen(const ImportedProblem& imported) {
  CurrentProblem p = imported.problem;
  p.storedBoard = imported.position;
  return ForsythOf(p);
}

std::vector<TwinEntry> Entries(const std::string& field) {
  std::vector<TwinEntry> entries;
  entries.reserve(static_cast<std::size_t>(TwinCount(field)));
  for (int i = 0; i < TwinCount(field); ++i) entries.push_back(TwinEntryAt(field, i));
  return entries;
}

constexpr char MixedFile[] =
    "BeginProblem\n"
    "Author   Loyd, Sam\n"
    "Author   Shinkman, William\n"
    "Origin   American Chess Journal 1878\n"
    "Title    The rook sacrifice\n"
    "Award    1st Prize\n"
    "Stipulation #2\n"
    "Option   Try SetPlay Variation Defence 1\n"
    "Pieces   White Kg6 Ra1\n"
    "         Black Kh8 Pa7a6\n"
    "NextProblem\n"
    "remark   a fairy problem\n"
    "Condition Circe\n"
    "Stipulation #2\n"
    "Pieces White Ka1 Qb2 Black Ka8\n"
    "NextProblem\n"
    "Author Nightrider, Fan\n"
    "Stipulation h#2\n"
    "Pieces White Ka1 Nb2 Black Ka8\n"
    "EndProblem\n"
    // A second block in French: h#1.5 is a helpmate in 2 with White
    // beginning; the twin moves a man.
    "debutprobleme\n"
    "auteur   Dupont, Jean\n"
    "source   Thèmes-64\n"
    "enonce   h#1.5\n"
    "pieces   blanc Rc1 Tf3\n"
    "         noir  Ra1 Pa2\n"
    "jumeau   deplacement f3 g3\n"
    "finprobleme\n"
    // German, with successive twins and set play.
    "anfangproblem\n"
    "autor    Müller, Hans\n"
    "forderung s#3\n"
    "option   satzspiel\n"
    "steine   weiss Kc1 Dd1 Sb1\n"
    "         schwarz Ka1 Ba2\n"
    "zwilling ferner entferne b1\n"
    "zwilling ferner hinzufuegen schwarz Te8 drehung 90\n"
    "weiteresproblem\n"
    "forderung r#2\n"
    "bedingung schwarzerlaengstzueger\n"
    "steine weiss Kc1 schwarz Ka1 Koenig a2\n"
    "endeproblem\n";

TEST(PopeyeImport, ReadsOrthodoxProblemsOfEveryLanguageAndSkipsTheOthers) {
  const Read read = ReadText(MixedFile);
  ASSERT_TRUE(read.result.ok()) << read.result.detail;
  ASSERT_EQ(read.batch.count(), 3);
  ASSERT_EQ(read.batch.skipped(), 3);
  const std::vector<std::string>& notes = read.batch.skipNotes();
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0], "problem 2: the fairy condition 'Circe'");
  EXPECT_EQ(notes[1], "problem 3 (Nightrider, Fan): the fairy man 'N'");
  // "Koenig" is no piece token: an attribute the collection cannot store.
  EXPECT_EQ(notes[2], "problem 6: the piece attribute 'Koenig'");

  const ImportedProblem& first = read.batch.problems()[0];
  EXPECT_EQ(first.problem.authors, "Loyd, Sam;Shinkman, William");
  EXPECT_EQ(first.problem.source, "American Chess Journal 1878");
  EXPECT_EQ(first.problem.comment, "The rook sacrifice");
  EXPECT_EQ(first.problem.award, "1st Prize");
  EXPECT_EQ(FormatProblemType(first.problem.type), "  #2");
  EXPECT_EQ(Fen(first), "7k/p7/p5K1/8/8/8/8/R7");
  EXPECT_TRUE(first.problem.twins.empty());

  const ImportedProblem& french = read.batch.problems()[1];
  EXPECT_EQ(FormatProblemType(french.problem.type), " h#2 W");
  // UTF-8 text becomes Windows-1252.
  EXPECT_EQ(french.problem.source, "Th\xE8mes-64");
  EXPECT_EQ(Fen(french), "8/8/8/8/8/5R2/p7/k1K5");
  const auto frenchTwins = Entries(french.problem.twins);
  ASSERT_EQ(frenchTwins.size(), 2u);
  EXPECT_FALSE(TwinsSuccessive(french.problem.twins));
  EXPECT_EQ(frenchTwins[0].kind, TwinDiagram);
  EXPECT_EQ(frenchTwins[1].kind, TwinMove);
  EXPECT_EQ(frenchTwins[1].square1, 45);  // f3
  EXPECT_EQ(frenchTwins[1].square2, 46);  // g3

  const ImportedProblem& german = read.batch.problems()[2];
  EXPECT_EQ(german.problem.authors, "M\xFCller, Hans");
  EXPECT_EQ(FormatProblemType(german.problem.type), " s#3");
  EXPECT_EQ(Fen(german), "8/8/8/8/8/8/p7/kNKQ4");
  EXPECT_TRUE(TwinsSuccessive(german.problem.twins));
  const auto germanTwins = Entries(german.problem.twins);
  ASSERT_EQ(germanTwins.size(), 4u);
  EXPECT_EQ(germanTwins[1].kind, TwinRemove);
  EXPECT_EQ(germanTwins[2].kind, TwinAdd);
  EXPECT_TRUE(germanTwins[2].combined);
  EXPECT_EQ(germanTwins[2].man, BlackRook);
  // The file turns the board to the left, ours to the right.
  EXPECT_EQ(germanTwins[3].kind, TwinRotate270);
  EXPECT_FALSE(germanTwins[3].combined);
}

TEST(PopeyeImport, ImportsIntoTheCollectionOfTheSameNameAndCountsTheSkipped) {
  ScratchFolder folder;
  const std::string source = folder.File("mixed.inp");
  WriteText(source, MixedFile);
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  EXPECT_EQ(result.imported, 3);
  EXPECT_EQ(result.skipped, 3);
  EXPECT_EQ(result.skipNotes.size(), 3u);
  const auto problems = LoadAll(folder.File("mixed.kvl"));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].award, "1st Prize");
  EXPECT_EQ(problems[2].authors, "M\xFCller, Hans");
  EXPECT_EQ(TwinCount(problems[2].twins), 4);
}

TEST(PopeyeImport, Stipulations) {
  struct Case {
    const char* text;
    const char* type;  // FormatProblemType, or null when refused
  };
  const Case cases[] = {
      {"#2", "  #2"},         {"h#3", " h#3"},        {"H#2.5", " h#3 W"},   {"h#0.5", " h#1 W"},
      {"s#4", " s#4"},        {"r#3", " r#3"},        {"=3", "  =3"},        {"h=2", " h=2"},
      {"ser-h#5", "sh#5"},    {"ser-#7", "s #7"},     {"#", nullptr},        {"hs#3", nullptr},
      {"#=2", nullptr},       {"exact-h#2", nullptr}, {"reci-h#2", nullptr}, {"s#2.5", nullptr},
      {"ser-h#2.5", nullptr}, {"#0", nullptr},        {"#256", nullptr},     {"dia6.5", nullptr},
      {"h##!4", nullptr},     {"#2x", nullptr},
  };
  int checked = 0;
  for (const Case& c : cases) {
    ProblemType type;
    const bool parsed = ParsePopeyeStipulation(c.text, type);
    EXPECT_EQ(parsed, c.type != nullptr) << c.text;
    if (parsed && c.type) {
      EXPECT_EQ(FormatProblemType(type), c.type) << c.text;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 22);
}

TEST(PopeyeImport, KeywordsMayBeShortenedAndOptionsMapWhereTheyCan) {
  const Read read = ReadText(
      "begi\n"
      "stip h#2\nopti whit set\npiec whit Ka1 blac Ka8\n"
      "next\n"
      "stip #3\nopti duplex\npiec whit Ka1 Qb3 blac Ka8\n"
      "next\n"
      "stip #2\nopti nowk\npiec whit Ka1 blac Ka8\n"
      "next\n"
      "stip #2\nopti frobnicate\npiec whit Ka1 blac Ka8\n"
      "next\n"
      "stip #2\npiec whit Ka1 blac Ka8\n"
      "twin move a1 b1\ntwin cont move a8 b8\ntwin move b1 c1\n"
      "endp\n");
  ASSERT_TRUE(read.result.ok());
  ASSERT_EQ(read.batch.count(), 2);
  EXPECT_EQ(FormatProblemType(read.batch.problems()[0].problem.type), " h#2 W");
  const auto duplex = Entries(read.batch.problems()[1].problem.twins);
  ASSERT_EQ(duplex.size(), 2u);
  EXPECT_EQ(duplex[1].kind, TwinDuplex);
  ASSERT_EQ(read.batch.skipNotes().size(), 3u);
  EXPECT_EQ(read.batch.skipNotes()[0],
            "problem 3: the option 'nowk', which the collection cannot store");
  EXPECT_EQ(read.batch.skipNotes()[1], "problem 4: the unknown option 'frobnicate'");
  EXPECT_EQ(read.batch.skipNotes()[2], "problem 5: twins that mix continued and plain changes");
}

// A shortened keyword means what it means where it stands: "wei" among the
// men of a German file is the colour white, not "weiteresproblem".
TEST(PopeyeImport, ShortenedWordsAreReadInTheirPlaceColoursBeforeCommands) {
  const Read read = ReadText(
      "anfangproblem\n"
      "forderung #2\n"
      "steine schwarz kh8 bh7 wei kf7 tg1\n"
      "weit\n"
      "forderung h#2\n"
      "steine we ke1 sch ke8 zwilling hinzufuegen wei sa7 schw ba5\n"
      "endeproblem\n"
      "beginproblem\n"
      "stipulation #3\n"
      "pieces wh Kg6 Ra1 bl Kh8 Pa7 b Pb7\n"
      "nex\n"
      "st #2 pi w Ka1 Qb2 bl Ka8 e\n");
  ASSERT_TRUE(read.result.ok());
  EXPECT_EQ(read.batch.skipNotes(), std::vector<std::string>{});
  ASSERT_EQ(read.batch.count(), 4);
  EXPECT_EQ(Fen(read.batch.problems()[0]), "7k/5K1p/8/8/8/8/8/6R1");
  EXPECT_EQ(Fen(read.batch.problems()[1]), "4k3/8/8/8/8/8/8/4K3");
  const auto added = Entries(read.batch.problems()[1].problem.twins);
  ASSERT_EQ(added.size(), 3u);
  EXPECT_EQ(added[1].kind, TwinAdd);
  EXPECT_EQ(added[1].man, WhiteKnight);
  EXPECT_TRUE(added[1].combined);
  EXPECT_EQ(added[2].man, BlackPawn);
  EXPECT_EQ(added[2].square1, 24);  // a5
  EXPECT_EQ(Fen(read.batch.problems()[2]), "7k/pp6/6K1/8/8/8/8/R7");
  EXPECT_EQ(Fen(read.batch.problems()[3]), "k7/8/8/8/8/8/1Q6/K7");
}

// When a shortened end keyword is followed by what no problem starts with,
// the problem's reading was cut short there: it is not stored with what was
// read before the false end, and what follows it makes no phantom problem.
TEST(PopeyeImport, AProblemWhoseReadingWasCutShortIsSkippedWhole) {
  const Read read = ReadText(
      "beginproblem\n"
      "stipulation #2\npieces white Ka1 Qb2 black Ka8\n"
      "next\n"
      "stipulation #2\npieces black Kh8 Ph7 nex Kf7 Rg1\n"
      "nextproblem\n"
      "stipulation #2\npieces white Kc1 black Ka1\n"
      "endp Rh1\n"
      "beginproblem\nstipulation #2\npieces white Kc1 black Ka1\nendproblem\n");
  ASSERT_TRUE(read.result.ok());
  ASSERT_EQ(read.batch.count(), 2);
  EXPECT_EQ(Fen(read.batch.problems()[0]), "k7/8/8/8/8/8/1Q6/K7");
  EXPECT_EQ(Fen(read.batch.problems()[1]), "8/8/8/8/8/8/8/k1K5");
  const std::vector<std::string> expected = {
      "problem 2: its reading stopped at 'nex' (read as nextproblem) before 'Kf7'",
      "problem 3: its reading stopped at 'endp' (read as endproblem) before 'Rh1'",
  };
  EXPECT_EQ(read.batch.skipNotes(), expected);
  EXPECT_EQ(read.batch.skipped(), 2);
}

// Options that steer only the output or the search of a solver are read in
// every language and listed as not kept; only what changes the play leaves
// the problem out.
TEST(PopeyeImport, OutputAndSearchOptionsAreListedAsNotKept) {
  const std::string board = "pieces white Ka1 Qb2 black Ka8\n";
  const std::string newer =
      "option KeepMatingPiece NoSymmetry SuppressGrid WriteGrid UpToMoveNumber 3 "
      "TrivialTriesAvoid MultiSolutions Search\n";
  const Read read = ReadText(
      "beginproblem\nstipulation #2\noption variations movenum maxsol 5\n" + newer + board +
      "LaTeX out.tex\nLaTeXPieces Fers ferz\nprotocol out.txt\n"
      "nextproblem\nstipulation #2\noption nowk\n" +
      board + "endproblem\n" + "debutprobleme\nenonce #2\noption Bip FinApresSolutionsCourtes\n" +
      newer + "pieces blanc Ra1 Db2 noir Ra8\nfinprobleme\n" +
      "anfangproblem\nforderung #2\noption Pieps StopNachKurzloesungen\n" + newer +
      "steine weiss Ka1 Db2 schwarz Ka8\nlatex aus.tex\nendeproblem\n");
  ASSERT_TRUE(read.result.ok());
  EXPECT_EQ(read.batch.count(), 3);
  EXPECT_EQ(read.batch.skipNotes(),
            std::vector<std::string>{"problem 2: the option 'nowk', which the collection "
                                     "cannot store"});
  const std::vector<std::string> notKept = {
      "variations",
      "movenumbers",
      "maxsolutions",
      "keepmatingpiece",
      "nosymmetry",
      "suppressgrid",
      "writegrid",
      "uptomovenumber",
      "trivialtriesavoid",
      "multisolutions",
      "search",
      "latex",
      "latexpieces",
      "protocol",
      "bip",
      "finapressolutionscourtes",
      "pieps",
      "stopnachkurzloesungen",
  };
  EXPECT_EQ(read.batch.notKept(), notKept);
}

TEST(PopeyeImport, TwinsTheCollectionCannotHoldLeaveTheProblemOut) {
  const std::string problem = "stipulation #2\npieces white Ka1 Rh1 black Ka8\n";
  std::string many;
  for (int i = 0; i < 31; ++i) many += "twin rotate 180\n";
  const Read read = ReadText(
      "beginproblem\n" + problem + "twin substitute r b\n" + "nextproblem\n" + problem +
      "twin mirror a1<-->h8\n" + "nextproblem\n" + problem + "twin shift a1 c1\n" +
      "nextproblem\n" + problem + "twin stipulation #250\n" + "nextproblem\n" + problem +
      "twin move h1 h2\nzeroposition\n" + "nextproblem\n" + problem + many + "endproblem\n");
  ASSERT_TRUE(read.result.ok());
  EXPECT_EQ(read.batch.count(), 0);
  const std::vector<std::string> expected = {
      "problem 1: the twin change 'substitute'",    "problem 2: the mirror 'a1<-->h8'",
      "problem 3: a shift by more than one square", "problem 4: the twin stipulation '#250'",
      "problem 5: zeroposition after a twin",       "problem 6: more than 31 twin changes",
  };
  EXPECT_EQ(read.batch.skipNotes(), expected);
}

TEST(PopeyeImport, BadInputIsRefusedWithAReasonAndKeepsTheRest) {
  const std::string good = "stipulation #2\npieces white Ka1 black Ka8\n";
  const Read read =
      ReadText("beginproblem\n" + good +
               "nextproblem\nstipulation #2\npieces white Ki9 black Ka8\n"
               "nextproblem\nstipulation #2\npieces white Ka1 Kb1 black Ka8\n"
               "nextproblem\nstipulation #2\npieces white Ka1 Qa1 black Ka8\n"
               "nextproblem\npieces white Ka1 black Ka8\n"
               "nextproblem\nstipulation #2\npieces white Ka1 black Ka8\nauthor " +
               std::string(3000, 'x') + "\n" + "nextproblem\n" + good + "nextproblem\n" +
               // The arguments of an unknown command run on into a longer line.
               "frobnicate y\n" + std::string(1000, 'z') + "\n" + good +
               "nextproblem\nstipulation #2\npieces white Kb1\n");
  ASSERT_TRUE(read.result.ok());
  ASSERT_EQ(read.batch.count(), 2);
  const std::vector<std::string> expected = {
      "problem 2: 'Ki9' is no man on squares of the board",
      "problem 3: two white kings",
      "problem 4: two men on a1",
      "problem 5: no stipulation",
      "problem 6 (" + std::string(40, 'x') + "): a line longer than 1023 characters",
      "problem 8: unknown command 'frobnicate'",
      "problem 9: the file ends before its endproblem",
  };
  EXPECT_EQ(read.batch.skipNotes(), expected);
}

TEST(PopeyeImport, AFileThatIsNoInputFileFailsAndLeavesTheCollectionAsItWas) {
  const Read binary = ReadText(std::string("\x7F"
                                           "ELF\x02\x01\x01\0\0\0",
                                           10) +
                               "pieces");
  EXPECT_EQ(binary.result.status, FileStatus::Damaged);
  EXPECT_EQ(binary.batch.count(), 0);

  ScratchFolder folder;
  WriteText(folder.File("set.inp"), "beginproblem\nstipulation #2\npieces white Ka1 black Ka8\n");
  ImportRun run;
  // A problem cut off by the end of the file is not imported.
  ASSERT_FALSE(run.Import(folder.File("set.inp")).ok());
  WriteText(folder.File("set.inp"),
            "beginproblem\nstipulation #2\npieces white Ka1 black Ka8\nendproblem\n");
  ASSERT_TRUE(run.Import(folder.File("set.inp")).ok());
  const auto before = testing::ReadBytes(folder.File("set.kvl"));
  WriteText(folder.File("set.inp"), std::string(100000, '\xFF'));
  const ImportResult refused = run.Import(folder.File("set.inp"));
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(ImportFailureText(refused, run.language).find("beginproblem"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(folder.File("set.kvl")), before);
}

// A problem with every field the export writes.
ImportedProblem ExportableProblem(const std::string& fen, const std::string& type,
                                  std::string twins) {
  ImportedProblem p;
  ClearWholeProblem(p.problem);
  EXPECT_TRUE(ParseProblemType(type, p.problem.type)) << type;
  Board board = EmptyImportBoard();
  ForsythToBoard(fen, board);
  p.position = BoardToPositionBytes(board);
  p.problem.authors = "Loyd, Sam;Brown";
  p.problem.source = "Le Temps";
  p.problem.award = "2\xB0 Prix";
  p.problem.comment = "Hommage \xE0 Loyd";
  p.problem.extraStrings[ExtraDedication] = "A. White";
  p.problem.extraStrings[ExtraVersionSource] = "Th\xE8mes";
  p.problem.twins = std::move(twins);
  return p;
}

std::string Field(bool successive, std::vector<TwinEntry> entries) {
  return BuildTwinsField(successive, entries.data(), static_cast<int>(entries.size()));
}

TEST(PopeyeExport, AnExportReadsBackAsTheSameProblems) {
  const TwinEntry diagram{};
  const std::vector<ImportedProblem> problems = {
      ExportableProblem("7k/p7/p5K1/8/8/8/8/R7", "#2", ""),
      ExportableProblem("8/8/8/8/8/5R2/p7/k1K5", "h#3 W",
                        Field(false, {diagram,
                                      {TwinMove, false, 45, 46, 0},
                                      {TwinRemoveAdd, false, 58, 12, BlackQueen}})),
      ExportableProblem("r3k2r/8/8/8/8/8/8/R3K2R", "s#4",
                        Field(true, {diagram,
                                     {TwinExchange, true, 0, 7, 0},
                                     {TwinRotate90, false, 0, 0, 0},
                                     {TwinChangeType, false, KindHelp | FlagWhiteBegins, 2, 0},
                                     {TwinMirrorHorizontal, false, 0, 0, 0}})),
      ExportableProblem("8/8/8/3k4/8/8/8/3K4", "r=3",
                        Field(false, {{TwinAdd, false, 20, 0, WhitePawn},
                                      {TwinTranslate, true, 0, 8, 0},
                                      {TwinReverseColours, false, 0, 0, 0},
                                      {TwinMirrorVertical, false, 0, 0, 0}})),
      ExportableProblem("8/8/8/3k4/8/8/8/3K4", "sh#5", Field(false, {diagram, {TwinDuplex}})),
      ExportableProblem("8/8/8/3k4/8/8/8/3K4", "s=4 max", ""),
  };
  std::string file;
  for (const ImportedProblem& p : problems) {
    Board board = EmptyImportBoard();
    PositionBytesToBoard(p.position, board);
    std::string text;
    std::string reason;
    ASSERT_TRUE(PopeyeProblemText(p.problem, board, text, reason)) << reason;
    file += std::string(file.empty() ? PopeyeFirstProblem : PopeyeNextProblem) + text;
  }
  file += PopeyeEndOfProblems;

  const Read back = ReadText(file);
  ASSERT_TRUE(back.result.ok());
  EXPECT_EQ(back.batch.skipNotes(), std::vector<std::string>{}) << file;
  ASSERT_EQ(back.batch.count(), static_cast<int>(problems.size())) << file;
  for (std::size_t i = 0; i < problems.size(); ++i) {
    const CurrentProblem& want = problems[i].problem;
    const CurrentProblem& got = back.batch.problems()[i].problem;
    SCOPED_TRACE("problem " + std::to_string(i + 1));
    EXPECT_EQ(back.batch.problems()[i].position, problems[i].position);
    EXPECT_EQ(FormatProblemType(got.type), FormatProblemType(want.type));
    EXPECT_EQ(got.twins, want.twins);
    EXPECT_EQ(got.authors, want.authors);
    EXPECT_EQ(got.source, want.source);
    EXPECT_EQ(got.award, want.award);
    EXPECT_EQ(got.comment, want.comment);
    EXPECT_EQ(got.extraStrings, want.extraStrings);
  }
}

std::string ExportText(const ImportedProblem& p) {
  Board board = EmptyImportBoard();
  PositionBytesToBoard(p.position, board);
  std::string text;
  std::string reason;
  EXPECT_TRUE(PopeyeProblemText(p.problem, board, text, reason)) << reason;
  return text;
}

ImportedProblem ExportedAndReadBack(const ImportedProblem& p) {
  const Read back =
      ReadText(std::string(PopeyeFirstProblem) + ExportText(p) + std::string(PopeyeEndOfProblems));
  EXPECT_EQ(back.batch.count(), 1);
  return back.batch.count() == 1 ? back.batch.problems()[0] : ImportedProblem{};
}

TEST(PopeyeExport, TextsComeBackByteForByte) {
  struct Texts {
    const char* authors;
    const char* comment;
    int authorLines;  // "author" lines written
  };
  const Texts cases[] = {
      {"Loyd, Sam;Shinkman, William;Brown", "plain", 3},
      // A blank after the ";": written on one line, read back as it was.
      {"Bakcsi, Gyorgy; Zoltan, Laszlo", "two authors", 1},
      {"Loyd, Sam;;Brown", "an empty author", 1},
      {"Loyd, Sam;", "a trailing separator", 1},
      // Windows-1252 bytes that happen to be valid UTF-8 ("Ã©") stay bytes.
      {"M\xFCller, Hans;Caf\xC3\xA9, Jean", "\xC3\xA9t\xC3\xA9", 2},
      {"\xC3\xA9", "Caf\xC3\xA9 de la R\xE9gence", 1},
  };
  int checked = 0;
  for (const Texts& c : cases) {
    SCOPED_TRACE(c.comment);
    ImportedProblem p = ExportableProblem("7k/p7/p5K1/8/8/8/8/R7", "#2", "");
    p.problem.authors = c.authors;
    p.problem.comment = c.comment;
    p.problem.source = c.comment;
    p.problem.extraStrings[ExtraAfter] = std::string(" ") + c.comment;
    const std::string text = ExportText(p);
    int lines = 0;
    for (std::size_t at = text.find("author "); at != std::string::npos;
         at = text.find("author ", at + 1)) {
      ++lines;
    }
    EXPECT_EQ(lines, c.authorLines) << text;
    const ImportedProblem back = ExportedAndReadBack(p);
    EXPECT_EQ(back.problem.authors, p.problem.authors);
    EXPECT_EQ(back.problem.comment, p.problem.comment);
    EXPECT_EQ(back.problem.source, p.problem.source);
    EXPECT_EQ(back.problem.award, p.problem.award);
    EXPECT_EQ(back.problem.extraStrings, p.problem.extraStrings);
    ++checked;
  }
  EXPECT_EQ(checked, 6);
}

TEST(PopeyeExport, HelpPlayAsksForTheFastHelpmateMode) {
  const TwinEntry diagram{};
  const TwinEntry toSelfmate{TwinChangeType, false, KindSelf, 2, 0};
  const TwinEntry toHelpstalemate{TwinChangeType, false, KindHelp | FlagStalemate, 2, 0};
  struct Case {
    const char* type;
    std::string twins;
    bool intelligent;
  };
  const Case cases[] = {
      {"h#2", "", true},
      {"h=3", "", true},
      {"sh#5", "", true},
      {"sh=4", "", true},
      {"h#3 W", Field(false, {diagram, toHelpstalemate}), true},
      {"#2", "", false},
      {"s#3", "", false},
      {"s #4", "", false},
      {"h#2 max", "", false},
      {"h#2", Field(false, {diagram, toSelfmate}), false},
  };
  for (const Case& c : cases) {
    const std::string text = ExportText(ExportableProblem("8/8/8/3k4/8/8/8/3K4", c.type, c.twins));
    EXPECT_EQ(text.find("option intelligent\r\n") != std::string::npos, c.intelligent) << c.type;
  }
}

TEST(PopeyeExport, SuccessiveTwinsBeginWithAPlainTwin) {
  const TwinEntry diagram{};
  const TwinEntry move{TwinMove, false, 0, 1, 0};
  const TwinEntry remove{TwinRemove, false, 1, 0, 0};
  const TwinEntry rotate{TwinRotate180, false, 0, 0, 0};
  const ImportedProblem three =
      ExportableProblem("k7/8/8/8/8/8/8/7K", "#2", Field(true, {diagram, move, remove, rotate}));
  const std::string text = ExportText(three);
  EXPECT_NE(text.find("twin move a8 b8\r\ntwin continued remove b8\r\n"
                      "twin continued rotate 180\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(ExportedAndReadBack(three).problem.twins, three.problem.twins);

  // One twin after the diagram is the same position in either mode; it
  // comes back as a usual twin.
  const ImportedProblem one =
      ExportableProblem("k7/8/8/8/8/8/8/7K", "#2", Field(true, {diagram, move}));
  EXPECT_EQ(ExportedAndReadBack(one).problem.twins, Field(false, {diagram, move}));
}

TEST(PopeyeExport, WhatTheFileCannotSayIsRefusedWithTheReason) {
  struct Case {
    ImportedProblem problem;
    const char* reason;
  };
  const TwinEntry diagram{};
  const Case cases[] = {
      {ExportableProblem("8/8/8/3k4/8/8/8/3K4", "+", ""), "a study"},
      {ExportableProblem("8/8/8/3k4/8/8/8/3K4", "#2",
                         Field(false, {diagram, {TwinAfterKey, false, 0, 0, 0}})),
       "an after-the-key twin"},
      {ExportableProblem("8/8/8/3k4/8/8/8/3K4", "#2",
                         Field(false, {diagram, {TwinTranslateToroidal, false, 0, 1, 0}})),
       "a toroidal translation twin"},
      {ExportableProblem("8/8/8/3k4/8/8/8/3K4", "#2",
                         Field(false, {diagram, {TwinTranslate, false, 0, 2, 0}})),
       "a translation that is not by one square"},
      {ExportableProblem("8/8/8/8/8/8/8/8", "#2", ""), "no men on the board"},
  };
  for (const Case& c : cases) {
    Board board = EmptyImportBoard();
    PositionBytesToBoard(c.problem.position, board);
    std::string text = "untouched";
    std::string reason;
    EXPECT_FALSE(PopeyeProblemText(c.problem.problem, board, text, reason)) << c.reason;
    EXPECT_EQ(reason, c.reason);
    EXPECT_EQ(text, "untouched");
  }
}

}  // namespace
}  // namespace kv
