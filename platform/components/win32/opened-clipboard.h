// The clipboard opened for the application for as long as the object
// lives. Another program may hold it open for a moment (a viewer reading
// what was just copied, a clipboard manager), so opening tries again for
// a short while before giving up: without that, a text would not reach the
// clipboard whenever another program happened to be reading it.
#ifndef COMPONENTS_WIN32_OPENED_CLIPBOARD_H
#define COMPONENTS_WIN32_OPENED_CLIPBOARD_H

#include <windows.h>

namespace components {

class OpenedClipboard {
public:
  static constexpr DWORD PatienceMs = 2000;

  OpenedClipboard();
  OpenedClipboard(const OpenedClipboard &) = delete;
  OpenedClipboard &operator=(const OpenedClipboard &) = delete;
  ~OpenedClipboard();
  bool ok() const { return open_; }

private:
  bool open_ = false;
};

} // namespace components

#endif
