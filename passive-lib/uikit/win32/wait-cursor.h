// Shows the system's wait cursor for as long as it lives, then the cursor
// that was current when it was made.
#ifndef PASSIVE_LIB_UIKIT_WAIT_CURSOR_H
#define PASSIVE_LIB_UIKIT_WAIT_CURSOR_H

#include <windows.h>

namespace uikit {

class WaitCursor {
public:
  WaitCursor() : previous_(GetCursor()) { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;

private:
  HCURSOR previous_;
};

} // namespace uikit

#endif
