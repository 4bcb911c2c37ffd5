// Host bitmap layout and row copy.
#include "plugin-adapters/core/host-dib.h"

#include <cstring>

namespace adapters {

namespace {

void put32(std::uint8_t *p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void put16(std::uint8_t *p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

} // namespace

bool ComputeDibLayout(std::int32_t width, std::int32_t height, std::uint32_t bitsPerPixel,
                      DibLayout &layout) {
  layout = DibLayout();
  if (width < 1 || height < 1 || (bitsPerPixel != 8 && bitsPerPixel != 24))
    return false;
  std::uint64_t rowBytes =
      (static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 31) / 8 / 4 *
      4;
  std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
  if (imageBytes + DibExtraBytes > 0x7FFFFFFFu)
    return false;
  layout.bitsPerPixel = bitsPerPixel;
  layout.rowBytes = static_cast<std::uint32_t>(rowBytes);
  layout.imageBytes = static_cast<std::uint32_t>(imageBytes);
  layout.blockBytes = static_cast<std::uint32_t>(imageBytes) + DibExtraBytes;
  layout.pixelOffset = DibHeaderBytes + (bitsPerPixel == 8 ? 1024 : 0);
  return true;
}

void WriteDibHeader(std::uint8_t *block, std::int32_t width, std::int32_t height,
                    const DibLayout &layout) {
  std::memset(block, 0, layout.pixelOffset);
  put32(block + 0, DibHeaderBytes);
  put32(block + 4, static_cast<std::uint32_t>(width));
  put32(block + 8, static_cast<std::uint32_t>(height)); // positive: bottom-up
  put16(block + 12, 1);
  put16(block + 14, static_cast<std::uint16_t>(layout.bitsPerPixel));
  put32(block + 20, layout.imageBytes);
  if (layout.bitsPerPixel != 8)
    return;
  put32(block + 32, 256);
  put32(block + 36, 256);
  for (int i = 0; i < 256; ++i) {
    std::uint8_t *entry = block + DibHeaderBytes + 4 * i;
    entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
  }
}

void CopyHostRows(std::uint8_t *block, std::int32_t width, std::int32_t height,
                  const DibLayout &layout, const std::uint8_t *hostData,
                  std::int32_t hostRowBytes) {
  std::size_t rowLength = static_cast<std::size_t>(width) * (layout.bitsPerPixel / 8);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t *source =
        hostData + static_cast<std::size_t>(y) * static_cast<std::size_t>(hostRowBytes);
    std::uint8_t *target =
        block + layout.pixelOffset + static_cast<std::size_t>(height - 1 - y) * layout.rowBytes;
    std::memcpy(target, source, rowLength);
    std::memset(target + rowLength, 0, layout.rowBytes - rowLength);
    if (layout.bitsPerPixel != 24)
      continue;
    for (std::size_t x = 0; x < rowLength; x += 3) {
      std::uint8_t red = target[x];
      target[x] = target[x + 2];
      target[x + 2] = red;
    }
  }
}

} // namespace adapters
