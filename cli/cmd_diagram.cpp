// kestrovale-cli diagram FILE [-n N] [--border 0..4]: the diagram text of
// problem N, ten lines of ten characters of the chess diagram font (UTF-8,
// the font's codes shown as the Windows-1252 characters they are).
#include <string>

#include "cli/cmd_kvl_support.h"
#include "collections/forsyth.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {"-n", "--border"}, args, error)) return UsageError("diagram: " + error);
  int number = 1, border = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "diagram", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "diagram", "--border", 0, MaxBorderStyle, 0, border, exitCode)) {
    return exitCode;
  }
  CurrentProblem problem;
  Board board;
  board.fill(OffBoard);
  if (FileResult loaded = LoadProblemNumber(args.file, number, problem, board); !loaded) {
    return FileError(loaded, args.file);
  }
  const std::string text = BoardToDiagramText(board, border);
  for (int row = 0; row < DiagramSide; ++row) {
    std::printf("%s\n", Cp1252ToUtf8(text.substr(row * DiagramSide, DiagramSide)).c_str());
  }
  return ExitOk;
}

Registration reg({"diagram", "FILE [-n N] [--border 0..4]   print the diagram text of problem N",
                  &Run});

}  // namespace
}  // namespace kv::cli
