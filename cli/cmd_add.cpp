// kestrovale-cli add FILE --fen BOARD --stip TYPE [--authors T] [--source T]
// [--award T] [--comment T] [--twins FIELD]: appends a problem to a
// collection (created when missing), as "Add a position" does: the problem
// goes at the end in one operation, so that other writers of the same file
// lose nothing and a failure or a kill leaves the file as it was.
#include <string>

#include "cli/cmd_kvl_support.h"
#include "cli/twins_argument.h"
#include "collections/problem_file.h"
#include "core/fen.h"
#include "solver/problem_type.h"

namespace kv::cli {
namespace {

constexpr OptionSpec Options[] = {FenOption,
                                  StipOption,
                                  {"--authors", "", "T", "the authors"},
                                  {"--source", "", "T", "the source"},
                                  {"--award", "", "T", "the award"},
                                  {"--comment", "", "T", "the comment"},
                                  {"--twins", "", "FIELD", TwinsArgumentHelp}};

constexpr CommandSpec Spec{
    .name = "add",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "append a problem to a collection",
    .options = Options,
    .about =
        "Appends a problem to a collection, created when missing, as \"Add a position\"\n"
        "does: in one operation, so that other writers of the same file lose nothing and\n"
        "a failure leaves the file as it was. Texts longer than their field are refused.\n",
    .exitStatus =
        "0 added; 1 the file cannot be read or written; 2 bad arguments (a bad board, "
        "type, text or twins field)."};

// A text option in Windows-1252, refused when longer than its field.
bool TakeText(const ParsedOptions& args, const std::string& name, int maxLength, std::string& text,
              std::string& error) {
  if (!args.Has(name)) return true;
  text = Utf8ToCp1252(args.Value(name));
  if (text.size() > static_cast<std::size_t>(maxLength)) {
    error = name + " holds at most " + std::to_string(maxLength) + " characters";
    return false;
  }
  return true;
}

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  std::string error;
  if (!args.Has("--fen") || !args.Has("--stip")) {
    return UsageError("add: --fen BOARD and --stip TYPE are required");
  }
  CurrentProblem problem;
  Board board;
  const std::string& fen = args.Value("--fen");
  if (!ParseFenBoard(fen.substr(0, fen.find(' ')), board, &error)) {
    return UsageError("add: bad board: " + error);
  }
  if (!ParseProblemType(args.Value("--stip"), problem.type)) {
    return UsageError("add: bad type '" + args.Value("--stip") + "'");
  }
  if (!TakeText(args, "--authors", MaxAuthorsLength, problem.authors, error) ||
      !TakeText(args, "--source", MaxSourceLength, problem.source, error) ||
      !TakeText(args, "--award", MaxDialogAwardLength, problem.award, error) ||
      !TakeText(args, "--comment", MaxCommentLength, problem.comment, error) ||
      (args.Has("--twins") && !ParseTwinsArgument(args.Value("--twins"), problem.twins, error))) {
    return UsageError("add: " + error);
  }

  CollectionState state{file, -1, -1};
  if (FileResult appended = AppendProblem(state, problem, board); !appended) {
    return FileError(appended, file);
  }
  std::printf("%s: problem %d added\n", file.c_str(), state.currentIndex + 1);
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
