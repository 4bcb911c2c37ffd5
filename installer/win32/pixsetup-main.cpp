// Pixsetup.exe: the background window, the component check, the welcome
// dialog and, after Install, the options dialog that installs. Ends with 0
// once it installed or removed with every step done, otherwise with 1.
#include "installer/win32/resource.h"
#include "installer/win32/setup-dialogs.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"
#include "installer/win32/setup-window.h"

#include <objbase.h>
#include <windows.h>

namespace installer {

// Every file the setup needs beside it; a warning, not an end, when one
// is missing.
void CheckComponents(HWND owner) {
  static const unsigned components[] = {IDS_EXPORT_PLUGIN, IDS_FILTER_PLUGIN, IDS_PIXTUNE_DLL,
                                        IDS_UNINSTALLER,   IDS_INF_FILE,      IDS_HELP_FILE,
                                        IDS_LICENSE_HELP,  IDS_ABOUT_HELP};
  for (unsigned id : components) {
    if (GetFileAttributesA(besideProgram(id).c_str()) == INVALID_FILE_ATTRIBUTES) {
      MessageBoxA(owner, loadText(IDS_MISSING_COMPONENTS).c_str(), "Warning!", MB_ICONWARNING);
      return;
    }
  }
}

} // namespace installer

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    // The folder browser needs COM on this thread.
    HRESULT com = CoInitialize(nullptr);
    HWND window = installer::createSetupWindow(instance);
    installer::CheckComponents(window);
    // A caller learns from the exit code whether the setup did its work.
    bool succeeded = false;
    if (installer::runWelcomeDialog(window, succeeded) == 1)
      installer::runOptionsDialog(window, succeeded);
    if (window)
      DestroyWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (SUCCEEDED(com))
      CoUninitialize();
    return succeeded ? 0 : 1;
  } catch (...) {
    return 1;
  }
}
