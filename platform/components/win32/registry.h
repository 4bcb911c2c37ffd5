// Registry access: a root key, one open key at a time, and typed values.
// Reading a value of the wrong type, or a value that cannot be read or
// written, throws ERegistryException naming the value.
#ifndef COMPONENTS_WIN32_REGISTRY_H
#define COMPONENTS_WIN32_REGISTRY_H

#include "platform/components/core/event.h"
#include "platform/components/core/exception.h"
#include "platform/base/win32/unique-handle.h"

#include <windows.h>

#include <string>

namespace components {

class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

class TRegistry : public TObject {
public:
  TRegistry() = default;
  void SetRootKey(HKEY root);

  // Opens key (relative to the open key unless it begins with "\"),
  // creating it when canCreate; false when it cannot be opened.
  bool OpenKey(const std::string &key, bool canCreate);
  bool OpenKeyReadOnly(const std::string &key);
  void CloseKey();

  bool ValueExists(const std::string &name);
  // The size of a value's data in bytes, or -1 when there is none.
  int GetDataSize(const std::string &name);

  std::string ReadString(const std::string &name);
  void WriteString(const std::string &name, const std::string &value);
  // Copies at most bufferSize bytes; answers the value's size.
  int ReadBinaryData(const std::string &name, void *buffer, int bufferSize);
  void WriteBinaryData(const std::string &name, const void *buffer, int bufferSize);

private:
  std::string resolve(const std::string &key) const;
  bool open(const std::string &key, bool canCreate, REGSAM access);
  void write(const std::string &name, DWORD type, const void *data, DWORD size);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  base::RegKey currentKey_;
  std::string currentPath_;
};

} // namespace components

#endif
