// The file the encoder writes, checked byte by byte where the format fixes
// it: markers, tables, scan scripts, byte stuffing; and the encoder's
// failures. These run in every tree; the peers' verdicts are in
// encoder-peer-test.cpp.
#include "jpeg/core/byte-order.h"
#include "jpeg/core/dct.h"
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pixtune;
using namespace jpeg_test;

namespace {

// A DQT body as natural-order table entries.
std::vector<int> naturalTable(const Segment &dqt) {
  std::vector<int> table(64);
  for (int k = 0; k < 64; ++k)
    table[ZigzagToNatural[k]] = dqt.body[1 + static_cast<std::size_t>(k)];
  return table;
}

const Segment *find(const std::vector<Segment> &list, int marker, int index = 0) {
  for (const Segment &s : list)
    if (s.marker == marker && index-- == 0)
      return &s;
  return nullptr;
}

} // namespace

TEST(EncoderFormat, ColourFileLayout) {
  Encoded out = encode(makeImage(40, 24, false), params(30, 40));
  std::vector<Segment> list = segments(out.file);
  ASSERT_GE(list.size(), 10u);
  EXPECT_EQ(list.front().marker, 0xD8);
  const Bytes app0 = {'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(list[1].marker, 0xE0);
  EXPECT_EQ(list[1].body, app0);
  EXPECT_EQ(list[2].marker, 0xDB);
  EXPECT_EQ(list[2].body.size(), 65u);
  EXPECT_EQ(list[2].body[0], 0x00);
  EXPECT_EQ(list[3].marker, 0xDB);
  EXPECT_EQ(list[3].body[0], 0x01);
  EXPECT_EQ(list[4].marker, 0xC0);
  const Bytes sof = {8, 0, 24, 0, 40, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
  EXPECT_EQ(list[4].body, sof);
  int dhtClasses[] = {0x00, 0x10, 0x01, 0x11};
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(list[5 + static_cast<std::size_t>(i)].marker, 0xC4);
    EXPECT_EQ(list[5 + static_cast<std::size_t>(i)].body[0], dhtClasses[i]);
  }
  ASSERT_EQ(list[9].marker, 0xDA);
  const Bytes sos = {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0};
  EXPECT_EQ(list[9].body, sos);
  EXPECT_EQ(list.back().marker, 0xD9);
  ASSERT_GE(out.file.size(), 2u);
  EXPECT_EQ(out.file[out.file.size() - 2], 0xFF);
  EXPECT_EQ(out.file.back(), 0xD9);
}

TEST(EncoderFormat, GreyFileHasOneComponent) {
  Encoded out = encode(makeImage(33, 17, true), params(30, 30));
  ASSERT_TRUE(out.grey);
  std::vector<Segment> list = segments(out.file);
  EXPECT_EQ(countMarkers(list, 0xDB), 1);
  EXPECT_EQ(countMarkers(list, 0xC4), 2);
  const Segment *sof = find(list, 0xC0);
  ASSERT_NE(sof, nullptr);
  EXPECT_EQ(sof->body.size() + 2, 11u) << "SOF length 11";
  EXPECT_EQ(sof->body, (Bytes{8, 0, 17, 0, 33, 1, 1, 0x11, 0}));
  const Segment *sos = find(list, 0xDA);
  ASSERT_NE(sos, nullptr);
  EXPECT_EQ(sos->body, (Bytes{1, 1, 0x00, 0, 63, 0}));
}

// An 8-bit image whose palette is not the grey ramp is coded in colour
// through its palette instead of being read as if it had three bytes per
// pixel.
TEST(EncoderFormat, PalettedImageIsCodedInColour) {
  TBitmap bitmap = NewBitmap(20, 10, 8, 256, 0, 0);
  TBitmapView view(bitmap);
  bitmap.Data()[40 + 4 * 5 + 2] = 255; // entry 5 turns red
  for (std::uint32_t i = 0; i < view.ImageBytes(); ++i)
    view.Pixels()[i] = static_cast<std::uint8_t>(i % 7);
  Encoded encoded = encodeBitmap(bitmap, params(10, 10));
  EXPECT_FALSE(encoded.grey);
  std::vector<Segment> list = segments(encoded.file);
  const Segment *sof = find(list, 0xC0);
  ASSERT_NE(sof, nullptr);
  EXPECT_EQ(sof->body[5], 3);
}

TEST(EncoderFormat, EveryFFInTheScanIsStuffed) {
  // Noise gives many 0xFF data bytes.
  Encoded out = encode(makeImage(96, 64, false, 9), params(1, 1));
  std::size_t scan = 0;
  for (std::size_t i = 0; i + 1 < out.file.size(); ++i)
    if (out.file[i] == 0xFF && out.file[i + 1] == 0xDA)
      scan = i + 2 + static_cast<std::size_t>(out.file[i + 2] << 8 | out.file[i + 3]);
  ASSERT_GT(scan, 0u);
  int stuffed = 0;
  for (std::size_t i = scan; i + 2 < out.file.size(); ++i) {
    if (out.file[i] != 0xFF)
      continue;
    ASSERT_EQ(out.file[i + 1], 0x00) << "at " << i;
    ++stuffed;
    ++i;
  }
  EXPECT_GT(stuffed, 0);
}

TEST(EncoderFormat, QuantisationTablesFollowTheLevel) {
  // Entries worked out by hand from the example tables: the level scales
  // them by 2 x level / 256 up to 127, by (7 x level - 633) / 256 above.
  struct Case {
    int level;
    int luminance[4];   // natural positions 0, 1, 2 and 63
    int chrominance[2]; // positions 0 and 63
  } cases[] = {
      {0, {1, 1, 1, 1}, {1, 1}},                                         // 0 counts as 1
      {1, {1, 1, 1, 1}, {1, 1}},           {64, {8, 6, 5, 50}, {9, 50}}, // the quality-75 tables
      {127, {16, 11, 10, 98}, {17, 98}},                                 // scale 254
      {128, {16, 11, 10, 102}, {17, 102}},                               // scale 263
      {255, {72, 50, 45, 255}, {77, 255}},                               // scale 1152, clamped
  };
  for (const Case &c : cases) {
    Encoded out = encode(makeImage(16, 16, false), params(c.level, c.level));
    std::vector<Segment> list = segments(out.file);
    ASSERT_EQ(countMarkers(list, 0xDB), 2);
    std::vector<int> luma = naturalTable(*find(list, 0xDB, 0));
    std::vector<int> chroma = naturalTable(*find(list, 0xDB, 1));
    EXPECT_EQ(luma[0], c.luminance[0]) << c.level;
    EXPECT_EQ(luma[1], c.luminance[1]) << c.level;
    EXPECT_EQ(luma[2], c.luminance[2]) << c.level;
    EXPECT_EQ(luma[63], c.luminance[3]) << c.level;
    EXPECT_EQ(chroma[0], c.chrominance[0]) << c.level;
    EXPECT_EQ(chroma[63], c.chrominance[1]) << c.level;
  }
  // Separate levels per component.
  std::vector<Segment> list = segments(encode(makeImage(16, 16, false), params(1, 255)).file);
  EXPECT_EQ(naturalTable(*find(list, 0xDB, 0))[63], 1);
  EXPECT_EQ(naturalTable(*find(list, 0xDB, 1))[63], 255);
}

TEST(EncoderFormat, ScanScriptLengthFollowsTheLevel) {
  struct Case {
    int level;
    bool grey;
    int scans;
  } cases[] = {{1, false, 10},  {49, false, 10}, {50, false, 6}, {79, false, 6}, {80, false, 4},
               {255, false, 4}, {49, true, 6},   {50, true, 4},  {80, true, 2}};
  for (const Case &c : cases) {
    Encoded out = encode(makeImage(24, 24, c.grey), params(c.level, 20, true));
    std::vector<Segment> list = segments(out.file);
    EXPECT_EQ(countMarkers(list, 0xDA), c.scans) << c.level << (c.grey ? " grey" : " colour");
    EXPECT_EQ(countMarkers(list, 0xC2), 1);
    EXPECT_EQ(countMarkers(list, 0xC0), 0);
  }
}

// Each progressive scan carries only the tables it uses: DC tables before
// a first DC scan, the component's AC table before an AC scan, none before
// a DC refinement.
TEST(EncoderFormat, ProgressiveScansCarryTheirOwnTables) {
  Encoded out = encode(makeImage(48, 32, false), params(30, 30, true));
  std::vector<Segment> list = segments(out.file);
  std::vector<std::vector<int>> tablesBeforeScan(1);
  for (const Segment &s : list) {
    if (s.marker == 0xC4)
      tablesBeforeScan.back().push_back(s.body[0]);
    if (s.marker == 0xDA)
      tablesBeforeScan.emplace_back();
  }
  tablesBeforeScan.pop_back();
  std::vector<std::vector<int>> expected = {{0x00, 0x01}, {0x10}, {0x11}, {0x11}, {0x10},
                                            {0x10},       {},     {0x11}, {0x11}, {0x10}};
  EXPECT_EQ(tablesBeforeScan, expected);
}

// A scan whose blocks are all zero is one EOB run; a run reaching 32767
// blocks is sent and a new one starts (2048 x 1040 grey: 33280 blocks give
// runs of 32767 and 513, whose symbols are 0xE0 and 0x90; 64 blocks give
// one run, symbol 0x60).
TEST(EncoderFormat, LongEobRunsAreSplit) {
  for (auto [width, height, symbols] :
       {std::tuple{2048, 1040, Bytes{0x90, 0xE0}}, std::tuple{64, 64, Bytes{0x60}}}) {
    PnmImage flat;
    flat.width = width;
    flat.height = height;
    flat.channels = 1;
    flat.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 77);
    Bytes acSymbols;
    for (const Segment &s : segments(encode(flat, params(100, 100, true)).file))
      if (s.marker == 0xC4 && s.body[0] == 0x10)
        acSymbols.assign(s.body.begin() + 17, s.body.end());
    std::sort(acSymbols.begin(), acSymbols.end());
    EXPECT_EQ(acSymbols, symbols) << width << "x" << height;
  }
}

