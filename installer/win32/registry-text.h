// Read-only registry access of the installer and uninstaller. Keys are
// opened for querying only, so that a user without write access to
// HKEY_LOCAL_MACHINE still finds an installed version.
#ifndef INSTALLER_WIN32_REGISTRY_TEXT_H
#define INSTALLER_WIN32_REGISTRY_TEXT_H

#include "installer/core/setup-string.h"

#include <windows.h>

namespace installer {

extern const char *const productKey;   // holds "AppPath"
extern const char *const uninstallKey; // holds "UninstallString"
extern const char *const editorAppPathsKey;

// A text value (REG_SZ or REG_EXPAND_SZ, at most 1024 bytes); empty when
// the key or value is missing or is not text.
SetupString readRegistryText(HKEY root, const char *key, const char *value);

// An old version is installed when its "UninstallString" can be read.
bool IsOldVersionInstalled();

} // namespace installer

#endif
