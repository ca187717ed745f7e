#include "strings/language.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kv {
namespace {

Language Lang(int base) {
  Language language;
  language.base = base;
  return language;
}

const std::array<int, 4> kBuiltins = {LanguageFrench, LanguageEnglish, LanguageItalian,
                                      LanguageSpanish};

TEST(Language, LetterStringsOfEachLanguage) {
  struct Row {
    int base;
    const char* board;
    const char* notation;
  };
  const Row rows[] = {
      {LanguageFrench, " TDFCPR   rpcfdt", " TDFCPR   RPCFDT"},
      {LanguageEnglish, " RQBSPK   kpsbqr", " RQBSPK   KPSBQR"},
      {LanguageItalian, " TDACPR   rpcadt", " TDACPR   RPCADT"},
      {LanguageSpanish, " TDACPR   rpcadt", " TDACPR   RPCADT"},
  };
  for (const Row& row : rows) {
    const Language language = Lang(row.base);
    EXPECT_EQ(BoardLetters(language), row.board) << row.base;
    EXPECT_EQ(PlainLetters(language), row.notation) << row.base;
    EXPECT_EQ(NotationLetters(language, false), row.notation) << row.base;
    EXPECT_EQ(LoadMessage(language, 41), row.board);
  }
  EXPECT_EQ(FixedEnglishLetters, " RQBNPK   kpnbqr ");
}

TEST(Language, FigurineNotationReplacesOnlyTheNotationLetters) {
  const Language english;
  const std::string_view figurines = NotationLetters(english, true);
  ASSERT_EQ(figurines.size(), 16u);
  const unsigned char expected[16] = {0x20, 0xC2, 0xC1, 0xC3, 0xC4, 0x50, 0xC0, 0x20,
                                      0x20, 0x20, 0xC6, 0x50, 0xCA, 0xC9, 0xC7, 0xC8};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(static_cast<unsigned char>(figurines[i]), expected[i]);
  EXPECT_EQ(PlainLetters(english), " RQBSPK   KPSBQR");
}

TEST(Language, EnglishMessagePartsByPosition) {
  const std::vector<std::string> expected = {"threat",
                                             "waiting",
                                             "But",
                                             "Mate:",
                                             "But Draw!",
                                             " Mate in 1",
                                             "Solution:",
                                             "Try:",
                                             "Set Play:",
                                             "No solution",
                                             "Searching solution",
                                             "Search completed",
                                             "Analyzing",
                                             "User break",
                                             "Changed position",
                                             "Dubious position",
                                             "Invalid position"};
  const Language english;
  for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
    EXPECT_EQ(MessagePart(english, i), expected[i]) << i;
  }
  EXPECT_EQ(MessagePart(english, 17), "");
  EXPECT_EQ(MessagePart(english, -1), "");
  EXPECT_EQ(MessagePart(english, 20), "");
}

TEST(Language, EveryLanguageHasSeventeenMessageParts) {
  for (int base : kBuiltins) {
    for (int i = 0; i < 17; ++i)
      EXPECT_FALSE(MessagePart(Lang(base), i).empty()) << base << " " << i;
    EXPECT_TRUE(MessagePart(Lang(base), 17).empty()) << base;
  }
}

TEST(Language, SwitchingLanguageChangesLettersAndParts) {
  Language language = Lang(LanguageEnglish);
  EXPECT_EQ(MessagePart(language, 15), "Dubious position");
  EXPECT_EQ(BoardLetters(language)[1], 'R');
  language.base = LanguageFrench;
  EXPECT_EQ(MessagePart(language, 15), "Position douteuse");
  EXPECT_EQ(MessagePart(language, 6), "Solution :");
  EXPECT_EQ(BoardLetters(language)[1], 'T');
  EXPECT_EQ(WhiteInitial(language), 'B');
  EXPECT_EQ(BlackInitial(language), 'N');
  language.base = LanguageItalian;
  EXPECT_EQ(MessagePart(language, 6), "Soluzione:");
  EXPECT_EQ(NotationLetters(language, false)[3], 'A');
}

TEST(Language, ValueRules) {
  EXPECT_EQ(NormalizeLanguageValue(300), LanguageEnglish);
  EXPECT_EQ(NormalizeLanguageValue(2048), LanguageEnglish);
  EXPECT_EQ(NormalizeLanguageValue(-256), LanguageEnglish);
  EXPECT_EQ(NormalizeLanguageValue(1280), LanguageEnglish);
  for (int base : {0, 256, 512, 768, 1024}) EXPECT_EQ(NormalizeLanguageValue(base), base);
  // A stored value of 300 or a custom base without its strings speaks English.
  EXPECT_EQ(LoadMessage(Lang(300), 83), "White:");
  EXPECT_EQ(LoadMessage(Lang(LanguageCustom), 84), "Black:");
  EXPECT_EQ(LanguageIndex(Lang(2048)), 1);
}

