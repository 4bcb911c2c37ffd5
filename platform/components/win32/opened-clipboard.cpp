// Opening the clipboard with a little patience.
#include "platform/components/win32/opened-clipboard.h"

#include "platform/components/win32/application.h"

namespace components {

namespace {
constexpr DWORD retryMs = 10;
}

OpenedClipboard::OpenedClipboard() {
  DWORD start = GetTickCount();
  while (!(open_ = OpenClipboard(Application->Handle()) != FALSE) &&
         GetTickCount() - start < PatienceMs)
    Sleep(retryMs);
}

OpenedClipboard::~OpenedClipboard() {
  if (open_)
    CloseClipboard();
}

} // namespace components
