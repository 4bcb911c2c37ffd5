// Bitmap files as pictures read them: a file we make reads back with its
// size and rows; damaged files of every kind are refused with a reason
// and never read past their end.
#include "platform/components/core/bitmap-file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace components;

namespace {

void put32(std::string &data, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    data[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

void put16(std::string &data, std::size_t at, std::uint16_t value) {
  data[at] = static_cast<char>(value & 0xFF);
  data[at + 1] = static_cast<char>(value >> 8);
}

std::string sample() {
  // 5 x 3: rows of 15 bytes padded to 16.
  std::vector<std::uint32_t> pixels(15);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = 0x102030u * static_cast<std::uint32_t>(i + 1);
  return MakeBitmapFile(5, 3, pixels.data());
}

} // namespace

TEST(BitmapFile, AMadeFileReadsBackWithItsSizeAndRows) {
  std::string data = sample();
  ASSERT_EQ(data.size(), 14u + 40u + 3u * 16u);
  BitmapFileInfo info;
  std::string problem;
  ASSERT_TRUE(ReadBitmapFile(data, info, problem)) << problem;
  EXPECT_EQ(info.width, 5);
  EXPECT_EQ(info.height, 3);
  EXPECT_EQ(info.bitCount, 24);
  EXPECT_EQ(info.bitsOffset, 54u);
  // The last row of the file is the top row of the picture: its first
  // pixel is the first given, blue byte first.
  std::size_t topRow = 54 + 2 * 16;
  EXPECT_EQ(static_cast<unsigned char>(data[topRow]), 0x30);
  EXPECT_EQ(static_cast<unsigned char>(data[topRow + 2]), 0x10);
}

TEST(BitmapFile, DamagedFilesAreRefusedWithTheirReason) {
  struct Case {
    const char *what;
    std::function<void(std::string &)> damage;
    const char *problem;
  };
  const std::vector<Case> cases = {
      {"not a bitmap", [](std::string &d) { d[0] = 'P'; }, "it is not a bitmap file"},
      {"cut in the header", [](std::string &d) { d.resize(30); }, "it is not a bitmap file"},
      {"header size past the end", [](std::string &d) { put32(d, 14, 4000); },
       "its header is damaged"},
      {"zero width", [](std::string &d) { put32(d, 18, 0); }, "its header is damaged"},
      {"negative width", [](std::string &d) { put32(d, 18, 0xFFFFFFF0u); },
       "its header is damaged"},
      {"zero height", [](std::string &d) { put32(d, 22, 0); }, "its header is damaged"},
      {"two planes", [](std::string &d) { put16(d, 26, 2); }, "its header is damaged"},
      {"seven bits a pixel", [](std::string &d) { put16(d, 28, 7); }, "its header is damaged"},
      {"run-length compressed", [](std::string &d) { put32(d, 30, 1); },
       "compressed bitmaps are not supported"},
      {"huge", [](std::string &d) { put32(d, 18, 100000), put32(d, 22, 100000); },
       "it is too large"},
      {"rows cut short", [](std::string &d) { d.resize(d.size() - 1); },
       "it ends before its last row of pixels"},
      {"rows past the end", [](std::string &d) { put32(d, 10, 60); },
       "it ends before its last row of pixels"},
      {"rows inside the header", [](std::string &d) { put32(d, 10, 20); },
       "its colour table is damaged"},
      {"palette of 8-bit larger than 256",
       [](std::string &d) { put16(d, 28, 8), put32(d, 46, 300); }, "its colour table is damaged"},
      {"palette past the end", [](std::string &d) { put16(d, 28, 8); },
       "its colour table is damaged"},
  };
  for (const Case &c : cases) {
    std::string data = sample();
    c.damage(data);
    BitmapFileInfo info;
    std::string problem;
    EXPECT_FALSE(ReadBitmapFile(data, info, problem)) << c.what;
    EXPECT_EQ(problem, c.problem) << c.what;
  }
}

// Every cut of a good file, and every single-byte change of its headers,
// is read without running past the data (the sanitizers watch).
TEST(BitmapFile, EveryCutAndHeaderByteIsReadSafely) {
  std::string good = sample();
  BitmapFileInfo info;
  std::string problem;
  for (std::size_t size = 0; size < good.size(); ++size)
    EXPECT_FALSE(ReadBitmapFile(good.substr(0, size), info, problem)) << size;
  for (std::size_t at = 0; at < 54; ++at)
    for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::string data = good;
      data[at] = static_cast<char>(value);
      if (ReadBitmapFile(data, info, problem)) {
        std::uint64_t stride =
            (static_cast<std::uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
        std::uint64_t rows =
            info.height < 0 ? -static_cast<std::int64_t>(info.height) : info.height;
        EXPECT_LE(info.bitsOffset + stride * rows, data.size()) << at << " " << value;
      }
    }
}
