// Opening the clipboard with a little patience.
#include "platform/components/win32/opened-clipboard.h"

#include "platform/components/win32/application.h"

namespace components {

namespace {
// How often the wait tries again: nothing tells a program waiting for the
// clipboard that another has closed it, so a timer wakes the wait.
constexpr UINT retryMs = 10;
} // namespace

OpenedClipboard::OpenedClipboard() {
  auto tryOpen = [this] { return open_ = OpenClipboard(Application->Handle()) != FALSE; };
  if (tryOpen())
    return;
  // The program's messages are handled while it waits, as in every wait.
  UINT_PTR timer = SetTimer(nullptr, 0, retryMs, nullptr);
  Application->WaitUntil(tryOpen, PatienceMs);
  if (timer)
    KillTimer(nullptr, timer);
}

OpenedClipboard::~OpenedClipboard() {
  if (open_)
    CloseClipboard();
}

} // namespace components
