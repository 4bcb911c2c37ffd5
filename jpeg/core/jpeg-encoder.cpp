// The encoder: tables, frame headers, colour conversion and the forward
// transform, the quantiser, the baseline scan and the bit writer.
#include "jpeg/core/jpeg-encoder.h"

#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/dct.h"
#include "jpeg/core/jpeg-errors.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixtune {

namespace {

// JPEG example tables (T.81 Annex K, Tables K.1 and K.2), row-major.
const std::uint8_t LuminanceBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const std::uint8_t ChrominanceBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Largest magnitude a baseline AC coefficient may carry (category 10).
constexpr int MaxAcValue = 1023;

// Lanes of the quantiser's activity sum (zigzag positions 10..63), in
// zigzag and in natural order.
struct ActivityLanes {
  std::int16_t zigzag[64], natural[64];
  std::uint8_t naturalToZigzag[64];
  ActivityLanes() {
    for (int k = 0; k < 64; ++k) {
      zigzag[k] = natural[ZigzagToNatural[k]] = static_cast<std::int16_t>(k >= 10 ? -1 : 0);
      naturalToZigzag[ZigzagToNatural[k]] = static_cast<std::uint8_t>(k);
    }
  }
};
const ActivityLanes activityLanes;
const std::int16_t *const ZigzagActivityLanes = activityLanes.zigzag;
const std::int16_t *const NaturalActivityLanes = activityLanes.natural;
const std::uint8_t *const NaturalToZigzag = activityLanes.naturalToZigzag;

inline bool isFirstRowOrColumn(int natural) {
  return natural != 0 && (natural < 8 || natural % 8 == 0);
}

} // namespace

TJpegEncoder::TJpegEncoder(std::uint8_t *source, std::size_t sourceBytes, std::uint8_t *pixels,
                           std::size_t pixelBytes, TStream &output, std::uint8_t *preview,
                           std::size_t previewBytes, ProgressSink *progress,
                           BlockAllocator &allocator)
    : image_(source, sourceBytes, pixels, pixelBytes), output_(output), preview_(preview),
      progress_(progress), allocator_(allocator) {
  if (preview_ && previewBytes < image_.ImageBytes())
    throw TVMError(ErrorBadImage);
  SetImage();
  AllocatePlanes();
}

TJpegEncoder::~TJpegEncoder() {
  if (planes_)
    allocator_.release(planes_);
}

void TJpegEncoder::SetImage() {
  width_ = image_.Width();
  height_ = image_.Height();
  grey_ = IsIdentityGreyPalette(image_);
  componentCount_ = grey_ ? 1 : 3;
  int mcuSide = grey_ ? 8 : 16;
  mcusX_ = (width_ + mcuSide - 1) / mcuSide;
  mcusY_ = (height_ + mcuSide - 1) / mcuSide;
  if (grey_) {
    blocksX_[0] = mcusX_;
    blocksY_[0] = mcusY_;
    return;
  }
  blocksX_[0] = 2 * mcusX_;
  blocksY_[0] = 2 * mcusY_;
  for (int c = 1; c < 3; ++c) {
    blocksX_[c] = mcusX_;
    blocksY_[c] = mcusY_;
  }
}

void TJpegEncoder::AllocatePlanes() {
  std::uint64_t blocks = 0;
  for (int c = 0; c < componentCount_; ++c) {
    planeOffset_[c] = static_cast<std::size_t>(blocks);
    blocks += static_cast<std::uint64_t>(blocksX_[c]) * static_cast<std::uint64_t>(blocksY_[c]);
  }
  // A packed block takes at most its mask and all 64 values.
  std::uint64_t bytes = 0;
  if (!multiplySize(blocks, sizeof(std::uint64_t) + 64 * sizeof(std::int16_t), bytes))
    throw TVMError(ErrorOutOfMemory);
  planes_ = static_cast<std::int16_t *>(allocateOrThrow(allocator_, bytes));
  packed_ = reinterpret_cast<std::uint8_t *>(planes_);

  // JFIF colour equations in 16.16 fixed point, one table per term. The
  // luminance carries -127.5 (level shift less the rounding half) in its
  // blue column so that a sum shifted by 16 is Y - 128 rounded; the chroma
  // offsets of 128 ride on their blue and red columns.
  for (int i = 0; i < 256; ++i) {
    rgbToY_[0][i] = 19595 * i;
    rgbToY_[1][i] = 38470 * i;
    rgbToY_[2][i] = 7471 * i - 8355840;
    rgbToCb_[0][i] = -11059 * i;
    rgbToCb_[1][i] = -21709 * i;
    rgbToCb_[2][i] = 32768 * i + 8388608;
    rgbToCr_[0][i] = 32768 * i + 8388608;
    rgbToCr_[1][i] = -27439 * i;
    rgbToCr_[2][i] = -5329 * i;
  }
}

