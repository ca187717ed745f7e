// Feeds arbitrary bytes to the stipulation reader (`--stip`, the type dialog,
// the search): it must never crash, and a type it accepts must be written as
// a text that reads back as the same type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "solver/problem_type.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kv::ProblemType type;
  if (!kv::ParseProblemType(text, type)) return 0;
  kv::CanSolve(type);
  kv::FormatProblemType(type, true);
  const std::string written = kv::FormatProblemType(type);
  kv::ProblemType again;
  if (!kv::ParseProblemType(written, again) || kv::FormatProblemType(again) != written)
    std::abort();
  return 0;
}
