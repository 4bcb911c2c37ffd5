// The encoder's output bytes, pinned: every file (and preview) it writes for
// a set of pictures, levels, modes and sharpening values is compared with a
// stored SHA-256 list. The list was made with the straightforward encoder
// before any speed work, so a faster path that changes one byte fails here.
// The pictures are generated with integer arithmetic only, so that every
// tree (and every compiler's maths library) feeds the encoder the same
// pixels.
//
// PIXTUNE_WRITE_DIGESTS=<file> writes the list instead of checking it.
#include "jpeg/tests/jpeg-test-support.h"
#include "testing/sha256.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace pixtune;
using namespace jpeg_test;

namespace {

// A photo-like picture from integers: two octaves of smooth value noise,
// hard-edged shapes, and fine noise; different per seed and channel.
PnmImage integerPicture(int width, int height, int channels, unsigned seed) {
  PnmImage image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.pixels.resize(static_cast<std::size_t>(width) * height * channels);
  auto hash = [seed](unsigned x, unsigned y, unsigned c) {
    unsigned h = x * 73856093u ^ y * 19349663u ^ c * 83492791u ^ seed * 2654435761u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
  };
  // Bilinear value noise of cell size `cell`, 0..255.
  auto smooth = [&](int x, int y, int c, int cell) {
    int gx = x / cell, gy = y / cell, fx = x % cell, fy = y % cell;
    auto at = [&](int i, int j) {
      return static_cast<int>(hash(static_cast<unsigned>(gx + i), static_cast<unsigned>(gy + j),
                                   static_cast<unsigned>(c + 7 * cell)) &
                              255);
    };
    int top = at(0, 0) * (cell - fx) + at(1, 0) * fx;
    int bottom = at(0, 1) * (cell - fx) + at(1, 1) * fx;
    return (top * (cell - fy) + bottom * fy) / (cell * cell);
  };
  unsigned state = seed * 2654435761u + 12345u;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        int v = (3 * smooth(x, y, c, 37) + smooth(x, y, c, 9)) / 4;
        int dx = x - width / 3, dy = y - height / 2;
        if (dx * dx + dy * dy < (width * width) / 25)
          v = 255 - v; // a disc with a hard rim
        if ((x / 29 + y / 21 + c) % 7 == 0)
          v = v / 3; // dark bars
        state = state * 1103515245u + 12345u;
        v += static_cast<int>((state >> 16) % 13) - 6;
        image.pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
            static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      }
  return image;
}

// An 8-bit picture with a colour palette, which the encoder codes in colour.
TBitmap palettedPicture(int width, int height) {
  TBitmap bitmap = NewBitmap(width, height, 8, 256, 2835, 2835);
  TBitmapView view(bitmap);
  std::uint8_t *palette = view.Header() + BitmapHeaderSize;
  for (int i = 0; i < 256; ++i) {
    palette[4 * i] = static_cast<std::uint8_t>(i * 7);
    palette[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
    palette[4 * i + 2] = static_cast<std::uint8_t>((i * i) >> 8);
  }
  PnmImage index = integerPicture(width, height, 1, 9);
  for (int y = 0; y < height; ++y)
    std::copy(index.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width,
              index.pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * width, view.TopRow(y));
  return bitmap;
}

struct Picture {
  const char *name;
  int width, height, channels; // channels 0: paletted
  unsigned seed;
};

const Picture pictures[] = {
    {"colour-333x251", 333, 251, 3, 1}, {"colour-160x128", 160, 128, 3, 2},
    {"colour-17x9", 17, 9, 3, 3},       {"colour-1x1", 1, 1, 3, 4},
    {"colour-7x70", 7, 70, 3, 5},       {"grey-203x157", 203, 157, 1, 6},
    {"grey-8x8", 8, 8, 1, 7},           {"paletted-97x61", 97, 61, 0, 8},
};

// Levels either side of the scan script's changes (50, 80) and of the
// quantiser scale's bend (127); chroma apart from luminance in some.
const int levelPairs[][2] = {{1, 1},   {4, 4},     {8, 8},   {16, 16},   {16, 64},
                             {32, 32}, {49, 49},   {50, 50}, {64, 64},   {79, 79},
                             {80, 80}, {127, 127}, {128, 8}, {192, 192}, {255, 255}};
const int sharpenValues[] = {0, 40, 100};

std::string hex(const std::string &text) {
  return testing_support::sha256Hex(reinterpret_cast<const std::uint8_t *>(text.data()),
                                    text.size());
}

std::string hex(const Bytes &bytes) { return hex(std::string(bytes.begin(), bytes.end())); }

// One digest for each picture and pair of levels, keyed "<picture>
// <luminance> <chrominance>": the SHA-256 of the file's and the preview's
// digests, one after the other, for baseline then progressive, each with
// the sharpening values in turn.
std::map<std::string, std::string> currentDigests() {
  std::map<std::string, std::string> out;
  for (const Picture &picture : pictures) {
    TBitmap bitmap = picture.channels == 0
                         ? palettedPicture(picture.width, picture.height)
                         : pixtune_tools::bitmapFromPnm(integerPicture(
                               picture.width, picture.height, picture.channels, picture.seed));
    for (const auto &levels : levelPairs) {
      std::string digests;
      for (bool progressive : {false, true})
        for (int sharpen : sharpenValues) {
          Encoded encoded =
              encodeBitmap(bitmap, params(levels[0], levels[1], progressive, sharpen));
          digests += hex(encoded.file) + hex(encoded.preview);
        }
      out[std::string(picture.name) + " " + std::to_string(levels[0]) + " " +
          std::to_string(levels[1])] = hex(digests);
    }
  }
  return out;
}

std::map<std::string, std::string> storedDigests(const std::string &path) {
  std::map<std::string, std::string> out;
  std::istringstream text(testing_support::readFile(path));
  std::string name, luminance, chrominance, digest;
  while (text >> name >> luminance >> chrominance >> digest)
    out[name + " " + luminance + " " + chrominance] = digest;
  return out;
}

} // namespace

TEST(EncoderDigests, EveryFileAndPreviewKeepsItsBytes) {
  std::map<std::string, std::string> now = currentDigests();
  if (const char *target = std::getenv("PIXTUNE_WRITE_DIGESTS")) {
    std::ofstream out(target);
    for (const auto &[key, digest] : now)
      out << key << ' ' << digest << '\n';
    GTEST_SKIP() << "wrote " << now.size() << " digests to " << target;
  }
  std::map<std::string, std::string> stored =
      storedDigests(testing_support::sourcePath("jpeg/tests/data/encoder-digests.txt"));
  ASSERT_EQ(stored.size(), now.size()) << "the stored list covers every case";
  for (const auto &[key, digest] : now)
    EXPECT_EQ(stored[key], digest) << key << ": the bytes of a file or preview changed";
}

TEST(EncoderDigests, DigestIsSha256) {
  // The list must be checkable with sha256sum; known answers for a tail of
  // one chunk and of two.
  const std::uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(testing_support::sha256Hex(abc, 3),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  std::string sixty(60, 'x');
  EXPECT_EQ(testing_support::sha256Hex(reinterpret_cast<const std::uint8_t *>(sixty.data()),
                                       sixty.size()),
            "42f2d97335669f86846b721a8aa58551a46564eaf6977e3b4836d4645e3e3ed2");
}
