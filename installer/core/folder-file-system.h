// The file services the installer's folder rules need, as an
// interface: the Windows shell implements it with the real calls, tests
// with an in-memory tree that records every path looked at.
#ifndef INSTALLER_CORE_FOLDER_FILE_SYSTEM_H
#define INSTALLER_CORE_FOLDER_FILE_SYSTEM_H

#include "installer/core/setup-string.h"

namespace installer {

enum class PathKind { Missing, File, Directory };

class FolderFileSystem {
public:
  virtual ~FolderFileSystem() = default;
  // What a path names now (GetFileAttributes).
  virtual PathKind kindOf(const SetupString &path) = 0;
  // Creates one directory whose parent exists; false on failure.
  virtual bool createDirectory(const SetupString &path) = 0;
  // The name (without folder) of the first file matching a pattern such as
  // "C:\x\Photo*.ini"; empty when nothing matches.
  virtual SetupString findFirstFile(const SetupString &pattern) = 0;
  // A value of an INI-format file (GetPrivateProfileString with a buffer of
  // 1024 characters); fallback when the file, section or key is missing.
  virtual SetupString readProfileString(const SetupString &file, const char *section,
                                        const char *key, const SetupString &fallback) = 0;
};

} // namespace installer

#endif
