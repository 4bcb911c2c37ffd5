// The check of a host bitmap handed over by a plug-in adapter, made before
// any of its pixels are read: the header must describe one of the two
// layouts the compressor takes, and the block must hold what it describes.
#ifndef JPEG_CORE_HOST_BITMAP_CHECK_H
#define JPEG_CORE_HOST_BITMAP_CHECK_H

#include <cstddef>
#include <cstdint>

namespace pixtune {

// True when header (a 40-byte bitmap header at the start of the block)
// describes an uncompressed, bottom-up, one-plane bitmap of 8 bits with a
// 256-entry palette or of 24 bits without one, with an image size that
// matches its rows, and when the block's bytes, if known (available is
// SIZE_MAX when not), hold header, palette and rows. bytes receives the
// size that the header describes.
bool CheckHostBitmap(const std::uint8_t *header, std::size_t available, std::size_t &bytes);

} // namespace pixtune

#endif
