// kestrovale-cli compact FILE: rewrites a collection without the dead space
// that rewritten and deleted texts leave behind.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

constexpr CommandSpec Spec{
    .name = "compact",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "rewrite a collection without dead space",
    .about =
        "Rewrites a collection without the dead space that rewritten and deleted texts\n"
        "leave behind. The new file replaces the old one whole, or not at all.\n",
    .exitStatus = "0 compacted; 1 the file cannot be read or written; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  const std::string& path = args.Operand(0);
  std::uint64_t before = 0;
  {
    LockedFile file;
    if (FileResult opened = file.Open(path, FileAccess::Read); !opened) {
      return FileError(opened, path);
    }
    before = file.size();
  }
  CollectionState state{path, 0, -1};
  if (FileResult compacted = CompactFile(state); !compacted) return FileError(compacted, path);
  LockedFile file;
  const std::uint64_t after = file.Open(path, FileAccess::Read) ? file.size() : 0;
  std::printf("%s: %d problem(s), %llu bytes, was %llu\n", path.c_str(), state.lastIndex + 1,
              static_cast<unsigned long long>(after), static_cast<unsigned long long>(before));
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
