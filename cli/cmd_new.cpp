// kestrovale-cli new FILE: creates a collection holding one blank problem
// (the 101-byte file), as a new file starts in the program.
#include <filesystem>

#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr CommandSpec Spec{
    .name = "new",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "create a collection holding one blank problem",
    .exitStatus = "0 created; 1 FILE exists already or cannot be written; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& file = args.Operand(0);
  std::error_code ignored;
  if (std::filesystem::exists(file, ignored)) {
    std::fprintf(stderr, "kestrovale-cli: %s already exists\n", file.c_str());
    return ExitFailure;
  }
  // The file appears complete or not at all; a failure leaves no file.
  CollectionState state{file, 0, -1};
  if (FileResult created = CreateCollection(state); !created) return FileError(created, file);
  std::printf("%s: new collection of 1 problem\n", file.c_str());
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
