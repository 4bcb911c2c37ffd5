// The host bitmap: the one image form Pixtune works on.
//
// Layout (one contiguous block, little-endian):
//   0   40-byte header laid out like BITMAPINFOHEADER: header size (40) at 0,
//       width at 4 (int32), height at 8 (int32, positive: rows bottom-up),
//       planes at 12, bits per pixel at 14 (uint16: 8 or 24), compression 0
//       at 16, image size at 20, resolutions at 24 and 28, colours used at
//       32 and colours important at 36;
//   40  for 8 bits per pixel a palette of 256 four-byte entries (blue,
//       green, red, 0), the identity grey ramp; absent for 24 bits;
//   then the rows, bottom image row first, each ((bits x width + 31) / 32) x 4
//       bytes; 24-bit pixels are stored blue, green, red.
// The pixels may also live in a separate buffer of the same layout (the
// dialog's working copy); a view binds header, palette and pixels.
#ifndef JPEG_CORE_HOST_BITMAP_H
#define JPEG_CORE_HOST_BITMAP_H

#include "jpeg/core/block-allocator.h"

#include <cstddef>
#include <cstdint>

namespace pixtune {

constexpr int BitmapHeaderSize = 40;
constexpr int MaxImageSide = 65535; // JPEG frame headers hold 16-bit sizes

// Bytes per row of a bitmap, padded to four bytes; 0 when it overflows.
std::uint32_t bitmapStride(std::uint32_t width, std::uint32_t bitsPerPixel);

// An owned bitmap block (header, palette, pixels), freed with its owner.
class TBitmap {
public:
  TBitmap() = default;
  TBitmap(std::uint8_t *block, std::size_t bytes, BlockAllocator &allocator)
      : block_(block), bytes_(bytes), allocator_(&allocator) {}
  ~TBitmap() { reset(); }
  TBitmap(TBitmap &&other) noexcept { *this = static_cast<TBitmap &&>(other); }
  TBitmap &operator=(TBitmap &&other) noexcept;
  TBitmap(const TBitmap &) = delete;
  TBitmap &operator=(const TBitmap &) = delete;

  std::uint8_t *Data() const { return block_; }
  std::size_t Bytes() const { return bytes_; }
  explicit operator bool() const { return block_ != nullptr; }

private:
  void reset();
  std::uint8_t *block_ = nullptr;
  std::size_t bytes_ = 0;
  BlockAllocator *allocator_ = nullptr;
};

// Binds a bitmap and its pixels without owning either. Construction checks
// the header against the bytes that are really there: a null bitmap throws
// TVMError 1005; a header that is not 40 bytes, a depth other than 8 or 24,
// compression, a size of 0 or above 65535, a top-down height, or rows that
// would run past dibBytes (or pixelBytes) throw TVMError 1006.
class TBitmapView {
public:
  TBitmapView(std::uint8_t *dib, std::size_t dibBytes, std::uint8_t *pixels = nullptr,
              std::size_t pixelBytes = 0);
  explicit TBitmapView(const TBitmap &bitmap) : TBitmapView(bitmap.Data(), bitmap.Bytes()) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bits_; }
  int PaletteEntries() const { return paletteEntries_; }
  std::uint32_t Stride() const { return stride_; }
  std::uint32_t ImageBytes() const { return stride_ * static_cast<std::uint32_t>(height_); }
  std::uint8_t *Header() const { return dib_; }
  const std::uint8_t *Palette() const { return dib_ + BitmapHeaderSize; }
  std::uint8_t *Pixels() const { return pixels_; }
  // Row y counted from the top of the picture (stored bottom-up).
  std::uint8_t *TopRow(int y) const {
    return pixels_ + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }
  std::int32_t XResolution() const;
  std::int32_t YResolution() const;

private:
  std::uint8_t *dib_;
  std::uint8_t *pixels_;
  int width_ = 0;
  int height_ = 0;
  int bits_ = 0;
  int paletteEntries_ = 0;
  std::uint32_t stride_ = 0;
};

// Allocates a bitmap with a grey-ramp palette of paletteEntries entries.
// 16 or 32 bits per pixel are recorded as 24. Throws TVMError 1005 when the
// block cannot be had or its size does not fit, 1006 for a size of 0 or
// above 65535.
TBitmap NewBitmap(int width, int height, int bitsPerPixel, int paletteEntries,
                  std::int32_t xResolution, std::int32_t yResolution,
                  BlockAllocator &allocator = defaultAllocator());

// Exchanges row k with row height-1-k; twice restores the bitmap.
void FlipDibRows(const TBitmapView &image);
// Exchanges blue and red of every 24-bit pixel; 8-bit bitmaps are left alone.
void SwapRedBlue(const TBitmapView &image);

// True for 8-bit bitmaps whose used palette entries are all grey.
bool IsGreyPalette(const TBitmapView &image);

// True for 8-bit bitmaps with the identity grey ramp: such an image is coded
// as one grey component; every other image is coded in colour.
bool IsIdentityGreyPalette(const TBitmapView &image);

} // namespace pixtune

#endif
