// Read-only registry values of the installer.
#include "installer/win32/registry-text.h"

#include "platform/base/win32/unique-handle.h"

namespace installer {

const char *const productKey = "Software\\Tarvos Technologies\\Pixtune plug-in\\3.0";
const char *const uninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pixtune plug-in";
const char *const editorAppPathsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\photoshp.exe";

SetupString readRegistryText(HKEY root, const char *key, const char *value) {
  base::RegKey opened;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS)
    return SetupString();
  SetupString text = SetupString::withRoom(1024);
  DWORD type = 0;
  DWORD size = 1024;
  LONG status = RegQueryValueExA(opened.get(), value, nullptr, &type,
                                 reinterpret_cast<BYTE *>(text.data()), &size);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return SetupString();
  // The stored bytes need not end in a terminator; syncLength ends them at
  // the buffer's last byte, and the rest of the buffer is still zero.
  text.syncLength();
  return SetupString(text.c_str());
}

bool IsOldVersionInstalled() {
  base::RegKey opened;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstallKey, 0, KEY_QUERY_VALUE, opened.receive()) !=
      ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(opened.get(), "UninstallString", nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

} // namespace installer
