// The host bitmap the adapters build from the host's rows.
#include "plugin-adapters/core/host-dib.h"

#include <gtest/gtest.h>

#include <vector>

using namespace adapters;

namespace {

TEST(HostDib, ThreeByTwoColourImage) {
  DibLayout layout;
  ASSERT_TRUE(ComputeDibLayout(3, 2, 24, layout));
  EXPECT_EQ(12u, layout.rowBytes); // 9 data and 3 padding
  EXPECT_EQ(24u, layout.imageBytes);
  EXPECT_EQ(24u + 1064, layout.blockBytes);
  EXPECT_EQ(40u, layout.pixelOffset);

  // Host rows of 10 bytes (one spare), RGB, top row first.
  const std::vector<std::uint8_t> host = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0xEE,
                                          11, 12, 13, 14, 15, 16, 17, 18, 19, 0xEE};
  std::vector<std::uint8_t> block(layout.blockBytes, 0xAA);
  WriteDibHeader(block.data(), 3, 2, layout);
  CopyHostRows(block.data(), 3, 2, layout, host.data(), 10);
  const std::vector<std::uint8_t> pixels(block.begin() + 40, block.begin() + 40 + 24);
  // The bottom row comes first, each pixel blue, green, red, then padding.
  const std::vector<std::uint8_t> expected = {13, 12, 11, 16, 15, 14, 19, 18, 17, 0, 0, 0,
                                              3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
  EXPECT_EQ(expected, pixels);
  // Header: size, width, height, planes, bits, no compression, image size,
  // no palette.
  EXPECT_EQ(40, block[0]);
  EXPECT_EQ(3, block[4]);
  EXPECT_EQ(2, block[8]);
  EXPECT_EQ(1, block[12]);
  EXPECT_EQ(24, block[14]);
  EXPECT_EQ(0, block[16]);
  EXPECT_EQ(24, block[20]);
  EXPECT_EQ(0, block[32]);
}

TEST(HostDib, GreyImageCarriesTheGreyRamp) {
  DibLayout layout;
  ASSERT_TRUE(ComputeDibLayout(5, 1, 8, layout));
  EXPECT_EQ(8u, layout.rowBytes);
  EXPECT_EQ(40u + 1024, layout.pixelOffset);
  std::vector<std::uint8_t> block(layout.blockBytes);
  const std::uint8_t host[] = {10, 20, 30, 40, 50};
  WriteDibHeader(block.data(), 5, 1, layout);
  CopyHostRows(block.data(), 5, 1, layout, host, 5);
  EXPECT_EQ(256, block[32] | block[33] << 8);
  EXPECT_EQ(256, block[36] | block[37] << 8);
  for (int i : {0, 1, 128, 255}) {
    EXPECT_EQ(i, block[40 + 4 * i]);
    EXPECT_EQ(i, block[40 + 4 * i + 1]);
    EXPECT_EQ(i, block[40 + 4 * i + 2]);
    EXPECT_EQ(0, block[40 + 4 * i + 3]);
  }
  EXPECT_EQ(30, block[1064 + 2]);
  EXPECT_EQ(0, block[1064 + 5]);
}

TEST(HostDib, RefusesSizesItCannotHold) {
  DibLayout layout;
  EXPECT_FALSE(ComputeDibLayout(0, 5, 24, layout));
  EXPECT_FALSE(ComputeDibLayout(5, -1, 24, layout));
  EXPECT_FALSE(ComputeDibLayout(5, 5, 32, layout));
  EXPECT_FALSE(ComputeDibLayout(30000, 30000, 24, layout)); // 2.7 GB
  EXPECT_TRUE(ComputeDibLayout(30000, 23000, 24, layout));
}

} // namespace
