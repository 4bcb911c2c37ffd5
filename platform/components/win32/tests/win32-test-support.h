// Helpers of the component library's window tests: exceptions captured
// through the application's handler, waits that pump messages with a
// deadline, and the dialog windows the platform opens for us.
#ifndef COMPONENTS_WIN32_TESTS_SUPPORT_H
#define COMPONENTS_WIN32_TESTS_SUPPORT_H

#include "platform/components/win32/application.h"
#include "testing/window-finding.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32_test {

// Installs a handler that records every exception the application is
// handed, instead of showing message boxes; removes it again.
class CapturedExceptions {
public:
  CapturedExceptions() {
    components::Application->OnException = [this](components::TObject *sender,
                                                  const std::exception &error) {
      senders.push_back(sender);
      messages.push_back(error.what());
    };
  }
  ~CapturedExceptions() { components::Application->OnException.Clear(); }
  CapturedExceptions(const CapturedExceptions &) = delete;
  CapturedExceptions &operator=(const CapturedExceptions &) = delete;

  std::vector<components::TObject *> senders;
  std::vector<std::string> messages;
};

// Pumps messages until done() holds, for at most a generous deadline.
inline bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs = 10000) {
  return components::Application->WaitUntil(done, timeoutMs);
}

// The dialogs the platform opens for us, found as every test finds them.
inline HWND findDialogWindow() { return test_windows::threadDialog(); }
using test_windows::windowText;

} // namespace win32_test

#endif
