// Rebuilding the compressed image for the preview from the quantised
// coefficients the encoder has just coded, instead of decoding the file.
//
// Every block holds its absolute quantised DC (both the baseline and the
// progressive coders compute differences only while coding), so the same
// walk serves both kinds of file; it visits the blocks in MCU order, the
// order in which the baseline blocks were packed.
#include "jpeg/core/jpeg-encoder.h"

#include "jpeg/core/dct.h"

#include <algorithm>

namespace pixtune {

namespace {

// Maps an inverse-transform sample (centred on 0) to 0..255 through the low
// 10 bits: 0..255 stay, 256..639 saturate high, the negative wrap low.
struct RangeLimit {
  std::uint8_t table[1024];
  RangeLimit() {
    for (int i = 0; i < 1024; ++i)
      table[i] = static_cast<std::uint8_t>(i < 256 ? i : i < 640 ? 255 : 0);
  }
  std::uint8_t operator()(std::int32_t centred) const { return table[(centred + 128) & 1023]; }
};

// 16.16 terms of the inverse colour equations, centred on 127.5 to match
// the chroma the forward tables produce.
struct InverseColour {
  std::int32_t red[256], greenCr[256], greenCb[256], blue[256];
  InverseColour() {
    for (int i = 0; i < 256; ++i) {
      double centred = i - 127.5;
      red[i] = static_cast<std::int32_t>(centred * 91882 + 32768);
      blue[i] = static_cast<std::int32_t>(centred * 116130 + 32768);
      greenCr[i] = static_cast<std::int32_t>(-centred * 46802);
      greenCb[i] = static_cast<std::int32_t>(-centred * 22554 + 32768);
    }
  }
};

// Dequantises one zigzag block with a working table and transforms it.
void decodeBlock(const std::int16_t *block, const std::int32_t *working, const RangeLimit &limit,
                 std::uint8_t out[64]) {
  std::int32_t input[64] = {};
  for (int k = 0; k < 64; ++k) {
    if (block[k] == 0)
      continue;
    std::int32_t value = block[k] * working[k];
    int natural = ZigzagToNatural[k];
    if (k == 0)
      input[natural] = value * (1 << (InverseInputBits - 1)); // C(0)^2 = 1/2
    else if (natural < 8 || natural % 8 == 0)
      input[natural] = (value + (1 << (14 - InverseInputBits))) >> (15 - InverseInputBits);
    else
      input[natural] = value * (1 << InverseInputBits);
  }
  std::int32_t samples[64];
  InverseDct(input, samples);
  for (int i = 0; i < 64; ++i)
    out[i] = limit(samples[i]);
}

} // namespace

void TJpegEncoder::ReconstructPreview(int startPercent, int endPercent) {
  ProgressBegin(startPercent, endPercent, mcusY_);
  const RangeLimit limit;
  TBitmapView target(image_.Header(),
                     BitmapHeaderSize + 4u * static_cast<unsigned>(image_.PaletteEntries()),
                     preview_, image_.ImageBytes());
  const std::uint8_t *packed = packed_;
  std::int16_t unpacked[64];
  auto coefficients = [&](int component, int blockX, int blockY) -> const std::int16_t * {
    if (progressive_)
      return Block(component, blockX, blockY);
    packed = UnpackBlock(packed, unpacked);
    return unpacked;
  };
  if (grey_) {
    std::uint8_t samples[64];
    for (int by = 0; by < mcusY_; ++by) {
      for (int bx = 0; bx < mcusX_; ++bx) {
        decodeBlock(coefficients(0, bx, by), workingTables_[0], limit, samples);
        for (int r = 0; r < 8 && by * 8 + r < height_; ++r) {
          std::uint8_t *row = target.TopRow(by * 8 + r) + bx * 8;
          int count = std::min(8, width_ - bx * 8);
          std::copy(samples + r * 8, samples + r * 8 + count, row);
        }
      }
      ProgressTick();
    }
    return;
  }

  const InverseColour colour;
  std::uint8_t luma[4][64], cb[64], cr[64];
  int bytesPerPixel = image_.BitsPerPixel() / 8;
  for (int my = 0; my < mcusY_; ++my) {
    for (int mx = 0; mx < mcusX_; ++mx) {
      for (int i = 0; i < 4; ++i)
        decodeBlock(coefficients(0, 2 * mx + (i & 1), 2 * my + (i >> 1)), workingTables_[0], limit,
                    luma[i]);
      decodeBlock(coefficients(1, mx, my), workingTables_[1], limit, cb);
      decodeBlock(coefficients(2, mx, my), workingTables_[1], limit, cr);
      for (int r = 0; r < 16 && my * 16 + r < height_; ++r) {
        std::uint8_t *row = target.TopRow(my * 16 + r);
        for (int i = 0; i < 16 && mx * 16 + i < width_; ++i) {
          int y = luma[(r >> 3) * 2 + (i >> 3)][(r & 7) * 8 + (i & 7)];
          int chroma = (r >> 1) * 8 + (i >> 1);
          std::int32_t base = y * 65536;
          std::uint8_t *p =
              row + static_cast<std::size_t>(mx * 16 + i) * static_cast<std::size_t>(bytesPerPixel);
          std::uint8_t rgb[3] = {
              limit(((base + colour.blue[cb[chroma]]) >> 16) - 128),
              limit(((base + colour.greenCr[cr[chroma]] + colour.greenCb[cb[chroma]]) >> 16) - 128),
              limit(((base + colour.red[cr[chroma]]) >> 16) - 128)};
          if (bytesPerPixel == 3) {
            p[0] = rgb[0];
            p[1] = rgb[1];
            p[2] = rgb[2];
          } else {
            // A paletted colour source: the preview keeps its one byte per
            // pixel as grey luminance.
            *p = static_cast<std::uint8_t>(y);
          }
        }
      }
    }
    ProgressTick();
  }
}

} // namespace pixtune