bool TJpegEncoder::Encode(const CompressionParams &params) {
  progressive_ = params.progressive != 0;
  bitBuffer_ = 0;
  bitCount_ = 0;
  sinkFill_ = 0;
  int sharpen = params.sharpen;
  sharpenThreshold_ = (600050 - 6000 * (35 * sharpen / 36)) / 100;

  luminanceLevel_ = std::max<int>(params.luminance, 1);
  BuildQuantTables(params.luminance, params.chrominance);
  WriteFrameHeaders();
  FlushSink();
  ScaleOutputQuantTables();

  bool withPreview = preview_ != nullptr;
  ReadBlocks(0, withPreview ? 20 : 35);
  if (progressive_)
    EncodeProgressiveScans(withPreview ? 20 : 35, withPreview ? 70 : 100);
  else
    EncodeBaselineScans(withPreview ? 20 : 35, withPreview ? 70 : 100);
  FlushBits();
  PutMarker(0xD9);
  FlushSink();
  if (withPreview)
    ReconstructPreview(70, 100);
  if (progress_)
    progress_->end();
  return true;
}

void TJpegEncoder::BuildQuantTables(int luminance, int chrominance) {
  const int levels[2] = {luminance, chrominance};
  const std::uint8_t *bases[2] = {LuminanceBase, ChrominanceBase};
  for (int t = 0; t < 2; ++t) {
    int level = std::clamp(levels[t], 1, 255);
    int scale = level <= 127 ? 2 * level : 7 * level - 633;
    scale = std::max(scale, 1);
    for (int k = 0; k < 64; ++k) {
      int natural = ZigzagToNatural[k];
      int entry = std::clamp((bases[t][natural] * scale + 128) / 256, 1, 255);
      dqtTables_[t][k] = static_cast<std::int16_t>(entry);
      divisors_[t][k] = static_cast<std::int16_t>(entry);
      // The preview's inverse transform folds C(0) = 1/sqrt2 of the JPEG
      // definition into the first row and column here.
      workingTables_[t][k] = isFirstRowOrColumn(natural) ? entry * 23171 : entry;
    }
  }
}

void TJpegEncoder::ScaleOutputQuantTables() {
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 64; ++k) {
      divisors_[t][k] = static_cast<std::int16_t>(divisors_[t][k] * 8);
      naturalDivisors_[t][ZigzagToNatural[k]] = divisors_[t][k];
    }
}

void TJpegEncoder::WriteFrameHeaders() {
  PutMarker(0xD8);
  static const std::uint8_t app0[] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0,
                                      1,    1,    1, 0,  0,   0,   0,   0,   0};
  for (std::uint8_t byte : app0)
    PutByte(byte);
  for (int t = 0; t < (grey_ ? 1 : 2); ++t) {
    PutMarker(0xDB);
    PutWord(67);
    PutByte(static_cast<std::uint8_t>(t));
    for (int k = 0; k < 64; ++k)
      PutByte(static_cast<std::uint8_t>(dqtTables_[t][k]));
  }
  PutMarker(progressive_ ? 0xC2 : 0xC0);
  PutWord(grey_ ? 11 : 17);
  PutByte(8);
  PutWord(static_cast<unsigned>(height_));
  PutWord(static_cast<unsigned>(width_));
  PutByte(static_cast<std::uint8_t>(componentCount_));
  for (int c = 0; c < componentCount_; ++c) {
    PutByte(static_cast<std::uint8_t>(c + 1));
    PutByte(c == 0 && !grey_ ? 0x22 : 0x11);
    PutByte(c == 0 ? 0 : 1);
  }
}

void TJpegEncoder::ReadBlocks(int startPercent, int endPercent) {
  ProgressBegin(startPercent, endPercent, mcusY_);
  int side = grey_ ? 8 : 16;
  std::vector<const std::uint8_t *> rows(static_cast<std::size_t>(side));
  std::vector<std::uint8_t> expanded;
  // Byte offset of every column of the padded width; the padding repeats
  // the last column.
  int bytesPerSample = grey_ ? 1 : 3;
  columnOffsets_.resize(static_cast<std::size_t>(mcusX_) * static_cast<std::size_t>(side));
  for (std::size_t x = 0; x < columnOffsets_.size(); ++x)
    columnOffsets_[x] = std::min(static_cast<int>(x), width_ - 1) * bytesPerSample;
  // The baseline scan's symbols are counted here, block by block in MCU
  // order, while each block is at hand.
  packedBytes_ = 0;
  std::fill(lastDc_, lastDc_ + 3, 0);
  for (auto &counts : frequencies_)
    std::fill(counts, counts + 257, 0u);
  for (int mcuRow = 0; mcuRow < mcusY_; ++mcuRow) {
    ReadMcuRow(mcuRow, rows, expanded);
    ProgressTick();
  }
}

