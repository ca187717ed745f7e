// kestrovale-cli bench --helpmates FILE: the deep-helpmate timing run.
#pragma once

#include "cli/command.h"

namespace kv::cli {

// Runs `bench --helpmates FILE [--no-fast-help] [--no-backward] [--repeat N] [--only ID]` (the
// options as bench read them) on `threads` threads.
int RunHelpmateBench(const ParsedOptions& args, int threads);

}  // namespace kv::cli
