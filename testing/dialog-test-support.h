// Helpers of the window tests: finding a form's child windows as a person
// sees them (by class and caption), their rectangles in the form's client
// coordinates, and text measured on a window's own font.
#ifndef TESTING_DIALOG_TEST_SUPPORT_H
#define TESTING_DIALOG_TEST_SUPPORT_H

#include "testing/window-finding.h"

#include "platform/base/win32/gdi-owners.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace dialog_test {

// The window finders every driver shares.
using test_windows::children;
using test_windows::findChild;
using test_windows::findChildren;
using test_windows::windowClass;
using test_windows::windowText;

struct Box {
  int left, top, width, height;
  friend bool operator==(const Box &a, const Box &b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

inline std::ostream &operator<<(std::ostream &out, const Box &box) {
  return out << "(" << box.left << ", " << box.top << ", " << box.width << ", " << box.height
             << ")";
}

// A window's rectangle in its parent's client coordinates, as the platform
// reports it.
inline Box boxOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT *>(&rect), 2);
  return Box{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

inline SIZE clientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return SIZE{rect.right, rect.bottom};
}

// The width of text drawn in a window's font, measured on a screen DC of
// our own (not through the code under test).
inline int textWidthIn(HWND window, const std::string &text) {
  base::WindowDC screen(nullptr);
  base::CreatedDC dc(CreateCompatibleDC(screen.get()));
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  base::SelectedObject selected(dc.get(),
                                font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// Makes the dialogs' designed font, "MS Sans Serif", available to this
// process: a fresh Wine prefix may not have installed Wine's own copy, and
// the fallback face is wider, which would widen the columns. True when the
// font is there.
inline bool installDesignedFont() {
  static const bool installed =
      AddFontResourceExA("Z:\\usr\\share\\wine\\fonts\\sserife.fon", FR_PRIVATE, nullptr) > 0;
  return installed;
}

// Presses a button as a click would.
inline void click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

} // namespace dialog_test

#endif