#if defined(__SSE2__)
namespace {

// 32-bit lanes of four pixels, each read as one little-endian word from its
// first byte: B | G << 8 | R << 16 | (the next pixel's blue) << 24.
inline __m128i loadFourPixels(const std::uint8_t *p) {
  std::int32_t words[4];
  std::memcpy(words, p, 4);
  std::memcpy(words + 1, p + 3, 4);
  std::memcpy(words + 2, p + 6, 4);
  std::memcpy(words + 3, p + 9, 4);
  return _mm_set_epi32(words[3], words[2], words[1], words[0]);
}

inline __m128i pairOf(int low, int high) {
  return _mm_set1_epi32(static_cast<int>((static_cast<unsigned>(high) << 16) |
                                         (static_cast<unsigned>(low) & 0xFFFFu)));
}

struct FourConverted {
  __m128i y, cb, cr; // 32-bit lanes
};

// The colour equations of the tables as the same integer sums: products
// through pmaddwd on (B, R) and (G, 0) pairs, and the factors that do not
// fit 16 bits split (38470 = 65536 - 27066; 32768 is a shift).
inline FourConverted convertFour(const std::uint8_t *p) {
  const __m128i lowBytes = _mm_set1_epi32(0xFF);
  __m128i v = loadFourPixels(p);
  __m128i blueRed = _mm_and_si128(v, _mm_set1_epi32(0x00FF00FF)); // pairs (B, R)
  __m128i green = _mm_and_si128(_mm_srli_epi32(v, 8), lowBytes);  // pairs (G, 0)
  __m128i blue = _mm_and_si128(v, lowBytes);
  __m128i red = _mm_and_si128(_mm_srli_epi32(v, 16), lowBytes);
  FourConverted out;
  // Y: 19595 R + 38470 G + 7471 B - 8355840.
  out.y = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(blueRed, pairOf(7471, 19595)),
                                      _mm_madd_epi16(green, pairOf(-27066, 0))),
                        _mm_add_epi32(_mm_slli_epi32(green, 16), _mm_set1_epi32(-8355840)));
  // Cb: -11059 R - 21709 G + 32768 B + 8388608.
  out.cb = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(blueRed, pairOf(0, -11059)),
                                       _mm_madd_epi16(green, pairOf(-21709, 0))),
                         _mm_add_epi32(_mm_slli_epi32(blue, 15), _mm_set1_epi32(8388608)));
  // Cr: 32768 R - 27439 G - 5329 B + 8388608.
  out.cr = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(blueRed, pairOf(-5329, 0)),
                                       _mm_madd_epi16(green, pairOf(-27439, 0))),
                         _mm_add_epi32(_mm_slli_epi32(red, 15), _mm_set1_epi32(8388608)));
  out.y = _mm_srai_epi32(out.y, 16);
  out.cb = _mm_srai_epi32(out.cb, 16);
  out.cr = _mm_srai_epi32(out.cr, 16);
  return out;
}

} // namespace

// Eight pixels at a time: luminance into luma, and Cb and Cr of each
// horizontal pixel pair added to the sums (the caller clears them on even
// rows). Each pixel is read as a 4-byte word, so the last pixel of the row
// is left to the caller. Returns the pixels converted, a multiple of 8.
int TJpegEncoder::ConvertPixelsSse2(const std::uint8_t *p, int count, std::int16_t *luma,
                                    int *cbSums, int *crSums) {
  const __m128i ones = _mm_set1_epi16(1);
  for (int x = 0; x < count; x += 8, p += 24) {
    FourConverted a = convertFour(p), b = convertFour(p + 12);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(luma + x), _mm_packs_epi32(a.y, b.y));
    __m128i *cbOut = reinterpret_cast<__m128i *>(cbSums + x / 2);
    __m128i *crOut = reinterpret_cast<__m128i *>(crSums + x / 2);
    _mm_storeu_si128(cbOut, _mm_add_epi32(_mm_loadu_si128(cbOut),
                                          _mm_madd_epi16(_mm_packs_epi32(a.cb, b.cb), ones)));
    _mm_storeu_si128(crOut, _mm_add_epi32(_mm_loadu_si128(crOut),
                                          _mm_madd_epi16(_mm_packs_epi32(a.cr, b.cr), ones)));
  }
  return count;
}
#endif

