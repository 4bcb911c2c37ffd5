// The JPEG encoder: one host bitmap in, one JFIF 1.01 file out.
//
// Colour images are converted to YCbCr with 2x2 chroma subsampling (MCU of
// four Y blocks, Cb, Cr; component ids 1, 2, 3, sampling 0x22, 0x11, 0x11,
// tables 0, 1, 1); images with the identity grey palette are coded as one
// component (id 1, sampling 0x11, table 0). Quantiser steps come from the
// JPEG example tables scaled by a compression level per component; Huffman
// tables are always computed from the image's own statistics. The output
// is either one baseline scan (SOF0) or a progressive scan script (SOF2).
// With a preview buffer the encoder also rebuilds the decoded image from
// the coefficients it coded, in the source bitmap's layout.
//
// File layout written: SOI; APP0 "JFIF\0" 1.01, units 1, densities 0;
// one DQT per table (8-bit, zigzag order); SOF0/SOF2; then per scan its
// DHT segments and SOS followed by entropy-coded data; EOI.
#ifndef JPEG_CORE_JPEG_ENCODER_H
#define JPEG_CORE_JPEG_ENCODER_H

#include "jpeg/core/block-allocator.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/huffman-table.h"
#include "jpeg/core/streams.h"

#include <cstdint>
#include <vector>

namespace pixtune {

// Six bytes; also the layout of the stored image and thumbnail parameters.
#pragma pack(push, 1)
struct CompressionParams {
  std::uint8_t luminance = 16;   // 1 finest .. 255 coarsest; 0 counts as 1
  std::uint8_t chrominance = 16; // same scale
  std::uint8_t reserved = 0;     // carried and stored, never read here
  std::uint8_t progressive = 0;  // non-zero: progressive scans
  std::int16_t sharpen = 0;      // 0..100
};
#pragma pack(pop)
static_assert(sizeof(CompressionParams) == 6, "stored as six bytes");

// Receives the encoder's progress: begin over a percentage range with a
// number of units, one tick per unit, end.
class ProgressSink {
public:
  virtual void begin(int startPercent, int endPercent, long units) = 0;
  virtual void tick() = 0;
  virtual void end() = 0;

protected:
  ~ProgressSink() = default;
};

// One progressive scan: components (0 Y, 1 Cb, 2 Cr), spectral band and
// successive-approximation bits.
struct ScanInfo {
  int componentCount;
  int components[3];
  int ss, se, ah, al;
};

class TJpegEncoder {
public:
  // source: the bitmap (checked against sourceBytes and, when pixels is
  // given, against pixelBytes); preview: null or a buffer of at least the
  // image's size in the source layout. Throws TVMError 1005 when the
  // coefficient planes cannot be allocated or would not fit 32 bits, 1006
  // for a bitmap that does not match its header or a preview buffer that is
  // too small.
  TJpegEncoder(std::uint8_t *source, std::size_t sourceBytes, std::uint8_t *pixels,
               std::size_t pixelBytes, TStream &output, std::uint8_t *preview,
               std::size_t previewBytes, ProgressSink *progress,
               BlockAllocator &allocator = defaultAllocator());
  ~TJpegEncoder();
  TJpegEncoder(const TJpegEncoder &) = delete;
  TJpegEncoder &operator=(const TJpegEncoder &) = delete;

  // Writes the whole file; returns true. Failures are thrown: TVMError 1004
  // when the stream takes fewer bytes than given, 1005 for memory, 1020
  // for an impossible Huffman table, and whatever the stream throws.
  bool Encode(const CompressionParams &params);

  bool IsGreyImage() const { return grey_; }
  // The 8-bit tables of the last Encode, in zigzag order (as in DQT).
  const std::int16_t *QuantTable(int table) const { return dqtTables_[table]; }

  // Quantises one block (zigzag order) in place with divisors that are
  // eight times the table entries.
  void QuantizeBlock(std::int16_t *block, const std::int16_t *divisors) const;
  // The one-coefficient-at-a-time form of the same rules, kept for the tests
  // and for targets without SSE2.
  void QuantizeBlockReference(std::int16_t *block, const std::int16_t *divisors) const;

  // The scan script for a luminance level; grey or colour.
  static std::vector<ScanInfo> SetupScanScript(int luminanceLevel, bool grey);

private:
  enum HuffmanSlot { LumDc, LumAc, ChromDc, ChromAc, SlotCount };

#if defined(__SSE2__)
  void QuantizeBlockSse2(std::int16_t *block, const std::int16_t *divisors) const;
  void QuantizeSse2(std::int16_t *block, const std::int16_t *divisors,
                    const std::int16_t *activityLanes) const;
  static int ConvertPixelsSse2(const std::uint8_t *p, int count, std::int16_t *luma, int *cbSums,
                               int *crSums);
#endif
  void SetImage();
  void AllocatePlanes();
  void BuildQuantTables(int luminance, int chrominance);
  void ScaleOutputQuantTables();
  void WriteFrameHeaders();
  void ReadBlocks(int startPercent, int endPercent);
  void TransformAndStore(std::int16_t samples[64], int component, int blockX, int blockY);
  void PackBlock(const std::int16_t *samples, std::uint64_t natural, int component);
  void ReadMcuRow(int mcuRow, std::vector<const std::uint8_t *> &rows,
                  std::vector<std::uint8_t> &expanded);
  void EncodeBaselineScans(int startPercent, int endPercent);
  void WriteBaselineScanHeaders();
  void EncodeProgressiveScans(int startPercent, int endPercent);
  void RunProgressiveScans(int startPercent, int endPercent);
  void WriteProgressiveScanHeaders(const ScanInfo &scan);
  void ReconstructPreview(int startPercent, int endPercent);
  void WriteHuffmanTable(int slot, int classAndId);
  void BuildTable(int slot);

