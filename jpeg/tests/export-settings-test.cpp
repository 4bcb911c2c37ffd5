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

TEST(ExportSettings, ValidationCorrectsNumbers) {
  TSettings s;
  s.options.thumbnailWidth = 5;
  s.options.thumbnailHeight = 7;
  s.options.thumbnailMode = 4;
  s.options.previewDelay = 20000;
  s.options.modemSpeed = 2000;
  s.Validate();
  EXPECT_EQ(100, s.options.thumbnailWidth);
  EXPECT_EQ(100, s.options.thumbnailHeight);
  EXPECT_EQ(1, s.options.thumbnailMode);
  EXPECT_EQ(1500, s.options.previewDelay);
  EXPECT_EQ(33600, s.options.modemSpeed);

  s.options.thumbnailMode = 0;
  s.options.previewDelay = -1;
  s.options.modemSpeed = 67201;
  s.Validate();
  EXPECT_EQ(1, s.options.thumbnailMode);
  EXPECT_EQ(1500, s.options.previewDelay);
  EXPECT_EQ(33600, s.options.modemSpeed);

  // The limits themselves are valid.
  s.options.thumbnailWidth = 8;
  s.options.thumbnailMode = 3;
  s.options.previewDelay = 10000;
  s.options.modemSpeed = 2400;
  s.Validate();
  EXPECT_EQ(8, s.options.thumbnailWidth);
  EXPECT_EQ(3, s.options.thumbnailMode);
  EXPECT_EQ(10000, s.options.previewDelay);
  EXPECT_EQ(2400, s.options.modemSpeed);
}

} // namespace
