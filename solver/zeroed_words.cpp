#include "solver/zeroed_words.h"

#include <algorithm>

namespace kv {

ZeroedWords::ZeroedWords(std::size_t count) {
  if (count == 0) return;
  // Large blocks come straight from the system, zeroed page by page as
  // they are first touched. (Pages of 2 MB were tried: the system may stop
  // the program for a second to find them.)
  void* memory = std::calloc(count, sizeof(std::uint64_t));
  if (memory == nullptr) return;
  words_.reset(static_cast<std::uint64_t*>(memory));
  count_ = count;
}

void ZeroedWords::Clear() {
  std::fill(words_.get(), words_.get() + count_, std::uint64_t{0});
}

}  // namespace kv
