#include "platform/dialogs/win32/window.h"

#include "platform/dialogs/win32/modal-loop.h"

#include <exception>

namespace dialogs {

namespace {
const char *const ObjectProperty = "dialogs.Window";
}

Window::~Window() {
  if (window_)
    detachHandle();
}

Window *Window::fromHandle(HWND window) {
  return window ? static_cast<Window *>(GetPropA(window, ObjectProperty)) : nullptr;
}

void Window::attachHandle(HWND window) {
  window_ = window;
  SetPropA(window, ObjectProperty, this);
}

void Window::detachHandle() {
  if (previous_) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    previous_ = nullptr;
  }
  RemovePropA(window_, ObjectProperty);
  window_ = nullptr;
}

void Window::subclass(HWND window) {
  attachHandle(window);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
}

std::string Window::text() const {
  int length = GetWindowTextLengthA(window_);
  std::string value(static_cast<std::size_t>(length) + 1, '\0');
  value.resize(static_cast<std::size_t>(GetWindowTextA(window_, &value[0], length + 1)));
  return value;
}

bool Window::preTranslate(MSG &) { return false; }

INT_PTR Window::OnToolHitTest(POINT, TOOLINFOA *) const { return -1; }

bool Window::onMessage(UINT, WPARAM, LPARAM, LRESULT &) { return false; }

bool Window::onReflected(UINT, WPARAM, LPARAM, LRESULT &) { return false; }

LRESULT Window::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previous_)
    return CallWindowProcA(previous_, window_, message, wParam, lParam);
  return 0;
}

bool Window::reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  HWND child = nullptr;
  switch (message) {
  case WM_NOTIFY:
    child = reinterpret_cast<NMHDR *>(lParam)->hwndFrom;
    break;
  case WM_COMMAND:
  case WM_HSCROLL:
  case WM_VSCROLL:
    child = reinterpret_cast<HWND>(lParam);
    break;
  default:
    return false;
  }
  Window *object = fromHandle(child);
  return object && object->onReflected(message, wParam, lParam, result);
}

bool Window::dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  return onMessage(message, wParam, lParam, result) ||
         reflectToChild(message, wParam, lParam, result);
}

LRESULT CALLBACK Window::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window *self = fromHandle(window);
  if (!self)
    return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    if (!self->dispatch(message, wParam, lParam, result))
      result = self->defaultProc(message, wParam, lParam);
  } catch (...) {
    ModalLoop::recordFailure(std::current_exception());
  }
  if (message == WM_NCDESTROY) {
    self->detachHandle();
    self->onFinalMessage();
  }
  return result;
}

} // namespace dialogs
