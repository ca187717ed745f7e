// kestrovale-cli count FILE: the number of problems of a collection.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr CommandSpec Spec{.name = "count",
                           .operands = "FILE",
                           .minOperands = 1,
                           .maxOperands = 1,
                           .summary = "print the number of problems of a collection",
                           .exitStatus = "0 counted; 1 the file cannot be read; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  CollectionReader reader;
  if (FileResult opened = reader.Open(file); !opened) return FileError(opened, file);
  std::printf("%d\n", reader.count());
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
