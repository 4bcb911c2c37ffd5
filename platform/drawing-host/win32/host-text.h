// Text helpers of the stand-in host's COM methods.
#ifndef PLATFORM_DRAWING_HOST_HOST_TEXT_H
#define PLATFORM_DRAWING_HOST_HOST_TEXT_H

#include "platform/base/win32/bstr.h"

#include <cstdio>
#include <string>

namespace drawhost {

// Hands text to a BSTR out-parameter (already checked and cleared).
inline HRESULT textOut(const std::string &text, BSTR *out) {
  *out = base::Bstr(text).detach();
  return S_OK;
}

inline std::string hex(long value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%lX", static_cast<unsigned long>(value) & 0xFFFFFFFFul);
  return buffer;
}

// Hands a new reference to an interface out-parameter.
template <typename Interface, typename Object>
HRESULT interfaceOut(Object *object, Interface **out) {
  *out = object;
  if (object)
    object->AddRef();
  return S_OK;
}

} // namespace drawhost

#endif
