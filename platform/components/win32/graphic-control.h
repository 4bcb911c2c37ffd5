// A windowless control: painted and given mouse input by its parent's window.
#ifndef COMPONENTS_WIN32_GRAPHIC_CONTROL_H
#define COMPONENTS_WIN32_GRAPHIC_CONTROL_H

#include "platform/components/win32/control.h"
#include "platform/components/win32/win-control.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/graphics.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

// A control without a window: its parent paints it and routes the mouse
// to it.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent *owner);
  ~TGraphicControl() override;
  void Invalidate() override;
  TCanvas &Canvas() { return canvas_; }

protected:
  virtual void Paint() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  void boundsChanged() override;
  void visibleChanged() override { invalidateArea(); }
  void enabledChanged() override;

private:
  friend class TWinControl;
  void invalidateArea();

  TCanvas canvas_;
};

} // namespace components

#endif
