// Testing the clipboard's Unicode text against the ANSI code page.
#include "clipboard-checker/win32/clipboard-text.h"

#include "platform/base/win32/global-lock.h"
#include "platform/components/win32/application.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace lexitray {

bool textFitsCodePage(const std::wstring &text) {
  if (text.empty())
    return true;
  int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                  nullptr, &usedDefault);
  if (bytes <= 0 || usedDefault)
    return false;
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, &narrow[0], bytes, nullptr,
                      &usedDefault);
  // The way back decides: a code page may map a character without using
  // its default character and still not give it back.
  int wide = MultiByteToWideChar(CP_ACP, 0, narrow.data(), bytes, nullptr, 0);
  std::wstring back(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
  if (wide > 0)
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), bytes, &back[0], wide);
  return !usedDefault && back == text;
}

bool clipboardTextFitsCodePage() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
    return true;
  base::ClipboardScope open(components::Application->Handle());
  if (!open.ok())
    return false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data)
    return true;
  base::GlobalLockScope<wchar_t> lock(data);
  if (!lock.data())
    return false;
  // The text ends at its terminator or at the end of the block.
  std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  const wchar_t *text = lock.data();
  std::size_t length = 0;
  while (length < capacity && text[length] != L'\0')
    ++length;
  return textFitsCodePage(std::wstring(text, length));
}

} // namespace lexitray
