#include "platform/dialogs/win32/modal-loop.h"

#include "platform/dialogs/win32/tool-hit-tracker.h"
#include "platform/dialogs/win32/window.h"

#include <utility>

namespace dialogs {

namespace {
// One interface thread: the failure of the innermost running loop.
std::exception_ptr pendingFailure;
} // namespace

void ModalLoop::recordFailure(std::exception_ptr failure) {
  if (!pendingFailure)
    pendingFailure = std::move(failure);
}

ModalLoop::ModalLoop(HWND window, HWND owner, std::function<bool(MSG &)> isDialogMessage,
                     std::function<bool()> ended)
    : window_(window), owner_(owner), isDialogMessage_(std::move(isDialogMessage)),
      ended_(std::move(ended)) {}

bool ModalLoop::preTranslate(MSG &message) const {
  for (HWND window = message.hwnd; window; window = GetParent(window)) {
    if (Window *object = Window::fromHandle(window))
      if (object->preTranslate(message))
        return true;
    if (window == window_)
      break;
  }
  return false;
}

void ModalLoop::run() {
  std::exception_ptr outer = std::exchange(pendingFailure, nullptr);
  bool ownerWasEnabled = owner_ && IsWindowEnabled(owner_);
  if (ownerWasEnabled)
    EnableWindow(owner_, FALSE);
  ToolHitTracker tips(window_);
  MSG message{};
  while (!pendingFailure && !ended_()) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0)
      break;
    tips.follow(message);
    if (preTranslate(message) || isDialogMessage_(message))
      continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (ownerWasEnabled)
    EnableWindow(owner_, TRUE);
  std::exception_ptr failure = std::exchange(pendingFailure, outer);
  if (failure)
    std::rethrow_exception(failure);
}

} // namespace dialogs
