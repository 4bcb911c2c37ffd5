// Registry access over the A functions.
#include "platform/components/win32/registry.h"

#include <algorithm>
#include <vector>

namespace components {

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  rootKey_ = root;
}

void TRegistry::CloseKey() {
  currentKey_.reset();
  currentPath_.clear();
}

std::string TRegistry::resolve(const std::string &key) const {
  if (!key.empty() && key[0] == '\\')
    return key.substr(1);
  if (currentPath_.empty())
    return key;
  return key.empty() ? currentPath_ : currentPath_ + "\\" + key;
}

bool TRegistry::open(const std::string &key, bool canCreate, REGSAM access) {
  std::string path = resolve(key);
  while (!path.empty() && path.back() == '\\')
    path.pop_back();
  HKEY opened = nullptr;
  LONG status = canCreate
                    ? RegCreateKeyExA(rootKey_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &opened, nullptr)
                    : RegOpenKeyExA(rootKey_, path.c_str(), 0, access, &opened);
  if (status != ERROR_SUCCESS)
    return false;
  currentKey_.reset(opened);
  currentPath_ = path;
  return true;
}

bool TRegistry::OpenKey(const std::string &key, bool canCreate) {
  return open(key, canCreate, KEY_ALL_ACCESS);
}

bool TRegistry::OpenKeyReadOnly(const std::string &key) { return open(key, false, KEY_READ); }

bool TRegistry::ValueExists(const std::string &name) { return GetDataSize(name) >= 0; }

int TRegistry::GetDataSize(const std::string &name) {
  DWORD size = 0;
  if (!currentKey_ || RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, nullptr, nullptr,
                                       &size) != ERROR_SUCCESS)
    return -1;
  return static_cast<int>(size);
}

std::string TRegistry::ReadString(const std::string &name) {
  DWORD type = 0, size = 0;
  if (!currentKey_ || RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, nullptr,
                                       &size) != ERROR_SUCCESS)
    return std::string(); // a missing value reads as empty text
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException("Invalid data type for '" + name + "'");
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE *>(data.data()), &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  // Stored text may or may not carry its terminator.
  std::string text(data.data(), size);
  std::size_t end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

void TRegistry::write(const std::string &name, DWORD type, const void *data, DWORD size) {
  if (!currentKey_ || RegSetValueExA(currentKey_.get(), name.c_str(), 0, type,
                                     static_cast<const BYTE *>(data), size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteString(const std::string &name, const std::string &value) {
  write(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

int TRegistry::ReadBinaryData(const std::string &name, void *buffer, int bufferSize) {
  DWORD type = 0, size = 0;
  if (!currentKey_ || RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, nullptr,
                                       &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  if (type != REG_BINARY)
    throw ERegistryException("Invalid data type for '" + name + "'");
  std::vector<BYTE> data(size);
  if (size > 0 && RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, data.data(),
                                   &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  DWORD copied = bufferSize < 0 ? 0 : std::min(size, static_cast<DWORD>(bufferSize));
  if (copied > 0)
    std::copy(data.begin(), data.begin() + copied, static_cast<BYTE *>(buffer));
  return static_cast<int>(size);
}

void TRegistry::WriteBinaryData(const std::string &name, const void *buffer, int bufferSize) {
  write(name, REG_BINARY, buffer, static_cast<DWORD>(bufferSize < 0 ? 0 : bufferSize));
}

} // namespace components
