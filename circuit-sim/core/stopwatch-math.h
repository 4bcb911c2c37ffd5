// The arithmetic behind the stopwatch and the splash window's closing: pure
// functions, so that counter frequencies and clocks can be chosen in tests.
#ifndef CIRCUIT_SIM_STOPWATCH_MATH_H
#define CIRCUIT_SIM_STOPWATCH_MATH_H

#include <cstdint>

namespace qorsim {

// (a * b) / divisor with a 128-bit intermediate product, rounded down.
// divisor must be positive; the quotient must fit 64 bits.
std::uint64_t mulDiv64(std::uint64_t a, std::uint64_t b, std::uint64_t divisor);

// Nanoseconds between two readings of a counter that ticks `frequency` times
// a second; -1 when there is no counter (frequency 0 or less). Exact for any
// frequency: counters above 1 GHz tick faster than a nanosecond.
std::int64_t elapsedNanoseconds(std::int64_t startTicks, std::int64_t stopTicks,
                                std::int64_t frequency);

// The splash window stays 10 seconds after it was shown: the delay, in
// milliseconds, that is left at `nowSeconds`; 0 once that time has passed.
std::int64_t splashCloseDelayMs(std::int64_t shownSeconds, std::int64_t nowSeconds);

} // namespace qorsim

#endif
