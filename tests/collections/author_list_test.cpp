// Reading the author list file and SOURCES.TXT.
#include <gtest/gtest.h>
#include <algorithm>

#include <string>

#include "collections/author_list.h"
#include "kvl_test_util.h"

namespace kv {
namespace {

using testing::ScratchFolder;

void WriteText(const std::string& path, const std::string& text) {
  testing::WriteBytes(path, testing::Bytes(text.begin(), text.end()));
}

TEST(AuthorList, FourFieldsPerLineEachCutToItsLength) {
  const std::string longName(40, 'n');
  const auto authors =
      ParseAuthorList("Loyd, Sam;1841;1911;USA;anything after the fourth\r\n" + longName +
                      ";18411;;Deutschland-Ost-Berlin;\n"
                      "Unknown;;;;");
  ASSERT_EQ(authors.size(), 3u);
  EXPECT_EQ(authors[0].name, "Loyd, Sam");
  EXPECT_EQ(authors[0].birth, "1841");
  EXPECT_EQ(authors[0].death, "1911");
  EXPECT_EQ(authors[0].country, "USA");
  EXPECT_EQ(authors[1].name, std::string(32, 'n'));
  EXPECT_EQ(authors[1].birth, "1841");
  EXPECT_EQ(authors[1].death, "");
  EXPECT_EQ(authors[1].country, "Deutschland-Ost-");
  EXPECT_EQ(authors[2].name, "Unknown");
  EXPECT_FALSE(authors[2].excluded);
}

TEST(AuthorList, ALineWithThreeSeparatorsEndsTheReading) {
  const auto authors = ParseAuthorList(
      "A;1900;1950;France;\r\n"
      "B;1901;1951;Italia\r\n"
      "C;1902;1952;Spain;\r\n");
  ASSERT_EQ(authors.size(), 1u);
  EXPECT_EQ(authors[0].name, "A");
}

TEST(AuthorList, TheLineThatEndsTheReadingIsNamedWithItsReason) {
  AuthorListStop stop;
  const auto authors = ParseAuthorList(
      "A;1900;1950;France;\r\n"
      "Loyd, Sam;1841;1911;USA\r\n"
      "C;1902;1952;Spain;\r\n",
      &stop);
  ASSERT_EQ(authors.size(), 1u);
  EXPECT_EQ(stop.line, 2);
  EXPECT_EQ(stop.separators, 3);
  EXPECT_EQ(stop.text, "Loyd, Sam;1841;1911;USA");
  const std::string message = AuthorListStopMessage("auteurs.txt", stop);
  EXPECT_NE(message.find("auteurs.txt, line 2"), std::string::npos) << message;
  EXPECT_NE(message.find("\"Loyd, Sam;1841;1911;USA\""), std::string::npos) << message;
  EXPECT_NE(message.find("final \";\" is missing"), std::string::npos) << message;

  // An empty line in the middle ends the list too, and is named as such.
  ParseAuthorList("A;1;2;F;\r\n\r\nB;3;4;G;\r\n", &stop);
  EXPECT_EQ(stop.line, 2);
  EXPECT_NE(AuthorListStopMessage("x.txt", stop).find("line 2: the line is empty"),
            std::string::npos);

  // A list read to its end, with or without a last line end, names nothing.
  ParseAuthorList("A;1;2;F;\r\nB;3;4;G;", &stop);
  EXPECT_EQ(stop.line, 0);
  EXPECT_TRUE(AuthorListStopMessage("x.txt", stop).empty());
  ParseAuthorList("", &stop);
  EXPECT_EQ(stop.line, 0);
}

TEST(AuthorList, ShippedListsReadWhole) {
  // The lists the program offers when the user has none: every author line
  // is complete, every year is four digits or empty, and the countries of
  // the authors are those SOURCES.TXT offers.
  std::string text;
  ASSERT_TRUE(ReadListFile(KESTROVALE_SOURCE_DIR "/resources/lists/auteurs.txt", text));
  AuthorListStop stop;
  const auto authors = ParseAuthorList(text, &stop);
  EXPECT_EQ(stop.line, 0) << AuthorListStopMessage("auteurs.txt", stop);
  EXPECT_GE(authors.size(), 50u);
  std::string sources;
  ASSERT_TRUE(ReadListFile(KESTROVALE_SOURCE_DIR "/resources/lists/SOURCES.TXT", sources));
  std::vector<std::string> names, countries;
  ParseSourcesFile(sources, names, countries);
  EXPECT_GE(names.size(), 10u);
  for (const AuthorEntry& author : authors) {
    for (const std::string& year : {author.birth, author.death}) {
      EXPECT_TRUE(year.empty() ||
                  (year.size() == 4 && year.find_first_not_of("0123456789") == std::string::npos))
          << author.name;
    }
    if (!author.death.empty()) {
      EXPECT_LT(author.birth, author.death) << author.name;
    }
    if (!author.country.empty()) {
      EXPECT_NE(std::find(countries.begin(), countries.end(), author.country), countries.end())
          << author.name << " " << author.country;
    }
  }
}

TEST(AuthorList, TheRestOfAnOverlongLineIsNoEntryOfItsOwn) {
  // 199 characters are read: the separators beyond them do not count, and
  // what follows on the same line is dropped, not read as another line.
  const std::string overlong = "A;1;2;" + std::string(200, 'x') + ";B;1;2;C;\r\n";
  EXPECT_TRUE(ParseAuthorList(overlong).empty());
  const auto authors = ParseAuthorList("A;1;2;F;" + std::string(300, 'y') + "\r\nB;3;4;G;\r\n");
  ASSERT_EQ(authors.size(), 2u);
  EXPECT_EQ(authors[1].name, "B");
}

TEST(SourcesFile, SourcesUpToTheHashLineThenCountries) {
  std::vector<std::string> sources, countries;
  ParseSourcesFile("The Problemist\r\n" + std::string(40, 's') + "\r\n#countries\r\nFrance;FR\r\n" +
                       std::string(18, 'c') + "\r\nItalia",
                   sources, countries);
  EXPECT_EQ(sources, (std::vector<std::string>{"The Problemist", std::string(32, 's')}));
  EXPECT_EQ(countries, (std::vector<std::string>{"France", std::string(16, 'c'), "Italia"}));
}

TEST(SourcesFile, WithoutAHashLineEverythingIsASource) {
  std::vector<std::string> sources, countries{"stale"};
  ParseSourcesFile("A\nB\n", sources, countries);
  EXPECT_EQ(sources, (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(countries.empty());
}

TEST(SourcesFile, AnOverlongSourceLineGivesOneSource) {
  std::vector<std::string> sources, countries;
  ParseSourcesFile(std::string(250, 'z') + "\r\nNext\r\n", sources, countries);
  EXPECT_EQ(sources, (std::vector<std::string>{std::string(32, 'z'), "Next"}));
}

TEST(AuthorAndSourceLists, FilesThatCannotBeReadLeaveTheListsEmpty) {
  ScratchFolder folder;
  AuthorAndSourceLists lists;
  lists.authors.push_back({"old", "", "", "", false});
  lists.sources.push_back("old");
  LoadAuthorAndSourceLists(folder.File("missing.txt"), folder.File("SOURCES.TXT"), lists);
  EXPECT_TRUE(lists.authors.empty());
  EXPECT_TRUE(lists.sources.empty());

  // A folder named as the author list is refused, not read.
  std::vector<AuthorEntry> authors;
  const FileResult folderResult = LoadAuthorList(folder.File(""), authors);
  EXPECT_EQ(folderResult.status, FileStatus::CannotOpen);
  EXPECT_TRUE(authors.empty());
}

TEST(AuthorAndSourceLists, ReadFromTheirFiles) {
  ScratchFolder folder;
  WriteText(folder.File("auteurs.txt"), "Loyd, Sam;1841;1911;USA;\r\nKlett, P;1833;1910;DE;\r\n");
  WriteText(folder.File("SOURCES.TXT"), "Die Schwalbe\r\n#\r\nUSA\r\n");
  AuthorAndSourceLists lists;
  LoadAuthorAndSourceLists(folder.File("auteurs.txt"), folder.File("SOURCES.TXT"), lists);
  ASSERT_EQ(lists.authors.size(), 2u);
  EXPECT_EQ(lists.sources, std::vector<std::string>{"Die Schwalbe"});
  EXPECT_EQ(lists.countries, std::vector<std::string>{"USA"});

  lists.authors[0].excluded = true;
  EXPECT_EQ(OfferedAuthors(lists.authors), std::vector<std::string>{"Klett, P"});
  FreeAuthorAndSourceLists(lists);
  EXPECT_TRUE(lists.authors.empty() && lists.sources.empty() && lists.countries.empty());
}

}  // namespace
}  // namespace kv
