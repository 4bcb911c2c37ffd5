// The crop view of the thumbnail page: the source image scaled into the
// control with the crop rectangle framed over it; the pointer and the
// arrow keys move and resize the crop (rules in CropViewModel). After
// every step the parent gets WM_COMMAND with the control id and change
// code 1 when the crop's rounded size changed, 0 for a pure move.
#ifndef JPEG_WIN32_PREVIEW_VIEW_H
#define JPEG_WIN32_PREVIEW_VIEW_H

#include "jpeg/core/crop-view-model.h"
#include "jpeg/core/export-settings.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/win32/host-display.h"
#include "jpeg/win32/t-window.h"
#include "platform/base/win32/gdi-owners.h"

namespace pixtune {

class TPreviewView final : public TWindow {
public:
  // source: the host bitmap; options: the working options whose crop and
  // thumbnail size the view edits.
  TPreviewView(const TBitmapView &source, const HostDrawing &host, PluginOptions &options,
               WORD controlId, HINSTANCE instance);
  ~TPreviewView() override;

  // Created on parent and placed on rect; the preview is made anew.
  HWND Attach(HWND parent, const RECT &rect);
  void SetFit(bool fit) { model_.SetFit(fit); }
  // With the flag, the crop becomes the smart cut of the thumbnail size.
  void SmartFit(bool flag);
  void Update(bool fit);
  const PixelRect &CropRect() const { return model_.CropRect(); }

private:
  INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnLButtonDown(WPARAM, LPARAM, int) override;
  INT_PTR OnLButtonUp(WPARAM, LPARAM, int) override;
  INT_PTR OnMouseMove(WPARAM, LPARAM, int) override;
  INT_PTR OnKeyDown(WPARAM, LPARAM) override;
  INT_PTR OnSetCursor(WPARAM, LPARAM, int) override;
  INT_PTR OnPaint(WPARAM) override;
  INT_PTR OnEraseBackground(WPARAM) override;
  INT_PTR OnGetDialogCode() override;
  void Load();
  void Store();
  void Notify(int changeCode);
  RECT PreviewRect() const;
  void DrawCropFrame(HDC dc) const;

  TBitmapView source_;
  HostDrawing host_;
  PluginOptions &options_;
  CropPercentages crop_;
  CropViewModel model_;
  TBitmap preview_;
  HCURSOR cursors_[5];
  base::GdiObject<HBRUSH> background_;
};

} // namespace pixtune

#endif
