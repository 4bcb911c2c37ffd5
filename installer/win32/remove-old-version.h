// Removal of an older installation by its own uninstall command.
#ifndef INSTALLER_WIN32_REMOVE_OLD_VERSION_H
#define INSTALLER_WIN32_REMOVE_OLD_VERSION_H

#include <windows.h>

namespace installer {

// Runs the "UninstallString" of the uninstall key (with " safe" appended
// when safe) and waits for its process to end, handling this thread's
// messages meanwhile, with owner disabled so that it cannot be used again.
// False when there is no command or it does not start.
bool RemoveOldVersion(bool safe, HWND owner);

} // namespace installer

#endif
