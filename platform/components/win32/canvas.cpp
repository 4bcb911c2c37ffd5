#include "platform/components/win32/canvas.h"

#include "platform/components/win32/font.h"

#include <cstdlib>

namespace components {

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

int TCanvas::DrawText(const std::string &text, RECT &rect, UINT flags) {
  HDC dc = Handle();
  base::SelectedObject font(dc, font_.Handle());
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkMode(dc, TRANSPARENT);
  return ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

} // namespace components
