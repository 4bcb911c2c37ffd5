// Growth checks: whether the time a piece of work takes grows with its
// input as it should (near-linearly) rather than quadratically. The work
// runs at a base size and at eight times that size; the answer is the
// ratio of the two times, each the best of a few runs so that a busy
// machine disturbs it little. Linear work gives about 8, n log n a little
// more, quadratic work about 64: a test compares the ratio with a bound in
// between, never the time itself with a limit.
#ifndef TESTING_GROWTH_CHECK_H
#define TESTING_GROWTH_CHECK_H

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>

namespace testing_support {

// The time of work(size) at 8 x base over its time at base.
inline double growthRatio(const std::function<void(std::size_t size)> &work, std::size_t base,
                          int runs = 3) {
  auto best = [&](std::size_t size) {
    double fastest = 0;
    for (int i = 0; i < runs; ++i) {
      auto start = std::chrono::steady_clock::now();
      work(size);
      std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      fastest = i == 0 ? took.count() : std::min(fastest, took.count());
    }
    return std::max(fastest, 1e-6);
  };
  double small = best(base);
  return best(8 * base) / small;
}

} // namespace testing_support

#endif
