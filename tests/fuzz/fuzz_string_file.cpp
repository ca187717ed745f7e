// Feeds arbitrary bytes to the string-file reader: it must never crash or
// read outside its input, whatever the nesting, quotes and numbers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "strings/custom_language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::CustomLanguage language;
  kv::ParseStringFile(std::string_view(reinterpret_cast<const char*>(data), size), language);
  return 0;
}
