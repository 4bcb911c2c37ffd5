// Where the flat button puts its glyph and caption. The alignment names
// the caption's place; the glyph sits on the opposite side.
#ifndef INVOICE_MAILER_CORE_BUTTON_LAYOUT_H
#define INVOICE_MAILER_CORE_BUTTON_LAYOUT_H

namespace billpost {

enum TTextAlign {
  ttaTopLeft,
  ttaTop,
  ttaTopRight,
  ttaRight,
  ttaBottomRight,
  ttaBottom,
  ttaBottomLeft,
  ttaLeft,
  ttaCenter
};

struct LayoutPoint {
  int x = 0, y = 0;
  bool operator==(const LayoutPoint &other) const { return x == other.x && y == other.y; }
};

struct ButtonGeometry {
  int width = 0, height = 0; // the control
  int glyphWidth = 0;        // one cell
  int glyphHeight = 0;
  int spacing = 2;
};

// The glyph's top-left corner.
LayoutPoint GlyphOrigin(TTextAlign align, const ButtonGeometry &geometry);
// The caption's top-left corner for a measured caption of the given size.
LayoutPoint CaptionOrigin(TTextAlign align, const ButtonGeometry &geometry, int textWidth,
                          int textHeight);

} // namespace billpost

#endif
