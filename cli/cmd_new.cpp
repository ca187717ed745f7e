// kestrovale-cli new FILE: creates a collection holding one blank problem
// (the 101-byte file), as a new file starts in the program.
#include <filesystem>

#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {}, args, error)) return UsageError("new: " + error);
  std::error_code ignored;
  if (std::filesystem::exists(args.file, ignored)) {
    std::fprintf(stderr, "kestrovale-cli: %s already exists\n", args.file.c_str());
    return ExitFailure;
  }
  // The file appears complete or not at all; a failure leaves no file.
  CollectionState state{args.file, 0, -1};
  if (FileResult created = CreateCollection(state); !created) return FileError(created, args.file);
  std::printf("%s: new collection of 1 problem\n", args.file.c_str());
  return ExitOk;
}

Registration reg({"new", "FILE   create a collection holding one blank problem", &Run});

}  // namespace
}  // namespace kv::cli
