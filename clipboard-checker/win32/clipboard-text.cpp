// The clipboard's Unicode text and the ANSI code page.
#include "clipboard-checker/win32/clipboard-text.h"

#include "platform/base/win32/global-lock.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/opened-clipboard.h"

#include <windows.h>

#include <cstring>
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
  return !usedDefault && fromCodePage(narrow) == text;
}

std::string toCodePage(const std::wstring &text) {
  if (text.empty())
    return std::string();
  int length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &narrow[0], bytes, nullptr, nullptr);
  return narrow;
}

std::wstring fromCodePage(const std::string &text) {
  if (text.empty())
    return std::wstring();
  int length = static_cast<int>(text.size());
  int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring back(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
  if (wide > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &back[0], wide);
  return back;
}

bool readClipboardUnicode(std::wstring &text) {
  text.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
    return false;
  components::OpenedClipboard open;
  if (!open.ok())
    return false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data)
    return false;
  base::GlobalLockScope<wchar_t> lock(data);
  if (!lock.data())
    return false;
  std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  const wchar_t *chars = lock.data();
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0')
    ++length;
  text.assign(chars, length);
  return true;
}

bool writeClipboardUnicode(const std::wstring &text) {
  components::OpenedClipboard open;
  if (!open.ok())
    return false;
  SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  base::GlobalBlock memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory)
    return false;
  {
    base::GlobalLockScope<wchar_t> lock(memory.get());
    if (!lock.data())
      return false;
    std::memcpy(lock.data(), text.c_str(), bytes);
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.get()))
    return false;
  memory.release(); // the clipboard owns it now
  return true;
}

} // namespace lexitray
