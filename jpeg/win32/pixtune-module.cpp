// Pixtune.dll's entry: it only keeps the module instance.
#include "jpeg/win32/pixtune-module.h"

namespace {

HINSTANCE instance; // set once on process attach

} // namespace

namespace pixtune {

HINSTANCE moduleInstance() { return instance; }

} // namespace pixtune

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    instance = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}
