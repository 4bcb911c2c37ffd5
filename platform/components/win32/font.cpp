// Fonts and canvases over GDI.
#include "platform/components/win32/font.h"

#include <cstdlib>

namespace components {

namespace {
// Forms are laid out in pixels at 96 dots per inch, as designed.
constexpr int designDpi = 96;
} // namespace

TFont::TFont() = default;

void TFont::SetName(std::string name) {
  name_ = std::move(name);
  changed();
}

void TFont::SetHeight(int height) {
  height_ = height;
  changed();
}

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, designDpi, 72)); }

void TFont::SetStyle(TFontStyles style) {
  style_ = style;
  changed();
}

void TFont::Assign(const TFont &other) {
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  changed();
}

void TFont::changed() {
  handle_.reset();
  OnChange(this);
}

HFONT TFont::Handle() const {
  if (!handle_) {
    handle_.reset(CreateFontA(height_, 0, 0, 0, (style_ & fsBold) ? FW_BOLD : FW_NORMAL,
                              (style_ & fsItalic) != 0, (style_ & fsUnderline) != 0,
                              (style_ & fsStrikeOut) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              name_.c_str()));
  }
  return handle_.get();
}

} // namespace components
