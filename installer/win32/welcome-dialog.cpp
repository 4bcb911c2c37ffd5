// Dialog 10001: the licence, the removal of an old version, Install.
#include "installer/win32/guarded-dialog.h"
#include "installer/win32/registry-text.h"
#include "installer/win32/remove-old-version.h"
#include "installer/win32/resource.h"
#include "installer/win32/setup-dialogs.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"

namespace installer {

namespace {

void onCommand(HWND dialog, int command) {
  switch (command) {
  case IDC_LICENSE:
    WinHelpA(dialog, besideProgram(IDS_LICENSE_HELP).c_str(), HELP_CONTENTS, 0);
    return;
  case IDC_UNINSTALL:
    RemoveOldVersion(false, dialog);
    if (IsOldVersionInstalled())
      return; // the old uninstaller left its key: the dialog stays
    recordOutcome(dialog, true);
    MessageBoxA(dialog, loadText(IDS_FILES_REMOVED).c_str(), "Setup", MB_ICONINFORMATION);
    EndDialog(dialog, 0);
    return;
  case IDOK:
    EndDialog(dialog, 1);
    return;
  case IDCANCEL:
    EndDialog(dialog, 0);
    return;
  default:
    return;
  }
}

void onInit(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_UNINSTALL), IsOldVersionInstalled());
}

} // namespace

INT_PTR runWelcomeDialog(HWND owner, bool &succeeded) {
  return runGuardedDialog(owner, IDD_WELCOME, DialogHandlers{onInit, onCommand, &succeeded});
}

} // namespace installer
