#include "invoice-mailer/win32/transparent-button.h"

#include "invoice-mailer/core/glyph-strip.h"
#include "platform/base/win32/gdi-owners.h"

#include <cctype>

namespace billpost {

using namespace components;

namespace {

COLORREF toColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::uint32_t toPixel(TColor color) {
  COLORREF rgb = ColorToRGB(color);
  return static_cast<std::uint32_t>(GetRValue(rgb)) << 16 |
         static_cast<std::uint32_t>(GetGValue(rgb)) << 8 | GetBValue(rgb);
}

void fillRect(HDC dc, const RECT &rect, TColor color) {
  base::GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
  FillRect(dc, &rect, brush.get());
}

// Lines of `width` pixels: the first colour on the top and left edges, the
// second on the bottom and right, growing inwards.
void frame3D(HDC dc, RECT rect, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width && rect.right - rect.left > 1 && rect.bottom - rect.top > 1; ++i) {
    fillRect(dc, RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    fillRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    fillRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    fillRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    InflateRect(&rect, -1, -1);
  }
}

void frameRect(HDC dc, const RECT &rect, TColor color, int width) {
  frame3D(dc, rect, color, color, width);
}

// Draws an image with its top-left pixel's colour left out.
void drawTransparent(HDC dc, const GlyphBitmap &image, int x, int y) {
  if (image.width <= 0 || image.height <= 0)
    return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  base::GdiObject<HBITMAP> bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits)
    return;
  std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t *>(bits));
  GdiFlush();
  base::CreatedDC memory(CreateCompatibleDC(dc));
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  TransparentBlt(dc, x, y, image.width, image.height, memory.get(), 0, 0, image.width, image.height,
                 toColorRef(image.pixels.front()));
  SelectObject(memory.get(), old);
}

GlyphBitmap cellOf(const GlyphBitmap &strip, int index, int cellWidth) {
  GlyphBitmap cell{cellWidth, strip.height, {}};
  cell.pixels.reserve(static_cast<size_t>(cellWidth) * strip.height);
  for (int y = 0; y < strip.height; ++y)
    for (int x = 0; x < cellWidth; ++x)
      cell.pixels.push_back(strip.pixels[static_cast<size_t>(y) * strip.width +
                                         static_cast<size_t>(index) * cellWidth + x]);
  return cell;
}

// The embossed copy: dark pixels once in the highlight colour one pixel
// right and down, then in the shadow colour in place, on the face colour.
GlyphBitmap embossed(const GlyphBitmap &cell) {
  std::vector<bool> mask = DisabledMask(cell.pixels);
  GlyphBitmap image{cell.width, cell.height,
                    std::vector<std::uint32_t>(cell.pixels.size(), toPixel(clBtnFace))};
  std::uint32_t highlight = toPixel(clBtnHighlight), shadow = toPixel(clBtnShadow);
  for (int y = 0; y < cell.height; ++y)
    for (int x = 0; x < cell.width; ++x)
      if (mask[static_cast<size_t>(y) * cell.width + x] && x + 1 < cell.width &&
          y + 1 < cell.height)
        image.pixels[static_cast<size_t>(y + 1) * cell.width + x + 1] = highlight;
  for (size_t i = 0; i < mask.size(); ++i)
    if (mask[i])
      image.pixels[i] = shadow;
  return image;
}

