// The quantiser's two rules (a dead zone of one whole step, plain rounding
// in busy blocks when sharpening) and the non-zero masks the entropy coders
// walk. The dead zone is what makes our files smaller than cjpeg's at the
// same tables, and costs PSNR; the benchmark measures it.
#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

#include <random>

using namespace pixtune;
using namespace jpeg_test;

namespace {

// An encoder over a small picture, encoded once so that the sharpen
// threshold of params is in force.
struct Quantiser {
  explicit Quantiser(int sharpen)
      : bitmap(pixtune_tools::bitmapFromPnm(makeImage(16, 16, false))),
        encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, nullptr, 0, nullptr) {
    encoder.Encode(params(16, 16, false, sharpen));
  }
  // Coefficient 1 of a block (divisor 16, half step 8) after quantising;
  // busy blocks get an activity of 54 x 10 = 540 from coefficients 10..63.
  int quantise(int coefficient, bool busy) const {
    std::int16_t block[64] = {};
    std::int16_t divisors[64];
    std::fill(divisors, divisors + 64, std::int16_t{16});
    block[1] = static_cast<std::int16_t>(coefficient);
    if (busy)
      std::fill(block + 10, block + 64, std::int16_t{10});
    encoder.QuantizeBlock(block, divisors);
    return block[1];
  }
  TBitmap bitmap;
  TMemoryStream memory;
  TJpegEncoder encoder;
};

} // namespace

TEST(Quantiser, WithoutSharpenEveryBlockHasAWholeStepDeadZone) {
  Quantiser q(0);
  for (bool busy : {false, true}) {
    EXPECT_EQ(q.quantise(15, busy), 0) << busy;
    EXPECT_EQ(q.quantise(-15, busy), 0) << busy;
    EXPECT_EQ(q.quantise(8, busy), 0) << "half a step rounds away only past the dead zone";
    EXPECT_EQ(q.quantise(16, busy), 1) << busy;
    EXPECT_EQ(q.quantise(-16, busy), -1) << busy;
    EXPECT_EQ(q.quantise(23, busy), 1) << busy;
    EXPECT_EQ(q.quantise(24, busy), 2) << busy;
    EXPECT_EQ(q.quantise(-24, busy), -2) << busy;
  }
}

TEST(Quantiser, SharpenRoundsBusyBlocksOnly) {
  Quantiser q(100); // threshold 180
  EXPECT_EQ(q.quantise(8, true), 1);
  EXPECT_EQ(q.quantise(-8, true), -1);
  EXPECT_EQ(q.quantise(7, true), 0);
  EXPECT_EQ(q.quantise(24, true), 2);
  EXPECT_EQ(q.quantise(8, false), 0) << "a quiet block keeps the dead zone";
  EXPECT_EQ(q.quantise(15, false), 0);
}

TEST(Quantiser, AcValuesAreCappedAtTheLargestBaselineCategory) {
  Quantiser q(0);
  std::int16_t block[64] = {};
  std::int16_t divisors[64];
  std::fill(divisors, divisors + 64, std::int16_t{8});
  block[0] = 16000;
  block[5] = 16000;
  block[6] = -16000;
  q.encoder.QuantizeBlock(block, divisors);
  EXPECT_EQ(block[0], 2000) << "DC is a difference later, not capped here";
  EXPECT_EQ(block[5], 1023);
  EXPECT_EQ(block[6], -1023);
}

TEST(CoefficientMask, AgreesWithTestingEachCoefficient) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 2000; ++trial) {
    std::int16_t block[64];
    int density = trial % 8;
    for (auto &c : block) {
      int pick = static_cast<int>(random() % 8);
      c = pick >= density ? 0
                          : static_cast<std::int16_t>(static_cast<int>(random() % 65536) - 32768);
      if (pick == 0 && trial % 3 == 0)
        c = static_cast<std::int16_t>(static_cast<int>(random() % 7) -
                                      3); // small values near the shift edges
    }
    block[trial % 64] = trial % 2 ? -32768 : 32767;
    for (int shift = 0; shift <= 3; ++shift) {
      std::uint64_t expected = 0;
      for (int k = 0; k < 64; ++k)
        if ((block[k] < 0 ? -block[k] : block[k]) >> shift)
          expected |= std::uint64_t{1} << k;
      ASSERT_EQ(NonZeroMask(block, shift), expected) << "trial " << trial << " shift " << shift;
    }
  }
}

TEST(CoefficientMask, BitLengthIsTheJpegCategory) {
  EXPECT_EQ(BitLength(0), 0);
  EXPECT_EQ(BitLength(1), 1);
  EXPECT_EQ(BitLength(2), 2);
  EXPECT_EQ(BitLength(3), 2);
  EXPECT_EQ(BitLength(1023), 10);
  EXPECT_EQ(BitLength(1024), 11);
  EXPECT_EQ(BitLength(32767), 15);
}
