#include "platform/components/win32/graphic-control.h"

#include "platform/components/win32/control.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"

#include <windowsx.h>

#include <algorithm>

namespace components {

TGraphicControl::TGraphicControl(TComponent *owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() { invalidateArea(); }

void TGraphicControl::invalidateArea() {
  if (Parent() && Parent()->HandleAllocated()) {
    RECT bounds = BoundsRect();
    InvalidateRect(Parent()->Handle(), &bounds, TRUE);
  }
}

void TGraphicControl::Invalidate() { invalidateArea(); }

void TGraphicControl::boundsChanged() {
  // The old area is repainted by the parent too: the whole client is
  // simplest and these controls are small.
  if (Parent() && Parent()->HandleAllocated())
    InvalidateRect(Parent()->Handle(), nullptr, TRUE);
}

void TGraphicControl::enabledChanged() {
  if (!Enabled())
    clicked_ = false;
  invalidateArea();
}

} // namespace components
