// Host bitmap checks, allocation and the two in-place conversions.
#include "jpeg/core/host-bitmap.h"

#include "jpeg/core/byte-order.h"
#include "jpeg/core/jpeg-errors.h"

#include <algorithm>

namespace pixtune {

std::uint32_t bitmapStride(std::uint32_t width, std::uint32_t bitsPerPixel) {
  std::uint64_t bits = static_cast<std::uint64_t>(width) * bitsPerPixel + 31;
  std::uint64_t stride = bits / 32 * 4;
  return stride > MaxBlockBytes ? 0 : static_cast<std::uint32_t>(stride);
}

TBitmap &TBitmap::operator=(TBitmap &&other) noexcept {
  if (this != &other) {
    reset();
    block_ = other.block_;
    bytes_ = other.bytes_;
    allocator_ = other.allocator_;
    other.block_ = nullptr;
    other.bytes_ = 0;
  }
  return *this;
}

void TBitmap::reset() {
  if (block_)
    allocator_->release(block_);
  block_ = nullptr;
  bytes_ = 0;
}

TBitmapView::TBitmapView(std::uint8_t *dib, std::size_t dibBytes, std::uint8_t *pixels,
                         std::size_t pixelBytes)
    : dib_(dib), pixels_(pixels) {
  if (!dib)
    throw TVMError(ErrorOutOfMemory);
  if (dibBytes < BitmapHeaderSize || readLE32(dib) != BitmapHeaderSize)
    throw TVMError(ErrorBadImage);
  std::int32_t width = static_cast<std::int32_t>(readLE32(dib + 4));
  std::int32_t height = static_cast<std::int32_t>(readLE32(dib + 8));
  int bits = readLE16(dib + 14);
  std::uint32_t compression = readLE32(dib + 16);
  if (width < 1 || width > MaxImageSide || height < 1 || height > MaxImageSide)
    throw TVMError(ErrorBadImage);
  if ((bits != 8 && bits != 24) || compression != 0)
    throw TVMError(ErrorBadImage);
  width_ = width;
  height_ = height;
  bits_ = bits;
  paletteEntries_ = bits == 24 ? 0 : 256;
  stride_ = bitmapStride(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(bits));
  std::uint64_t paletteEnd = BitmapHeaderSize + 4u * static_cast<unsigned>(paletteEntries_);
  std::uint64_t imageBytes = 0;
  if (stride_ == 0 || !multiplySize(stride_, static_cast<std::uint64_t>(height), imageBytes))
    throw TVMError(ErrorBadImage);
  if (paletteEnd > dibBytes)
    throw TVMError(ErrorBadImage);
  if (pixels_) {
    if (imageBytes > pixelBytes)
      throw TVMError(ErrorBadImage);
    return;
  }
  if (imageBytes > dibBytes - paletteEnd)
    throw TVMError(ErrorBadImage);
  pixels_ = dib + paletteEnd;
}

std::int32_t TBitmapView::XResolution() const {
  return static_cast<std::int32_t>(readLE32(dib_ + 24));
}
std::int32_t TBitmapView::YResolution() const {
  return static_cast<std::int32_t>(readLE32(dib_ + 28));
}

TBitmap NewBitmap(int width, int height, int bitsPerPixel, int paletteEntries,
                  std::int32_t xResolution, std::int32_t yResolution, BlockAllocator &allocator) {
  if (width < 1 || width > MaxImageSide || height < 1 || height > MaxImageSide)
    throw TVMError(ErrorBadImage);
  if (bitsPerPixel == 16 || bitsPerPixel == 32)
    bitsPerPixel = 24;
  if (bitsPerPixel != 8 && bitsPerPixel != 24)
    throw TVMError(ErrorBadImage);
  paletteEntries = std::clamp(paletteEntries, 0, 256);
  std::uint32_t stride =
      bitmapStride(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(bitsPerPixel));
  std::uint64_t imageBytes = 0, total = 0;
  if (stride == 0 || !multiplySize(stride, static_cast<std::uint64_t>(height), imageBytes) ||
      !addSize(BitmapHeaderSize + 4u * static_cast<unsigned>(paletteEntries), imageBytes, total))
    throw TVMError(ErrorOutOfMemory);
  auto *block = static_cast<std::uint8_t *>(allocateOrThrow(allocator, total, true));
  writeLE32(block, BitmapHeaderSize);
  writeLE32(block + 4, static_cast<std::uint32_t>(width));
  writeLE32(block + 8, static_cast<std::uint32_t>(height));
  writeLE16(block + 12, 1);
  writeLE16(block + 14, static_cast<std::uint16_t>(bitsPerPixel));
  writeLE32(block + 20, static_cast<std::uint32_t>(imageBytes));
  writeLE32(block + 24, static_cast<std::uint32_t>(xResolution));
  writeLE32(block + 28, static_cast<std::uint32_t>(yResolution));
  writeLE32(block + 32, static_cast<std::uint32_t>(paletteEntries));
  writeLE32(block + 36, static_cast<std::uint32_t>(paletteEntries));
  for (int i = 0; i < paletteEntries; ++i) {
    std::uint8_t *entry = block + BitmapHeaderSize + 4 * i;
    entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
  }
  return TBitmap(block, static_cast<std::size_t>(total), allocator);
}

void FlipDibRows(const TBitmapView &image) {
  std::uint32_t stride = image.Stride();
  for (int k = 0; k < image.Height() / 2; ++k) {
    std::uint8_t *a = image.TopRow(k);
    std::uint8_t *b = image.TopRow(image.Height() - 1 - k);
    std::swap_ranges(a, a + stride, b);
  }
}

void SwapRedBlue(const TBitmapView &image) {
  if (image.BitsPerPixel() != 24)
    return;
  for (int y = 0; y < image.Height(); ++y) {
    std::uint8_t *p = image.TopRow(y);
    for (int x = 0; x < image.Width(); ++x, p += 3)
      std::swap(p[0], p[2]);
  }
}

bool IsGreyPalette(const TBitmapView &image) {
  if (image.BitsPerPixel() == 24)
    return false;
  std::uint32_t used = readLE32(image.Header() + 32);
  int n = used >= 1 && used <= 255 ? static_cast<int>(used) : 1 << image.BitsPerPixel();
  const std::uint8_t *palette = image.Palette();
  for (int i = 0; i < n; ++i) {
    const std::uint8_t *e = palette + 4 * i;
    if (e[0] != e[1] || e[1] != e[2])
      return false;
  }
  return true;
}

bool IsIdentityGreyPalette(const TBitmapView &image) {
  if (image.BitsPerPixel() == 24)
    return false;
  const std::uint8_t *palette = image.Palette();
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t *e = palette + 4 * i;
    if (e[0] != i || e[1] != i || e[2] != i)
      return false;
  }
  return true;
}

} // namespace pixtune
