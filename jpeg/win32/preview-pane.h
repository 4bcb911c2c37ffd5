// The large preview of the export window: shows a bitmap centred, lets
// the user pan a picture larger than the pane, and fills the rest with
// grey. It paints 1:1 from the bottom-up rows of the shown bitmap.
#ifndef JPEG_WIN32_PREVIEW_PANE_H
#define JPEG_WIN32_PREVIEW_PANE_H

#include "jpeg/core/pane-geometry.h"
#include "jpeg/win32/host-display.h"
#include "jpeg/win32/t-window.h"
#include "platform/base/win32/gdi-owners.h"

#include <cstdint>

namespace pixtune {

// What the pane shows, asked for again at every paint: the pane keeps no
// pointer into a bitmap that its owner may replace or free.
class PaneSource {
public:
  // A bitmap header (40 bytes, then the palette for 8 bits) and its rows
  // after it, or null for no picture.
  virtual const std::uint8_t *PaneBitmap() const = 0;

protected:
  ~PaneSource() = default;
};

class TPreviewPane final : public TWindow {
public:
  explicit TPreviewPane(HINSTANCE instance);
  ~TPreviewPane() override;

  // Created from its template as a child of parent.
  HWND CreateChild(HWND parent);
  // Full screen: a maximised popup owned by parent, which hands every
  // command it gets on to its child window (the main window).
  HWND CreatePopup(HWND parent);
  bool Popup() const { return popup_; }
  // Known hosts draw the picture themselves.
  void SetHostDrawing(const HostDrawing &host) { host_ = host; }
  // Shows the source's bitmap from now on (null: no picture); repaints,
  // erasing when the picture's size changed. The source must outlive the
  // pane's window or be replaced first.
  void Show(const PaneSource *source);
  void SetShow(bool show);
  void ScrollOffsets(int &x, int &y) const { x = scrollX_, y = scrollY_; }
  void SetScrollOffsets(int x, int y);
  bool Dragging() const { return dragging_; }

private:
  INT_PTR OnPaint(WPARAM) override;
  INT_PTR OnEraseBackground(WPARAM dc) override;
  INT_PTR OnLButtonDown(WPARAM, LPARAM, int) override;
  INT_PTR OnMouseMove(WPARAM, LPARAM, int) override;
  INT_PTR OnLButtonUp(WPARAM, LPARAM, int) override;
  INT_PTR OnSetCursor(WPARAM, LPARAM, int) override;
  INT_PTR OnInitDialog(WPARAM, LPARAM) override;
  INT_PTR OnCommand(WORD, WPARAM, LPARAM) override;
  const BITMAPINFOHEADER *Shown() const;
  bool Placement(PicturePlacement &placement);

  base::GdiObject<HBRUSH> background_;
  HCURSOR normalCursor_, dragCursor_;
  const PaneSource *source_ = nullptr;
  int shownWidth_ = 0, shownHeight_ = 0;
  HostDrawing host_;
  bool popup_ = false;
  bool show_ = true;
  bool dragging_ = false;
  int scrollX_ = 0, scrollY_ = 0;
  int lastX_ = 0, lastY_ = 0;
};

} // namespace pixtune

#endif
