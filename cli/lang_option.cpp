#include "cli/lang_option.h"

#include "strings/custom_language.h"

namespace kv::cli {

bool LanguageFromName(const std::string& name, Language& language, std::string* error) {
  constexpr struct {
    const char* code;
    int base;
  } kCodes[] = {{"fr", LanguageFrench},
                {"en", LanguageEnglish},
                {"it", LanguageItalian},
                {"es", LanguageSpanish}};
  for (const auto& entry : kCodes) {
    if (name == entry.code) {
      language = Language{};
      language.base = entry.base;
      return true;
    }
  }
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".str") == 0) {
    // The file is read once, by SelectLanguage: it falls back to English when
    // the file cannot be used and shows its update message for a file of
    // another version, which here becomes the error.
    std::string versionMessage;
    UiCallbacks ui;
    ui.messageBox = [&versionMessage](const std::string& text, const std::string&, int) {
      versionMessage = text;
      return IdOk;
    };
    Language selected = SelectLanguage(LanguageCustom, name, ui);
    if (selected.custom) {
      language = std::move(selected);
      return true;
    }
    if (error) {
      *error = versionMessage.empty() ? "cannot read string file '" + name + "'" : versionMessage;
    }
    return false;
  }
  if (error) *error = "unknown language '" + name + "' (fr, en, it, es or a .str file)";
  return false;
}

}  // namespace kv::cli
