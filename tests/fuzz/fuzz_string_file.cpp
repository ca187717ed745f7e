// Feeds arbitrary bytes to the string-file reader: it must never crash or
// read outside its input, whatever the nesting, quotes and numbers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "strings/custom_language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::CustomLanguage language;
  const kv::StringFileResult result =
      kv::ParseStringFile(std::string_view(reinterpret_cast<const char*>(data), size), language);
  // Text in memory is never a file that cannot be opened: only the version
  // line can fail it.
  if (result != kv::StringFileResult::Ok && result != kv::StringFileResult::WrongVersion) {
    std::fprintf(stderr, "fuzz_string_file: a failure that needs a file\n");
    std::abort();
  }
  return 0;
}
