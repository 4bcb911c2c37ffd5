#include "invoice-mailer/core/glyph-strip.h"

namespace billpost {

int GlyphCountFor(int width, int height, int current) {
  if (height < 1 || width % height != 0)
    return current;
  int count = width / height;
  if (count < 1)
    return current; // an empty strip has no cells to count
  return count > MaxGlyphs ? 1 : count;
}

std::uint8_t GreyLevel(std::uint32_t rgb) {
  unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return static_cast<std::uint8_t>((11 * red + 59 * green + 30 * blue) / 100);
}

std::vector<std::uint32_t> GreyCell(const std::vector<std::uint32_t> &cell) {
  std::vector<std::uint32_t> grey;
  grey.reserve(cell.size());
  for (std::uint32_t pixel : cell) {
    std::uint32_t level = GreyLevel(pixel);
    grey.push_back(level << 16 | level << 8 | level);
  }
  return grey;
}

std::vector<bool> DisabledMask(const std::vector<std::uint32_t> &cell) {
  std::vector<bool> mask;
  if (cell.empty())
    return mask;
  std::uint32_t transparent = cell.front() & 0xFFFFFF;
  mask.reserve(cell.size());
  for (std::uint32_t pixel : cell) {
    pixel &= 0xFFFFFF;
    mask.push_back(pixel != 0xFFFFFF && pixel != transparent);
  }
  return mask;
}

int GlyphImageFor(const GlyphState &state) {
  int image = 0;
  if (state.numGlyphs == 2)
    image = state.enabled ? 0 : 1;
  else if (state.numGlyphs >= 3)
    image = !state.enabled ? 1 : state.pressed ? 2 : 0;
  if (state.greyWhileAway)
    image = state.numGlyphs;
  if (!state.enabled && state.numGlyphs == 1)
    image = state.numGlyphs + 1;
  return image;
}

} // namespace billpost
