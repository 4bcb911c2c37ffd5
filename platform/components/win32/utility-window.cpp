// Utility windows and timers.
#include "platform/components/win32/utility-window.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"

namespace components {

namespace {
const char utilityClass[] = "TUtilityWindow";
} // namespace

TUtilityWindow::TUtilityWindow(Handler handler) : handler_(std::move(handler)) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExA(instance, utilityClass, &windowClass)) {
    windowClass = WNDCLASSEXA{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TUtilityWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = utilityClass;
    RegisterClassExA(&windowClass);
  }
  window_.reset(
      CreateWindowExA(0, utilityClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
  if (!window_)
    throw Exception("Cannot create a utility window");
}

LRESULT CALLBACK TUtilityWindow::windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto *self = reinterpret_cast<TUtilityWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY)
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!self || !self->handler_)
    return DefWindowProcA(window, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  bool handled = CallGuarded<bool>(nullptr, true, [&] { return self->handler_(message); });
  if (handled)
    return message.Result;
  return DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace components