  // Block walks.
  std::int16_t *Block(int component, int blockX, int blockY) const {
    std::size_t index =
        planeOffset_[component] +
        static_cast<std::size_t>(blockY) * static_cast<std::size_t>(blocksX_[component]) +
        static_cast<std::size_t>(blockX);
    return planes_ + index * 64;
  }
  template <class Visit> void ForEachScanBlock(const ScanInfo &scan, Visit visit);

  // Symbol statistics and output.
  const std::uint8_t *EncodeBlock(std::uint64_t mask, const std::uint8_t *values, int dcDiff,
                                  int dcSlot, int acSlot);
  // A symbol's code and then count bits of value; only the symbol's count
  // while gathering.
  void EmitSymbol(int slot, int symbol, std::uint32_t value = 0, int count = 0);
  void EmitBits(std::uint32_t value, int count);
  enum class ScanCoder { DcFirst, DcRefine, AcFirst, AcRefine };
  ScanCoder SelectScanCoder(const ScanInfo &scan, bool counting);
  void EncodeDcFirst(const std::int16_t *block, int component, const ScanInfo &scan);
  void EncodeAcFirst(const std::int16_t *block, int slot, const ScanInfo &scan);
  void EncodeDcRefine(const std::int16_t *block, const ScanInfo &scan);
  void EncodeAcRefine(const std::int16_t *block, int slot, const ScanInfo &scan);
  void EmitEobRun(int slot);
  void EmitCorrectionBits(const std::uint8_t *bits, int count);
  void PutBits(std::uint32_t value, int count);
  void EmitWord();
  void EmitWholeBytes();
  void FlushBits();
  void PutByte(std::uint8_t byte);
  void PutMarker(std::uint8_t marker);
  void PutWord(unsigned word);
  void FlushSink();

  void ProgressBegin(int startPercent, int endPercent, long units);
  void ProgressTick();

  TBitmapView image_;
  TStream &output_;
  std::uint8_t *preview_;
  ProgressSink *progress_;
  BlockAllocator &allocator_;
  bool grey_ = false;
  int width_ = 0, height_ = 0;
  int mcusX_ = 0, mcusY_ = 0;
  int componentCount_ = 0;
  int blocksX_[3] = {}, blocksY_[3] = {};
  std::size_t planeOffset_[3] = {}; // in blocks
  // Progressive scans revisit every block, so they keep whole planes of
  // zigzag blocks. The baseline scan counts a block's symbols as it is read
  // and codes it once more in the same MCU order, so it keeps the blocks
  // packed in that order: the 64-bit mask of the non-zero coefficients,
  // then their values in zigzag order. Only the bytes written are touched,
  // a fraction of the planes at a coarse level. The one allocation holds
  // the larger of the two forms.
  std::int16_t *planes_ = nullptr;
  std::uint8_t *packed_ = nullptr;
  std::size_t packedBytes_ = 0;
  std::vector<int> columnOffsets_;
  std::vector<std::int16_t> lumaRows_; // one MCU row of luminance, padded width
  std::vector<int> chromaSums_;        // its Cb then Cr 2x2 sums

  std::int16_t dqtTables_[2][64] = {};       // 8-bit entries as written to DQT
  std::int16_t divisors_[2][64] = {};        // eight times the entries
  std::int16_t naturalDivisors_[2][64] = {}; // the same in natural order
  std::int32_t workingTables_[2][64] = {};   // for the preview's inverse DCT
  int sharpenThreshold_ = 6000;
  int luminanceLevel_ = 1;
  bool progressive_ = false;

  std::int32_t rgbToY_[3][256] = {}, rgbToCb_[3][256] = {}, rgbToCr_[3][256] = {};

  std::uint32_t frequencies_[SlotCount][257] = {};
  HuffmanTable tables_[SlotCount];
  bool gathering_ = false;
  int lastDc_[3] = {};
  long eobRun_ = 0;
  std::uint8_t correctionBits_[1000] = {};
  int correctionCount_ = 0;

  std::uint64_t bitBuffer_ = 0;
  int bitCount_ = 0;
  std::uint8_t sink_[16000];
  int sinkFill_ = 0;
};

} // namespace pixtune

#endif
