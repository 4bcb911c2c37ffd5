// Clipboard access through the application window.
#include "platform/components/win32/clipboard.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/base/win32/global-lock.h"
#include "platform/components/win32/opened-clipboard.h"

#include <cstring>

namespace components {

TClipboard &Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

bool TClipboard::HasFormat(UINT format) const {
  return IsClipboardFormatAvailable(format) != FALSE;
}

std::string TClipboard::AsText() const {
  OpenedClipboard open;
  if (!open.ok())
    throw Exception("Cannot open clipboard");
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data)
    return std::string();
  base::GlobalLockScope<char> lock(data);
  if (!lock.data())
    return std::string();
  // The text ends at its terminator or at the end of the block, whichever
  // comes first: a block without a terminator is not read past its end.
  SIZE_T size = GlobalSize(data);
  const char *text = static_cast<const char *>(lock.data());
  const void *end = std::memchr(text, '\0', size);
  return std::string(text, end ? static_cast<const char *>(end) - text : size);
}

void TClipboard::SetAsText(const std::string &text) {
  OpenedClipboard open;
  if (!open.ok())
    throw Exception("Cannot open clipboard");
  base::GlobalBlock memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory)
    throw Exception("Out of memory while copying text to the clipboard");
  {
    base::GlobalLockScope<char> lock(memory.get());
    if (!lock.data())
      throw Exception("Out of memory while copying text to the clipboard");
    std::memcpy(lock.data(), text.c_str(), text.size() + 1);
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, memory.get()))
    throw Exception("Cannot copy text to the clipboard");
  memory.release(); // the clipboard owns it now
}

} // namespace components
