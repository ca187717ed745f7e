#include "strings/custom_language.h"

#include "strings/builtin_tables.h"

namespace kv {

StringFileResult ParseStringFile(std::string_view, CustomLanguage&) {
  return StringFileResult::WrongVersion;
}

StringFileResult ReadStringFile(const std::string&, CustomLanguage&) {
  return StringFileResult::CannotOpen;
}

std::string WrongVersionMessage(std::string_view path) {
  return std::string(path) + " needs to be updated for v2.10";
}

Language SelectLanguage(int value, const std::string&, const UiCallbacks&) {
  Language language;
  language.base = NormalizeLanguageValue(value);
  if (language.base == LanguageCustom) language.base = LanguageEnglish;
  return language;
}

Menu LanguageMenu(const Language& language) {
  return BuildMenu(builtin::MenuLines(LanguageIndex(language) % builtin::LanguageCount));
}

}  // namespace kv
