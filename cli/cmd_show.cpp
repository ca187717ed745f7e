// kestrovale-cli show FILE [-n N]: everything problem N of a collection
// holds, in UTF-8: the position in Forsyth notation, the type, the texts, the
// twins field, the five extra strings and the stored solution text.
#include <string>

#include "cli/cmd_kvl_support.h"
#include "cli/twins_argument.h"
#include "collections/forsyth.h"
#include "collections/problem_file.h"
#include "solver/problem_type.h"
#include "strings/line_ends.h"

namespace kv::cli {
namespace {

constexpr const char* ExtraLabels[ExtraStringCount] = {"dedicated to", "after", "second source",
                                                       "version author", "version source"};

void PrintField(const char* label, const std::string& cp1252) {
  std::printf("%-15s %s\n", (std::string(label) + ":").c_str(), Cp1252ToUtf8(cp1252).c_str());
}

constexpr OptionSpec Options[] = {ProblemNumberOption};

constexpr CommandSpec Spec{
    .name = "show",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "print problem N (from 1) of a collection",
    .options = Options,
    .about =
        "Prints everything problem N of a collection holds, in UTF-8: the position in\n"
        "Forsyth notation, the type, the texts, the twins field (with \\\\ for a backslash\n"
        "and \\xHH for a byte that is not printable, as add --twins and solve --twins\n"
        "read it), the five extra strings and the stored solution text.\n",
    .exitStatus = "0 shown; 1 the file cannot be read or has no problem N; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  int number = 1, exitCode = ExitOk;
  if (!TakeNumber(args, "show", "-n", 1, MaxRecords, 1, number, exitCode)) return exitCode;
  CurrentProblem problem;
  Board board;
  board.fill(OffBoard);
  if (FileResult loaded = LoadProblemNumber(file, number, problem, board); !loaded) {
    return FileError(loaded, file);
  }
  CollectionReader reader;
  const int count = reader.Open(file) ? reader.count() : number;
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
  std::printf("solution:\n%s", Cp1252ToUtf8(CrlfToLf(problem.solutionText)).c_str());
  if (!problem.solutionText.empty() && problem.solutionText.back() != '\n') std::printf("\n");
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
