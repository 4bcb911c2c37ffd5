// What the coverage-guided harnesses (<area>/tests/fuzz/*.cpp, built by the
// clang fuzzing tree) share. A harness defines LLVMFuzzerTestOneInput; a
// broken promise of the reader is reported with FUZZ_CHECK, which prints the
// condition and aborts, so that libFuzzer keeps the input as a crash.
#ifndef TESTING_FUZZ_HARNESS_H
#define TESTING_FUZZ_HARNESS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);           \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

namespace testing_support {

inline std::string textOf(const std::uint8_t *data, std::size_t size) {
  return std::string(reinterpret_cast<const char *>(data), size);
}

// Two files in one input, for readers that take a pair: the first two
// bytes give the first file's length (little-endian, cut to what follows),
// the rest after it is the second file.
struct FilePair {
  std::string first;
  std::string second;
};

inline FilePair splitPair(const std::uint8_t *data, std::size_t size) {
  FilePair pair;
  if (size < 2)
    return pair;
  std::size_t length = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
  pair.first = textOf(data + 2, length);
  pair.second = textOf(data + 2 + length, size - 2 - length);
  return pair;
}

} // namespace testing_support

#endif