// Level-shifts, converts and transforms one row of MCUs. Rows and columns
// past the image repeat its last row and column.
void TJpegEncoder::ReadMcuRow(int mcuRow, std::vector<const std::uint8_t *> &rows,
                              std::vector<std::uint8_t> &expanded) {
  int side = static_cast<int>(rows.size());
  bool paletted = !grey_ && image_.BitsPerPixel() == 8;
  if (paletted && expanded.empty())
    expanded.resize(static_cast<std::size_t>(side) * static_cast<std::size_t>(width_) * 3);
  for (int r = 0; r < side; ++r) {
    int y = std::min(mcuRow * side + r, height_ - 1);
    const std::uint8_t *row = image_.TopRow(y);
    if (paletted) {
      // An 8-bit image without the grey ramp is coded in colour through
      // its palette.
      std::uint8_t *out =
          expanded.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width_) * 3;
      for (int x = 0; x < width_; ++x)
        std::memcpy(out + 3 * x, image_.Palette() + 4 * row[x], 3);
      row = out;
    }
    rows[static_cast<std::size_t>(r)] = row;
  }

  std::int16_t samples[64];
  if (grey_) {
    for (int mx = 0; mx < mcusX_; ++mx) {
      for (int r = 0; r < 8; ++r)
        for (int i = 0; i < 8; ++i)
          samples[r * 8 + i] =
              static_cast<std::int16_t>(rows[static_cast<std::size_t>(r)]
                                            [columnOffsets_[static_cast<std::size_t>(mx * 8 + i)]] -
                                        128);
      TransformAndStore(samples, 0, mx, mcuRow);
    }
    return;
  }

  // Convert the MCU row a whole pixel row at a time (the source is read in
  // order): luminance into 16 rows of the padded width, chroma summed over
  // each 2x2 group. Padding columns repeat the last pixel's values.
  std::size_t paddedWidth = static_cast<std::size_t>(mcusX_) * 16, half = paddedWidth / 2;
  lumaRows_.resize(16 * paddedWidth);
  chromaSums_.resize(2 * 8 * half);
  for (int r = 0; r < 16; ++r) {
    const std::uint8_t *p = rows[static_cast<std::size_t>(r)];
    std::int16_t *luma = lumaRows_.data() + static_cast<std::size_t>(r) * paddedWidth;
    int *cbSums = chromaSums_.data() + static_cast<std::size_t>(r >> 1) * half;
    int *crSums = cbSums + 8 * half;
    if ((r & 1) == 0) {
      std::fill(cbSums, cbSums + half, 0);
      std::fill(crSums, crSums + half, 0);
    }
    int x = 0;
#if defined(__SSE2__)
    x = ConvertPixelsSse2(p, (width_ - 1) & ~7, luma, cbSums, crSums);
    p += 3 * x;
#endif
    int cb = 0, cr = 0;
    for (; x < width_; ++x, p += 3) {
      int b = p[0], g = p[1], red = p[2];
      luma[x] = static_cast<std::int16_t>((rgbToY_[0][red] + rgbToY_[1][g] + rgbToY_[2][b]) >> 16);
      cb = (rgbToCb_[0][red] + rgbToCb_[1][g] + rgbToCb_[2][b]) >> 16;
      cr = (rgbToCr_[0][red] + rgbToCr_[1][g] + rgbToCr_[2][b]) >> 16;
      cbSums[x >> 1] += cb;
      crSums[x >> 1] += cr;
    }
    for (std::size_t x = static_cast<std::size_t>(width_); x < paddedWidth; ++x) {
      luma[x] = luma[width_ - 1];
      cbSums[x >> 1] += cb;
      crSums[x >> 1] += cr;
    }
  }

  bool lastRow = (mcuRow + 1) * 16 > height_;
  for (int mx = 0; mx < mcusX_; ++mx) {
    for (int blockIndex = 0; blockIndex < 4; ++blockIndex) {
      const std::int16_t *from =
          lumaRows_.data() + static_cast<std::size_t>(blockIndex >> 1) * 8 * paddedWidth +
          static_cast<std::size_t>(mx) * 16 + static_cast<std::size_t>(blockIndex & 1) * 8;
      for (int r = 0; r < 8; ++r, from += paddedWidth)
        std::copy(from, from + 8, samples + 8 * r);
      TransformAndStore(samples, 0, 2 * mx + (blockIndex & 1), 2 * mcuRow + (blockIndex >> 1));
    }
    // Averaging bias: 1, 2, 1, 2 along a chroma row inside the image, 3 in
    // an MCU that reaches past the right or bottom edge.
    bool edge = lastRow || (mx + 1) * 16 > width_;
    for (int c = 0; c < 2; ++c) {
      const int *sums = chromaSums_.data() + static_cast<std::size_t>(c) * 8 * half +
                        static_cast<std::size_t>(mx) * 8;
#if defined(__SSE2__)
      const __m128i bias = edge ? _mm_set1_epi32(3) : _mm_set_epi32(2, 1, 2, 1);
      const __m128i level = _mm_set1_epi32(128);
      for (int r = 0; r < 8; ++r) {
        const int *row = sums + static_cast<std::size_t>(r) * half;
        __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row));
        __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 4));
        lo = _mm_sub_epi32(_mm_srai_epi32(_mm_add_epi32(lo, bias), 2), level);
        hi = _mm_sub_epi32(_mm_srai_epi32(_mm_add_epi32(hi, bias), 2), level);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(samples + 8 * r), _mm_packs_epi32(lo, hi));
      }
#else
      for (int n = 0; n < 64; ++n) {
        int bias = edge ? 3 : 1 + (n & 1);
        samples[n] = static_cast<std::int16_t>(
            ((sums[static_cast<std::size_t>(n >> 3) * half + (n & 7)] + bias) >> 2) - 128);
      }
