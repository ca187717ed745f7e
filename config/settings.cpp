#include "config/settings.h"

#include <algorithm>
#include <cstdio>

namespace kv {
namespace {

// Values are written as the character 48 + value. Clamped so that no value
// becomes a zero byte or a line break, which would cut the line in the file.
char DigitChar(int value) {
  return static_cast<char>(48 + std::clamp(value, -34, 207));
}
int DigitValue(char c) {
  return static_cast<unsigned char>(c) - 48;
}

std::string Get(const IniDocument& document, std::string_view key, std::string_view defaultValue,
                int size) {
  return GetProfileString(document, IniSection, key, defaultValue, size);
}

void Put(IniDocument& document, std::string_view key, std::string_view value) {
  WriteProfileString(document, IniSection, key, value);
}

// The valid range of each "Output" position; positions 0, 1 and 6 are only
// carried, so anything that can be written is accepted.
struct Range {
  int low;
  int high;
};
constexpr std::array<Range, OutputCount> kOutputRanges = {{{-34, 207},
                                                           {-34, 207},
                                                           {0, 1},
                                                           {1, 4},
                                                           {0, 1},
                                                           {-20, 10},
                                                           {-34, 207},
                                                           {0, 1},
                                                           {1, 8},
                                                           {1, 8},
                                                           {0, 1},
                                                           {0, 200},
                                                           {0, 200},
                                                           {0, 200},
                                                           {0, 200},
                                                           {0, 4}}};

bool IsPieceCode(int code) {
  return (code >= 0 && code <= 6) || (code >= 10 && code <= 15);
}

void PutInt32(std::array<std::uint8_t, PaneFontSize>& bytes, int at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt32(const std::array<std::uint8_t, PaneFontSize>& bytes, int at) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

// The decimal number at the start of text, as the C conversion reads it.
int LeadingNumber(std::string_view text, bool& found) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long number = 0;
  found = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = std::min<long long>(number * 10 + (text[i] - '0'), 1'000'000'000);
    found = true;
  }
  return static_cast<int>(negative ? -number : number);
}

const char kNumberSign[] = " n\xB0";  // " n°" in Windows-1252

}  // namespace

StoredOptions DecodeOptions(std::string_view value) {
  StoredOptions options = DefaultStoredOptions;
  for (std::size_t i = 0; i < options.size() && i < value.size(); ++i) {
    if (value[i] >= '0' && value[i] <= '9') options[i] = value[i] - '0';
  }
  return options;
}

std::string EncodeOptions(const StoredOptions& options) {
  std::string value;
  for (int option : options) value += static_cast<char>('0' + std::clamp(option, 0, 9));
  return value;
}

OutputSettings DecodeOutput(std::string_view value) {
  OutputSettings output;
  for (std::size_t i = 0; i < output.values.size() && i < value.size(); ++i) {
    const int v = DigitValue(value[i]);
    if (v >= kOutputRanges[i].low && v <= kOutputRanges[i].high) output.values[i] = v;
  }
  return output;
}

std::string EncodeOutput(const OutputSettings& output) {
  std::string value;
  for (std::size_t i = 0; i < output.values.size(); ++i) {
    value += DigitChar(std::clamp(output.values[i], kOutputRanges[i].low, kOutputRanges[i].high));
  }
  return value;
}

std::array<std::uint8_t, PaneFontSize> PaneFontBytes(const PaneFont& font) {
  std::array<std::uint8_t, PaneFontSize> bytes{};
  PutInt32(bytes, 0, font.height);
  PutInt32(bytes, 4, font.width);
  PutInt32(bytes, 8, font.escapement);
  PutInt32(bytes, 12, font.orientation);
  PutInt32(bytes, 16, font.weight);
  bytes[20] = font.italic;
  bytes[21] = font.underline;
  bytes[22] = font.strikeOut;
  bytes[23] = font.charSet;
  bytes[24] = font.outPrecision;
  bytes[25] = font.clipPrecision;
  bytes[26] = font.quality;
  bytes[27] = font.pitchAndFamily;
  for (int i = 0; i < 32; ++i) bytes[28 + i] = static_cast<std::uint8_t>(font.faceName[i]);
  bytes[59] = 0;  // the face name always ends with a zero
  return bytes;
}

PaneFont PaneFontFromBytes(const std::array<std::uint8_t, PaneFontSize>& bytes) {
  PaneFont font;
  font.height = GetInt32(bytes, 0);
  font.width = GetInt32(bytes, 4);
  font.escapement = GetInt32(bytes, 8);
  font.orientation = GetInt32(bytes, 12);
  font.weight = GetInt32(bytes, 16);
  font.italic = bytes[20];
  font.underline = bytes[21];
  font.strikeOut = bytes[22];
  font.charSet = bytes[23];
  font.outPrecision = bytes[24];
  font.clipPrecision = bytes[25];
  font.quality = bytes[26];
  font.pitchAndFamily = bytes[27];
  for (int i = 0; i < 32; ++i) font.faceName[i] = static_cast<char>(bytes[28 + i]);
  font.faceName[31] = '\0';
  return font;
}

std::string FaceName(const PaneFont& font) {
  const auto end = std::find(font.faceName.begin(), font.faceName.end(), '\0');
  return std::string(font.faceName.begin(), end);
}

void SetFaceName(PaneFont& font, std::string_view name) {
  font.faceName.fill('\0');
  name = name.substr(0, std::min(name.size(), name.find('\0')));
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 31), font.faceName.begin());
}

