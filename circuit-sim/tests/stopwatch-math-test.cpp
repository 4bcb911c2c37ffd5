// The stopwatch's arithmetic at counter frequencies from the classic
// 3.579545 MHz up to 10 GHz, and the splash window's 10-second rule on a
// clock the test chooses.
#include "circuit-sim/core/stopwatch-math.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct ElapsedCase {
  std::int64_t frequency, start, stop, nanoseconds;
};

TEST(StopwatchMath, ElapsedNanosecondsAtEveryFrequency) {
  const ElapsedCase cases[] = {
      {1000000000, 0, 1, 1},                             // 1 GHz: a tick is a nanosecond
      {3000000000, 0, 3, 1},                             // 3 GHz: three ticks a nanosecond
      {3000000000, 100, 100 + 3000000000LL, 1000000000}, // one second at 3 GHz
      {3000000000, 0, 4500000000LL, 1500000000},
      {10000000000LL, 0, 10000000000LL * 60, 60000000000LL}, // a minute at 10 GHz
      {10000000000LL, 5, 25, 2},
      {10000000, 0, 12345, 1234500},                   // 10 MHz (today's Windows)
      {3579545, 0, 3579545LL * 3600, 3600000000000LL}, // an hour at 3.58 MHz
      {3579545, 0, 1, 279},                            // 279.36 ns, rounded down
      {3000000000, 9000000000LL, 0, -3000000000LL},    // stop before start
  };
  for (const ElapsedCase &c : cases)
    EXPECT_EQ(qorsim::elapsedNanoseconds(c.start, c.stop, c.frequency), c.nanoseconds)
        << c.frequency << " Hz, " << c.start << " .. " << c.stop;
}

TEST(StopwatchMath, NoCounterGivesMinusOne) {
  EXPECT_EQ(qorsim::elapsedNanoseconds(0, 1000, 0), -1);
  EXPECT_EQ(qorsim::elapsedNanoseconds(0, 1000, -5), -1);
}

TEST(StopwatchMath, MulDivKeepsTheFullProduct) {
  // Products beyond 64 bits whose quotient fits.
  EXPECT_EQ(qorsim::mulDiv64(UINT64_C(0xffffffffffffffff), 1000000000u, 1000000000u),
            UINT64_C(0xffffffffffffffff));
  EXPECT_EQ(qorsim::mulDiv64(UINT64_C(1) << 40, UINT64_C(1) << 40, UINT64_C(1) << 30), UINT64_C(1)
                                                                                           << 50);
  EXPECT_EQ(qorsim::mulDiv64(9999999999u, 1000000000u, 10000000000u), 999999999u);
  EXPECT_EQ(qorsim::mulDiv64(0, 123, 7), 0u);
  // Divisor with its top bit set: the remainder needs the carry bit.
  EXPECT_EQ(qorsim::mulDiv64(UINT64_C(0xffffffffffffffff), 3, UINT64_C(0xffffffffffffffff)), 3u);
}

struct DelayCase {
  std::int64_t shown, now, delayMs;
};

TEST(StopwatchMath, SplashClosesTenSecondsAfterItShowed) {
  const DelayCase cases[] = {
      {1000, 1000, 10000}, {1000, 1003, 7000}, {1000, 1009, 1000},
      {1000, 1010, 0},     {1000, 1011, 0},    {1000, 5000, 0},
  };
  for (const DelayCase &c : cases)
    EXPECT_EQ(qorsim::splashCloseDelayMs(c.shown, c.now), c.delayMs)
        << "shown " << c.shown << ", now " << c.now;
}

} // namespace
