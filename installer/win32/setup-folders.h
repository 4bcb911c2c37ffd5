// Folders the installer works with: its own, the system folder.
#ifndef INSTALLER_WIN32_SETUP_FOLDERS_H
#define INSTALLER_WIN32_SETUP_FOLDERS_H

#include "installer/core/setup-string.h"

namespace installer {

// The running program's own file; empty on failure.
SetupString programPath();
// The setup program's own folder, ending in a backslash.
SetupString programFolder();
// The system folder (GetSystemDirectory), ending in a backslash.
SetupString systemFolder();
// The Windows folder as GetWindowsDirectory gives it; empty on failure.
SetupString windowsFolder();
// A file beside the setup program, named by a string-table entry.
SetupString besideProgram(unsigned nameId);

} // namespace installer

#endif
