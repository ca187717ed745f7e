// How many of its cases a data-driven test runs in this build. The
// optimised build runs every case. A build with assertions on (the Debug
// build, under AddressSanitizer and UBSan, several times slower) runs every
// n-th case from the first, the same ones on every run: the sanitizers still
// see every code path, on fewer positions, and no test takes minutes there.
#pragma once

#include <vector>

namespace kv::test {

#ifdef NDEBUG
inline constexpr bool kEveryCase = true;
#else
inline constexpr bool kEveryCase = false;
#endif

class CaseShare {
 public:
  // `debugStride`: a build with assertions runs one case in so many.
  explicit constexpr CaseShare(int debugStride) : stride_(kEveryCase ? 1 : debugStride) {}

  // Whether the case at `index` (from 0) runs.
  constexpr bool Runs(int index) const { return index % stride_ == 0; }
  // How many of `count` cases run.
  constexpr int Of(int count) const { return (count + stride_ - 1) / stride_; }
  // A lower bound on what `count` cases give (solutions found, positions
  // met), for the share of them that runs; never below 1, so that a test
  // whose data lost its interesting cases still fails.
  constexpr int AtLeast(int count) const {
    const int share = count / stride_;
    return share > 0 ? share : 1;
  }
  // The cases that run, in their order. Empty stays empty: the caller's
  // check that it read its data still fails.
  template <class T>
  std::vector<T> Of(const std::vector<T>& cases) const {
    std::vector<T> kept;
    for (std::size_t i = 0; i < cases.size(); ++i)
      if (Runs(static_cast<int>(i))) kept.push_back(cases[i]);
    return kept;
  }

 private:
  int stride_;
};

}  // namespace kv::test
