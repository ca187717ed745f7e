// Feeds arbitrary bytes to the configuration reader as the text of the ini
// file and reads every key the program reads; then checks that a value
// written into that document reads back as written (cut at a zero byte, line
// breaks as blanks), whatever else the file holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/settings.h"

namespace {

// What a value reads back as after WriteProfileString.
std::string Written(std::string_view value) {
  std::string clean(value.substr(0, value.find('\0')));
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  return clean;
}

void ReadEveryKey(const kv::IniDocument& document) {
  kv::Settings settings;
  kv::LoadSettings(document, settings);
  kv::LoadExtraStrings(document);
  kv::LoadLanguageValue(document);
  kv::LoadCustomMenu(document);
  kv::LoadWindowPos(document);
  kv::LoadFileCmd(document);
  kv::LoadAuthorListFile(document);
  kv::IniDocument saved = document;
  kv::SaveSettings(saved, settings);
  kv::Settings again;
  kv::LoadSettings(kv::ParseIni(kv::SerializeIni(saved)), again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line, when there is one, is the value to write; the rest is the file.
  const std::size_t split = input.find('\n');
  const std::string_view value = split == std::string_view::npos ? "" : input.substr(0, split);
  const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);
  kv::IniDocument document = kv::ParseIni(text);
  ReadEveryKey(document);
  kv::WriteProfileString(document, "Kestrovale", "Auteur", value);
  const kv::IniDocument reread = kv::ParseIni(kv::SerializeIni(document));
  const std::string back = kv::GetProfileString(reread, "Kestrovale", "Auteur", "-", 1 << 20);
  if (back != Written(value)) std::abort();
  return 0;
}
