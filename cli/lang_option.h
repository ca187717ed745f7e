// The --lang option shared by every subcommand that prints program text.
#pragma once

#include <string>
#include <vector>

#include "strings/language.h"

namespace kv::cli {

// Takes "--lang LL" or "--lang=LL" out of args, where LL is fr, en, it or es,
// or the path of a string file (".str") for a custom language. Without the
// option the language is English. Returns false, with a one-line reason in
// *error, when the value is missing or unknown or the string file cannot be
// used; args then keeps the remaining arguments.
bool TakeLangOption(std::vector<std::string>& args, Language& language, std::string* error);

// The usage fragment to put into a subcommand's usage line.
inline constexpr const char* LangUsage = "[--lang fr|en|it|es|FILE.str]";

}  // namespace kv::cli
