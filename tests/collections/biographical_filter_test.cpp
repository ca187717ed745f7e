// The biographical selection: which authors it keeps, its result text and the
// excluded marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/biographical_filter.h"

namespace kv {
namespace {

struct KeepCase {
  const char* name;
  BiographicalSelection selection;
  AuthorEntry author;
  bool kept;
};

AuthorEntry Author(const char* birth, const char* death, const char* country = "France") {
  return AuthorEntry{"X", birth, death, country, false};
}

BiographicalSelection Born(int from, int to) {
  return {from, to, 0, 0, ""};
}
BiographicalSelection Died(int from, int to) {
  return {0, 0, from, to, ""};
}
BiographicalSelection Country(const char* country) {
  return {0, 0, 0, 0, country};
}

TEST(BiographicalSelection, KeepsAndDrops) {
  const KeepCase cases[] = {
      {"nothing set keeps everyone", {}, Author("", ""), true},
      {"born-from keeps an unknown birth", Born(1900, 0), Author("", ""), true},
      {"born-from drops an earlier birth", Born(1900, 0), Author("1899", ""), false},
      {"born-from keeps its own year", Born(1900, 0), Author("1900", ""), true},
      {"born-to drops an unknown birth", Born(0, 1950), Author("", "1990"), false},
      {"born-to drops a birth written as ?", Born(0, 1950), Author("?", ""), false},
      {"born-to keeps its own year", Born(0, 1950), Author("1950", ""), true},
      {"born-to drops a later birth", Born(0, 1950), Author("1951", ""), false},
      {"died-from keeps an unknown death", Died(1900, 0), Author("1850", ""), true},
      {"died-from drops an earlier death", Died(1900, 0), Author("1850", "1899"), false},
      {"died-to drops an unknown death (alive)", Died(0, 2000), Author("1950", ""), false},
      {"died-to keeps an earlier death", Died(0, 2000), Author("1850", "1920"), true},
      {"a range keeps what lies inside", Born(1800, 1900), Author("1841", "1911"), true},
      {"country is found inside the author's", Country("US"), Author("", "", "USA"), true},
      {"country is compared case by case", Country("usa"), Author("", "", "USA"), false},
      {"country absent from the author's", Country("Italia"), Author("", "", "France"), false},
  };
  for (const KeepCase& c : cases)
    EXPECT_EQ(SelectionKeeps(c.selection, c.author), c.kept) << c.name;
}

TEST(BiographicalSelection, YearsAreReadAsTheirLeadingNumber) {
  EXPECT_EQ(YearValue(""), 0);
  EXPECT_EQ(YearValue("?"), 0);
  EXPECT_EQ(YearValue("c.19"), 0);
  EXPECT_EQ(YearValue("1900?"), 1900);
  EXPECT_EQ(YearValue(" 1850"), 1850);
  EXPECT_EQ(YearValue("99999999999999"), 999999999);
}

TEST(BiographicalSelection, ResultTextTotalAndExcludedMarks) {
  std::vector<AuthorEntry> authors = {
      {"Loyd, Sam", "1841", "1911", "USA", false},
      {"Unknown", "", "", "France", false},
      {"Later, A", "1960", "", "USA", true},
  };
  BiographicalResult result = ApplyBiographicalSelection(Born(0, 1950), authors, false);
  EXPECT_EQ(result.text, "Loyd, Sam\t1841\t1911\tUSA\r\n");
  EXPECT_EQ(result.total, 1);
  EXPECT_EQ(BiographicalTotalText(result.total), "Total : 1  ");
  // Without the update the marks stay as they were.
  EXPECT_TRUE(authors[2].excluded);
  EXPECT_FALSE(authors[1].excluded);

  result = ApplyBiographicalSelection(Country("USA"), authors, true);
  EXPECT_EQ(result.text, "Loyd, Sam\t1841\t1911\tUSA\r\nLater, A\t1960\t\tUSA\r\n");
  EXPECT_FALSE(authors[0].excluded);
  EXPECT_TRUE(authors[1].excluded);
  EXPECT_FALSE(authors[2].excluded);
  EXPECT_EQ(OfferedAuthors(authors), (std::vector<std::string>{"Loyd, Sam", "Later, A"}));

  BiographicalSelection selection = Country("USA");
  selection.bornFrom = 1800;
  InitializeSelection(selection);
  EXPECT_EQ(ApplyBiographicalSelection(selection, authors, true).total, 3);
  EXPECT_FALSE(authors[1].excluded);
}

// Authors whose lines are 100 characters each ("name\t1900\t1980\tcountry\r\n").
std::vector<AuthorEntry> HundredCharacterLines(int count) {
  std::vector<AuthorEntry> authors(
      count, AuthorEntry{std::string(32, 'a'), "1900", "1980", std::string(16, 'c'), false});
  // 32 + 4 + 4 + 16 + 3 tabs + CR LF = 61: pad the name to make 100.
  for (AuthorEntry& a : authors) a.name = std::string(32 + 39, 'a');
  return authors;
}

TEST(BiographicalSelection, ALongResultIsCutWithItsMark) {
  std::vector<AuthorEntry> authors = HundredCharacterLines(480);  // exactly 48000
  BiographicalResult result = ApplyBiographicalSelection({}, authors, false);
  EXPECT_EQ(result.text.size(), 48000u);
  EXPECT_EQ(result.text.substr(result.text.size() - 2), "\r\n");

  authors = HundredCharacterLines(2000);
  result = ApplyBiographicalSelection({}, authors, false);
  EXPECT_EQ(result.total, 2000);
  EXPECT_EQ(result.text.size(), 47988u + 11u);
  EXPECT_EQ(result.text.substr(47988), "\r\ntruncated");
  EXPECT_EQ(result.text.substr(0, 100),
            std::string(71, 'a') + "\t1900\t1980\t" + std::string(16, 'c') + "\r\n");
}

}  // namespace
}  // namespace kv
