#include "cli/options.h"

#include <cctype>

namespace kv::cli {
namespace {

constexpr std::size_t TerminalWidth = 79;
// Where the help of an option starts in `--help`; a longer label puts it on
// the next line.
constexpr std::size_t OptionHelpColumn = 22;
// Where the continued lines of a usage form start in `--help`: past the
// "usage: " of the first form and the blanks of the others.
constexpr std::size_t UsageIndent = 9;

constexpr std::string_view HelpFlag = "--help";
constexpr std::string_view HelpShort = "-h";
constexpr std::string_view EndOfOptions = "--";

bool IsHelp(std::string_view arg) {
  return arg == HelpFlag || arg == HelpShort;
}

// A word that starts with a dash and is more than a dash alone ("-" is an
// operand, as the castling field of a FEN).
bool LooksLikeOption(std::string_view arg) {
  return arg.size() > 1 && arg[0] == '-';
}

const OptionSpec* FindOption(const CommandSpec& spec, std::string_view name) {
  for (const OptionSpec& option : spec.options)
    if (option.name == name || (!option.shortName.empty() && option.shortName == name))
      return &option;
  return nullptr;
}

// "FILE.kvl OUT" becomes "FILE.kvl and OUT".
std::string OperandList(std::string_view operands) {
  std::vector<std::string_view> words;
  for (std::size_t start = 0; start < operands.size();) {
    std::size_t end = operands.find(' ', start);
    if (end == std::string_view::npos) end = operands.size();
    if (end > start) words.push_back(operands.substr(start, end - start));
    start = end + 1;
  }
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " and " : ", ";
    text += words[i];
  }
  return text;
}

std::string OptionLabel(const OptionSpec& option) {
  std::string label;
  if (!option.shortName.empty()) label += std::string(option.shortName) + ", ";
  label += option.name;
  if (!option.value.empty()) label += " " + std::string(option.value);
  return label;
}

// The usage form made from the table: operands, then every option in the
// order of the table, in brackets unless required.
std::string UsageFromTable(const CommandSpec& spec) {
  std::string form(spec.operands);
  for (const OptionSpec& option : spec.options) {
    std::string word(option.name);
    if (!option.value.empty()) word += " " + std::string(option.value);
    if (!form.empty()) form += ' ';
    form += option.required ? word : "[" + word + "]";
  }
  return form;
}

// The pieces a usage line may be broken between: a bracketed group stays
// whole, and so does an option with the word of its value ("--fen BOARD").
std::vector<std::string_view> UsageUnits(std::string_view usage) {
  std::vector<std::string_view> units;
  std::size_t start = 0;
  int depth = 0;
  auto optionWithoutValue = [&](std::size_t end) {
    const std::string_view unit = usage.substr(start, end - start);
    return unit.starts_with("-") && unit.find(' ') == std::string_view::npos;
  };
  for (std::size_t i = 0; i <= usage.size(); ++i) {
    const char c = i < usage.size() ? usage[i] : ' ';
    if (c == '[') ++depth;
    if (c == ']') --depth;
    if (c != ' ' || depth > 0) continue;
    const bool valueFollows =
        i + 1 < usage.size() && usage[i + 1] != '-' && usage[i + 1] != '[' && usage[i + 1] != '|';
    if (i < usage.size() && valueFollows && optionWithoutValue(i)) continue;
    if (i > start) units.push_back(usage.substr(start, i - start));
    start = i + 1;
  }
  return units;
}

}  // namespace

