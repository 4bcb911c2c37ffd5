// The encoder's vector paths against their plain forms: the forward
// transform and the quantiser must give the same integers for every input
// the encoder can produce, including the extremes.
#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/dct.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace pixtune;
using namespace jpeg_test;

namespace {

bool sameTransform(const std::int16_t samples[64]) {
  std::int16_t fast[64], plain[64];
  std::memcpy(fast, samples, sizeof fast);
  std::memcpy(plain, samples, sizeof plain);
  ForwardDct(fast);
  ForwardDctReference(plain);
  return std::memcmp(fast, plain, sizeof fast) == 0;
}

// The level-shifted sample of basis (u, v) at (x, y), pushed to -128 or 127
// by the sign of the basis (the block with the largest coefficient there).
std::int16_t extremeSample(int u, int v, int x, int y, bool negate) {
  static const int cosSign[8][8] = {{1, 1, 1, 1, 1, 1, 1, 1},     {1, 1, 1, 1, -1, -1, -1, -1},
                                    {1, 1, -1, -1, -1, -1, 1, 1}, {1, -1, -1, -1, 1, 1, 1, -1},
                                    {1, -1, -1, 1, 1, -1, -1, 1}, {1, -1, 1, 1, -1, -1, 1, -1},
                                    {1, -1, 1, -1, -1, 1, -1, 1}, {1, -1, 1, -1, 1, -1, 1, -1}};
  bool positive = (cosSign[u][x] * cosSign[v][y] > 0) != negate;
  return static_cast<std::int16_t>(positive ? 127 : -128);
}

} // namespace

TEST(FastPaths, ForwardTransformEqualsThePlainOne) {
  std::int16_t samples[64];
  // Flat extremes and every basis pattern at full swing, both signs.
  for (int value : {-128, 127, 0}) {
    std::fill(samples, samples + 64, static_cast<std::int16_t>(value));
    EXPECT_TRUE(sameTransform(samples)) << value;
  }
  for (int u = 0; u < 8; ++u)
    for (int v = 0; v < 8; ++v)
      for (bool negate : {false, true}) {
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x)
            samples[8 * y + x] = extremeSample(u, v, x, y, negate);
        EXPECT_TRUE(sameTransform(samples)) << u << "," << v << (negate ? " negated" : "");
      }
  // Random blocks: uniform, two-valued (edges), and smooth with noise.
  std::mt19937 random(11);
  for (int trial = 0; trial < 200000; ++trial) {
    int kind = trial % 3;
    int base = static_cast<int>(random() % 256) - 128;
    for (int i = 0; i < 64; ++i) {
      int value = kind == 0   ? static_cast<int>(random() % 256) - 128
                  : kind == 1 ? (random() & 1 ? 127 : -128)
                              : base + (i % 8) * 3 - static_cast<int>(random() % 9);
      samples[i] = static_cast<std::int16_t>(std::clamp(value, -128, 127));
    }
    ASSERT_TRUE(sameTransform(samples)) << "trial " << trial;
  }
}

TEST(FastPaths, QuantiserEqualsThePlainOne) {
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(16, 16, false));
  for (int sharpen : {0, 40, 100}) {
    TMemoryStream memory;
    TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, nullptr, 0, nullptr);
    encoder.Encode(params(16, 16, false, sharpen));
    // Every divisor the encoder uses (eight times 1..255) against every
    // coefficient magnitude a transform can give, and a margin beyond.
    std::int16_t divisors[64], fast[64], plain[64];
    for (int entry = 1; entry <= 255; ++entry) {
      std::fill(divisors, divisors + 64, static_cast<std::int16_t>(8 * entry));
      for (int start = -9000; start <= 9000; start += 64) {
        for (int k = 0; k < 64; ++k)
          fast[k] = plain[k] = static_cast<std::int16_t>(start + k);
        encoder.QuantizeBlock(fast, divisors);
        encoder.QuantizeBlockReference(plain, divisors);
        ASSERT_EQ(0, std::memcmp(fast, plain, sizeof fast))
            << "divisor " << 8 * entry << " from " << start << " sharpen " << sharpen;
      }
    }
    // Busy and quiet blocks around the sharpening threshold, odd divisors,
    // and the 16-bit extremes.
    std::mt19937 random(5);
    for (int trial = 0; trial < 100000; ++trial) {
      int spread = 1 << (trial % 15);
      for (int k = 0; k < 64; ++k) {
        divisors[k] = static_cast<std::int16_t>(1 + random() % (trial % 2 ? 2040 : 32767));
        fast[k] = plain[k] =
            static_cast<std::int16_t>(static_cast<int>(random() % (2 * spread + 1)) - spread);
      }
      if (trial % 97 == 0)
        fast[trial % 64] = plain[trial % 64] = trial % 2 ? -32768 : 32767;
      encoder.QuantizeBlock(fast, divisors);
      encoder.QuantizeBlockReference(plain, divisors);
      ASSERT_EQ(0, std::memcmp(fast, plain, sizeof fast)) << "trial " << trial;
    }
  }
}

TEST(FastPaths, MagnitudeMasksAgreeWithTestingEachCoefficient) {
  std::mt19937 random(3);
  for (int trial = 0; trial < 20000; ++trial) {
    std::int16_t block[64];
    for (auto &c : block) {
      int pick = static_cast<int>(random() % 4);
      c = static_cast<std::int16_t>(pick == 0   ? 0
                                    : pick == 1 ? static_cast<int>(random() % 9) - 4
                                                : static_cast<int>(random() % 65536) - 32768);
    }
    for (int shift = 0; shift <= 13; ++shift) {
      std::uint64_t nonZero = 0, ones = 0, expectedNonZero = 0, expectedOnes = 0;
      MagnitudeMasks(block, shift, nonZero, ones);
      for (int k = 0; k < 64; ++k) {
        int magnitude = (block[k] < 0 ? -block[k] : block[k]) >> shift;
        expectedNonZero |= static_cast<std::uint64_t>(magnitude != 0) << k;
        expectedOnes |= static_cast<std::uint64_t>(magnitude == 1) << k;
      }
      ASSERT_EQ(nonZero, expectedNonZero) << trial << " " << shift;
      ASSERT_EQ(ones, expectedOnes) << trial << " " << shift;
    }
  }
}
