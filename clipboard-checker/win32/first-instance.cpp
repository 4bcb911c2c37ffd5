// The single-instance guard over a named mutex.
#include "clipboard-checker/win32/first-instance.h"

#include "platform/base/win32/unique-handle.h"
#include "platform/components/win32/application.h"

#include <windows.h>

namespace lexitray {

namespace {

// The guard's state is one of the process's permitted singletons: the
// instance mutex, held from start-up to exit.
struct InstanceState {
  base::KernelHandle mutex;
  bool first = false;
};

InstanceState &state() {
  static InstanceState instance;
  return instance;
}

} // namespace

std::string GetInstanceMutexName() {
  char title[513] = {};
  int length = GetWindowTextA(components::Application->Handle(), title, sizeof title);
  return "PREVINST:" + std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void FirstInstanceInit() {
  std::string name = GetInstanceMutexName();
  // A new mutex leaves the error code alone: clear it first, so that only
  // the system's own report decides.
  SetLastError(0);
  state().mutex.reset(CreateMutexA(nullptr, TRUE, name.c_str()));
  state().first = state().mutex && GetLastError() == 0;
}

void FirstInstanceDone() { state().mutex.reset(); }

bool IsFirstInstance() { return state().first; }

void ActivateFirstInstance() {
  HWND own = components::Application->Handle();
  char className[256] = {}, title[256] = {};
  GetClassNameA(own, className, sizeof className);
  GetWindowTextA(own, title, sizeof title);
  HWND first = FindWindowA(className, title);
  if (!first)
    return;
  DWORD process = 0;
  GetWindowThreadProcessId(first, &process);
  if (process != GetCurrentProcessId())
    return;
  HWND earlier = FindWindowExA(nullptr, first, className, title);
  if (!earlier)
    return;
  if (IsIconic(earlier)) {
    ShowWindow(earlier, SW_RESTORE);
    return;
  }
  HWND popup = GetLastActivePopup(earlier);
  if (!popup || popup == earlier || !IsWindowVisible(popup) || !IsWindowEnabled(popup))
    popup = earlier;
  BringWindowToTop(popup);
}

} // namespace lexitray
