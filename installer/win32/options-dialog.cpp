// Dialog 10002: plug-in kinds, destination folder, and OK that removes an
// old version, creates the folder and installs.
#include "installer/core/folder-rules.h"
#include "installer/win32/guarded-dialog.h"
#include "installer/win32/install-from-inf.h"
#include "installer/win32/registry-text.h"
#include "installer/win32/remove-old-version.h"
#include "installer/win32/resource.h"
#include "installer/win32/setup-dialogs.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"
#include "installer/win32/windows-file-system.h"

#include <shlobj.h>

namespace installer {

namespace {

bool isChecked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; }

void onInit(HWND dialog) {
  HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BROWSE), IMAGE_BITMAP,
                             0, 0, LR_DEFAULTCOLOR);
  // The bitmap lives with the process: the button keeps showing it.
  SendDlgItemMessageA(dialog, IDC_BROWSE, BM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(bitmap));
  CheckDlgButton(dialog, IDC_EXPORT_BOX, BST_CHECKED);
  CheckDlgButton(dialog, IDC_FILTER_BOX, BST_CHECKED);
  SetupString folder = readRegistryText(HKEY_LOCAL_MACHINE, productKey, "AppPath");
  if (folder.empty()) {
    WindowsFileSystem fileSystem;
    SetupString editor = readRegistryText(HKEY_LOCAL_MACHINE, editorAppPathsKey, "Path");
    folder = FindPluginsFolder(editor, fileSystem);
    unsigned note = folder.empty() ? IDS_NOTE_NO_EDITOR : IDS_NOTE_EDITOR_FOLDER;
    if (folder.empty())
      folder = loadText(IDS_DEFAULT_FOLDER);
    SetDlgItemTextA(dialog, IDC_FOLDER_NOTE, loadText(note).c_str());
  }
  SetDlgItemTextA(dialog, IDC_FOLDER, folder.c_str());
}

void browse(HWND dialog) {
  BROWSEINFOA info{};
  char chosen[MAX_PATH] = "";
  info.hwndOwner = dialog;
  info.pszDisplayName = chosen;
  info.lpszTitle = "Please, select destination folder";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (!item)
    return;
  if (SHGetPathFromIDListA(item, chosen))
    SetDlgItemTextA(dialog, IDC_FOLDER, chosen);
  CoTaskMemFree(item);
}

// The text of the folder field, at most 1023 characters, without the white
// space at either end.
SetupString chosenFolder(HWND dialog) {
  SetupString folder = SetupString::withRoom(1024);
  GetDlgItemTextA(dialog, IDC_FOLDER, folder.data(), 1024);
  folder.syncLength();
  SetupString trimmed(folder.c_str());
  trimmed.trimLeft();
  trimmed.trimRight();
  return trimmed;
}

bool ask(HWND dialog, const SetupString &text, const char *caption) {
  return MessageBoxA(dialog, text.c_str(), caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void onOk(HWND dialog) {
  if (IsOldVersionInstalled()) {
    if (!ask(dialog, loadText(IDS_OLD_VERSION), "Attention"))
      return;
    RemoveOldVersion(true, dialog);
  }
  SetupString folder = chosenFolder(dialog);
  WindowsFileSystem fileSystem;
  if (fileSystem.kindOf(folder) != PathKind::Directory) {
    if (!ask(dialog, loadText(IDS_CREATE_FOLDER), "Setup"))
      return;
    if (!CreateFolderPath(folder, fileSystem)) {
      MessageBoxA(dialog, (loadText(IDS_CANNOT_CREATE_FOLDER) + folder).c_str(), "Setup error",
                  MB_ICONHAND);
      return;
    }
  }
  bool installed = InstallFromInf(folder, isChecked(dialog, IDC_FILTER_BOX),
                                  isChecked(dialog, IDC_EXPORT_BOX), dialog);
  recordOutcome(dialog, installed);
  if (installed || ask(dialog, loadText(IDS_SETUP_ERRORS), "Setup"))
    EndDialog(dialog, 1);
}

void onCommand(HWND dialog, int command) {
  switch (command) {
  case IDC_BROWSE:
    browse(dialog);
    return;
  case IDC_EXPORT_BOX:
  case IDC_FILTER_BOX:
    // At least one kind is always chosen.
    if (!isChecked(dialog, IDC_EXPORT_BOX) && !isChecked(dialog, IDC_FILTER_BOX))
      CheckDlgButton(dialog, IDC_EXPORT_BOX, BST_CHECKED);
    return;
  case IDC_HELP_BUTTON:
    WinHelpA(dialog, besideProgram(IDS_HELP_FILE).c_str(), HELP_CONTEXT, 2);
    return;
  case IDC_LICENSE:
    WinHelpA(dialog, besideProgram(IDS_LICENSE_HELP).c_str(), HELP_CONTENTS, 0);
    return;
  case IDOK:
    onOk(dialog);
    return;
  case IDCANCEL:
    EndDialog(dialog, 0);
    return;
  default:
    return;
  }
}

} // namespace

INT_PTR runOptionsDialog(HWND owner, bool &succeeded) {
  return runGuardedDialog(owner, IDD_OPTIONS, DialogHandlers{onInit, onCommand, &succeeded});
}

} // namespace installer
