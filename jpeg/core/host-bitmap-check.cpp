// Host bitmap header check.
#include "jpeg/core/host-bitmap-check.h"

#include "jpeg/core/block-allocator.h"
#include "jpeg/core/byte-order.h"
#include "jpeg/core/host-bitmap.h"

namespace pixtune {

bool CheckHostBitmap(const std::uint8_t *header, std::size_t available, std::size_t &bytes) {
  bytes = 0;
  if (!header || available < BitmapHeaderSize || readLE32(header) != BitmapHeaderSize)
    return false;
  std::int32_t width = static_cast<std::int32_t>(readLE32(header + 4));
  std::int32_t height = static_cast<std::int32_t>(readLE32(header + 8));
  unsigned planes = readLE16(header + 12), bits = readLE16(header + 14);
  std::uint32_t compression = readLE32(header + 16), imageSize = readLE32(header + 20);
  std::uint32_t coloursUsed = readLE32(header + 32);
  if (width < 1 || width > MaxImageSide || height < 1 || height > MaxImageSide)
    return false;
  if (planes != 1 || compression != 0)
    return false;
  // The mode decides the palette: 8 bits always come with 256 entries,
  // 24 bits never with any.
  std::uint32_t paletteBytes;
  if (bits == 8 && (coloursUsed == 256 || coloursUsed == 0))
    paletteBytes = 1024;
  else if (bits == 24 && coloursUsed == 0)
    paletteBytes = 0;
  else
    return false;
  std::uint64_t rows = 0, total = 0;
  std::uint32_t stride = bitmapStride(static_cast<std::uint32_t>(width), bits);
  if (stride == 0 || !multiplySize(stride, static_cast<std::uint64_t>(height), rows) ||
      rows != imageSize)
    return false;
  if (!addSize(BitmapHeaderSize + paletteBytes, rows, total) || total > available)
    return false;
  bytes = static_cast<std::size_t>(total);
  return true;
}

} // namespace pixtune
