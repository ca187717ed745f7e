// Build-time generator: reads the string files of the built-in languages
// (Windows-1252 or UTF-8, told apart as the program tells them), checks
// that they agree with each other, and writes the C++ tables that the
// strings library compiles in, as Windows-1252 bytes. It also checks the
// names of the message numbers against the English table and writes the
// header that defines them.
//
//   make_builtin_tables OUTPUT.cpp IDS.h NAMES.txt FRENCH.str ENGLISH.str ITALIAN.str SPANISH.str
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "strings/custom_language.h"
#include "strings/encoding.h"
#include "strings/generator/message_names.h"

namespace {

constexpr const char* kNames[] = {"French", "English", "Italian", "Spanish"};

bool Fail(const std::string& file, const std::string& what) {
  std::fprintf(stderr, "make_builtin_tables: %s: %s\n", file.c_str(), what.c_str());
  return false;
}

// A C++ string literal of Windows-1252 bytes; octal escapes never swallow a
// following digit the way hexadecimal ones would.
std::string Literal(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\%03o", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void FlattenMenu(const std::vector<kv::MenuItem>& items, int level, std::ostream& out) {
  for (const kv::MenuItem& item : items) {
    const char* kind = item.kind == kv::MenuItemKind::Popup       ? "Popup"
                       : item.kind == kv::MenuItemKind::Separator ? "Separator"
                                                                  : "Command";
    out << "      {" << level << ", MenuItemKind::" << kind << ", " << item.id << ", "
        << Literal(item.text) << "},\n";
    FlattenMenu(item.items, level + 1, out);
  }
}

// The shape of a menu: kinds and ids, without the texts.
std::string MenuShape(const std::vector<kv::MenuItem>& items) {
  std::string shape;
  for (const kv::MenuItem& item : items) {
    shape += std::to_string(static_cast<int>(item.kind)) + ":" + std::to_string(item.id);
    if (!item.items.empty()) shape += "(" + MenuShape(item.items) + ")";
    shape += ",";
  }
  return shape;
}

// The number of message parts that messages 51..54 give.
int CountParts(const kv::CustomLanguage& language) {
  std::string joined;
  for (int n = 51; n <= 54; ++n) joined += language.messages[n];
  int parts = 1;
  for (char c : joined) parts += c == ';';
  if (!joined.empty() && joined.back() == ';') --parts;
  return parts;
}

bool Check(const std::string& file, const kv::CustomLanguage& language,
           const kv::CustomLanguage& english) {
  for (int n : {41, 42}) {
    if (language.messages[n].size() != 16)
      return Fail(file, "letters " + std::to_string(n) + " must be 16 characters");
  }
  for (int n = 0; n <= kv::MaxMessageNumber; ++n) {
    if (language.present[n] != english.present[n]) {
      return Fail(file, "message " + std::to_string(n) + " differs in presence from English");
    }
  }
  for (int n : {83, 84}) {
    if (language.messages[n].empty()) return Fail(file, "colour names must not be empty");
  }
  for (int n = 85; n <= 91; ++n) {
    if (language.messages[n].empty() || language.messages[n][0] != '&') {
      return Fail(file, "message " + std::to_string(n) + " must start with '&'");
    }
  }
  for (int n = 51; n <= 54; ++n) {
    if (language.messages[n].size() > 239) return Fail(file, "message parts too long");
  }
  if (CountParts(language) != 17) return Fail(file, "messages 51..54 must give 17 parts");
  if (MenuShape(language.menu) != MenuShape(english.menu)) {
    return Fail(file, "menu differs in structure or ids from English");
  }
  return true;
}

// Reads a whole file; false when it cannot be opened.
bool ReadFile(const char* path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Writes the file only when its contents change, so that what includes it is
// not compiled again for nothing.
bool WriteIfChanged(const char* path, const std::string& content) {
  std::string old;
  if (ReadFile(path, old) && old == content) return true;
  std::ofstream file(path, std::ios::binary);
  file << content;
  file.close();
  if (!file) return Fail(path, "cannot write");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr,
                 "usage: make_builtin_tables OUTPUT IDS NAMES FRENCH ENGLISH ITALIAN SPANISH\n");
    return 2;
  }
  char** const tableFiles = argv + 4;
  std::vector<kv::CustomLanguage> languages(4);
  for (int i = 0; i < 4; ++i) {
    std::string content;
    if (!ReadFile(tableFiles[i], content)) {
      Fail(tableFiles[i], "cannot open");
      return 1;
    }
    if (kv::ParseStringFile(kv::StringFileText(std::move(content)), languages[i]) !=
        kv::StringFileResult::Ok) {
      Fail(tableFiles[i], "first line lacks the version");
      return 1;
    }
  }
  for (int i = 0; i < 4; ++i) {
    if (!Check(tableFiles[i], languages[i], languages[1])) return 1;
  }

  std::string namesText;
  if (!ReadFile(argv[3], namesText)) {
    Fail(argv[3], "cannot open");
    return 1;
  }
  std::vector<kv::generator::MessageName> names;
  std::string error;
  if (!kv::generator::ParseMessageNames(namesText, languages[1], names, error)) {
    Fail(argv[3], error);
    return 1;
  }

  std::ostringstream out;
  out << "// Generated from resources/strings/*.str by make_builtin_tables. Do not edit.\n"
      << "#include <array>\n\n#include \"strings/builtin_tables.h\"\n\n"
      << "namespace kv::builtin {\nnamespace {\n\n"
      << "using MessageTable = std::array<std::string_view, " << kv::MaxMessageNumber + 1
      << ">;\n\n"
      << "constexpr std::array<MessageTable, 4> kMessages = {{\n";
  for (int i = 0; i < 4; ++i) {
    out << "    {{  // " << kNames[i] << "\n";
    for (int n = 0; n <= kv::MaxMessageNumber; ++n) {
      out << "        " << Literal(languages[i].messages[n]) << ",\n";
    }
    out << "    }},\n";
  }
  out << "}};\n\n";
  for (int i = 0; i < 4; ++i) {
    out << "const MenuLine k" << kNames[i] << "Menu[] = {\n";
    FlattenMenu(languages[i].menu, 0, out);
    out << "};\n\n";
  }
  out << "}  // namespace\n\n"
      << "std::string_view Message(int index, int n) {\n"
      << "  if (index < 0 || index >= LanguageCount || n < 0 || n >= " << kv::MaxMessageNumber + 1
      << ") return {};\n"
      << "  return kMessages[index][n];\n}\n\n"
      << "std::vector<MenuLine> MenuLines(int index) {\n"
      << "  switch (index) {\n";
  for (int i = 0; i < 4; ++i) {
    out << "    case " << i << ": return {std::begin(k" << kNames[i] << "Menu), std::end(k"
        << kNames[i] << "Menu)};\n";
  }
  out << "    default: return {};\n  }\n}\n\n}  // namespace kv::builtin\n";

  if (!WriteIfChanged(argv[1], out.str())) return 1;
  if (!WriteIfChanged(argv[2], kv::generator::MessageIdsHeader(names))) return 1;
  return 0;
}
