// The program's own icon (window and tray): a page with a tick, drawn at
// start-up rather than kept as a resource file.
#ifndef CLIPBOARD_CHECKER_WIN32_LEXITRAY_ICON_H
#define CLIPBOARD_CHECKER_WIN32_LEXITRAY_ICON_H

#include <windows.h>

namespace lexitray {

// A new 32 x 32 icon; the caller destroys it. Null when the system has no
// room for it.
HICON makeLexitrayIcon();

} // namespace lexitray

#endif
