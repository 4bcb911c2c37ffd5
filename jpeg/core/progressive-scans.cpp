// Progressive scans (ITU T.81 Annex G): spectral selection and successive
// approximation, each scan coded twice, once to count its symbols and once
// to write them with tables built from those counts.
#include "jpeg/core/jpeg-encoder.h"

#include "jpeg/core/coefficient-mask.h"
#include "jpeg/core/jpeg-errors.h"

#include <algorithm>

namespace pixtune {

namespace {

// An EOB run is held until it reaches this length (its symbol holds at most
// 14 extra bits) or until a block with a new coefficient follows.
constexpr long MaxEobRun = 0x7FFF;
// Correction bits waiting for an EOB run: flush before one more block
// (up to 63 bits) could overflow the 1000-bit buffer.
constexpr int MaxPendingCorrectionBits = 1000 - 64 + 1;

ScanInfo scan(std::initializer_list<int> components, int ss, int se, int ah, int al) {
  ScanInfo info{static_cast<int>(components.size()), {0, 0, 0}, ss, se, ah, al};
  std::copy(components.begin(), components.end(), info.components);
  return info;
}

} // namespace

// Fine levels get successive approximation, so that the first scans of a
// large file already show the whole picture; coarse levels, whose files
// are small anyway, get a short script.
std::vector<ScanInfo> TJpegEncoder::SetupScanScript(int luminanceLevel, bool grey) {
  if (grey) {
    if (luminanceLevel < 50)
      return {scan({0}, 0, 0, 0, 1),  scan({0}, 1, 5, 0, 2), scan({0}, 6, 63, 0, 2),
              scan({0}, 1, 63, 2, 1), scan({0}, 0, 0, 1, 0), scan({0}, 1, 63, 1, 0)};
    if (luminanceLevel < 80)
      return {scan({0}, 0, 0, 0, 0), scan({0}, 1, 5, 0, 1), scan({0}, 6, 63, 0, 1),
              scan({0}, 1, 63, 1, 0)};
    return {scan({0}, 0, 0, 0, 0), scan({0}, 1, 63, 0, 0)};
  }
  if (luminanceLevel < 50)
    return {scan({0, 1, 2}, 0, 0, 0, 1), scan({0}, 1, 5, 0, 2),  scan({2}, 1, 63, 0, 1),
            scan({1}, 1, 63, 0, 1),      scan({0}, 6, 63, 0, 2), scan({0}, 1, 63, 2, 1),
            scan({0, 1, 2}, 0, 0, 1, 0), scan({2}, 1, 63, 1, 0), scan({1}, 1, 63, 1, 0),
            scan({0}, 1, 63, 1, 0)};
  if (luminanceLevel < 80)
    return {scan({0, 1, 2}, 0, 0, 0, 0), scan({0}, 1, 5, 0, 1),  scan({2}, 1, 63, 0, 0),
            scan({1}, 1, 63, 0, 0),      scan({0}, 6, 63, 0, 1), scan({0}, 1, 63, 1, 0)};
  return {scan({0, 1, 2}, 0, 0, 0, 0), scan({0}, 1, 63, 0, 0), scan({2}, 1, 63, 0, 0),
          scan({1}, 1, 63, 0, 0)};
}

// A scan of three components walks the MCUs; a scan of one component
// covers only that component's own blocks in raster order, so the Y blocks
// of the MCU padding are not part of it.
template <class Visit> void TJpegEncoder::ForEachScanBlock(const ScanInfo &scan, Visit visit) {
  if (scan.componentCount > 1) {
    for (int my = 0; my < mcusY_; ++my)
      for (int mx = 0; mx < mcusX_; ++mx) {
        for (int i = 0; i < 4; ++i)
          visit(Block(0, 2 * mx + (i & 1), 2 * my + (i >> 1)), 0);
        visit(Block(1, mx, my), 1);
        visit(Block(2, mx, my), 2);
      }
    return;
  }
  int c = scan.components[0];
  int columns = blocksX_[c], rows = blocksY_[c];
  if (c == 0) {
    columns = (width_ + 7) / 8;
    rows = (height_ + 7) / 8;
  }
  for (int by = 0; by < rows; ++by)
    for (int bx = 0; bx < columns; ++bx)
      visit(Block(c, bx, by), c);
}

// The coder of a scan, by its spectral start and its approximation bit,
// for one of its two passes (counting symbols or writing them), with the
// EOB run, the correction bits and the bit window cleared.
TJpegEncoder::ScanCoder TJpegEncoder::SelectScanCoder(const ScanInfo &info, bool counting) {
  gathering_ = counting;
  eobRun_ = 0;
  correctionCount_ = 0;
  bitBuffer_ = 0;
  bitCount_ = 0;
  if (info.ss == 0)
    return info.ah == 0 ? ScanCoder::DcFirst : ScanCoder::DcRefine;
  return info.ah == 0 ? ScanCoder::AcFirst : ScanCoder::AcRefine;
}

void TJpegEncoder::RunProgressiveScans(int startPercent, int endPercent) {
  std::vector<ScanInfo> script = SetupScanScript(luminanceLevel_, grey_);
  ProgressBegin(startPercent, endPercent, static_cast<long>(2 * script.size()));
  for (const ScanInfo &info : script) {
    for (int pass = 0; pass < 2; ++pass) {
      ScanCoder coder = SelectScanCoder(info, pass == 0);
      if (gathering_) {
        for (auto &counts : frequencies_)
          std::fill(counts, counts + 257, 0u);
      } else {
        WriteProgressiveScanHeaders(info);
      }
      std::fill(lastDc_, lastDc_ + 3, 0);
      int acSlot = info.components[0] == 0 ? LumAc : ChromAc;
      ForEachScanBlock(info, [&](std::int16_t *block, int c) {
        switch (coder) {
        case ScanCoder::DcFirst:
          EncodeDcFirst(block, c, info);
          break;
        case ScanCoder::DcRefine:
          EncodeDcRefine(block, info);
          break;
        case ScanCoder::AcFirst:
          EncodeAcFirst(block, acSlot, info);
          break;
        case ScanCoder::AcRefine:
          EncodeAcRefine(block, acSlot, info);
          break;
        }
      });
      if (info.ss != 0)
        EmitEobRun(acSlot);
      if (!gathering_)
        FlushBits();
      ProgressTick();
    }
  }
  gathering_ = false;
}

void TJpegEncoder::WriteProgressiveScanHeaders(const ScanInfo &info) {
  bool dcScan = info.ss == 0;
  if (dcScan && info.ah == 0) {
    bool lumaDone = false, chromaDone = false;
    for (int i = 0; i < info.componentCount; ++i) {
      if (info.components[i] == 0 && !lumaDone) {
        BuildTable(LumDc);
        WriteHuffmanTable(LumDc, 0x00);
        lumaDone = true;
      } else if (info.components[i] != 0 && !chromaDone) {
        BuildTable(ChromDc);
        WriteHuffmanTable(ChromDc, 0x01);
        chromaDone = true;
      }
    }
  } else if (!dcScan) {
    bool luma = info.components[0] == 0;
    BuildTable(luma ? LumAc : ChromAc);
    WriteHuffmanTable(luma ? LumAc : ChromAc, luma ? 0x10 : 0x11);
  }
  PutMarker(0xDA);
  PutWord(static_cast<unsigned>(6 + 2 * info.componentCount));
  PutByte(static_cast<std::uint8_t>(info.componentCount));
  for (int i = 0; i < info.componentCount; ++i) {
    int c = info.components[i];
    PutByte(static_cast<std::uint8_t>(c + 1));
    // Only the table a scan uses is named; the other selector is 0.
    int selector = 0;
    if (dcScan && info.ah == 0)
      selector = c == 0 ? 0x00 : 0x10;
    else if (!dcScan)
      selector = c == 0 ? 0x00 : 0x01;
    PutByte(static_cast<std::uint8_t>(selector));
  }
  PutByte(static_cast<std::uint8_t>(info.ss));
  PutByte(static_cast<std::uint8_t>(info.se));
  PutByte(static_cast<std::uint8_t>(info.ah << 4 | info.al));
}

void TJpegEncoder::EncodeDcFirst(const std::int16_t *block, int c, const ScanInfo &info) {
  int value = block[0] >> info.al; // arithmetic shift, as the decoder undoes it
  int diff = value - lastDc_[c];
  lastDc_[c] = value;
  int n = BitLength(static_cast<unsigned>(diff < 0 ? -diff : diff));
  EmitSymbol(c == 0 ? LumDc : ChromDc, n, static_cast<std::uint32_t>(diff < 0 ? diff - 1 : diff),
             n);
}

void TJpegEncoder::EncodeDcRefine(const std::int16_t *block, const ScanInfo &info) {
  EmitBits(static_cast<std::uint32_t>(block[0] >> info.al) & 1u, 1);
}

void TJpegEncoder::EncodeAcFirst(const std::int16_t *block, int slot, const ScanInfo &info) {
  // The band's coefficients that are non-zero once scaled toward zero
  // (the magnitude is shifted, not the signed value).
  std::uint64_t band =
      (info.se == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (info.se + 1)) - 1) &
      ~((std::uint64_t{1} << info.ss) - 1);
  std::uint64_t mask = NonZeroMask(block, info.al) & band;
  int last = info.ss - 1;
  for (; mask; mask &= mask - 1) {
    int k = LowestBit(mask);
    int c = block[k];
    int magnitude = (c < 0 ? -c : c) >> info.al;
    EmitEobRun(slot);
    int run = k - last - 1;
    for (; run > 15; run -= 16)
      EmitSymbol(slot, 0xF0);
    int n = BitLength(static_cast<unsigned>(magnitude));
    EmitSymbol(slot, (run << 4) + n, static_cast<std::uint32_t>(c < 0 ? ~magnitude : magnitude), n);
    last = k;
  }
  if (last < info.se && ++eobRun_ == MaxEobRun)
    EmitEobRun(slot);
}

