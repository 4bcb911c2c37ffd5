// The installation proper: the sections of "Pixtune.inf" beside the setup
// program, run with the chosen folder as directory 40000.
#ifndef INSTALLER_WIN32_INSTALL_FROM_INF_H
#define INSTALLER_WIN32_INSTALL_FROM_INF_H

#include "installer/core/setup-string.h"

#include <windows.h>

namespace installer {

// Runs "Install", then "InstallF" when filter and "InstallE" when export.
// Every failure (a system file that cannot be copied, the file that cannot
// be opened, the directory identifier, a section or a list it names that
// is missing, also of the uninstall sections the installed copy will run,
// a file or registry entry) makes the result false; the steps after a
// failed copy still run.
bool InstallFromInf(const SetupString &folder, bool filter, bool exportPlugin, HWND owner);

} // namespace installer

#endif