std::string WrapUnits(const std::vector<std::string_view>& units, std::size_t firstColumn,
                      std::size_t indent, std::size_t width) {
  std::string out;
  std::size_t column = firstColumn;
  bool lineEmpty = true;
  for (const std::string_view unit : units) {
    if (!lineEmpty && column + 1 + unit.size() > width) {
      out += '\n';
      out.append(indent, ' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out += unit;
    column += unit.size();
    lineEmpty = false;
  }
  return out;
}

const std::string& ParsedOptions::Value(std::string_view name) const {
  static const std::string none;
  const auto found = values.find(name);
  return found == values.end() ? none : found->second;
}

const std::string& ParsedOptions::Operand(std::size_t index) const {
  static const std::string none;
  return index < operands.size() ? operands[index] : none;
}

bool ParseOptions(const std::vector<std::string>& args, const CommandSpec& spec,
                  ParsedOptions& parsed, std::string& error) {
  parsed = {};
  error.clear();
  // The first fault is the one reported; reading goes on only to find a
  // help request after it.
  auto fault = [&error](std::string reason) {
    if (error.empty()) error = std::move(reason);
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !LooksLikeOption(arg)) {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == EndOfOptions) {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (IsHelp(name)) {
      parsed.help = true;
      error.clear();
      return true;
    }
    const OptionSpec* option = FindOption(spec, name);
    if (option == nullptr) {
      fault("unknown option " + name + " (see kestrovale-cli " + std::string(spec.name) +
            " --help)");
      continue;
    }
    std::string value;
    if (option->value.empty()) {
      if (equals != std::string::npos) fault(name + " takes no value");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      fault(name + " needs a value (" + std::string(option->value) + ")");
      continue;
    }
    const std::string key(option->name);
    if (parsed.values.count(key) != 0) {
      // A flag said twice says the same; a second value would contradict the first.
      if (!option->value.empty()) fault(key + " given twice");
      continue;
    }
    parsed.values.emplace(key, std::move(value));
  }
  if (!error.empty()) return false;
  const int count = static_cast<int>(parsed.operands.size());
  if (count < spec.minOperands) {
    error = "expected " + OperandList(spec.operands);
    return false;
  }
  if (spec.maxOperands != AnyNumber && count > spec.maxOperands) {
    error =
        "unexpected argument '" + parsed.operands[static_cast<std::size_t>(spec.maxOperands)] + "'";
    return false;
  }
  return true;
}

std::string WrapWords(std::string_view text, std::size_t firstColumn, std::size_t indent,
                      std::size_t width) {
  std::vector<std::string_view> words;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return WrapUnits(words, firstColumn, indent, width);
}

std::vector<std::string> UsageForms(const CommandSpec& spec) {
  if (spec.synopsis.empty()) return {UsageFromTable(spec)};
  std::vector<std::string> forms;
  for (std::size_t start = 0; start < spec.synopsis.size();) {
    std::size_t end = spec.synopsis.find('\n', start);
    if (end == std::string_view::npos) end = spec.synopsis.size();
    forms.emplace_back(spec.synopsis.substr(start, end - start));
    start = end + 1;
  }
  return forms;
}

std::string HelpText(const CommandSpec& spec) {
  const std::string program = "kestrovale-cli " + std::string(spec.name) + " ";
  std::string text;
  bool first = true;
  for (const std::string& form : UsageForms(spec)) {
    const std::string lead = first ? "usage: " : "       ";
    text += lead + program +
            WrapUnits(UsageUnits(form), lead.size() + program.size(), UsageIndent, TerminalWidth) +
            "\n";
    first = false;
  }
  text += "\n";
  // What the subcommand does: its own paragraphs, or its summary as a sentence.
  if (!spec.about.empty()) {
    text += std::string(spec.about) + "\n";
  } else if (!spec.summary.empty()) {
    std::string sentence(spec.summary);
    sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    text += WrapWords(sentence + ".", 0, 0, TerminalWidth) + "\n\n";
  }
  for (const OptionSpec& option : spec.options) {
    const std::string label = "  " + OptionLabel(option);
    text += label;
    if (label.size() + 1 < OptionHelpColumn) {
      text.append(OptionHelpColumn - label.size(), ' ');
    } else {
      text += "\n";
      text.append(OptionHelpColumn, ' ');
    }
    text += WrapWords(option.help, OptionHelpColumn, OptionHelpColumn, TerminalWidth) + "\n";
  }
  text += "  -h, --help";
  text.append(OptionHelpColumn - 12, ' ');
  text += "this text\n";
  if (!spec.notes.empty()) text += "\n" + std::string(spec.notes);
  if (!spec.exitStatus.empty())
    text += "\n" + WrapWords("Exit status: " + std::string(spec.exitStatus), 0, 0, TerminalWidth) +
            "\n";
  return text;
}

std::string CommandListEntry(const CommandSpec& spec) {
  std::string usage;
  for (const std::string& form : UsageForms(spec)) usage += (usage.empty() ? "" : " | ") + form;
  return "  " + std::string(spec.name) + " " + usage + "   " + std::string(spec.summary) + "\n";
}

}  // namespace kv::cli
