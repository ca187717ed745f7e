// kestrovale-cli show FILE [-n N]: everything problem N of a collection
// holds, in UTF-8: the position in Forsyth notation, the type, the texts, the
// twins field, the five extra strings and the stored solution text.
#include <string>

#include "cli/cmd_kvl_support.h"
#include "collections/forsyth.h"
#include "collections/problem_file.h"
#include "solver/problem_type.h"

namespace kv::cli {
namespace {

constexpr const char* ExtraLabels[ExtraStringCount] = {"dedicated to", "after", "second source",
                                                       "version author", "version source"};

void PrintField(const char* label, const std::string& cp1252) {
  std::printf("%-15s %s\n", (std::string(label) + ":").c_str(), Cp1252ToUtf8(cp1252).c_str());
}

// The twins field with its control bytes (the usual-mode byte 0x7F) and
// backslashes escaped, in the form `add --twins` reads back.
std::string EscapedTwins(const std::string& twins) {
  std::string shown;
  for (const unsigned char byte : twins) {
    if (byte == '\\') {
      shown += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
    } else {
      shown += static_cast<char>(byte);
    }
  }
  return shown;
}

// The solution text with LF line ends.
std::string WithLineFeeds(const std::string& text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  return lines;
}

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {"-n"}, args, error)) return UsageError("show: " + error);
  int number = 1, exitCode = ExitOk;
  if (!TakeNumber(args, "show", "-n", 1, MaxRecords, 1, number, exitCode)) return exitCode;
  CurrentProblem problem;
  Board board;
  board.fill(OffBoard);
  if (FileResult loaded = LoadProblemNumber(args.file, number, problem, board); !loaded) {
    return FileError(loaded, args.file);
  }
  CollectionReader reader;
  const int count = reader.Open(args.file) ? reader.count() : number;
  reader.Close();
  std::string type = FormatProblemType(problem.type);
  if (!type.empty() && type.front() == ' ') type.erase(0, 1);

  std::printf("%-15s %d of %d\n", "problem:", number, count);
  PrintField("forsyth", BoardToForsyth(board, true));
  PrintField("type", type);
  PrintField("authors", problem.authors);
  PrintField("source", problem.source);
  PrintField("award", problem.award);
  PrintField("comment", problem.comment);
  std::printf("%-15s %s\n", "twins:", EscapedTwins(problem.twins).c_str());
  for (int i = 0; i < ExtraStringCount; ++i) PrintField(ExtraLabels[i], problem.extraStrings[i]);
  std::printf("solution:\n%s", Cp1252ToUtf8(WithLineFeeds(problem.solutionText)).c_str());
  if (!problem.solutionText.empty() && problem.solutionText.back() != '\n') std::printf("\n");
  return ExitOk;
}

Registration reg({"show", "FILE [-n N]   print problem N (from 1) of a collection", &Run});

}  // namespace
}  // namespace kv::cli
