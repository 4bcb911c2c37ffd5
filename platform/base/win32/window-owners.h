// Owners for windows, menus and icons: destroyed exactly once, on every path, by
// the same movable owner as the kernel handles. A menu attached to a window
// is destroyed with the window: release it from its owner when attaching.
#ifndef PLATFORM_BASE_WINDOW_OWNERS_H
#define PLATFORM_BASE_WINDOW_OWNERS_H

#include "platform/base/win32/unique-handle.h"

#include <windows.h>

namespace base {

struct WindowTraits {
  using Type = HWND;
  static HWND invalid() { return nullptr; }
  static void close(HWND window) { DestroyWindow(window); }
};
struct MenuTraits {
  using Type = HMENU;
  static HMENU invalid() { return nullptr; }
  static void close(HMENU menu) { DestroyMenu(menu); }
};

// An icon loaded as a copy of its own (LoadImage without LR_SHARED).
struct IconTraits {
  using Type = HICON;
  static HICON invalid() { return nullptr; }
  static void close(HICON icon) { DestroyIcon(icon); }
};

using WindowHandle = UniqueResource<WindowTraits>;
using MenuHandle = UniqueResource<MenuTraits>;
using IconHandle = UniqueResource<IconTraits>;

} // namespace base

#endif
