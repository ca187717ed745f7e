#include "config/ini_file.h"

#include <algorithm>
#include <filesystem>

#include "config/regular_file.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The name of a section header line, or false when the line is none.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// The key and value of a key line, or false for comments and other lines.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return false;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  return !key.empty();
}

// Where the section's lines are: from the line after `header` up to `end`;
// header is npos when the file has no such section. Only the first section
// of that name counts, as with the profile functions.
struct SectionRange {
  std::size_t header = std::string::npos;
  std::size_t end = 0;
};

SectionRange FindSection(const IniDocument& document, std::string_view section) {
  SectionRange range;
  for (std::size_t i = 0; i < document.lines.size(); ++i) {
    std::string_view name;
    if (!SectionName(document.lines[i], name)) continue;
    if (range.header != std::string::npos) {
      range.end = i;
      return range;
    }
    if (SameName(name, section)) range.header = i;
  }
  range.end = document.lines.size();
  return range;
}

// The line index of the key in the section, or npos.
std::size_t FindKey(const IniDocument& document, const SectionRange& range, std::string_view key) {
  if (range.header == std::string::npos) return std::string::npos;
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    std::string_view name, value;
    if (KeyLine(document.lines[i], name, value) && SameName(name, key)) return i;
  }
  return std::string::npos;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Cut(std::string_view text, int size) {
  if (size <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(size - 1)));
}

}  // namespace

IniDocument ParseIni(std::string_view text) {
  IniDocument document;
  const std::size_t firstBreak = text.find('\n');
  document.crlf =
      firstBreak == std::string_view::npos || (firstBreak > 0 && text[firstBreak - 1] == '\r');
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    document.lines.emplace_back(line);
    start = end + 1;
  }
  return document;
}

std::string SerializeIni(const IniDocument& document) {
  std::string text;
  const char* lineEnd = document.crlf ? "\r\n" : "\n";
  for (const std::string& line : document.lines) {
    text += line;
    text += lineEnd;
  }
  return text;
}

IniReadResult ReadIniFile(const std::string& path, IniDocument& document) {
  document = IniDocument{};
  std::string text;
  switch (ReadRegularFile(path, MaxIniFileSize, text)) {
    case FileReadResult::Ok:
      document = ParseIni(text);
      return IniReadResult::Ok;
    case FileReadResult::Missing:
      return IniReadResult::Missing;
    case FileReadResult::NotRegularFile:
      return IniReadResult::NotRegularFile;
    case FileReadResult::TooLarge:
      return IniReadResult::TooLarge;
    case FileReadResult::Unreadable:
      break;
  }
  return IniReadResult::Unreadable;
}

std::string IniReadMessage(const std::string& path, IniReadResult result) {
  switch (result) {
    case IniReadResult::Ok:
    case IniReadResult::Missing:
      return {};
    case IniReadResult::NotRegularFile:
      return "The configuration " + path + " is not a regular file; the defaults are used.";
    case IniReadResult::TooLarge:
      return "The configuration " + path + " is too large to be one; the defaults are used.";
    case IniReadResult::Unreadable:
      break;
  }
  return "The configuration " + path + " cannot be read; the defaults are used.";
}

bool WriteIniFile(const std::string& path, const IniDocument& document) {
  std::error_code error;
  fs::path target(path);
  // Rewrite the file a symbolic link points to, not the link. A target that
  // does not exist yet is no error here.
  if (fs::symlink_status(target, error).type() == fs::file_type::symlink) {
    target = fs::weakly_canonical(target, error);
    if (error) return false;
  }
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), error);
    if (error) return false;
  }
  // Renaming a file over a folder or a device would fail or, worse, replace
  // what the user put there: only a regular file or nothing is replaced.
  const fs::file_type type = fs::status(target, error).type();
  if (type != fs::file_type::regular && type != fs::file_type::not_found) return false;
  return ReplaceFile(target.string(), SerializeIni(document));
}

std::string IniWriteMessage(const std::string& path) {
  return "The configuration " + path + " cannot be written; it is left as it was.";
}

std::string GetProfileString(const IniDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue, int size) {
  const std::size_t line = FindKey(document, FindSection(document, section), key);
  if (line == std::string::npos) return Cut(defaultValue, size);
  std::string_view name, value;
  KeyLine(document.lines[line], name, value);
  // A zero byte ends the value, as it ends a value being written: a file
  // edited by hand reads the same as it would be written back.
  value = Trim(value.substr(0, value.find('\0')));
  return Cut(Unquote(value), size);
}

int GetProfileInt(const IniDocument& document, std::string_view section, std::string_view key,
                  int defaultValue) {
  if (!HasProfileKey(document, section, key)) return defaultValue;
  const std::string value = GetProfileString(document, section, key, "", 64);
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  long long number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = std::min<long long>(number * 10 + (value[i] - '0'), 1LL << 31);
  }
  if (negative) number = -number;
  return static_cast<int>(std::clamp<long long>(number, -(1LL << 31), (1LL << 31) - 1));
}

bool HasProfileKey(const IniDocument& document, std::string_view section, std::string_view key) {
  return FindKey(document, FindSection(document, section), key) != std::string::npos;
}

void WriteProfileString(IniDocument& document, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string clean(value.substr(0, value.find('\0')));
  std::replace(clean.begin(), clean.end(), '\r', ' ');
  std::replace(clean.begin(), clean.end(), '\n', ' ');
  const bool quote =
      !clean.empty() && (IsBlank(clean.front()) || IsBlank(clean.back()) ||
                         (clean.size() >= 2 && clean.front() == '"' && clean.back() == '"'));
  std::string line = std::string(key) + "=" + (quote ? "\"" + clean + "\"" : clean);

  const SectionRange range = FindSection(document, section);
  if (range.header == std::string::npos) {
    if (!document.lines.empty() && !Trim(document.lines.back()).empty())
      document.lines.emplace_back();
    document.lines.push_back("[" + std::string(section) + "]");
    document.lines.push_back(std::move(line));
    return;
  }
  const std::size_t existing = FindKey(document, range, key);
  if (existing != std::string::npos) {
    document.lines[existing] = std::move(line);
    return;
  }
  // After the section's last non-blank line, so that a blank line between
  // sections stays where it was.
  std::size_t insert = range.header + 1;
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    if (!Trim(document.lines[i]).empty()) insert = i + 1;
  }
  document.lines.insert(document.lines.begin() + static_cast<std::ptrdiff_t>(insert),
                        std::move(line));
}

}  // namespace kv
