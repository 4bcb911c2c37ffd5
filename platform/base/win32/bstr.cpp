// BSTR ownership and ANSI conversion through the ANSI code page.
#include "platform/base/win32/bstr.h"

#include "platform/base/win32/com-error.h"

#include <windows.h>

namespace base {

Bstr::Bstr(const std::string &text) {
  if (text.empty()) {
    s_ = SysAllocStringLen(L"", 0);
  } else {
    int wide =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0)
      throw ComError(E_INVALIDARG);
    s_ = SysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (s_)
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), s_, wide);
  }
  if (!s_)
    throw ComError(E_OUTOFMEMORY);
}

Bstr Bstr::copyOf(const BSTR s) {
  if (!s)
    return Bstr();
  Bstr result = adopt(SysAllocStringLen(s, SysStringLen(s)));
  if (!result.get())
    throw ComError(E_OUTOFMEMORY);
  return result;
}

std::string Bstr::toAnsiText(const BSTR s) {
  UINT length = SysStringLen(s);
  if (length == 0)
    return std::string();
  int bytes =
      WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0)
    return std::string();
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(length), &text[0], bytes, nullptr, nullptr);
  return text;
}

} // namespace base
