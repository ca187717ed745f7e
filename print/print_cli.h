// The command line of the headless printing program: its arguments, and the
// run that loads the problems and writes the pages.
#pragma once

#include <string>
#include <vector>

#include "config/settings.h"
#include "print/print_document.h"
#include "strings/language.h"

namespace kv::print {

inline constexpr int PrintExitOk = 0;
inline constexpr int PrintExitFailure = 1;
inline constexpr int PrintExitUsage = 2;

enum class PrintFormat { Pdf, Png };

struct PrintCommand {
  PrintFormat format = PrintFormat::Pdf;
  DocumentKind kind = DocumentKind::DiagramSheet;
  std::string file;
  std::string output;
  std::vector<int> numbers;  // from 1, as typed
  Language language;
  OutputSettings settings;
};

// Reads the arguments; false with a one-line reason on failure.
bool ParsePrintCommand(const std::vector<std::string>& args, PrintCommand& command,
                       std::string& error);

// Reads "3", "1,4,9": numbers 1 .. 32768, at most 2000 of them.
bool ParseProblemNumbers(const std::string& text, std::vector<int>& numbers);

// The text of `kestrovale-print --help`.
std::string PrintHelpText();

// Parses, loads and writes; messages go to stderr. An exit code.
int RunPrintCommand(const std::vector<std::string>& args);

}  // namespace kv::print
