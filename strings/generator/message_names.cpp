#include "strings/generator/message_names.h"

#include <cctype>
#include <charconv>
#include <functional>
#include <set>
#include <sstream>
#include <system_error>

#include "strings/language.h"

namespace kv::generator {
namespace {

bool IsIdentifier(std::string_view word) {
  if (word.empty() || std::isdigit(static_cast<unsigned char>(word[0]))) return false;
  for (char c : word) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

bool ParseMessageNames(std::string_view text, const CustomLanguage& english,
                       std::vector<MessageName>& names, std::string& error) {
  names.clear();
  std::set<int> numbers;
  std::set<std::string, std::less<>> seen;
  int lineNumber = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    const auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(lineNumber) + ": " + what;
      return false;
    };
    const auto gap = line.find_first_of(" \t");
    if (gap == std::string_view::npos) return fail("expected a number and a name");
    const std::string_view digits = line.substr(0, gap);
    const std::string_view name = Trim(line.substr(gap));
    int number = -1;
    const auto [rest, code] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (code != std::errc{} || rest != digits.data() + digits.size()) {
      return fail("'" + std::string(digits) + "' is not a message number");
    }
    if (!IsIdentifier(name)) return fail("'" + std::string(name) + "' is not a name");
    if (number < 0 || number > MaxMessageNumber || !english.present[number]) {
      return fail("message " + std::to_string(number) + " is not in the English table");
    }
    if (!numbers.insert(number).second) {
      return fail("message " + std::to_string(number) + " is named twice");
    }
    if (!seen.insert(std::string(name)).second) {
      return fail("the name " + std::string(name) + " is given twice");
    }
    names.push_back({number, std::string(name)});
  }
  return true;
}

std::string MessageIdsHeader(const std::vector<MessageName>& names) {
  std::ostringstream out;
  out << "// Generated from resources/strings/message_names.txt by make_builtin_tables.\n"
      << "// Do not edit: add a name there.\n"
      << "#pragma once\n\n"
      << "// The numbers of the messages of the string tables that the program asks\n"
      << "// for by name: LoadMessage(language, msg::UnableToOpen).\n"
      << "namespace kv::msg {\n\n";
  for (const MessageName& entry : names) {
    out << "inline constexpr int " << entry.name << " = " << entry.number << ";\n";
  }
  out << "\n}  // namespace kv::msg\n";
  return out.str();
}

}  // namespace kv::generator
