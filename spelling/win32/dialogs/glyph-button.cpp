// Glyph buttons: frame, glyph and text drawn on every paint; the text keeps
// its accelerator underline and greys out with the button.
#include "spelling/win32/dialogs/glyph-button.h"

#include "platform/base/win32/gdi-owners.h"

namespace spelling {

namespace {

constexpr int GlyphSize = 11; // the mark's square
constexpr int GlyphGap = 4;   // between mark and text

} // namespace

void TGlyphButton::CreateParams(components::TCreateParams &params) {
  TBitBtn::CreateParams(params);
  params.style = (params.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TGlyphButton::drawGlyph(HDC dc, int left, int top, bool enabled) {
  COLORREF colour = !enabled                     ? GetSysColor(COLOR_GRAYTEXT)
                    : Kind() == components::bkOK ? RGB(0, 128, 0)
                                                 : RGB(192, 0, 0);
  base::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, colour));
  base::SelectedObject selected(dc, pen.get());
  if (Kind() == components::bkOK) {
    MoveToEx(dc, left + 1, top + 6, nullptr);
    LineTo(dc, left + 4, top + 9);
    LineTo(dc, left + 10, top + 2);
    return;
  }
  MoveToEx(dc, left + 2, top + 2, nullptr);
  LineTo(dc, left + 9, top + 9);
  MoveToEx(dc, left + 9, top + 2, nullptr);
  LineTo(dc, left + 2, top + 9);
}

void TGlyphButton::drawItem(DRAWITEMSTRUCT &item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool enabled = (item.itemState & ODS_DISABLED) == 0;
  DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  std::string text = Caption();
  base::SelectedObject font(dc, Font().Handle());
  RECT measured{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE);
  bool glyph = Kind() == components::bkOK || Kind() == components::bkCancel;
  int contentWidth = measured.right + (glyph ? GlyphSize + GlyphGap : 0);
  int left = rect.left + (rect.right - rect.left - contentWidth) / 2 + (pressed ? 1 : 0);
  int middle = (rect.top + rect.bottom) / 2 + (pressed ? 1 : 0);
  if (glyph) {
    drawGlyph(dc, left, middle - GlyphSize / 2, enabled);
    left += GlyphSize + GlyphGap;
  }
  RECT textRect{left, rect.top, left + measured.right, rect.bottom};
  OffsetRect(&textRect, 0, pressed ? 1 : 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

} // namespace spelling