#endif
      TransformAndStore(samples, 1 + c, mx, mcuRow);
    }
  }
}

// Transforms one block of samples, quantises it and stores it in zigzag
// order, into its plane or packed. With SSE2 the quantiser runs on the
// natural order (with the divisors and the activity set reordered to match)
// and only the non-zero coefficients are moved into place.
void TJpegEncoder::TransformAndStore(std::int16_t samples[64], int component, int blockX,
                                     int blockY) {
  int table = component == 0 ? 0 : 1;
  ForwardDct(samples);
#if defined(__SSE2__)
  QuantizeSse2(samples, naturalDivisors_[table], NaturalActivityLanes);
  std::uint64_t natural = NonZeroMask(samples);
  if (!progressive_) {
    PackBlock(samples, natural, component);
    return;
  }
  std::int16_t *block = Block(component, blockX, blockY);
  const __m128i zero = _mm_setzero_si128();
  for (int v = 0; v < 8; ++v)
    _mm_storeu_si128(reinterpret_cast<__m128i *>(block + 8 * v), zero);
  for (; natural; natural &= natural - 1) {
    int n = LowestBit(natural);
    block[NaturalToZigzag[n]] = samples[n];
  }
#else
  std::int16_t zigzag[64];
  std::int16_t *block = progressive_ ? Block(component, blockX, blockY) : zigzag;
  for (int k = 0; k < 64; ++k)
    block[k] = samples[ZigzagToNatural[k]];
  QuantizeBlockReference(block, divisors_[table]);
  if (!progressive_) {
    for (int k = 0; k < 64; ++k)
      samples[ZigzagToNatural[k]] = block[k];
    PackBlock(samples, NonZeroMask(samples), component);
  }
#endif
}

// Packs a quantised block given in natural order with the mask of its
// non-zero coefficients, and counts its symbols on the way: only the
// non-zero AC coefficients are visited; the zeros between two of them are
// the run.
void TJpegEncoder::PackBlock(const std::int16_t *samples, std::uint64_t natural, int component) {
  std::uint64_t mask = 0;
  for (; natural; natural &= natural - 1)
    mask |= std::uint64_t{1} << NaturalToZigzag[LowestBit(natural)];
  std::uint8_t *out = packed_ + packedBytes_;
  std::memcpy(out, &mask, sizeof mask);
  out += sizeof mask;

  int dc = 0;
  if (mask & 1) {
    dc = samples[0];
    std::memcpy(out, samples, sizeof(std::int16_t));
    out += sizeof(std::int16_t);
  }
  int diff = dc - lastDc_[component];
  lastDc_[component] = dc;
  ++frequencies_[component == 0 ? LumDc : ChromDc]
                [BitLength(static_cast<unsigned>(diff < 0 ? -diff : diff))];
  std::uint32_t *ac = frequencies_[component == 0 ? LumAc : ChromAc];
  int last = 0;
  for (std::uint64_t m = mask & ~std::uint64_t{1}; m; m &= m - 1, out += sizeof(std::int16_t)) {
    int k = LowestBit(m);
    const std::int16_t *value = samples + ZigzagToNatural[k];
    std::memcpy(out, value, sizeof(std::int16_t));
    int run = k - last - 1;
    for (; run > 15; run -= 16)
      ++ac[0xF0];
    int c = *value;
    ++ac[(run << 4) + BitLength(static_cast<unsigned>(c < 0 ? -c : c))];
    last = k;
  }
  if (last < 63)
    ++ac[0x00];
  packedBytes_ = static_cast<std::size_t>(out - packed_);
}

// Expands one packed block into a zigzag block; returns the next one.
void TJpegEncoder::QuantizeBlock(std::int16_t *block, const std::int16_t *divisors) const {
#if defined(__SSE2__)
  QuantizeBlockSse2(block, divisors);
#else
  QuantizeBlockReference(block, divisors);
#endif
}

void TJpegEncoder::QuantizeBlockReference(std::int16_t *block, const std::int16_t *divisors) const {
  int activity = 0;
  for (int k = 10; k < 64; ++k)
    activity += block[k] < 0 ? -block[k] : block[k];
  // A busy block keeps coefficients from half a step up (plain rounding);
  // otherwise a whole step is needed (dead zone), which smooths flat areas.
  bool sharpen = activity > sharpenThreshold_ && sharpenThreshold_ < 6000;
  for (int k = 0; k < 64; ++k) {
    int c = block[k];
    int magnitude = c < 0 ? -c : c;
    int d = divisors[k], h = d >> 1;
    if (magnitude < (sharpen ? d - h : d)) {
      block[k] = 0;
      continue;
    }
    int q = (magnitude + h) / d;
    if (k > 0 && q > MaxAcValue)
      q = MaxAcValue;
    block[k] = static_cast<std::int16_t>(c < 0 ? -q : q);
  }
}

