// Crop view: window side of the crop rules.
#include "jpeg/win32/preview-view.h"

#include "jpeg/core/thumbnail-geometry.h"

#include <windowsx.h>

namespace pixtune {

namespace {

// The cursor of each zone, as an index into the five loaded cursors.
int cursorIndex(CropZone zone) {
  switch (zone) {
  case ZoneTopLeft:
  case ZoneBottomRight:
    return 0;
  case ZoneTopRight:
  case ZoneBottomLeft:
    return 1;
  case ZoneLeft:
  case ZoneRight:
    return 2;
  case ZoneTop:
  case ZoneBottom:
    return 3;
  default:
    return 4;
  }
}

} // namespace

TPreviewView::TPreviewView(const TBitmapView &source, const HostDrawing &host,
                           PluginOptions &options, WORD controlId, HINSTANCE instance)
    : TWindow(controlId, instance), source_(source), host_(host), options_(options),
      model_(source.Width(), source.Height(), crop_, options.thumbnailWidth,
             options.thumbnailHeight),
      background_(CreateSolidBrush(RGB(128, 128, 128))) {
  const LPCSTR names[5] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL};
  for (int i = 0; i < 5; ++i)
    cursors_[i] = LoadCursorA(nullptr, names[i]);
  Load();
}

TPreviewView::~TPreviewView() {
  if (Handle())
    DestroyWindow(Handle());
}

void TPreviewView::Load() {
  crop_ =
      CropPercentages{options_.cropLeft, options_.cropTop, options_.cropRight, options_.cropBottom};
}

void TPreviewView::Store() {
  options_.cropLeft = crop_.left;
  options_.cropTop = crop_.top;
  options_.cropRight = crop_.right;
  options_.cropBottom = crop_.bottom;
}

HWND TPreviewView::Attach(HWND parent, const RECT &rect) {
  HWND window = CreateModeless(parent, 0);
  if (!window)
    return nullptr;
  SetWindowLongPtrA(window, GWLP_ID, Id());
  SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_TABSTOP);
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOW);
  RECT client{};
  GetClientRect(window, &client);
  PixelRect inner{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
  preview_ = ResizeImage(source_, inner.Width() > 0 ? inner.Width() : 1,
                         inner.Height() > 0 ? inner.Height() : 1, true, nullptr);
  TBitmapView preview(preview_);
  model_.SetPreview(preview.Width(), preview.Height(), inner);
  Update(model_.Fit());
  return window;
}

void TPreviewView::SmartFit(bool flag) {
  if (!flag)
    return;
  Load();
  PixelRect rect;
  SmartCropThumbnail(source_.Width(), source_.Height(), options_.thumbnailHeight,
                     options_.thumbnailWidth, crop_, rect);
  Store();
}

void TPreviewView::Update(bool fit) {
  Load();
  model_.Update(fit);
  Store();
  if (Handle())
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TPreviewView::Notify(int changeCode) {
  Store();
  InvalidateRect(Handle(), nullptr, TRUE);
  PostMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Id(), changeCode),
               reinterpret_cast<LPARAM>(Handle()));
}

INT_PTR TPreviewView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS)
    return 1;
  return TWindow::WindowProc(message, wParam, lParam);
}

INT_PTR TPreviewView::OnLButtonDown(WPARAM, LPARAM lParam, int) {
  SetFocus(Handle());
  Load();
  if (!model_.PointerDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
    return 0;
  SetCapture(Handle());
  return 1;
}

INT_PTR TPreviewView::OnMouseMove(WPARAM, LPARAM lParam, int) {
  Load();
  int changeCode = 0;
  if (!model_.PointerMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), changeCode))
    return 0;
  Notify(changeCode);
  return 1;
}

INT_PTR TPreviewView::OnLButtonUp(WPARAM, LPARAM lParam, int) {
  if (!model_.Dragging())
    return 0;
  model_.PointerUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  ReleaseCapture();
  return 1;
}

INT_PTR TPreviewView::OnKeyDown(WPARAM key, LPARAM data) {
  ArrowKey arrow;
  switch (key) {
  case VK_LEFT:
    arrow = ArrowKey::Left;
    break;
  case VK_RIGHT:
    arrow = ArrowKey::Right;
    break;
  case VK_UP:
    arrow = ArrowKey::Up;
    break;
  case VK_DOWN:
    arrow = ArrowKey::Down;
    break;
  default:
    return 0;
  }
  Load();
  int changeCode = model_.Key(arrow, LOWORD(data), GetKeyState(VK_SHIFT) < 0);
  Notify(changeCode);
  return 1;
}

INT_PTR TPreviewView::OnSetCursor(WPARAM, LPARAM, int) {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(Handle(), &point);
  CropZone zone = HitTestCrop(model_.CropRect(), point.x, point.y);
  if (zone == ZoneOutside)
    return 0;
  SetCursor(cursors_[cursorIndex(zone)]);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
  return 1;
}

INT_PTR TPreviewView::OnGetDialogCode() {
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, DLGC_WANTARROWS);
  return 1;
}

RECT TPreviewView::PreviewRect() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  TBitmapView preview(preview_);
  int w = preview.Width(), h = preview.Height();
  return RECT{static_cast<int>((client.left + client.right - w + 0.5) * 0.5),
              static_cast<int>((client.top + client.bottom - h + 0.5) * 0.5),
              static_cast<int>((client.left + client.right + w + 0.5) * 0.5),
              static_cast<int>((client.top + client.bottom + h + 0.5) * 0.5)};
}

INT_PTR TPreviewView::OnPaint(WPARAM) {
  if (!preview_)
    return 0;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(Handle(), &paint);
  TBitmapView preview(preview_);
  RECT shown = PreviewRect(), part{};
  // Only a paint that reaches the picture draws, the crop's frame too.
  if (IntersectRect(&part, &shown, &paint.rcPaint)) {
    DrawPicturePart(dc, host_, reinterpret_cast<const BITMAPINFOHEADER *>(preview.Header()),
                    preview.Pixels(), shown, 0, 0, paint.rcPaint);
    DrawCropFrame(dc);
  }
  EndPaint(Handle(), &paint);
  return 1;
}

// The grip in the crop's bottom-right corner and its three frames.
void TPreviewView::DrawCropFrame(HDC dc) const {
  const PixelRect &c = model_.CropRect();
  if (c.Height() > 10 && c.Width() > 10) {
    const COLORREF colours[3] = {RGB(96, 96, 96), RGB(136, 136, 136), RGB(255, 255, 255)};
    for (int d = 3; d <= 9; d += 3)
      for (int i = 0; i < 3; ++i) {
        base::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, colours[i]));
        base::SelectedObject selected(dc, pen.get());
        MoveToEx(dc, c.right - d - i, c.bottom - 1, nullptr);
        LineTo(dc, c.right, c.bottom - d - i - 1);
      }
  }
  RECT frame{c.left, c.top, c.right, c.bottom};
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  InflateRect(&frame, 1, 1);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  InflateRect(&frame, 1, 1);
  base::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
  FrameRect(dc, &frame, red.get());
}

INT_PTR TPreviewView::OnEraseBackground(WPARAM wParam) {
  RECT shown{}, frame{};
  if (preview_) {
    const PixelRect &c = model_.CropRect();
    shown = PreviewRect();
    frame = RECT{c.left - 2, c.top - 2, c.right + 2, c.bottom + 2};
  }
  FillUpdateRegion(Handle(), reinterpret_cast<HDC>(wParam), background_.get(),
                   {preview_ ? &shown : nullptr, preview_ ? &frame : nullptr});
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, 1);
  return 1;
}

} // namespace pixtune
