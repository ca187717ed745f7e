// kestrovale-cli insert FILE -n N --count C: inserts C blank problems before
// problem N, as the organise dialog does (1 to 999 at a time).
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {"-n", "--count"}, args, error)) return UsageError("insert: " + error);
  if (!args.Has("-n") || !args.Has("--count")) {
    return UsageError("insert: -n N and --count C are required");
  }
  int number = 0, count = 0, exitCode = ExitOk;
  if (!TakeNumber(args, "insert", "-n", 1, MaxRecords, 1, number, exitCode) ||
      !TakeNumber(args, "insert", "--count", 1, MaxInsertCount, 1, count, exitCode)) {
    return exitCode;
  }
  CollectionReader reader;
  if (FileResult opened = reader.Open(args.file); !opened) return FileError(opened, args.file);
  const int records = reader.count();
  reader.Close();
  if (number > records) return NoSuchProblem(number, records, args.file);
  CollectionState state{args.file, number - 1, -1};
  if (FileResult inserted = InsertRecords(state, count); !inserted) {
    return FileError(inserted, args.file);
  }
  std::printf("%s: %d blank problem(s) inserted at %d; %d problem(s) now\n", args.file.c_str(),
              count, number, state.lastIndex + 1);
  return ExitOk;
}

Registration reg({"insert", "FILE -n N --count C   insert C blank problems before problem N",
                  &Run});

}  // namespace
}  // namespace kv::cli
