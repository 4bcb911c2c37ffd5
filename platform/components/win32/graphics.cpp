// Fonts and canvases over GDI.
#include "platform/components/win32/graphics.h"

#include <cstdlib>

namespace components {

namespace {
// Forms are laid out in pixels at 96 dots per inch, as designed.
constexpr int designDpi = 96;
} // namespace

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor)
    return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

TFont::TFont() = default;

void TFont::SetName(std::string name) {
  name_ = std::move(name);
  changed();
}

void TFont::SetHeight(int height) {
  height_ = height;
  changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, designDpi); }

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

HDC TCanvas::Handle() const {
  if (dc_)
    return dc_;
  if (!memoryDc_ || !*memoryDc_)
    memoryDc_.emplace(CreateCompatibleDC(nullptr));
  return memoryDc_->get();
}

SIZE TCanvas::measure(const std::string &text) const {
  SIZE size{0, 0};
  HDC dc = Handle();
  base::SelectedObject font(dc, const_cast<TFont &>(font_).Handle());
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

int TCanvas::TextWidth(const std::string &text) const { return measure(text).cx; }

int TCanvas::TextHeight(const std::string &text) const { return measure(text).cy; }

void TCanvas::TextOut(int x, int y, const std::string &text) {
  HDC dc = Handle();
  base::SelectedObject font(dc, font_.Handle());
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkMode(dc, brushClear_ ? TRANSPARENT : OPAQUE);
  SetBkColor(dc, ColorToRGB(brushColor_));
  ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::FillRect(const RECT &rect) {
  base::GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(brushColor_)));
  ::FillRect(Handle(), &rect, brush.get());
}

void TCanvas::FrameRect(const RECT &rect) {
  base::GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(brushColor_)));
  ::FrameRect(Handle(), &rect, brush.get());
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  HDC dc = Handle();
  base::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(penColor_)));
  base::SelectedObject selected(dc, pen.get());
  ::LineTo(dc, x, y);
}

int TCanvas::DrawText(const std::string &text, RECT &rect, UINT flags) {
  HDC dc = Handle();
  base::SelectedObject font(dc, font_.Handle());
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkMode(dc, TRANSPARENT);
  return ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

} // namespace components
