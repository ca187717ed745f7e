#include "solver/zeroed_words.h"

#include <algorithm>

namespace kv {

ZeroedWords::ZeroedWords(std::size_t count, bool touchNow) {
  if (count == 0) return;
  // Large blocks come straight from the system, zeroed page by page as
  // they are first touched. (Pages of 2 MB were tried: the system may stop
  // the program for a second to find them.)
  void* memory = std::calloc(count, sizeof(std::uint64_t));
  if (memory == nullptr) return;
  words_.reset(static_cast<std::uint64_t*>(memory));
  count_ = count;
  // Each page is written through a volatile pointer: a compiler may drop a
  // plain fill of zeros into memory that calloc has just returned zeroed.
  if (touchNow) {
    constexpr std::size_t WordsPerPage = 4096 / sizeof(std::uint64_t);
    volatile std::uint64_t* const words = words_.get();
    for (std::size_t i = 0; i < count; i += WordsPerPage) words[i] = 0;
  }
}

void ZeroedWords::Clear() {
  std::fill(words_.get(), words_.get() + count_, std::uint64_t{0});
}

}  // namespace kv
