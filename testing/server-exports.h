// Calls one of an in-process COM server's exports by name (DllRegisterServer,
// DllUnregisterServer, DllCanUnloadNow), as regsvr32 and COM itself do.
#ifndef TESTING_SERVER_EXPORTS_H
#define TESTING_SERVER_EXPORTS_H

#include <windows.h>

namespace testing_support {

// E_NOTIMPL when the module has no such export.
inline HRESULT callExport(HMODULE module, const char *name) {
  using ServerCall = HRESULT(WINAPI *)();
  auto function =
      reinterpret_cast<ServerCall>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function ? function() : E_NOTIMPL;
}

} // namespace testing_support

#endif
