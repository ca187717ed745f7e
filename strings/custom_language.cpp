#include "strings/custom_language.h"

#include "strings/builtin_tables.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

using builtin::EnglishIndex;

constexpr std::size_t kLetterCount = 16;      // one per PieceCode
constexpr std::size_t kMaxLetterLength = 17;  // the letter buffers' capacity

// A letter string from a string file, safe to index by any PieceCode.
std::string LetterString(const CustomLanguage& language, int n) {
  std::string letters =
      language.present[n] ? language.messages[n] : std::string(builtin::Message(EnglishIndex, n));
  if (letters.size() > kMaxLetterLength) letters.resize(kMaxLetterLength);
  if (letters.size() < kLetterCount) letters.resize(kLetterCount, ' ');
  return letters;
}

}  // namespace

std::string WrongVersionMessage(std::string_view path) {
  return std::string(path) + " needs to be updated for v2.10";
}

Language SelectLanguage(int value, const std::string& path, const UiCallbacks& ui) {
  Language language;
  language.base = NormalizeLanguageValue(value);
  if (language.base != LanguageCustom) return language;

  auto custom = std::make_shared<CustomLanguage>();
  switch (ReadStringFile(path, *custom)) {
    case StringFileResult::CannotOpen:
      language.base = LanguageEnglish;
      return language;
    case StringFileResult::WrongVersion:
      ui.Message(WrongVersionMessage(path), "Kestrovale", MbOk | MbIconStop);
      language.base = LanguageEnglish;
      return language;
    case StringFileResult::NotRegularFile:
      ui.Message(NotRegularFileMessage(path), "Kestrovale", MbOk | MbIconStop);
      language.base = LanguageEnglish;
      return language;
    case StringFileResult::Ok:
      break;
  }
  custom->boardLetters = LetterString(*custom, msg::BoardLetters);
  custom->plainLetters = LetterString(*custom, msg::NotationLetters);
  // A file that only translates strings keeps the English menu, so that the
  // user can still reach the commands, among them the language items.
  if (custom->menu.empty()) custom->menu = BuildMenu(builtin::MenuLines(EnglishIndex));
  language.custom = std::move(custom);
  return language;
}

Menu LanguageMenu(const Language& language) {
  const int index = LanguageIndex(language);
  if (index == builtin::CustomIndex) return language.custom->menu;
  return BuildMenu(builtin::MenuLines(index));
}

}  // namespace kv
