#include "invoice-mailer/core/button-layout.h"

namespace billpost {
namespace {

bool isTop(TTextAlign align) {
  return align == ttaTopLeft || align == ttaTop || align == ttaTopRight;
}
bool isBottom(TTextAlign align) {
  return align == ttaBottomLeft || align == ttaBottom || align == ttaBottomRight;
}
bool isLeft(TTextAlign align) {
  return align == ttaTopLeft || align == ttaLeft || align == ttaBottomLeft;
}
bool isRight(TTextAlign align) {
  return align == ttaTopRight || align == ttaRight || align == ttaBottomRight;
}

} // namespace

LayoutPoint GlyphOrigin(TTextAlign align, const ButtonGeometry &g) {
  LayoutPoint origin;
  if (isBottom(align))
    origin.y = g.spacing;
  else if (isTop(align))
    origin.y = g.height - g.glyphHeight - g.spacing;
  else
    origin.y = (g.height - g.glyphHeight) / 2;
  // Only the two side alignments move the glyph sideways; the corner ones
  // keep it centred above or below the caption.
  if (align == ttaLeft)
    origin.x = g.width - g.glyphWidth - g.spacing;
  else if (align == ttaRight)
    origin.x = g.spacing;
  else
    origin.x = (g.width - g.glyphWidth) / 2;
  return origin;
}

LayoutPoint CaptionOrigin(TTextAlign align, const ButtonGeometry &g, int textWidth,
                          int textHeight) {
  LayoutPoint glyph = GlyphOrigin(align, g);
  LayoutPoint origin;
  if (isTop(align))
    origin.y = glyph.y - g.spacing - textHeight;
  else if (isBottom(align))
    origin.y = glyph.y + g.glyphHeight + g.spacing;
  else
    origin.y = (g.height - textHeight) / 2;
  if (isLeft(align))
    origin.x = g.spacing;
  else if (isRight(align))
    origin.x = g.width - g.spacing - textWidth;
  else
    origin.x = (g.width - textWidth) / 2;
  return origin;
}

} // namespace billpost
