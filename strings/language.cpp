#include "strings/language.h"

#include <array>

#include "strings/builtin_tables.h"
#include "strings/custom_language.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

using builtin::CustomIndex;
using builtin::EnglishIndex;

// A message box shows at most this many characters of a message.
constexpr std::size_t kMessageBoxLimit = 127;
// Each of messages 51..54 is read with this limit before it is cut into parts.
constexpr std::size_t kPartMessageLimit = 239;

const CustomLanguage* Custom(const Language& language) {
  return LanguageIndex(language) == CustomIndex ? language.custom.get() : nullptr;
}

// Per built-in language index 0..3: OK, Cancel, Help (a custom language sets its own).
constexpr std::array<std::array<std::string_view, 3>, 4> kButtons = {{
    {"OK", "Annuler", "Aide"},
    {"OK", "Cancel", "Help"},
    {"OK", "Annulla", "Guida"},
    {"OK", "Cancelar", "Ayuda"},
}};

// Set play, tries, actual play, per built-in language index.
constexpr std::array<std::string_view, 4> kOptionLetters = {"AER", "STA", "AVR", "AER"};

}  // namespace

int NormalizeLanguageValue(int value) {
  if (value < 0 || value > LanguageCustom || value % 256 != 0) return LanguageEnglish;
  return value;
}

int LanguageIndex(const Language& language) {
  const int base = NormalizeLanguageValue(language.base);
  if (base == LanguageCustom && !language.custom) return EnglishIndex;
  return base / 256;
}

std::string_view MessageView(const Language& language, int n) {
  if (n < 0 || n > MaxMessageNumber) return {};
  if (const CustomLanguage* custom = Custom(language)) {
    if (custom->present[n]) return custom->messages[n];
    return builtin::Message(EnglishIndex, n);
  }
  return builtin::Message(LanguageIndex(language), n);
}

std::string LoadMessage(const Language& language, int n) {
  return std::string(MessageView(language, n));
}

std::string MessagePart(const Language& language, int position) {
  if (position < 0 || position >= MaxMessageParts) return {};
  std::string joined;
  for (int n = msg::FirstPartsMessage; n <= msg::LastPartsMessage; ++n)
    joined += MessageView(language, n).substr(0, kPartMessageLimit);
  std::size_t start = 0;
  for (int part = 0; part < position; ++part) {
    const std::size_t cut = joined.find(';', start);
    if (cut == std::string::npos) return {};
    start = cut + 1;
  }
  const std::size_t end = joined.find(';', start);
  return joined.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string FormatMessage(std::string_view pattern, std::string_view argument) {
  pattern = pattern.substr(0, kMessageBoxLimit);
  std::string text;
  bool argumentUsed = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 's') {
        // One argument only: a second "%s" of a custom string gets nothing.
        if (!argumentUsed) text += argument;
        argumentUsed = true;
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        text += '%';
        ++i;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

int ShowMessage(const UiCallbacks& ui, const Language& language, int n, std::string_view argument,
                int style) {
  return ui.Message(FormatMessage(MessageView(language, n), argument), "Kestrovale", style);
}

std::string_view BoardLetters(const Language& language) {
  if (const CustomLanguage* custom = Custom(language)) return custom->boardLetters;
  return builtin::Message(LanguageIndex(language), msg::BoardLetters);
}

std::string_view PlainLetters(const Language& language) {
  if (const CustomLanguage* custom = Custom(language)) return custom->plainLetters;
  return builtin::Message(LanguageIndex(language), msg::NotationLetters);
}

std::string_view NotationLetters(const Language& language, bool figurines) {
  return figurines ? FigurineLetters : PlainLetters(language);
}

char WhiteInitial(const Language& language) {
  const std::string_view text = MessageView(language, msg::White);
  return text.empty() ? ' ' : text.front();
}

char BlackInitial(const Language& language) {
  const std::string_view text = MessageView(language, msg::Black);
  return text.empty() ? ' ' : text.front();
}

std::string_view OptionLetters(const Language& language) {
  if (const CustomLanguage* custom = Custom(language)) return custom->optionLetters;
  return kOptionLetters[LanguageIndex(language)];
}

std::string_view ButtonText(const Language& language, int control) {
  if (control < 1 || control > 3) return {};
  if (const CustomLanguage* custom = Custom(language)) {
    const std::string& text =
        control == 1 ? custom->okText : (control == 2 ? custom->cancelText : custom->helpText);
    // A string file that names no button keeps the English words rather than
    // leaving the standard buttons blank.
    if (!text.empty()) return text;
    return kButtons[EnglishIndex][control - 1];
  }
  return kButtons[LanguageIndex(language)][control - 1];
}

std::string HelpFileName(const Language& language) {
  std::string name = "kvlhlp_e.hlp";
  constexpr std::array<char, 5> kLetter = {'f', 'e', 'i', 's', 'e'};
  name[7] = kLetter[LanguageIndex(language)];
  return name;
}

int LanguageCommand(const Language& language) {
  constexpr std::array<int, 5> kCommand = {301, 302, 303, 304, 305};
  return kCommand[LanguageIndex(language)];
}

}  // namespace kv
