#include "invoice-mailer/win32/toolbar-glyphs.h"

#include <cstdlib>

namespace billpost {
namespace {

constexpr int size = 16;
constexpr std::uint32_t background = 0x008080, black = 0x000000, white = 0xFFFFFF,
                        yellow = 0xFFD800, blue = 0x0040C0, red = 0xC00000, grey = 0x808080,
                        brown = 0x805000;

class Painter {
public:
  Painter() : bitmap_{size, size, std::vector<std::uint32_t>(size * size, background)} {}
  void dot(int x, int y, std::uint32_t colour) {
    if (x >= 0 && y >= 0 && x < size && y < size)
      bitmap_.pixels[static_cast<size_t>(y * size + x)] = colour;
  }
  void fill(int left, int top, int right, int bottom, std::uint32_t colour) {
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x)
        dot(x, y, colour);
  }
  void box(int left, int top, int right, int bottom, std::uint32_t inside, std::uint32_t edge) {
    fill(left, top, right, bottom, edge);
    fill(left + 1, top + 1, right - 1, bottom - 1, inside);
  }
  void line(int x0, int y0, int x1, int y1, std::uint32_t colour) {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i)
      dot(x0 + (steps ? (x1 - x0) * i / steps : 0), y0 + (steps ? (y1 - y0) * i / steps : 0),
          colour);
  }
  GlyphBitmap result() const { return bitmap_; }

private:
  GlyphBitmap bitmap_;
};

} // namespace

GlyphBitmap DrawToolbarGlyph(ToolbarGlyph glyph) {
  Painter p;
  switch (glyph) {
  case ToolbarGlyph::Open: // an opened folder
    p.box(1, 4, 12, 13, yellow, black);
    p.fill(2, 3, 6, 3, black);
    p.line(3, 8, 15, 8, black);
    p.line(15, 8, 12, 13, black);
    p.fill(4, 9, 13, 12, brown);
    break;
  case ToolbarGlyph::Search: // a magnifying glass
    p.box(2, 2, 9, 9, white, black);
    p.fill(4, 4, 7, 7, blue);
    for (int i = 0; i < 5; ++i)
      p.fill(9 + i, 9 + i, 10 + i, 10 + i, brown);
    break;
  case ToolbarGlyph::View: // a written page
    p.box(3, 1, 12, 14, white, black);
    for (int y = 4; y <= 11; y += 2)
      p.line(5, y, 10, y, blue);
    break;
  case ToolbarGlyph::Help: // a question mark in a blue circle
    p.box(2, 2, 13, 13, blue, black);
    p.fill(6, 4, 9, 4, white);
    p.fill(10, 5, 10, 7, white);
    p.fill(8, 8, 9, 8, white);
    p.fill(7, 9, 8, 9, white);
    p.fill(7, 11, 8, 12, white);
    break;
  case ToolbarGlyph::Exit: // a door with an arrow out
    p.box(2, 1, 9, 14, brown, black);
    p.dot(7, 8, yellow);
    p.line(10, 7, 15, 7, red);
    p.line(10, 8, 15, 8, red);
    p.line(13, 5, 15, 7, red);
    p.line(13, 10, 15, 8, red);
    break;
  case ToolbarGlyph::Mail: // an envelope
    p.box(1, 4, 14, 12, white, black);
    p.line(1, 4, 7, 9, black);
    p.line(14, 4, 8, 9, black);
    p.fill(11, 5, 13, 6, red);
    break;
  case ToolbarGlyph::Attach: // a paper clip
    p.line(5, 2, 5, 12, grey);
    p.line(10, 4, 10, 14, grey);
    p.line(5, 2, 10, 2, grey);
    p.line(8, 4, 8, 11, grey);
    p.line(5, 12, 8, 12, black);
    p.line(8, 4, 10, 4, black);
    p.line(10, 14, 12, 14, black);
    break;
  }
  return p.result();
}

} // namespace billpost
