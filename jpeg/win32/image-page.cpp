// Image page.
#include "jpeg/win32/image-page.h"

#include "jpeg/core/host-pixel-order.h"
#include "jpeg/win32/resource.h"
#include "jpeg/win32/tooltips.h"

#include <windowsx.h>

namespace pixtune {

TImagePage::TImagePage(const PageRecord &record, std::size_t dibBytes)
    : TOptionPage(record), preview_(record.bitmap.Header(), dibBytes, &progress_) {}

const std::uint8_t *TImagePage::Reconstruction() const { return preview_.Reconstruction().Data(); }

// Held down, the source picture shows the host's own pixels.
const std::uint8_t *TImagePage::PaneBitmap() const {
  return sourcePressed_ ? bitmap_.Header() : Reconstruction();
}

void TImagePage::InitPage() {
  RECT source{};
  HWND picture = GetDlgItem(Handle(), IDC_SOURCE_VIEW);
  GetWindowRect(picture, &source);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT *>(&source), 2);
  tooltip_ = CreateTooltips(Handle());
  AddTooltipRect(tooltip_, Handle(), Instance(), IDC_SOURCE_VIEW, source, IDS_TIP_SOURCE);
  readouts_.SetTexts(readouts_.Texts());
  SetChecked(IDC_CREATE_THUMBNAIL, options_.thumbnailMode != ThumbnailModeImage);
}

void TImagePage::Refresh() {
  if (Handle())
    SetChecked(IDC_CREATE_THUMBNAIL, options_.thumbnailMode != ThumbnailModeImage);
}

// The encoder reads the host bitmap in its stored order; a known host's
// picture is turned back for the encoding and again after it, and the
// reconstruction is shown in the host's order.
void TImagePage::Compress() {
  std::uint32_t compressed;
  {
    HostPixelOrder encoderOrder(bitmap_, host_.knownHost);
    compressed = preview_.Compress(params_);
  }
  if (host_.knownHost) {
    TBitmapView reconstruction(preview_.Reconstruction());
    FlipDibRows(reconstruction);
    SwapRedBlue(reconstruction);
  }
  SetReadouts(bitmap_.Width(), bitmap_.Height(), bitmap_.BitsPerPixel(), compressed);
}

bool TImagePage::MayLeave() {
  return AskToLeave(OptionPageKind::Image, IDC_CREATE_THUMBNAIL, true);
}

INT_PTR TImagePage::OnCommand(WORD code, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_CREATE_THUMBNAIL) {
    if (code == BN_CLICKED)
      options_.thumbnailMode =
          Checked(IDC_CREATE_THUMBNAIL) ? ThumbnailModeBoth : ThumbnailModeImage;
    return 1;
  }
  return TOptionPage::OnCommand(code, wParam, lParam);
}

void TImagePage::SetSourceEdge(bool pressed) {
  HWND picture = GetDlgItem(Handle(), IDC_SOURCE_VIEW);
  LONG_PTR exStyle =
      GetWindowLongPtrA(picture, GWL_EXSTYLE) & ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
  SetWindowLongPtrA(picture, GWL_EXSTYLE,
                    exStyle | (pressed ? WS_EX_STATICEDGE : WS_EX_DLGMODALFRAME));
  SetWindowPos(picture, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

INT_PTR TImagePage::OnLButtonDown(WPARAM, LPARAM lParam, int) {
  RECT source{};
  GetWindowRect(GetDlgItem(Handle(), IDC_SOURCE_VIEW), &source);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT *>(&source), 2);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!PtInRect(&source, point))
    return 0;
  timer_.Suspend();
  SetCapture(Handle());
  sourcePressed_ = true;
  SetSourceEdge(true);
  pane_.Show(this);
  return 1;
}

INT_PTR TImagePage::OnLButtonUp(WPARAM, LPARAM, int) {
  if (!sourcePressed_)
    return 0;
  sourcePressed_ = false;
  ReleaseCapture();
  SetSourceEdge(false);
  pane_.Show(this);
  timer_.Resume();
  return 1;
}

} // namespace pixtune