std::string EncodePaneFont(const PaneFont& font) {
  std::string value;
  for (std::uint8_t byte : PaneFontBytes(font)) {
    value += static_cast<char>(byte < 0x20 ? byte + 0x80 : byte);
  }
  return value;
}

PaneFont DecodePaneFont(std::string_view value) {
  std::array<std::uint8_t, PaneFontSize> bytes{};
  if (value.empty()) return PaneFontFromBytes(bytes);
  for (std::size_t i = 0; i < bytes.size() && i < value.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(value[i]);
    bytes[i] = byte >= 0x80 && byte <= 0x9F ? byte - 0x80 : byte;
  }
  return PaneFontFromBytes(bytes);
}

std::string DefaultPaneFontValue() {
  PaneFont font;
  font.height = -13;
  font.weight = 400;
  font.outPrecision = 4;
  font.clipPrecision = 2;
  font.quality = 1;
  font.pitchAndFamily = 0x22;
  SetFaceName(font, "Arial");
  return EncodePaneFont(font);
}

PaneFont DefaultPaneFont() {
  return DecodePaneFont(DefaultPaneFontValue().substr(0, PoliceFieldSize - 1));
}

StoredPosition DecodePosition(std::string_view value) {
  StoredPosition position;
  if (value.size() < 66) return position;
  for (std::size_t i = 0; i < 64; ++i) {
    const int code = DigitValue(value[i]);
    position.squares[i] = IsPieceCode(code) ? static_cast<std::uint8_t>(code) : 0;
  }
  for (std::size_t i = 0; i < 5 && 64 + i < value.size(); ++i) {
    position.type[i] = static_cast<std::uint8_t>(DigitValue(value[64 + i]));
  }
  // The kind indexes per-kind tables: one that no kind has reads as direct.
  if (position.type[1] > 3) position.type[1] = 0;
  return position;
}

std::string EncodePosition(const StoredPosition& position) {
  std::string value;
  for (std::uint8_t code : position.squares) value += DigitChar(IsPieceCode(code) ? code : 0);
  for (std::uint8_t byte : position.type) value += DigitChar(byte);
  return value;
}

SearchMemory DecodeSearchMemory(std::string_view value) {
  SearchMemory memory;
  if (value.size() < 86) return memory;
  for (std::size_t i = 0; i < 22; ++i) memory.criteria[i] = DigitValue(value[i]);
  for (std::size_t i = 0; i < 64; ++i) memory.matrix[i] = DigitValue(value[22 + i]);
  memory.text = std::string(value.substr(86, 32));
  return memory;
}

std::string EncodeSearchMemory(const SearchMemory& memory) {
  std::string value;
  for (int v : memory.criteria) value += DigitChar(v);
  for (int v : memory.matrix) value += DigitChar(v);
  return value + memory.text.substr(0, 32);
}

bool ParseWindowPos(std::string_view value, WindowRect& rect) {
  int numbers[4];
  std::size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      const std::size_t comma = value.find(',', at);
      if (comma == std::string_view::npos) return false;
      at = comma + 1;
    }
    bool found = false;
    numbers[i] = LeadingNumber(value.substr(at), found);
    if (!found) return false;
  }
  if (numbers[2] <= numbers[0] || numbers[3] <= numbers[1]) return false;
  rect = {numbers[0], numbers[1], numbers[2], numbers[3]};
  return true;
}

std::string FormatWindowPos(const WindowRect& rect) {
  char text[64];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d", rect.left, rect.top, rect.right, rect.bottom);
  return text;
}

WindowRect PlaceOnScreens(const WindowRect& rect, const std::vector<WindowRect>& screens) {
  if (screens.empty()) return rect;
  for (const WindowRect& screen : screens) {
    if (rect.left < screen.right && screen.left < rect.right && rect.top < screen.bottom &&
        screen.top < rect.bottom) {
      return rect;
    }
  }
  return WindowRect{};
}

std::string FormatRecentFile(std::string_view path, int number) {
  return std::string(path) + kNumberSign + std::to_string(number);
}