#if defined(__SSE2__)
// The same rules four coefficients at a time, in 32-bit lanes. The integer
// quotient (magnitude + h) / d is taken from a single-precision division
// truncated toward zero: both operands are exact in a float, and when the
// true quotient lies below an integer k + 1 it lies at least 1/d below,
// which is more than half a float step there as long as (k + 1) x d stays
// below 2^24 (here at most 32768 + 2 x 32767), so the rounded quotient never
// reaches k + 1.
void TJpegEncoder::QuantizeBlockSse2(std::int16_t *block, const std::int16_t *divisors) const {
  QuantizeSse2(block, divisors, ZigzagActivityLanes);
}

void TJpegEncoder::QuantizeSse2(std::int16_t *block, const std::int16_t *divisors,
                                const std::int16_t *activityLanes) const {
  const __m128i zero = _mm_setzero_si128();
  __m128i coefficients[8], signs[8], magnitudes[8];
  __m128i activity = zero;
  for (int v = 0; v < 8; ++v) {
    coefficients[v] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 8 * v));
    signs[v] = _mm_srai_epi16(coefficients[v], 15);
    // |c| as an unsigned 16-bit value (32768 for -32768).
    magnitudes[v] = _mm_sub_epi16(_mm_xor_si128(coefficients[v], signs[v]), signs[v]);
  }
  // Activity over zigzag coefficients 10..63, wherever they lie.
  for (int v = 0; v < 8; ++v) {
    __m128i m = _mm_and_si128(
        magnitudes[v], _mm_loadu_si128(reinterpret_cast<const __m128i *>(activityLanes + 8 * v)));
    activity = _mm_add_epi32(activity, _mm_unpacklo_epi16(m, zero));
    activity = _mm_add_epi32(activity, _mm_unpackhi_epi16(m, zero));
  }
  alignas(16) std::int32_t sums[4];
  _mm_store_si128(reinterpret_cast<__m128i *>(sums), activity);
  long total = static_cast<long>(sums[0]) + sums[1] + sums[2] + sums[3];
  bool sharpen = total > sharpenThreshold_ && sharpenThreshold_ < 6000;

  for (int v = 0; v < 8; ++v) {
    __m128i d16 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(divisors + 8 * v));
    __m128i dLanes[2] = {_mm_unpacklo_epi16(d16, zero), _mm_unpackhi_epi16(d16, zero)};
    __m128i mLanes[2] = {_mm_unpacklo_epi16(magnitudes[v], zero),
                         _mm_unpackhi_epi16(magnitudes[v], zero)};
    __m128i sLanes[2] = {_mm_unpacklo_epi16(signs[v], signs[v]),
                         _mm_unpackhi_epi16(signs[v], signs[v])};
    __m128i results[2], keeps[2], halves[2];
    for (int half = 0; half < 2; ++half) {
      __m128i d = dLanes[half];
      halves[half] = _mm_srai_epi32(d, 1);
      __m128i threshold = sharpen ? _mm_sub_epi32(d, halves[half]) : d;
      keeps[half] = _mm_cmpgt_epi32(mLanes[half], _mm_sub_epi32(threshold, _mm_set1_epi32(1)));
    }
    // Most coefficients of a coarse level fall in the dead zone: eight of
    // them need no division then.
    if (_mm_movemask_epi8(_mm_or_si128(keeps[0], keeps[1])) == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i *>(block + 8 * v), zero);
      continue;
    }
    for (int half = 0; half < 2; ++half) {
      __m128i d = dLanes[half], m = mLanes[half], h = halves[half], keep = keeps[half];
      __m128 quotient = _mm_div_ps(_mm_cvtepi32_ps(_mm_add_epi32(m, h)), _mm_cvtepi32_ps(d));
      __m128i q = _mm_cvttps_epi32(quotient);
      // AC values above the largest baseline category are capped; DC is not.
      __m128i cap = _mm_set1_epi32(MaxAcValue);
      if (v == 0 && half == 0)
        cap = _mm_set_epi32(MaxAcValue, MaxAcValue, MaxAcValue, 0x7FFFFFFF);
      __m128i over = _mm_cmpgt_epi32(q, cap);
      q = _mm_or_si128(_mm_and_si128(over, cap), _mm_andnot_si128(over, q));
      q = _mm_sub_epi32(_mm_xor_si128(q, sLanes[half]), sLanes[half]);
      results[half] = _mm_and_si128(q, keep);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i *>(block + 8 * v),
                     _mm_packs_epi32(results[0], results[1]));
  }
}
#endif

