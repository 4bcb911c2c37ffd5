// Preview pane: placement, paint, background and panning.
#include "jpeg/win32/preview-pane.h"

#include "jpeg/win32/dialog-template.h"
#include "jpeg/win32/resource.h"

#include <windowsx.h>

namespace pixtune {

TPreviewPane::TPreviewPane(HINSTANCE instance)
    : TWindow(IDD_PREVIEW_PANE, instance), background_(CreateSolidBrush(RGB(128, 128, 128))),
      normalCursor_(LoadCursorA(instance, MAKEINTRESOURCEA(IDCUR_PANE))),
      dragCursor_(LoadCursorA(instance, MAKEINTRESOURCEA(IDCUR_PANE_DRAG))) {}

TPreviewPane::~TPreviewPane() {
  if (Handle())
    DestroyWindow(Handle());
}

HWND TPreviewPane::CreateChild(HWND parent) {
  popup_ = false;
  PatchedTemplate child(Instance(), Id(), WS_CHILD | DS_CONTROL, WS_POPUP, 0);
  return CreateModelessIndirect(child.Get(), parent, 0);
}

HWND TPreviewPane::CreatePopup(HWND parent) {
  popup_ = true;
  PatchedTemplate popup(Instance(), Id(), WS_POPUP | WS_CLIPCHILDREN, WS_CHILD | DS_CONTROL, 0);
  return CreateModelessIndirect(popup.Get(), parent, 0);
}

INT_PTR TPreviewPane::OnInitDialog(WPARAM, LPARAM) {
  if (!popup_)
    return 0;
  // Maximised; its normal placement is the work area too, since a popup
  // without a frame is not resized by every window manager (nor by Wine
  // without one).
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  bool known = GetMonitorInfoA(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  if (known)
    placement.rcNormalPosition = monitor.rcWork;
  placement.showCmd = SW_MAXIMIZE;
  SetWindowPlacement(Handle(), &placement);
  if (known) {
    const RECT &work = monitor.rcWork;
    SetWindowPos(Handle(), nullptr, work.left, work.top, work.right - work.left,
                 work.bottom - work.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  return 0;
}

INT_PTR TPreviewPane::OnCommand(WORD, WPARAM wParam, LPARAM lParam) {
  if (!popup_)
    return 0;
  HWND child = GetWindow(Handle(), GW_CHILD);
  if (child)
    PostMessageA(child, WM_COMMAND, wParam, lParam);
  return 1;
}

const BITMAPINFOHEADER *TPreviewPane::Shown() const {
  return source_ ? reinterpret_cast<const BITMAPINFOHEADER *>(source_->PaneBitmap()) : nullptr;
}

void TPreviewPane::Show(const PaneSource *source) {
  source_ = source;
  const BITMAPINFOHEADER *info = Shown();
  int width = info ? info->biWidth : 0, height = info ? info->biHeight : 0;
  bool resized = !info || width != shownWidth_ || height != shownHeight_;
  shownWidth_ = width;
  shownHeight_ = height;
  if (Handle())
    InvalidateRect(Handle(), nullptr, resized);
}

void TPreviewPane::SetShow(bool show) {
  show_ = show;
  if (Handle())
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TPreviewPane::SetScrollOffsets(int x, int y) {
  scrollX_ = x;
  scrollY_ = y;
  if (Handle())
    InvalidateRect(Handle(), nullptr, FALSE);
}

bool TPreviewPane::Placement(PicturePlacement &placement) {
  const BITMAPINFOHEADER *info = Shown();
  if (!info || !show_)
    return false;
  RECT client{};
  GetClientRect(Handle(), &client);
  placement = PlacePicture(PixelRect{client.left, client.top, client.right, client.bottom},
                           info->biWidth, info->biHeight, scrollX_, scrollY_);
  return true;
}

INT_PTR TPreviewPane::OnPaint(WPARAM) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(Handle(), &paint);
  PicturePlacement p{};
  if (Placement(p)) {
    const BITMAPINFOHEADER *info = Shown();
    const auto *pixels = reinterpret_cast<const std::uint8_t *>(info) + info->biSize +
                         (info->biBitCount == 8 ? 256 * sizeof(RGBQUAD) : 0);
    RECT shown{p.shown.left, p.shown.top, p.shown.right, p.shown.bottom};
    DrawPicturePart(dc, host_, info, pixels, shown, p.sourceLeft, p.sourceTop, paint.rcPaint);
  }
  EndPaint(Handle(), &paint);
  return 1;
}

// Grey everywhere the picture does not cover, so the picture itself never
// flickers.
INT_PTR TPreviewPane::OnEraseBackground(WPARAM wParam) {
  PicturePlacement p{};
  RECT picture{};
  bool shown = Placement(p);
  if (shown)
    picture = RECT{p.shown.left, p.shown.top, p.shown.right, p.shown.bottom};
  FillUpdateRegion(Handle(), reinterpret_cast<HDC>(wParam), background_.get(),
                   {shown ? &picture : nullptr});
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
  return 1;
}

INT_PTR TPreviewPane::OnLButtonDown(WPARAM, LPARAM lParam, int) {
  dragging_ = true;
  lastX_ = GET_X_LPARAM(lParam);
  lastY_ = GET_Y_LPARAM(lParam);
  SetCapture(Handle());
  SetCursor(dragCursor_);
  return 1;
}

// The picture follows the pointer: moving right shows more of its left.
INT_PTR TPreviewPane::OnMouseMove(WPARAM, LPARAM lParam, int) {
  if (!dragging_)
    return 0;
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  scrollX_ -= x - lastX_;
  scrollY_ -= y - lastY_;
  lastX_ = x;
  lastY_ = y;
  PicturePlacement p{};
  Placement(p); // clamps the offsets
  InvalidateRect(Handle(), nullptr, FALSE);
  return 1;
}

INT_PTR TPreviewPane::OnLButtonUp(WPARAM, LPARAM, int) {
  if (!dragging_)
    return 0;
  dragging_ = false;
  ReleaseCapture();
  SetCursor(normalCursor_);
  return 1;
}

INT_PTR TPreviewPane::OnSetCursor(WPARAM, LPARAM, int) {
  SetCursor(dragging_ ? dragCursor_ : normalCursor_);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
  return 1;
}

} // namespace pixtune