TEST(Language, PerLanguageSmallTables) {
  EXPECT_EQ(HelpFileName(Lang(LanguageFrench)), "kvlhlp_f.hlp");
  EXPECT_EQ(HelpFileName(Lang(LanguageEnglish)), "kvlhlp_e.hlp");
  EXPECT_EQ(HelpFileName(Lang(LanguageItalian)), "kvlhlp_i.hlp");
  EXPECT_EQ(HelpFileName(Lang(LanguageSpanish)), "kvlhlp_s.hlp");
  EXPECT_EQ(OptionLetters(Lang(LanguageFrench)), "AER");
  EXPECT_EQ(OptionLetters(Lang(LanguageEnglish)), "STA");
  EXPECT_EQ(OptionLetters(Lang(LanguageItalian)), "AVR");
  EXPECT_EQ(ButtonText(Lang(LanguageFrench), 2), "Annuler");
  EXPECT_EQ(ButtonText(Lang(LanguageItalian), 3), "Guida");
  EXPECT_EQ(ButtonText(Lang(LanguageSpanish), 2), "Cancelar");
  EXPECT_EQ(ButtonText(Lang(LanguageSpanish), 1), "OK");
  EXPECT_EQ(ButtonText(Lang(LanguageSpanish), 4), "");
  EXPECT_EQ(WhiteInitial(Lang(LanguageEnglish)), 'W');
  EXPECT_EQ(BlackInitial(Lang(LanguageEnglish)), 'B');
  EXPECT_EQ(LanguageCommand(Lang(LanguageItalian)), 303);
}

TEST(Language, EnglishTextsThatOtherPartsQuote) {
  const Language en;
  const std::pair<int, const char*> texts[] = {
      {36, " Copying the current board in Forsyth notation"},
      {43, "Save Problem in %s ?"},
      {44, "Save Problem ?"},
      {45, "Unable to Open %s"},
      {46, "Not enough memory"},
      {47, "Unable to Print %s"},
      {48, "Unable to solve this problem"},
      {49, "No problem is found"},
      {50, "'%s' is not found. Restart from beginning ?"},
      {55, "Piece Box"},
      {56, "Prize"},
      {61, "HonourableMention"},
      {63, "Place"},
      {70, "exactly"},
      {72, "at the most"},
      {73, "Save the position in"},
      {76, "Save the solutions in"},
      {83, "White:"},
      {84, "Black:"},
      {85, "&Direct"},
      {88, "&Reflexmate"},
      {89, "&Dedicated to:"},
      {91, "&In:"},
      {129, "&Initialize"},
      {152, "Position n\xB0:"},
      {159, "Margins"},
      {211, "Diagrams"},
      {212, "Report"},
  };
  for (const auto& [n, text] : texts) EXPECT_EQ(LoadMessage(en, n), text) << n;
  EXPECT_EQ(LoadMessage(en, 257), "");
  EXPECT_EQ(LoadMessage(en, -1), "");
}

TEST(Language, FrenchAwardsAndUnsolvableMessage) {
  const Language fr = Lang(LanguageFrench);
  EXPECT_EQ(LoadMessage(fr, 57),
            "Prix sp\xE9"
            "cial");
  EXPECT_EQ(LoadMessage(fr, 61), "Mention d'Honneur");
  // The French text takes an (empty) argument.
  EXPECT_EQ(FormatMessage(LoadMessage(fr, 48), ""), "Impossible de r\xE9soudre ce probl\xE8me");
}

TEST(Language, FormatMessageTakesOneArgument) {
  EXPECT_EQ(FormatMessage("Unable to Open %s", "a.kvl"), "Unable to Open a.kvl");
  EXPECT_EQ(FormatMessage("No problem is found", "x"), "No problem is found");
  EXPECT_EQ(FormatMessage("%s and %s", "a"), "a and ");
  EXPECT_EQ(FormatMessage("100%% %d", "a"), "100% %d");
  EXPECT_EQ(FormatMessage("ends with %", "a"), "ends with %");
  EXPECT_EQ(FormatMessage(std::string(200, 'x'), "").size(), 127u);
}

TEST(Language, ShowMessageUsesTheCallback) {
  std::string text, caption;
  int style = -1;
  UiCallbacks ui;
  ui.messageBox = [&](const std::string& t, const std::string& c, int s) {
    text = t;
    caption = c;
    style = s;
    return IdNo;
  };
  EXPECT_EQ(ShowMessage(ui, Language{}, 43, "c:\\probs.kvl", MbYesNoCancel | MbIconQuestion), IdNo);
  EXPECT_EQ(text, "Save Problem in c:\\probs.kvl ?");
  EXPECT_EQ(caption, "Kestrovale");
  EXPECT_EQ(style, MbYesNoCancel | MbIconQuestion);
  // Without a user interface a question is cancelled.
  EXPECT_EQ(ShowMessage(UiCallbacks{}, Language{}, 44, "", MbYesNoCancel), IdCancel);
}

TEST(Language, LabelsWithAPrefixCharacterKeepIt) {
  // The status bar and the information pane drop the first character of these.
  for (int base : kBuiltins) {
    for (int n = 85; n <= 91; ++n)
      EXPECT_EQ(LoadMessage(Lang(base), n)[0], '&') << base << " " << n;
    // A label must not end in two blanks once its colon becomes a blank:
    // two blanks in the pane mean a line break.
    for (int n = 89; n <= 91; ++n) {
      const std::string text = LoadMessage(Lang(base), n);
      EXPECT_NE(text.substr(text.size() - 2), " :") << base << " " << n;
    }
  }
}

}  // namespace
}  // namespace kv
