// The seven glyphs of Billpost's toolbar, drawn by this program: 16 x 16
// cells on a teal background, which the flat button leaves out because it
// is the colour of the top-left pixel.
#ifndef INVOICE_MAILER_WIN32_TOOLBAR_GLYPHS_H
#define INVOICE_MAILER_WIN32_TOOLBAR_GLYPHS_H

#include "invoice-mailer/win32/transparent-button.h"

namespace billpost {

enum class ToolbarGlyph { Open, Search, View, Help, Exit, Mail, Attach };

GlyphBitmap DrawToolbarGlyph(ToolbarGlyph glyph);

} // namespace billpost

#endif
