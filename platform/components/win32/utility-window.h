// The utility window: a hidden message-only window that receives private
// messages for a component (sockets, tray icon, timers).
#ifndef COMPONENTS_WIN32_UTILITY_WINDOW_H
#define COMPONENTS_WIN32_UTILITY_WINDOW_H

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

} // namespace components

#endif