// The DC of every block is kept absolute in the coefficient planes, so a
// progressive encode previews exactly like a baseline one.
TEST(EncoderPreview, ProgressivePreviewEqualsBaselinePreview) {
  for (auto [width, height, grey] :
       {std::tuple{451, 300, false}, std::tuple{64, 48, true}, std::tuple{17, 9, false},
        std::tuple{1, 1, false}, std::tuple{1, 1, true}}) {
    PnmImage image = makeImage(width, height, grey, 3);
    for (int level : {10, 60, 100}) {
      Encoded baseline = encode(image, params(level, level));
      Encoded progressive = encode(image, params(level, level, true));
      EXPECT_EQ(baseline.preview, progressive.preview)
          << width << "x" << height << " level " << level;
      EXPECT_GT(psnr(image, progressive.previewImage), level == 10 ? 30 : 20)
          << width << "x" << height;
    }
  }
}

// The inverse transform undoes the forward one: at level 1 (every table
// entry 1) the preview is the source within rounding and chroma averaging.
TEST(EncoderPreview, FinestLevelReturnsTheSource) {
  PnmImage grey = makeImage(64, 40, true, 4);
  Difference d = compareImages(grey, encode(grey, params(1, 1)).previewImage);
  EXPECT_LE(d.maximum, 4);
  EXPECT_LT(d.mean, 1.0);
  PnmImage colour = makeImage(64, 40, false, 4);
  EXPECT_GT(psnr(colour, encode(colour, params(1, 1)).previewImage), 30);
}

