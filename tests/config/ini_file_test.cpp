#include "config/ini_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "config/ini_location.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A file written by hand: odd spacing, case, comments, a duplicate key, a
// second section of the same name and keys of other sections.
const char kHandWritten[] =
    "; settings\r\n"
    "[Other]\r\n"
    "Language=768\r\n"
    "\r\n"
    "  [ kestrovale ]  \r\n"
    "LANGUAGE   =   512   \r\n"
    "language=0\r\n"
    "\tAuteur=  Smith, John;Brown  \r\n"
    "Quoted=\"  two blanks  \"\r\n"
    "NoEquals line\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Kestrovale]\r\n"
    "Second=yes\r\n";

TEST(IniRead, HandWrittenFile) {
  const IniDocument document = ParseIni(kHandWritten);
  EXPECT_EQ(GetProfileInt(document, "Kestrovale", "Language", 256), 512);  // first key wins
  EXPECT_EQ(GetProfileString(document, "KESTROVALE", "auteur", "", 127), "Smith, John;Brown");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Quoted", "", 127), "  two blanks  ");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Empty", "dflt", 127), "");
  EXPECT_TRUE(HasProfileKey(document, "Kestrovale", "Empty"));
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Missing", "dflt", 127), "dflt");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "NoEquals line", "x", 127), "x");
  // Only the first section of a name counts.
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Second", "no", 127), "no");
  EXPECT_EQ(GetProfileInt(document, "Other", "Language", 256), 768);
  EXPECT_EQ(GetProfileInt(document, "Absent", "Language", 256), 256);
}

TEST(IniRead, FieldSizeCutsValuesAndDefaults) {
  const IniDocument document = ParseIni("[Kestrovale]\nKey=abcdefgh\n");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Key", "", 5), "abcd");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Nope", "123456", 4), "123");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Key", "", 1), "");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Key", "", 0), "");
}

TEST(IniRead, IntegersAsTheCConversionReadsThem) {
  const IniDocument document = ParseIni("[K]\na=-256\nb=12abc\nc=abc\nd=+7\ne=99999999999999\n");
  EXPECT_EQ(GetProfileInt(document, "K", "a", 1), -256);
  EXPECT_EQ(GetProfileInt(document, "K", "b", 1), 12);
  EXPECT_EQ(GetProfileInt(document, "K", "c", 1), 0);
  EXPECT_EQ(GetProfileInt(document, "K", "d", 1), 7);
  EXPECT_EQ(GetProfileInt(document, "K", "e", 1), 2147483647);
  EXPECT_EQ(GetProfileInt(document, "K", "f", 1), 1);
}

TEST(IniWrite, KeepsEverythingElse) {
  IniDocument document = ParseIni(kHandWritten);
  WriteProfileString(document, "Kestrovale", "language", "256");
  WriteProfileString(document, "Kestrovale", "NewKey", "new");
  WriteProfileString(document, "Third", "K", "v");
  const std::string text = SerializeIni(document);
  EXPECT_EQ(text,
            "; settings\r\n"
            "[Other]\r\n"
            "Language=768\r\n"
            "\r\n"
            "  [ kestrovale ]  \r\n"
            "language=256\r\n"
            "language=0\r\n"
            "\tAuteur=  Smith, John;Brown  \r\n"
            "Quoted=\"  two blanks  \"\r\n"
            "NoEquals line\r\n"
            "Empty=\r\n"
            "NewKey=new\r\n"
            "\r\n"
            "[Kestrovale]\r\n"
            "Second=yes\r\n"
            "\r\n"
            "[Third]\r\n"
            "K=v\r\n");
}

TEST(IniWrite, ValuesThatWouldNotSurviveAreMadeSafe) {
  IniDocument document;
  WriteProfileString(document, "Kestrovale", "Blanks", " a b ");
  WriteProfileString(document, "Kestrovale", "Quotes", "\"quoted\"");
  WriteProfileString(document, "Kestrovale", "Breaks", "one\r\ntwo");
  WriteProfileString(document, "Kestrovale", "Zero", std::string("ab\0cd", 5));
  WriteProfileString(document, "Kestrovale", "Equals", "a=b;c");
  const IniDocument read = ParseIni(SerializeIni(document));
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Blanks", "", 100), " a b ");
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Quotes", "", 100), "\"quoted\"");
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Breaks", "", 100), "one  two");
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Zero", "", 100), "ab");
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Equals", "", 100), "a=b;c");
  EXPECT_EQ(read.lines.size(), 6u);  // the section and five keys
}

TEST(IniWrite, LineEndsFollowTheFile) {
  IniDocument unix = ParseIni("[Kestrovale]\nA=1\n");
  WriteProfileString(unix, "Kestrovale", "B", "2");
  EXPECT_EQ(SerializeIni(unix), "[Kestrovale]\nA=1\nB=2\n");
  IniDocument fresh;
  WriteProfileString(fresh, "Kestrovale", "A", "1");
  EXPECT_EQ(SerializeIni(fresh), "[Kestrovale]\r\nA=1\r\n");
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::path(::testing::TempDir()) /
        ("ini-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(IniFileOnDisk, MissingFileReadsEmptyAndWriteCreatesFolders) {
  const fs::path path = folder_ / "deep" / "kestro32.ini";
  IniDocument document;
  EXPECT_EQ(ReadIniFile(path.string(), document), IniReadResult::Missing);
  EXPECT_TRUE(document.lines.empty());
  WriteProfileString(document, "Kestrovale", "Language", "0");
  ASSERT_TRUE(WriteIniFile(path.string(), document));
  EXPECT_EQ(ReadAll(path), "[Kestrovale]\r\nLanguage=0\r\n");
  IniDocument again;
  EXPECT_EQ(ReadIniFile(path.string(), again), IniReadResult::Ok);
  EXPECT_EQ(GetProfileInt(again, "Kestrovale", "Language", 256), 0);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDisk, FailedWriteLeavesTheOldFile) {
  fs::create_directories(folder_);
  const fs::path path = folder_ / "kestro32.ini";
  std::ofstream(path, std::ios::binary) << "[Kestrovale]\r\nLanguage=512\r\n";
  // The target is a folder's child that cannot be created: a file stands
  // where the folder would have to be.
  const fs::path blocked = path / "kestro32.ini";
  IniDocument document;
  WriteProfileString(document, "Kestrovale", "Language", "0");
  EXPECT_FALSE(WriteIniFile(blocked.string(), document));
  EXPECT_EQ(ReadAll(path), "[Kestrovale]\r\nLanguage=512\r\n");
  // A rename that fails (a folder stands at the target) reports the failure
  // and removes its temporary file.
  const fs::path folderTarget = folder_ / "taken";
  fs::create_directories(folderTarget / "inside");
  EXPECT_FALSE(WriteIniFile(folderTarget.string(), document));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

// Sets environment variables for one test and puts them back afterwards.
class Environment {
 public:
  ~Environment() {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const std::string& value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(IniLocation, EnvironmentChoosesTheFile) {
  Environment env;
  env.Set("KESTROVALE_INI", "/tmp/custom.ini");
  EXPECT_EQ(IniFilePath(), "/tmp/custom.ini");
  env.Set("KESTROVALE_INI", "");
  env.Set("XDG_CONFIG_HOME", "/xdg");
  EXPECT_EQ(IniFilePath(), "/xdg/kestrovale/kestro32.ini");
  env.Set("XDG_CONFIG_HOME", "relative");
  env.Set("HOME", "/home/u");
  EXPECT_EQ(IniFilePath(), "/home/u/.config/kestrovale/kestro32.ini");
}

}  // namespace
}  // namespace kv
