// The encoder: tables, frame headers, colour conversion and the forward
// transform, the quantiser, the baseline scan and the bit writer.
#include "jpeg/core/jpeg-encoder.h"

#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/dct.h"
#include "jpeg/core/jpeg-errors.h"

#include <algorithm>
#include <cstring>

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
  std::uint64_t bytes = 0;
  if (!multiplySize(blocks, 64 * sizeof(std::int16_t), bytes))
    throw TVMError(ErrorOutOfMemory);
  planes_ = static_cast<std::int16_t *>(allocateOrThrow(allocator_, bytes));

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

std::int16_t *TJpegEncoder::Block(int component, int blockX, int blockY) const {
  std::size_t index =
      planeOffset_[component] +
      static_cast<std::size_t>(blockY) * static_cast<std::size_t>(blocksX_[component]) +
      static_cast<std::size_t>(blockX);
  return planes_ + index * 64;
}

bool TJpegEncoder::Encode(const CompressionParams &params) {
  progressive_ = params.progressive != 0;
  bitBuffer_ = 0;
  bitCount_ = 0;
  sinkFill_ = 0;
  outputCount_ = 0;
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
  for (auto &table : divisors_)
    for (auto &entry : table)
      entry = static_cast<std::int16_t>(entry * 8);
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
  for (int mcuRow = 0; mcuRow < mcusY_; ++mcuRow) {
    ReadMcuRow(mcuRow, rows, expanded);
    ProgressTick();
  }
}

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
      ForwardDct(samples);
      std::int16_t *block = Block(0, mx, mcuRow);
      for (int k = 0; k < 64; ++k)
        block[k] = samples[ZigzagToNatural[k]];
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
    int cb = 0, cr = 0;
    for (int x = 0; x < width_; ++x, p += 3) {
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
      ForwardDct(samples);
      std::int16_t *block = Block(0, 2 * mx + (blockIndex & 1), 2 * mcuRow + (blockIndex >> 1));
      for (int k = 0; k < 64; ++k)
        block[k] = samples[ZigzagToNatural[k]];
    }
    // Averaging bias: 1, 2, 1, 2 along a chroma row inside the image, 3 in
    // an MCU that reaches past the right or bottom edge.
    bool edge = lastRow || (mx + 1) * 16 > width_;
    std::int16_t *targets[2] = {Block(1, mx, mcuRow), Block(2, mx, mcuRow)};
    for (int c = 0; c < 2; ++c) {
      const int *sums = chromaSums_.data() + static_cast<std::size_t>(c) * 8 * half +
                        static_cast<std::size_t>(mx) * 8;
      for (int n = 0; n < 64; ++n) {
        int bias = edge ? 3 : 1 + (n & 1);
        samples[n] = static_cast<std::int16_t>(
            ((sums[static_cast<std::size_t>(n >> 3) * half + (n & 7)] + bias) >> 2) - 128);
      }
      ForwardDct(samples);
      for (int k = 0; k < 64; ++k)
        targets[c][k] = samples[ZigzagToNatural[k]];
    }
  }
}

