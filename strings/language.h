// The interface languages. Message n of the language with base L (0 French,
// 256 English, 512 Italian, 768 Spanish) has the id n + L; base 1024 is a
// custom language read from a string file. Texts are Windows-1252 bytes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "strings/ui_callbacks.h"

namespace kv {

inline constexpr int LanguageFrench = 0;
inline constexpr int LanguageEnglish = 256;
inline constexpr int LanguageItalian = 512;
inline constexpr int LanguageSpanish = 768;
inline constexpr int LanguageCustom = 1024;

// Message numbers run from 0 to this value; a string file may set all of them.
inline constexpr int MaxMessageNumber = 256;

struct CustomLanguage;  // strings/custom_language.h

// The interface language in force. Plain data: each test builds its own.
struct Language {
  int base = LanguageEnglish;  // 0, 256, 512, 768 or 1024
  // The strings, menu and letters of a string file; read while base is 1024.
  // A custom base without them speaks English.
  std::shared_ptr<const CustomLanguage> custom;
};

// The stored "Language" value as the program uses it: a value that is not a
// multiple of 256, is negative or is greater than 1024 counts as English.
int NormalizeLanguageValue(int value);

// The language index base / 256 (0 French .. 4 custom) that selects in the
// small per-language tables; a custom base without its strings gives 1.
int LanguageIndex(const Language& language);

// Message n (0..256) of the language; an empty string for an unknown number.
// A custom language that lacks a message gives the English one.
std::string LoadMessage(const Language& language, int n);

// The same text without a copy; valid as long as the language's data lives.
std::string_view MessageView(const Language& language, int n);

// The short words made from messages 51..54 cut at every ';', by position:
// 0 "threat", 1 "waiting", 2 "But", 3 "Mate:", 4 "But Draw!", 5 " Mate in 1",
// 6 "Solution:", 7 "Try:", 8 "Set Play:", 9 "No solution", 10 "Searching solution",
// 11 "Search completed", 12 "Analyzing", 13 "User break", 14 "Changed position",
// 15 "Dubious position", 16 "Invalid position" (English). Empty when out of range.
std::string MessagePart(const Language& language, int position);

// At most this many message parts are kept.
inline constexpr int MaxMessageParts = 20;

// A numbered message with its one "%s" replaced by argument (at most 127
// characters of the message are used, as the message boxes always did).
std::string FormatMessage(std::string_view pattern, std::string_view argument);

// Shows message n, formatted with argument, in a box titled "Kestrovale"
// with the style given; returns the button pressed.
int ShowMessage(const UiCallbacks& ui, const Language& language, int n, std::string_view argument,
                int style);

// Letter strings indexed by PieceCode (0 blank, 1..6 white rook, queen,
// bishop, knight, pawn, king, 10..15 black king, pawn, knight, bishop, queen,
// rook). Each view holds at least 16 characters.

// Message 41: the letters of the man under the mouse on the board.
std::string_view BoardLetters(const Language& language);
// Message 42, or the figurine codes of the chess text font while figurine
// notation is on: the letters of all notation texts.
std::string_view NotationLetters(const Language& language, bool figurines);
// Message 42, untouched by figurine notation (twin texts, plain move texts).
std::string_view PlainLetters(const Language& language);

// The letters of every move written while a batch export runs.
inline constexpr std::string_view FixedEnglishLetters = " RQBNPK   kpnbqr ";
// The figurine codes of the chess text font, by PieceCode.
inline constexpr std::string_view FigurineLetters =
    " \xC2\xC1\xC3\xC4P\xC0   \xC6P\xCA\xC9\xC7\xC8";

// The colour initials: the first characters of message 83 ("White:") and
// message 84 ("Black:"); a blank when the message is empty.
char WhiteInitial(const Language& language);
char BlackInitial(const Language& language);

// Three letters shown for set play, tries and actual play ("STA" in English).
std::string_view OptionLetters(const Language& language);

// The text of a standard dialog button: control 1 OK, 2 Cancel, 3 Help;
// empty for any other control.
std::string_view ButtonText(const Language& language, int control);

// The help file of the language: "kvlhlp_e.hlp" with its eighth character
// "f", "i" or "s" for French, Italian and Spanish.
std::string HelpFileName(const Language& language);

// "&Français" etc.: the menu command that selects each language (301..305).
int LanguageCommand(const Language& language);

}  // namespace kv
