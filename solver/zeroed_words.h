// A large array of 64-bit words that reads as zero from the start, for the
// searches' tables. The pages come from the system already zeroed and are
// only paid for as the search touches them: a table of 128 MB costs a short
// search what it uses, not the 60 ms of writing every word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace kv {

struct FreeWords {
  void operator()(std::uint64_t* words) const { std::free(words); }
};

class ZeroedWords {
 public:
  ZeroedWords() = default;
  // `count` zero words; none when the memory cannot be had (the caller then
  // works without its table).
  explicit ZeroedWords(std::size_t count);

  ZeroedWords(ZeroedWords&& other) noexcept
      : words_(std::move(other.words_)), count_(std::exchange(other.count_, 0)) {}
  ZeroedWords& operator=(ZeroedWords&& other) noexcept {
    words_ = std::move(other.words_);
    count_ = std::exchange(other.count_, 0);
    return *this;
  }

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::uint64_t* data() { return words_.get(); }
  const std::uint64_t* data() const { return words_.get(); }
  std::uint64_t& operator[](std::size_t i) { return words_[i]; }
  const std::uint64_t& operator[](std::size_t i) const { return words_[i]; }
  // Every word back to zero.
  void Clear();

 private:
  std::unique_ptr<std::uint64_t[], FreeWords> words_;
  std::size_t count_ = 0;
};

}  // namespace kv