void TJpegEncoder::QuantizeBlock(std::int16_t *block, const std::int16_t *divisors) const {
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

template <class Visit> void TJpegEncoder::ForEachMcuBlock(Visit visit) {
  for (int my = 0; my < mcusY_; ++my) {
    for (int mx = 0; mx < mcusX_; ++mx) {
      if (grey_) {
        visit(Block(0, mx, my), 0);
        continue;
      }
      for (int i = 0; i < 4; ++i)
        visit(Block(0, 2 * mx + (i & 1), 2 * my + (i >> 1)), 0);
      visit(Block(1, mx, my), 1);
      visit(Block(2, mx, my), 2);
    }
    ProgressTick();
  }
}

void TJpegEncoder::EncodeBaselineScans(int startPercent, int endPercent) {
  for (auto &counts : frequencies_)
    std::fill(counts, counts + 257, 0u);
  int middle = (startPercent + endPercent) / 2;
  ProgressBegin(startPercent, middle, mcusY_);
  std::fill(lastDc_, lastDc_ + 3, 0);
  ForEachMcuBlock([&](std::int16_t *block, int c) {
    QuantizeBlock(block, divisors_[c == 0 ? 0 : 1]);
    int diff = block[0] - lastDc_[c];
    lastDc_[c] = block[0];
    CountBlockSymbols(block, diff, c == 0 ? LumDc : ChromDc, c == 0 ? LumAc : ChromAc);
  });

  for (int slot = 0; slot < (grey_ ? 2 : 4); ++slot)
    BuildTable(slot);
  WriteBaselineScanHeaders();

  ProgressBegin(middle, endPercent, mcusY_);
  std::fill(lastDc_, lastDc_ + 3, 0);
  ForEachMcuBlock([&](std::int16_t *block, int c) {
    int diff = block[0] - lastDc_[c];
    lastDc_[c] = block[0];
    EncodeBlock(block, diff, c == 0 ? LumDc : ChromDc, c == 0 ? LumAc : ChromAc);
  });
}

// Progressive: every block is quantised once; the scans then read the
// planes many times.
void TJpegEncoder::EncodeProgressiveScans(int startPercent, int endPercent) {
  ProgressBegin(startPercent, startPercent, mcusY_);
  ForEachMcuBlock(
      [&](std::int16_t *block, int c) { QuantizeBlock(block, divisors_[c == 0 ? 0 : 1]); });
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

// Both passes walk only the non-zero AC coefficients; the zeros between
// two of them are the run.
void TJpegEncoder::CountBlockSymbols(const std::int16_t *block, int dcDiff, int dcSlot,
                                     int acSlot) {
  ++frequencies_[dcSlot][BitLength(static_cast<unsigned>(dcDiff < 0 ? -dcDiff : dcDiff))];
  std::uint32_t *ac = frequencies_[acSlot];
  std::uint64_t mask = NonZeroMask(block) & ~std::uint64_t{1};
  int last = 0;
  for (; mask; mask &= mask - 1) {
    int k = LowestBit(mask);
    int run = k - last - 1;
    for (; run > 15; run -= 16)
      ++ac[0xF0];
    int c = block[k];
    ++ac[(run << 4) + BitLength(static_cast<unsigned>(c < 0 ? -c : c))];
    last = k;
  }
  if (last < 63)
    ++ac[0x00];
}

void TJpegEncoder::EncodeBlock(const std::int16_t *block, int dcDiff, int dcSlot, int acSlot) {
  int magnitude = dcDiff < 0 ? -dcDiff : dcDiff;
  int n = BitLength(static_cast<unsigned>(magnitude));
  EmitSymbol(dcSlot, n);
  if (n)
    PutBits(static_cast<std::uint32_t>(dcDiff < 0 ? dcDiff - 1 : dcDiff), n);
  std::uint64_t mask = NonZeroMask(block) & ~std::uint64_t{1};
  int last = 0;
  for (; mask; mask &= mask - 1) {
    int k = LowestBit(mask);
    int run = k - last - 1;
    for (; run > 15; run -= 16)
      EmitSymbol(acSlot, 0xF0);
    int c = block[k];
    magnitude = c < 0 ? -c : c;
    n = BitLength(static_cast<unsigned>(magnitude));
    EmitSymbol(acSlot, (run << 4) + n);
    PutBits(static_cast<std::uint32_t>(c < 0 ? c - 1 : c), n);
    last = k;
  }
  if (last < 63)
    EmitSymbol(acSlot, 0x00);
}

void TJpegEncoder::EmitSymbol(int slot, int symbol) {
  if (gathering_) {
    ++frequencies_[slot][symbol];
    return;
  }
  const HuffmanTable &table = tables_[slot];
  if (table.size[symbol] == 0)
    throw TVMError(ErrorWriteFailed); // counted and coded passes disagree
  PutBits(table.code[symbol], table.size[symbol]);
}

void TJpegEncoder::EmitBits(std::uint32_t value, int count) {
  if (!gathering_ && count > 0)
    PutBits(value, count);
}

// Bits enter at the bottom of the window and leave as whole bytes from the
// top; a data byte 0xFF is followed by a stuffed 0x00.
void TJpegEncoder::PutBits(std::uint32_t value, int count) {
  bitBuffer_ = (bitBuffer_ << count) | (value & ((1u << count) - 1));
  bitCount_ += count;
  while (bitCount_ >= 8) {
    bitCount_ -= 8;
    auto byte = static_cast<std::uint8_t>(bitBuffer_ >> bitCount_);
    PutByte(byte);
    if (byte == 0xFF)
      PutByte(0);
  }
}

void TJpegEncoder::FlushBits() {
  if (bitCount_ > 0)
    PutBits(0x7F, 8 - bitCount_);
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
  outputCount_ += static_cast<std::uint32_t>(sinkFill_);
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
