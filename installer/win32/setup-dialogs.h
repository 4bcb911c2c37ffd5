// The installer's two dialogs: welcome (10001) and options (10002).
#ifndef INSTALLER_WIN32_SETUP_DIALOGS_H
#define INSTALLER_WIN32_SETUP_DIALOGS_H

#include <windows.h>

namespace installer {

// Each returns the dialog's end code: 1 to go on, 0 to end the setup.
INT_PTR runWelcomeDialog(HWND owner);
INT_PTR runOptionsDialog(HWND owner);

} // namespace installer

#endif
