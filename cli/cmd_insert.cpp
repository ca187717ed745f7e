// kestrovale-cli insert FILE -n N --count C: inserts C blank problems before
// problem N, as the organise dialog does (1 to 999 at a time).
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr OptionSpec Options[] = {
    {"-n", "", "N", "the problem the blank ones go before, counted from 1", true},
    {"--count", "", "C", "how many blank problems, 1 to 999", true}};

constexpr CommandSpec Spec{
    .name = "insert",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "insert C blank problems before problem N",
    .options = Options,
    .exitStatus =
        "0 inserted; 1 the file cannot be read or written or has no problem N; 2 bad "
        "arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  if (!args.Has("-n") || !args.Has("--count")) {
    return UsageError("insert: -n N and --count C are required");
  }
  int number = 0, count = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "insert", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "insert", "--count", 1, MaxInsertCount, 1, count, exitCode)) {
    return exitCode;
  }
  CollectionReader reader;
  if (FileResult opened = reader.Open(file); !opened) return FileError(opened, file);
  const int records = reader.count();
  reader.Close();
  if (number > records) return NoSuchProblem(number, records, file);
  CollectionState state{file, number - 1, -1};
  if (FileResult inserted = InsertRecords(state, count); !inserted) {
    return FileError(inserted, file);
  }
  std::printf("%s: %d blank problem(s) inserted at %d; %d problem(s) now\n", file.c_str(), count,
              number, state.lastIndex + 1);
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
