// The flat button's glyph strip: how many cells a bitmap holds, the grey
// copy shown while the mouse is away, the mask of the embossed copy shown
// when disabled, and which image of the image list a state draws.
//
// Pixels are 0x00RRGGBB words, rows top to bottom, as a 32-bit top-down
// device-independent bitmap holds them.
#ifndef INVOICE_MAILER_CORE_GLYPH_STRIP_H
#define INVOICE_MAILER_CORE_GLYPH_STRIP_H

#include <cstdint>
#include <vector>

namespace billpost {

constexpr int MaxGlyphs = 4;

// The cell count after a glyph change: width / height when the strip is at
// least one pixel high and its width a whole multiple of its height (1 when
// that exceeds MaxGlyphs); otherwise, and for an empty strip, the current
// count stays.
int GlyphCountFor(int width, int height, int current);

// The grey level of a colour, weighted 11 red, 59 green, 30 blue.
std::uint8_t GreyLevel(std::uint32_t rgb);
// The grey copy of a cell: every pixel replaced by its grey level.
std::vector<std::uint32_t> GreyCell(const std::vector<std::uint32_t> &cell);

// The disabled copy's mask of a cell: true for the pixels drawn dark (those
// neither white nor the colour of the top-left pixel, which the glyph takes
// as its transparent colour).
std::vector<bool> DisabledMask(const std::vector<std::uint32_t> &cell);

// What the button draws now.
struct GlyphState {
  int numGlyphs = 1;
  bool enabled = true;
  bool pressed = false;
  bool greyWhileAway = false; // fsExplorer with AutoGray and the mouse away
};

// Index into the image list: the cells 0 .. numGlyphs-1, then the grey copy
// (numGlyphs), then the disabled copy (numGlyphs + 1).
int GlyphImageFor(const GlyphState &state);

} // namespace billpost

#endif
