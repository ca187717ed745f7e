// The configuration reader and writer facing what is not a configuration
// file: a folder, a named pipe, a device, a huge file, a zero byte.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "config/ini_file.h"
#include "config/settings.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class HostileIniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) /
              ("ini-hostile-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Reads path on another thread; a reader that blocks is released by
  // opening the pipe for writing, and the test fails instead of hanging.
  IniReadResult ReadWithinSeconds(const fs::path& path, IniDocument& document) {
    auto reading =
        std::async(std::launch::async, [&] { return ReadIniFile(path.string(), document); });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
      const int release = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (release >= 0) ::close(release);
      ADD_FAILURE() << "reading " << path << " blocked";
    }
    return reading.get();
  }

  fs::path folder_;
};

TEST_F(HostileIniFile, FolderIsRefusedWithAMessageAndKeptOnUpdate) {
  const fs::path path = folder_ / "kestro32.ini";
  fs::create_directories(path / "inside");
  IniDocument document = ParseIni("[Kestrovale]\nLanguage=0\n");
  EXPECT_EQ(ReadIniFile(path.string(), document), IniReadResult::NotRegularFile);
  EXPECT_TRUE(document.lines.empty());  // the defaults apply
  EXPECT_NE(IniReadMessage(path.string(), IniReadResult::NotRegularFile).find(path.string()),
            std::string::npos);
  std::string message;
  EXPECT_FALSE(UpdateIniFile(
      path.string(), [](IniDocument& d) { SaveLanguageValue(d, 0); }, &message));
  EXPECT_FALSE(message.empty());
  EXPECT_TRUE(fs::is_directory(path / "inside"));
  EXPECT_FALSE(WriteIniFile(path.string(), document));
}

TEST_F(HostileIniFile, NamedPipeNeverBlocksAndIsNeverReplaced) {
  const fs::path path = folder_ / "kestro32.ini";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  IniDocument document;
  EXPECT_EQ(ReadWithinSeconds(path, document), IniReadResult::NotRegularFile);
  EXPECT_FALSE(UpdateIniFile(path.string(), [](IniDocument& d) { SaveLanguageValue(d, 0); }));
  EXPECT_EQ(fs::status(path).type(), fs::file_type::fifo);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(HostileIniFile, DeviceIsRefusedInsteadOfReadWithoutEnd) {
  if (!fs::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
  IniDocument document;
  EXPECT_EQ(ReadWithinSeconds("/dev/zero", document), IniReadResult::NotRegularFile);
  EXPECT_TRUE(document.lines.empty());
}

TEST_F(HostileIniFile, FileOverTheCapIsRefusedAndNotCutOnUpdate) {
  const fs::path path = folder_ / "kestro32.ini";
  std::ofstream(path, std::ios::binary) << "[Kestrovale]\r\nLanguage=512\r\n";
  fs::resize_file(path, MaxIniFileSize + 1);
  IniDocument document;
  EXPECT_EQ(ReadIniFile(path.string(), document), IniReadResult::TooLarge);
  EXPECT_TRUE(document.lines.empty());
  EXPECT_FALSE(UpdateIniFile(path.string(), [](IniDocument& d) { SaveLanguageValue(d, 0); }));
  EXPECT_EQ(fs::file_size(path), MaxIniFileSize + 1);
  // A file of exactly the cap is still read.
  fs::resize_file(path, MaxIniFileSize);
  EXPECT_EQ(ReadIniFile(path.string(), document), IniReadResult::Ok);
  EXPECT_EQ(GetProfileInt(document, "Kestrovale", "Language", 256), 512);
}

TEST_F(HostileIniFile, ZeroByteInAStoredValueReadsAsItWouldBeWritten) {
  const fs::path path = folder_ / "kestro32.ini";
  const char text[] = "[Kestrovale]\nAuteur=ab\0cd\nSource=ef \0gh\nPrix=\"\0\"\n";
  std::ofstream(path, std::ios::binary) << std::string(text, sizeof text - 1);
  IniDocument document;
  ASSERT_EQ(ReadIniFile(path.string(), document), IniReadResult::Ok);
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Auteur", "", 128), "ab");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Source", "", 128), "ef");
  EXPECT_EQ(GetProfileString(document, "Kestrovale", "Prix", "", 128), "\"");
  IniDocument written;
  WriteProfileString(written, "Kestrovale", "Auteur", std::string("ab\0cd", 5));
  EXPECT_EQ(GetProfileString(ParseIni(SerializeIni(written)), "Kestrovale", "Auteur", "", 128),
            "ab");
}

TEST_F(HostileIniFile, RewriteKeepsPermissionsAndLeavesNoTemporaryFile) {
  const fs::path path = folder_ / "kestro32.ini";
  std::ofstream(path, std::ios::binary) << "[Kestrovale]\r\nLanguage=512\r\n";
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(UpdateIniFile(path.string(), [](IniDocument& d) { SaveLanguageValue(d, 768); }));
  EXPECT_EQ(ReadAll(path), "[Kestrovale]\r\nLanguage=768\r\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kv
