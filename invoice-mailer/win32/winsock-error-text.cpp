// Winsock error texts. The text library is optional and loaded for each
// call, so that installing it needs no restart of the program.
#include "invoice-mailer/win32/winsock-error-text.h"

#include "platform/base/win32/unique-handle.h"

#include <windows.h>

#include <cstdint>

namespace billpost {

namespace {

std::string textFromLibrary(int number) {
  base::ModuleHandle library(LoadLibraryA("wserr32.dll"));
  // Module handles of 31 and below were error codes in the 16-bit API
  // that the library's callers used; such a result counts as failure.
  if (reinterpret_cast<std::uintptr_t>(library.get()) <= 31)
    return {};
  char text[256] = {};
  int length = LoadStringA(library.get(), static_cast<UINT>(number), text, 256);
  return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

std::string WinsockErrorText(int number) {
  if (number == 0)
    return {};
  std::string text = textFromLibrary(number);
  if (!text.empty())
    return text;
  return "Winsock Error No. " + std::to_string(number);
}

} // namespace billpost
