// A language read from a string file (".str"): its strings, its menu, and the
// button texts and option letters that only string files can set.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "strings/language.h"
#include "strings/menu.h"

namespace kv {

struct CustomLanguage {
  std::array<std::string, MaxMessageNumber + 1> messages;  // by message number
  std::array<bool, MaxMessageNumber + 1> present{};        // set by a string line
  Menu menu;
  std::string okText;                  // string 213, at most 15 characters
  std::string cancelText;              // string 214
  std::string helpText;                // string 215
  std::string optionLetters = "PZR ";  // string 216, at most 4 characters
  // Strings 41 and 42 made safe to index by PieceCode: padded with blanks to
  // 16 characters and cut at 17 (English where the file lacks them).
  std::string boardLetters;
  std::string plainLetters;
};

// How reading a string file ended.
enum class StringFileResult {
  Ok,
  CannotOpen,      // the file could not be read
  NotRegularFile,  // a folder, a named pipe or a device: refused unread
  WrongVersion,    // its first line lacks "2.10"
};

// Reads the lines of a string file into language. Lines that follow no rule
// are ignored; reading stops at a string numbered above 256. Only a missing
// version line fails.
[[nodiscard]] StringFileResult ParseStringFile(std::string_view content, CustomLanguage& language);

// The text of a string file as Windows-1252 bytes. A file may be written in
// either encoding: one that is well-formed UTF-8 and holds multi-byte
// sequences (or starts with the UTF-8 byte-order mark) is UTF-8 and is
// converted; anything else is Windows-1252 already, as the files written
// for earlier versions are.
std::string StringFileText(std::string content);

// Reads a string file from disk: at most 4 MiB of it, and only when it is a
// regular file; it never blocks on a named pipe.
[[nodiscard]] StringFileResult ReadStringFile(const std::string& path, CustomLanguage& language);

// The box text shown for a string file of another version.
std::string WrongVersionMessage(std::string_view path);

// The box text shown when the path names a folder, a pipe or a device.
std::string NotRegularFileMessage(std::string_view path);

// Selects a language as the program does at start and on a language command:
// value is the stored or chosen language value (corrected as
// NormalizeLanguageValue says); for 1024 the string file at path is read. A
// file that cannot be read gives English silently; a file of another version,
// or a path that is no regular file, shows its message through ui and gives
// English. When the result is
// the custom language, the caller stores path as "CustomMenu".
Language SelectLanguage(int value, const std::string& path, const UiCallbacks& ui);

// The menu bar of the language: a built-in menu, or the custom one.
Menu LanguageMenu(const Language& language);

}  // namespace kv
