// Runs sections of a setup-information file with the plug-in folder as
// directory identifier 40000, as both the installer and the uninstaller do.
#ifndef INSTALLER_WIN32_INF_SECTIONS_H
#define INSTALLER_WIN32_INF_SECTIONS_H

#include "installer/core/setup-string.h"

#include <windows.h>

#include <setupapi.h>

namespace installer {

// The directory identifier the sections name the plug-in folder by. Wine
// refuses SetupSetDirectoryId below 0x8000.
constexpr DWORD pluginFolderId = 40000;

// An open setup-information file (INF_STYLE_WIN4), closed once.
class InfFile {
public:
  explicit InfFile(const SetupString &path);
  ~InfFile();
  InfFile(const InfFile &) = delete;
  InfFile &operator=(const InfFile &) = delete;
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool setPluginFolder(const SetupString &folder);
  // Runs a section's registry and file entries (SPINST_REGISTRY |
  // SPINST_FILES) under HKEY_LOCAL_MACHINE, files warning when skipped;
  // false when the run or any file operation failed.
  bool runSection(const char *section);

private:
  HINF handle_;
};

} // namespace installer

#endif