void SplitRecentFile(std::string_view entry, std::string& path, int& number) {
  const std::size_t mark = entry.find(kNumberSign);
  number = 0;
  if (mark == std::string_view::npos) {
    path = std::string(entry);
    return;
  }
  path = std::string(entry.substr(0, mark));
  bool found = false;
  number = LeadingNumber(entry.substr(mark + 3), found);
}

void LoadSettings(const IniDocument& document, Settings& settings) {
  for (int i = 0; i < 4; ++i) {
    settings.recentFiles[i] = Get(document, "File" + std::to_string(i), "", RecentFileFieldSize);
  }
  settings.options =
      DecodeOptions(Get(document, "Options", "111111001110101000", OptionsFieldSize));
  settings.output = DecodeOutput(Get(document, "Output", "12141*M0330::::2", OutputFieldSize));
  settings.paneFont =
      DecodePaneFont(Get(document, "Police", DefaultPaneFontValue(), PoliceFieldSize));
  settings.search = DecodeSearchMemory(Get(document, "Recherche", "", SearchFieldSize));
  settings.position = DecodePosition(Get(document, "Position", "", PositionFieldSize));
  settings.authors = Get(document, "Auteur", "", AuthorsFieldSize);
  settings.source = Get(document, "Source", "", SourceFieldSize);
  settings.award = Get(document, "Prix", "", AwardFieldSize);
  settings.comment = Get(document, "Commentaire", "", CommentFieldSize);
  settings.twins = Get(document, "Jumeaux", "", IniTwinsFieldSize);
}

void SaveSettings(IniDocument& document, const Settings& settings) {
  for (int i = 0; i < 4; ++i) {
    Put(document, "File" + std::to_string(i),
        settings.recentFiles[i].substr(0, RecentFileFieldSize - 1));
  }
  Put(document, "Options", EncodeOptions(settings.options));
  Put(document, "Output", EncodeOutput(settings.output));
  Put(document, "Police", EncodePaneFont(settings.paneFont));
  Put(document, "Recherche", EncodeSearchMemory(settings.search));
  Put(document, "Position", EncodePosition(settings.position));
  Put(document, "Auteur", settings.authors);
  Put(document, "Source", settings.source);
  Put(document, "Prix", settings.award);
  Put(document, "Commentaire", settings.comment);
  Put(document, "Jumeaux", settings.twins);
}

ExtraStrings LoadExtraStrings(const IniDocument& document) {
  ExtraStrings extra;
  for (int i = 0; i < 5; ++i) {
    extra[i] = Get(document, "PlusInfo" + std::to_string(i), "", ExtraStringFieldSize);
  }
  return extra;
}

void SaveExtraStrings(IniDocument& document, const ExtraStrings& extra) {
  for (int i = 0; i < 5; ++i) Put(document, "PlusInfo" + std::to_string(i), extra[i]);
}

int LoadLanguageValue(const IniDocument& document) {
  return GetProfileInt(document, IniSection, "Language", 256);
}

void SaveLanguageValue(IniDocument& document, int value) {
  Put(document, "Language", std::to_string(value));
}

std::string LoadCustomMenu(const IniDocument& document) {
  return Get(document, "CustomMenu", "polish.str", CustomMenuFieldSize);
}

void SaveCustomMenu(IniDocument& document, std::string_view path) {
  Put(document, "CustomMenu", path);
}

WindowRect LoadWindowPos(const IniDocument& document) {
  WindowRect rect;
  if (!ParseWindowPos(Get(document, "WindowPos", "-4,-4,644,484", WindowPosFieldSize), rect)) {
    return WindowRect{};
  }
  return rect;
}

void SaveWindowPos(IniDocument& document, const WindowRect& rect) {
  Put(document, "WindowPos", FormatWindowPos(rect));
}

std::string LoadFileCmd(const IniDocument& document) {
  return Get(document, "FileCmd", "", FileCmdFieldSize);
}

void SaveFileCmd(IniDocument& document, std::string_view path) {
  Put(document, "FileCmd", path);
}

std::string LoadAuthorListFile(const IniDocument& document) {
  return Get(document, "ListeAuteurs", "auteurs.txt", AuthorListFieldSize);
}

void SaveAuthorListFile(IniDocument& document, std::string_view path) {
  Put(document, "ListeAuteurs", path);
}

bool UpdateIniFile(const std::string& path, const std::function<void(IniDocument&)>& change,
                   std::string* message) {
  IniDocument document;
  const IniReadResult read = ReadIniFile(path, document);
  // Writing after a failed read would replace the keys that could not be
  // read with this change alone.
  if (read != IniReadResult::Ok && read != IniReadResult::Missing) {
    if (message) *message = IniReadMessage(path, read);
    return false;
  }
  change(document);
  if (WriteIniFile(path, document)) return true;
  if (message) *message = IniWriteMessage(path);
  return false;
}

}  // namespace kv