// Walks only the coefficients that are non-zero at this bit; the zeros
// between them are the run. A coefficient already non-zero (magnitude
// above 1) neither ends nor counts in the run: its bit waits for the next
// symbol.
void TJpegEncoder::EncodeAcRefine(const std::int16_t *block, int slot, const ScanInfo &info) {
  std::uint64_t band =
      (info.se == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (info.se + 1)) - 1) &
      ~((std::uint64_t{1} << info.ss) - 1);
  std::uint64_t nonZero = 0, ones = 0;
  MagnitudeMasks(block, info.al, nonZero, ones);
  nonZero &= band;
  ones &= band;
  // The last coefficient that becomes non-zero in this scan.
  int lastNewlyOne = ones ? HighestBit(ones) : 0;

  int run = 0, previous = info.ss - 1;
  int pendingStart = correctionCount_; // this block's correction bits follow the run's
  int pending = 0;
  for (std::uint64_t mask = nonZero; mask; mask &= mask - 1) {
    int k = LowestBit(mask);
    run += k - previous - 1;
    previous = k;
    while (run > 15 && k <= lastNewlyOne) {
      EmitEobRun(slot);
      EmitSymbol(slot, 0xF0);
      run -= 16;
      EmitCorrectionBits(correctionBits_ + pendingStart, pending);
      pendingStart = 0;
      pending = 0;
    }
    if (!(ones >> k & 1)) {
      // Already non-zero: only its next bit, sent after the next symbol.
      int c = block[k];
      correctionBits_[pendingStart + pending++] =
          static_cast<std::uint8_t>(((c < 0 ? -c : c) >> info.al) & 1);
      continue;
    }
    EmitEobRun(slot);
    EmitSymbol(slot, (run << 4) + 1, block[k] < 0 ? 0u : 1u, 1);
    EmitCorrectionBits(correctionBits_ + pendingStart, pending);
    pendingStart = 0;
    pending = 0;
    run = 0;
  }
  run += info.se - previous;
  if (run > 0 || pending > 0) {
    ++eobRun_;
    correctionCount_ = pendingStart + pending;
    if (eobRun_ == MaxEobRun || correctionCount_ > MaxPendingCorrectionBits)
      EmitEobRun(slot);
  }
}

// Emits the pending EOB run: symbol (bits of the run) x 16, then the run's
// low bits, then the correction bits that waited for it.
void TJpegEncoder::EmitEobRun(int slot) {
  if (eobRun_ == 0)
    return;
  int n = BitLength(static_cast<unsigned>(eobRun_)) - 1;
  EmitSymbol(slot, n << 4, static_cast<std::uint32_t>(eobRun_), n);
  eobRun_ = 0;
  EmitCorrectionBits(correctionBits_, correctionCount_);
  correctionCount_ = 0;
}

// Up to 24 bits go to the bit writer as one field.
void TJpegEncoder::EmitCorrectionBits(const std::uint8_t *bits, int count) {
  if (gathering_)
    return;
  while (count > 0) {
    int chunk = std::min(count, 24);
    std::uint32_t field = 0;
    for (int i = 0; i < chunk; ++i)
      field = field << 1 | bits[i];
    PutBits(field, chunk);
    bits += chunk;
    count -= chunk;
  }
}

} // namespace pixtune
