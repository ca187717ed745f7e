// dBASE import: a table spelled out byte by byte, its fields read at their
// offsets, and damaged headers reported instead of read.
#include <gtest/gtest.h>

#include <string>

#include "collections/import_dbf.h"
#include "import_test_util.h"

namespace kv {
namespace {

using namespace testing;

// A field of `width` characters, padded with blanks.
std::string Field(const std::string& text, std::size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, ' ');
  return field;
}

// The 139 characters of a record's data: author, source, year, ordinal,
// award code, moves, six spare characters and the squares of the 32 men.
std::string RecordData(const std::string& author, const std::string& source,
                       const std::string& year, const std::string& ordinal, const std::string& code,
                       char moves, const std::string& squares) {
  return Field(author, 30) + Field(source, 30) + Field(year, 4) + Field(ordinal, 2) +
         Field(code, 2) + moves + "      " + Field(squares, 64);
}

// A table: the 32-byte header (version, date, record count, header length,
// record length, reserved), one field descriptor of 32 bytes and its end
// mark, then every record behind its deletion mark.
Bytes Table(const std::vector<std::string>& records, int recordLength, bool endMark = true) {
  const int headerLength = 32 + 32 + 1;
  Spell table;
  table.U8(0x03).U8(99).U8(1).U8(1).U32(static_cast<std::uint32_t>(records.size()));
  table.U16(headerLength).U16(recordLength).Repeat(0, 20);
  table.Text("PROBLEM").Repeat(0, 4).Text("C").Repeat(0, 4).U8(recordLength - 1).Repeat(0, 15);
  table.U8(0x0D);
  for (const std::string& data : records) table.Text(" ").Text(data);
  if (endMark) table.U8(0x1A);
  return table.bytes();
}

// White king e1, queen d1, one rook h1, no knight, bishop c1; eight pawns
// absent but one on e2; black king e8, pawn e7 (and a square off the board,
// which reads as a8).
const std::string MenSquares =
    "e1d1h1      c1  e2              "
    "e8              e7z9            ";

TEST(DbfImport, FieldsAtTheirOffsetsMakeTheProblem) {
  ScratchFolder folder;
  const std::string source = folder.File("table.dbf");
  WriteBytes(source,
             Table({RecordData("SMITH JOHN HENRY", "DEUTSCHE SCHACHZEITUNG", "1901", " 2", "cx",
                               '3', MenSquares),
                    RecordData("M\xDCLLER  ignored", "THE  PROBLEMIST", "", "", "cc", '2', ""),
                    RecordData("BROWN", "", "1999", "12", "pz", '4', ""),
                    RecordData("", "", "", " 1", "zz", 'x', "")},
                   140));
  ImportRun run;
  const ImportResult result = run.Import(source);
  ASSERT_TRUE(result.ok()) << result.result.detail;
  const auto problems = LoadAll(folder.File("table.kvl"));
  ASSERT_EQ(problems.size(), 4u);

  EXPECT_EQ(problems[0].authors, "SMITH, John Henry");
  EXPECT_EQ(problems[0].source, "Deutsche Schachzeitung 1901");
  EXPECT_EQ(problems[0].award, "2\xB0 Prize");
  EXPECT_EQ(problems[0].comment, " 2cx3");
  EXPECT_EQ(problems[0].type.kind, KindDirect);
  EXPECT_EQ(problems[0].type.moves, 3);
  EXPECT_EQ(ForsythOf(problems[0]), "p3k3/4p3/8/8/8/8/4P3/2BQK2R");

  // The fields end at two consecutive blanks; accented capitals are lowered too.
  EXPECT_EQ(problems[1].authors, "M\xDCLLER");
  EXPECT_EQ(problems[1].source, "The");
  EXPECT_EQ(problems[1].award, "HonourableMention");
  EXPECT_EQ(problems[1].type.moves, 2);

  EXPECT_EQ(problems[2].authors, "BROWN");
  EXPECT_EQ(problems[2].source, "1999");
  EXPECT_EQ(problems[2].award, "12\xB0 Commendation");

  // An unknown award code gives no award; a moves field that is no digit
  // keeps two moves.
  EXPECT_EQ(problems[3].award, "");
  EXPECT_EQ(problems[3].type.moves, 2);
  EXPECT_EQ(ForsythOf(problems[3]), "8/8/8/8/8/8/8/8");
}

TEST(DbfImport, AwardNamesComeFromTheInterfaceLanguage) {
  Language french;
  french.base = LanguageFrench;
  EXPECT_EQ(DbfAward(" 3", "ca", french), "3\xB0 Prix");
  EXPECT_EQ(DbfAward("  ", "u ", french), "Mention");
  EXPECT_EQ(DbfAward("  ", "cc", french), "Mention d'Honneur");
  EXPECT_EQ(DbfAward(" 1", "pq", Language{}), "");
}

TEST(DbfImport, RecordsAreImportedWholeWhateverTheirLengthAndEndMark) {
  ScratchFolder folder;
  // Records shorter than the fields: what lies beyond them reads as blanks.
  const std::string shortSource = folder.File("short.dbf");
  WriteBytes(shortSource, Table({"ADAMS", "BAKER"}, 6));
  ImportRun run;
  ASSERT_TRUE(run.Import(shortSource).ok());
  auto problems = LoadAll(folder.File("short.kvl"));
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[1].authors, "BAKER");
  EXPECT_EQ(problems[1].source, "");

  // A table without the end-of-file mark still gives its last record.
  const std::string unmarked = folder.File("unmarked.dbf");
  WriteBytes(unmarked, Table({RecordData("A B", "", "", "", "", '2', "e1"),
                              RecordData("C D", "", "", "", "", '5', "e8")},
                             140, false));
  ASSERT_TRUE(run.Import(unmarked).ok());
  problems = LoadAll(folder.File("unmarked.kvl"));
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[1].authors, "C, D");
  EXPECT_EQ(problems[1].type.moves, 5);
}

TEST(DbfImport, DamagedHeadersAreReportedAndNothingIsWritten) {
  ScratchFolder folder;
  const std::string cut = folder.File("cut.dbf");
  WriteBytes(cut, Bytes{0x03, 99, 1, 1, 0, 0, 0});
  ImportRun run;
  ImportResult result = run.Import(cut);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(ImportFailureText(result, run.language),
            "Unable to Open " + cut + " (the dBASE header is cut short)");

  const std::string zero = folder.File("zero.dbf");
  Bytes table = Table({RecordData("A B", "", "", "", "", '2', "")}, 140);
  table[10] = table[11] = 0;
  WriteBytes(zero, table);
  result = run.Import(zero);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.result.detail, "the dBASE record length is 0");

  // A header whose length ends after the file holds no record: nothing found.
  const std::string empty = folder.File("empty.dbf");
  table = Table({}, 140);
  WriteBytes(empty, table);
  result = run.Import(empty);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.result.detail, "no problem found");

  for (const char* name : {"cut.kvl", "zero.kvl", "empty.kvl"}) {
    EXPECT_FALSE(std::filesystem::exists(folder.File(name))) << name;
  }
}

}  // namespace
}  // namespace kv
