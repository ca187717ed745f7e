#include "cli/lang_option.h"

#include "strings/custom_language.h"

namespace kv::cli {
namespace {

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

}  // namespace

bool TakeLangOption(std::vector<std::string>& args, Language& language, std::string* error) {
  language = Language{};
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--lang") {
      if (i + 1 >= args.size()) {
        if (error) *error = "--lang needs a value (fr, en, it or es)";
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        return false;
      }
      value = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                 args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else if (args[i].rfind("--lang=", 0) == 0) {
      value = args[i].substr(7);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      continue;
    }
    return LanguageFromName(value, language, error);
  }
  return true;
}

}  // namespace kv::cli
