// Host bitmaps (layout, header checks, the in-place conversions) and the
// file and memory streams, including failures injected through a failing
// allocator and a file system that fills up.
#include "jpeg/core/byte-order.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/host-signature.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/core/streams.h"
#include "jpeg/tests/jpeg-test-support.h"

#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace pixtune;

namespace {

using jpeg_test::Bytes;
using jpeg_test::errorCode;
using jpeg_test::FailingAllocator;
using jpeg_test::MemoryFiles;

Bytes headerOnly(int width, int height, int bits, std::size_t extra) {
  Bytes dib(BitmapHeaderSize + (bits == 8 ? 1024 : 0) + extra, 0);
  writeLE32(dib.data(), 40);
  writeLE32(dib.data() + 4, static_cast<std::uint32_t>(width));
  writeLE32(dib.data() + 8, static_cast<std::uint32_t>(height));
  writeLE16(dib.data() + 12, 1);
  writeLE16(dib.data() + 14, static_cast<std::uint16_t>(bits));
  return dib;
}

} // namespace

TEST(HostBitmap, RowsArePaddedToFourBytes) {
  struct Case {
    int width, bits;
    std::uint32_t stride;
  } cases[] = {{4, 24, 12}, {5, 24, 16}, {1, 24, 4},         {1, 8, 4},
               {4, 8, 4},   {5, 8, 8},   {65535, 24, 196608}};
  for (const Case &c : cases)
    EXPECT_EQ(bitmapStride(static_cast<std::uint32_t>(c.width), static_cast<std::uint32_t>(c.bits)),
              c.stride)
        << c.width << "x" << c.bits;
}

TEST(HostBitmap, NewBitmapWritesTheHeaderAndGreyRamp) {
  TBitmap grey = NewBitmap(5, 3, 8, 256, 2835, 1000);
  ASSERT_EQ(grey.Bytes(), 40u + 1024u + 8u * 3u);
  const std::uint8_t *h = grey.Data();
  EXPECT_EQ(readLE32(h), 40u);
  EXPECT_EQ(readLE32(h + 4), 5u);
  EXPECT_EQ(readLE32(h + 8), 3u);
  EXPECT_EQ(readLE16(h + 12), 1);
  EXPECT_EQ(readLE16(h + 14), 8);
  EXPECT_EQ(readLE32(h + 16), 0u);
  EXPECT_EQ(readLE32(h + 20), 24u);
  EXPECT_EQ(readLE32(h + 24), 2835u);
  EXPECT_EQ(readLE32(h + 28), 1000u);
  EXPECT_EQ(readLE32(h + 32), 256u);
  EXPECT_EQ(readLE32(h + 36), 256u);
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t *e = h + 40 + 4 * i;
    ASSERT_TRUE(e[0] == i && e[1] == i && e[2] == i && e[3] == 0) << i;
  }
  TBitmapView view(grey);
  EXPECT_EQ(view.Pixels(), grey.Data() + 1064);
  EXPECT_TRUE(IsGreyPalette(view));
  EXPECT_TRUE(IsIdentityGreyPalette(view));

  // 16 and 32 bits per pixel are recorded as 24.
  for (int bits : {16, 24, 32}) {
    TBitmap colour = NewBitmap(4, 2, bits, 0, 0, 0);
    EXPECT_EQ(readLE16(colour.Data() + 14), 24) << bits;
    EXPECT_EQ(colour.Bytes(), 40u + 24u) << bits;
    EXPECT_EQ(TBitmapView(colour).Pixels(), colour.Data() + 40);
    EXPECT_FALSE(IsGreyPalette(TBitmapView(colour)));
  }
}

