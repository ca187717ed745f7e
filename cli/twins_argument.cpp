#include "cli/twins_argument.h"

#include <cstdio>

#include "solver/twins.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

constexpr std::size_t TwinEntrySize = 4;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseTwinsArgument(const std::string& utf8, std::string& twins, std::string& error) {
  const std::string text = Utf8ToCp1252(utf8);
  std::string field;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      field += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      field += '\\';
      ++i;
    } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
               HexDigit(text[i + 3]) >= 0) {
      field += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      i += 3;
    } else {
      error = "a backslash in --twins starts \\\\ or \\xHH";
      return false;
    }
  }
  if (!field.empty()) {
    const std::size_t entries = (field.size() - 1) / TwinEntrySize;
    if ((field.size() - 1) % TwinEntrySize != 0 ||
        entries > static_cast<std::size_t>(MaxTwinEntries)) {
      error = "--twins needs a mode byte and up to 31 entries of 4 bytes";
      return false;
    }
    if (field.find('\0') != std::string::npos) {
      error = "--twins cannot hold a zero byte";
      return false;
    }
    if (field[0] != TwinModeSuccessive) field[0] = TwinModeUsual;
  }
  twins = field;
  return true;
}

std::string EscapedTwins(const std::string& twins) {
  std::string shown;
  for (const unsigned char byte : twins) {
    if (byte == '\\') {
      shown += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
    } else {
      shown += static_cast<char>(byte);
    }
  }
  return shown;
}

}  // namespace kv::cli
