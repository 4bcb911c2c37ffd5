// Content types from the registry. The extension's key is opened for
// reading only: a user without write access to HKEY_CLASSES_ROOT must get
// the same answer as an administrator.
#include "invoice-mailer/win32/content-type.h"

#include "platform/base/win32/unique-handle.h"
#include "platform/components/core/file-system.h"

#include <windows.h>

namespace billpost {

std::string ContentTypeOf(const std::string &fileName) {
  static const char fallback[] = "application/octet-stream";
  std::string extension = components::ExtractFileExt(fileName);
  if (extension.size() < 2)
    return fallback;
  base::RegKey key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_READ, key.receive()) !=
      ERROR_SUCCESS)
    return fallback;
  char value[256];
  DWORD type = 0, size = sizeof value;
  if (RegQueryValueExA(key.get(), "Content Type", nullptr, &type, reinterpret_cast<BYTE *>(value),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ || size == 0)
    return fallback;
  // A stored string need not end in its terminator.
  std::string text(value, size);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text.empty() ? fallback : text;
}

} // namespace billpost