// The symbols were counted and the blocks packed as they were read; the
// empty step that once counted them still reports its rows, so that the
// progress a host sees is unchanged.
void TJpegEncoder::EncodeBaselineScans(int startPercent, int endPercent) {
  int middle = (startPercent + endPercent) / 2;
  ProgressBegin(startPercent, middle, mcusY_);
  for (int my = 0; my < mcusY_; ++my)
    ProgressTick();

  for (int slot = 0; slot < (grey_ ? 2 : 4); ++slot)
    BuildTable(slot);
  WriteBaselineScanHeaders();

  ProgressBegin(middle, endPercent, mcusY_);
  std::fill(lastDc_, lastDc_ + 3, 0);
  const std::uint8_t *packed = packed_;
  auto encodeNext = [&](int c) {
    std::uint64_t mask;
    std::memcpy(&mask, packed, sizeof mask);
    packed += sizeof mask;
    std::int16_t dc = 0;
    if (mask & 1)
      std::memcpy(&dc, packed, sizeof dc);
    int diff = dc - lastDc_[c];
    lastDc_[c] = dc;
    packed = EncodeBlock(mask, packed, diff, c == 0 ? LumDc : ChromDc, c == 0 ? LumAc : ChromAc);
  };
  for (int my = 0; my < mcusY_; ++my) {
    for (int mx = 0; mx < mcusX_; ++mx) {
      for (int i = 0; i < (grey_ ? 1 : 4); ++i)
        encodeNext(0);
      if (!grey_) {
        encodeNext(1);
        encodeNext(2);
      }
    }
    ProgressTick();
  }
}

// Progressive: the blocks were quantised as they were read; the scans read
// the planes many times. The empty step that once quantised them still
// reports its rows, so that the progress a host sees is unchanged.
void TJpegEncoder::EncodeProgressiveScans(int startPercent, int endPercent) {
  ProgressBegin(startPercent, startPercent, mcusY_);
  for (int my = 0; my < mcusY_; ++my)
    ProgressTick();
  RunProgressiveScans(startPercent, endPercent);
}

void TJpegEncoder::BuildTable(int slot) {
  std::uint32_t counts[256];
  std::copy(frequencies_[slot], frequencies_[slot] + 256, counts);
  BuildOptimalHuffmanTable(counts, tables_[slot]);
  BuildHuffmanCode(tables_[slot]);
}

void TJpegEncoder::WriteHuffmanTable(int slot, int classAndId) {
  const HuffmanTable &table = tables_[slot];
  PutMarker(0xC4);
  PutWord(static_cast<unsigned>(2 + 1 + 16 + table.valueCount));
  PutByte(static_cast<std::uint8_t>(classAndId));
  for (int n = 1; n <= 16; ++n)
    PutByte(table.bits[n]);
  for (int i = 0; i < table.valueCount; ++i)
    PutByte(table.values[i]);
}

void TJpegEncoder::WriteBaselineScanHeaders() {
  WriteHuffmanTable(LumDc, 0x00);
  WriteHuffmanTable(LumAc, 0x10);
  if (!grey_) {
    WriteHuffmanTable(ChromDc, 0x01);
    WriteHuffmanTable(ChromAc, 0x11);
  }
  PutMarker(0xDA);
  PutWord(static_cast<unsigned>(6 + 2 * componentCount_));
  PutByte(static_cast<std::uint8_t>(componentCount_));
  for (int c = 0; c < componentCount_; ++c) {
    PutByte(static_cast<std::uint8_t>(c + 1));
    PutByte(c == 0 ? 0x00 : 0x11);
  }
  PutByte(0);
  PutByte(63);
  PutByte(0);
}

// A symbol's code and the value bits after it go to the bit writer as one
// field (at most 16 + 11 bits). values are the block's non-zero
// coefficients in zigzag order, as packed; returns the end of them. The
// bit window is held in locals for the block: stores into the sink could
// otherwise alias it and force it back to memory after every field.
const std::uint8_t *TJpegEncoder::EncodeBlock(std::uint64_t mask, const std::uint8_t *values,
                                              int dcDiff, int dcSlot, int acSlot) {
  const HuffmanTable &dc = tables_[dcSlot], &ac = tables_[acSlot];
  std::uint64_t window = bitBuffer_;
  int filled = bitCount_;
  auto put = [&](std::uint32_t field, int count) {
    window = window << count | field;
    filled += count;
    if (filled >= 32) {
      bitBuffer_ = window;
      bitCount_ = filled;
      EmitWord();
      window = bitBuffer_;
      filled = bitCount_;
    }
  };
  // A symbol without a code means the counted and coded passes disagree.
  auto putAcSymbol = [&](int symbol, std::uint32_t bits, int n) {
    if (ac.size[symbol] == 0)
      throw TVMError(ErrorWriteFailed);
    put(std::uint32_t{ac.code[symbol]} << n | bits, ac.size[symbol] + n);
  };

  int magnitude = dcDiff < 0 ? -dcDiff : dcDiff;
  int n = BitLength(static_cast<unsigned>(magnitude));
  if (dc.size[n] == 0)
    throw TVMError(ErrorWriteFailed);
  std::uint32_t bits =
      static_cast<std::uint32_t>(dcDiff < 0 ? dcDiff - 1 : dcDiff) & ((1u << n) - 1);
  put(std::uint32_t{dc.code[n]} << n | bits, dc.size[n] + n);
  if (mask & 1)
    values += sizeof(std::int16_t);
  mask &= ~std::uint64_t{1};
  int last = 0;
  for (; mask; mask &= mask - 1, values += sizeof(std::int16_t)) {
    int k = LowestBit(mask);
    int run = k - last - 1;
    for (; run > 15; run -= 16)
      putAcSymbol(0xF0, 0, 0);
    std::int16_t value;
    std::memcpy(&value, values, sizeof value);
    int c = value;
    magnitude = c < 0 ? -c : c;
    n = BitLength(static_cast<unsigned>(magnitude));
    bits = static_cast<std::uint32_t>(c < 0 ? c - 1 : c) & ((1u << n) - 1);
    putAcSymbol((run << 4) + n, bits, n);
    last = k;
  }
  if (last < 63)
    putAcSymbol(0x00, 0, 0);
  bitBuffer_ = window;
  bitCount_ = filled;
  return values;
}

