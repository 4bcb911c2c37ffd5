#include "platform/dialogs/win32/up-down.h"

namespace dialogs {

int UpDown::position() const {
  BOOL failed = FALSE;
  return static_cast<int>(send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}

} // namespace dialogs
