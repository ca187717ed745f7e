// kestrovale-cli delete FILE -n N --count C: deletes C problems from problem
// N on, with the organise dialog's limits: never past the last problem, and
// one problem always remains.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr OptionSpec Options[] = {
    {"-n", "", "N", "the first problem to delete, counted from 1", true},
    {"--count", "", "C", "how many problems to delete", true}};

constexpr CommandSpec Spec{
    .name = "delete",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "delete C problems from problem N on",
    .options = Options,
    .about =
        "Deletes C problems from problem N on, within the limits of the organise dialog:\n"
        "never past the last problem, and one problem always remains (fewer deleted\n"
        "than asked are named on stderr).\n",
    .exitStatus =
        "0 deleted; 1 the file cannot be read or written, has no problem N, or holds "
        "only one problem; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  if (!args.Has("-n") || !args.Has("--count")) {
    return UsageError("delete: -n N and --count C are required");
  }
  int number = 0, count = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "delete", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "delete", "--count", 1, MaxRecords, 1, count, exitCode)) {
    return exitCode;
  }
  CollectionReader reader;
  if (FileResult opened = reader.Open(file); !opened) return FileError(opened, file);
  const int lastIndex = reader.lastIndex();
  reader.Close();
  if (number > lastIndex + 1) return NoSuchProblem(number, lastIndex + 1, file);
  const int allowed = LimitDeleteCount(count, number - 1, lastIndex);
  if (allowed == 0) {
    return FileError(Fail(FileStatus::NoRecord, "the last problem of a file cannot be deleted"),
                     file);
  }
  CollectionState state{file, number - 1, lastIndex};
  if (FileResult deleted = InsertRecords(state, -allowed); !deleted) {
    return FileError(deleted, file);
  }
  if (allowed < count) {
    std::fprintf(stderr,
                 "kestrovale-cli: delete: %d problem(s) asked, %d deleted: only problems from %d "
                 "to the end can go, and one must remain\n",
                 count, allowed, number);
  }
  std::printf("%s: %d problem(s) deleted from %d; %d problem(s) now\n", file.c_str(), allowed,
              number, state.lastIndex + 1);
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
