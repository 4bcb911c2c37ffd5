// Registry writes and tree deletion for server registration.
#include "platform/com/win32/registry.h"

#include "platform/base/win32/unique-handle.h"

#include <cstdio>
#include <vector>

namespace com {

HRESULT writeRegistryText(HKEY root, const std::string &path, const char *name,
                          const std::string &text) {
  base::RegKey key;
  LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                key.receive(), nullptr);
  if (status != ERROR_SUCCESS)
    return HRESULT_FROM_WIN32(status);
  status = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  return HRESULT_FROM_WIN32(status);
}

HRESULT createRegistryKey(HKEY root, const std::string &path) {
  base::RegKey key;
  LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                key.receive(), nullptr);
  return HRESULT_FROM_WIN32(status);
}

HRESULT deleteRegistryTree(HKEY root, const std::string &path) {
  base::RegKey key;
  LONG status = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, key.receive());
  if (status == ERROR_FILE_NOT_FOUND)
    return S_OK;
  if (status != ERROR_SUCCESS)
    return HRESULT_FROM_WIN32(status);
  // Collect the names first: deleting while enumerating shifts the indices.
  std::vector<std::string> children;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    status = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
      break;
    children.emplace_back(name, length);
  }
  for (const std::string &child : children) {
    HRESULT hr = deleteRegistryTree(key.get(), child);
    if (FAILED(hr))
      return hr;
  }
  key.reset();
  status = RegDeleteKeyA(root, path.c_str());
  if (status == ERROR_FILE_NOT_FOUND)
    return S_OK;
  return HRESULT_FROM_WIN32(status);
}

std::string guidText(const GUID &guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

} // namespace com
