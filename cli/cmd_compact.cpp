// kestrovale-cli compact FILE: rewrites a collection without the dead space
// that rewritten and deleted texts leave behind.
#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"

namespace kv::cli {
namespace {

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input, {}, args, error)) return UsageError("compact: " + error);
  std::uint64_t before = 0;
  {
    LockedFile file;
    if (FileResult opened = file.Open(args.file, FileAccess::Read); !opened) {
      return FileError(opened, args.file);
    }
    before = file.size();
  }
  CollectionState state{args.file, 0, -1};
  if (FileResult compacted = CompactFile(state); !compacted) return FileError(compacted, args.file);
  LockedFile file;
  const std::uint64_t after = file.Open(args.file, FileAccess::Read) ? file.size() : 0;
  std::printf("%s: %d problem(s), %llu bytes, was %llu\n", args.file.c_str(), state.lastIndex + 1,
              static_cast<unsigned long long>(after), static_cast<unsigned long long>(before));
  return ExitOk;
}

Registration reg({"compact", "FILE   rewrite a collection without dead space", &Run});

}  // namespace
}  // namespace kv::cli
