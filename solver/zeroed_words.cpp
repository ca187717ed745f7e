#include "solver/zeroed_words.h"

#include <algorithm>
#include <memory>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv {
namespace {

// From this size on a block is mapped on its own and asked for in pages of
// 2 MB where the system allows it: a search reads its table at random, and
// with pages of 4 KB most reads of a table of 128 MB first miss the
// processor's page cache (an h#7 took 14.4 s with them, 9.8 s without).
// Each page still costs only when first touched, and fewer, larger pages
// cost less in all (64 faults for 128 MB instead of 32 768).
constexpr std::size_t LargeBlockBytes = std::size_t{32} << 20;
constexpr std::size_t LargePageBytes = std::size_t{2} << 20;

}  // namespace

void FreeWords::operator()(std::uint64_t* words) const {
#if defined(__linux__)
  if (mappedBytes != 0) {
    munmap(mapping, mappedBytes);
    return;
  }
#endif
  std::free(words);
}

ZeroedWords::ZeroedWords(std::size_t count, bool touchNow) {
  if (count == 0) return;
  const std::size_t bytes = count * sizeof(std::uint64_t);
  if (bytes / sizeof(std::uint64_t) != count) return;  // beyond what memory holds
  std::uint64_t* words = nullptr;
  FreeWords freeing;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (bytes >= LargeBlockBytes) {
    // A fresh anonymous mapping reads as zero. It is made one large page
    // longer than asked, so that the words can start on a large page.
    const std::size_t mapped = bytes + LargePageBytes;
    void* mapping =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping != MAP_FAILED) {
      void* aligned = mapping;
      std::size_t space = mapped;
      words = static_cast<std::uint64_t*>(std::align(LargePageBytes, bytes, aligned, space));
      // Only advice: where the system has no large page to give, the
      // block works with small ones.
      madvise(words, bytes, MADV_HUGEPAGE);
      freeing = FreeWords{mapping, mapped};
    }
  }
#endif
  // Smaller blocks, and large ones where no mapping could be had, come
  // from calloc: large ones straight from the system, zeroed page by page
  // as they are first touched.
  if (words == nullptr)
    words = static_cast<std::uint64_t*>(std::calloc(count, sizeof(std::uint64_t)));
  if (words == nullptr) return;
  words_ = std::unique_ptr<std::uint64_t[], FreeWords>(words, freeing);
  count_ = count;
  if (touchNow) TouchPages();
}

void ZeroedWords::TouchPages() {
  // Each page is written through a volatile pointer: a compiler may drop a
  // plain store of what a word already holds, or of zeros into memory that
  // calloc has just returned zeroed.
  constexpr std::size_t WordsPerPage = 4096 / sizeof(std::uint64_t);
  volatile std::uint64_t* const touched = words_.get();
  for (std::size_t i = 0; i < count_; i += WordsPerPage) touched[i] = touched[i];
}

void ZeroedWords::Clear() {
  std::fill(words_.get(), words_.get() + count_, std::uint64_t{0});
}

}  // namespace kv
