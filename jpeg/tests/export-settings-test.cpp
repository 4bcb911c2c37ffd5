// The export settings: the stored layout of "Plugin options" and the
// compression parameters, the defaults, and validation of stored and
// scripted values.
#include "jpeg/core/export-settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace pixtune;

namespace {

TEST(ExportSettings, DefaultsEncodeToTheDocumentedBytes) {
  std::uint8_t bytes[PluginOptionsBytes];
  EncodePluginOptions(PluginOptions(), bytes);
  // 1500, 33600, crop 0 0 100 100 (IEEE doubles), flags 0 1 1 0 1 1 0 0,
  // mode 1, 100 x 100.
  const std::uint8_t expected[PluginOptionsBytes] = {
      0xDC, 0x05, 0, 0, 0x40, 0x83, 0,    0,    // delay, modem speed
      0,    0,    0, 0, 0,    0,    0,    0,    // left 0
      0,    0,    0, 0, 0,    0,    0,    0,    // top 0
      0,    0,    0, 0, 0,    0,    0x59, 0x40, // right 100
      0,    0,    0, 0, 0,    0,    0x59, 0x40, // bottom 100
      0,    1,    1, 0, 1,    1,    0,    0,    // flags
      1,    0,    0, 0, 100,  0,    100,  0};   // mode, width, height
  EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof expected));
}

TEST(ExportSettings, OptionsSurviveTheirBytes) {
  PluginOptions o;
  o.previewDelay = 250;
  o.modemSpeed = 56000;
  o.cropLeft = 12.5;
  o.cropTop = 3.25;
  o.cropRight = 99.5;
  o.cropBottom = 60;
  o.fitThumbnail = 1;
  o.smartCut = 0;
  o.saveCrop = 1;
  o.reserved = 7;
  o.thumbnailMode = 3;
  o.thumbnailWidth = 640;
  o.thumbnailHeight = 65535;
  std::uint8_t bytes[PluginOptionsBytes];
  EncodePluginOptions(o, bytes);
  PluginOptions back = DecodePluginOptions(bytes);
  std::uint8_t again[PluginOptionsBytes];
  EncodePluginOptions(back, again);
  EXPECT_EQ(0, std::memcmp(bytes, again, sizeof bytes));
  EXPECT_EQ(12.5, back.cropLeft);
  EXPECT_EQ(65535, back.thumbnailHeight);
  EXPECT_EQ(7, back.reserved);
}

TEST(ExportSettings, CompressionParamsKeepTheirReservedByte) {
  CompressionParams p;
  p.luminance = 30;
  p.chrominance = 200;
  p.reserved = 0x5A;
  p.progressive = 1;
  p.sharpen = 75;
  std::uint8_t bytes[CompressionParamsBytes];
  EncodeCompressionParams(p, bytes);
  const std::uint8_t expected[] = {30, 200, 0x5A, 1, 75, 0};
  EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof expected));
  EXPECT_EQ(0x5A, DecodeCompressionParams(bytes).reserved);
}

struct CropCase {
  double left, top, right, bottom;
  double wantLeft, wantTop, wantRight, wantBottom;
};

TEST(ExportSettings, ValidationCorrectsCrops) {
  const double nan = std::nan("");
  const CropCase cases[] = {
      {0, 0, 100, 150, 0, 0, 100, 100}, // bottom above 100
      {0, 40, 100, 40, 0, 0, 100, 100}, // bottom not below top
      {30, 0, 20, 100, 0, 0, 100, 100}, // right not right of left
      {-5, 120, 80, 90, 0, 0, 80, 90},  // edges out of range
      {10, 20, 90, 80, 10, 20, 90, 80}, // valid stays
      // An edge clamped to the far side must not leave an empty crop.
      {100, 100, 150, 150, 0, 0, 100, 100},
      {nan, nan, nan, nan, 0, 0, 100, 100},
  };
  for (const CropCase &c : cases) {
    TSettings s;
    s.options.cropLeft = c.left;
    s.options.cropTop = c.top;
    s.options.cropRight = c.right;
    s.options.cropBottom = c.bottom;
    s.Validate();
    EXPECT_EQ(c.wantLeft, s.options.cropLeft) << c.left << " " << c.right;
    EXPECT_EQ(c.wantRight, s.options.cropRight) << c.left << " " << c.right;
    EXPECT_EQ(c.wantTop, s.options.cropTop) << c.top << " " << c.bottom;
    EXPECT_EQ(c.wantBottom, s.options.cropBottom) << c.top << " " << c.bottom;
    EXPECT_GT(s.options.cropRight, s.options.cropLeft);
    EXPECT_GT(s.options.cropBottom, s.options.cropTop);
  }
}

// Out-of-range numbers fall back to their defaults; the limits themselves
// are valid.
struct NumberCase {
  const char *name;
  int width, height, mode, delay, speed;
  int wantWidth, wantHeight, wantMode, wantDelay, wantSpeed;
};

TEST(ExportSettings, ValidationCorrectsNumbers) {
  const NumberCase cases[] = {
      {"below and above", 5, 7, 4, 20000, 2000, 100, 100, 1, 1500, 33600},
      {"zero, negative, past the top", 100, 100, 0, -1, 67201, 100, 100, 1, 1500, 33600},
      {"the limits", 8, 100, 3, 10000, 2400, 8, 100, 3, 10000, 2400},
  };
  for (const NumberCase &c : cases) {
    TSettings s;
    s.options.thumbnailWidth = c.width;
    s.options.thumbnailHeight = c.height;
    s.options.thumbnailMode = c.mode;
    s.options.previewDelay = c.delay;
    s.options.modemSpeed = c.speed;
    s.Validate();
    EXPECT_EQ(c.wantWidth, s.options.thumbnailWidth) << c.name;
    EXPECT_EQ(c.wantHeight, s.options.thumbnailHeight) << c.name;
    EXPECT_EQ(c.wantMode, s.options.thumbnailMode) << c.name;
    EXPECT_EQ(c.wantDelay, s.options.previewDelay) << c.name;
    EXPECT_EQ(c.wantSpeed, s.options.modemSpeed) << c.name;
  }
}

} // namespace
