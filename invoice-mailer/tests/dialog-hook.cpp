// A hook DLL that billpost-driver sets on Billpost's interface thread to
// hold the progress dialog of a rendering on the screen for a screenshot:
// the rendering shows it only for the moment the invoice takes, and paints
// it without reading its message queue. When the text area is about to
// receive the rendered text while the dialog shows ("Invoice..."), the hook
// writes the dialog's texts into the driver's shared memory, signals the
// driver and waits until the driver has taken its picture. The driver sees
// the dialog exactly as the user does at that moment.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool held = false; // the dialog is held once per load of the DLL

std::string textOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK findRenderingDialog(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || textOf(window) != "Invoice...")
    return TRUE;
  *reinterpret_cast<HWND *>(found) = window;
  return FALSE;
}

HWND childOfClass(HWND parent, const char *className) {
  return FindWindowExA(parent, nullptr, className, nullptr);
}

// "window|caption|label|status|gauge" of the dialog; the window as a number,
// for the driver, which cannot ask a window of the held thread anything.
std::string describe(HWND dialog) {
  std::string label;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, STATUSCLASSNAMEA) != 0 && std::strcmp(name, PROGRESS_CLASSA) != 0)
      label = textOf(child);
  }
  char status[256] = {};
  if (HWND bar = childOfClass(dialog, STATUSCLASSNAMEA))
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  LRESULT gauge = 0;
  if (HWND progress = childOfClass(dialog, PROGRESS_CLASSA))
    gauge = SendMessageA(progress, PBM_GETPOS, 0, 0);
  return std::to_string(reinterpret_cast<std::uintptr_t>(dialog)) + "|" + textOf(dialog) + "|" +
         label + "|" + status + "|" + std::to_string(gauge);
}

void holdForTheDriver(HWND dialog) {
  held = true;
  HANDLE shared = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "billpost-rendering-dialog");
  HANDLE painted = OpenEventA(EVENT_MODIFY_STATE, FALSE, "billpost-rendering-painted");
  HANDLE taken = OpenEventA(SYNCHRONIZE, FALSE, "billpost-rendering-shot");
  if (shared) {
    if (void *view = MapViewOfFile(shared, FILE_MAP_WRITE, 0, 0, 1024)) {
      std::snprintf(static_cast<char *>(view), 1024, "%s", describe(dialog).c_str());
      UnmapViewOfFile(view);
    }
    CloseHandle(shared);
  }
  if (painted) {
    SetEvent(painted);
    CloseHandle(painted);
  }
  if (taken) {
    WaitForSingleObject(taken, 30000);
    CloseHandle(taken);
  }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    holdRenderingDialog(int code, WPARAM wParam, LPARAM lParam) {
  const auto *call = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code == HC_ACTION && !held && call->message == WM_SETTEXT) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findRenderingDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog && GetAncestor(call->hwnd, GA_ROOT) != dialog)
      holdForTheDriver(dialog);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
