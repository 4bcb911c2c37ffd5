// Readout bar: segments shared out by text length, icons, tooltips.
#include "jpeg/win32/readout-bar.h"

#include "jpeg/core/pane-geometry.h"
#include "jpeg/win32/resource.h"
#include "jpeg/win32/tooltips.h"
#include "platform/base/win32/gdi-owners.h"

namespace pixtune {

namespace {

const TString &textOf(const Readouts &r, int i) {
  return i == 0 ? r.sizes : (i == 1 ? r.ratio : r.download);
}

} // namespace

TReadoutBar::TReadoutBar(HINSTANCE instance) : TWindow(IDD_READOUT_BAR, instance) {
  const int ids[3] = {IDI_READOUT_SIZES, IDI_READOUT_RATIO, IDI_READOUT_DOWNLOAD};
  for (int i = 0; i < 3; ++i)
    icons_[i].reset(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(ids[i]), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
}

TReadoutBar::~TReadoutBar() {
  if (Handle())
    DestroyWindow(Handle());
}

HWND TReadoutBar::CreateAndPlace(HWND parent, const RECT &rect) {
  HWND window = CreateModeless(parent, 0);
  if (!window)
    return nullptr;
  // Its id and text let the readouts be found and read like a control's.
  SetWindowLongPtrA(window, GWLP_ID, IDD_READOUT_BAR);
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOW);
  Relayout();
  return window;
}

void TReadoutBar::SetTexts(const Readouts &texts) {
  texts_ = texts;
  if (Handle()) {
    TString joined = texts.sizes + "|" + texts.ratio.c_str() + "|" + texts.download.c_str();
    SetWindowTextA(Handle(), joined.c_str());
  }
  Relayout();
}

void TReadoutBar::Relayout() {
  if (!Handle())
    return;
  RECT client{};
  GetClientRect(Handle(), &client);
  std::size_t lengths[3];
  for (int i = 0; i < 3; ++i)
    lengths[i] = textOf(texts_, i).Length();
  int widths[3];
  ReadoutSegmentWidths(client.right, lengths, widths);
  if (tooltip_)
    DestroyWindow(tooltip_);
  tooltip_ = CreateTooltips(Handle());
  const UINT tips[3] = {IDS_TIP_SIZES, IDS_TIP_RATIO, IDS_TIP_DOWNLOAD};
  int left = 0;
  for (int i = 0; i < 3; ++i) {
    segments_[i] = RECT{left, 0, left + widths[i], client.bottom};
    left += widths[i];
    AddTooltipRect(tooltip_, Handle(), Instance(), static_cast<UINT_PTR>(i + 1), segments_[i],
                   tips[i]);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

INT_PTR TReadoutBar::OnPaint(WPARAM) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(Handle(), &paint);
  {
    base::GdiObject<HFONT> font(CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                                            FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_RASTER_PRECIS,
                                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                            VARIABLE_PITCH | FF_SWISS, "Sans Serif"));
    base::SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 3; ++i) {
      if (icons_[i])
        DrawIconEx(dc, segments_[i].left, segments_[i].top, icons_[i].get(), 16, 16, 0, nullptr,
                   DI_NORMAL);
      RECT text = segments_[i];
      text.left += 16;
      DrawTextA(dc, textOf(texts_, i).c_str(), -1, &text, DT_VCENTER | DT_SINGLELINE);
    }
  }
  EndPaint(Handle(), &paint);
  return 1;
}

INT_PTR TReadoutBar::OnDestroy() {
  tooltip_ = nullptr; // goes with the window
  return 0;
}

} // namespace pixtune
