// GetFileAttributes, CreateDirectory, FindFirstFile and private-profile
// reads for the folder rules.
#include "installer/win32/windows-file-system.h"

#include <windows.h>

namespace installer {

PathKind WindowsFileSystem::kindOf(const SetupString &path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return PathKind::Missing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Directory : PathKind::File;
}

bool WindowsFileSystem::createDirectory(const SetupString &path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

SetupString WindowsFileSystem::findFirstFile(const SetupString &pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return SetupString();
  FindClose(search);
  return SetupString(found.cFileName);
}

SetupString WindowsFileSystem::readProfileString(const SetupString &file, const char *section,
                                                 const char *key, const SetupString &fallback) {
  SetupString value = SetupString::withRoom(1024);
  GetPrivateProfileStringA(section, key, fallback.c_str(), value.data(), 1024, file.c_str());
  value.syncLength();
  return SetupString(value.c_str());
}

} // namespace installer
