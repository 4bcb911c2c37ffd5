// The folder rules' file services over the Win32 calls.
#ifndef INSTALLER_WIN32_WINDOWS_FILE_SYSTEM_H
#define INSTALLER_WIN32_WINDOWS_FILE_SYSTEM_H

#include "installer/core/folder-file-system.h"

namespace installer {

class WindowsFileSystem : public FolderFileSystem {
public:
  PathKind kindOf(const SetupString &path) override;
  bool createDirectory(const SetupString &path) override;
  SetupString findFirstFile(const SetupString &pattern) override;
  SetupString readProfileString(const SetupString &file, const char *section, const char *key,
                                const SetupString &fallback) override;
};

} // namespace installer

#endif
