// Drives the dialogs from inside the message loops that show them, as a
// person would: a modal script whose steps look at the windows on the
// screen at each tick and, when the next step's window is there, act on it
// (type into an edit, press a button). A script that stalls gives up after
// a deadline by pressing whatever ends the dialogs, so no test can hang.
#ifndef TESTING_DIALOG_DRIVER_H
#define TESTING_DIALOG_DRIVER_H

#include "testing/dialog-test-support.h"
#include "testing/modal-script.h"
#include "testing/ui-driver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_test {

// The visible top-level window of this thread with this caption, or null.
inline HWND findTopLevel(const std::string &caption) {
  return test_windows::withCaption(test_windows::threadWindows(), "", caption);
}

// The visible message dialog (a form of ours) whose text begins with
// prefix, or null.
inline HWND findMessage(const std::string &prefix) {
  for (HWND window : test_windows::threadWindows())
    for (HWND label : findChildren(window, "Static"))
      if (windowText(label).compare(0, prefix.size(), prefix) == 0)
        return window;
  return nullptr;
}

// Queues a press of the button, as the mouse would: the press runs when
// the step has returned, so a press that opens a modal loop (a message,
// the options dialog) lets the next steps run inside it.
inline bool pressIfEnabled(HWND parent, const std::string &caption) {
  HWND button = parent ? findChild(parent, "Button", caption) : nullptr;
  if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button))
    return false;
  test_windows::press(button);
  return true;
}

// The modal script under the names these tests use, with a longer
// deadline by default.
class DialogDriver : public testing_support::ModalScript {
public:
  DialogDriver(std::vector<Step> steps, std::function<void()> giveUp, DWORD deadlineMs = 60000)
      : ModalScript(std::move(steps), std::move(giveUp), deadlineMs) {}
  bool Finished() const { return finished(); }
  std::size_t StepsDone() const { return stepsDone(); }
};

// The screenshot writer every driver shares.
using test_windows::saveWindowShot;

} // namespace dialog_test

#endif
