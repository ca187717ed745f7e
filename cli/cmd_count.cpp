// kestrovale-cli count FILE: the number of problems of a collection.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {}, args, error)) return UsageError("count: " + error);
  CollectionReader reader;
  if (FileResult opened = reader.Open(args.file); !opened) return FileError(opened, args.file);
  std::printf("%d\n", reader.count());
  return ExitOk;
}

Registration reg({"count", "FILE   print the number of problems of a collection", &Run});

}  // namespace
}  // namespace kv::cli
