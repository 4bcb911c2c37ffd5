// The one dialog procedure of the set-up's modal dialogs: it finds the
// dialog's handlers in the window's user data and keeps exceptions inside.
#include "installer/win32/guarded-dialog.h"

namespace installer {

namespace {

INT_PTR CALLBACK guardedProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      auto *handlers = reinterpret_cast<const DialogHandlers *>(lParam);
      handlers->onInit(dialog);
      return TRUE;
    }
    auto *handlers = reinterpret_cast<const DialogHandlers *>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (msg == WM_COMMAND && handlers) {
      handlers->onCommand(dialog, LOWORD(wParam));
      return TRUE;
    }
  } catch (...) {
    EndDialog(dialog, 0);
  }
  return FALSE;
}

} // namespace

void recordOutcome(HWND dialog, bool succeeded) {
  auto *handlers = reinterpret_cast<const DialogHandlers *>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (handlers && handlers->succeeded)
    *handlers->succeeded = succeeded;
}

INT_PTR runGuardedDialog(HWND owner, int templateId, const DialogHandlers &handlers) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                         guardedProc, reinterpret_cast<LPARAM>(&handlers));
}

} // namespace installer
