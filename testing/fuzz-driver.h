// A small deterministic mutation fuzzer for readers of stored data.
//
// It starts from valid seed inputs and applies random damage (bit flips,
// overwritten bytes, large little-endian counts, truncation, duplication),
// calling the target on each variant. The run is bounded by an iteration
// count and a time limit, and the seed is fixed, so a test run is
// repeatable. The target only has to return: a crash, a sanitizer report or
// a hang is the failure. Inputs that ever broke a reader are replayed as
// ordinary tests beside the fuzz test.
#ifndef TESTING_FUZZ_DRIVER_H
#define TESTING_FUZZ_DRIVER_H

#include <chrono>
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

struct FuzzLimits {
  unsigned iterations = 20000;
  double seconds = 5.0;
  std::uint32_t seed = 20261209;
  // Inputs tried whatever the clock says, so that a loaded machine still
  // runs a useful number (the time limit only cuts the run after these).
  unsigned minimum = 200;
};

inline Bytes mutate(const Bytes &seed, std::mt19937 &rng) {
  Bytes out = seed;
  auto pick = [&](std::size_t n) {
    return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng) : 0;
  };
  unsigned edits = 1 + static_cast<unsigned>(pick(4));
  for (unsigned e = 0; e < edits; ++e) {
    switch (pick(6)) {
    case 0: // flip one bit
      if (!out.empty())
        out[pick(out.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
      break;
    case 1: // overwrite a byte with an extreme value
      if (!out.empty())
        out[pick(out.size())] = pick(2) ? 0xFF : 0x00;
      break;
    case 2: { // plant a huge 32-bit little-endian count
      if (out.size() < 4)
        break;
      std::size_t at = pick(out.size() - 3);
      std::uint32_t value = pick(2) ? 0xFFFFFFFFu : static_cast<std::uint32_t>(rng());
      for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
      break;
    }
    case 3: // truncate
      out.resize(pick(out.size() + 1));
      break;
    case 4: { // duplicate a slice somewhere else
      if (out.empty())
        break;
      std::size_t from = pick(out.size());
      std::size_t len = 1 + pick(std::min<std::size_t>(64, out.size() - from));
      Bytes slice(out.begin() + from, out.begin() + from + len);
      std::size_t to = pick(out.size() + 1);
      out.insert(out.begin() + to, slice.begin(), slice.end());
      break;
    }
    default: // random byte
      if (!out.empty())
        out[pick(out.size())] = static_cast<std::uint8_t>(rng());
      break;
    }
  }
  return out;
}

// Runs target on mutations of the seeds; returns the number of inputs tried.
inline unsigned fuzz(const std::vector<Bytes> &seeds,
                     const std::function<void(const Bytes &)> &target, FuzzLimits limits = {}) {
  std::mt19937 rng(limits.seed);
  auto start = std::chrono::steady_clock::now();
  unsigned tried = 0;
  for (const Bytes &seed : seeds) {
    target(seed);
    ++tried;
  }
  if (seeds.empty())
    return tried;
  while (tried < limits.iterations) {
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (tried >= limits.minimum && elapsed.count() > limits.seconds)
      break;
    const Bytes &seed = seeds[rng() % seeds.size()];
    target(mutate(seed, rng));
    ++tried;
  }
  return tried;
}

} // namespace testing_support

#endif