TEST(EncoderPreview, OddSizesKeepTheRowPadding) {
  PnmImage image = makeImage(5, 3, false);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  TBitmapView view(bitmap);
  Bytes preview(view.ImageBytes(), 0xAB);
  TMemoryStream memory;
  TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, preview.data(),
                       preview.size(), nullptr);
  encoder.Encode(params(20, 20));
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(preview[static_cast<std::size_t>(row) * 16 + 15], 0xAB)
        << "the padding byte of row " << row;
}

TEST(EncoderSharpen, SharpenKeepsDetailInBusyBlocks) {
  PnmImage image = makeImage(128, 96, false, 5);
  Encoded plain = encode(image, params(40, 40, false, 0));
  // Sharpen 1 still gives the threshold 6000, so nothing changes.
  EXPECT_EQ(encode(image, params(40, 40, false, 1)).file, plain.file);
  Encoded sharp = encode(image, params(40, 40, false, 100));
  EXPECT_GT(sharp.file.size(), plain.file.size());
  EXPECT_GT(psnr(image, sharp.previewImage), psnr(image, plain.previewImage));
}

TEST(EncoderErrors, SizesWhosePlanesWouldPass32BitsAreRefused) {
  // A 40000 x 40000 grey image needs 3.2 GB of coefficients. The pixels
  // are never read: the planes are refused first.
  Bytes header(40 + 1024, 0);
  writeLE32(header.data(), 40);
  writeLE32(header.data() + 4, 40000);
  writeLE32(header.data() + 8, 40000);
  writeLE16(header.data() + 14, 8);
  for (int i = 0; i < 256; ++i)
    header[40 + 4 * static_cast<std::size_t>(i)] = header[41 + 4 * static_cast<std::size_t>(i)] =
        header[42 + 4 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  std::uint8_t pixel = 0;
  TMemoryStream memory;
  EXPECT_EQ(errorCode([&] {
              TJpegEncoder encoder(header.data(), header.size(), &pixel, 1600000000u, memory,
                                   nullptr, 0, nullptr);
            }),
            ErrorOutOfMemory);
}

TEST(EncoderErrors, PreviewBufferMustHoldTheImage) {
  TBitmap bitmap = NewBitmap(10, 10, 24, 0, 0, 0);
  Bytes preview(10 * 32 - 1);
  TMemoryStream memory;
  EXPECT_EQ(errorCode([&] {
              TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory,
                                   preview.data(), preview.size(), nullptr);
            }),
            ErrorBadImage);
}

