// The reader of string files: a version line, then lines in a resource-script
// style that build a menu bar and a table of numbered strings.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>

#include "strings/custom_language.h"
#include "strings/encoding.h"

namespace kv {
namespace {

// Lines are read with this many characters at most; the rest of a longer
// line is dropped rather than read as a line of its own.
constexpr std::size_t kMaxLineLength = 254;
// The menu stack holds the menu bar and three nested popups.
constexpr int kMaxMenuLevel = 3;
constexpr std::size_t kButtonTextLength = 15;
constexpr std::size_t kOptionLettersLength = 4;
constexpr char kMenuHintChar = 8;  // "\a" in a menu text
constexpr std::size_t kMaxFileSize = 4 << 20;

// The text between the first pair of double quotes at or after from, with
// its end position; nothing when the line has no such pair.
struct Quoted {
  std::string text;
  std::size_t end;  // the position after the closing quote
};

std::optional<Quoted> QuotedText(std::string_view line, std::size_t from, char escape,
                                 char replacement) {
  const std::size_t open = line.find('"', from);
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  std::string text;
  for (std::size_t i = open + 1; i < close; ++i) {
    if (line[i] == '\\' && i + 1 < close && line[i + 1] == escape) {
      text += replacement;
      ++i;
    } else {
      text += line[i];
    }
  }
  return Quoted{std::move(text), close + 1};
}

// The first run of digits at or after from, with the position after it.
std::optional<std::pair<int, std::size_t>> FirstNumber(std::string_view line, std::size_t from) {
  std::size_t i = from;
  while (i < line.size() && !std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i == line.size()) return std::nullopt;
  int value = 0;
  for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
    // A long run of digits saturates instead of overflowing.
    if (value < 1'000'000) value = value * 10 + (line[i] - '0');
  }
  return std::make_pair(value, i);
}

// Builds the menu while the lines come in. Items are only ever appended, so
// the index path of an open popup stays valid for the whole file.
class MenuBuilder {
 public:
  explicit MenuBuilder(Menu& menu) : menu_(menu) { open_[0] = std::vector<std::size_t>(); }

  void Begin() { ++level_; }
  void End() { level_ = level_ > 0 ? level_ - 1 : 0; }

  void Popup(std::string text) {
    // A popup at the deepest level would need a fourth popup on the stack:
    // it is dropped, and with it everything inside it.
    if (level_ >= kMaxMenuLevel) return;
    std::vector<MenuItem>* items = Items(level_);
    if (items == nullptr) return;
    items->push_back({MenuItemKind::Popup, 0, std::move(text), {}});
    std::vector<std::size_t> path = *open_[level_];
    path.push_back(items->size() - 1);
    open_[level_ + 1] = std::move(path);
  }

  void Append(MenuItem item) {
    if (std::vector<MenuItem>* items = Items(level_)) items->push_back(std::move(item));
  }

 private:
  // The items of the menu that is open at level, or nullptr when the line
  // stands deeper than the stack or no popup was opened for that level.
  std::vector<MenuItem>* Items(int level) {
    if (level > kMaxMenuLevel || !open_[level]) return nullptr;
    std::vector<MenuItem>* items = &menu_;
    for (std::size_t index : *open_[level]) items = &(*items)[index].items;
    return items;
  }

