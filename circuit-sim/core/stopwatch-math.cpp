#include "circuit-sim/core/stopwatch-math.h"

namespace qorsim {

namespace {

struct U128 {
  std::uint64_t high, low;
};

U128 multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLow = a & 0xffffffffu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xffffffffu, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  const std::uint64_t highHigh = aHigh * bHigh;
  const std::uint64_t middle = (lowLow >> 32) + (highLow & 0xffffffffu) + (lowHigh & 0xffffffffu);
  return {highHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
          (middle << 32) | (lowLow & 0xffffffffu)};
}

} // namespace

std::uint64_t mulDiv64(std::uint64_t a, std::uint64_t b, std::uint64_t divisor) {
  const U128 product = multiply(a, b);
  // Shift-subtract division of the 128-bit product; the remainder stays
  // below the divisor, so one extra bit (carry) is enough to hold it.
  std::uint64_t remainder = 0, quotient = 0;
  for (int bit = 127; bit >= 0; --bit) {
    const std::uint64_t next =
        bit >= 64 ? (product.high >> (bit - 64)) & 1u : (product.low >> bit) & 1u;
    const bool carry = (remainder >> 63) != 0;
    remainder = (remainder << 1) | next;
    quotient <<= 1;
    if (carry || remainder >= divisor) {
      remainder -= divisor;
      quotient |= 1u;
    }
  }
  return quotient;
}

std::int64_t elapsedNanoseconds(std::int64_t startTicks, std::int64_t stopTicks,
                                std::int64_t frequency) {
  if (frequency <= 0)
    return -1;
  const bool backwards = stopTicks < startTicks;
  const std::uint64_t ticks =
      backwards ? static_cast<std::uint64_t>(startTicks) - static_cast<std::uint64_t>(stopTicks)
                : static_cast<std::uint64_t>(stopTicks) - static_cast<std::uint64_t>(startTicks);
  const std::int64_t ns = static_cast<std::int64_t>(
      mulDiv64(ticks, 1000000000u, static_cast<std::uint64_t>(frequency)));
  return backwards ? -ns : ns;
}

std::int64_t splashCloseDelayMs(std::int64_t shownSeconds, std::int64_t nowSeconds) {
  const std::int64_t seconds = (shownSeconds - nowSeconds) + 10;
  return seconds > 0 ? seconds * 1000 : 0;
}

} // namespace qorsim
