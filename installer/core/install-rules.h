// The installer's and uninstaller's small decisions, free of the platform:
// the command that removes an old version, what the uninstaller does for
// its command line and the recorded folder, where it finds the
// setup-information file, and how texts are loaded into a growing buffer.
#ifndef INSTALLER_CORE_INSTALL_RULES_H
#define INSTALLER_CORE_INSTALL_RULES_H

#include "installer/core/setup-string.h"

#include <functional>

namespace installer {

// The old version's "UninstallString", with " safe" appended when the
// removal clears the way for a new installation.
SetupString uninstallCommand(const SetupString &uninstallString, bool safe);

enum class UninstallPlan {
  NothingInstalled, // no "AppPath": no section may run, nothing is removed
  AskFirst,         // ask, then run "Uninstall"
  RemoveSafely      // run "UninstallSafe" without a question
};

// The uninstaller's road. Without a recorded folder no section runs: the
// sections name their files relative to directory 40000, and an empty one
// would point them at the root of the drive.
UninstallPlan planUninstall(const SetupString &commandLine, const SetupString &appPath);

// The section an uninstall plan runs (empty for NothingInstalled).
const char *uninstallSection(UninstallPlan plan);

// The folder the maker's products share, which the installation makes
// above the default plug-in folder: the parent of pluginFolder (with or
// without its closing backslash) when that parent is named for the maker
// in any letter case; empty otherwise. It is ours to remove once it is
// empty; any other parent may be the user's.
SetupString makerFolderOf(const SetupString &pluginFolder);

// <windowsFolder>\inf\Pixtune.inf, with one backslash between the folder
// and "inf".
SetupString uninstallInfPath(const SetupString &windowsFolder);

// Loads a text into a buffer that grows until it holds the whole text:
// each attempt asks for room for 128 bytes more than the present buffer
// size; load(buffer, size) returns the characters copied, and a return of
// exactly size - 1 means the text may have been cut. A failed load (0 or
// less) gives the empty string.
SetupString loadGrowing(const std::function<int(char *buffer, int size)> &load);

} // namespace installer

#endif