  Menu& menu_;
  int level_ = 0;  // may exceed the stack while a too-deep popup is skipped
  std::optional<std::vector<std::size_t>> open_[kMaxMenuLevel + 1];
};

// Reads one string line; false when its number ends the file.
bool ReadStringLine(std::string_view line, std::size_t from, CustomLanguage& language) {
  const auto number = FirstNumber(line, from);
  if (!number) return true;
  const int n = number->first;
  if (n > MaxMessageNumber) return false;
  auto quoted = QuotedText(line, number->second, 'n', '\n');
  if (!quoted) return true;
  std::string& text = quoted->text;
  if (n == 213) language.okText = text.substr(0, kButtonTextLength);
  if (n == 214) language.cancelText = text.substr(0, kButtonTextLength);
  if (n == 215) language.helpText = text.substr(0, kButtonTextLength);
  if (n == 216) language.optionLetters = text.substr(0, kOptionLettersLength);
  // A number given twice keeps its first text, as a lookup by number finds
  // the first item that carries it.
  if (!language.present[n]) {
    language.messages[n] = std::move(text);
    language.present[n] = true;
  }
  return true;
}

void ReadMenuItemLine(std::string_view line, std::size_t from, MenuBuilder& menu) {
  const std::size_t quote = line.find('"', from);
  const std::size_t s = line.find('S', from);
  if (s != std::string_view::npos && (quote == std::string_view::npos || s < quote)) {
    menu.Append({MenuItemKind::Separator, 0, {}, {}});
    return;
  }
  auto quoted = QuotedText(line, from, 'a', kMenuHintChar);
  if (!quoted) return;
  const auto id = FirstNumber(line, quoted->end);
  if (!id) return;
  menu.Append({MenuItemKind::Command, id->first, std::move(quoted->text), {}});
}

// Reads at most kMaxFileSize bytes of the file at path. What is not a regular
// file is refused before a byte is read: a named pipe would block the
// program until a writer came, a device such as /dev/zero would never end.
// The pipe check is made on the path and again on the descriptor, which is
// opened without blocking in case a pipe was put there in between.
StringFileResult ReadBoundedRegularFile(const std::string& path, std::string& content) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return StringFileResult::CannotOpen;
  if (!S_ISREG(status.st_mode)) return StringFileResult::NotRegularFile;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return StringFileResult::CannotOpen;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return StringFileResult::NotRegularFile;
  }
  // A string file holds a few hundred short lines; reading stops at a size
  // that no real one reaches, so that a wrong file chosen by mistake (a disk
  // image, a video) cannot exhaust memory.
  content.assign(kMaxFileSize, '\0');
  std::size_t filled = 0;
  bool failed = false;
  while (filled < content.size()) {
    const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    failed = got < 0;
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  ::close(fd);
  content.resize(failed ? 0 : filled);
  return failed ? StringFileResult::CannotOpen : StringFileResult::Ok;
}

}  // namespace

StringFileResult ParseStringFile(std::string_view content, CustomLanguage& language) {
  MenuBuilder menu(language.menu);
  bool first = true;
  std::size_t start = 0;
  while (start < content.size() || first) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = line.substr(0, kMaxLineLength);
    if (first) {
      if (line.find("2.10") == std::string_view::npos) return StringFileResult::WrongVersion;
      first = false;
      continue;
    }
    const std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos) continue;
    switch (line[at]) {
      case 'B':
        menu.Begin();
        break;
      case 'E':
        menu.End();
        break;
      case 'P':
        if (auto quoted = QuotedText(line, at + 1, 'a', kMenuHintChar)) {
          menu.Popup(std::move(quoted->text));
        }
        break;
      case 'M':
        ReadMenuItemLine(line, at + 1, menu);
        break;
      case 'S':
        if (!ReadStringLine(line, at + 1, language)) return StringFileResult::Ok;
        break;
      default:
        break;  // comments, blank lines and anything else
    }
  }
  return StringFileResult::Ok;
}

std::string StringFileText(std::string content) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  const bool marked = content.starts_with(kUtf8Mark);
  if (marked) content.erase(0, kUtf8Mark.size());
  if (marked || IsUtf8Text(content)) return Utf8ToCp1252(content);
  return content;
}

StringFileResult ReadStringFile(const std::string& path, CustomLanguage& language) {
  std::string content;
  const StringFileResult result = ReadBoundedRegularFile(path, content);
  if (result != StringFileResult::Ok) return result;
  return ParseStringFile(StringFileText(std::move(content)), language);
}

std::string NotRegularFileMessage(std::string_view path) {
  return std::string(path) + " is not a regular file";
}

}  // namespace kv
