// A small deterministic mutation fuzzer for readers of stored data.
//
// It starts from valid seed inputs and applies random damage (bit flips,
// overwritten bytes, large little-endian counts, truncation, duplication),
// calling the target on each variant. The run is bounded by an iteration
// count and a time limit, and the seed is fixed, so a test run is
// repeatable. The target only has to return: a crash, a sanitizer report or
// a hang is the failure. Inputs that ever broke a reader are replayed as
// ordinary tests beside the fuzz test.
//
// The environment can change a run without touching the tests:
//   FUZZ_SCALE=<n>     multiplies the input count and the time limit (CI: 1)
//   FUZZ_SEED=<n>      replaces the test's fixed seed
//   FUZZ_REPLAY=<file> runs the target on that file's bytes alone
// When an input crashes the process (a signal, a sanitizer report, an
// uncaught exception), its bytes are written to "<test name>.fuzz-input" in
// the working directory (or FUZZ_ARTIFACTS) and the path is printed, so the
// input can be replayed. Each run ends with one line, "fuzz-run: <test>
// inputs=<n> seconds=<s> seed=<n>", which scripts/fuzz.sh collects.
#ifndef TESTING_FUZZ_DRIVER_H
#define TESTING_FUZZ_DRIVER_H

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define FUZZ_DRIVER_HAS_SANITIZER_CALLBACK 1
#endif

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

namespace fuzz_detail {

// The input being tried and where it goes if the process dies on it. Plain
// globals: the crash handlers can reach nothing else.
inline const Bytes *&currentInput() {
  static const Bytes *input = nullptr;
  return input;
}
inline char *artifactPath() {
  static char path[1024];
  return path;
}

inline void saveCurrentInput() {
  const Bytes *input = currentInput();
  if (!input || !artifactPath()[0])
    return;
  currentInput() = nullptr; // once, even if saving itself crashes
  if (std::FILE *out = std::fopen(artifactPath(), "wb")) {
    std::fwrite(input->data(), 1, input->size(), out);
    std::fclose(out);
    std::fprintf(stderr, "fuzz: the input that failed is in %s (replay: FUZZ_REPLAY=%s)\n",
                 artifactPath(), artifactPath());
  }
}

extern "C" inline void onFatalSignal(int signal) {
  saveCurrentInput();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

inline void onSanitizerReport() { saveCurrentInput(); }

inline void installCrashHandlers(const std::string &testName) {
  const char *folder = std::getenv("FUZZ_ARTIFACTS");
  std::string path = std::string(folder && *folder ? folder : ".") + "/" + testName + ".fuzz-input";
  std::snprintf(artifactPath(), 1024, "%s", path.c_str());
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL})
    std::signal(signal, onFatalSignal);
  static std::terminate_handler previous = std::set_terminate([] {
    saveCurrentInput();
    previous();
  });
#ifdef FUZZ_DRIVER_HAS_SANITIZER_CALLBACK
  __sanitizer_set_death_callback(onSanitizerReport);
#endif
}

inline double environmentNumber(const char *name, double fallback) {
  const char *text = std::getenv(name);
  if (!text || !*text)
    return fallback;
  char *end = nullptr;
  double value = std::strtod(text, &end);
  return end && *end == 0 && value > 0 ? value : fallback;
}

inline std::string currentTestName() {
  const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info)
    return "fuzz";
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char &c : name)
    if (c == '/')
      c = '_';
  return name;
}

// Clears the current input when the target returns or throws.
struct CurrentInput {
  explicit CurrentInput(const Bytes &input) { currentInput() = &input; }
  ~CurrentInput() { currentInput() = nullptr; }
};

} // namespace fuzz_detail

// The limits a test asked for, as the environment scales or replaces them.
inline FuzzLimits limitsFromEnvironment(FuzzLimits limits) {
  double scale = fuzz_detail::environmentNumber("FUZZ_SCALE", 1.0);
  limits.iterations = static_cast<unsigned>(std::min(4e9, limits.iterations * scale));
  limits.minimum = static_cast<unsigned>(std::min(4e9, limits.minimum * scale));
  limits.seconds *= scale;
  limits.seed = static_cast<std::uint32_t>(
      fuzz_detail::environmentNumber("FUZZ_SEED", static_cast<double>(limits.seed)));
  return limits;
}

// Runs target on mutations of the seeds; returns the number of inputs tried.
inline unsigned fuzz(const std::vector<Bytes> &seeds,
                     const std::function<void(const Bytes &)> &target, FuzzLimits limits = {}) {
  const std::string testName = fuzz_detail::currentTestName();
  fuzz_detail::installCrashHandlers(testName);
  auto tryOne = [&](const Bytes &input) {
    fuzz_detail::CurrentInput current(input);
    target(input);
  };

  if (const char *replay = std::getenv("FUZZ_REPLAY"); replay && *replay) {
    std::ifstream in(replay, std::ios::binary);
    Bytes input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tryOne(input);
    std::printf("fuzz-run: %s replayed %s (%zu bytes)\n", testName.c_str(), replay, input.size());
    return 1;
  }

  limits = limitsFromEnvironment(limits);
  std::mt19937 rng(limits.seed);
  auto start = std::chrono::steady_clock::now();
  unsigned tried = 0;
  for (const Bytes &seed : seeds) {
    tryOne(seed);
    ++tried;
  }
  while (!seeds.empty() && tried < limits.iterations) {
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (tried >= limits.minimum && elapsed.count() > limits.seconds)
      break;
    const Bytes &seed = seeds[rng() % seeds.size()];
    tryOne(mutate(seed, rng));
    ++tried;
  }
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("fuzz-run: %s inputs=%u seconds=%.1f seed=%u\n", testName.c_str(), tried,
              elapsed.count(), static_cast<unsigned>(limits.seed));
  std::fflush(stdout);
  return tried;
}

} // namespace testing_support

// The coverage-guided harness of the reader under test
// (<area>/tests/fuzz/<reader>-fuzzer.cpp), where the test program links it:
// a bounded run of it checks the same promises, a broken one ending the
// process as a crash whose input the driver keeps.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace testing_support {

inline void runHarness(const Bytes &input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

} // namespace testing_support

#endif
