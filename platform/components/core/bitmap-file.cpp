// Bitmap files, read with every length checked.
#include "platform/components/core/bitmap-file.h"

#include <cstdlib>

namespace components {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t biRgb = 0, biBitfields = 3;
// Larger pictures are refused rather than allocated: no setting of this
// program needs more than a few screens' worth.
constexpr std::uint64_t maxPixels = 64u * 1024u * 1024u;

std::uint32_t u32(const std::string &data, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(data[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 3])) << 24;
}

std::uint16_t u16(const std::string &data, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                    static_cast<unsigned char>(data[at + 1]) << 8);
}

void put32(std::string &data, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    data += static_cast<char>(value >> (8 * i) & 0xFF);
}

void put16(std::string &data, std::uint16_t value) {
  data += static_cast<char>(value & 0xFF);
  data += static_cast<char>(value >> 8);
}

bool fail(std::string &problem, const char *what) {
  problem = what;
  return false;
}

} // namespace

bool ReadBitmapFile(const std::string &data, BitmapFileInfo &info, std::string &problem) {
  info = BitmapFileInfo{};
  if (data.size() < fileHeaderSize + infoHeaderSize || data.compare(0, 2, "BM") != 0)
    return fail(problem, "it is not a bitmap file");
  std::uint32_t bitsOffset = u32(data, 10);
  std::uint32_t headerSize = u32(data, fileHeaderSize);
  if (headerSize < infoHeaderSize || headerSize > data.size() - fileHeaderSize)
    return fail(problem, "its header is damaged");
  std::int32_t width = static_cast<std::int32_t>(u32(data, 18));
  std::int32_t height = static_cast<std::int32_t>(u32(data, 22));
  std::uint16_t planes = u16(data, 26);
  std::uint16_t bitCount = u16(data, 28);
  std::uint32_t compression = u32(data, 30);
  std::uint32_t coloursUsed = u32(data, 46);
  if (planes != 1 || width <= 0 || height == 0 || height == INT32_MIN)
    return fail(problem, "its header is damaged");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return fail(problem, "its header is damaged");
  bool masks = compression == biBitfields && (bitCount == 16 || bitCount == 32);
  if (compression != biRgb && !masks)
    return fail(problem, "compressed bitmaps are not supported");
  std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
  if (static_cast<std::uint64_t>(width) * rows > maxPixels)
    return fail(problem, "it is too large");
  std::uint64_t tableEntries =
      bitCount <= 8 ? (coloursUsed ? coloursUsed : 1u << bitCount) : (masks ? 0 : coloursUsed);
  if (bitCount <= 8 && tableEntries > (1u << bitCount))
    return fail(problem, "its colour table is damaged");
  std::uint64_t tableEnd = fileHeaderSize + headerSize +
                           (masks && headerSize == infoHeaderSize ? 12 : 0) + tableEntries * 4;
  std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  if (tableEnd > data.size() || bitsOffset < tableEnd)
    return fail(problem, "its colour table is damaged");
  if (bitsOffset > data.size() || stride * rows > data.size() - bitsOffset)
    return fail(problem, "it ends before its last row of pixels");
  info.width = width;
  info.height = height;
  info.bitCount = bitCount;
  info.compression = compression;
  info.bitsOffset = bitsOffset;
  return true;
}

std::string MakeBitmapFile(int width, int height, const std::uint32_t *pixels) {
  std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
  std::uint32_t bitsSize = stride * static_cast<std::uint32_t>(height);
  std::string data = "BM";
  put32(data, static_cast<std::uint32_t>(fileHeaderSize + infoHeaderSize + bitsSize));
  put32(data, 0);
  put32(data, fileHeaderSize + infoHeaderSize);
  put32(data, infoHeaderSize);
  put32(data, static_cast<std::uint32_t>(width));
  put32(data, static_cast<std::uint32_t>(height));
  put16(data, 1);
  put16(data, 24);
  for (int i = 0; i < 6; ++i)
    put32(data, 0); // compression, sizes, resolutions and colour counts
  for (int y = height - 1; y >= 0; --y) {
    std::size_t rowStart = data.size();
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel = pixels[y * width + x];
      data += static_cast<char>(pixel & 0xFF);
      data += static_cast<char>(pixel >> 8 & 0xFF);
      data += static_cast<char>(pixel >> 16 & 0xFF);
    }
    data.append(rowStart + stride - data.size(), '\0');
  }
  return data;
}

} // namespace components