TEST(HostBitmap, HeadersThatDoNotMatchTheirDataAreRefused) {
  struct Case {
    const char *what;
    Bytes dib;
    int expected;
  };
  std::vector<Case> cases;
  cases.push_back({"fits exactly", headerOnly(5, 3, 24, 48), 0});
  cases.push_back({"one byte short", headerOnly(5, 3, 24, 47), ErrorBadImage});
  cases.push_back({"grey fits", headerOnly(5, 3, 8, 24), 0});
  Bytes greyWithoutPalette = headerOnly(5, 3, 8, 0);
  greyWithoutPalette.resize(600);
  cases.push_back({"grey without its palette", greyWithoutPalette, ErrorBadImage});
  Bytes headerAlone = headerOnly(1, 1, 24, 4);
  headerAlone.resize(40);
  cases.push_back({"header only", headerAlone, ErrorBadImage});
  cases.push_back({"shorter than a header", Bytes(39, 0), ErrorBadImage});
  cases.push_back({"width 0", headerOnly(0, 3, 24, 64), ErrorBadImage});
  cases.push_back({"width 65536", headerOnly(65536, 1, 24, 196612), ErrorBadImage});
  cases.push_back({"height 65536", headerOnly(1, 65536, 8, 65536 * 4), ErrorBadImage});
  cases.push_back({"width 65535 fits", headerOnly(65535, 1, 8, 65536), 0});
  cases.push_back({"top-down", headerOnly(4, -3, 24, 64), ErrorBadImage});
  cases.push_back({"16 bits", headerOnly(4, 3, 16, 64), ErrorBadImage});
  cases.push_back({"1 bit", headerOnly(4, 3, 1, 2000), ErrorBadImage});
  // A height whose rows would need more than 32 bits of bytes.
  cases.push_back({"rows past 32 bits", headerOnly(65535, 65535, 24, 64), ErrorBadImage});
  Bytes compressed = headerOnly(4, 3, 24, 64);
  writeLE32(compressed.data() + 16, 1);
  cases.push_back({"compressed", compressed, ErrorBadImage});
  Bytes coreHeader = headerOnly(4, 3, 24, 64);
  writeLE32(coreHeader.data(), 12);
  cases.push_back({"other header size", coreHeader, ErrorBadImage});

  for (Case &c : cases)
    EXPECT_EQ(errorCode([&] { TBitmapView view(c.dib.data(), c.dib.size()); }), c.expected)
        << c.what;
  EXPECT_EQ(errorCode([] { TBitmapView view(nullptr, 100); }), ErrorOutOfMemory);

  // Separate pixels are checked against their own size.
  Bytes header = headerOnly(5, 3, 24, 0);
  Bytes pixels(48);
  EXPECT_EQ(errorCode([&] { TBitmapView view(header.data(), header.size(), pixels.data(), 48); }),
            0);
  EXPECT_EQ(errorCode([&] { TBitmapView view(header.data(), header.size(), pixels.data(), 47); }),
            ErrorBadImage);
}

TEST(HostBitmap, NewBitmapRefusesSizesThatDoNotFit) {
  EXPECT_EQ(errorCode([] { NewBitmap(65535, 65535, 24, 0, 0, 0); }), ErrorOutOfMemory);
  EXPECT_EQ(errorCode([] { NewBitmap(65536, 1, 24, 0, 0, 0); }), ErrorBadImage);
  EXPECT_EQ(errorCode([] { NewBitmap(1, 0, 8, 256, 0, 0); }), ErrorBadImage);
  FailingAllocator failing(1);
  EXPECT_EQ(errorCode([&] { NewBitmap(10, 10, 24, 0, 0, 0, failing); }), ErrorOutOfMemory);
}

TEST(HostBitmap, FlipAndSwapTwiceRestoreTheBitmap) {
  for (auto [width, height, bits] :
       {std::tuple{5, 4, 24}, std::tuple{7, 3, 8}, std::tuple{3, 1, 24}}) {
    TBitmap bitmap = NewBitmap(width, height, bits, bits == 8 ? 256 : 0, 0, 0);
    TBitmapView view(bitmap);
    for (std::uint32_t i = 0; i < view.ImageBytes(); ++i)
      view.Pixels()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    Bytes original(bitmap.Data(), bitmap.Data() + bitmap.Bytes());

    FlipDibRows(view);
    if (height > 1) {
      EXPECT_EQ(std::memcmp(view.TopRow(0),
                            original.data() + 1064 * (bits == 8) + 40 * (bits == 24),
                            view.Stride()),
                0)
          << "the stored first row becomes the top row";
    } else {
      EXPECT_EQ(Bytes(bitmap.Data(), bitmap.Data() + bitmap.Bytes()), original)
          << "one row stays unchanged";
    }
    FlipDibRows(view);
    EXPECT_EQ(Bytes(bitmap.Data(), bitmap.Data() + bitmap.Bytes()), original);

    SwapRedBlue(view);
    if (bits == 24) {
      EXPECT_EQ(view.TopRow(0)[0], original[bitmap.Bytes() - view.Stride() + 2]);
    } else {
      EXPECT_EQ(Bytes(bitmap.Data(), bitmap.Data() + bitmap.Bytes()), original)
          << "8-bit is left alone";
    }
    SwapRedBlue(view);
    EXPECT_EQ(Bytes(bitmap.Data(), bitmap.Data() + bitmap.Bytes()), original);
  }
}

TEST(HostBitmap, GreyPaletteChecks) {
  TBitmap bitmap = NewBitmap(2, 2, 8, 256, 0, 0);
  TBitmapView view(bitmap);
  std::uint8_t *palette = bitmap.Data() + 40;
  // Grey but not the identity ramp: still grey, but coded in colour.
  palette[4 * 10] = palette[4 * 10 + 1] = palette[4 * 10 + 2] = 200;
  EXPECT_TRUE(IsGreyPalette(view));
  EXPECT_FALSE(IsIdentityGreyPalette(view));
  palette[4 * 10 + 1] = 7;
  EXPECT_FALSE(IsGreyPalette(view));
  // Only the used entries count.
  writeLE32(bitmap.Data() + 32, 10);
  EXPECT_TRUE(IsGreyPalette(view));
}