// Every allocation of an encode into memory fails in turn; each failure is
// reported as a memory or stream error and leaks nothing.
TEST(EncoderErrors, EachFailedAllocationIsReported) {
  PnmImage image = makeImage(200, 150, false, 2);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  Bytes expected = encode(image, params(20, 20, true)).file;
  for (int failAt = 1;; ++failAt) {
    ASSERT_LT(failAt, 100) << "the encode never completed";
    FailingAllocator failing(failAt);
    Bytes produced;
    int code = errorCode([&] {
      TMemoryStream memory(8192, 0, failing);
      TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, nullptr, 0, nullptr,
                           failing);
      encoder.Encode(params(20, 20, true));
      produced.assign(memory.Data(), memory.Data() + memory.Size());
    });
    if (code == 0) {
      EXPECT_EQ(produced, expected);
      break;
    }
    EXPECT_TRUE(code == ErrorOutOfMemory || code == ErrorStreamGrow)
        << "failure " << failAt << " gave " << code;
  }
}

namespace {

class CountingProgress final : public ProgressSink {
public:
  void begin(int startPercent, int endPercent, long) override {
    EXPECT_GE(startPercent, lastEnd) << "ranges move forward";
    EXPECT_LE(startPercent, endPercent);
    lastEnd = endPercent;
    ++begins;
  }
  void tick() override { ++ticks; }
  void end() override { ++ends; }
  int begins = 0, ticks = 0, ends = 0, lastEnd = 0;
};

} // namespace

TEST(EncoderProgress, RangesCoverTheEncodeAndEndOnce) {
  for (bool withPreview : {false, true}) {
    TBitmap bitmap = pixtune_tools::bitmapFromPnm(makeImage(64, 64, false));
    TMemoryStream memory;
    Bytes preview(TBitmapView(bitmap).ImageBytes());
    CountingProgress progress;
    encodeInto(bitmap, memory, params(20, 20), withPreview ? &preview : nullptr, &progress);
    EXPECT_EQ(progress.lastEnd, 100);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_GT(progress.ticks, 0);
  }
}
