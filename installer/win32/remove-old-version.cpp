// The old version's uninstaller, waited for on its process handle.
#include "installer/win32/remove-old-version.h"

#include "installer/core/install-rules.h"
#include "installer/win32/registry-text.h"
#include "platform/base/win32/unique-handle.h"

namespace installer {

namespace {

// Waits on the process handle, not on its exit code: a process may well
// end with code 259 (STILL_ACTIVE), and polling would also burn the CPU.
void waitPumpingMessages(HANDLE process) {
  bool quit = false;
  WPARAM quitCode = 0;
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true; // kept for the message loop that owns it
        quitCode = msg.wParam;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (quit)
    PostQuitMessage(static_cast<int>(quitCode));
}

} // namespace

bool RemoveOldVersion(bool safe, HWND owner) {
  SetupString command = readRegistryText(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString");
  if (command.empty())
    return false;
  command = uninstallCommand(command, safe);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                      nullptr, nullptr, &startup, &started))
    return false;
  base::KernelHandle process(started.hProcess);
  base::KernelHandle thread(started.hThread);
  bool wasEnabled = owner && !EnableWindow(owner, FALSE);
  waitPumpingMessages(process.get());
  if (wasEnabled)
    EnableWindow(owner, TRUE);
  return true;
}

} // namespace installer