TEST(MemoryStream, ReadWriteSeekFollowTheStreamRules) {
  TMemoryStream stream(8192, 0);
  const char text[] = "0123456789";
  EXPECT_EQ(stream.Write(text, 10), 10);
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(stream.Capacity(), 8192) << "capacity grows in whole steps";
  EXPECT_EQ(stream.Position(), 10);

  char buffer[16] = {};
  EXPECT_EQ(stream.Read(buffer, 4), 0) << "nothing past the end";
  EXPECT_EQ(stream.Seek(3, 0), 3);
  EXPECT_EQ(stream.Read(buffer, 100), 7);
  EXPECT_EQ(std::string(buffer, 7), "3456789");
  EXPECT_EQ(stream.Seek(-4, 2), 6);
  EXPECT_EQ(stream.Seek(-10, 1), -4) << "seeking is not bounded";
  EXPECT_EQ(stream.Read(buffer, 4), 0) << "negative position reads nothing";
  EXPECT_EQ(stream.Write(text, 4), 0) << "negative position writes nothing";
  EXPECT_EQ(stream.Seek(0, 7), -4) << "unknown origin leaves the position";
  stream.Seek(0, 0);
  EXPECT_EQ(stream.Read(buffer, -1), 0);
  EXPECT_EQ(stream.Write(text, -1), 0);

  // Writing past the end grows the size; a gap reads as zeros.
  stream.Seek(8190, 0);
  EXPECT_EQ(stream.Write(text, 5), 5);
  EXPECT_EQ(stream.Size(), 8195);
  EXPECT_EQ(stream.Capacity(), 16384);
  stream.Seek(100, 0);
  EXPECT_EQ(stream.Read(buffer, 1), 1);
  EXPECT_EQ(buffer[0], 0);

  stream.Rewind();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Capacity(), 16384) << "rewinding keeps the block";
  stream.Clear();
  EXPECT_EQ(stream.Capacity(), 0);
  EXPECT_EQ(stream.Data(), nullptr);
}

TEST(MemoryStream, ReadOnlyStreamsTakeNoWrites) {
  TMemoryStream stream(16, MemoryReadOnly);
  EXPECT_EQ(stream.Write("abc", 3), 0);
  EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryStream, AFailedGrowthKeepsTheOldBlock) {
  FailingAllocator failing(2);
  TMemoryStream stream(16, 0, failing);
  EXPECT_EQ(stream.Write("0123456789", 10), 10);
  const std::uint8_t *before = stream.Data();
  EXPECT_EQ(errorCode([&] { stream.Write("0123456789", 10); }), ErrorStreamGrow);
  EXPECT_EQ(stream.Data(), before);
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream.Data()), 10), "0123456789");
}

TEST(MemoryStream, KeptBlockIsHandedOverShrunk) {
  TMemoryStream stream(4096, MemoryKeepBlock);
  stream.Write("xyz", 3);
  std::uint8_t *block = stream.ReleaseBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(block), 3), "xyz");
  defaultAllocator().release(block);
}

TEST(FileStream, CreateAndOpenFailuresRaiseStreamErrors) {
  MemoryFiles files;
  files.failCreate = true;
  EXPECT_EQ(errorCode([&] { TFileStream s("a.jpg", FileModeCreate, files); }), ErrorFileCreate);
  EXPECT_EQ(errorCode([&] { TFileStream s("missing.jpg", FileModeRead, files); }), ErrorFileOpen);
  EXPECT_EQ(errorCode([] {
              TFileStream s(jpeg_test::scratchFile("no/such/dir/x.jpg").c_str(), FileModeCreate);
            }),
            ErrorFileCreate);
  EXPECT_EQ(errorCode([] {
              TFileStream s(jpeg_test::scratchFile("never-made.jpg").c_str(), FileModeRead);
            }),
            ErrorFileOpen);
  EXPECT_EQ(files.openHandles, 0);
}

