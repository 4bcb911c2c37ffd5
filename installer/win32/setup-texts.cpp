// String-table loads through the growing buffer of the core.
#include "installer/win32/setup-texts.h"

#include "installer/core/install-rules.h"

#include <windows.h>

namespace installer {

SetupString loadText(unsigned id) {
  return loadGrowing([id](char *buffer, int size) {
    return LoadStringA(GetModuleHandleA(nullptr), id, buffer, size);
  });
}

} // namespace installer
