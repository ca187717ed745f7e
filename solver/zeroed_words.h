// A large array of 64-bit words that reads as zero from the start, for the
// searches' tables. The pages may come from the system already zeroed, to
// be paid for only as a search touches them: a table of 128 MB then costs a
// short search what it uses, not the 60 ms of writing every word. A block
// of 32 MB or more (a deep table) is mapped on its own and asked for in
// pages of 2 MB, which a search reading it at random waits on less.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace kv {

// Gives the words back: to calloc's heap, or the whole mapping they lie in.
struct FreeWords {
  void* mapping = nullptr;
  std::size_t mappedBytes = 0;  // 0: the words came from calloc
  void operator()(std::uint64_t* words) const;
};

class ZeroedWords {
 public:
  ZeroedWords() = default;
  // `count` zero words; none when the memory cannot be had (the caller then
  // works without its table). `touchNow`: every page is written at once,
  // as a table that most searches fill wants: a page first touched during
  // a search costs more, the more so with two threads touching at once.
  ZeroedWords(std::size_t count, bool touchNow);

  ZeroedWords(ZeroedWords&& other) noexcept
      : words_(std::move(other.words_)), count_(std::exchange(other.count_, 0)) {}
  ZeroedWords(const ZeroedWords&) = delete;
  ZeroedWords& operator=(const ZeroedWords&) = delete;
  ~ZeroedWords() = default;
  ZeroedWords& operator=(ZeroedWords&& other) noexcept {
    words_ = std::move(other.words_);
    count_ = std::exchange(other.count_, 0);
    return *this;
  }

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::uint64_t& operator[](std::size_t i) { return words_[i]; }
  const std::uint64_t& operator[](std::size_t i) const { return words_[i]; }
  // Every word back to zero.
  void Clear();
  // Writes every page (each word keeps its value), so that a search no
  // longer pays for a page's first touch; not while a search uses them.
  void TouchPages();

 private:
  std::unique_ptr<std::uint64_t[], FreeWords> words_;
  std::size_t count_ = 0;
};

}  // namespace kv
