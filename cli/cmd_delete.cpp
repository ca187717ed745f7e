// kestrovale-cli delete FILE -n N --count C: deletes C problems from problem
// N on, with the organise dialog's limits: never past the last problem, and
// one problem always remains.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {"-n", "--count"}, args, error)) return UsageError("delete: " + error);
  if (!args.Has("-n") || !args.Has("--count")) {
    return UsageError("delete: -n N and --count C are required");
  }
  int number = 0, count = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "delete", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "delete", "--count", 1, MaxRecords, 1, count, exitCode)) {
    return exitCode;
  }
  CollectionReader reader;
  if (FileResult opened = reader.Open(args.file); !opened) return FileError(opened, args.file);
  const int lastIndex = reader.lastIndex();
  reader.Close();
  if (number > lastIndex + 1) return NoSuchProblem(number, lastIndex + 1, args.file);
  const int allowed = LimitDeleteCount(count, number - 1, lastIndex);
  if (allowed == 0) {
    return FileError(Fail(FileStatus::NoRecord, "the last problem of a file cannot be deleted"),
                     args.file);
  }
  CollectionState state{args.file, number - 1, lastIndex};
  if (FileResult deleted = InsertRecords(state, -allowed); !deleted) {
    return FileError(deleted, args.file);
  }
  if (allowed < count) {
    std::fprintf(stderr,
                 "kestrovale-cli: delete: %d problem(s) asked, %d deleted: only problems from %d "
                 "to the end can go, and one must remain\n",
                 count, allowed, number);
  }
  std::printf("%s: %d problem(s) deleted from %d; %d problem(s) now\n", args.file.c_str(), allowed,
              number, state.lastIndex + 1);
  return ExitOk;
}

Registration reg({"delete", "FILE -n N --count C   delete C problems from problem N on", &Run});

}  // namespace
}  // namespace kv::cli
