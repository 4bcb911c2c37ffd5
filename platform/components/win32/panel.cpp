// A panel with a bevel.
#include "platform/components/win32/panel.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TPanel::TPanel(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::CreateParams(TCreateParams &params) {
  params.className = "TPanel";
  params.ownClass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevelOuter_ = bevel;
  Invalidate();
}

RECT TPanel::alignArea() {
  RECT rect = TWinControl::alignArea();
  if (bevelOuter_ != bvNone)
    InflateRect(&rect, -1, -1);
  return rect;
}

void TPanel::Paint(TCanvas &canvas) {
  RECT rect{0, 0, ClientWidth(), ClientHeight()};
  if (bevelOuter_ != bvNone)
    DrawEdge(canvas.Handle(), &rect, bevelOuter_ == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
             BF_RECT | BF_ADJUST);
  std::string caption = Caption();
  if (!caption.empty())
    canvas.DrawText(caption, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace components
