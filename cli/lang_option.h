// The --lang option shared by every subcommand that prints program text.
#pragma once

#include <string>

#include "cli/options.h"
#include "strings/language.h"

namespace kv::cli {

// The language named by the value of --lang: fr, en, it or es, or the path
// of a string file (".str") for a custom language. False, with a one-line
// reason in *error, when the name is unknown or the string file cannot be
// used.
bool LanguageFromName(const std::string& name, Language& language, std::string* error);

// The option as the tables of the subcommands list it; without it the
// language is English.
inline constexpr OptionSpec LangOption{"--lang", "", "fr|en|it|es|FILE.str",
                                       "the language of the program's texts, or a string file "
                                       "of another language (default en)"};

}  // namespace kv::cli
