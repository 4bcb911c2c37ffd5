// The host bitmap that the adapters build from the host's image: the
// layout of its block and the copy of the host's top-down, interleaved
// rows into its bottom-up rows.
//
// Block: a 40-byte bitmap header, for 8 bits a 256-entry grey palette
// (1024 bytes), then the rows, bottom image row first, each padded to four
// bytes; 24-bit pixels in blue, green, red order. The block is always
// allocated 1064 bytes beyond the rows, palette or not.
#ifndef PLUGIN_ADAPTERS_CORE_HOST_DIB_H
#define PLUGIN_ADAPTERS_CORE_HOST_DIB_H

#include <cstddef>
#include <cstdint>

namespace adapters {

constexpr std::uint32_t DibHeaderBytes = 40;
constexpr std::uint32_t DibExtraBytes = 1064; // header and the largest palette

struct DibLayout {
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t rowBytes = 0;   // padded to four bytes
  std::uint32_t imageBytes = 0; // rows only
  std::uint32_t blockBytes = 0; // imageBytes + DibExtraBytes
  std::uint32_t pixelOffset = 0;
};

// The layout for width x height at 8 or 24 bits; false when a size is not
// positive or the block would pass 2 GB.
bool ComputeDibLayout(std::int32_t width, std::int32_t height, std::uint32_t bitsPerPixel,
                      DibLayout &layout);

// Writes header and palette into a block of layout.blockBytes.
void WriteDibHeader(std::uint8_t *block, std::int32_t width, std::int32_t height,
                    const DibLayout &layout);

// Copies height host rows (hostRowBytes apart, width pixels of
// layout.bitsPerPixel / 8 interleaved samples each, top row first, RGB
// order) into the block's rows, bottom-up and in BGR order. hostRowBytes
// must hold a row.
void CopyHostRows(std::uint8_t *block, std::int32_t width, std::int32_t height,
                  const DibLayout &layout, const std::uint8_t *hostData, std::int32_t hostRowBytes);

} // namespace adapters

#endif
