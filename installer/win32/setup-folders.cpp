// The program's, system and Windows folders.
#include "installer/win32/setup-folders.h"

#include "installer/core/folder-rules.h"
#include "installer/win32/setup-texts.h"

#include <windows.h>

#include <cstring>

namespace installer {

SetupString programPath() {
  SetupString path = SetupString::withRoom(MAX_PATH);
  DWORD length = GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return SetupString();
  path.syncLength();
  return SetupString(path.c_str());
}

SetupString programFolder() {
  SetupString path = programPath();
  const char *slash = std::strrchr(path.c_str(), '\\');
  return slash ? path.left(static_cast<std::size_t>(slash - path.c_str()) + 1) : SetupString();
}

SetupString systemFolder() {
  SetupString path = SetupString::withRoom(MAX_PATH);
  UINT length = GetSystemDirectoryA(path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return SetupString();
  path.syncLength();
  return withTrailingBackslash(path);
}

SetupString windowsFolder() {
  SetupString path = SetupString::withRoom(MAX_PATH);
  UINT length = GetWindowsDirectoryA(path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return SetupString();
  path.syncLength();
  return SetupString(path.c_str());
}

SetupString besideProgram(unsigned nameId) { return programFolder() + loadText(nameId); }

} // namespace installer
