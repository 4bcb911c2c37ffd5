// Binary PNM (P5 grey, P6 colour) images for the test programs and the
// benchmark front end, and their conversion to and from host bitmaps.
// Test support only; the compressor itself never reads image files.
#ifndef JPEG_TOOLS_PNM_IMAGE_H
#define JPEG_TOOLS_PNM_IMAGE_H

#include "jpeg/core/host-bitmap.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <string>
#include <vector>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace pixtune_tools {

struct PnmImage {
  int width = 0;
  int height = 0;
  int channels = 0;                 // 1 grey, 3 RGB
  std::vector<std::uint8_t> pixels; // top row first, RGB order
};

inline bool readPnmToken(std::FILE *f, int &value) {
  int c = std::fgetc(f);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#')
      while (c != '\n' && c != EOF)
        c = std::fgetc(f);
    c = std::fgetc(f);
  }
  if (c < '0' || c > '9')
    return false;
  value = 0;
  while (c >= '0' && c <= '9') {
    if (value > 100000000)
      return false;
    value = value * 10 + (c - '0');
    c = std::fgetc(f);
  }
  return true; // the single whitespace after the token is consumed
}

// Returns false for anything but 8-bit P5/P6.
inline bool readPnm(const std::string &path, PnmImage &image) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  char magic[2] = {};
  int maxValue = 0;
  bool ok = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'P' &&
            (magic[1] == '5' || magic[1] == '6') && readPnmToken(f, image.width) &&
            readPnmToken(f, image.height) && readPnmToken(f, maxValue) && maxValue == 255 &&
            image.width > 0 && image.height > 0;
  if (ok) {
    image.channels = magic[1] == '5' ? 1 : 3;
    std::size_t bytes = static_cast<std::size_t>(image.width) * image.height * image.channels;
    image.pixels.resize(bytes);
    ok = std::fread(image.pixels.data(), 1, bytes, f) == bytes;
  }
  std::fclose(f);
  return ok;
}

inline bool writePnm(const std::string &path, const PnmImage &image) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    return false;
  std::fprintf(f, "P%d\n%d %d\n255\n", image.channels == 1 ? 5 : 6, image.width, image.height);
  bool ok = std::fwrite(image.pixels.data(), 1, image.pixels.size(), f) == image.pixels.size();
  return std::fclose(f) == 0 && ok;
}

// Turns a row of pixels from RGB to BGR order in place: sixteen pixels at a
// time through byte shuffles where the processor has them, which keeps the
// loader's share of a benchmark run small. Each 48 bytes are all read
// before any is written, so no read waits on an overlapping write.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("ssse3"))) inline void swapRedAndBlueSsse3(std::uint8_t *p,
                                                                 std::size_t bytes) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  for (; bytes >= 48; bytes -= 48, p += 48) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16));
    __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 32));
    // Four pixels at the bottom of each.
    __m128i quads[4] = {a, _mm_alignr_epi8(b, a, 12), _mm_alignr_epi8(c, b, 8),
                        _mm_srli_si128(c, 4)};
    for (int q = 0; q < 4; ++q) {
      __m128i turned = _mm_shuffle_epi8(quads[q], order);
      _mm_storel_epi64(reinterpret_cast<__m128i *>(p + 12 * q), turned);
      std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(turned, 8)));
      std::memcpy(p + 12 * q + 8, &last, 4);
    }
  }
  for (; bytes >= 3; bytes -= 3, p += 3)
    std::swap(p[0], p[2]);
}
#endif

inline void swapRedAndBlue(std::uint8_t *p, std::size_t bytes) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  // One question to the processor: the compiler's own feature probe asks
  // many, each of which a virtual machine traps, at every start.
  static const bool ssse3 = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_SSSE3) != 0;
  }();
  if (ssse3) {
    swapRedAndBlueSsse3(p, bytes);
    return;
  }
#endif
  for (std::size_t x = 0; x + 3 <= bytes; x += 3)
    std::swap(p[x], p[x + 2]);
}

// Reads a binary PGM/PPM straight into a host bitmap (no intermediate
// copy, so that the benchmark times the encoder rather than the loader):
// unbuffered, so that each row is one read into its place, turned to BGR
// while it is still in the cache.
// Returns an empty bitmap for anything but 8-bit P5/P6.
inline pixtune::TBitmap
readPnmBitmap(const std::string &path,
              pixtune::BlockAllocator &allocator = pixtune::defaultAllocator()) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return pixtune::TBitmap();
  std::setvbuf(f, nullptr, _IONBF, 0);
  char magic[2] = {};
  int width = 0, height = 0, maxValue = 0;
  bool ok = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'P' &&
            (magic[1] == '5' || magic[1] == '6') && readPnmToken(f, width) &&
            readPnmToken(f, height) && readPnmToken(f, maxValue) && maxValue == 255 && width > 0 &&
            height > 0 && width <= pixtune::MaxImageSide && height <= pixtune::MaxImageSide;
  pixtune::TBitmap bitmap;
  if (ok) {
    bool grey = magic[1] == '5';
    bitmap =
        pixtune::NewBitmap(width, height, grey ? 8 : 24, grey ? 256 : 0, 2835, 2835, allocator);
    pixtune::TBitmapView view(bitmap);
    std::size_t rowBytes = static_cast<std::size_t>(width) * (grey ? 1 : 3);
    for (int y = 0; y < height && ok; ++y) {
      std::uint8_t *row = view.TopRow(y);
      ok = std::fread(row, 1, rowBytes, f) == rowBytes;
      if (!grey)
        swapRedAndBlue(row, rowBytes);
    }
  }
  std::fclose(f);
  return ok ? static_cast<pixtune::TBitmap &&>(bitmap) : pixtune::TBitmap();
}

// A host bitmap of the image: 8-bit with the grey ramp or 24-bit BGR,
// bottom-up.
inline pixtune::TBitmap bitmapFromPnm(const PnmImage &image) {
  bool grey = image.channels == 1;
  pixtune::TBitmap bitmap =
      pixtune::NewBitmap(image.width, image.height, grey ? 8 : 24, grey ? 256 : 0, 2835, 2835);
  pixtune::TBitmapView view(bitmap);
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t *row = view.TopRow(y);
    const std::uint8_t *source =
        image.pixels.data() + static_cast<std::size_t>(y) * image.width * image.channels;
    for (int x = 0; x < image.width; ++x) {
      if (grey) {
        row[x] = source[x];
        continue;
      }
      row[3 * x] = source[3 * x + 2];
      row[3 * x + 1] = source[3 * x + 1];
      row[3 * x + 2] = source[3 * x];
    }
  }
  return bitmap;
}

// Pixels in the host layout (rows bottom-up with the bitmap's stride) back
// to a PNM image.
inline PnmImage pnmFromPixels(const pixtune::TBitmapView &layout, const std::uint8_t *pixels) {
  PnmImage image;
  image.width = layout.Width();
  image.height = layout.Height();
  image.channels = layout.BitsPerPixel() == 8 ? 1 : 3;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.channels);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t *row =
        pixels + static_cast<std::size_t>(image.height - 1 - y) * layout.Stride();
    std::uint8_t *out =
        image.pixels.data() + static_cast<std::size_t>(y) * image.width * image.channels;
    for (int x = 0; x < image.width; ++x) {
      if (image.channels == 1) {
        out[x] = row[x];
        continue;
      }
      out[3 * x] = row[3 * x + 2];
      out[3 * x + 1] = row[3 * x + 1];
      out[3 * x + 2] = row[3 * x];
    }
  }
  return image;
}

} // namespace pixtune_tools

#endif
