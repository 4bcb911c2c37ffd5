// Non-visual helpers over hidden windows: the utility window that receives
// private messages for a component (sockets, tray icon, timers), and the
// timer component.
#ifndef COMPONENTS_WIN32_UTILITY_H
#define COMPONENTS_WIN32_UTILITY_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/controls.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <functional>

namespace components {

// A hidden message-only window whose messages go to a handler; messages
// the handler leaves unhandled go to the default window procedure. An
// exception from the handler goes to the application's handler.
class TUtilityWindow {
public:
  // Answers true when it handled the message (and set message.Result).
  using Handler = std::function<bool(TMessage &)>;
  explicit TUtilityWindow(Handler handler);
  TUtilityWindow(const TUtilityWindow &) = delete;
  TUtilityWindow &operator=(const TUtilityWindow &) = delete;
  HWND Handle() const { return window_.get(); }

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  Handler handler_;
  base::WindowHandle window_;
};

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent *owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
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
