// The installer's two dialogs: welcome (10001) and options (10002).
#ifndef INSTALLER_WIN32_SETUP_DIALOGS_H
#define INSTALLER_WIN32_SETUP_DIALOGS_H

#include <windows.h>

namespace installer {

// Each returns the dialog's end code: 1 to go on, 0 to end the setup, and
// sets succeeded when it did its work whole: the welcome dialog when it
// removed the old version, the options dialog when every step of the
// installation succeeded (an installation whose errors the user chose to
// ignore has not).
INT_PTR runWelcomeDialog(HWND owner, bool &succeeded);
INT_PTR runOptionsDialog(HWND owner, bool &succeeded);

} // namespace installer

#endif
