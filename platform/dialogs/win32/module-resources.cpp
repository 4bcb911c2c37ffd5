#include "platform/dialogs/win32/module-resources.h"

namespace dialogs {

HMODULE resourceModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&resourceModule), &module);
  return module;
}

std::string moduleHelpFile() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(resourceModule(), path, MAX_PATH);
  std::string file(path, length);
  std::string::size_type dot = file.find_last_of('.');
  std::string::size_type slash = file.find_last_of("\\/");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
    file.erase(dot);
  return file + ".hlp";
}

} // namespace dialogs