void TJpegEncoder::EmitSymbol(int slot, int symbol, std::uint32_t value, int count) {
  if (gathering_) {
    ++frequencies_[slot][symbol];
    return;
  }
  const HuffmanTable &table = tables_[slot];
  if (table.size[symbol] == 0)
    throw TVMError(ErrorWriteFailed); // counted and coded passes disagree
  PutBits(std::uint32_t{table.code[symbol]} << count | (value & ((1u << count) - 1)),
          table.size[symbol] + count);
}

void TJpegEncoder::EmitBits(std::uint32_t value, int count) {
  if (!gathering_ && count > 0)
    PutBits(value, count);
}

// Bits enter at the bottom of a 64-bit window and leave as whole bytes from
// the top once 32 have gathered; a data byte 0xFF is followed by a stuffed
// 0x00. count is at most 32, so the window never holds more than 63.
void TJpegEncoder::PutBits(std::uint32_t value, int count) {
  bitBuffer_ = (bitBuffer_ << count) | (value & ((std::uint64_t{1} << count) - 1));
  bitCount_ += count;
  if (bitCount_ >= 32)
    EmitWord();
}

// The top four bytes go into the sink at once when none is 0xFF and they
// leave it short of full; otherwise byte by byte.
void TJpegEncoder::EmitWord() {
  auto word = static_cast<std::uint32_t>(bitBuffer_ >> (bitCount_ - 32));
  std::uint32_t inverted = ~word; // a 0xFF byte of word is a zero byte here
  bool hasFF = ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
  if (hasFF || sinkFill_ + 4 >= static_cast<int>(sizeof sink_)) {
    EmitWholeBytes();
    return;
  }
  bitCount_ -= 32;
  std::uint8_t *out = sink_ + sinkFill_;
  out[0] = static_cast<std::uint8_t>(word >> 24);
  out[1] = static_cast<std::uint8_t>(word >> 16);
  out[2] = static_cast<std::uint8_t>(word >> 8);
  out[3] = static_cast<std::uint8_t>(word);
  sinkFill_ += 4;
}

void TJpegEncoder::EmitWholeBytes() {
  while (bitCount_ >= 8) {
    bitCount_ -= 8;
    auto byte = static_cast<std::uint8_t>(bitBuffer_ >> bitCount_);
    PutByte(byte);
    if (byte == 0xFF)
      PutByte(0);
  }
}

// Pads the last byte with one bits.
void TJpegEncoder::FlushBits() {
  EmitWholeBytes();
  if (bitCount_ > 0) {
    PutBits(0x7F, 8 - bitCount_);
    EmitWholeBytes();
  }
  bitBuffer_ = 0;
  bitCount_ = 0;
}

void TJpegEncoder::PutByte(std::uint8_t byte) {
  sink_[sinkFill_++] = byte;
  if (sinkFill_ == static_cast<int>(sizeof sink_))
    FlushSink();
}

void TJpegEncoder::PutMarker(std::uint8_t marker) {
  PutByte(0xFF);
  PutByte(marker);
}

void TJpegEncoder::PutWord(unsigned word) {
  PutByte(static_cast<std::uint8_t>(word >> 8));
  PutByte(static_cast<std::uint8_t>(word));
}

// A stream that takes fewer bytes than offered (a full disk) fails the
// whole encode: a truncated file must never pass for a written one.
void TJpegEncoder::FlushSink() {
  if (sinkFill_ == 0)
    return;
  std::int32_t written = output_.Write(sink_, sinkFill_);
  if (written != sinkFill_)
    throw TVMError(ErrorWriteFailed);
  sinkFill_ = 0;
}

void TJpegEncoder::ProgressBegin(int startPercent, int endPercent, long units) {
  if (progress_)
    progress_->begin(startPercent, endPercent, units);
}

void TJpegEncoder::ProgressTick() {
  if (progress_)
    progress_->tick();
}

} // namespace pixtune
