// A timer component: fires OnTimer every Interval milliseconds while
// enabled, through a utility window of its own.
#ifndef COMPONENTS_WIN32_TIMER_H
#define COMPONENTS_WIN32_TIMER_H

#include "platform/components/win32/utility-window.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/controls.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <functional>

namespace components {

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent *owner);
  ~TTimer() override;
  void SetEnabled(bool enabled);
  void SetInterval(unsigned interval);
  TNotifyEvent OnTimer;

private:
  void update();
  TUtilityWindow window_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
  bool running_ = false;
};

} // namespace components

#endif
