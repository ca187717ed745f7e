// The configuration file: an ini file read and written the way the
// platform's private-profile functions do it. Sections and keys match
// without regard to case; a value is read into a field of fixed size (cut at
// the size less one) with a default for a missing key; writing a key keeps
// every other line of the file (other sections, unknown keys, comments) as
// it was. Values are Windows-1252 bytes, as the file stores them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The file held as its lines, so that a rewrite changes only the lines of
// the keys written.
struct IniDocument {
  std::vector<std::string> lines;  // without line ends
  bool crlf = true;                // line end used when writing
};

// Parses the text of an ini file.
IniDocument ParseIni(std::string_view text);

// The text of the document, each line followed by the line end.
std::string SerializeIni(const IniDocument& document);

// How reading the file ended. A missing file reads as an empty document,
// just as the profile functions then return every default; so does every
// failure, which the caller reports (IniReadMessage) before going on with
// the defaults.
enum class IniReadResult {
  Ok,
  Missing,
  NotRegularFile,  // a folder, a named pipe or a device stands at the path
  TooLarge,        // over MaxIniFileSize: no configuration is that long
  Unreadable,
};

// A configuration file is a few KiB; the cap keeps a wrong file from
// filling memory.
inline constexpr std::size_t MaxIniFileSize = 4 << 20;

// Reads the file without ever blocking (a named pipe is refused before it
// is opened for reading) or reading past MaxIniFileSize. Throws nothing.
[[nodiscard]] IniReadResult ReadIniFile(const std::string& path, IniDocument& document);

// The message for the user when reading failed; empty for Ok and Missing.
std::string IniReadMessage(const std::string& path, IniReadResult result);

// Writes the document to a temporary file in the same folder and renames it
// over path, so that a crash or a full disk never leaves a half-written
// file: on failure the old file stays as it was. Creates the folder when it
// does not exist. Refuses to replace anything but a regular file. Returns
// false on failure.
[[nodiscard]] bool WriteIniFile(const std::string& path, const IniDocument& document);

// The message for the user when writing failed.
std::string IniWriteMessage(const std::string& path);

// The value of key in section, cut to size - 1 bytes (size counts the
// terminating zero of the fixed-size field it goes into), or the default,
// cut the same way, when the key or the section is missing. A value written
// between double quotes is read without them.
std::string GetProfileString(const IniDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue, int size);

// The value as a decimal integer (optional sign, digits, anything after them
// ignored; 0 when no digit starts the value), or the default for a missing key.
int GetProfileInt(const IniDocument& document, std::string_view section, std::string_view key,
                  int defaultValue);

// True when the key exists in the section.
bool HasProfileKey(const IniDocument& document, std::string_view section, std::string_view key);

// Sets key in section to value: the first line of the key is replaced, a new
// key goes after the last key of the section, a new section at the end of
// the file. A line break or a zero byte would end the value early in the
// file: the value stops at a zero byte and line breaks become blanks. A
// value with blanks at its ends is written between double quotes so that
// they survive.
void WriteProfileString(IniDocument& document, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace kv
