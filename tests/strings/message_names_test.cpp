#include "strings/generator/message_names.h"

#include <gtest/gtest.h>

#include "strings/language.h"
#include "strings/message_ids.h"

namespace kv::generator {
namespace {

// An English table holding messages 45, 46 and 217 only.
CustomLanguage SmallEnglish() {
  CustomLanguage english;
  for (int n : {45, 46, 217}) english.present[n] = true;
  return english;
}

TEST(MessageNames, ReadsNumbersAndNamesSkippingCommentsAndBlankLines) {
  std::vector<MessageName> names;
  std::string error;
  ASSERT_TRUE(
      ParseMessageNames("# boxes\n45 UnableToOpen\r\n\n  46\tNotEnoughMemory  \n"
                        "217 WhiteKingInCheck",
                        SmallEnglish(), names, error))
      << error;
  ASSERT_EQ(names.size(), 3U);
  EXPECT_EQ(names[0].number, 45);
  EXPECT_EQ(names[0].name, "UnableToOpen");
  EXPECT_EQ(names[1].number, 46);
  EXPECT_EQ(names[1].name, "NotEnoughMemory");
  EXPECT_EQ(names[2].name, "WhiteKingInCheck");
  const std::string header = MessageIdsHeader(names);
  EXPECT_NE(header.find("inline constexpr int UnableToOpen = 45;"), std::string::npos);
  EXPECT_NE(header.find("inline constexpr int WhiteKingInCheck = 217;"), std::string::npos);
}

TEST(MessageNames, RefusesWhatWouldNameTheWrongMessage) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"45 UnableToOpen\n47 UnableToPrint\n", "line 2: message 47 is not in the English table"},
      {"300 Beyond\n", "line 1: message 300 is not in the English table"},
      {"-1 Negative\n", "line 1: message -1 is not in the English table"},
      {"45 UnableToOpen\n46 UnableToOpen\n", "line 2: the name UnableToOpen is given twice"},
      {"45 UnableToOpen\n45 Open\n", "line 2: message 45 is named twice"},
      {"45\n", "line 1: expected a number and a name"},
      {"4x5 Open\n", "line 1: '4x5' is not a message number"},
      {"45 Unable-To-Open\n", "line 1: 'Unable-To-Open' is not a name"},
      {"45 1Open\n", "line 1: '1Open' is not a name"},
  };
  for (const Case& c : cases) {
    std::vector<MessageName> names;
    std::string error;
    EXPECT_FALSE(ParseMessageNames(c.text, SmallEnglish(), names, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

// The names of the program's list lead to the messages they are named after.
TEST(MessageNames, GeneratedNamesLeadToTheirEnglishTexts) {
  const Language english;
  EXPECT_EQ(LoadMessage(english, msg::UnableToOpen), "Unable to Open %s");
  EXPECT_EQ(LoadMessage(english, msg::White), "White:");
  EXPECT_EQ(LoadMessage(english, msg::Black), "Black:");
  EXPECT_EQ(LoadMessage(english, msg::KindDirect), "&Direct");
  EXPECT_EQ(LoadMessage(english, msg::KindReflexmate), "&Reflexmate");
  EXPECT_EQ(LoadMessage(english, msg::PositionNumber), "Position n\xB0:");
  EXPECT_EQ(LoadMessage(english, msg::ReportPage), "Report");
  EXPECT_EQ(LoadMessage(english, msg::SeriesOtherSideInCheck),
            "the side that does not move is in check");
  EXPECT_EQ(LoadMessage(english, msg::SeriesWords), "Short solution;solutions");
}

}  // namespace
}  // namespace kv::generator
