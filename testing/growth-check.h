// A check that work grows about linearly with its input, for readers that
// must stay fast on large or hostile files. It compares the time of the
// same work on an input n and 8n in size, each the best of a few runs, so
// that the answer depends on the shape of the work rather than on the
// speed or load of the machine: linear work takes about 8 times as long,
// quadratic work about 64 times. The time is the thread's processor time,
// which a busy machine does not stretch by running others in between.
#ifndef TESTING_GROWTH_CHECK_H
#define TESTING_GROWTH_CHECK_H

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

#include <algorithm>
#include <cstdint>

namespace testing_support {

// What a test accepts as near-linear growth from n to 8n: room for
// n log n and for noise, far below the 64 of quadratic work.
const double MostLinearGrowth = 24.0;

// The calling thread's processor time so far, in seconds.
inline double threadSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
    return 0;
  auto ticks = [](const FILETIME &time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7; // 100 ns ticks
#else
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

// Seconds of one work(input), the best of three measures; each measure
// repeats the work until a tenth of a second has gone, since some
// platforms count a thread's time in steps of 10 ms. The input is made
// once.
template <typename Make, typename Work> double bestSeconds(int size, Make make, Work work) {
  const auto input = make(size);
  double best = 1e30;
  for (int measure = 0; measure < 3; ++measure) {
    const double start = threadSeconds();
    double took = 0;
    int runs = 0;
    do {
      work(input);
      ++runs;
      took = threadSeconds() - start;
    } while (took < 0.1);
    best = std::min(best, took / runs);
  }
  return best;
}

// How many times longer work takes on an input of 8n than of n.
template <typename Make, typename Work> double growthFrom(int n, Make make, Work work) {
  const double small = bestSeconds(n, make, work);
  const double large = bestSeconds(8 * n, make, work);
  return large / std::max(small, 1e-9);
}

} // namespace testing_support

#endif
