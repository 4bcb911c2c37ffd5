// The strip on each option page that shows the three readouts (sizes,
// compression ratio, download time), each with its icon and tooltip.
#ifndef JPEG_WIN32_READOUT_BAR_H
#define JPEG_WIN32_READOUT_BAR_H

#include "jpeg/core/readouts.h"
#include "jpeg/win32/t-window.h"
#include "platform/base/win32/window-owners.h"

namespace pixtune {

class TReadoutBar final : public TWindow {
public:
  explicit TReadoutBar(HINSTANCE instance);
  ~TReadoutBar() override;

  // Created modeless on parent and placed on rect (client coordinates of
  // the parent), keeping the z-order.
  HWND CreateAndPlace(HWND parent, const RECT &rect);
  void SetTexts(const Readouts &texts);
  const Readouts &Texts() const { return texts_; }

private:
  INT_PTR OnPaint(WPARAM) override;
  INT_PTR OnDestroy() override;
  void Relayout();

  Readouts texts_;
  base::IconHandle icons_[3];
  RECT segments_[3] = {};
  HWND tooltip_ = nullptr;
};

} // namespace pixtune

#endif
