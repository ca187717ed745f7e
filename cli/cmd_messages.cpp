// kestrovale-cli messages: prints the string table of a language, and with
// --menus its menu bar, so that translations can be reviewed.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/lang_option.h"
#include "strings/custom_language.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

// Control characters would break the one-message-a-line layout.
std::string Printable(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

void PrintMenu(const std::vector<MenuItem>& items, int depth) {
  for (const MenuItem& item : items) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    switch (item.kind) {
      case MenuItemKind::Separator:
        std::printf("%s-\n", indent.c_str());
        break;
      case MenuItemKind::Popup:
        std::printf("%s%s\n", indent.c_str(), Cp1252ToUtf8(MenuLabel(item.text)).c_str());
        PrintMenu(item.items, depth + 1);
        break;
      case MenuItemKind::Command: {
        const std::string hint = Cp1252ToUtf8(MenuHint(item.text));
        std::printf("%s%d\t%s%s%s\n", indent.c_str(), item.id,
                    Cp1252ToUtf8(MenuLabel(item.text)).c_str(), hint.empty() ? "" : "\t",
                    hint.c_str());
        break;
      }
    }
  }
}

constexpr OptionSpec Options[] = {
    LangOption, {"--menus", "", "", "the menu bar instead: one item a line, indented by level"}};

constexpr CommandSpec Spec{
    .name = "messages",
    .summary = "print the string table of a language, or its menu bar",
    .options = Options,
    .about =
        "Prints the string table of a language, one \"number<TAB>text\" line per message\n"
        "(control characters escaped), or with --menus its menu bar, so that translations\n"
        "can be reviewed.\n",
    .exitStatus = "0 printed; 2 bad arguments (also a string file that cannot be used)."};

int Run(const Args& arguments) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(arguments, Spec, args, exitCode)) return exitCode;
  Language language;
  std::string error;
  if (args.Has("--lang") && !LanguageFromName(args.Value("--lang"), language, &error))
    return UsageError("messages: " + error);
  const bool menus = args.Has("--menus");
  if (menus) {
    PrintMenu(LanguageMenu(language), 0);
    return ExitOk;
  }
  for (int n = 0; n <= MaxMessageNumber; ++n) {
    const std::string text = LoadMessage(language, n);
    if (text.empty()) continue;
    std::printf("%d\t%s\n", n, Printable(Cp1252ToUtf8(text)).c_str());
  }
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
