// Drives the dialogs from inside the message loops that show them, as a
// person would: a timer looks at the windows on the screen at each tick
// and, when the next step's window is there, acts on it (types into an
// edit, presses a button). Steps run in order; each answers true once it
// has acted. A script that stalls gives up after a deadline by pressing
// whatever ends the dialogs, so no test can hang.
#ifndef TESTING_DIALOG_DRIVER_H
#define TESTING_DIALOG_DRIVER_H

#include "testing/dialog-test-support.h"
#include "testing/window-shot.h"

#include "platform/components/win32/utility.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_test {

inline BOOL CALLBACK collectTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

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
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

class DialogDriver {
public:
  using Step = std::function<bool()>;

  // giveUp: what the driver does at each tick once the deadline passed.
  DialogDriver(std::vector<Step> steps, std::function<void()> giveUp, DWORD deadlineMs = 60000)
      : steps_(std::move(steps)), giveUp_(std::move(giveUp)),
        deadline_(GetTickCount() + deadlineMs), timer_(nullptr) {
    timer_.SetInterval(40);
    timer_.OnTimer = [this](components::TObject *) { tick(); };
  }
  bool Finished() const { return next_ >= steps_.size(); }
  std::size_t StepsDone() const { return next_; }

private:
  void tick() {
    if (busy_)
      return; // a step's press is still running its own message loop
    busy_ = true;
    if (static_cast<LONG>(GetTickCount() - deadline_) > 0)
      giveUp_();
    else if (!Finished() && steps_[next_]())
      ++next_;
    busy_ = false;
  }

  std::vector<Step> steps_;
  std::function<void()> giveUp_;
  DWORD deadline_;
  std::size_t next_ = 0;
  bool busy_ = false;
  components::TTimer timer_;
};

// The screenshot writer every driver shares.
using test_windows::saveWindowShot;

} // namespace dialog_test

#endif
