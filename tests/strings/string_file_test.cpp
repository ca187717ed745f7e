#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>

#include "strings/custom_language.h"
#include "strings/dialog_translation.h"
#include "strings/encoding.h"

namespace kv {
namespace {

CustomLanguage Parse(const std::string& content, StringFileResult expected = StringFileResult::Ok) {
  CustomLanguage language;
  EXPECT_EQ(ParseStringFile(content, language), expected);
  return language;
}

// Writes a string file into the test's temporary folder and returns its path.
std::string WriteFile(const std::string& name, const std::string& content) {
  std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

struct Recorder {
  std::vector<std::string> texts;
  std::vector<int> styles;
  UiCallbacks ui() {
    UiCallbacks callbacks;
    callbacks.messageBox = [this](const std::string& text, const std::string& caption, int style) {
      EXPECT_EQ(caption, "Kestrovale");
      texts.push_back(text);
      styles.push_back(style);
      return IdOk;
    };
    return callbacks;
  }
};

const char kPolish[] =
    "Polski 2.10\r\n"
    "// comment line\r\n"
    "POPUP \"&Plik\"\r\n"
    "BEGIN\r\n"
    "\tMENUITEM \"&Otw\xF3rz...\\aF9\", 101\r\n"
    "  MENUITEM SEPARATOR\r\n"
    "  POPUP \"&J\xEAzyki\"\r\n"
    "  BEGIN\r\n"
    "    MENUITEM \"&English\", 302\r\n"
    "  END\r\n"
    "  MENUITEM \"no number\"\r\n"
    "END\r\n"
    "STRING 41 \" WHGSPK   kpsghw\"\r\n"
    "STRING 51 \"gro\x9F"
    "ba;zugzwang;Ale;Mat:;\"\r\n"
    "STRING 45 \"Nie mo\xBFna otworzy\xE6 %s\"\r\n"
    "STRING 50 \"line one\\nline two\"\r\n"
    "STRING \"no number\"\r\n"
    "STRING 60 no quotes\r\n"
    "STRING 213 \"Zatwierdzam teraz zaraz\"\r\n"
    "STRING 216 \"ABCDEF\"\r\n";

TEST(StringFile, ReadsMenusAndStrings) {
  const CustomLanguage language = Parse(kPolish);
  ASSERT_EQ(language.menu.size(), 1u);
  const MenuItem& file = language.menu[0];
  EXPECT_EQ(file.kind, MenuItemKind::Popup);
  EXPECT_EQ(file.text, "&Plik");
  ASSERT_EQ(file.items.size(), 3u);  // the item without a number is ignored
  EXPECT_EQ(file.items[0].id, 101);
  EXPECT_EQ(file.items[0].text, "&Otw\xF3rz...\bF9");
  EXPECT_EQ(file.items[1].kind, MenuItemKind::Separator);
  EXPECT_EQ(file.items[2].text, "&J\xEAzyki");
  ASSERT_EQ(file.items[2].items.size(), 1u);
  EXPECT_EQ(file.items[2].items[0].id, 302);

  EXPECT_EQ(language.messages[45], "Nie mo\xBFna otworzy\xE6 %s");
  EXPECT_EQ(language.messages[50], "line one\nline two");
  EXPECT_FALSE(language.present[60]);
  EXPECT_EQ(language.okText, "Zatwierdzam ter");  // 15 characters
  EXPECT_EQ(language.optionLetters, "ABCD");      // 4 characters
  EXPECT_TRUE(language.cancelText.empty());
}

TEST(StringFile, VersionLineIsRequired) {
  Parse("2.1\nSTRING 1 \"x\"\n", StringFileResult::WrongVersion);
  Parse("", StringFileResult::WrongVersion);
  Parse("STRING 1 \"x\"\n2.10\n", StringFileResult::WrongVersion);
  Parse("version 2.10", StringFileResult::Ok);
}

TEST(StringFile, NumberAbove256StopsReading) {
  const CustomLanguage language = Parse(
      "2.10\nSTRING 1 \"one\"\nSTRING 300 \"stop\"\nSTRING 2 \"two\"\n"
      "POPUP \"&Late\"\nSTRING 256 \"last\"\n");
  EXPECT_TRUE(language.present[1]);
  EXPECT_FALSE(language.present[2]);
  EXPECT_FALSE(language.present[256]);
  EXPECT_TRUE(language.menu.empty());
  // 256 itself is a message.
  EXPECT_EQ(Parse("2.10\nSTRING 256 \"last\"\n").messages[256], "last");
}

TEST(StringFile, FirstTextOfANumberWins) {
  const CustomLanguage language = Parse("2.10\nS 7 \"first\"\nS 7 \"second\"\n");
  EXPECT_EQ(language.messages[7], "first");
}

TEST(StringFile, NestingBeyondThreePopupsIsDropped) {
  const CustomLanguage language = Parse(
      "2.10\n"
      "P \"1\"\nB\n"
      " P \"2\"\n B\n"
      "  P \"3\"\n  B\n"
      "   M \"in 3\", 3\n"
      "   P \"4\"\n   B\n"
      "    M \"in 4\", 4\n"
      "    P \"5\"\n    B\n    M \"in 5\", 5\n    E\n"
      "   E\n"
      "   M \"back in 3\", 6\n"
      "  E\n"
      "  M \"back in 2\", 7\n"
      " E\n"
      "E\nE\nE\n"
      "M \"on the bar\", 8\n");
  const Menu& menu = language.menu;
  ASSERT_EQ(menu.size(), 2u);
  const MenuItem& level3 = menu[0].items[0].items[0];
  EXPECT_EQ(level3.text, "3");
  ASSERT_EQ(level3.items.size(), 2u);
  EXPECT_EQ(level3.items[0].id, 3);
  EXPECT_EQ(level3.items[1].id, 6);
  EXPECT_EQ(menu[0].items[0].items[1].id, 7);
  EXPECT_EQ(menu[1].id, 8);
  EXPECT_EQ(FindMenuItem(menu, 4), nullptr);
  EXPECT_EQ(FindMenuItem(menu, 5), nullptr);
}

TEST(StringFile, OverlongLinesAreCutNotSplit) {
  // The text past 254 characters would be a string line of its own if the
  // rest of the line were read as a new line.
  const std::string line = "#" + std::string(253, 'x') + "STRING 9 \"tail\"";
  const CustomLanguage language = Parse("2.10\n" + line + "\nSTRING 10 \"next\"\n");
  EXPECT_FALSE(language.present[9]);
  EXPECT_TRUE(language.present[10]);
}

TEST(StringFile, CustomLanguageThroughSelectLanguage) {
  const std::string path = WriteFile("polish.str", kPolish);
  Recorder recorder;
  const Language language = SelectLanguage(LanguageCustom, path, recorder.ui());
  EXPECT_TRUE(recorder.texts.empty());
  ASSERT_EQ(language.base, LanguageCustom);
  EXPECT_EQ(LanguageIndex(language), 4);
  EXPECT_EQ(LoadMessage(language, 45), "Nie mo\xBFna otworzy\xE6 %s");
  EXPECT_EQ(LoadMessage(language, 46), "Not enough memory");  // from English
  EXPECT_EQ(BoardLetters(language), " WHGSPK   kpsghw");
  EXPECT_EQ(PlainLetters(language), " RQBSPK   KPSBQR");  // string 42 missing
  EXPECT_EQ(MessagePart(language, 0),
            "gro\x9F"
            "ba");
  EXPECT_EQ(MessagePart(language, 1), "zugzwang");
  // Parts 4.. come from the English messages 52..54 the file lacks.
  EXPECT_EQ(MessagePart(language, 4), "But Draw!");
  EXPECT_EQ(OptionLetters(language), "ABCD");
  EXPECT_EQ(ButtonText(language, 1), "Zatwierdzam ter");
  EXPECT_EQ(ButtonText(language, 2), "Cancel");
  EXPECT_EQ(HelpFileName(language), "kvlhlp_e.hlp");
  EXPECT_EQ(LanguageMenu(language)[0].text, "&Plik");
  // Dialogs are translated in a custom language, and the OK button takes 213.
  EXPECT_EQ(TranslateDialog(language, DialogTestMove).at(0).text, "&Test");
  EXPECT_EQ(StandardButtonText(language, 1, ""), "Zatwierdzam ter");
}

TEST(StringFile, WrongVersionShowsTheMessageAndFallsBackToEnglish) {
  const std::string path = WriteFile("old.str", "1.00\nSTRING 1 \"x\"\n");
  Recorder recorder;
  const Language language = SelectLanguage(LanguageCustom, path, recorder.ui());
  EXPECT_EQ(language.base, LanguageEnglish);
  ASSERT_EQ(recorder.texts.size(), 1u);
  EXPECT_EQ(recorder.texts[0], path + " needs to be updated for v2.10");
  EXPECT_EQ(recorder.styles[0], MbOk | MbIconStop);
}

TEST(StringFile, MissingFileFallsBackToEnglishSilently) {
  Recorder recorder;
  const Language language =
      SelectLanguage(LanguageCustom, ::testing::TempDir() + "no-such.str", recorder.ui());
  EXPECT_EQ(language.base, LanguageEnglish);
  EXPECT_TRUE(recorder.texts.empty());
  EXPECT_EQ(LanguageMenu(language)[0].text, "&File");
}

// Reads path as a custom language on another thread; a reader that blocks
// on a named pipe is released by opening the pipe for writing, and the test
// fails instead of hanging.
Language SelectWithinSeconds(const std::string& path, Recorder& recorder) {
  auto selecting = std::async(std::launch::async,
                              [&] { return SelectLanguage(LanguageCustom, path, recorder.ui()); });
  if (selecting.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
    const int release = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (release >= 0) ::close(release);
    ADD_FAILURE() << "reading " << path << " blocked";
  }
  return selecting.get();
}

TEST(StringFile, FolderPipeAndDeviceAreRefusedWithAMessage) {
  const std::string folder = ::testing::TempDir() + "folder.str";
  const std::string pipe = ::testing::TempDir() + "pipe.str";
  std::filesystem::remove_all(folder);
  std::filesystem::remove(pipe);
  std::filesystem::create_directories(folder);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::vector<std::string> paths = {folder, pipe};
  if (std::filesystem::exists("/dev/zero")) paths.push_back("/dev/zero");
  for (const std::string& path : paths) {
    Recorder recorder;
    const Language language = SelectWithinSeconds(path, recorder);
    EXPECT_EQ(language.base, LanguageEnglish) << path;
    ASSERT_EQ(recorder.texts.size(), 1u) << path;
    EXPECT_EQ(recorder.texts[0], path + " is not a regular file");
    EXPECT_EQ(recorder.styles[0], MbOk | MbIconStop);
  }
  std::filesystem::remove_all(folder);
  std::filesystem::remove(pipe);
}

TEST(StringFile, ReadingStopsAtTheCap) {
  std::string content = "2.10\nSTRING 1 \"first\"\n";
  content += std::string(5 << 20, ';');
  content += "\nSTRING 2 \"beyond the cap\"\n";
  const std::string path = WriteFile("huge.str", content);
  CustomLanguage language;
  EXPECT_EQ(ReadStringFile(path, language), StringFileResult::Ok);
  EXPECT_TRUE(language.present[1]);
  EXPECT_FALSE(language.present[2]);
  std::remove(path.c_str());
}

TEST(StringFile, StringsOnlyFileKeepsTheEnglishMenuAndSafeLetters) {
  const std::string path = WriteFile("short.str", "2.10\nSTRING 42 \" AB\"\n");
  const Language language = SelectLanguage(LanguageCustom, path, UiCallbacks{});
  ASSERT_EQ(language.base, LanguageCustom);
  EXPECT_EQ(LanguageMenu(language)[0].text, "&File");
  EXPECT_EQ(PlainLetters(language), " AB             ");
  EXPECT_EQ(NotationLetters(language, true), FigurineLetters);
}

TEST(StringFile, BuiltInDataFilesReadAsCustomFilesGiveTheBuiltInTables) {
  const char* names[] = {"french", "english", "italian", "spanish"};
  for (int index = 0; index < 4; ++index) {
    // Read as a user's "Other language..." reads them.
    CustomLanguage custom;
    ASSERT_EQ(ReadStringFile(std::string(KESTROVALE_SOURCE_DIR) + "/resources/strings/" +
                                 names[index] + ".str",
                             custom),
              StringFileResult::Ok)
        << names[index];
    Language builtin;
    builtin.base = index * 256;
    for (int n = 0; n <= MaxMessageNumber; ++n) {
      EXPECT_EQ(custom.messages[n], LoadMessage(builtin, n)) << names[index] << " " << n;
    }
  }
}

// A string file may be Windows-1252 (as the program's own and older users'
// files are) or UTF-8 (as a modern editor saves it); either reads as the
// same Windows-1252 texts.
TEST(StringFile, EncodingIsToldApartByTheBytes) {
  struct Case {
    const char* name;
    std::string bytes;     // the message line as stored in the file
    std::string expected;  // message 45 as the program holds it
  };
  // Each accented byte ends its literal, so that no letter after it is read
  // as part of a hexadecimal escape.
  const std::string french1252 =
      "Fran\xE7"
      "ais n\xB0 \xE9"
      "t\xE9";
  const Case cases[] = {
      {"windows-1252 with accents", "STRING 45 \"" + french1252 + "\"", french1252},
      {"utf-8",
       "STRING 45 \"Fran\xC3\xA7"
       "ais n\xC2\xB0 \xC3\xA9"
       "t\xC3\xA9\"",
       french1252},
      {"utf-8 with a byte-order mark", "STRING 45 \"\xE2\x82\xAC \xC5\x93\"", "\x80 \x9C"},
      // Well-formed but for one stray byte: not UTF-8, so read byte for byte.
      {"invalid utf-8",
       "STRING 45 \"Fran\xC3\xA7"
       "ais \xE9"
       "t\"",
       "Fran\xC3\xA7"
       "ais \xE9"
       "t"},
      {"plain ascii", "STRING 45 \"Cannot open %s\"", "Cannot open %s"},
  };
  int ran = 0;
  for (const Case& c : cases) {
    const std::string mark =
        std::string(c.name).find("mark") != std::string::npos ? "\xEF\xBB\xBF" : "";
    const std::string path = WriteFile("encoding.str", mark + "Test 2.10\r\n" + c.bytes + "\r\n");
    CustomLanguage language;
    ASSERT_EQ(ReadStringFile(path, language), StringFileResult::Ok) << c.name;
    EXPECT_EQ(language.messages[45], c.expected) << c.name;
    ++ran;
  }
  EXPECT_EQ(ran, 5);
}

TEST(StringFile, ShippedFilesAreWindows1252) {
  // The reader takes either encoding, but the files the program ships are
  // in the one it holds, so that a program of an earlier version reads them.
  for (const char* name : {"french", "english", "italian", "spanish"}) {
    std::ifstream in(std::string(KESTROVALE_SOURCE_DIR) + "/resources/strings/" + name + ".str",
                     std::ios::binary);
    ASSERT_TRUE(in) << name;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(IsUtf8Text(bytes)) << name;
  }
}

TEST(StringFile, ArbitraryBytesNeverCrash) {
  // Lines made from the tokens the reader reacts to, shuffled at random.
  const char* tokens[] = {"P",           "B",  "E",         "M",  "S",    "\"",  "\\a",
                          "\\n",         "\\", " ",         "\t", "7",    "300", "256",
                          "99999999999", ",",  "SEPARATOR", "\n", "\r\n", "\xFF"};
  std::mt19937 random(12345);
  for (int file = 0; file < 2000; ++file) {
    std::string content = "2.10\n";
    const int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) content += tokens[random() % std::size(tokens)];
    CustomLanguage language;
    EXPECT_EQ(ParseStringFile(content, language), StringFileResult::Ok);
  }
}

}  // namespace
}  // namespace kv
