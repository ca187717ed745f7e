// kestrovale-cli diagram FILE [-n N] [--border 0..4]: the diagram text of
// problem N, ten lines of ten characters of the chess diagram font (UTF-8,
// the font's codes shown as the Windows-1252 characters they are).
#include <string>

#include "cli/cmd_kvl_support.h"
#include "collections/forsyth.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr OptionSpec Options[] = {
    ProblemNumberOption,
    {"--border", "", "0..4", "the border of the diagram, as the display options number them"}};

constexpr CommandSpec Spec{
    .name = "diagram",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "print the diagram text of problem N",
    .options = Options,
    .about =
        "Prints the diagram text of problem N: ten lines of ten characters of the chess\n"
        "diagram font, in UTF-8 (the font's codes shown as the characters they are).\n",
    .exitStatus = "0 printed; 1 the file cannot be read or has no problem N; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  int number = 1, border = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "diagram", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "diagram", "--border", 0, MaxBorderStyle, 0, border, exitCode)) {
    return exitCode;
  }
  CurrentProblem problem;
  Board board;
  board.fill(OffBoard);
  if (FileResult loaded = LoadProblemNumber(file, number, problem, board); !loaded) {
    return FileError(loaded, file);
  }
  const std::string text = BoardToDiagramText(board, border);
  for (int row = 0; row < DiagramSide; ++row) {
    std::printf("%s\n", Cp1252ToUtf8(text.substr(row * DiagramSide, DiagramSide)).c_str());
  }
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
