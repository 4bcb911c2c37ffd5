// A window whose messages reach a C++ object. The object either takes
// over an existing window (subclassing) or is the dialog procedure's
// object (Dialog). Notifications that a child sends its parent
// (WM_NOTIFY, WM_COMMAND, WM_HSCROLL, WM_VSCROLL) go to the parent's
// object first and, when it leaves them, are reflected to the child's own
// object, so a control can answer its own notifications.
#ifndef PLATFORM_DIALOGS_WINDOW_H
#define PLATFORM_DIALOGS_WINDOW_H

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace dialogs {

class Window {
public:
  Window() = default;
  Window(const Window &) = delete;
  Window &operator=(const Window &) = delete;
  virtual ~Window();

  HWND handle() const { return window_; }
  // The object of a window, or null when it has none.
  static Window *fromHandle(HWND window);

  // Takes over the messages of an existing window until it is destroyed.
  void subclass(HWND window);

  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(window_, message, wParam, lParam);
  }
  std::string text() const;
  void setText(const std::string &text) const { SetWindowTextA(window_, text.c_str()); }
  void enable(bool on) const { EnableWindow(window_, on ? TRUE : FALSE); }

  // Called by the modal loop for every message addressed to this window
  // or one of its descendants before it is dispatched; true when the
  // message was handled and must not be dispatched.
  virtual bool preTranslate(MSG &message);
  // Names the tool under a point of the client area: fills info (its
  // window, identifier, rectangle and text) and returns the identifier,
  // or -1 when no tool is there.
  virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOA *info) const;

protected:
  // The window's own handling; true when handled (result set).
  virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  // A notification this window sent its parent, handed back to it when the
  // parent left it; true when handled.
  virtual bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  // After WM_NCDESTROY, when the handle is gone: objects that delete
  // themselves do it here.
  virtual void onFinalMessage() {}
  // The handling the window had before it was subclassed.
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  // The object's handling, then reflection: what the window procedures call.
  bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  void attachHandle(HWND window);
  void detachHandle();

private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);

  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
};

} // namespace dialogs

#endif
