// The installer's full-screen background window "Setup" of class
// "TarvosSetupAppClass": a blue gradient with the title and the maker's
// notice.
#ifndef INSTALLER_WIN32_SETUP_WINDOW_H
#define INSTALLER_WIN32_SETUP_WINDOW_H

#include <windows.h>

namespace installer {

// Registers the class and shows the window maximised; null on failure.
HWND createSetupWindow(HINSTANCE instance);

} // namespace installer

#endif
