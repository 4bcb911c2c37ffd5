#include "circuit-sim/core/dib-pixels.h"

#include <cstdlib>

namespace qorsim {

namespace {

PixelColour colour(unsigned char blue, unsigned char green, unsigned char red) {
  return static_cast<PixelColour>(red) | static_cast<PixelColour>(green) << 8 |
         static_cast<PixelColour>(blue) << 16;
}

} // namespace

PixelColour pixelAt(const DibView &dib, int x, int y) {
  const int rows = dib.height < 0 ? -dib.height : dib.height;
  if (x < 0 || y < 0 || x >= dib.width || y >= rows)
    return NoPixel;
  const int bpp = dib.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
    return NoPixel;
  const std::size_t stride = ((static_cast<std::size_t>(bpp) * dib.width + 31) / 32) * 4;
  const std::size_t row = dib.height < 0 ? y : rows - 1 - y;
  const std::size_t bit = static_cast<std::size_t>(x) * bpp;
  const std::size_t at = row * stride + bit / 8;
  if (at + (bpp == 24 ? 3 : 1) > dib.bitsSize)
    return NoPixel;
  const unsigned char *p = dib.bits + at;
  if (bpp == 24)
    return colour(p[0], p[1], p[2]);                     // stored blue first
  const int shift = 8 - bpp - static_cast<int>(bit % 8); // the leftmost pixel is the high bits
  const int index = (p[0] >> shift) & ((1 << bpp) - 1);
  if (index >= dib.colourEntries)
    return NoPixel;
  const unsigned char *entry = dib.colourTable + index * 4;
  return colour(entry[0], entry[1], entry[2]);
}

bool coloursNear(PixelColour a, PixelColour b, int tolerance) {
  if (a == NoPixel || b == NoPixel)
    return false;
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) >
        tolerance)
      return false;
  }
  return true;
}

} // namespace qorsim
