// Rebuilding the compressed image for the preview from the quantised
// coefficients the encoder has just coded, instead of decoding the file.
//
// Every block holds its absolute quantised DC (both the baseline and the
// progressive coders compute differences only while coding), so the same
// walk serves both kinds of file; it visits the blocks in MCU order, the
// order in which the baseline blocks were packed.
#include "jpeg/core/jpeg-encoder.h"

#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/dct.h"

#include <algorithm>
#include <cstring>

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

// Dequantises one block, given as the mask of its non-zero zigzag
// positions and the values in that order, and transforms it. A block with
// no AC terms transforms to its DC value everywhere, so it is filled
// without the transform.
template <class NextValue>
void decodeBlock(std::uint64_t mask, NextValue nextValue, const std::int32_t *working,
                 const RangeLimit &limit, std::uint8_t out[64]) {
  if (mask <= 1) {
    std::int32_t dc = mask ? nextValue() * working[0] * (1 << (InverseInputBits - 1)) : 0;
    constexpr int shift = InverseInputBits + 2;
    std::fill(out, out + 64, limit((dc + (1 << (shift - 1))) >> shift));
    return;
  }
  std::int32_t input[64] = {};
  for (; mask; mask &= mask - 1) {
    int k = LowestBit(mask);
    std::int32_t value = nextValue() * working[k];
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
  // Baseline blocks come packed in MCU order (mask, then the non-zero
  // values); progressive ones are read whole from the planes.
  auto decode = [&](int component, int blockX, int blockY, const std::int32_t *working,
                    std::uint8_t out[64]) {
    if (progressive_) {
      const std::int16_t *block = Block(component, blockX, blockY);
      std::uint64_t mask = NonZeroMask(block), left = mask;
      decodeBlock(
          mask,
          [&] {
            int k = LowestBit(left);
            left &= left - 1;
            return static_cast<std::int32_t>(block[k]);
          },
          working, limit, out);
      return;
    }
    std::uint64_t mask;
    std::memcpy(&mask, packed, sizeof mask);
    packed += sizeof mask;
    decodeBlock(
        mask,
        [&] {
          std::int16_t value;
          std::memcpy(&value, packed, sizeof value);
          packed += sizeof value;
          return static_cast<std::int32_t>(value);
        },
        working, limit, out);
  };
  if (grey_) {
    std::uint8_t samples[64];
    for (int by = 0; by < mcusY_; ++by) {
      for (int bx = 0; bx < mcusX_; ++bx) {
        decode(0, bx, by, workingTables_[0], samples);
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
        decode(0, 2 * mx + (i & 1), 2 * my + (i >> 1), workingTables_[0], luma[i]);
      decode(1, mx, my, workingTables_[1], cb);
      decode(2, mx, my, workingTables_[1], cr);
      int columns = std::min(16, width_ - mx * 16);
      for (int r = 0; r < 16 && my * 16 + r < height_; ++r) {
        std::uint8_t *p = target.TopRow(my * 16 + r) + static_cast<std::size_t>(mx * 16) *
                                                           static_cast<std::size_t>(bytesPerPixel);
        const std::uint8_t *cbRow = cb + (r >> 1) * 8, *crRow = cr + (r >> 1) * 8;
        for (int half = 0; half < 2 && half * 8 < columns; ++half) {
          const std::uint8_t *y = luma[(r >> 3) * 2 + half] + (r & 7) * 8;
          int count = std::min(8, columns - half * 8);
          if (bytesPerPixel != 3) {
            // A paletted colour source: the preview keeps its one byte per
            // pixel as grey luminance.
            p = std::copy(y, y + count, p);
            continue;
          }
          for (int i = 0; i < count; ++i, p += 3) {
            int blue = cbRow[half * 4 + (i >> 1)], red = crRow[half * 4 + (i >> 1)];
            std::int32_t base = y[i] * 65536;
            p[0] = limit(((base + colour.blue[blue]) >> 16) - 128);
            p[1] = limit(((base + colour.greenCr[red] + colour.greenCb[blue]) >> 16) - 128);
            p[2] = limit(((base + colour.red[red]) >> 16) - 128);
          }
        }
      }
    }
    ProgressTick();
  }
}

} // namespace pixtune