TEST(FileStream, WritesReachTheFileAndTheHandleIsClosed) {
  std::string path = jpeg_test::scratchFile("stream.bin");
  {
    TFileStream stream(path.c_str(), FileModeCreate);
    EXPECT_EQ(stream.Write("hello", 5), 5);
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(stream.Write("x", 1), 0) << "a closed stream answers 0";
  }
  EXPECT_EQ(jpeg_test::readFile(path), (Bytes{'h', 'e', 'l', 'l', 'o'}));
  TFileStream reader(path.c_str(), FileModeRead);
  char buffer[8] = {};
  EXPECT_EQ(reader.Seek(1, 0), 1);
  EXPECT_EQ(reader.Read(buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "ello");
}

// A short write anywhere in the file fails the encode; it is never a
// success with a truncated file.
TEST(FileStream, AFullDiskFailsTheEncode) {
  jpeg_test::PnmImage image = jpeg_test::makeImage(400, 300, false);
  TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  MemoryFiles probe;
  {
    TFileStream stream("full.jpg", FileModeCreate, probe);
    jpeg_test::encodeInto(bitmap, stream, jpeg_test::params(5, 5));
  }
  std::int32_t complete = static_cast<std::int32_t>(probe.files["full.jpg"].size());
  ASSERT_GT(complete, 16000) << "the image must span more than one sink flush";
  for (std::int32_t space : {0, 1, 15999, 16000, 16001, complete - 1}) {
    MemoryFiles files;
    files.writeBudget = space;
    int code = errorCode([&] {
      TFileStream stream("full.jpg", FileModeCreate, files);
      jpeg_test::encodeInto(bitmap, stream, jpeg_test::params(5, 5));
    });
    EXPECT_EQ(code, ErrorWriteFailed) << "disk space " << space;
    EXPECT_EQ(files.openHandles, 0) << "the file is closed on the error path";
  }
#ifndef _WIN32
  // The real thing: the device that is always full.
  int code = errorCode([&] {
    TFileStream stream("/dev/full", FileModeCreate);
    jpeg_test::encodeInto(bitmap, stream, jpeg_test::params(5, 5));
  });
  EXPECT_EQ(code, ErrorWriteFailed);
#endif
}

TEST(HostSignature, WholeNamesMatchIgnoringTheCaseOfAToZ) {
  struct Case {
    const char *internalName;
    const char *signature;
  } cases[] = {
      {"Photoshp", "8BIM"},
      {"PHOTOSHP", "8BIM"},
      {"photoshp", "8BIM"},
      {"Photoshop", ""},
      {"Photosh", ""},
      {" Photoshp", ""},
      {"PM5", "ALD5"},
      {"pm6", "ALD6"},
      {"PM65", "AD65"},
      {"PM", ""},
      {"Adobe After Effects", "FXTC"},
      {"adobe illustrator", "ART5"},
      {"PhotoDeluxe", "PHUT"},
      {"Adobe Premiere", "PrMr"},
      {"", ""},
      {"Ph\xD6toshp", ""}, // only A to Z fold
  };
  for (const Case &c : cases) {
    EXPECT_EQ(HostSignature(c.internalName), c.signature) << c.internalName;
    EXPECT_EQ(IsKnownHost(HostSignature(c.internalName)), *c.signature != 0) << c.internalName;
  }
  EXPECT_EQ(HostSignature(nullptr), "");
  EXPECT_TRUE(IsLayoutHostFamily("ALD5"));
  EXPECT_TRUE(IsLayoutHostFamily("AD65"));
  EXPECT_FALSE(IsLayoutHostFamily("8BIM"));
}

// The bitmap comes from the host: damaged headers and truncated blocks must
// end in an error code or a complete file, never in a read past the block.
TEST(HostBitmap, FuzzBitmapsIntoTheEncoder) {
  std::vector<testing_support::Bytes> seeds;
  for (auto [width, height, grey] :
       {std::tuple{9, 7, false}, std::tuple{17, 5, true}, std::tuple{3, 20, false}}) {
    TBitmap bitmap = pixtune_tools::bitmapFromPnm(jpeg_test::makeImage(width, height, grey));
    seeds.emplace_back(bitmap.Data(), bitmap.Data() + bitmap.Bytes());
  }
  unsigned completed = 0;
  unsigned tried =
      testing_support::fuzz(seeds,
                            [&](const testing_support::Bytes &input) {
                              Bytes dib = input; // the encoder's view may not outlive its bytes
                              try {
                                TMemoryStream memory;
                                TBitmapView probe(dib.data(), dib.size());
                                Bytes preview(probe.ImageBytes());
                                TJpegEncoder encoder(dib.data(), dib.size(), nullptr, 0, memory,
                                                     preview.data(), preview.size(), nullptr);
                                encoder.Encode(jpeg_test::params(static_cast<int>(dib.size() % 256),
                                                                 40, dib.size() % 2 == 0));
                                ASSERT_GT(memory.Size(), 100);
                                ++completed;
                              } catch (const TError &) {
                              }
                            },
                            {3000, 3.0, 20261209});
  EXPECT_GT(tried, 100u);
  EXPECT_GT(completed, 10u) << "some damaged bitmaps are still images";
}
