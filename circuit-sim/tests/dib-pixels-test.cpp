// Pixel look-ups in crafted bitmaps: rows padded to 4 bytes, bottom-up and
// top-down, 24-bit colours stored blue first, indexed colours through the
// colour table, and nothing outside.
#include "circuit-sim/core/dib-pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qorsim::coloursNear;
using qorsim::DibView;
using qorsim::NoPixel;
using qorsim::pixelAt;

// 3 x 2 at 24 bits: rows of 9 bytes padded to 12, the bottom row first.
TEST(DibPixels, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
  const std::vector<unsigned char> bits = {
      // bottom row (y = 1): blue, green, red per pixel
      0x01, 0x02, 0x03, 0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0, 0, 0,
      // top row (y = 0)
      0xA1, 0xA2, 0xA3, 0xB1, 0xB2, 0xB3, 0xC1, 0xC2, 0xC3, 0, 0, 0};
  DibView dib{nullptr, 0, bits.data(), bits.size(), 3, 2, 24};
  const struct {
    int x, y;
    long colour;
  } cases[] = {{0, 0, 0xA1A2A3}, {2, 0, 0xC1C2C3}, {1, 1, 0x111213}, {2, 1, 0x212223},
               {-1, 0, NoPixel}, {3, 0, NoPixel},  {0, 2, NoPixel},  {0, -1, NoPixel}};
  for (const auto &c : cases)
    EXPECT_EQ(pixelAt(dib, c.x, c.y), c.colour) << c.x << "," << c.y;
  dib.height = -2; // top-down: the first row is the top one
  EXPECT_EQ(pixelAt(dib, 0, 0), 0x010203);
  EXPECT_EQ(pixelAt(dib, 0, 1), 0xA1A2A3);
  dib.bitsSize = 20; // the last pixel of the second row is cut off
  EXPECT_EQ(pixelAt(dib, 2, 1), NoPixel);
}

TEST(DibPixels, IndexedPixelsAreLookedUpInTheColourTable) {
  const unsigned char table[] = {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0, 0x10, 0x20, 0x30, 0};
  // 8 bits, 5 x 1: indices 0 1 2 1 3 (3 is past the table), padded to 8.
  const unsigned char eight[] = {0, 1, 2, 1, 3, 0, 0, 0};
  DibView dib{table, 3, eight, sizeof eight, 5, 1, 8};
  const long expected8[] = {0x0000FF, 0xFF0000, 0x102030, 0xFF0000, NoPixel};
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(pixelAt(dib, x, 0), expected8[x]) << x;
  // 4 bits: the high nibble is the left pixel.
  const unsigned char four[] = {0x21, 0x00, 0, 0};
  dib = {table, 3, four, sizeof four, 3, 1, 4};
  EXPECT_EQ(pixelAt(dib, 0, 0), 0x102030);
  EXPECT_EQ(pixelAt(dib, 1, 0), 0xFF0000);
  EXPECT_EQ(pixelAt(dib, 2, 0), 0x0000FF);
  // 1 bit: the high bit is the left pixel.
  const unsigned char one[] = {0x40, 0, 0, 0};
  dib = {table, 2, one, sizeof one, 8, 1, 1};
  EXPECT_EQ(pixelAt(dib, 0, 0), 0x0000FF);
  EXPECT_EQ(pixelAt(dib, 1, 0), 0xFF0000);
  dib.bitsPerPixel = 16;
  EXPECT_EQ(pixelAt(dib, 0, 0), NoPixel);
}

TEST(DibPixels, ColoursAreNearWithinTheToleranceOnEveryChannel) {
  const struct {
    long a, b;
    int tolerance;
    bool near;
  } cases[] = {{0x102030, 0x102030, 0, true},  {0x102030, 0x122030, 2, true},
               {0x102030, 0x132030, 2, false}, {0x102030, 0x10202D, 3, true},
               {0x102030, 0x10202C, 3, false}, {0x00FF00, 0x00FD02, 2, true},
               {NoPixel, NoPixel, 255, false}, {0x000000, NoPixel, 255, false}};
  for (const auto &c : cases)
    EXPECT_EQ(coloursNear(c.a, c.b, c.tolerance), c.near) << std::hex << c.a << " " << c.b;
}

} // namespace
