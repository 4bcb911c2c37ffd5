// The message loop of a modal dialog or property sheet: the owner is
// disabled while it runs; every message first passes the pre-translation
// of the objects of its window and that window's ancestors (so an in-place
// editor sees its Enter and Escape before the dialog does), then the tool
// tips of the objects' hit tests, then the dialog's keyboard handling.
//
// Exceptions never cross a window procedure: one thrown in a handler is
// recorded, the loop ends, and run() throws it again to the dialog's
// caller once the window is gone.
#ifndef PLATFORM_DIALOGS_MODAL_LOOP_H
#define PLATFORM_DIALOGS_MODAL_LOOP_H

#include <windows.h>

#include <exception>
#include <functional>

namespace dialogs {

class ModalLoop {
public:
  // isDialogMessage: the keyboard handling of the window (IsDialogMessage
  // or the property sheet's own); ended: asked after every message.
  ModalLoop(HWND window, HWND owner, std::function<bool(MSG &)> isDialogMessage,
            std::function<bool()> ended);
  // Runs until ended() answers true; rethrows a failure of a handler.
  void run();

  // Called by window procedures with what they caught.
  static void recordFailure(std::exception_ptr failure);

private:
  bool preTranslate(MSG &message) const;

  HWND window_;
  HWND owner_;
  std::function<bool(MSG &)> isDialogMessage_;
  std::function<bool()> ended_;
};

} // namespace dialogs

#endif