char acceleratorOf(const std::string &caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&')
      continue;
    if (caption[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return 0;
}

} // namespace

TTransparentButton::TTransparentButton(TComponent *owner) : TGraphicControl(owner) {
  width_ = 40;
  height_ = 40;
}

void TTransparentButton::SetDown(bool value) {
  if (down_ == value)
    return;
  down_ = pressed_ = tracking_ = value;
  Invalidate();
}

void TTransparentButton::SetGlyph(const GlyphBitmap &glyph) {
  glyph_ = glyph;
  if (glyph_.pixels.size() != static_cast<size_t>(glyph_.width) * glyph_.height)
    glyph_ = GlyphBitmap{};
  numGlyphs_ = GlyphCountFor(glyph_.width, glyph_.height, numGlyphs_);
  rebuildImages();
  Invalidate();
}

void TTransparentButton::SetNumGlyphs(int value) {
  if (value < 1)
    value = 1;
  if (value > MaxGlyphs)
    value = MaxGlyphs;
  if (value == numGlyphs_)
    return;
  numGlyphs_ = value;
  rebuildImages();
  Invalidate();
}

void TTransparentButton::rebuildImages() {
  images_.clear();
  int cellWidth = glyph_.width / numGlyphs_;
  if (cellWidth <= 0 || glyph_.height <= 0)
    return;
  for (int i = 0; i < numGlyphs_; ++i)
    images_.push_back(cellOf(glyph_, i, cellWidth));
  GlyphBitmap first = images_.front();
  images_.push_back(GlyphBitmap{first.width, first.height, GreyCell(first.pixels)});
  images_.push_back(embossed(first));
}

int TTransparentButton::ShownImage() const {
  GlyphState state;
  state.numGlyphs = numGlyphs_;
  state.enabled = Enabled();
  state.pressed = pressed_;
  state.greyWhileAway = frameStyle_ == fsExplorer && autoGray_ && !mouseOver_;
  return GlyphImageFor(state);
}

void TTransparentButton::Paint() {
  HDC dc = Canvas().Handle();
  int saved = SaveDC(dc);
  paintFrame(dc);
  int offset = pressed_ && showPressed_ ? 1 : 0;
  paintGlyph(dc, offset);
  paintCaption(dc, offset);
  RestoreDC(dc, saved);
}

void TTransparentButton::paintFrame(HDC dc) {
  RECT all{0, 0, width_, height_};
  if (!transparent_)
    fillRect(dc, all, clBtnFace);
  bool pushed = pressed_ || down_;
  int border = static_cast<int>(borderWidth_);
  RECT inner = all;
  switch (frameStyle_) {
  case fsRegular:
  case fsIndent:
    if (frameStyle_ == fsRegular) {
      frameRect(dc, all, clBlack, border);
      InflateRect(&inner, -border, -border);
    } else {
      frameRect(dc, all, clBtnShadow, 1);
      InflateRect(&inner, -1, -1);
      frameRect(dc, inner, clBtnHighlight, 1);
      InflateRect(&inner, -1, -1);
    }
    if (pushed && showPressed_) {
      frame3D(dc, inner, clBlack, clBtnHighlight, 1);
      InflateRect(&inner, -1, -1);
      frame3D(dc, inner, clBtnShadow, clBtnFace, 1);
    } else if (frameStyle_ == fsRegular) {
      frame3D(dc, inner, clBtnHighlight, clBlack, 1);
      InflateRect(&inner, -1, -1);
      frame3D(dc, inner, clBtnFace, clBtnShadow, 1);
    } else {
      frame3D(dc, inner, clBtnShadow, clBtnHighlight, 1);
    }
    break;
  case fsExplorer:
    if (pushed && (mouseOver_ || down_))
      frame3D(dc, all, showPressed_ ? clBtnShadow : clBtnHighlight,
              showPressed_ ? clBtnHighlight : clBtnShadow, border);
    else if (mouseOver_)
      frame3D(dc, all, clBtnHighlight, clBtnShadow, border);
    break;
  case fsNone:
    break;
  case fsLight:
    if (pushed && showPressed_)
      frame3D(dc, all, clBtnShadow, clBtnHighlight, 1);
    else
      frame3D(dc, all, clBtnHighlight, clBtnShadow, 1);
    break;
  case fsDark:
    if (pushed && showPressed_)
      frame3D(dc, all, cl3DDkShadow, clBtnFace, 1);
    else
      frame3D(dc, all, clBtnFace, cl3DDkShadow, 1);
    break;
  case fsMono:
    if (pushed && showPressed_)
      frame3D(dc, all, cl3DDkShadow, clBtnHighlight, 1);
    else
      frame3D(dc, all, clBtnHighlight, cl3DDkShadow, 1);
    break;
  }
}

void TTransparentButton::paintGlyph(HDC dc, int offset) {
  int image = ShownImage();
  if (image < 0 || image >= static_cast<int>(images_.size()))
    return;
  const GlyphBitmap &bitmap = images_[static_cast<size_t>(image)];
  ButtonGeometry geometry{width_, height_, bitmap.width, bitmap.height, spacing_};
  LayoutPoint origin = GlyphOrigin(textAlign_, geometry);
  drawTransparent(dc, bitmap, origin.x + offset, origin.y + offset);
}

void TTransparentButton::paintCaption(HDC dc, int offset) {
  if (caption_.empty())
    return;
  HGDIOBJ oldFont = SelectObject(dc, Canvas().Font().Handle());
  UINT layout = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  RECT text{0, 0, width_, height_};
  DrawTextA(dc, caption_.c_str(), -1, &text, layout | DT_CALCRECT);
  int glyphWidth = images_.empty() ? glyph_.width : images_.front().width;
  ButtonGeometry geometry{width_, height_, glyphWidth, glyph_.height, spacing_};
  LayoutPoint origin =
      CaptionOrigin(textAlign_, geometry, text.right - text.left, text.bottom - text.top);
  OffsetRect(&text, origin.x - text.left + offset, origin.y - text.top + offset);
  SetBkMode(dc, TRANSPARENT);
  UINT flags = layout | DT_CENTER | DT_NOCLIP;
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Canvas().Font().Color()));
    DrawTextA(dc, caption_.c_str(), -1, &text, flags);
  } else {
    RECT light = text;
    OffsetRect(&light, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, caption_.c_str(), -1, &light, flags);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextA(dc, caption_.c_str(), -1, &text, flags);
  }
  SelectObject(dc, oldFont);
}

void TTransparentButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Enabled() || tracking_ || button != mbLeft) {
    TGraphicControl::MouseDown(button, shift, x, y);
    return;
  }
  tracking_ = true;
  TGraphicControl::MouseDown(button, shift, x, y);
  if (movable_)
    anchor_ = POINT{x, y};
  if (inside(x, y) && !pressed_) {
    pressed_ = true;
    Invalidate();
  }
  if (popUpMenu_ && Parent()) {
    POINT corner = ClientToScreen(POINT{0, height_});
    HWND parent = Parent()->Handle();
    popUpMenu_->SetPopupComponent(this);
    popUpMenu_->Popup(corner.x, corner.y);
    // The clicks that closed the menu are not this button's; the release
    // that the menu swallowed is handled now.
    MSG pending;
    while (PeekMessageA(&pending, parent, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    SendMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(left_ + x, top_ + y));
  }
}

void TTransparentButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!tracking_)
    return;
  if (movable_ && (x != anchor_.x || y != anchor_.y)) {
    SetBounds(left_ + x - anchor_.x, top_ + y - anchor_.y, width_, height_);
    x = anchor_.x;
    y = anchor_.y;
  }
  bool now = inside(x, y) || down_;
  if (now != pressed_) {
    pressed_ = now;
    Invalidate();
  }
}

void TTransparentButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Enabled() || !tracking_ || button != mbLeft) {
    if (button != mbLeft)
      TGraphicControl::MouseUp(button, shift, x, y);
    return;
  }
  tracking_ = false;
  if (down_)
    return;
  pressed_ = false;
  Invalidate();
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TTransparentButton::Click() {
  // A Down button is not clicked by releasing the mouse on it.
  if (down_ && tracking_)
    return;
  TGraphicControl::Click();
}

void TTransparentButton::MouseEnter() {
  if (!Enabled())
    return;
  mouseOver_ = true;
  OnMouseEnter(this);
  if (frameStyle_ == fsExplorer)
    Invalidate();
}

void TTransparentButton::MouseLeave() {
  mouseOver_ = false;
  OnMouseExit(this);
  if (frameStyle_ == fsExplorer)
    Invalidate();
}

void TTransparentButton::enabledChanged() {
  if (!Enabled())
    pressed_ = tracking_ = mouseOver_ = false;
  TGraphicControl::enabledChanged();
}

bool TTransparentButton::DialogChar(char key) {
  char accelerator = acceleratorOf(caption_);
  if (!accelerator || !Enabled() || !Visible() ||
      accelerator != std::toupper(static_cast<unsigned char>(key)))
    return false;
  Click();
  return true;
}

void TTransparentButton::Notification(TComponent *component, bool removing) {
  TGraphicControl::Notification(component, removing);
  if (removing && component == popUpMenu_)
    popUpMenu_ = nullptr;
}

} // namespace billpost
