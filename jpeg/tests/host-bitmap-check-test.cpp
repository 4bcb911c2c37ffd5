// The check that the export makes on a host bitmap before reading it.
#include "jpeg/core/host-bitmap-check.h"

#include "jpeg/core/byte-order.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/jpeg-errors.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace pixtune;

namespace {

// A header as the adapters build it: 3 x 2 pixels.
std::vector<std::uint8_t> header(int bits) {
  std::vector<std::uint8_t> h(40);
  writeLE32(&h[0], 40);
  writeLE32(&h[4], 3);
  writeLE32(&h[8], 2);
  writeLE16(&h[12], 1);
  writeLE16(&h[14], static_cast<std::uint16_t>(bits));
  writeLE32(&h[20], bits == 8 ? 8 : 24); // rows of 4 and 12 bytes
  writeLE32(&h[32], bits == 8 ? 256 : 0);
  writeLE32(&h[36], bits == 8 ? 256 : 0);
  return h;
}

TEST(HostBitmapCheck, AcceptsTheAdaptersLayouts) {
  std::size_t bytes = 0;
  EXPECT_TRUE(CheckHostBitmap(header(8).data(), SIZE_MAX, bytes));
  EXPECT_EQ(40u + 1024 + 8, bytes);
  EXPECT_TRUE(CheckHostBitmap(header(24).data(), 40 + 24, bytes));
  EXPECT_EQ(40u + 24, bytes);
}

TEST(HostBitmapCheck, RejectsHeadersThatDoNotFitTheMode) {
  struct {
    int bits, offset, width;
    std::uint32_t value;
  } cases[] = {
      {24, 0, 4, 12},         // header size
      {24, 4, 4, 0},          // width 0
      {24, 8, 4, 0xFFFFFFFE}, // top-down
      {24, 8, 4, 65536},      // too high
      {24, 12, 2, 2},         // planes
      {24, 14, 2, 32},        // depth
      {24, 14, 2, 8},         // 8 bits with the image size of 24
      {8, 14, 2, 24},         // 24 bits with a palette
      {24, 16, 4, 1},         // compressed
      {24, 20, 4, 25},        // image size that does not match the rows
      {8, 32, 4, 16},         // a short palette
  };
  for (const auto &c : cases) {
    std::vector<std::uint8_t> h = header(c.bits);
    if (c.width == 2)
      writeLE16(&h[static_cast<std::size_t>(c.offset)], static_cast<std::uint16_t>(c.value));
    else
      writeLE32(&h[static_cast<std::size_t>(c.offset)], c.value);
    std::size_t bytes = 1;
    EXPECT_FALSE(CheckHostBitmap(h.data(), SIZE_MAX, bytes)) << c.offset << " " << c.value;
    EXPECT_EQ(0u, bytes);
  }
}

TEST(HostBitmapCheck, RejectsABlockShorterThanItsHeaderSays) {
  std::size_t bytes;
  EXPECT_FALSE(CheckHostBitmap(header(24).data(), 40 + 23, bytes));
  EXPECT_FALSE(CheckHostBitmap(header(8).data(), 40 + 1024 + 7, bytes));
  EXPECT_FALSE(CheckHostBitmap(header(24).data(), 39, bytes));
  EXPECT_FALSE(CheckHostBitmap(nullptr, SIZE_MAX, bytes));
}

// Damaged headers followed by a short block, through the coverage-guided
// harness: whatever the check accepts must bind as an image without running
// past the block, and encode. Each seed starts with the two bytes of the
// compression settings.
TEST(HostBitmapCheck, AnAcceptedHeaderIsOneTheEncoderCanRead) {
  std::vector<testing_support::Bytes> seeds;
  for (int bits : {8, 24}) {
    testing_support::Bytes seed = {20, 40};
    const std::vector<std::uint8_t> h = header(bits);
    seed.insert(seed.end(), h.begin(), h.end());
    seed.resize(2 + 40 + (bits == 8 ? 1024 + 8 : 24), 0x55);
    seeds.push_back(seed);
  }
  unsigned tried = testing_support::fuzz(seeds, testing_support::runHarness);
  EXPECT_GE(tried, 200u);
}

} // namespace
