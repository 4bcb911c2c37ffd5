// Pixel look-ups in a device-independent bitmap kept as its bytes: the
// header, the colour table and the rows, each row padded to 4 bytes and
// stored bottom-up unless the height is negative. The splash window reads
// the colour under a point this way to find its transparent parts.
#ifndef CIRCUIT_SIM_DIB_PIXELS_H
#define CIRCUIT_SIM_DIB_PIXELS_H

#include <cstddef>
#include <cstdint>

namespace qorsim {

// A colour as 0x00BBGGRR, red in the low byte; -1 for none.
using PixelColour = long;
const PixelColour NoPixel = -1;

struct DibView {
  const unsigned char *colourTable; // blue, green, red, reserved per entry
  int colourEntries;
  const unsigned char *bits;
  std::size_t bitsSize;
  int width;
  int height; // negative: the rows run top-down
  int bitsPerPixel;
};

// The colour at (x, y), y counted from the top; NoPixel outside the
// bitmap, for an index past the colour table or a row past the bits, and
// for depths other than 1, 4, 8 and 24 bits.
PixelColour pixelAt(const DibView &dib, int x, int y);

// Whether two colours differ by at most tolerance in each of red, green
// and blue; NoPixel is near nothing.
bool coloursNear(PixelColour a, PixelColour b, int tolerance);

} // namespace qorsim

#endif
