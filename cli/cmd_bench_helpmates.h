// kestrovale-cli bench --helpmates FILE: the deep-helpmate timing run.
#pragma once

#include "cli/command.h"

namespace kv::cli {

// Runs `bench --helpmates FILE [--no-fast-help] [--only ID]` (args as given
// to bench).
int RunHelpmateBench(const Args& args);

}  // namespace kv::cli
